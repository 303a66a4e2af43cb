#pragma once
// SQLite connections by name, bound statements and the transaction guard.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace platform {

// Opens (creating when `create` is true) an SQLite file under a named connection, replacing any
// earlier connection of that name. On failure returns false and fills *error.
bool openSqlite(const QString &connectionName, const QString &path, QString *error, bool create = false);
void closeConnection(const QString &connectionName);

// Runs one statement with its values bound by position. On failure returns false and fills *error
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

// Quotes an identifier chosen by the code (table and column names), never a value.
QString ident(const QString &name);

// All-or-nothing scope for a change of more than one statement. Begins in the constructor (a
// savepoint when a transaction is already open on the connection), commit() must be called
// explicitly, and the destructor rolls back whatever was not committed.
class TransactionGuard
{
public:
    explicit TransactionGuard(QSqlDatabase db);
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
