#pragma once
// The main database connection and the small set of operations through which every subsystem
// numbers, reads and tests records.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace app {

inline const QString kMainConn = QStringLiteral("MainConn");

QSqlDatabase mainDb();

enum class OpenStatus { Opened, Missing, Failed };
// Opens cl.mdb from the data folder as MainConn (bringing its tables up to the schema).
// *path receives the full path; *error the failure text.
OpenStatus OpenMainDatabase(QString *path = nullptr, QString *error = nullptr);

// Whether `path` is one of the program's own database files (the open main database, or cl.mdb,
// CangKu.mdb, user.mdb or the template bak.mdb of the data folder): never a source or target of a
// copy that replaces tables.
bool isProgramDatabase(const QString &path);

// Next free 编号 of a table: the largest plus one, 1 for an empty table. nullopt (with *error) when
// the query fails, so that the caller does not insert.
std::optional<qint64> GetNextId(const QString &table, QString *error = nullptr);
std::optional<qint64> GetNextId(QSqlDatabase db, const QString &table, QString *error = nullptr);

QString JoinTrimmed(const QString &a, const QString &b);
QString FirstChar(const QString &s);
QString AfterFirstChar(const QString &s);

// A field as the lists and the record loaders show it: null as "", whole numbers in decimal,
// reals in the general form.
QString fieldText(const QVariant &value);

// The row whose 编号 is `id`: its columns as text by position (at most 16), each over the element
// of `previous` at its position, so that positions beyond the table's columns keep the texts of
// `previous`. nullopt (with *error) when there is no such row or the query fails.
std::optional<QStringList> LoadRecordById(const QString &table, qint64 id, const QStringList &previous = {},
                                          QString *error = nullptr);
// The same for the first row whose column equals the value; a null field keeps the text of `previous`
// too. nullopt when no row matches or the query fails.
std::optional<QStringList> LoadRecordByField(const QString &table, const QString &column, const QVariant &value,
                                             const QStringList &previous = {});
// nullopt when the query fails.
std::optional<bool> RecordExists(const QString &table, const QString &column, const QVariant &value,
                                 QString *error = nullptr);

} // namespace app
