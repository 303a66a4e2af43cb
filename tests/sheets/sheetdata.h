#pragma once
// Types with known bills, and jobs with plain and combined lines, for the sheet tests.
#include "../project/projectdata.h"

#include "platform/numtext.h"
#include "project/projectstore.h"

namespace sheetdata {

using namespace Qt::StringLiterals;
using typedata::run;

struct BillLine
{
    BillLine(QString n, QString s, QString c, QString a1, QString b1 = QString())
        : name(std::move(n)), spec(std::move(s)), count(std::move(c)), a(std::move(a1)), b(std::move(b1))
    {
    }
    QString name;
    QString spec;  // 规格 (profiles, steel, fittings)
    QString count; // 数量: formula (profiles, steel) or number (fittings, panels)
    QString a;     // 计算公式 / 单位 / 长公式
    QString b;     // 宽公式 (panels)
};

inline qint64 g_rowNo = 1000;

// A type in series 1 with a drawing number and the given bill rows.
inline bool addType(qint64 id, const QString &name, qint64 drawing, const QList<BillLine> &profiles,
                    const QList<BillLine> &steel = {}, const QList<BillLine> &fittings = {},
                    const QList<BillLine> &panels = {})
{
    bool ok = run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, ?, ?, ?)"_s, {id, name, drawing});
    for (const BillLine &l : profiles)
        ok = ok && run(u"INSERT INTO 窗型材 VALUES (?, ?, ?, ?, ?, ?)"_s, {id, ++g_rowNo, l.name, l.spec, l.count, l.a});
    for (const BillLine &l : steel)
        ok = ok && run(u"INSERT INTO 窗型钢 VALUES (?, ?, ?, ?, ?, ?)"_s, {id, ++g_rowNo, l.name, l.spec, l.count, l.a});
    for (const BillLine &l : fittings)
        ok = ok && run(u"INSERT INTO 窗配件 VALUES (?, ?, ?, ?, ?, ?)"_s,
                       {id, ++g_rowNo, l.name, l.spec, platform::val(l.count), l.a});
    for (const BillLine &l : panels)
        ok = ok && run(u"INSERT INTO 窗板材 VALUES (?, ?, ?, ?, ?, ?)"_s,
                       {id, ++g_rowNo, l.name, platform::val(l.count), l.a, l.b});
    return ok;
}

// A job line as the job window lists it.
inline project::JobLine jobLine(qint64 jobId, qint64 typeNo, qint64 id, const project::LineFields &f)
{
    return {f, QString::number(jobId), QString::number(typeNo), QString::number(id)};
}

// A plain line stored under a job; returns it as listed.
inline project::JobLine addPlain(qint64 jobId, qint64 typeNo, const project::LineFields &f,
                                 const QList<project::NamedDimension> &dims)
{
    project::ProjectStore store;
    const qint64 id = store.addPlainLine(jobId, typeNo, f, dims).value_or(0);
    return jobLine(jobId, typeNo, id, f);
}

struct Component
{
    qint64 type = 0;
    QString cmc;
    QList<project::NamedDimension> dims;
    int count = 1;
};

// A combined line of main drawing `main` with its main labels and components.
inline project::JobLine addCombined(qint64 jobId, qint64 main, const project::LineFields &f,
                                    const QList<project::NamedDimension> &mainDims, const QList<Component> &parts)
{
    project::ProjectStore store;
    bool ok = store.clearWorkRows() && store.replaceMainWorkRows(-main, f.name, mainDims);
    for (const Component &c : parts)
        ok = ok && store.addComponentWorkRows(c.type, c.cmc, c.dims)
             && store.storeWorkNode({c.type, c.cmc}, c.dims, c.count);
    const qint64 id = ok ? store.saveCombinedLine(0, jobId, main, f).value_or(0) : 0;
    return jobLine(jobId, -main, id, f);
}

inline qint64 addJob(const QString &contract = u"HT-01"_s, const QString &name = u"滨江花园"_s,
                     const QString &client = u"甲方公司"_s)
{
    return project::ProjectStore().addJob({0, contract, name, u"工地"_s, client}).value_or(0);
}

} // namespace sheetdata
