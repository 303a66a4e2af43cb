#include "yhlists.h"

#include "platform/lists.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace optimise::ui {

QTreeWidget *makeList(const QString &objectName, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

void setHeaders(QTreeWidget *list, const QStringList &headers)
{
    list->clear();
    list->setColumnCount(int(headers.size()));
    list->setHeaderLabels(headers);
}

QTreeWidgetItem *addItem(QTreeWidget *list, const QStringList &columns, const QString &tag)
{
    auto *item = new QTreeWidgetItem(list, columns);
    item->setData(0, Qt::UserRole, tag);
    return item;
}

QString itemTag(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

namespace {
// Copies the item (text, tag, sub-items 1 .. n - 1 with n the columns of `available`) to the end
// of `to` and removes it from `from`.
bool moveOne(QTreeWidget *from, QTreeWidget *to, int columns, const QString &emptyMessage)
{
    QTreeWidgetItem *item = selectedItem(from);
    if (!item) {
        platform::inform(from->window(), emptyMessage);
        return false;
    }
    QStringList texts;
    for (int c = 0; c < columns; ++c)
        texts << item->text(c);
    QTreeWidgetItem *copy = addItem(to, texts, itemTag(item));
    const int index = from->indexOfTopLevelItem(item);
    delete from->takeTopLevelItem(index);
    // Keep an item current so that a repeated move carries the next one.
    if (from->topLevelItemCount() > 0) {
        QTreeWidgetItem *next = from->topLevelItem(qMin(index, from->topLevelItemCount() - 1));
        from->setCurrentItem(next);
        next->setSelected(true);
    }
    to->setCurrentItem(copy);
    return true;
}

// The last one moved ends current, as after moving them one by one.
void moveAll(QTreeWidget *from, QTreeWidget *to)
{
    const QList<QTreeWidgetItem *> items = platform::moveAllItems(from, to);
    if (!items.isEmpty())
        to->setCurrentItem(items.last());
}
} // namespace

void MoveListItem(QTreeWidget *available, QTreeWidget *chosen)
{
    moveOne(available, chosen, available->columnCount(), u"无选择移动对象"_s);
}

void RemoveListItem(QTreeWidget *available, QTreeWidget *chosen)
{
    moveOne(chosen, available, available->columnCount(), u"无选择移除对象"_s);
}

void MoveAllListItems(QTreeWidget *available, QTreeWidget *chosen)
{
    moveAll(available, chosen);
}

void RemoveAllListItems(QTreeWidget *available, QTreeWidget *chosen)
{
    moveAll(chosen, available);
}

void showCutNotices(QWidget *parent, const QList<CutNotice> &notices)
{
    for (const CutNotice &n : notices) {
        switch (n.kind) {
        case CutNotice::Kind::Plain:
            platform::messages().message(parent, n.text, QCoreApplication::applicationName(), platform::MsgIcon::None,
                                         platform::MsgButtons::Ok);
            break;
        case CutNotice::Kind::Exclamation:
            platform::inform(parent, n.text, u"提示"_s, platform::MsgIcon::Exclamation);
            break;
        case CutNotice::Kind::Critical:
            platform::messages().message(parent, n.text, u"出错"_s, platform::MsgIcon::Critical,
                                         platform::MsgButtons::Ok);
            break;
        }
    }
}

} // namespace optimise::ui
