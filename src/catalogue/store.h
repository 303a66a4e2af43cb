#pragma once
// Every statement on the catalogue tables 材料厂家, 型材系列, 型材, 型钢, 玻璃 and 配件.
#include "types.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <optional>

namespace catalogue {

class CatalogueStore
{
public:
    // On the main connection as it is now (a later reopen is seen by the next store made).
    CatalogueStore();
    explicit CatalogueStore(QSqlDatabase db);

    bool isOpen() const;
    // The reason of the last failure, readable by the user.
    QString lastError() const { return m_error; }

    // Rows in table order; nullopt when the query fails.
    std::optional<QList<Maker>> makers();
    std::optional<QList<Series>> seriesOf(qint64 makerId);
    std::optional<QList<Item>> items(ItemKind kind, qint64 ownerId);

    // One row by 编号; nullopt when it is gone or the query fails.
    std::optional<Maker> maker(qint64 id);
    std::optional<Series> series(qint64 id);
    std::optional<Item> item(ItemKind kind, qint64 id);

    // Inserts with the next 编号 and returns it; `maker.id` is not used.
    std::optional<qint64> addMaker(const Maker &maker);
    // Name, telephone, address and fax; the kind of a maker never changes.
    bool updateMaker(const Maker &maker);
    std::optional<qint64> addSeries(qint64 makerId, const QString &name);
    bool renameSeries(qint64 id, const QString &name);

    // A maker with everything under it by its kind (1: its series and their profiles; 2 steel,
    // 3 panels, 4 fittings), all or nothing.
    bool deleteMaker(qint64 id, int kind);
    // A series with its profiles, all or nothing.
    bool deleteSeries(qint64 id);

    // `values` as itemValues() gives them, in field order.
    std::optional<qint64> addItem(ItemKind kind, qint64 ownerId, const QVariantList &values);
    // Every field; the owner and 编号 stay.
    bool updateItem(ItemKind kind, qint64 id, const QVariantList &values);
    bool deleteItem(ItemKind kind, qint64 id);

    // Sets (not adjusts) the price of every item of one owner: the profiles of a series, the steel,
    // panels or fittings of a maker.
    bool setPrices(ItemKind kind, qint64 ownerId, double price);

private:
    bool ready();
    bool select(const QString &sql, const QVariantList &values, QSqlQuery *query);
    bool run(const QString &sql, const QVariantList &values, int *affected = nullptr);
    bool fail(const QString &text);
    // A new row under the next free 编号 of `table`, in one transaction: `values`, with that
    // 编号 inserted at position idAt, are bound to `insertSql`. Returns the 编号.
    std::optional<qint64> insertNumbered(const QString &table, const QString &insertSql, QVariantList values,
                                         qsizetype idAt);

    QSqlDatabase m_db;
    QString m_error;
};

} // namespace catalogue
