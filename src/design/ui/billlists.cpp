#include "billlists.h"
#include "platform/lists.h"

#include <QHeaderView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace design {

BillListSet MCBillLists;

const QStringList &billListHeaders(BillKind kind)
{
    static const std::array<QStringList, kBillKindCount> headers = {{
        {u"型材名称"_s, u"型材规格"_s, u"数量"_s, u"长度"_s},
        {u"型钢名称"_s, u"型钢规格"_s, u"数量"_s, u"长度"_s},
        {u"板材名称"_s, u"数量"_s, u"长"_s, u"宽"_s},
        {u"配件名称"_s, u"配件规格"_s, u"数量"_s, u"单位"_s},
    }};
    return headers[size_t(kind)];
}

QTreeWidget *makeBillList(BillKind kind, const QString &objectName, QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setColumnCount(4);
    list->setHeaderLabels(billListHeaders(kind));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setToolTip(u"双击这里编辑公式"_s);
    list->header()->setStretchLastSection(true);
    return list;
}

BillRow billRowOf(const QTreeWidget *list, int row)
{
    const QTreeWidgetItem *item = list->topLevelItem(row);
    if (!item)
        return {};
    return {item->text(0), item->text(1), item->text(2), item->text(3)};
}

void setBillRow(QTreeWidget *list, int row, const BillRow &texts)
{
    QTreeWidgetItem *item = list ? list->topLevelItem(row) : nullptr;
    if (!item)
        return;
    for (int c = 0; c < 4; ++c)
        item->setText(c, texts[size_t(c)]);
}

void writeBillTexts(const BillListSet &lists, const Bill &bill)
{
    for (BillKind kind : allBillKinds()) {
        QTreeWidget *list = lists[size_t(kind)];
        const QList<BillRow> &rows = bill.of(kind);
        for (int i = 0; list && i < rows.size(); ++i)
            setBillRow(list, i, rows[i]);
    }
}

Bill billFromLists(const BillListSet &lists)
{
    Bill bill;
    for (BillKind kind : allBillKinds()) {
        const QTreeWidget *list = lists[size_t(kind)];
        if (!list)
            continue;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            bill.of(kind) << billRowOf(list, i);
    }
    return bill;
}

void appendBillRows(const BillListSet &lists, const Bill &bill)
{
    for (BillKind kind : allBillKinds()) {
        QTreeWidget *list = lists[size_t(kind)];
        if (!list)
            continue;
        QList<QTreeWidgetItem *> items;
        for (const BillRow &row : bill.of(kind))
            items << new QTreeWidgetItem(QStringList{row[0], row[1], row[2], row[3]});
        list->addTopLevelItems(items);
    }
}

bool LoadMCBillLists(const BillListSet &lists, qint64 typeId, QString *error)
{
    TypeStore store;
    const std::optional<Bill> bill = store.loadBill(typeId);
    if (!bill) {
        if (error)
            *error = store.lastError();
        return false;
    }
    appendBillRows(lists, *bill);
    return true;
}

bool SaveMCBillLists(const BillListSet &lists, qint64 typeId, QString *error, std::optional<BillProblem> *problem)
{
    TypeStore store;
    if (store.saveBill(typeId, billFromLists(lists), problem))
        return true;
    if (error)
        *error = store.lastError();
    return false;
}

} // namespace design
