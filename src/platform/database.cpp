#include "database.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
QHash<QString, int> &depths()
{
    static QHash<QString, int> d;
    return d;
}
} // namespace

bool openSqlite(const QString &connectionName, const QString &path, QString *error, bool create)
{
    closeConnection(connectionName);
    if (!create && !QFileInfo::exists(path)) {
        if (error)
            *error = u"文件不存在：%1"_s.arg(path);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        return false;
    }
    QSqlQuery q(db);
    // A file that is not a database only fails on first use: touch the schema now.
    if (!q.exec(u"PRAGMA schema_version"_s)) {
        if (error)
            *error = q.lastError().text();
        q = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        return false;
    }
    q.exec(u"PRAGMA foreign_keys = OFF"_s);
    return true;
}

void closeConnection(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    depths().remove(connectionName);
}

bool execBound(QSqlDatabase db, const QString &sql, const QVariantList &values, QString *error,
               QSqlQuery *query)
{
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (query)
        *query = std::move(q);
    return true;
}

bool execScript(QSqlDatabase db, const QString &script, QString *error)
{
    QString statement;
    const QStringList lines = script.split(u'\n');
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u"--"))
            continue;
        statement += raw + u'\n';
        if (line.endsWith(u';')) {
            QSqlQuery q(db);
            if (!q.exec(statement)) {
                if (error)
                    *error = q.lastError().text() + u": "_s + statement.trimmed();
                return false;
            }
            statement.clear();
        }
    }
    return true;
}

QStringList tableNames(QSqlDatabase db)
{
    QStringList names;
    QSqlQuery q(db);
    if (q.exec(u"SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid"_s))
        while (q.next())
            names << q.value(0).toString();
    return names;
}

QStringList columnNames(QSqlDatabase db, const QString &table)
{
    QStringList names;
    const QSqlRecord rec = db.record(table);
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    return names;
}

bool preparePositionalInsert(QSqlDatabase db, const QString &table, int fieldCount, QSqlQuery *query,
                             QString *error)
{
    const QStringList columns = columnNames(db, table);
    if (columns.isEmpty()) {
        if (error)
            *error = u"目标中没有表“%1”"_s.arg(table);
        return false;
    }
    if (fieldCount > columns.size()) {
        if (error)
            *error = u"表“%1”：来源有 %2 列，目标只有 %3 列"_s.arg(table).arg(fieldCount).arg(columns.size());
        return false;
    }
    QStringList names, marks;
    for (int i = 0; i < fieldCount; ++i) {
        names << ident(columns.at(i));
        marks << u"?"_s;
    }
    *query = QSqlQuery(db);
    if (!query->prepare(u"INSERT INTO "_s + ident(table) + u" ("_s + names.join(u", "_s) + u") VALUES ("_s
                        + marks.join(u", "_s) + u")"_s)) {
        if (error)
            *error = query->lastError().text();
        return false;
    }
    return true;
}

QString ident(const QString &name)
{
    QString n = name;
    n.replace(u'"', u"\"\""_s);
    return u'"' + n + u'"';
}

TransactionGuard::TransactionGuard(QSqlDatabase db) : m_db(db)
{
    int &depth = depths()[db.connectionName()];
    QSqlQuery q(m_db);
    if (depth == 0) {
        m_active = q.exec(u"BEGIN IMMEDIATE"_s);
    } else {
        m_savepoint = u"sp%1"_s.arg(depth);
        m_active = q.exec(u"SAVEPOINT "_s + m_savepoint);
    }
    if (m_active)
        ++depth;
    else
        m_error = q.lastError().text();
}

TransactionGuard::~TransactionGuard()
{
    if (!m_active)
        return;
    QSqlQuery q(m_db);
    if (m_savepoint.isEmpty()) {
        q.exec(u"ROLLBACK"_s);
    } else {
        q.exec(u"ROLLBACK TO "_s + m_savepoint);
        q.exec(u"RELEASE "_s + m_savepoint);
    }
    --depths()[m_db.connectionName()];
}

bool TransactionGuard::commit()
{
    if (!m_active)
        return false;
    QSqlQuery q(m_db);
    const bool ok = q.exec(m_savepoint.isEmpty() ? u"COMMIT"_s : u"RELEASE "_s + m_savepoint);
    if (!ok) {
        m_error = q.lastError().text();
        return false; // the destructor rolls back
    }
    m_active = false;
    --depths()[m_db.connectionName()];
    return true;
}

} // namespace platform
