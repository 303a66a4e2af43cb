#pragma once
// Backup of the 25 user-data tables of the main database to a .MBK file made from the template
// bak.mdb, and restore of those tables from such a file. Rows are copied by position inside the
// engine (the other file attached to the main connection), 编号 and every link column included,
// so all links between tables survive.
#include <QString>

namespace app {

enum class StoreResult {
    Done,
    TemplateMissing, // bak.mdb is not in the data folder
    CannotWrite,     // the target folder or file cannot be written (or is one of the databases)
    CannotOpen,      // the chosen backup file is not a database that can be read
    CopyFailed,      // a table is missing or incompatible, or a row could not be copied
};

// The full path of a backup: folder, a "/" unless the folder already ends with one, the name, and
// ".MBK" unless the name contains a ".".
QString backupTargetPath(const QString &folder, const QString &fileName);

// Removes what killed backups left in `folder`: their hidden temporary copies and the copies'
// journals. A backup calls it first; only one instance runs, so none of them is in use.
void removeStaleBackupTemporaries(const QString &folder);

class BackupStore
{
public:
    // Why the last call failed, readable by the user; empty after a call that succeeded.
    QString lastError() const { return m_error; }

    // Fills a temporary copy of the template beside `targetPath` and moves it into place (replacing
    // an existing file) only when all 25 tables were copied; otherwise nothing is left behind.
    StoreResult backupTo(const QString &targetPath);

    // Checks that the file holds the 25 tables with no more columns than the main database's, then
    // empties and refills them in one transaction on MainConn. On failure the database is unchanged.
    StoreResult restoreFrom(const QString &sourcePath);

private:
    QString m_error;
};

} // namespace app
