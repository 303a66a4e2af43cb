#include "frmaddgczhmc.h"

#include "app/icons.h"
#include "app/maindb.h"
#include "app/shared.h"
#include "app/dialogs/frminputbox.h"
#include "common.h"
#include "drawing/ui/frmopenpicture.h"
#include "frmaddgcmc.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "platform/surface_widget.h"
#include "project/dimensions.h"
#include "project/projectstate.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
constexpr int kCbnRole = Qt::UserRole;
const QStringList kFieldLabels = {u"门窗名称："_s, u"门窗部位："_s, u"制作尺寸宽："_s,
                                  u"制作尺寸高："_s, u"樘    数："_s, u"说    明："_s};

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

FrmAddGCZHMC::FrmAddGCZHMC(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmAddGCZHMC"_s);

    Tvw = new QTreeWidget(this);
    Tvw->setObjectName(u"Tvw"_s);
    Tvw->setHeaderHidden(true);
    Tvw1 = new QTreeWidget(this);
    Tvw1->setObjectName(u"Tvw1"_s);
    Tvw1->setHeaderHidden(true);
    Tvw1->setRootIsDecorated(false);
    CmdSelect = button(this, u"CmdSelect"_s, u"选取"_s);
    CmdRemove = button(this, u"CmdRemove"_s, u"移除"_s);
    PicMC = new platform::WidgetSurface(this);
    PicMC->setObjectName(u"PicMC"_s);
    PicMC->setMinimumSize(280, 230);
    LvwBZ = new QTreeWidget(this);
    LvwBZ->setObjectName(u"LvwBZ"_s);
    setupLabelList(LvwBZ);
    LblBZ = new QLabel(u"标注："_s, this);
    LblBZ->setObjectName(u"LblBZ"_s);
    TxtBZ = new QLineEdit(this);
    TxtBZ->setObjectName(u"TxtBZ"_s);
    CmdChange = button(this, u"CmdChange"_s, u"更改标注 &B"_s);
    CmdChange->setEnabled(false);
    CmdSaveBZ = button(this, u"CmdSaveBZ"_s, u"存储标注 &S"_s);

    auto *fields = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        Text1[size_t(i)] = new QLineEdit(this);
        Text1[size_t(i)]->setObjectName(u"Text1%1"_s.arg(i));
        fields->addWidget(new QLabel(kFieldLabels.at(i), this), i, 0);
        fields->addWidget(Text1[size_t(i)], i, 1);
    }
    for (int i = 2; i <= 4; ++i)
        digitsOnly(Text1[size_t(i)]);
    TxtTH = new QLineEdit(this);
    TxtTH->setObjectName(u"TxtTH"_s);
    digitsOnly(TxtTH);
    CmdOpenPic = button(this, u"CmdOpenPic"_s, u"打开主图..."_s);
    fields->addWidget(TxtTH, 6, 1);
    fields->addWidget(CmdOpenPic, 6, 0);
    CmdAdd = button(this, u"CmdAdd"_s, u"添    加 [&A]"_s);
    Command2 = button(this, u"Command2"_s, u"退    出 [&E]"_s);
    for (int i = 0; i < 5; ++i)
        chainEnter(Text1[size_t(i)], Text1[size_t(i + 1)]);
    chainEnter(Text1[5], CmdOpenPic);

    auto *pick = new QVBoxLayout;
    pick->addStretch();
    pick->addWidget(CmdSelect);
    pick->addWidget(CmdRemove);
    pick->addStretch();
    auto *trees = new QHBoxLayout;
    trees->addWidget(Tvw, 1);
    trees->addLayout(pick);
    trees->addWidget(Tvw1, 1);
    auto *editor = new QHBoxLayout;
    editor->addWidget(LblBZ);
    editor->addWidget(TxtBZ, 1);
    auto *labelButtons = new QHBoxLayout;
    labelButtons->addWidget(CmdChange);
    labelButtons->addWidget(CmdSaveBZ);
    auto *labelPanel = new QVBoxLayout;
    labelPanel->addLayout(editor);
    labelPanel->addLayout(labelButtons);
    labelPanel->addWidget(LvwBZ, 1);
    auto *lower = new QHBoxLayout;
    lower->addWidget(PicMC, 3);
    lower->addLayout(labelPanel, 2);
    auto *left = new QVBoxLayout;
    left->addLayout(trees, 1);
    left->addLayout(lower, 2);
    auto *right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(CmdAdd);
    right->addWidget(Command2);
    right->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);
    resize(960, 640);

    connect(CmdOpenPic, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdOpenPic_Click);
    connect(CmdSelect, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdSelect_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdRemove_Click);
    connect(Tvw, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { Tvw_NodeClick(node); });
    connect(Tvw1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { Tvw1_NodeClick(node); });
    connect(LvwBZ, &QTreeWidget::itemDoubleClicked, this, &FrmAddGCZHMC::LvwBZ_DblClick);
    connect(TxtBZ, &QLineEdit::returnPressed, this, [this] {
        if (CmdChange->isEnabled())
            CmdChange_Click();
    });
    connect(CmdChange, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdChange_Click);
    connect(CmdSaveBZ, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdSaveBZ_Click);
    connect(CmdAdd, &QPushButton::clicked, this, &FrmAddGCZHMC::CmdAdd_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
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
    Tag = u"1"_s;
    setWindowTitle(u"添加门窗"_s);
    m_jobId = jobId;
    m_list = list;
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
    Tag = u"2"_s;
    setWindowTitle(u"组合窗编辑"_s);
    CmdAdd->setText(u"确定"_s);
    m_list = list;
    m_row = row;
    m_jobId = line.jobId;
    m_lineId = line.id;
    CurMCNum = line.id;
    const QString main = platform::generalDouble(-double(typeNo));
    showDrawingNoText(PicMC, main);
    const LineFields &f = line.fields;
    const QStringList texts = {f.name, f.position, f.width, f.height, f.count, f.remark};
    for (int i = 0; i < 6; ++i)
        Text1[size_t(i)]->setText(texts.at(i));
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
    app::InputOK = false;
    {
        drawing::ui::frmOpenPicture chooser(this);
        chooser.CmdDel->hide();
        platform::execDialog(&chooser);
    }
    if (!app::InputOK)
        return;
    setMainDrawing(app::InputResult[0], app::InputResult[1]);
}

void FrmAddGCZHMC::CmdSelect_Click()
{
    QTreeWidgetItem *node = Tvw->currentItem();
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
    QTreeWidgetItem *node = Tvw1->currentItem();
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

void FrmAddGCZHMC::LvwBZ_DblClick()
{
    editCurrentLabel(PicMC, LvwBZ, LblBZ, TxtBZ, CmdChange);
}

void FrmAddGCZHMC::CmdChange_Click()
{
    QTreeWidgetItem *row = LvwBZ->currentItem();
    if (!row)
        return;
    // Only the main drawing's B and H are the window's making size.
    if (m_current && m_current->isMain()) {
        if (isWidthLabel(row->text(0)))
            Text1[2]->setText(TxtBZ->text());
        else if (isHeightLabel(row->text(0)))
            Text1[3]->setText(TxtBZ->text());
    }
    const int index = storeLabelValue(PicMC, LvwBZ, row, TxtBZ->text(), CmdChange);
    if (index == LvwBZ->topLevelItemCount() - 1) {
        CmdSaveBZ_Click();
        Text1[1]->setFocus();
        return;
    }
    LvwBZ->setCurrentItem(LvwBZ->topLevelItem(index + 1));
    LvwBZ_DblClick();
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
    const LineFields fields{Text1[0]->text(), Text1[1]->text(), Text1[2]->text(),
                            Text1[3]->text(), Text1[4]->text(), Text1[5]->text()};
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
