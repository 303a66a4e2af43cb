#pragma once
// Lists and trees: which item a command acts on, and choosing an item by mouse or keyboard.
#include <QList>
#include <functional>

class QAbstractItemView;
class QListWidget;
class QListWidgetItem;
class QObject;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {

// The selected item, or nullptr. Commands act on the selection, never on the current item alone:
// a list keeps a current item after its selection is cleared, and one appears when the list only
// takes the focus.
QTreeWidgetItem *selectedItem(const QTreeWidget *list);
QListWidgetItem *selectedItem(const QListWidget *list);

// In a one-choice list the current row is the selected row: a row made current (by the keyboard,
// by code, or by the list taking the focus) is selected too, and when the selection is cleared the
// list keeps no current row. So a row that looks chosen (highlighted, previewed, its values copied
// into boxes) is the row a command acts on, and nothing looks chosen when nothing is selected.
void currentIsSelected(QAbstractItemView *view);

// Enter or F2 on a list whose row is selected calls `open`: what a double click on the row does,
// without the mouse.
void openOnEnter(QAbstractItemView *view, const std::function<void()> &open);

// Moves every top-level item of `from` to the end of `to`, unselected, in one batch, so that the
// lists are laid out once rather than once per row. Returns the items moved, in their order.
QList<QTreeWidgetItem *> moveAllItems(QTreeWidget *from, QTreeWidget *to);

// Calls `chosen` once for each item chosen by a click or by moving the current item with the
// keyboard, so that arrow keys do what a click does. A click on the current item chooses it again.
void onItemChosen(QTreeWidget *tree, const std::function<void(QTreeWidgetItem *)> &chosen);

} // namespace platform
