#pragma once
// The one schema source (schema.sql, a resource) for the four database files.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace app {

inline const QString kMainFile = QStringLiteral("cl.mdb");
inline const QString kWarehouseFile = QStringLiteral("CangKu.mdb");
inline const QString kUserFile = QStringLiteral("user.mdb");
inline const QString kTemplateFile = QStringLiteral("bak.mdb");

// The fixed files (schema, help) are resources of this static library.
void initResources();

// The statements of one file's section ("cl.mdb", "CangKu.mdb", "user.mdb"); with `onlyTables`
// non-empty, only the statements on those tables.
QString schemaScript(const QString &file, const QStringList &onlyTables = {});

// Creates the tables of a section in an open database (statements are idempotent).
bool applySchema(QSqlDatabase db, const QString &file, QString *error, const QStringList &onlyTables = {});

// Creates a new database file at `path` with the tables of `file`'s section.
bool createDatabaseFile(const QString &path, const QString &file, QString *error,
                        const QStringList &onlyTables = {});

// The 25 user-data tables of cl.mdb that a backup holds, in backup order (index 1..25).
const QStringList &backupTables();
// Name by index 1..25; empty for any other index.
QString BackupTableName(int index);

// Makes the data folder when it does not exist, and builds each of its database files that is
// missing or empty: cl.mdb, CangKu.mdb and the template empty, user.mdb with the account "Admin" /
// "admin" with every right. So a first start that was cut short is completed by the next. Call it
// with the single-instance lock held. *created: the folder was made. False with *error on failure.
bool ensureDataFolder(QString *error, bool *created = nullptr);

} // namespace app
