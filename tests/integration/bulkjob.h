#pragma once
// A realistic data set written straight into the main database: 2,000 catalogue items, 50 types
// each with a drawing and a 40-row bill over 8 to 12 named dimensions, and jobs of any number of
// window lines (every tenth combined, counts 1 to 20). Deterministic, so that the work tables it
// leads to can be compared between builds. Shared by the bulk-path benchmark and its digest test.
#include "platform/database.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace bulkjob {

using namespace Qt::StringLiterals;

inline constexpr int kTypes = 50;
inline constexpr int kProfileCodesUsed = 250;
inline constexpr int kSteelCodesUsed = 87;

// Named dimensions of type t: W and H, then 6 to 10 more.
inline QStringList labelNames(int type)
{
    static const QStringList all = {u"W"_s,  u"H"_s,  u"BK"_s, u"ZK"_s, u"GS"_s, u"SK"_s,
                                    u"ZT"_s, u"LG"_s, u"MK"_s, u"DK"_s, u"FK"_s, u"XK"_s};
    return all.mid(0, 8 + type % 5);
}

// One prepared insert, re-bound per row.
class Inserter
{
public:
    Inserter(QSqlDatabase db, const QString &table, int columns) : m_q(db)
    {
        QStringList marks;
        for (int i = 0; i < columns; ++i)
            marks << u"?"_s;
        m_ok = m_q.prepare(u"INSERT INTO "_s + platform::ident(table) + u" VALUES ("_s + marks.join(u", "_s) + u")"_s);
    }
    bool add(const QVariantList &values)
    {
        if (!m_ok)
            return false;
        for (int i = 0; i < values.size(); ++i)
            m_q.bindValue(i, values.at(i));
        m_ok = m_q.exec();
        return m_ok;
    }
    QString error() const { return m_q.lastError().text(); }
    bool ok() const { return m_ok; }

private:
    QSqlQuery m_q;
    bool m_ok = false;
};

inline QString code(const char *prefix, int n)
{
    return QString::fromLatin1(prefix) + QString::number(n).rightJustified(4, u'0');
}

// Catalogue, types, drawings and bills.
inline bool buildLibrary(QSqlDatabase db, QString *error)
{
    platform::TransactionGuard tx(db);
    Inserter makers(db, u"材料厂家"_s, 6), profiles(db, u"型材"_s, 9), steel(db, u"型钢"_s, 9),
        glass(db, u"玻璃"_s, 8), fittings(db, u"配件"_s, 6), typeMakers(db, u"门窗厂家"_s, 2),
        series(db, u"门窗系列"_s, 3), types(db, u"门窗"_s, 5), drawings(db, u"图"_s, 2), lines(db, u"Line"_s, 5),
        strings(db, u"Strings"_s, 4), billProfiles(db, u"窗型材"_s, 6), billSteel(db, u"窗型钢"_s, 6),
        billFittings(db, u"窗配件"_s, 6), billPanels(db, u"窗板材"_s, 6);
    bool ok = makers.add({1, u"型材厂"_s, u""_s, u""_s, u""_s, 1});
    int id = 0;
    // 900 profiles, 300 steel, 500 fittings, 300 panels.
    for (int i = 1; ok && i <= 900; ++i)
        ok = profiles.add({1, ++id, u"型材%1"_s.arg(i), code("XC", i), 6000, 2.0, u"白"_s, 0.8 + (i % 13) * 0.05,
                           9000 + (i % 17) * 250});
    for (int i = 1; ok && i <= 300; ++i)
        ok = steel.add({1, ++id, u"钢衬%1"_s.arg(i), code("XG", i), 6000, 1.5, u""_s, 0.9 + (i % 7) * 0.1,
                        5200 + (i % 11) * 100});
    for (int i = 1; ok && i <= 500; ++i)
        ok = fittings.add({1, ++id, u"配件%1"_s.arg(i), code("PJ", i), i % 3 == 0 ? u"套"_s : u"个"_s,
                           1.5 + (i % 29) * 0.75});
    for (int i = 1; ok && i <= 300; ++i)
        ok = glass.add({1, ++id, code("BL", i), 2000, 1500, 5, u""_s, 40 + (i % 19) * 3.5});
    ok = ok && typeMakers.add({1, u"门窗厂"_s}) && series.add({1, 1, u"系列"_s});

    static const QStringList profileLengths = {u"W-2*BK"_s, u"H-2*BK"_s,  u"W/2-ZK"_s,    u"H-ZK-GS"_s,
                                               u"(W-SK)/2"_s, u"H/2+ZT"_s, u"W-GS-LG"_s, u"H-2*ZT+10"_s,
                                               u"W-SK"_s,   u"(H-BK)/2"_s};
    static const QStringList counts = {u"2"_s, u"1"_s, u"4"_s, u"2"_s, u"1"_s};
    int row = 0;
    for (int t = 1; ok && t <= kTypes; ++t) {
        const QStringList names = labelNames(t);
        ok = types.add({1, t, u"型%1"_s.arg(t), u""_s, t}) && drawings.add({t, u"图%1"_s.arg(t)});
        for (int k = 0; ok && k < 40; ++k)
            ok = lines.add({k * 100.0, k * 50.0, k * 100.0 + 900, k * 50.0 + 700, t});
        for (int k = 0; ok && k < names.size(); ++k)
            ok = strings.add({300.0 + k * 400, 500.0 + k * 300, names.at(k), t});
        // 20 profile rows, 8 steel, 8 fittings, 4 panels.
        for (int j = 0; ok && j < 20; ++j) {
            const int c = 1 + (t * 37 + j * 11) % kProfileCodesUsed;
            QString length = profileLengths.at((t + j) % profileLengths.size());
            if (j >= 8 && j - 8 < names.size() - 8)
                length += u"-"_s + names.at(j);
            ok = billProfiles.add({t, ++row, u"框料%1"_s.arg(j), code("XC", c), counts.at(j % counts.size()), length});
        }
        for (int j = 0; ok && j < 8; ++j) {
            const int c = 1 + (t * 13 + j * 7) % kSteelCodesUsed;
            ok = billSteel.add({t, ++row, u"钢%1"_s.arg(j), code("XG", c), counts.at((j + 1) % counts.size()),
                                profileLengths.at((t * 3 + j) % profileLengths.size()) + u"-20"_s});
        }
        for (int j = 0; ok && j < 8; ++j)
            ok = billFittings.add({t, ++row, u"件%1"_s.arg(j), code("PJ", 1 + (t * 29 + j * 17) % 500), 1 + (j % 6),
                                   j % 3 == 0 ? u"套"_s : u"个"_s});
        for (int j = 0; ok && j < 4; ++j)
            ok = billPanels.add({t, ++row, code("BL", 1 + (t * 7 + j * 3) % 300), 1 + (j % 2), u"W/2-2*BK-10"_s,
                                 u"H/2-ZK"_s});
    }
    if (!ok) {
        for (const Inserter *i : {&makers, &profiles, &steel, &glass, &fittings, &typeMakers, &series, &types,
                                  &drawings, &lines, &strings, &billProfiles, &billSteel, &billFittings, &billPanels})
            if (!i->ok() && error)
                *error = i->error();
        return false;
    }
    return tx.commit();
}

// The value of a named dimension of a window of the given size.
inline QString labelValue(const QString &name, int k, int width, int height, int seed)
{
    if (name == u"W"_s)
        return QString::number(width);
    if (name == u"H"_s)
        return QString::number(height);
    return QString::number(40 + (k * 17 + seed) % 60);
}

// A job of `windows` lines, line numbers from firstLine on; every tenth line is combined.
inline bool addJob(QSqlDatabase db, qint64 jobId, int windows, qint64 firstLine, QString *error)
{
    platform::TransactionGuard tx(db);
    Inserter jobs(db, u"工程"_s, 5), lines(db, u"工程门窗"_s, 10), labels(db, u"标注"_s, 5), parts(db, u"标注2"_s, 8);
    bool ok = jobs.add({jobId, u"HT%1"_s.arg(jobId), u"工程%1"_s.arg(jobId), u"某地"_s, u"甲方%1"_s.arg(jobId)});
    for (int i = 0; ok && i < windows; ++i) {
        const qint64 id = firstLine + i;
        const int width = 600 + (i * 37) % 1800;
        const int height = 600 + (i * 53) % 1400;
        const int units = 1 + (i * 13) % 20;
        const int type = 1 + (i * 7) % kTypes;
        const bool combined = i % 10 == 9;
        ok = lines.add({jobId, combined ? -type : type, id, u"C"_s + QString::number(i + 1).rightJustified(4, u'0'), u"窗"_s, width, height,
                        QVariant(), units, u""_s});
        const QStringList names = combined ? QStringList{u"W"_s, u"H"_s} : labelNames(type);
        for (int k = 0; ok && k < names.size(); ++k)
            ok = labels.add({300.0 + k * 400, 500.0 + k * 300, labelValue(names.at(k), k, width, height, i), id,
                             names.at(k)});
        if (!combined)
            continue;
        // Two components side by side, each half the width; the right one twice.
        for (int p = 0; ok && p < 2; ++p) {
            const int part = 1 + (type + 11 * (p + 1)) % kTypes;
            const QStringList partNames = labelNames(part);
            for (int k = 0; ok && k < partNames.size(); ++k)
                ok = parts.add({id, part, partNames.at(k), labelValue(partNames.at(k), k, width / 2, height, i + p),
                                p == 0 ? u"左"_s : u"右"_s, 100.0 * k, 50.0 * k, p + 1});
        }
    }
    if (!ok) {
        for (const Inserter *i : {&jobs, &lines, &labels, &parts})
            if (!i->ok() && error)
                *error = i->error();
        return false;
    }
    return tx.commit();
}

// A digest of a table's rows in stored order: each value's storage class and its text.
inline QByteArray tableDigest(QSqlDatabase db, const QString &table)
{
    QSqlQuery q(db);
    q.setForwardOnly(true); // rows are hashed as they come, not kept
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QStringList columns = platform::columnNames(db, table);
    QStringList parts;
    for (const QString &c : columns)
        parts << u"typeof("_s + platform::ident(c) + u"), quote("_s + platform::ident(c) + u")"_s;
    if (!q.exec(u"SELECT "_s + parts.join(u", "_s) + u" FROM "_s + platform::ident(table) + u" ORDER BY rowid"_s))
        return QByteArray("error: ") + q.lastError().text().toUtf8();
    while (q.next()) {
        for (int i = 0; i < 2 * columns.size(); ++i) {
            hash.addData(q.value(i).toString().toUtf8());
            hash.addData(QByteArrayView("\x1f"));
        }
        hash.addData(QByteArrayView("\x1e"));
    }
    return hash.result().toHex();
}

} // namespace bulkjob
