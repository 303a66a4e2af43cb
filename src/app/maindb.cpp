#include "maindb.h"

#include "schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/numtext.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace app {

QSqlDatabase mainDb() { return QSqlDatabase::database(kMainConn, false); }

OpenStatus OpenMainDatabase(QString *path, QString *error)
{
    const QString file = platform::dataFile(kMainFile);
    if (path)
        *path = file;
    platform::closeConnection(kMainConn);
    if (!QFileInfo::exists(file))
        return OpenStatus::Missing;
    if (!platform::openSqlite(kMainConn, file, error))
        return OpenStatus::Failed;
    if (!applySchema(mainDb(), kMainFile, error)) {
        platform::closeConnection(kMainConn);
        return OpenStatus::Failed;
    }
    return OpenStatus::Opened;
}

bool isProgramDatabase(const QString &path)
{
    for (const QString &name : {kMainFile, kWarehouseFile, kUserFile, kTemplateFile})
        if (platform::sameFile(path, platform::dataFile(name)))
            return true;
    return mainDb().isValid() && platform::sameFile(path, mainDb().databaseName());
}

std::optional<qint64> GetNextId(const QString &table, QString *error)
{
    return GetNextId(mainDb(), table, error);
}

std::optional<qint64> GetNextId(QSqlDatabase db, const QString &table, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(u"SELECT max(\"编号\") FROM "_s + platform::ident(table)) || !q.next()) {
        if (error)
            *error = q.lastError().text();
        return std::nullopt;
    }
    const QVariant v = q.value(0);
    if (v.isNull())
        return 1;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (!ok || n >= std::numeric_limits<qint32>::max()) {
        if (error)
            *error = u"编号已超出范围"_s;
        return std::nullopt;
    }
    return n + 1;
}

QString JoinTrimmed(const QString &a, const QString &b) { return a.trimmed() + b.trimmed(); }
QString FirstChar(const QString &s) { return s.left(1); }
QString AfterFirstChar(const QString &s) { return s.mid(1); }

QString fieldText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return platform::generalDouble(value.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    default:
        return value.toString();
    }
}

namespace {
constexpr int kRecordFields = 16;

// The current row's columns laid over `row` by position; with `nullKeeps`, a null leaves its element.
QStringList overlayRow(const QSqlQuery &q, QStringList row, bool nullKeeps)
{
    const int count = std::min(q.record().count(), kRecordFields);
    if (row.size() < count)
        row.resize(count);
    for (int i = 0; i < count; ++i)
        if (!nullKeeps || !q.value(i).isNull())
            row[i] = fieldText(q.value(i));
    return row;
}
} // namespace

std::optional<QStringList> LoadRecordById(const QString &table, qint64 id, const QStringList &previous,
                                          QString *error)
{
    QSqlQuery q(mainDb());
    if (!platform::execBound(mainDb(), u"SELECT * FROM "_s + platform::ident(table) + u" WHERE \"编号\" = ?"_s,
                             {id}, error, &q))
        return std::nullopt;
    if (!q.next()) {
        if (error)
            *error = u"记录不存在"_s;
        return std::nullopt;
    }
    return overlayRow(q, previous, false);
}

std::optional<QStringList> LoadRecordByField(const QString &table, const QString &column, const QVariant &value,
                                             const QStringList &previous)
{
    QSqlQuery q(mainDb());
    if (!platform::execBound(mainDb(),
                             u"SELECT * FROM "_s + platform::ident(table) + u" WHERE "_s + platform::ident(column)
                                 + u" = ?"_s,
                             {value}, nullptr, &q)
        || !q.next())
        return std::nullopt;
    return overlayRow(q, previous, true);
}

std::optional<bool> RecordExists(const QString &table, const QString &column, const QVariant &value, QString *error)
{
    QSqlQuery q(mainDb());
    if (!platform::execBound(mainDb(),
                             u"SELECT 1 FROM "_s + platform::ident(table) + u" WHERE "_s + platform::ident(column)
                                 + u" = ? LIMIT 1"_s,
                             {value}, error, &q))
        return std::nullopt;
    return q.next();
}

} // namespace app
