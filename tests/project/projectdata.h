#pragma once
// A type library whose drawings carry labels, and jobs with plain and combined lines, for the
// project tests.
#include "../design/typedata.h"

#include "drawing/store.h"
#include "project/projectstore.h"

#include <memory>

namespace projectdata {

using namespace Qt::StringLiterals;

struct Label
{
    QString text;
    float x = 0;
    float y = 0;
};

// A library drawing with one line and the given labels.
inline bool saveDrawing(qint64 number, const QString &name, const QList<Label> &labels)
{
    auto lists = std::make_unique<drawing::DrawingLists>();
    lists->LineArr[0] = {{0, 0}, {9495, 7935}};
    lists->LineLast = 0;
    for (int i = 0; i < labels.size(); ++i)
        lists->StringArr[size_t(i)] = {{labels.at(i).x, labels.at(i).y}, labels.at(i).text};
    lists->StringLast = qint16(labels.size() - 1);
    drawing::DrawingStore drawings;
    const bool ok = drawings.saveNew(number, name, *lists);
    if (!ok)
        qWarning("%s", qPrintable(drawings.lastError()));
    return ok;
}

// The type library of typedata (types 1..8 with drawings 101..108): drawing 101 (type T1) has the
// labels B, H and H1; 102 (T2) one label " b "; 103 (T3) none. Main drawing 900 "组合主图" has
// B and H.
inline bool fillLibrary()
{
    return typedata::fillLibrary()
        && saveDrawing(101, u"T1图"_s, {{u"B"_s, 100, 200}, {u"H"_s, 4747.5f, 300}, {u"H1"_s, 9000, 7000}})
        && saveDrawing(102, u"T2图"_s, {{u" b "_s, 50, 60}})
        && saveDrawing(103, u"T3图"_s, {})
        && saveDrawing(900, u"组合主图"_s, {{u"B"_s, 10, 20}, {u"H"_s, 30, 40}});
}

inline project::LineFields fields(const QString &name, const QString &width = u"1500"_s,
                                  const QString &height = u"1200"_s, const QString &count = u"2"_s)
{
    return {name, u"一层"_s, width, height, count, u"备注"_s};
}

inline QStringList rows(const QString &table)
{
    return typedata::rows(table);
}

inline int count(const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(app::mainDb());
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

// Every job table, for comparing before and after.
inline QStringList dump()
{
    QStringList out;
    for (const QString &t : {u"工程"_s, u"工程门窗"_s, u"标注"_s, u"标注2"_s, u"工程合同"_s})
        out << t + u": "_s + rows(t).join(u"; "_s);
    return out;
}

} // namespace projectdata
