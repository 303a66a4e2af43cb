#include "schema.h"

#include "cipher.h"
#include "platform/database.h"
#include "platform/datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>

using namespace Qt::StringLiterals;

// Resources of a static library are only linked in when initialised explicitly.
static void initAppResources() { Q_INIT_RESOURCE(app); }

namespace app {

void initResources() { initAppResources(); }

namespace {
QString schemaText()
{
    static const QString text = [] {
        initResources();
        QFile f(u":/app/schema.sql"_s);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }();
    return text;
}

QString statementTable(const QString &statement)
{
    static const QRegularExpression re(
        uR"re((?:CREATE\s+TABLE(?:\s+IF\s+NOT\s+EXISTS)?|\sON)\s+"([^"]+)")re"_s,
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}
} // namespace

QString schemaScript(const QString &file, const QStringList &onlyTables)
{
    QString out, statement;
    bool inSection = false;
    const QStringList lines = schemaText().split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u"-- database:")) {
            inSection = line.mid(12).trimmed().compare(file, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.isEmpty() || line.startsWith(u"--"))
            continue;
        statement += raw + u'\n';
        if (line.endsWith(u';')) {
            if (onlyTables.isEmpty() || onlyTables.contains(statementTable(statement), Qt::CaseInsensitive))
                out += statement;
            statement.clear();
        }
    }
    return out;
}

bool applySchema(QSqlDatabase db, const QString &file, QString *error, const QStringList &onlyTables)
{
    platform::TransactionGuard tx(db);
    if (!platform::execScript(db, schemaScript(file, onlyTables), error))
        return false;
    if (!tx.commit()) {
        if (error)
            *error = tx.errorText();
        return false;
    }
    return true;
}

bool createDatabaseFile(const QString &path, const QString &file, QString *error, const QStringList &onlyTables)
{
    const QString conn = u"create-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!platform::openSqlite(conn, path, error, true))
        return false;
    const bool ok = applySchema(QSqlDatabase::database(conn, false), file, error, onlyTables);
    platform::closeConnection(conn);
    return ok;
}

const QStringList &backupTables()
{
    static const QStringList tables = {
        u"arc"_s,  u"Arrow"_s,   u"Dim"_s,   u"Line"_s,     u"Rectangle"_s, u"Strings"_s, u"标注"_s,
        u"标注2"_s, u"玻璃"_s,    u"材料厂家"_s, u"窗板材"_s,    u"窗配件"_s,      u"窗型钢"_s,   u"工程"_s,
        u"工程合同"_s, u"工程门窗"_s, u"门窗"_s,   u"门窗厂家"_s,  u"门窗系列"_s,    u"配件"_s,     u"图"_s,
        u"型材"_s,  u"型材系列"_s, u"型钢"_s,   u"窗型材"_s,
    };
    return tables;
}

QString BackupTableName(int index)
{
    return index >= 1 && index <= backupTables().size() ? backupTables().at(index - 1) : QString();
}

namespace {

// A file a start must build: missing, zero-length, or without any table (a creation that died
// before its first commit). A file that cannot be read as a database is left alone: it may hold
// data, and opening it later reports the fault.
bool needsBuilding(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile())
        return false;
    if (info.size() == 0)
        return true;
    const QString conn = u"check-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString err;
    if (!platform::openSqlite(conn, path, &err))
        return false;
    const bool empty = platform::tableNames(QSqlDatabase::database(conn, false)).isEmpty();
    platform::closeConnection(conn);
    return empty;
}

void removeJournals(const QString &path)
{
    for (const QString &suffix : {u"-journal"_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
}

bool addAdmin(const QString &path, QString *error)
{
    const QString conn = u"first-start"_s;
    if (!platform::openSqlite(conn, path, error))
        return false;
    const bool ok = platform::execBound(QSqlDatabase::database(conn, false),
                                        u"INSERT INTO \"User\" VALUES (?, ?, ?)"_s,
                                        {u"Admin"_s, KeyEncBuf(u"admin"_s, kPasswordKey), u"111111111111"_s},
                                        error);
    platform::closeConnection(conn);
    return ok;
}

// The file is built under a temporary name and moved into place only when complete, so that a
// start that dies here leaves nothing half-made under the real name.
bool buildDataFile(const QString &name, const QString &section, const QStringList &onlyTables, bool withAdmin,
                   QString *error)
{
    const QString target = platform::dataFile(name);
    const QString temp = target + u".new"_s;
    QFile::remove(temp); // left by a start that died here
    removeJournals(temp);
    bool ok = createDatabaseFile(temp, section, error, onlyTables) && (!withAdmin || addAdmin(temp, error));
    if (ok) {
        // A journal of the empty file must not be played back into the new one.
        removeJournals(target);
        ok = platform::replaceFile(temp, target, error);
    }
    if (!ok) {
        QFile::remove(temp);
        removeJournals(temp);
    }
    return ok;
}

} // namespace

bool ensureDataFolder(QString *error, bool *created)
{
    if (created)
        *created = false;
    const QString folder = platform::dataFolder();
    const bool existed = QFileInfo::exists(folder);
    if (!existed && !QDir().mkpath(folder)) {
        if (error)
            *error = u"无法创建数据文件夹：%1"_s.arg(folder);
        return false;
    }
    struct DataFile
    {
        QString name, section;
        QStringList onlyTables;
        bool withAdmin;
    };
    const DataFile files[] = {
        {kMainFile, kMainFile, {}, false},
        {kWarehouseFile, kWarehouseFile, {}, false},
        {kTemplateFile, kMainFile, backupTables(), false},
        {kUserFile, kUserFile, {}, true},
    };
    for (const DataFile &f : files) {
        if (needsBuilding(platform::dataFile(f.name))
            && !buildDataFile(f.name, f.section, f.onlyTables, f.withAdmin, error)) {
            if (error)
                *error = u"无法创建数据库文件 %1：%2"_s.arg(platform::dataFile(f.name), *error);
            return false;
        }
    }
    if (created)
        *created = !existed;
    return true;
}

} // namespace app
