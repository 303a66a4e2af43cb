#pragma once
// The door/window type library: the makers, series and types of the type tree (门窗厂家, 门窗系列,
// 门窗) and each type's bill of materials in 窗型材, 窗型钢, 窗板材 and 窗配件. Every statement on
// these tables lives here. Values are bound; a change of more than one statement is all or nothing.
#include "billtypes.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace platform {
class PreparedStatements;
}

namespace design {

class TypeStore
{
public:
    // The main database unless another connection is given.
    TypeStore();
    explicit TypeStore(QSqlDatabase db);

    QSqlDatabase db() const { return m_db; }
    bool isOpen() const { return m_db.isOpen(); }
    // The driver's text of the last failure.
    QString lastError() const { return m_error; }

    // --- the tree
    // Design order: makers and series by 编号, the types of a series by name. Stored order: every
    // level in the order its table holds the rows.
    enum class TreeOrder { Design, Stored };
    std::optional<QList<TypeTreeMaker>> loadTree(TreeOrder order = TreeOrder::Design);
    // nullopt when the type does not exist or the query fails (lastError tells which).
    std::optional<DoorType> type(qint64 id);

    // Each add takes the next 编号 of its table and returns it.
    std::optional<qint64> addMaker(const QString &name);
    bool renameMaker(qint64 id, const QString &name);
    std::optional<qint64> addSeries(qint64 makerId, const QString &name);
    bool renameSeries(qint64 id, const QString &name);
    std::optional<qint64> addType(qint64 seriesId, const QString &name, qint64 drawingNumber);
    // Name and drawing; the bill is not touched.
    bool updateType(qint64 id, const QString &name, qint64 drawingNumber);

    // Deletes with everything below, in one transaction: a maker's series with their types and
    // bills, a series' types with their bills, a type's bill.
    bool deleteMaker(qint64 id);
    bool deleteSeries(qint64 id);
    bool deleteType(qint64 id);

    // Puts a type into another series; its 编号 and bill stay.
    bool moveType(qint64 typeId, qint64 seriesId);
    // A new type in the series with the source's name, drawing and a copy of its bill under new
    // row numbers, in one transaction; returns the new type's 编号.
    std::optional<qint64> copyType(qint64 sourceId, qint64 seriesId);

    // Every type in stored order with its bill (rows in stored order), read in one go.
    std::optional<QList<TypeWithBill>> loadTypesWithBills();
    // Creates the types with their bills in the series, in one transaction: the types take
    // consecutive new 编号 from the next free one, their rows new row numbers. Refused before any
    // write when a count stored as a number is not one; on any failure nothing stays and *failure
    // names the source row. Returns the new types' 编号 in order.
    std::optional<QList<qint64>> importTypes(qint64 seriesId, const QList<ImportedType> &types,
                                             ImportFailure *failure = nullptr);

    // --- bills
    // The type's rows of the four tables, in stored order.
    std::optional<Bill> loadBill(qint64 typeId);
    // Replaces the type's bill by `bill` in one transaction; every row gets a new 编号. Refused
    // without touching the tables when a count is not a number (*problem says which row) or when
    // the type no longer exists.
    bool saveBill(qint64 typeId, const Bill &bill, std::optional<BillProblem> *problem = nullptr);

private:
    bool fail(const QString &error);
    bool exec(const QString &sql, const QVariantList &values, int *affected = nullptr);
    std::optional<QList<qint64>> ids(const QString &sql, qint64 owner);
    bool insertBillRows(qint64 typeId, const Bill &bill);
    bool requireOne(int affected);

    QSqlDatabase m_db;
    // Records and bills read for many types through one store prepare their reads once.
    std::shared_ptr<platform::PreparedStatements> m_reads;
    QString m_error;
};

} // namespace design
