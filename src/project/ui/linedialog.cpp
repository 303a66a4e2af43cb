#include "linedialog.h"

#include "common.h"
#include "platform/keys.h"
#include "platform/lists.h"
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
const QStringList kFieldLabels = {u"门窗名称："_s, u"门窗部位："_s, u"制作尺寸宽："_s,
                                  u"制作尺寸高："_s, u"樘    数："_s, u"说    明："_s};
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

LineDialog::LineDialog(const QString &objectName, QWidget *parent) : QDialog(parent)
{
    setObjectName(objectName);

    Tvw = new QTreeWidget(this);
    Tvw->setObjectName(u"Tvw"_s);
    Tvw->setHeaderHidden(true);
    platform::currentIsSelected(Tvw);
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
    CmdChange = makeButton(this, u"CmdChange"_s, u"更改标注 &B"_s);
    CmdChange->setEnabled(false);

    m_fields = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        Text1[size_t(i)] = new QLineEdit(this);
        Text1[size_t(i)]->setObjectName(u"Text1%1"_s.arg(i));
        m_fields->addWidget(new QLabel(kFieldLabels.at(i), this), i, 0);
        m_fields->addWidget(Text1[size_t(i)], i, 1);
    }
    for (int i = 2; i <= 4; ++i)
        digitsOnly(Text1[size_t(i)]);
    CmdAdd = makeButton(this, u"CmdAdd"_s, u"添    加 [&A]"_s);
    Command2 = makeButton(this, u"Command2"_s, u"退    出 [&E]"_s);

    platform::onItemChosen(Tvw, [this](QTreeWidgetItem *node) { Tvw_NodeClick(node); });
    connect(LvwBZ, &QTreeWidget::itemDoubleClicked, this, &LineDialog::LvwBZ_DblClick);
    platform::openOnEnter(LvwBZ, [this] { LvwBZ_DblClick(); });
    connect(TxtBZ, &QLineEdit::returnPressed, this, [this] {
        if (CmdChange->isEnabled())
            CmdChange_Click();
    });
    connect(CmdChange, &QPushButton::clicked, this, &LineDialog::CmdChange_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void LineDialog::layOut(QLayout *top, QLayout *labelButtons)
{
    auto *editor = new QHBoxLayout;
    editor->addWidget(LblBZ);
    editor->addWidget(TxtBZ, 1);
    auto *labelPanel = new QVBoxLayout;
    labelPanel->addLayout(editor);
    labelPanel->addLayout(labelButtons);
    labelPanel->addWidget(LvwBZ, 1);
    auto *lower = new QHBoxLayout;
    lower->addWidget(PicMC, 3);
    lower->addLayout(labelPanel, 2);
    auto *left = new QVBoxLayout;
    left->addLayout(top, 1);
    left->addLayout(lower, 2);
    auto *right = new QVBoxLayout;
    right->addLayout(m_fields);
    right->addWidget(CmdAdd);
    right->addWidget(Command2);
    right->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);
}

void LineDialog::chainFields(QWidget *last)
{
    new platform::EnterChain(this, {Text1[0], Text1[1], Text1[2], Text1[3], Text1[4], Text1[5], last});
}

void LineDialog::beginAdd(const QString &jobId, QTreeWidget *list)
{
    Tag = u"1"_s;
    setWindowTitle(u"添加门窗"_s);
    m_jobId = jobId;
    m_list = list;
}

JobLine LineDialog::beginEdit(QTreeWidget *list, QTreeWidgetItem *row, const QString &title)
{
    const JobLine line = itemLine(row);
    Tag = u"2"_s;
    setWindowTitle(title);
    m_list = list;
    m_row = row;
    m_jobId = line.jobId;
    m_lineId = line.id;
    CurMCNum = line.id;
    const LineFields &f = line.fields;
    const QStringList texts = {f.name, f.position, f.width, f.height, f.count, f.remark};
    for (int i = 0; i < 6; ++i)
        Text1[size_t(i)]->setText(texts.at(i));
    return line;
}

LineFields LineDialog::typedFields() const
{
    return {Text1[0]->text(), Text1[1]->text(), Text1[2]->text(),
            Text1[3]->text(), Text1[4]->text(), Text1[5]->text()};
}

void LineDialog::LvwBZ_DblClick()
{
    editSelectedLabel(PicMC, LvwBZ, LblBZ, TxtBZ, CmdChange);
}

void LineDialog::CmdChange_Click()
{
    QTreeWidgetItem *row = platform::selectedItem(LvwBZ);
    if (!row)
        return;
    if (labelsSetSize()) {
        if (isWidthLabel(row->text(0)))
            Text1[2]->setText(TxtBZ->text());
        else if (isHeightLabel(row->text(0)))
            Text1[3]->setText(TxtBZ->text());
    }
    const int index = storeLabelValue(PicMC, LvwBZ, row, TxtBZ->text(), CmdChange);
    if (index == LvwBZ->topLevelItemCount() - 1) {
        labelsDone();
        platform::focusAndSelect(Text1[1]);
        return;
    }
    LvwBZ->setCurrentItem(LvwBZ->topLevelItem(index + 1));
    LvwBZ_DblClick();
}
} // namespace project::ui
