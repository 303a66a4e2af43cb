#include "backupstore.h"

#include "maindb.h"
#include "schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/filewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUuid>
#include <optional>

using namespace Qt::StringLiterals;

namespace app {

namespace {

QString uniqueSuffix() { return QUuid::createUuid().toString(QUuid::Id128).left(12); }

// Removes a file on scope exit unless released.
struct FileRemover
{
    QString path;
    ~FileRemover()
    {
        if (!path.isEmpty())
            QFile::remove(path);
    }
};

const QString kOther = u"backupfile"_s;

// The column names of the backup tables in one database of the main connection, by the table's
// name in lower case (the engine's table names ignore ASCII case).
std::optional<QHash<QString, QStringList>> tableColumns(QSqlDatabase main, const QString &schema, QString *error)
{
    QVariantList values{schema};
    for (const QString &table : backupTables())
        values << table;
    const QStringList marks(backupTables().size(), u"?"_s);
    QSqlQuery q(main);
    q.setForwardOnly(true);
    if (!platform::execBound(main,
                             u"SELECT m.\"name\", p.\"name\" FROM "_s + platform::ident(schema)
                                 + u".\"sqlite_master\" AS m, pragma_table_info(m.\"name\", ?) AS p "
                                   "WHERE m.\"type\" = 'table' AND m.\"name\" COLLATE NOCASE IN ("_s
                                 + marks.join(u", "_s) + u") ORDER BY m.rowid, p.\"cid\""_s,
                             values, error, &q))
        return std::nullopt;
    QHash<QString, QStringList> columns;
    while (q.next())
        columns[q.value(0).toString().toLower()] << q.value(1).toString();
    return columns;
}

enum class Copy { Done, NotOpened, Failed };

// Empties each backup table on one side and refills it from the other, by position, inside the
// engine: the file at `otherPath` is attached to the main connection, and everything happens in
// one transaction there. Source field i goes to target column i; a source with more columns than
// the target fails, fewer leave the rest null. Every table is checked before the first row
// changes. NotOpened: the file is missing or is not a database.
Copy copyAllTables(QSqlDatabase main, const QString &otherPath, bool toOther, QString *error)
{
    // Attaching a missing file would make an empty one.
    if (!QFileInfo(otherPath).isFile()) {
        platform::setError(error, u"文件不存在：%1"_s.arg(otherPath));
        return Copy::NotOpened;
    }
    QString err;
    if (!platform::execBound(main, u"ATTACH DATABASE ? AS "_s + platform::ident(kOther), {otherPath}, &err)) {
        platform::setError(error, err);
        return Copy::NotOpened;
    }
    struct Detach
    {
        QSqlDatabase db;
        ~Detach()
        {
            QSqlQuery q(db);
            q.exec(u"DETACH DATABASE "_s + platform::ident(kOther));
        }
    } detach{main};

    // The copy a backup fills is moved into place only after its commit reached the disk, and a
    // copy left by a failure or a crash is thrown away: a rollback journal on disk would protect
    // nothing. The main database keeps its own journal.
    if (toOther
        && !platform::execBound(main, u"PRAGMA "_s + platform::ident(kOther) + u".journal_mode = MEMORY"_s, {}, &err)) {
        platform::setError(error, err);
        return Copy::Failed;
    }
    const QString from = toOther ? u"main"_s : kOther;
    const QString to = toOther ? kOther : u"main"_s;
    const auto sources = tableColumns(main, from, &err);
    const auto targets = sources ? tableColumns(main, to, &err) : std::nullopt;
    if (!targets) {
        platform::setError(error, err);
        return Copy::Failed;
    }
    QStringList inserts;
    for (const QString &table : backupTables()) {
        const QStringList target = targets->value(table.toLower());
        const qsizetype fields = sources->value(table.toLower()).size();
        QString problem;
        if (!toOther && fields == 0)
            problem = u"备份文件中没有表 %1"_s.arg(table);
        else if (!toOther && fields > target.size())
            problem = u"%1：备份文件有 %2 列，数据库只有 %3 列"_s.arg(table).arg(fields).arg(target.size());
        else if (target.isEmpty() || fields == 0)
            problem = u"%1：%2"_s.arg(table, u"目标中没有表“%1”"_s.arg(table));
        else if (fields > target.size())
            problem = u"%1：%2"_s.arg(
                table, u"表“%1”：来源有 %2 列，目标只有 %3 列"_s.arg(table).arg(fields).arg(target.size()));
        if (!problem.isEmpty()) {
            platform::setError(error, problem);
            return Copy::Failed;
        }
        // A backup names no columns where the counts agree: the template's tables and indexes are
        // the main database's, so the engine copies rows and index entries as they are stored. A
        // restore names them: the engine then reads every field of the file's rows and builds
        // each row and its index entries anew, so a damaged file cannot bring its damage along.
        QString into = platform::ident(to) + u"."_s + platform::ident(table);
        if (!toOther || fields < target.size()) {
            QStringList columns;
            for (qsizetype c = 0; c < fields; ++c)
                columns << platform::ident(target.at(c));
            into += u" ("_s + columns.join(u", "_s) + u")"_s;
        }
        // OR FAIL: a row that breaks a constraint ends the statement without undoing the rows the
        // statement wrote before it; the transaction's rollback undoes them, so the engine need
        // not keep a statement journal of the pages each insert changes.
        inserts << u"INSERT OR FAIL INTO "_s + into + u" SELECT * FROM "_s + platform::ident(from) + u"."_s
                       + platform::ident(table);
    }

    // Only the written file is locked for writing: its commit is its own, without a super-journal
    // across both files.
    platform::TransactionGuard tx(main, platform::TransactionGuard::WriteLock::AtFirstWrite);
    if (!tx.isActive()) {
        platform::setError(error, tx.errorText());
        return Copy::Failed;
    }
    for (qsizetype i = 0; i < backupTables().size(); ++i) {
        const QString &table = backupTables().at(i);
        if (!platform::execBound(main, u"DELETE FROM "_s + platform::ident(to) + u"."_s + platform::ident(table), {},
                                 &err)
            || !platform::execBound(main, inserts.at(i), {}, &err)) {
            platform::setError(error, u"%1：%2"_s.arg(table, err));
            return Copy::Failed;
        }
    }
    if (!tx.commit()) {
        platform::setError(error, tx.errorText());
        return Copy::Failed;
    }
    return Copy::Done;
}

} // namespace

QString backupTargetPath(const QString &folder, const QString &fileName)
{
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    path += fileName;
    if (!fileName.contains(u'.'))
        path += u".MBK"_s;
    return path;
}

StoreResult BackupStore::backupTo(const QString &targetPath)
{
    m_error.clear();
    const QString templatePath = platform::dataFile(kTemplateFile);
    if (const QFileInfo t(templatePath); !t.isFile() || !t.isReadable()) {
        m_error = u"找不到备份模板文件：%1"_s.arg(QDir::toNativeSeparators(templatePath));
        return StoreResult::TemplateMissing;
    }
    const QFileInfo target(targetPath);
    if (target.isDir() || isProgramDatabase(targetPath)) {
        m_error = u"不能写入此文件：%1"_s.arg(QDir::toNativeSeparators(targetPath));
        return StoreResult::CannotWrite;
    }

    removeStaleBackupTemporaries(target.absolutePath());
    // The copy is filled beside the target, so that the final rename stays on one file system.
    const QString tempPath =
        target.absoluteDir().filePath(u".%1.%2.tmp"_s.arg(target.fileName(), uniqueSuffix()));
    const auto diskFull = [&] {
        m_error = u"磁盘已满，备份无法写入文件夹：%1"_s.arg(QDir::toNativeSeparators(target.absolutePath()));
        return StoreResult::CannotWrite;
    };
    {
        QFile source(templatePath);
        if (!source.open(QIODevice::ReadOnly)) {
            m_error = u"无法读取备份模板文件：%1"_s.arg(QDir::toNativeSeparators(templatePath));
            return StoreResult::TemplateMissing;
        }
        bool full = false;
        if (!platform::writeNewFile(tempPath, source.readAll(), nullptr, &full)) {
            if (full)
                return diskFull();
            m_error = u"不能写入此文件夹：%1"_s.arg(QDir::toNativeSeparators(target.absolutePath()));
            return StoreResult::CannotWrite;
        }
    }
    FileRemover remover{tempPath};

    if (QString err; copyAllTables(mainDb(), tempPath, true, &err) != Copy::Done) {
        if (platform::failedOnFullDisk(err))
            return diskFull();
        m_error = err;
        return StoreResult::CopyFailed;
    }

    QString renameError;
    if (!platform::replaceFile(tempPath, target.absoluteFilePath(), &renameError)) {
        m_error = u"不能写入此文件：%1（%2）"_s.arg(QDir::toNativeSeparators(targetPath), renameError);
        return StoreResult::CannotWrite;
    }
    remover.path.clear();
    return StoreResult::Done;
}

void removeStaleBackupTemporaries(const QString &folder)
{
    // The names backupTo gives its temporary copy, and SQLite's files beside it.
    static const QRegularExpression stale(uR"(^\..+\.[0-9a-f]{12}\.tmp(-journal|-wal|-shm)?$)"_s);
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (stale.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

StoreResult BackupStore::restoreFrom(const QString &sourcePath)
{
    m_error.clear();
    QSqlDatabase main = mainDb();
    if (!main.isOpen()) {
        m_error = u"主数据库未打开"_s;
        return StoreResult::CopyFailed;
    }
    if (platform::sameFile(sourcePath, main.databaseName())) {
        m_error = u"不能从当前数据库本身恢复"_s;
        return StoreResult::CannotOpen;
    }

    switch (copyAllTables(main, sourcePath, false, &m_error)) {
    case Copy::Done:
        break;
    case Copy::NotOpened:
        return StoreResult::CannotOpen;
    case Copy::Failed:
        return StoreResult::CopyFailed;
    }
    return StoreResult::Done;
}

} // namespace app
