#pragma once
// SQLite connections by name, bound statements and the transaction guard.
#include <QSqlDatabase>
#include <QByteArrayView>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <map>
#include <optional>
#include <memory>

namespace platform {

// Hands a failure's text to a caller that asked for it (error may be null).
inline void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// A number text of a list (type number, record number) as a bound value: whole numbers as integers,
// others as doubles, by the leading number of the text.
QVariant numberParam(const QString &text);

// Opens (creating when `create` is true) an SQLite file under a named connection, replacing any
// earlier connection of that name. On failure returns false and fills *error.
bool openSqlite(const QString &connectionName, const QString &path, QString *error, bool create = false);
void closeConnection(const QString &connectionName);

// `s` with every lone UTF-16 surrogate (one not part of a pair) replaced by U+FFFD; the engine
// would pair it with the next character. Every bound text passes through it.
QString wellFormedText(const QString &s);

// Binds the values by position to a prepared query as every statement here binds them (texts
// through wellFormedText); false with *error, binding stops, for a number that is not finite.
bool bindAll(QSqlQuery &q, const QVariantList &values, QString *error);

// Runs one statement with its values bound by position. A number that is not finite is refused
// before the statement runs, with *error saying so. On failure returns false and fills *error
// with the driver's text. `query` (optional) receives the executed query for reading rows.
bool execBound(QSqlDatabase db, const QString &sql, const QVariantList &values, QString *error,
               QSqlQuery *query = nullptr);

// Runs a script of statements separated by ";" at line ends ("--" comment lines are skipped).
bool execScript(QSqlDatabase db, const QString &script, QString *error);

// Names of the tables of a database and the column names of one table, in stored order.
QStringList tableNames(QSqlDatabase db);
QStringList columnNames(QSqlDatabase db, const QString &table);

// Prepares an insert that fills the first `fieldCount` columns of `table` by position (rows copied
// field by field between databases). False with *error when the table is missing or narrower.
bool preparePositionalInsert(QSqlDatabase db, const QString &table, int fieldCount, QSqlQuery *query,
                             QString *error);

// Statements prepared once and re-bound for every row of a bulk operation. A statement is
// re-prepared only when its text was not seen before; the queries live as long as the cache.
class PreparedStatements
{
public:
    explicit PreparedStatements(QSqlDatabase db) : m_db(db) {}
    PreparedStatements(const PreparedStatements &) = delete;
    PreparedStatements &operator=(const PreparedStatements &) = delete;

    // Binds the values by position and runs the statement; the query is for reading its rows until
    // the next exec of the same text. nullptr with *error (the driver's text) on failure.
    QSqlQuery *exec(const QString &sql, const QVariantList &values, QString *error);

private:
    QSqlDatabase m_db;
    std::map<QString, std::unique_ptr<QSqlQuery>> m_queries;
};

// One insert (or other statement without rows) prepared once on the engine's own handle and run
// per row, for bulk writes: binding through QSqlQuery costs several times the engine's work. A
// row's values are bound in order from the first parameter, then run() runs the statement:
//     insert.text(name).real(length).run(&error)
// Values bind as the Qt driver binds them (null QString and invalid QVariant as NULL, whole
// numbers as integers, floating point as reals, texts as text, through wellFormedText). Falls back
// to QSqlQuery when the connection offers no engine handle.
class BulkStatement
{
public:
    BulkStatement(QSqlDatabase db, const QString &sql);
    ~BulkStatement();
    BulkStatement(const BulkStatement &) = delete;
    BulkStatement &operator=(const BulkStatement &) = delete;

    BulkStatement &text(const QString &s);
    BulkStatement &real(double v); // a number that is not finite is refused by run()
    BulkStatement &integer(qint64 v);
    BulkStatement &value(const QVariant &v);

    // Runs the statement with the values bound since the last run. False with *error (the
    // engine's text, or why a value was refused, the statement not run) on failure.
    bool run(QString *error);
    // value() of each, then run().
    bool exec(const QVariantList &values, QString *error);

private:
    BulkStatement &null();
    void bound(int rc);

    struct Engine;
    std::unique_ptr<Engine> m_engine;
    QSqlQuery m_fallback;
    QString m_prepareError;
    QString m_bindError; // the first value of the row that could not be bound
    int m_next = 0;      // the parameter the next value binds to, from 0
};

// The rows of one query read straight from the engine's handle, for reads of many rows: through
// QSqlQuery every field passes the driver's row cache and a QVariant copy. value() is the field as
// the Qt driver yields it with its default precision (integers as qint64, reals as double, texts
// as QString, blobs as QByteArray, null as a null QString); the typed reads skip the QVariant.
// Values bind as BulkStatement binds them. Needs a connection with an engine handle: without one,
// the first next() fails and error() says so.
class RowReader
{
public:
    enum class Field { Null, Integer, Real, Text, Blob };

    RowReader(QSqlDatabase db, const QString &sql, const QVariantList &values = {});
    ~RowReader();
    RowReader(const RowReader &) = delete;
    RowReader &operator=(const RowReader &) = delete;

    // The next row; false after the last one, or on failure with error() not empty.
    bool next();
    // Reads again from the first row with other values, the statement prepared once: a reader for
    // one record after another. False with error() when a value cannot be bound; it reads nothing then.
    bool rerun(const QVariantList &values);
    QString error() const { return m_error; }
    int columnCount() const;

    QVariant value(int column) const;
    Field type(int column) const;
    double real(int column) const;          // a Real or Integer field as a double
    QByteArrayView utf8(int column) const;  // a Text field's stored bytes, valid until the next row
    QString text(int column) const;         // a Text field as value() gives it

private:
    struct Engine;
    bool bind(const QVariantList &values);

    std::unique_ptr<Engine> m_engine;
    QString m_error;
};

// A table's own indexes set aside for a bulk write into it: dropping them first and building them
// again after costs less than keeping them up to date row by row. Only inside a transaction, so a
// failure rolls the drop back with the rest. The statements come from the database itself.
std::optional<QStringList> dropIndexes(QSqlDatabase db, const QString &table, QString *error);
bool createIndexes(QSqlDatabase db, const QStringList &statements, QString *error);

// What shows whether the rows of a connection's databases may have changed between two moments:
// rows written through the connection, a rollback of a TransactionGuard on it, a commit to its main
// database by another connection. Equal stamps: no row changed in between (a change of the schema
// is not counted).
struct DataStamp
{
    const void *handle = nullptr;
    qint64 changes = -1;
    qint64 otherCommits = -1;
    qint64 rollbacks = -1;
    friend bool operator==(const DataStamp &, const DataStamp &) = default;
};
DataStamp dataStamp(QSqlDatabase db);

// Whether a statement that failed with `error` found the disk full.
bool failedOnFullDisk(const QString &error);

// Quotes an identifier chosen by the code (table and column names), never a value.
QString ident(const QString &name);

// All-or-nothing scope for a change of more than one statement. Begins in the constructor (a
// savepoint when a transaction is already open on the connection), commit() must be called
// explicitly, and the destructor rolls back whatever was not committed.
class TransactionGuard
{
public:
    // When the connection's databases are locked for writing: all of them at the start, or each at
    // its first write, so that a transaction that reads one attached file and writes another
    // commits to the written file alone (one file's journal, no super-journal across both).
    enum class WriteLock { AtStart, AtFirstWrite };

    explicit TransactionGuard(QSqlDatabase db, WriteLock lock = WriteLock::AtStart);
    ~TransactionGuard();
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    bool isActive() const { return m_active; }
    bool commit();
    QString errorText() const { return m_error; }

private:
    QSqlDatabase m_db;
    QString m_savepoint;
    bool m_active = false;
    QString m_error;
};

} // namespace platform
