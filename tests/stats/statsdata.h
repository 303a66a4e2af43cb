#pragma once
// Bills, named dimensions, catalogue rows and window lines for the statistics tests, written
// straight into the tables.
#include "../app/fixture.h"

#include "project/projectstore.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace statsdata {

using namespace Qt::StringLiterals;

inline QSqlDatabase db()
{
    return app::mainDb();
}

inline bool run(const QString &sql, const QVariantList &values = {})
{
    return testfixture::exec(db(), sql, values);
}

// Bill rows; row numbers are not read by the statistics, so they only need to differ.
inline int nextRow()
{
    static int row = 0;
    return ++row;
}

inline bool addPiece(const QString &table, qint64 typeNo, const QString &name, const QString &code,
                     const QString &count, const QString &length)
{
    return run(u"INSERT INTO "_s + platform::ident(table) + u" VALUES (?, ?, ?, ?, ?, ?)"_s,
               {typeNo, nextRow(), name, code, count, length});
}
inline bool addProfile(qint64 typeNo, const QString &name, const QString &code, const QString &count,
                       const QString &length)
{
    return addPiece(u"窗型材"_s, typeNo, name, code, count, length);
}
inline bool addSteel(qint64 typeNo, const QString &name, const QString &code, const QString &count,
                     const QString &length)
{
    return addPiece(u"窗型钢"_s, typeNo, name, code, count, length);
}
inline bool addFitting(qint64 typeNo, const QString &name, const QString &code, double quantity, const QString &unit)
{
    return run(u"INSERT INTO 窗配件 VALUES (?, ?, ?, ?, ?, ?)"_s, {typeNo, nextRow(), name, code, quantity, unit});
}
inline bool addPanel(qint64 typeNo, const QString &name, double quantity, const QString &length, const QString &width)
{
    return run(u"INSERT INTO 窗板材 VALUES (?, ?, ?, ?, ?, ?)"_s, {typeNo, nextRow(), name, quantity, length, width});
}

inline bool addLabel(qint64 lineId, const QString &name, const QString &value)
{
    return run(u"INSERT INTO 标注 (Px, Py, schar, MCNUM, MC) VALUES (0, 0, ?, ?, ?)"_s, {value, lineId, name});
}
inline bool addComponentLabel(qint64 lineId, qint64 cbn, const QString &cmc, const QString &name,
                              const QString &value, const QVariant &count)
{
    return run(u"INSERT INTO 标注2 (MCBN, CBN, MC, MCZ, CMC, Px, Py, Count) VALUES (?, ?, ?, ?, ?, 0, 0, ?)"_s,
               {lineId, cbn, name, value, cmc, count});
}

inline bool addCatalogueProfile(const QString &name, const QString &code, double density, double price)
{
    return run(u"INSERT INTO 型材 VALUES (1, ?, ?, ?, 6000, 2, '白', ?, ?)"_s, {nextRow(), name, code, density, price});
}
inline bool addCatalogueSteel(const QString &name, const QString &code, double density, double price)
{
    return run(u"INSERT INTO 型钢 VALUES (1, ?, ?, ?, 6000, 2, '', ?, ?)"_s, {nextRow(), name, code, density, price});
}
inline bool addCatalogueFitting(const QString &name, const QString &code, const QString &unit, double price)
{
    return run(u"INSERT INTO 配件 VALUES (1, ?, ?, ?, ?, ?)"_s, {nextRow(), name, code, unit, price});
}
inline bool addCatalogueGlass(const QString &name, double price)
{
    return run(u"INSERT INTO 玻璃 VALUES (1, ?, ?, 2000, 1500, 5, '', ?)"_s, {nextRow(), name, price});
}

inline project::JobLine line(const QString &name, qint64 typeNo, qint64 id, const QString &count,
                             const QString &width = u"1500"_s, const QString &height = u"1200"_s)
{
    project::JobLine l;
    l.fields = {name, u"一层"_s, width, height, count, QString()};
    l.jobId = u"1"_s;
    l.typeNo = QString::number(typeNo);
    l.id = QString::number(id);
    return l;
}

// Rows of a table as "v1|v2|...", in stored order.
inline QStringList rows(const QString &table)
{
    QStringList out;
    QSqlQuery q(db());
    q.exec(u"SELECT * FROM "_s + platform::ident(table) + u" ORDER BY rowid"_s);
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << app::fieldText(q.value(i));
        out << fields.join(u'|');
    }
    return out;
}

inline bool breakTable(const QString &table, const QString &event)
{
    return run(u"CREATE TRIGGER "_s + platform::ident(u"fail_"_s + table + event) + u" BEFORE "_s + event + u" ON "_s
               + platform::ident(table) + u" BEGIN SELECT RAISE(ABORT, 'forced failure'); END"_s);
}

} // namespace statsdata
