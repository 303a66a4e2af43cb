#pragma once
// The drawing library in the main database: the index table 图 and the entity tables Line,
// Rectangle, Arrow, Dim, Arc and Strings, rows tied to their drawing by Bn. Every statement of the
// drawing subsystem lives here; values are bound, and a change of several rows is all or nothing.
#include "cpictire.h"
#include "librarytypes.h"

#include <QList>
#include <QSqlDatabase>
#include <QVariantList>
#include <memory>
#include <optional>

namespace platform {
class PreparedStatements;
}

namespace drawing {

class DrawingStore
{
public:
    // The main database unless another connection is given.
    DrawingStore();
    explicit DrawingStore(QSqlDatabase db);

    QSqlDatabase db() const { return m_db; }
    // The reason of the last failure, readable by the user.
    QString lastError() const { return m_error; }

    bool load(qint64 number, LibraryRows *rows) const;
    // Replaces the entity rows of `number` by the lists, in one transaction.
    bool save(qint64 number, const DrawingLists &lists);
    // A new library drawing: its 图 row and its entities, in one transaction.
    bool saveNew(qint64 number, const QString &name, const DrawingLists &lists);
    // The 图 row and every entity row of a drawing, in one transaction.
    bool remove(qint64 number);
    // Every library drawing, in table order.
    bool list(QList<LibraryEntry> *entries) const;
    std::optional<bool> exists(qint64 number) const;
    std::optional<qint64> nextNumber() const;

    // --- Import of an older main database; the callers hold the transaction.
    // Reads tables whole from this store's database (an older one opened for the import); a table
    // missing there is marked absent.
    bool readTables(const QStringList &tables, QList<TableCopy> *copies) const;
    // Replaces each present table's rows, field by field by position.
    bool replaceTables(const QList<TableCopy> &copies);
    // Empties the index table and all six entity tables.
    bool emptyLibrary();
    bool typeRows(QList<TypeDrawingRow> *rows) const;
    bool setTypeDrawingNumber(qint64 rowid, qint64 number);
    bool insertIndex(qint64 number, const QString &name);

private:
    bool writeEntities(qint64 number, const DrawingLists &lists);
    bool deleteEntities(qint64 number);

    QSqlDatabase m_db;
    // Loads of many drawings through one store prepare their reads once.
    std::shared_ptr<platform::PreparedStatements> m_reads;
    mutable QString m_error; // the readers report too
};

} // namespace drawing
