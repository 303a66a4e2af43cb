#include "backupstore.h"

#include "maindb.h"
#include "schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/filewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

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

// Closes a connection on scope exit, after every query on it is gone.
struct ConnectionCloser
{
    QString name;
    ~ConnectionCloser() { close(); }
    void close() { platform::closeConnection(name); }
};

// Column names of a table of an attached database, in stored order.
QStringList attachedColumns(QSqlDatabase db, const QString &schema, const QString &table)
{
    QStringList names;
    QSqlQuery q(db);
    if (q.exec(u"PRAGMA "_s + platform::ident(schema) + u".table_info("_s + platform::ident(table) + u")"_s))
        while (q.next())
            names << q.value(1).toString();
    return names;
}

const QString kOther = u"backupfile"_s;

// Empties each backup table on one side and refills it from the other, by position, inside the
// engine: the file at `otherPath` is attached to the main connection, and everything happens in
// one transaction there. Source field i goes to target column i; a source with more columns than
// the target fails, fewer leave the rest null.
bool copyAllTables(QSqlDatabase main, const QString &otherPath, bool toOther, QString *error)
{
    QString err;
    if (!platform::execBound(main, u"ATTACH DATABASE ? AS "_s + platform::ident(kOther), {otherPath}, &err)) {
        platform::setError(error, err);
        return false;
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

    platform::TransactionGuard tx(main);
    if (!tx.isActive()) {
        platform::setError(error, tx.errorText());
        return false;
    }
    const QString from = toOther ? u"main"_s : kOther;
    const QString to = toOther ? kOther : u"main"_s;
    for (int i = 1; i <= int(backupTables().size()); ++i) {
        const QString table = BackupTableName(i);
        const QStringList target = attachedColumns(main, to, table);
        const qsizetype fields = attachedColumns(main, from, table).size();
        if (target.isEmpty() || fields == 0) {
            platform::setError(error, u"%1：%2"_s.arg(table, u"目标中没有表“%1”"_s.arg(table)));
            return false;
        }
        if (fields > target.size()) {
            platform::setError(error, u"%1：%2"_s.arg(table, u"表“%1”：来源有 %2 列，目标只有 %3 列"_s.arg(table).arg(fields)
                                                      .arg(target.size())));
            return false;
        }
        QStringList columns;
        for (qsizetype c = 0; c < fields; ++c)
            columns << platform::ident(target.at(c));
        const QString into = platform::ident(to) + u"."_s + platform::ident(table);
        if (!platform::execBound(main, u"DELETE FROM "_s + into, {}, &err)
            || !platform::execBound(main, u"INSERT INTO "_s + into + u" ("_s + columns.join(u", "_s) + u") SELECT * FROM "_s
                                              + platform::ident(from) + u"."_s + platform::ident(table),
                                    {}, &err)) {
            platform::setError(error, u"%1：%2"_s.arg(table, err));
            return false;
        }
    }
    if (!tx.commit()) {
        platform::setError(error, tx.errorText());
        return false;
    }
    return true;
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

    {
        // The copy must be a database before it is attached and written.
        ConnectionCloser closer{u"backup-"_s + uniqueSuffix()};
        QString err;
        if (!platform::openSqlite(closer.name, tempPath, &err)) {
            m_error = err;
            return StoreResult::CopyFailed;
        }
    }
    if (QString err; !copyAllTables(mainDb(), tempPath, true, &err)) {
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

    ConnectionCloser closer{u"restore-"_s + uniqueSuffix()};
    QString err;
    if (!platform::openSqlite(closer.name, sourcePath, &err)) {
        m_error = err;
        return StoreResult::CannotOpen;
    }
    QSqlDatabase source = QSqlDatabase::database(closer.name, false);

    // Everything is checked before the first row of the main database changes.
    for (const QString &table : backupTables()) {
        const qsizetype have = platform::columnNames(source, table).size();
        const qsizetype want = platform::columnNames(main, table).size();
        if (have == 0) {
            m_error = u"备份文件中没有表 %1"_s.arg(table);
            return StoreResult::CopyFailed;
        }
        if (have > want) {
            m_error = u"%1：备份文件有 %2 列，数据库只有 %3 列"_s.arg(table).arg(have).arg(want);
            return StoreResult::CopyFailed;
        }
    }
    source = QSqlDatabase();
    closer.close();
    if (!copyAllTables(main, sourcePath, false, &err)) {
        m_error = err;
        return StoreResult::CopyFailed;
    }
    return StoreResult::Done;
}

} // namespace app
