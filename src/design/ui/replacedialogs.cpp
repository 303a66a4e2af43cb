#include "replacedialogs.h"

#include "billlists.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

// --- find and replace

FrmFindReplace::FrmFindReplace(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmFindReplace"_s);
    setWindowTitle(u"查找/替换"_s);

    auto *label1 = new QLabel(u"查找内容:"_s, this);
    label1->setObjectName(u"Label1"_s);
    m_find = new QLineEdit(this);
    m_find->setObjectName(u"Text1"_s);
    label1->setBuddy(m_find);
    auto *label2 = new QLabel(u"替换内容:"_s, this);
    label2->setObjectName(u"Label2"_s);
    m_replacement = new QLineEdit(this);
    m_replacement->setObjectName(u"Text2"_s);
    label2->setBuddy(m_replacement);

    const QStringList captions = {u"查找列一"_s, u"查找列二"_s, u"查找列三"_s, u"查找列四"_s};
    auto *checks = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto *box = new QCheckBox(captions[i], this);
        box->setObjectName(u"Check1%1"_s.arg(i));
        // The formula columns are what is usually searched; names and codes only when asked for.
        box->setChecked(i >= 2);
        m_columns[size_t(i)] = box;
        checks->addWidget(box);
    }
    auto *ok = makeButton(u"OKButton"_s, u"&R 替换"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"&C 关闭"_s);

    auto *grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(m_find, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_replacement, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(checks);
    layout->addLayout(buttons);

    chainEnter(m_find, m_replacement);
    chainEnter(m_replacement, ok);
    setFirstFocus(m_find);
    connect(ok, &QPushButton::clicked, this, &FrmFindReplace::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmFindReplace::OKButton_Click()
{
    if (m_find->text().isEmpty())
        return refuse(m_find, u"查找内容不能为空！"_s);
    if (m_replacement->text().isEmpty())
        return refuse(m_replacement, u"替换内容不能为空！"_s);
    std::array<bool, 4> columns{};
    for (int i = 0; i < 4; ++i)
        columns[size_t(i)] = m_columns[size_t(i)]->isChecked();
    Bill bill = billFromLists(MCBillLists);
    findReplace(bill, m_find->text(), m_replacement->text(), columns);
    writeBillTexts(MCBillLists, bill);
    m_find->clear();
    m_replacement->clear();
    m_find->setFocus();
}

// --- macro replace

FrmMacroReplace::FrmMacroReplace(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmMacroReplace"_s);
    setWindowTitle(u"宏替换----单位为毫米（mm）"_s);

    static const std::array<QString, kMacroCount> labels = {
        u"框厚1         (代号：KH1):"_s, u"框厚2         (代号：KH2):"_s, u"扇厚1         (代号：SH1):"_s,
        u"扇厚2         (代号：SH2):"_s, u"中梃厚1       (代号：ZH1):"_s, u"中梃厚2       (代号：ZH2):"_s,
        u"框扇搭接1     (代号：DZ1):"_s, u"框扇搭接2     (代号：DZ2):"_s, u"压条厚        (代号：YTH):"_s,
        u"内锁厚        (代号：LSH):"_s, u"插件厚        (代号：CJH):"_s, u"熔化量        (代号：RHL):"_s,
    };
    auto *grid = new QGridLayout;
    for (int j = 0; j < kMacroCount; ++j) {
        auto *label = new QLabel(labels[size_t(j)], this);
        label->setObjectName(u"Label%1"_s.arg(j + 1));
        auto *box = new QLineEdit(this);
        box->setObjectName(u"Text1%1"_s.arg(j));
        label->setBuddy(box);
        setNumericOnly(box);
        m_boxes[size_t(j)] = box;
        // Two columns of six, as on a sheet of macros.
        grid->addWidget(label, j % 6, (j / 6) * 2);
        grid->addWidget(box, j % 6, (j / 6) * 2 + 1);
    }
    auto *ok = makeButton(u"OKButton"_s, u"替换"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消"_s);
    for (int j = 0; j + 1 < kMacroCount; ++j)
        chainEnter(m_boxes[size_t(j)], m_boxes[size_t(j + 1)]);
    chainEnter(m_boxes[kMacroCount - 1], ok);
    setFirstFocus(m_boxes[0]);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &FrmMacroReplace::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmMacroReplace::OKButton_Click()
{
    std::array<QString, kMacroCount> values;
    for (int j = 0; j < kMacroCount; ++j)
        values[size_t(j)] = m_boxes[size_t(j)]->text();
    Bill bill = billFromLists(MCBillLists);
    macroReplace(bill, values);
    writeBillTexts(MCBillLists, bill);
    accept();
}

} // namespace design
