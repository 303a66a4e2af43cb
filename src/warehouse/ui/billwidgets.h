#pragma once
// Pieces shared by the bill windows: the bill date box, Enter moving through a chain of controls,
// the line lists, and the boxes, buttons and layout of a bill window.
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

QLineEdit *makeBox(QWidget *parent, const QString &objectName, bool readOnly = false);
// A button that does not become the default when it takes the focus.
QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &caption);
// A bill window: the head fields above the line list, which takes the spare height, and the
// buttons in one row below.
void layOutBill(QWidget *window, QGridLayout *head, QTreeWidget *list, const QList<QPushButton *> &buttons);
// A stored bill shown read-only: its lines replace the list's rows and `locked` are disabled.
void showPreviewLines(QTreeWidget *list, const QList<QStringList> &lines, const QList<QWidget *> &locked);

} // namespace warehouse::ui
