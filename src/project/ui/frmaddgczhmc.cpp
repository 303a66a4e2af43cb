#include "frmaddgczhmc.h"

#include "app/icons.h"
#include "app/maindb.h"
#include "app/dialogs/frminputbox.h"
#include "common.h"
#include "drawing/ui/frmopenpicture.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "platform/surface_widget.h"
#include "project/dimensions.h"
#include "project/projectstate.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
constexpr int kCbnRole = Qt::UserRole;
} // namespace

FrmAddGCZHMC::FrmAddGCZHMC(QWidget *parent) : LineDialog(u"frmAddGCZHMC"_s, parent)
{
    Tvw1 = new QTreeWidget(this);
    Tvw1->setObjectName(u"Tvw1"_s);
    Tvw1->setHeaderHidden(true);
    Tvw1->setRootIsDecorated(false);
    platform::currentIsSelected(Tvw1);
    CmdSelect = makeButton(this, u"CmdSelect"_s, u"选取"_s);
    CmdRemove = makeButton(this, u"CmdRemove"_s, u"移除"_s);
    CmdSaveBZ = makeButton(this, u"CmdSaveBZ"_s, u"存储标注 &S"_s);
    TxtTH = new QLineEdit(this);
    TxtTH->setObjectName(u"TxtTH"_s);
    digitsOnly(TxtTH);
    CmdOpenPic = makeButton(this, u"CmdOpenPic"_s, u"打开主图..."_s);
    fieldGrid()->addWidget(TxtTH, 6, 1);
    fieldGrid()->addWidget(CmdOpenPic, 6, 0);
    chainFields(CmdOpenPic);

    auto *pick = new QVBoxLayout;
    pick->addStretch();
    pick->addWidget(CmdSelect);
    pick->addWidget(CmdRemove);
    pick->addStretch();
    auto *trees = new QHBoxLayout;
    trees->addWidget(Tvw, 1);
    trees->addLayout(pick);
    trees->addWidget(Tvw1, 1);
    auto *labelButtons = new QHBoxLayout;
    labelButtons->addWidget(CmdChange);
    labelButtons->addWidget(CmdSaveBZ);
    layOut(trees, labelButtons);
    resize(960, 640);

    connect(CmdOpenPic, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdOpenPic_Click);
    connect(CmdSelect, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdSelect_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdRemove_Click);
    connect(Tvw1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { Tvw1_NodeClick(node); });
    connect(CmdSaveBZ, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdSaveBZ_Click);
    connect(CmdAdd, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdAdd_Click);
}

FrmAddGCZHMC::~FrmAddGCZHMC()
{
    // A dialog that never went through done() leaves no work rows either.
    ProjectStore().clearWorkRows();
}

ComponentKey FrmAddGCZHMC::nodeKey(const QTreeWidgetItem *node)
{
    return {node->data(0, kCbnRole).toLongLong(), node->text(0)};
}

QTreeWidgetItem *FrmAddGCZHMC::addNode(const ComponentKey &key)
{
    auto *node = new QTreeWidgetItem(QStringList{key.cmc});
    node->setData(0, kCbnRole, key.cbn);
    node->setIcon(0, key.cbn < 0 ? app::mainDrawingIcon() : app::componentIcon());
    Tvw1->addTopLevelItem(node);
    return node;
}

QStringList FrmAddGCZHMC::nodeTexts() const
{
    QStringList texts;
    for (int i = 0; i < Tvw1->topLevelItemCount(); ++i)
        texts << Tvw1->topLevelItem(i)->text(0);
    return texts;
}

bool FrmAddGCZHMC::prepareAdd(const QString &jobId, QTreeWidget *list, QString *error)
{
    beginAdd(jobId, list);
    ProjectStore store;
    // Rows left by a dialog that ended abnormally must not join the new window.
    if (!store.clearWorkRows()) {
        if (error)
            *error = store.lastError();
        return false;
    }
    return LoadMCTree(Tvw, error);
}

bool FrmAddGCZHMC::prepareEdit(QTreeWidget *list, QTreeWidgetItem *row, QString *error)
{
    const JobLine line = itemLine(row);
    ProjectStore store;
    const qint64 typeNo = qint64(platform::val(line.typeNo));
    if (!store.beginCombinedEdit(line.id.toLongLong(), typeNo, line.fields.name)) {
        if (error)
            *error = store.lastError();
        return false;
    }
    const std::optional<QList<ComponentKey>> keys = store.componentKeys(kWorkMcbn);
    if (!keys) {
        if (error)
            *error = store.lastError();
        return false;
    }
    beginEdit(list, row, u"组合窗编辑"_s);
    CmdAdd->setText(u"确定"_s);
    const QString main = platform::generalDouble(-double(typeNo));
    showDrawingNoText(PicMC, main);
    for (const ComponentKey &key : *keys)
        addNode(key);
    // The component tree takes the place of the type tree.
    Tvw->hide();
    CmdSelect->hide();
    CmdRemove->hide();
    TxtTH->setText(main);
    return true;
}

bool FrmAddGCZHMC::setMainDrawing(const QString &number, const QString &name)
{
    QString error;
    const std::optional<QList<NamedDimension>> dims = drawingLabels(number, &error);
    if (!dims) {
        reportFailure(this, u"读取门窗图出错！"_s, error);
        return false;
    }
    QStringList others;
    int oldMain = -1;
    for (int i = 0; i < Tvw1->topLevelItemCount(); ++i) {
        if (oldMain < 0 && nodeKey(Tvw1->topLevelItem(i)).cbn < 0)
            oldMain = i;
        else
            others << Tvw1->topLevelItem(i)->text(0);
    }
    const ComponentKey key{-number.toLongLong(), name + NextCBN(others)};
    ProjectStore store;
    if (!store.replaceMainWorkRows(key.cbn, key.cmc, *dims)) {
        reportFailure(this, u"保存标注出错！"_s, store.lastError());
        return false;
    }
    if (oldMain >= 0)
        delete Tvw1->takeTopLevelItem(oldMain);
    addNode(key);
    TxtTH->setText(number);
    fillLabelList(LvwBZ, *dims);
    m_current = key;
    return true;
}

void FrmAddGCZHMC::CmdOpenPic_Click()
{
    const std::optional<drawing::ui::PictureChoice> chosen = drawing::ui::frmOpenPicture::choose(this, false);
    if (!chosen)
        return;
    setMainDrawing(chosen->number, chosen->name);
}

void FrmAddGCZHMC::CmdSelect_Click()
{
    QTreeWidgetItem *node = platform::selectedItem(Tvw);
    if (!node) {
        platform::inform(this, u"当前无选取结点！"_s);
        return;
    }
    const QString tag = nodeTag(node);
    if (!tag.startsWith(u'3')) {
        platform::inform(this, u"当前所选的结点非门窗结点！"_s);
        return;
    }
    const qint64 typeNo = tag.mid(1).toLongLong();
    QString error;
    const std::optional<QList<NamedDimension>> dims = typeLabels(typeNo, &error);
    if (!dims) {
        reportFailure(this, u"读取门窗图出错！"_s, error);
        return;
    }
    const ComponentKey key{typeNo, node->text(0) + NextCBN(nodeTexts())};
    ProjectStore store;
    if (!store.addComponentWorkRows(key.cbn, key.cmc, *dims)) {
        reportFailure(this, u"保存标注出错！"_s, store.lastError());
        return;
    }
    addNode(key);
}

void FrmAddGCZHMC::CmdRemove_Click()
{
    QTreeWidgetItem *node = platform::selectedItem(Tvw1);
    if (!node) {
        platform::inform(this, u"当前无选取结点！"_s);
        return;
    }
    const ComponentKey key = nodeKey(node);
    ProjectStore store;
    if (!store.removeWorkNode(key)) {
        reportFailure(this, u"删除标注出错！"_s, store.lastError());
        return;
    }
    delete node;
    // Storing the labels of a removed node would bring its rows back.
    if (m_current == key) {
        m_current.reset();
        LvwBZ->clear();
        CmdChange->setEnabled(false);
    }
}

void FrmAddGCZHMC::Tvw_NodeClick(QTreeWidgetItem *node)
{
    const QString tag = nodeTag(node);
    LvwBZ->clear();
    CmdChange->setEnabled(false);
    m_current.reset();
    if (!tag.startsWith(u'3'))
        return;
    Text1[0]->setText(node->text(0));
    if (const std::optional<QString> number = typeDrawingNumber(tag.mid(1).toLongLong()))
        showDrawingNoText(PicMC, *number);
    else
        PicMC->clear();
}

void FrmAddGCZHMC::Tvw1_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const ComponentKey key = nodeKey(node);
    ProjectStore store;
    const std::optional<QList<ComponentRow>> rows = store.OpenZHMCPartRs(kWorkMcbn, key.cmc, key.cbn);
    if (!rows) {
        reportFailure(this, u"读取标注出错！"_s, store.lastError());
        return;
    }
    m_current = key;
    const std::optional<QString> number =
        key.isMain() ? std::optional<QString>(platform::generalDouble(-double(key.cbn))) : typeDrawingNumber(key.cbn);
    if (number)
        showDrawingNoText(PicMC, *number);
    else
        PicMC->clear();
    QList<NamedDimension> dims;
    for (const ComponentRow &row : *rows)
        dims << row.dim;
    fillLabelList(LvwBZ, dims);
    CmdChange->setEnabled(false);
}

void FrmAddGCZHMC::CmdSaveBZ_Click()
{
    if (!m_current)
        return;
    const ComponentKey key = *m_current;
    QString count = u"1"_s;
    ProjectStore store;
    if (!key.isMain()) {
        const std::optional<QList<ComponentRow>> rows = store.OpenZHMCPartRs(kWorkMcbn, key.cmc, key.cbn);
        if (rows && !rows->isEmpty() && !rows->constFirst().count.isNull())
            count = app::fieldText(rows->constFirst().count);
        count = app::InputBoxText(u"输入"_s, u"输入门窗的樘数："_s, count, this);
    }
    if (!store.storeWorkNode(key, labelListDims(LvwBZ), storedNumber(count)))
        reportFailure(this, u"保存标注出错！"_s, store.lastError());
}

bool FrmAddGCZHMC::CheckInput()
{
    for (QLineEdit *box : Text1)
        if (box->text().isEmpty()) {
            platform::inform(this, u"数据不能为空！"_s, u"提示"_s, platform::MsgIcon::None);
            box->setFocus();
            return false;
        }
    if (TxtTH->text().isEmpty()) {
        platform::inform(this, u"数据不能为空！"_s, u"提示"_s, platform::MsgIcon::None);
        CmdOpenPic->setFocus();
        return false;
    }
    return checkLineFields(this, Text1);
}

void FrmAddGCZHMC::CmdAdd_Click()
{
    if (!CheckInput())
        return;
    const LineFields fields = typedFields();
    const qint64 main = TxtTH->text().toLongLong();
    const bool adding = Tag == u"1"_s;
    ProjectStore store;
    const std::optional<qint64> id =
        store.saveCombinedLine(adding ? 0 : m_lineId.toLongLong(), m_jobId.toLongLong(), main, fields);
    if (!id) {
        reportFailure(this, u"保存组合门窗出错！"_s, store.lastError());
        return;
    }
    if (m_list) {
        if (!adding && m_row) {
            delete m_row;
            m_row = nullptr;
        }
        m_list->addTopLevelItem(lineItem({fields, m_jobId, QString::number(-main), QString::number(*id)}));
    }
    for (int i = 1; i < 6; ++i)
        Text1[size_t(i)]->clear();
    TxtTH->clear();
    if (!adding) {
        accept();
        return;
    }
    // The work behind the nodes now belongs to the saved window.
    Tvw1->clear();
    LvwBZ->clear();
    CmdChange->setEnabled(false);
    m_current.reset();
}

void FrmAddGCZHMC::done(int result)
{
    ProjectStore store;
    if (!store.clearWorkRows())
        reportFailure(this, u"清除临时标注出错！"_s, store.lastError());
    QDialog::done(result);
}
} // namespace project::ui
