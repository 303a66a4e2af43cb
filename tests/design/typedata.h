#pragma once
// A small type library for the type tree and bill tests, and helpers to compare and break tables.
#include "../app/fixture.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace typedata {

using namespace Qt::StringLiterals;

inline const QStringList kTypeTables = {u"门窗厂家"_s, u"门窗系列"_s, u"门窗"_s, u"窗型材"_s,
                                        u"窗型钢"_s,   u"窗板材"_s,   u"窗配件"_s};
inline const QStringList kBillTables = {u"窗型材"_s, u"窗型钢"_s, u"窗板材"_s, u"窗配件"_s};

inline bool run(const QString &sql, const QVariantList &values = {})
{
    return testfixture::exec(app::mainDb(), sql, values);
}

// Makers 1 and 2; series 1, 2 under maker 1 and 3, 4 under maker 2; types 2s-1 and 2s under
// series s (types 1 to 8), each with one row in every bill table whose 编号 is the type's.
inline bool fillLibrary()
{
    bool ok = true;
    for (int m = 1; m <= 2; ++m)
        ok = ok && run(u"INSERT INTO 门窗厂家 (编号, 名称) VALUES (?, ?)"_s, {m, u"M%1"_s.arg(m)});
    for (int s = 1; s <= 4; ++s)
        ok = ok && run(u"INSERT INTO 门窗系列 (厂家编号, 编号, 名称) VALUES (?, ?, ?)"_s, {(s + 1) / 2, s, u"S%1"_s.arg(s)});
    for (int t = 1; t <= 8; ++t) {
        ok = ok && run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (?, ?, ?, ?)"_s, {(t + 1) / 2, t, u"T%1"_s.arg(t), 100 + t});
        ok = ok && run(u"INSERT INTO 窗型材 VALUES (?, ?, ?, ?, ?, ?)"_s, {t, t, u"型材%1"_s.arg(t), u"XC"_s, u"2"_s, u"B-10"_s});
        ok = ok && run(u"INSERT INTO 窗型钢 VALUES (?, ?, ?, ?, ?, ?)"_s, {t, t, u"型钢%1"_s.arg(t), u"XG"_s, u"2"_s, u"H-10"_s});
        ok = ok && run(u"INSERT INTO 窗板材 VALUES (?, ?, ?, ?, ?, ?)"_s, {t, t, u"玻璃%1"_s.arg(t), 1.0, u"B/2"_s, u"H/2"_s});
        ok = ok && run(u"INSERT INTO 窗配件 VALUES (?, ?, ?, ?, ?, ?)"_s, {t, t, u"合页%1"_s.arg(t), u"PJ"_s, 4.0, u"个"_s});
    }
    return ok;
}

// Every row of a table as "v1|v2|...", in stored order.
inline QStringList rows(const QString &table)
{
    QStringList out;
    QSqlQuery q(app::mainDb());
    q.exec(u"SELECT * FROM "_s + platform::ident(table) + u" ORDER BY rowid"_s);
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << app::fieldText(q.value(i));
        out << fields.join(u'|');
    }
    return out;
}

// All seven tables, for comparing before and after.
inline QStringList dump()
{
    QStringList out;
    for (const QString &t : kTypeTables)
        out << t + u": "_s + rows(t).join(u"; "_s);
    return out;
}

// The 编号 of a table's rows that belong to an owner column value, in stored order.
inline QList<qint64> ids(const QString &table, const QString &ownerColumn, qint64 owner)
{
    QList<qint64> out;
    QSqlQuery q(app::mainDb());
    q.prepare(u"SELECT 编号 FROM "_s + platform::ident(table) + u" WHERE "_s + platform::ident(ownerColumn)
              + u" = ? ORDER BY rowid"_s);
    q.addBindValue(owner);
    q.exec();
    while (q.next())
        out << q.value(0).toLongLong();
    return out;
}

// Makes every `event` ("DELETE", "INSERT", "UPDATE") on the table fail.
inline bool breakTable(const QString &table, const QString &event)
{
    return run(u"CREATE TRIGGER "_s + platform::ident(u"fail_"_s + table + event) + u" BEFORE "_s + event
               + u" ON "_s + platform::ident(table) + u" BEGIN SELECT RAISE(ABORT, 'forced failure'); END"_s);
}

} // namespace typedata
