#pragma once
// Shared pieces of the optimisation windows: report-view lists, the two-list movers of the wizard
// and the display of the cutting schemes' notices.
#include "optimise/yhcut.h"
#include "platform/lists.h"

#include <QList>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace optimise::ui {

// A list in report view whose items cannot be edited.
QTreeWidget *makeList(const QString &objectName, QWidget *parent);
void setHeaders(QTreeWidget *list, const QStringList &headers);
// Adds an item at the end: columns are the text and the sub-items; the tag goes with it.
QTreeWidgetItem *addItem(QTreeWidget *list, const QStringList &columns, const QString &tag = {});
QString itemTag(const QTreeWidgetItem *item);
using platform::selectedItem;

// The wizard's movers; each takes the two lists in this order, whichever way it moves.
void MoveListItem(QTreeWidget *available, QTreeWidget *chosen);
void RemoveListItem(QTreeWidget *available, QTreeWidget *chosen);
void MoveAllListItems(QTreeWidget *available, QTreeWidget *chosen);
void RemoveAllListItems(QTreeWidget *available, QTreeWidget *chosen);

// Shows the notices of a run, in order.
void showCutNotices(QWidget *parent, const QList<CutNotice> &notices);

} // namespace optimise::ui
