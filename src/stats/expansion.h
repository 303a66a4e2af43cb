#pragma once
// Expanding the bills of chosen windows into the work tables OutXC, OutXG, OutPJ and OutPC: every
// bill row of a window's type (of each component, for a combined window) gives one work row with
// its evaluated sizes and its count over all units.
#include "statsstore.h"

#include "design/formulabook.h"
#include "project/jobtypes.h"

#include <QHash>
#include <QList>
#include <QString>

namespace stats {

// What one operation reads once for all its windows: each type's bill, by type number, and each
// bill formula, read once per set of dimension names.
struct ExpansionRun
{
    QHash<QString, TypeBill> bills;
    design::FormulaBook formulas;
};

// The rows of one plain window, appended to *rows. False with *error when a read fails or a
// formula gives no finite number; *rows may then hold part of the window. Bills and formulas are
// read through `run`, kept by the operation.
bool FillTJFromWindow(StatsStore &store, const project::JobLine &line, WorkRows *rows, QString *error,
                      ExpansionRun &run);
// The same for a combined window, component after component (by CBN, then CMC).
bool FillTJFromZHWindow(StatsStore &store, const project::JobLine &line, WorkRows *rows, QString *error,
                        ExpansionRun &run);

// The rows of the chosen windows in list order; a type number below 0 is a combined window.
std::optional<WorkRows> expandWindows(StatsStore &store, const QList<project::JobLine> &lines, QString *error);

// Empties the five tables (OutTJ too) and writes the chosen windows' rows, all or nothing: a
// failure leaves the tables as they were. Reads and writes are one transaction.
bool GatherTJ(StatsStore &store, const QList<project::JobLine> &lines, QString *error);
// Empties OutXC, OutXG, OutPC, OutPJ and OutTJ.
bool ClearTJTables(StatsStore &store, QString *error);

} // namespace stats
