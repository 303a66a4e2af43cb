#include "import.h"

#include "cpictire.h"
#include "store.h"

#include "app/maindb.h"
#include "platform/database.h"
#include "platform/settings.h"

#include <QDir>
#include <algorithm>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {
const QString kOldConn = u"DrawingImportOld"_s;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

const QStringList &importTables()
{
    static const QStringList t = {u"标注"_s,   u"窗板材"_s,   u"窗配件"_s,   u"窗型钢"_s, u"窗型材"_s, u"工程"_s,
                                  u"工程门窗"_s, u"玻璃"_s,     u"材料厂家"_s, u"门窗"_s,   u"门窗厂家"_s, u"门窗系列"_s,
                                  u"配件"_s,   u"型钢"_s,     u"型材"_s,     u"型材系列"_s};
    return t;
}

QString pictureFolder()
{
    return platform::SettingsStore::get(u"TANDRIKE"_s, u"PICTUREPATH"_s,
                                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString resolveDrawingFile(const QString &stored, const QStringList &searchFolders)
{
    if (stored.trimmed().isEmpty())
        return {};
    if (QFileInfo(stored).isFile())
        return stored;
    // Paths written on another system: look for the bare name, in any case.
    QString name = stored.trimmed();
    name = name.mid(std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/')) + 1);
    if (name.isEmpty())
        return {};
    QStringList folders = searchFolders;
    folders << pictureFolder();
    for (const QString &folder : std::as_const(folders)) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        if (dir.exists(name))
            return dir.filePath(name);
        const QStringList files = dir.entryList(QDir::Files);
        for (const QString &f : files)
            if (f.compare(name, Qt::CaseInsensitive) == 0)
                return dir.filePath(f);
    }
    return {};
}

bool ResetDrawingTables(QString *error, const QStringList &searchFolders)
{
    DrawingStore store;
    platform::TransactionGuard guard(store.db());
    if (!guard.isActive())
        return fail(error, guard.errorText());
    QList<TypeDrawingRow> types;
    if (!store.emptyLibrary() || !store.typeRows(&types))
        return fail(error, store.lastError());
    qint64 n = 1;
    for (const TypeDrawingRow &type : std::as_const(types)) {
        if (!store.setTypeDrawingNumber(type.rowid, n) || !store.insertIndex(n, type.name))
            return fail(error, store.lastError());
        CPictire engine;
        const QString file = resolveDrawingFile(type.file, searchFolders);
        if (!file.isEmpty())
            engine.Open_File(file); // an unreadable file leaves the drawing empty
        if (!store.save(n, engine.lists()))
            return fail(error, store.lastError());
        ++n;
    }
    if (!guard.commit())
        return fail(error, guard.errorText());
    return true;
}

ImportStatus ImportOldDatabase(const QString &path, QString *error)
{
    if (app::isProgramDatabase(path)) {
        fail(error, u"不能导入程序自己的数据库"_s);
        return ImportStatus::OwnDatabase;
    }
    QList<TableCopy> copies;
    {
        QString err;
        if (!platform::openSqlite(kOldConn, path, &err)) {
            fail(error, err);
            return ImportStatus::CannotOpen;
        }
        bool read = false;
        { // the store lets go of the connection before it is closed
            const DrawingStore old(QSqlDatabase::database(kOldConn, false));
            read = old.readTables(importTables(), &copies);
            err = old.lastError();
        }
        platform::closeConnection(kOldConn);
        if (!read) {
            fail(error, err);
            return ImportStatus::CannotOpen;
        }
    }
    if (std::none_of(copies.cbegin(), copies.cend(), [](const TableCopy &c) { return c.present; })) {
        fail(error, u"文件中没有可导入的数据表"_s);
        return ImportStatus::CannotOpen;
    }

    DrawingStore store;
    platform::TransactionGuard guard(store.db());
    if (!guard.isActive()) {
        fail(error, guard.errorText());
        return ImportStatus::Failed;
    }
    if (!store.replaceTables(copies)) {
        fail(error, store.lastError());
        return ImportStatus::Failed;
    }
    if (!ResetDrawingTables(error, {QFileInfo(path).absolutePath()}))
        return ImportStatus::Failed;
    if (!guard.commit()) {
        fail(error, guard.errorText());
        return ImportStatus::Failed;
    }
    return ImportStatus::Done;
}

} // namespace drawing
