#include "frmaddgcmc.h"

#include "common.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "platform/surface_widget.h"
#include "project/dimensions.h"
#include "project/projectstate.h"
#include "project/projectstore.h"

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
const QStringList kFieldLabels = {u"门窗名称："_s, u"门窗部位："_s, u"制作尺寸宽："_s,
                                  u"制作尺寸高："_s, u"樘    数："_s, u"说    明："_s};

LineFields fieldsOf(const std::array<QLineEdit *, 6> &t)
{
    return {t[0]->text(), t[1]->text(), t[2]->text(), t[3]->text(), t[4]->text(), t[5]->text()};
}
} // namespace

bool checkLineFields(QWidget *dialog, const std::array<QLineEdit *, 6> &fields)
{
    for (QLineEdit *box : fields)
        if (box->text().isEmpty()) {
            platform::inform(dialog, u"数据不能为空！"_s, u"提示"_s, platform::MsgIcon::None);
            box->setFocus();
            return false;
        }
    // A B or H label value reaches the size boxes past their key filter.
    for (int i = 2; i <= 4; ++i)
        if (!platform::isNumeric(fields[size_t(i)]->text())) {
            platform::inform(dialog, u"制作尺寸和樘数必须是数字！"_s);
            fields[size_t(i)]->setFocus();
            fields[size_t(i)]->selectAll();
            return false;
        }
    return true;
}

FrmAddGCMC::FrmAddGCMC(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmAddGCMC"_s);

    Tvw = new QTreeWidget(this);
    Tvw->setObjectName(u"Tvw"_s);
    Tvw->setHeaderHidden(true);
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
    CmdChange = new QPushButton(u"更改标注 &B"_s, this);
    CmdChange->setObjectName(u"CmdChange"_s);
    CmdChange->setEnabled(false);

    auto *fields = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        Text1[size_t(i)] = new QLineEdit(this);
        Text1[size_t(i)]->setObjectName(u"Text1%1"_s.arg(i));
        fields->addWidget(new QLabel(kFieldLabels.at(i), this), i, 0);
        fields->addWidget(Text1[size_t(i)], i, 1);
    }
    for (int i = 2; i <= 4; ++i)
        digitsOnly(Text1[size_t(i)]);
    CmdAdd = new QPushButton(u"添    加 [&A]"_s, this);
    CmdAdd->setObjectName(u"CmdAdd"_s);
    Command2 = new QPushButton(u"退    出 [&E]"_s, this);
    Command2->setObjectName(u"Command2"_s);
    for (QPushButton *b : {CmdChange, CmdAdd, Command2})
        b->setAutoDefault(false);
    for (int i = 0; i < 5; ++i)
        chainEnter(Text1[size_t(i)], Text1[size_t(i + 1)]);
    chainEnter(Text1[5], CmdAdd);

    auto *editor = new QHBoxLayout;
    editor->addWidget(LblBZ);
    editor->addWidget(TxtBZ, 1);
    auto *labelPanel = new QVBoxLayout;
    labelPanel->addLayout(editor);
    labelPanel->addWidget(CmdChange);
    labelPanel->addWidget(LvwBZ, 1);
    auto *lower = new QHBoxLayout;
    lower->addWidget(PicMC, 3);
    lower->addLayout(labelPanel, 2);
    auto *left = new QVBoxLayout;
    left->addWidget(Tvw, 1);
    left->addLayout(lower, 2);
    auto *right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(CmdAdd);
    right->addWidget(Command2);
    right->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);
    resize(900, 620);

    connect(Tvw, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { Tvw_NodeClick(node); });
    connect(LvwBZ, &QTreeWidget::itemDoubleClicked, this, &FrmAddGCMC::LvwBZ_DblClick);
    connect(TxtBZ, &QLineEdit::returnPressed, this, [this] {
        if (CmdChange->isEnabled())
            CmdChange_Click();
    });
    connect(CmdChange, &QPushButton::clicked, this, &FrmAddGCMC::CmdChange_Click);
    connect(CmdAdd, &QPushButton::clicked, this, &FrmAddGCMC::CmdAdd_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

bool FrmAddGCMC::prepareAdd(const QString &jobId, QTreeWidget *list, QString *error)
{
    Tag = u"1"_s;
    setWindowTitle(u"添加门窗"_s);
    m_jobId = jobId;
    m_list = list;
    for (int i = 1; i < 6; ++i)
        Text1[size_t(i)]->setText(u"0"_s);
    return LoadMCTree(Tvw, error);
}

bool FrmAddGCMC::prepareEdit(QTreeWidget *list, QTreeWidgetItem *row, QString *error)
{
    Tag = u"2"_s;
    setWindowTitle(u"编辑门窗"_s);
    CmdAdd->setText(u"确定 &Y"_s);
    m_list = list;
    m_row = row;
    const JobLine line = itemLine(row);
    m_jobId = line.jobId;
    m_lineId = line.id;
    CurMCNum = line.id;
    // The type of a stored line cannot be changed.
    Tvw->setEnabled(false);
    const LineFields &f = line.fields;
    const QStringList texts = {f.name, f.position, f.width, f.height, f.count, f.remark};
    for (int i = 0; i < 6; ++i)
        Text1[size_t(i)]->setText(texts.at(i));
    ProjectStore store;
    const std::optional<QList<NamedDimension>> dims = store.loadDimensions(line.id.toLongLong());
    if (!dims) {
        if (error)
            *error = store.lastError();
        return false;
    }
    // A type that is gone leaves the box empty; its values can still be edited.
    if (const std::optional<QString> number = typeDrawingNumber(line.typeNo.toLongLong()))
        showDrawingNoText(PicMC, *number);
    fillLabelList(LvwBZ, *dims);
    return true;
}

void FrmAddGCMC::Tvw_NodeClick(QTreeWidgetItem *node)
{
    const QString tag = nodeTag(node);
    if (!tag.startsWith(u'3')) {
        m_typeNo = 0;
        LvwBZ->clear();
        return;
    }
    const qint64 typeNo = tag.mid(1).toLongLong();
    Text1[0]->setText(node->text(0));
    // A type that cannot be read leaves no drawing, no labels and no type to store.
    m_typeNo = 0;
    LvwBZ->clear();
    const std::optional<QString> number = typeDrawingNumber(typeNo);
    if (!number || number->isEmpty()) {
        PicMC->clear();
        // A type without a drawing is a line without named dimensions.
        if (number)
            m_typeNo = typeNo;
        return;
    }
    const std::optional<QList<NamedDimension>> dims = showDrawingNoText(PicMC, *number);
    if (!dims)
        return;
    fillLabelList(LvwBZ, *dims);
    m_typeNo = typeNo;
}

void FrmAddGCMC::LvwBZ_DblClick()
{
    editCurrentLabel(PicMC, LvwBZ, LblBZ, TxtBZ, CmdChange);
}

void FrmAddGCMC::CmdChange_Click()
{
    QTreeWidgetItem *row = LvwBZ->currentItem();
    if (!row)
        return;
    const int index = storeLabelValue(PicMC, LvwBZ, row, TxtBZ->text(), CmdChange);
    if (isWidthLabel(row->text(0)))
        Text1[2]->setText(TxtBZ->text());
    else if (isHeightLabel(row->text(0)))
        Text1[3]->setText(TxtBZ->text());
    if (index == LvwBZ->topLevelItemCount() - 1) {
        Text1[1]->setFocus();
        Text1[1]->selectAll();
        return;
    }
    LvwBZ->setCurrentItem(LvwBZ->topLevelItem(index + 1));
    LvwBZ_DblClick();
}

bool FrmAddGCMC::CheckInput()
{
    return checkLineFields(this, Text1);
}

void FrmAddGCMC::CmdAdd_Click()
{
    if (!CheckInput())
        return;
    const LineFields fields = fieldsOf(Text1);
    const QList<NamedDimension> dims = labelListDims(LvwBZ);
    ProjectStore store;
    if (Tag == u"1"_s) {
        if (m_typeNo <= 0) {
            platform::inform(this, u"当前所选的结点非门窗结点！"_s);
            Tvw->setFocus();
            return;
        }
        const std::optional<qint64> id = store.addPlainLine(m_jobId.toLongLong(), m_typeNo, fields, dims);
        if (!id) {
            reportFailure(this, u"保存门窗出错！"_s, store.lastError());
            return;
        }
        if (m_list)
            m_list->addTopLevelItem(lineItem({fields, m_jobId, QString::number(m_typeNo), QString::number(*id)}));
        for (int i = 1; i < 6; ++i)
            Text1[size_t(i)]->setText(u"0"_s);
        return;
    }
    if (!store.updatePlainLine(m_lineId.toLongLong(), fields, dims)) {
        reportFailure(this, u"保存门窗出错！"_s, store.lastError());
        return;
    }
    if (m_row) {
        JobLine line = itemLine(m_row);
        line.fields = fields;
        setLineItem(m_row, line);
    }
    accept();
}

} // namespace project::ui
