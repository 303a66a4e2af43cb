#pragma once
// The two replace dialogs of the bill editor, working on the lists in MCBillLists (set by the
// editor just before it shows them): text find and replace in chosen columns of all four lists,
// and the design macros replaced by numbers in the formulas of profiles, steel and panels.
#include "catalogue/ui/dialogs.h"
#include "design/billtools.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace design {

// "查找/替换": stays open after each replacement, with empty boxes, until 关闭.
class FrmFindReplace : public catalogue::InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmFindReplace(QWidget *parent = nullptr);

    // 替换: refuses an empty find or replacement text, otherwise replaces in the ticked columns.
    void OKButton_Click();

private:
    QLineEdit *m_find = nullptr;
    QLineEdit *m_replacement = nullptr;
    std::array<QCheckBox *, 4> m_columns{};
};

// "宏替换----单位为毫米（mm）": one number box per macro; 替换 applies the filled boxes and closes.
class FrmMacroReplace : public catalogue::InputDialogBase
{
    Q_OBJECT
public:
    explicit FrmMacroReplace(QWidget *parent = nullptr);

    void OKButton_Click();

private:
    std::array<QLineEdit *, kMacroCount> m_boxes{};
};

} // namespace design
