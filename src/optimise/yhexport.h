#pragma once
// The result window's lists as displayed, and what is made of them: the text export, the workbook
// export and the two printed reports.
#include "yhtypes.h"

#include "platform/report.h"
#include "platform/workbook.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QStringList>

namespace optimise {

// The plan rows as the list shows them: the material name only on the first row of each run of
// equal names (exact comparison). Each row: name, pattern, bars, ratio, offcut.
QList<QStringList> planListRows(const QList<PlanGroupRow> &groups);
// Each row: name, bars, mean ratio.
QList<QStringList> summaryListRows(const QList<SummaryRow> &rows);

// The text export (CR LF line ends), before encoding.
QString yhResultText(const QList<QStringList> &plan, const QList<QStringList> &summary, const QString &jobName,
                     const QString &dateText);
// Writes the text export in GB18030 (GBK's bytes for every character GBK has, and the others
// kept), replacing the file. False, with the cause in *error,
// when it cannot be written; the old file is then kept.
bool ExportYHText(const QString &fileName, const QList<QStringList> &plan, const QList<QStringList> &summary,
                  const QString &jobName, const QString &dateText, QString *error = nullptr);

// The two-sheet workbook of the Excel export; the dates are date cells, and the second sheet is
// the one shown on opening.
platform::Workbook yhResultWorkbook(const QList<QStringList> &plan, const QList<QStringList> &summary,
                                    const QString &jobName, const QDate &date);

// The printed plan (rows of CmdYH: 材料名称, 切割规格, 数量, 优化比率, 剩余料长) and summary (rows of
// CmdYHT: 材料名称, sum of 数量, mean ratio).
platform::Report yhPlanReport(const QList<QStringList> &cmdRows, const QString &jobName, const QDateTime &when);
platform::Report yhSummaryReport(const QList<QStringList> &cmdRows, const QString &jobName, const QDateTime &when);

// Today's date in the system's short format.
QString shortDateText(const QDate &date);

} // namespace optimise
