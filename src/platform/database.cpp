#include "database.h"

#include "numtext.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlDriver>
#include <QSqlRecord>

#include <cmath>
#include <sqlite3.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
QHash<QString, int> &depths()
{
    static QHash<QString, int> d;
    return d;
}

// Rollbacks of TransactionGuards per connection, for dataStamp.
QHash<QString, qint64> &rollbacks()
{
    static QHash<QString, qint64> r;
    return r;
}

QString notFinite(double v)
{
    return u"数值“%1”超出可保存的范围，没有保存。"_s.arg(generalDouble(v));
}

// The value as the files take it: a text keeps its lone surrogates out (see wellFormedText); a
// number that is not finite is refused, so that no amount or length is stored as infinity.
bool storable(QVariant &v, QString *error)
{
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QString &s = *static_cast<const QString *>(v.constData());
        if (const QString clean = wellFormedText(s); clean.constData() != s.constData())
            v = clean;
        return true;
    }
    case QMetaType::Double:
    case QMetaType::Float:
        if (std::isfinite(v.toDouble()))
            return true;
        if (error)
            *error = notFinite(v.toDouble());
        return false;
    default:
        return true;
    }
}

} // namespace

bool bindAll(QSqlQuery &q, const QVariantList &values, QString *error)
{
    for (int i = 0; i < values.size(); ++i) {
        QVariant v = values.at(i);
        if (!storable(v, error))
            return false;
        q.bindValue(i, v);
    }
    return true;
}


QString wellFormedText(const QString &s)
{
    const qsizetype n = s.size();
    QString out;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = s[i];
        bool lone = false;
        if (c.isHighSurrogate())
            lone = i + 1 >= n || !s[i + 1].isLowSurrogate();
        else if (c.isLowSurrogate())
            lone = i == 0 || !s[i - 1].isHighSurrogate();
        if (!lone)
            continue;
        if (out.isNull())
            out = s;
        out[i] = QChar::ReplacementCharacter;
    }
    return out.isNull() ? s : out;
}

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
    // A large job's bulk write touches more table and index pages than the default 2 MB cache
    // holds; pages spilled in the middle of a transaction are written twice. 16 MB keeps a
    // 5,000-window job's writes in memory.
    q.exec(u"PRAGMA cache_size = -16384"_s);
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
    ++rollbacks()[connectionName]; // a later connection of the name starts from other stamps
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
    if (!bindAll(q, values, error))
        return false;
    if (!q.exec()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (query)
        *query = std::move(q);
    return true;
}

QSqlQuery *PreparedStatements::exec(const QString &sql, const QVariantList &values, QString *error)
{
    auto it = m_queries.find(sql);
    if (it == m_queries.end()) {
        auto q = std::make_unique<QSqlQuery>(m_db);
        q->setForwardOnly(true);
        if (!q->prepare(sql)) {
            if (error)
                *error = q->lastError().text();
            return nullptr;
        }
        it = m_queries.emplace(sql, std::move(q)).first;
    }
    QSqlQuery *q = it->second.get();
    // A read left unfinished must not hold the statement.
    q->finish();
    if (!bindAll(*q, values, error))
        return nullptr;
    if (!q->exec()) {
        if (error)
            *error = q->lastError().text();
        return nullptr;
    }
    return q;
}

struct BulkStatement::Engine
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    // The UTF-8 of each parameter's text, kept until the next row binds over it: the engine reads
    // it in place instead of copying every value.
    std::vector<QByteArray> texts;
};

namespace {
sqlite3 *engineHandle(QSqlDatabase db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

// The UTF-8 of wellFormedText(s) into out, as toUtf8() writes it. Texts without surrogate halves
// are encoded in place, reusing out's room; the rare others go through Qt.
void utf8Into(const QString &s, QByteArray &out)
{
    const qsizetype n = s.size();
    if (out.size() < 3 * n)
        out.resize(3 * n);
    char *d = out.data();
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *d++ = char(u);
        } else if (u < 0x800) {
            *d++ = char(0xc0 | (u >> 6));
            *d++ = char(0x80 | (u & 0x3f));
        } else if (u < 0xd800 || u > 0xdfff) {
            *d++ = char(0xe0 | (u >> 12));
            *d++ = char(0x80 | ((u >> 6) & 0x3f));
            *d++ = char(0x80 | (u & 0x3f));
        } else {
            out = wellFormedText(s).toUtf8();
            return;
        }
    }
    out.truncate(d - out.constData());
}

// The value bound as the Qt driver binds it, after the checks of storable(): texts from `buffer`
// through wellFormedText, a number that is not finite refused into *refused (bound as null).
int bindValue(sqlite3_stmt *st, int index, const QVariant &v, QByteArray &buffer, QString *refused)
{
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(st, index);
    switch (v.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray &b = *static_cast<const QByteArray *>(v.constData());
        if (b.isNull())
            return sqlite3_bind_null(st, index);
        return sqlite3_bind_blob(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(st, index, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (!std::isfinite(v.toDouble())) {
            *refused = notFinite(v.toDouble());
            return sqlite3_bind_null(st, index);
        }
        // As the driver: a float is bound as its text.
        if (v.typeId() == QMetaType::Double)
            return sqlite3_bind_double(st, index, v.toDouble());
        break;
    case QMetaType::QString: {
        const QString &text = *static_cast<const QString *>(v.constData());
        if (text.isNull())
            return sqlite3_bind_null(st, index);
        utf8Into(text, buffer);
        return sqlite3_bind_text(st, index, buffer.constData(), int(buffer.size()), SQLITE_STATIC);
    }
    default:
        break;
    }
    utf8Into(v.toString(), buffer);
    return sqlite3_bind_text(st, index, buffer.constData(), int(buffer.size()), SQLITE_STATIC);
}
} // namespace

BulkStatement::BulkStatement(QSqlDatabase db, const QString &sql)
{
    if (sqlite3 *handle = engineHandle(db)) {
        m_engine = std::make_unique<Engine>();
        m_engine->db = handle;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_engine->stmt, nullptr) != SQLITE_OK) {
            // Every run reports this; values go to the unprepared query meanwhile.
            m_prepareError = QString::fromUtf8(sqlite3_errmsg(handle));
            sqlite3_finalize(m_engine->stmt);
            m_engine.reset();
            return;
        }
        m_engine->texts.resize(sqlite3_bind_parameter_count(m_engine->stmt));
        return;
    }
    m_fallback = QSqlQuery(db);
    if (!m_fallback.prepare(sql))
        m_prepareError = m_fallback.lastError().text();
}

BulkStatement::~BulkStatement()
{
    if (m_engine)
        sqlite3_finalize(m_engine->stmt);
}

void BulkStatement::bound(int rc)
{
    if (rc != SQLITE_OK && m_bindError.isEmpty())
        m_bindError = QString::fromUtf8(sqlite3_errmsg(m_engine->db));
    ++m_next;
}

BulkStatement &BulkStatement::null()
{
    if (!m_engine) {
        m_fallback.bindValue(m_next++, QVariant());
        return *this;
    }
    bound(sqlite3_bind_null(m_engine->stmt, m_next + 1));
    return *this;
}

BulkStatement &BulkStatement::text(const QString &s)
{
    if (s.isNull())
        return null();
    if (!m_engine) {
        m_fallback.bindValue(m_next++, wellFormedText(s));
        return *this;
    }
    if (size_t(m_next) >= m_engine->texts.size()) // beyond the statement's parameters: the engine says so
        return null();
    QByteArray &buffer = m_engine->texts[m_next];
    utf8Into(s, buffer);
    bound(sqlite3_bind_text(m_engine->stmt, m_next + 1, buffer.constData(), int(buffer.size()), SQLITE_STATIC));
    return *this;
}

BulkStatement &BulkStatement::real(double v)
{
    if (!std::isfinite(v) && m_bindError.isEmpty())
        m_bindError = notFinite(v);
    if (!m_engine) {
        m_fallback.bindValue(m_next++, v);
        return *this;
    }
    bound(sqlite3_bind_double(m_engine->stmt, m_next + 1, v));
    return *this;
}

BulkStatement &BulkStatement::integer(qint64 v)
{
    if (!m_engine) {
        m_fallback.bindValue(m_next++, v);
        return *this;
    }
    bound(sqlite3_bind_int64(m_engine->stmt, m_next + 1, v));
    return *this;
}

BulkStatement &BulkStatement::value(const QVariant &v)
{
    QString refused;
    if (!m_engine) {
        // The driver's own choices, after the checks every statement here makes.
        QVariant checked = v;
        if (!storable(checked, &refused) && m_bindError.isEmpty())
            m_bindError = refused;
        m_fallback.bindValue(m_next++, checked);
        return *this;
    }
    if (size_t(m_next) >= m_engine->texts.size()) // beyond the statement's parameters: the engine says so
        return null();
    bound(bindValue(m_engine->stmt, m_next + 1, v, m_engine->texts[m_next], &refused));
    if (!refused.isEmpty() && m_bindError.isEmpty())
        m_bindError = refused;
    return *this;
}

bool BulkStatement::run(QString *error)
{
    auto failed = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    m_next = 0;
    if (!m_prepareError.isEmpty())
        return failed(m_prepareError);
    if (!m_bindError.isEmpty())
        return failed(std::exchange(m_bindError, QString()));
    if (!m_engine)
        return m_fallback.exec() || failed(m_fallback.lastError().text());
    sqlite3_stmt *st = m_engine->stmt;
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const QString text = QString::fromUtf8(sqlite3_errmsg(m_engine->db));
        sqlite3_reset(st);
        return failed(text);
    }
    sqlite3_reset(st);
    return true;
}

namespace {
// A text field's UTF-8 as UTF-16 into out, when the engine's own translation (what the Qt driver
// reads) gives the same: well-formed UTF-8 decodes alike both ways, except U+FFFE and U+FFFF,
// which the engine turns into U+FFFD. False for those and for every ill-formed sequence, whose
// translation is left to the engine.
bool decodeLikeEngine(const unsigned char *s, qsizetype n, QString &out)
{
    // Never null, as the driver's texts are not: an empty field is an empty text.
    if (n == 0) {
        out = QString(u""_s);
        return true;
    }
    out = QString(n, Qt::Uninitialized);
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    qsizetype i = 0;
    auto cont = [&](qsizetype at) { return at < n && (s[at] & 0xc0) == 0x80; };
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            *d++ = c;
            ++i;
        } else if (c >= 0xc2 && c <= 0xdf && cont(i + 1)) {
            *d++ = char16_t(((c & 0x1f) << 6) | (s[i + 1] & 0x3f));
            i += 2;
        } else if (c >= 0xe0 && c <= 0xef && cont(i + 1) && cont(i + 2)) {
            const char32_t u = ((c & 0x0f) << 12) | ((s[i + 1] & 0x3f) << 6) | (s[i + 2] & 0x3f);
            if (u < 0x800 || (u >= 0xd800 && u <= 0xdfff) || u >= 0xfffe)
                return false;
            *d++ = char16_t(u);
            i += 3;
        } else if (c >= 0xf0 && c <= 0xf4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            const char32_t u = ((c & 0x07) << 18) | ((s[i + 1] & 0x3f) << 12) | ((s[i + 2] & 0x3f) << 6)
                | (s[i + 3] & 0x3f);
            if (u < 0x10000 || u > 0x10ffff)
                return false;
            *d++ = QChar::highSurrogate(u);
            *d++ = QChar::lowSurrogate(u);
            i += 4;
        } else {
            return false;
        }
    }
    out.truncate(d - reinterpret_cast<const char16_t *>(out.constData()));
    return true;
}
} // namespace

struct RowReader::Engine
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    std::vector<QByteArray> texts; // bound texts, as in BulkStatement
    std::vector<Field> types;      // of the current row, taken before any conversion
};

RowReader::RowReader(QSqlDatabase db, const QString &sql, const QVariantList &values)
{
    sqlite3 *handle = engineHandle(db);
    if (!handle) {
        m_error = u"连接没有数据库引擎句柄"_s;
        return;
    }
    auto engine = std::make_unique<Engine>();
    engine->db = handle;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &engine->stmt, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(engine->stmt);
        return;
    }
    engine->types.resize(sqlite3_column_count(engine->stmt));
    m_engine = std::move(engine);
    if (!bind(values)) {
        sqlite3_finalize(m_engine->stmt);
        m_engine.reset();
    }
}

bool RowReader::bind(const QVariantList &values)
{
    Engine &e = *m_engine;
    e.texts.resize(values.size());
    for (int i = 0; i < values.size(); ++i) {
        QString refused;
        const int rc = bindValue(e.stmt, i + 1, values.at(i), e.texts[i], &refused);
        if (!refused.isEmpty() || rc != SQLITE_OK) {
            m_error = refused.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(e.db)) : refused;
            return false;
        }
    }
    return true;
}

bool RowReader::rerun(const QVariantList &values)
{
    if (!m_engine)
        return false;
    m_error.clear();
    sqlite3_reset(m_engine->stmt);
    sqlite3_clear_bindings(m_engine->stmt);
    if (bind(values))
        return true;
    sqlite3_finalize(m_engine->stmt);
    m_engine.reset();
    return false;
}

RowReader::~RowReader()
{
    if (m_engine)
        sqlite3_finalize(m_engine->stmt);
}

bool RowReader::next()
{
    if (!m_engine)
        return false;
    sqlite3_stmt *st = m_engine->stmt;
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < int(m_engine->types.size()); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER: m_engine->types[i] = Field::Integer; break;
            case SQLITE_FLOAT: m_engine->types[i] = Field::Real; break;
            case SQLITE_BLOB: m_engine->types[i] = Field::Blob; break;
            case SQLITE_NULL: m_engine->types[i] = Field::Null; break;
            default: m_engine->types[i] = Field::Text; break;
            }
        }
        return true;
    }
    if (rc != SQLITE_DONE)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_engine->db));
    // A finished read holds no lock.
    sqlite3_reset(st);
    return false;
}

int RowReader::columnCount() const
{
    return m_engine ? int(m_engine->types.size()) : 0;
}

RowReader::Field RowReader::type(int column) const
{
    return m_engine->types[column];
}

double RowReader::real(int column) const
{
    return sqlite3_column_double(m_engine->stmt, column);
}

QByteArrayView RowReader::utf8(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_engine->stmt, column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_engine->stmt, column));
}

QString RowReader::text(int column) const
{
    sqlite3_stmt *st = m_engine->stmt;
    const auto *bytes = sqlite3_column_text(st, column);
    QString out;
    if (decodeLikeEngine(bytes, sqlite3_column_bytes(st, column), out))
        return out;
    return QString(reinterpret_cast<const QChar *>(sqlite3_column_text16(st, column)),
                   sqlite3_column_bytes16(st, column) / qsizetype(sizeof(QChar)));
}

QVariant RowReader::value(int column) const
{
    sqlite3_stmt *st = m_engine->stmt;
    switch (type(column)) {
    case Field::Integer:
        return QVariant(qint64(sqlite3_column_int64(st, column)));
    case Field::Real:
        return QVariant(sqlite3_column_double(st, column));
    case Field::Blob:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, column)),
                                   sqlite3_column_bytes(st, column)));
    case Field::Null:
        return QVariant(QMetaType::fromType<QString>());
    case Field::Text:
        break;
    }
    return QVariant(text(column));
}

bool BulkStatement::exec(const QVariantList &values, QString *error)
{
    for (const QVariant &v : values)
        value(v);
    return run(error);
}

std::optional<QStringList> dropIndexes(QSqlDatabase db, const QString &table, QString *error)
{
    QSqlQuery q(db);
    if (!execBound(db, u"SELECT \"name\", \"sql\" FROM \"sqlite_master\" WHERE \"type\" = 'index' AND \"tbl_name\" = ? "
                       "AND \"sql\" IS NOT NULL ORDER BY rowid"_s,
                   {table}, error, &q))
        return std::nullopt;
    QStringList names, statements;
    while (q.next()) {
        names << q.value(0).toString();
        statements << q.value(1).toString();
    }
    q.finish();
    for (const QString &name : std::as_const(names))
        if (!execBound(db, u"DROP INDEX "_s + ident(name), {}, error))
            return std::nullopt;
    return statements;
}

bool createIndexes(QSqlDatabase db, const QStringList &statements, QString *error)
{
    for (const QString &sql : statements)
        if (!execBound(db, sql, {}, error))
            return false;
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

QVariant numberParam(const QString &text)
{
    const double v = val(text);
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9e15)
        return QVariant(qint64(v));
    return QVariant(v);
}

QString ident(const QString &name)
{
    QString n = name;
    n.replace(u'"', u"\"\""_s);
    return u'"' + n + u'"';
}

TransactionGuard::TransactionGuard(QSqlDatabase db, WriteLock lock) : m_db(db)
{
    int &depth = depths()[db.connectionName()];
    QSqlQuery q(m_db);
    if (depth == 0) {
        m_active = q.exec(lock == WriteLock::AtStart ? u"BEGIN IMMEDIATE"_s : u"BEGIN DEFERRED"_s);
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
    ++rollbacks()[m_db.connectionName()];
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

DataStamp dataStamp(QSqlDatabase db)
{
    sqlite3 *handle = engineHandle(db);
    if (!handle)
        return {};
    DataStamp stamp;
    stamp.handle = handle;
    stamp.changes = sqlite3_total_changes64(handle);
    // Asked inside a write too: a stamp kept from one transaction is compared in a later one, and
    // another connection may have committed in between.
    QSqlQuery q(db);
    if (q.exec(u"PRAGMA data_version"_s) && q.next())
        stamp.otherCommits = q.value(0).toLongLong();
    stamp.rollbacks = rollbacks().value(db.connectionName());
    return stamp;
}

bool failedOnFullDisk(const QString &error)
{
    // The engine reports a write that found no room (ENOSPC) as SQLITE_FULL.
    return error.contains(QString::fromUtf8(sqlite3_errstr(SQLITE_FULL)));
}

} // namespace platform
