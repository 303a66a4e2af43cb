#include "lists.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QTreeWidget>

namespace platform {

QTreeWidgetItem *selectedItem(const QTreeWidget *list)
{
    const QList<QTreeWidgetItem *> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

QListWidgetItem *selectedItem(const QListWidget *list)
{
    const QList<QListWidgetItem *> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

void currentIsSelected(QAbstractItemView *view)
{
    QItemSelectionModel *sel = view->selectionModel();
    QObject::connect(sel, &QItemSelectionModel::currentChanged, view, [sel](const QModelIndex &current) {
        if (current.isValid() && !sel->isSelected(current))
            sel->select(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    QObject::connect(sel, &QItemSelectionModel::selectionChanged, view, [sel] {
        if (!sel->hasSelection() && sel->currentIndex().isValid())
            sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    });
}

namespace {
class OpenOnEnter : public QObject
{
public:
    OpenOnEnter(QAbstractItemView *view, const std::function<void()> &open) : QObject(view), m_open(open)
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool opens = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2;
        if (!opens || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (static_cast<QAbstractItemView *>(watched)->selectionModel()->hasSelection())
            m_open();
        return true;
    }

private:
    std::function<void()> m_open;
};
} // namespace

void openOnEnter(QAbstractItemView *view, const std::function<void()> &open)
{
    new OpenOnEnter(view, open);
}

QList<QTreeWidgetItem *> moveAllItems(QTreeWidget *from, QTreeWidget *to)
{
    const QList<QTreeWidgetItem *> items = from->invisibleRootItem()->takeChildren();
    for (QTreeWidgetItem *item : items)
        item->setSelected(false);
    to->addTopLevelItems(items);
    return items;
}

namespace {
// A mouse press that makes an item current is followed by that item's click: the pair is one choice.
class ItemChooser : public QObject
{
public:
    ItemChooser(QTreeWidget *tree, const std::function<void(QTreeWidgetItem *)> &chosen)
        : QObject(tree), m_chosen(chosen)
    {
        tree->viewport()->installEventFilter(this);
        connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
            if (!current)
                return;
            m_justMadeCurrent = current;
            m_chosen(current);
        });
        connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
            if (item == m_justMadeCurrent) {
                m_justMadeCurrent = nullptr;
                return;
            }
            m_chosen(item);
        });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_justMadeCurrent = nullptr;
        return false;
    }

private:
    std::function<void(QTreeWidgetItem *)> m_chosen;
    const QTreeWidgetItem *m_justMadeCurrent = nullptr; // compared only, never used
};
} // namespace

void onItemChosen(QTreeWidget *tree, const std::function<void(QTreeWidgetItem *)> &chosen)
{
    new ItemChooser(tree, chosen);
}

} // namespace platform
