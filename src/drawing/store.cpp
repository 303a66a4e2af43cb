#include "store.h"

#include "app/maindb.h"
#include "platform/database.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

// Entity tables in the order of loading; the same order as the library's deletes.
const QStringList kEntityTables = {u"Line"_s, u"Rectangle"_s, u"Arrow"_s, u"Dim"_s, u"Strings"_s, u"Arc"_s};

bool fail(QString *error, const QString &text)
{
    platform::setError(error, text);
    return false;
}

bool fail(QString *error, const QSqlQuery &q) { return fail(error, q.lastError().text()); }

// A coordinate as stored: a number, never null.
bool coordinate(const QSqlQuery &q, int column, float *out)
{
    const QVariant v = q.value(column);
    if (v.isNull())
        return false;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        return false;
    *out = float(d);
    return true;
}

bool readPoints(const QSqlQuery &q, int count, DrawPoint *pts)
{
    for (int i = 0; i < count; ++i)
        if (!coordinate(q, 2 * i, &pts[i].X) || !coordinate(q, 2 * i + 1, &pts[i].Y))
            return false;
    return true;
}

QVariant single(float v) { return QVariant(double(v)); }

} // namespace

DrawingStore::DrawingStore() : DrawingStore(app::mainDb()) {}
DrawingStore::DrawingStore(QSqlDatabase db) : m_db(db), m_reads(std::make_shared<platform::PreparedStatements>(m_db))
{
}

bool DrawingStore::load(qint64 number, LibraryRows *rows) const
{
    LibraryRows out;
    const QList<std::pair<QString, QString>> selects = {
        {u"Line"_s, u"SELECT x1, y1, x2, y2 FROM \"Line\" WHERE Bn = ? ORDER BY rowid"_s},
        {u"Rectangle"_s, u"SELECT x1, y1, x2, y2 FROM \"Rectangle\" WHERE Bn = ? ORDER BY rowid"_s},
        {u"Arrow"_s, u"SELECT x1, y1, x2, y2 FROM \"Arrow\" WHERE Bn = ? ORDER BY rowid"_s},
        {u"Dim"_s, u"SELECT x1, y1, x2, y2, x3, y3 FROM \"Dim\" WHERE Bn = ? ORDER BY rowid"_s},
        {u"Strings"_s, u"SELECT X1, Y1, Chars FROM \"Strings\" WHERE Bn = ? ORDER BY rowid"_s},
        {u"Arc"_s, u"SELECT x1, y1, x2, y2, x3, y3 FROM \"Arc\" WHERE Bn = ? ORDER BY rowid"_s},
    };
    for (const auto &[table, sql] : selects) {
        QString error;
        QSqlQuery *read = m_reads->exec(sql, {number}, &error);
        if (!read)
            return fail(&m_error, error);
        QSqlQuery &q = *read;
        while (q.next()) {
            DrawPoint p[3];
            bool ok = true;
            if (table == u"Strings") {
                ok = readPoints(q, 1, p);
                if (ok)
                    out.texts.append({p[0], q.value(2).toString()});
            } else if (table == u"Dim" || table == u"Arc") {
                ok = readPoints(q, 3, p);
                if (ok)
                    (table == u"Dim" ? out.dims : out.arcs).append({p[0], p[1], p[2]});
            } else {
                ok = readPoints(q, 2, p);
                if (ok)
                    (table == u"Line" ? out.lines : table == u"Rectangle" ? out.recs : out.dirs).append({p[0], p[1]});
            }
            if (!ok) {
                q.finish();
                return fail(&m_error, u"图形 %1 的 %2 表中有无效的坐标"_s.arg(number).arg(table));
            }
        }
    }
    *rows = std::move(out);
    return true;
}

bool DrawingStore::deleteEntities(qint64 number)
{
    for (const QString &table : kEntityTables)
        if (!platform::execBound(m_db, u"DELETE FROM "_s + platform::ident(table) + u" WHERE Bn = ?"_s, {number},
                                 &m_error))
            return false;
    return true;
}

bool DrawingStore::writeEntities(qint64 number, const DrawingLists &l)
{
    auto insertTwo = [&](const QString &table, const auto &arr, qint16 last) {
        if (last < 0)
            return true;
        QSqlQuery q(m_db);
        if (!q.prepare(u"INSERT INTO "_s + platform::ident(table) + u" (x1, y1, x2, y2, Bn) VALUES (?, ?, ?, ?, ?)"_s))
            return fail(&m_error, q);
        for (int i = 0; i <= last; ++i) {
            const TwoPoints &e = arr[size_t(i)];
            if (!platform::bindAll(q, {single(e.P1.X), single(e.P1.Y), single(e.P2.X), single(e.P2.Y), number}, &m_error))
                return false;
            if (!q.exec())
                return fail(&m_error, q);
        }
        return true;
    };
    auto insertThree = [&](const QString &table, const auto &arr, qint16 last) {
        if (last < 0)
            return true;
        QSqlQuery q(m_db);
        if (!q.prepare(u"INSERT INTO "_s + platform::ident(table)
                       + u" (x1, y1, x2, y2, x3, y3, Bn) VALUES (?, ?, ?, ?, ?, ?, ?)"_s))
            return fail(&m_error, q);
        for (int i = 0; i <= last; ++i) {
            const ThreePoints &e = arr[size_t(i)];
            if (!platform::bindAll(q, {single(e.P1.X), single(e.P1.Y), single(e.P2.X), single(e.P2.Y), single(e.P3.X),
                                       single(e.P3.Y), number},
                                   &m_error))
                return false;
            if (!q.exec())
                return fail(&m_error, q);
        }
        return true;
    };
    if (!insertTwo(u"Line"_s, l.LineArr, l.LineLast) || !insertTwo(u"Rectangle"_s, l.RecArr, l.RecLast)
        || !insertTwo(u"Arrow"_s, l.DirArr, l.DirLast) || !insertThree(u"Dim"_s, l.DimArr, l.DimLast))
        return false;
    if (l.StringLast >= 0) {
        QSqlQuery q(m_db);
        if (!q.prepare(u"INSERT INTO \"Strings\" (X1, Y1, Chars, Bn) VALUES (?, ?, ?, ?)"_s))
            return fail(&m_error, q);
        for (int i = 0; i <= l.StringLast; ++i) {
            const TextEntity &e = l.StringArr[size_t(i)];
            if (!platform::bindAll(q, {single(e.P1.X), single(e.P1.Y), e.text.isNull() ? u""_s : e.text, number}, &m_error))
                return false;
            if (!q.exec())
                return fail(&m_error, q);
        }
    }
    return insertThree(u"Arc"_s, l.ArcArr, l.ArcLast);
}

bool DrawingStore::save(qint64 number, const DrawingLists &lists)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive())
        return fail(&m_error, guard.errorText());
    if (!deleteEntities(number) || !writeEntities(number, lists))
        return false;
    if (!guard.commit())
        return fail(&m_error, guard.errorText());
    return true;
}

bool DrawingStore::saveNew(qint64 number, const QString &name, const DrawingLists &lists)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive())
        return fail(&m_error, guard.errorText());
    if (!insertIndex(number, name) || !deleteEntities(number) || !writeEntities(number, lists))
        return false;
    if (!guard.commit())
        return fail(&m_error, guard.errorText());
    return true;
}

bool DrawingStore::remove(qint64 number)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive())
        return fail(&m_error, guard.errorText());
    if (!platform::execBound(m_db, u"DELETE FROM \"图\" WHERE \"编号\" = ?"_s, {number}, &m_error)
        || !deleteEntities(number))
        return false;
    if (!guard.commit())
        return fail(&m_error, guard.errorText());
    return true;
}

bool DrawingStore::list(QList<LibraryEntry> *entries) const
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(u"SELECT \"编号\", \"图名\" FROM \"图\" ORDER BY rowid"_s))
        return fail(&m_error, q);
    QList<LibraryEntry> out;
    while (q.next())
        out.append({q.value(0).toLongLong(), q.value(1).toString()});
    *entries = std::move(out);
    return true;
}

std::optional<bool> DrawingStore::exists(qint64 number) const
{
    QSqlQuery q(m_db);
    if (!platform::execBound(m_db, u"SELECT 1 FROM \"图\" WHERE \"编号\" = ? LIMIT 1"_s, {number}, &m_error, &q))
        return std::nullopt;
    return q.next();
}

std::optional<qint64> DrawingStore::nextNumber() const
{
    return app::GetNextId(m_db, u"图"_s, &m_error);
}

bool DrawingStore::readTables(const QStringList &tables, QList<TableCopy> *copies) const
{
    const QStringList present = platform::tableNames(m_db);
    QList<TableCopy> out;
    for (const QString &table : tables) {
        TableCopy copy;
        copy.table = table;
        copy.present = present.contains(table, Qt::CaseInsensitive);
        if (copy.present) {
            QSqlQuery q(m_db);
            q.setForwardOnly(true);
            if (!q.exec(u"SELECT * FROM "_s + platform::ident(table)))
                return fail(&m_error, q);
            while (q.next()) {
                const int n = q.record().count();
                QVariantList row;
                row.reserve(n);
                for (int i = 0; i < n; ++i)
                    row.append(q.value(i));
                copy.rows.append(row);
            }
            if (q.lastError().isValid())
                return fail(&m_error, q);
        }
        out.append(copy);
    }
    *copies = std::move(out);
    return true;
}

bool DrawingStore::replaceTables(const QList<TableCopy> &copies)
{
    for (const TableCopy &copy : copies) {
        if (!copy.present)
            continue;
        if (!platform::execBound(m_db, u"DELETE FROM "_s + platform::ident(copy.table), {}, &m_error))
            return false;
        if (copy.rows.isEmpty())
            continue;
        const qsizetype n = copy.rows.constFirst().size();
        QSqlQuery q;
        if (!platform::preparePositionalInsert(m_db, copy.table, int(n), &q, &m_error))
            return false;
        for (const QVariantList &row : copy.rows) {
            QVariantList values;
            for (qsizetype i = 0; i < n; ++i)
                values << row.value(i);
            if (!platform::bindAll(q, values, &m_error))
                return false;
            if (!q.exec())
                return fail(&m_error, u"%1: %2"_s.arg(copy.table, q.lastError().text()));
        }
    }
    return true;
}

bool DrawingStore::emptyLibrary()
{
    if (!platform::execBound(m_db, u"DELETE FROM \"图\""_s, {}, &m_error))
        return false;
    for (const QString &table : kEntityTables)
        if (!platform::execBound(m_db, u"DELETE FROM "_s + platform::ident(table), {}, &m_error))
            return false;
    return true;
}

bool DrawingStore::typeRows(QList<TypeDrawingRow> *rows) const
{
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.exec(u"SELECT rowid, \"名称\", \"图文件\" FROM \"门窗\" ORDER BY rowid"_s))
        return fail(&m_error, q);
    QList<TypeDrawingRow> out;
    while (q.next())
        out.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
    *rows = std::move(out);
    return true;
}

bool DrawingStore::setTypeDrawingNumber(qint64 rowid, qint64 number)
{
    return platform::execBound(m_db, u"UPDATE \"门窗\" SET \"图号\" = ? WHERE rowid = ?"_s, {number, rowid}, &m_error);
}

bool DrawingStore::insertIndex(qint64 number, const QString &name)
{
    return platform::execBound(m_db, u"INSERT INTO \"图\" (\"编号\", \"图名\") VALUES (?, ?)"_s, {number, name},
                               &m_error);
}

} // namespace drawing
