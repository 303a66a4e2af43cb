#pragma once
// The printed reports of the statistics: material list, door/window cost, area list and settlement,
// built from the rows of the report commands CmdTJ (OutTJ) and CmdJS (OutJS).
#include "settlement.h"

#include "app/reportcommands.h"
#include "platform/report.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace stats {

// Rows of CmdTJ: BN, 名称, 规格, 单价, DW, 金额, 数量. `totals`: the filled total lines only.
platform::Report materialListReport(const QString &title, const QString &jobName, const QDate &date,
                                    const app::ReportRows &rows, const QStringList &totals);
// The sum of 金额 over the rows of CmdTJ.
double reportAmount(const app::ReportRows &rows);
platform::Report costReport(const QString &title, const QString &jobName, const QDate &date,
                            const app::ReportRows &rows, const CostFigures &figures);

// Rows of CmdJS: XH, LX, Width, Height, Count, MJ, DJ, JE, BN.
platform::Report areaReport(const QString &jobName, const QDate &date, const app::ReportRows &rows,
                            const QString &client, const QString &company);
platform::Report settlementReport(const QString &jobName, const QDate &date, const app::ReportRows &rows,
                                  const QString &client, const QString &company);

// The total lines of the material list for the chosen kinds (weights in kg shown in tonnes).
QStringList materialTotals(bool profiles, bool steel, bool panels, double profileWeight, double steelWeight,
                           double panelArea);

} // namespace stats
