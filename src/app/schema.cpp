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

bool ensureDataFolder(QString *error, bool *created)
{
    if (created)
        *created = false;
    const QString folder = platform::dataFolder();
    if (QFileInfo::exists(folder))
        return true;
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = u"无法创建数据文件夹：%1"_s.arg(folder);
        return false;
    }
    if (!createDatabaseFile(platform::dataFile(kMainFile), kMainFile, error)
        || !createDatabaseFile(platform::dataFile(kWarehouseFile), kWarehouseFile, error)
        || !createDatabaseFile(platform::dataFile(kTemplateFile), kMainFile, error, backupTables())
        || !createDatabaseFile(platform::dataFile(kUserFile), kUserFile, error))
        return false;

    const QString conn = u"first-start"_s;
    if (!platform::openSqlite(conn, platform::dataFile(kUserFile), error))
        return false;
    const bool ok = platform::execBound(QSqlDatabase::database(conn, false),
                                        u"INSERT INTO \"User\" VALUES (?, ?, ?)"_s,
                                        {u"Admin"_s, KeyEncBuf(u"admin"_s, kPasswordKey), u"111111111111"_s},
                                        error);
    platform::closeConnection(conn);
    if (ok && created)
        *created = true;
    return ok;
}

} // namespace app
