#pragma once
// Pieces shared by the bill windows: the bill date box, Enter moving through a chain of controls,
// the line lists, the boxes, buttons and layout of a bill window, and the refusals they share.
#include "platform/keys.h"

#include <QDateEdit>
#include <QList>
#include <QObject>
#include <QStringList>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace warehouse::ui {

// A date box that is empty until it first takes the focus, which gives it today's date; later
// focus changes keep what the user set.
class BillDateEdit : public QDateEdit
{
    Q_OBJECT
public:
    explicit BillDateEdit(QWidget *parent = nullptr);
    bool hasDate() const { return date() != minimumDate(); }
    // The date set, or an invalid date while the box is empty.
    QDate billDate() const { return hasDate() ? date() : QDate(); }
    // A stored date (an invalid one leaves the box empty); the box then counts as dated.
    void setBillDate(const QDate &d);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    bool m_dated = false;
};

// Enter moving through a chain of controls: the shared one.
using platform::EnterChain;

// A report-view list with the given column titles; items cannot be edited in place.
QTreeWidget *makeLineList(QWidget *parent, const QString &objectName, const QStringList &titles);
void appendRow(QTreeWidget *list, const QStringList &texts);
void setRow(QTreeWidgetItem *item, const QStringList &texts);
QStringList rowTexts(const QTreeWidgetItem *item, int columns);
QList<QStringList> allRows(const QTreeWidget *list);
// The selected row, or nullptr.
QTreeWidgetItem *selectedRow(const QTreeWidget *list);
// The selected row; with none selected, `message` is shown, `focus` (when given) takes the focus,
// and the answer is nullptr.
QTreeWidgetItem *selectedRowOrInform(QWidget *window, const QTreeWidget *list, const QString &message,
                                     QWidget *focus = nullptr);

QLineEdit *makeBox(QWidget *parent, const QString &objectName, bool readOnly = false);
// A button that does not become the default when it takes the focus.
QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &caption);
// The caption and its box side by side in field column `col` (two grid columns) of `row`.
void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *box);
// Refuses an incomplete bill or line: "数据不完整!请重新输入。", then the focus to `focus` when given.
// Always false, for the checks to return.
bool refuseIncomplete(QWidget *window, QWidget *focus = nullptr);
// A bill window: the head fields above the line list, which takes the spare height, and the
// buttons in one row below.
void layOutBill(QWidget *window, QGridLayout *head, QTreeWidget *list, const QList<QPushButton *> &buttons);
// A stored bill shown read-only: its lines replace the list's rows and `locked` are disabled.
void showPreviewLines(QTreeWidget *list, const QList<QStringList> &lines, const QList<QWidget *> &locked);

} // namespace warehouse::ui
