#pragma once
// The drawing library in the main database: the index table 图 and the entity tables Line,
// Rectangle, Arrow, Dim, Arc and Strings, rows tied to their drawing by Bn. Every statement of the
// drawing subsystem lives here; values are bound, and a change of several rows is all or nothing.
#include "cpictire.h"
#include "librarytypes.h"

#include <QList>
#include <QSqlDatabase>
#include <QVariantList>
#include <optional>

namespace drawing {

class DrawingStore
{
public:
    // The main database unless another connection is given.
    DrawingStore();
    explicit DrawingStore(QSqlDatabase db);

    QSqlDatabase db() const { return m_db; }

    bool load(qint64 number, LibraryRows *rows, QString *error = nullptr) const;
    // Replaces the entity rows of `number` by the lists, in one transaction.
    bool save(qint64 number, const DrawingLists &lists, QString *error = nullptr);
    // A new library drawing: its 图 row and its entities, in one transaction.
    bool saveNew(qint64 number, const QString &name, const DrawingLists &lists, QString *error = nullptr);
    // The 图 row and every entity row of a drawing, in one transaction.
    bool remove(qint64 number, QString *error = nullptr);
    // Every library drawing, in table order.
    bool list(QList<LibraryEntry> *entries, QString *error = nullptr) const;
    std::optional<bool> exists(qint64 number, QString *error = nullptr) const;
    std::optional<qint64> nextNumber(QString *error = nullptr) const;

    // --- Import of an older main database; the callers hold the transaction.
    // Reads tables whole from `source`; a table missing there is marked absent.
    static bool readTables(QSqlDatabase source, const QStringList &tables, QList<TableCopy> *copies,
                           QString *error = nullptr);
    // Replaces each present table's rows, field by field by position.
    bool replaceTables(const QList<TableCopy> &copies, QString *error = nullptr);
    // Empties the index table and all six entity tables.
    bool emptyLibrary(QString *error = nullptr);
    bool typeRows(QList<TypeDrawingRow> *rows, QString *error = nullptr) const;
    bool setTypeDrawingNumber(qint64 rowid, qint64 number, QString *error = nullptr);
    bool insertIndex(qint64 number, const QString &name, QString *error = nullptr);

private:
    bool writeEntities(qint64 number, const DrawingLists &lists, QString *error = nullptr);
    bool deleteEntities(qint64 number, QString *error = nullptr);

    QSqlDatabase m_db;
};

} // namespace drawing
