#pragma once
// Pricing chosen windows by area: the settlement rows of OutJS, the opening area of the cost report
// and its fees.
#include "statsstore.h"

#include "project/jobtypes.h"

#include <QList>
#include <QString>
#include <array>

namespace stats {

// One row per window in list order (BN from 1); a name holding "门" takes the door price.
QList<SettlementRow> settlementRows(const QList<project::JobLine> &lines, double doorPrice, double windowPrice);

// Empties OutJS and writes the rows, all or nothing.
bool WriteSettlement(StatsStore &store, const QList<SettlementRow> &rows, QString *error);
bool ClearJSTable(StatsStore &store, QString *error);

// Opening area in m² of the windows, each width, height and count taken as the nearest whole
// number (a half to the even neighbour).
double GetTJTotalArea(const QList<project::JobLine> &lines);
// sum(金额) over OutTJ; nullopt when it cannot be read.
std::optional<double> GetTJTotalAmount(StatsStore &store, QString *error);

// The fees of the cost report: per m² rates times the area, and the grand total with the material
// amount. Texts in the general form.
struct CostFigures
{
    std::array<QString, 4> fees; // labour, tax, transport, other
    QString total;
};
CostFigures costFigures(double area, const std::array<QString, 4> &rates, double materialAmount);

} // namespace stats
