#include "expansion.h"

#include "numbers.h"

#include "design/formula.h"
#include "design/macrotable.h"
#include "platform/database.h"
#include "platform/numtext.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace stats {

namespace {
design::MacroTable macrosOf(const QList<LabelRow> &labels)
{
    design::MacroTable table;
    for (const LabelRow &l : labels)
        table.append(l.name, l.value);
    design::SortMacrosByNameLength(table);
    return table;
}

QString formulaError(const QString &window, const QString &name, const QString &code)
{
    return u"计算公式出错："_s + window + u" "_s + name + u" "_s + code;
}

// The four passes of one type's bill with one set of named dimensions and one multiplier.
const TypeBill *billOf(StatsStore &store, const QVariant &typeNo, QHash<QString, TypeBill> &bills, QString *error)
{
    const QString key = typeNo.toString();
    if (auto it = bills.constFind(key); it != bills.constEnd())
        return &*it;
    const auto bill = store.bill(typeNo);
    if (!bill) {
        *error = store.lastError();
        return nullptr;
    }
    return &*bills.insert(key, *bill);
}

bool expandBill(StatsStore &store, const QVariant &typeNo, design::MacroTable &macros, double units,
                const QString &window, WorkRows *rows, QString *error, ExpansionRun &run)
{
    const TypeBill *bill = billOf(store, typeNo, run.bills, error);
    if (!bill)
        return false;
    design::FormulaBook::Bound formulas = run.formulas.bind(macros);
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        QList<PieceRow> &out = kind == PieceKind::Profile ? rows->profiles : rows->steel;
        for (const PieceBillRow &r : kind == PieceKind::Profile ? bill->profiles : bill->steel) {
            const auto length = singleValue(formulas.eval(r.lengthFormula));
            const float each = formulas.eval(r.countFormula);
            const auto count = std::isfinite(each) ? cleanValue(std::floor(double(each)) * units) : std::nullopt;
            if (!length || !count) {
                *error = formulaError(window, r.name, r.code);
                return false;
            }
            out.append({r.name, r.code, *length, *count});
        }
    }
    for (const FittingBillRow &r : bill->fittings) {
        const auto quantity = cleanValue(r.quantity * units);
        if (!quantity) {
            *error = formulaError(window, r.name, r.code);
            return false;
        }
        rows->fittings.append({r.name, r.code, *quantity, r.unit});
    }
    for (const PanelBillRow &r : bill->panels) {
        const auto length = singleValue(formulas.eval(r.lengthFormula));
        const auto width = singleValue(formulas.eval(r.widthFormula));
        const auto count = cleanValue(r.quantity * units);
        if (!length || !width || !count) {
            *error = formulaError(window, r.name, QString());
            return false;
        }
        rows->panels.append({r.name, *length, *width, *count});
    }
    return true;
}
} // namespace

bool FillTJFromWindow(StatsStore &store, const project::JobLine &line, WorkRows *rows, QString *error,
                      ExpansionRun &run)
{
    const auto labels = store.windowLabels(platform::numberParam(line.id));
    if (!labels) {
        *error = store.lastError();
        return false;
    }
    design::MacroTable macros = macrosOf(*labels);
    return expandBill(store, platform::numberParam(line.typeNo), macros, num(line.fields.count), line.fields.name, rows, error,
                      run);
}

bool FillTJFromZHWindow(StatsStore &store, const project::JobLine &line, WorkRows *rows, QString *error,
                        ExpansionRun &run)
{
    const QVariant lineId = platform::numberParam(line.id);
    const auto parts = store.components(lineId);
    if (!parts) {
        *error = store.lastError();
        return false;
    }
    const double windowUnits = num(line.fields.count);
    for (const ComponentKey &part : *parts) {
        const auto labels = store.componentLabels(lineId, part);
        if (!labels) {
            *error = store.lastError();
            return false;
        }
        // A component's count is a whole number of units.
        const auto partUnits = labels->count.isNull()
            ? std::nullopt
            : platform::roundHalfEven(labels->count.toDouble(), -32768, 32767);
        if (!partUnits) {
            *error = u"构件樘数出错："_s + line.fields.name + u" "_s + part.cmc;
            return false;
        }
        design::MacroTable macros = macrosOf(labels->labels);
        if (!expandBill(store, part.cbn, macros, windowUnits * double(*partUnits), line.fields.name, rows, error,
                        run))
            return false;
    }
    return true;
}

std::optional<WorkRows> expandWindows(StatsStore &store, const QList<project::JobLine> &lines, QString *error)
{
    WorkRows rows;
    ExpansionRun run;
    for (const project::JobLine &line : lines) {
        const bool combined = num(line.typeNo) < 0;
        if (!(combined ? FillTJFromZHWindow(store, line, &rows, error, run)
                       : FillTJFromWindow(store, line, &rows, error, run)))
            return std::nullopt;
    }
    return rows;
}

bool GatherTJ(StatsStore &store, const QList<project::JobLine> &lines, QString *error)
{
    // One transaction for the reads too: no lock taken and dropped per statement.
    platform::TransactionGuard tx(store.db());
    if (!tx.isActive()) {
        *error = tx.errorText();
        return false;
    }
    const auto rows = expandWindows(store, lines, error);
    if (!rows)
        return false;
    if (!store.replaceWorkRows(*rows)) {
        *error = store.lastError();
        return false;
    }
    if (!tx.commit()) {
        *error = tx.errorText();
        return false;
    }
    return true;
}

bool ClearTJTables(StatsStore &store, QString *error)
{
    if (!store.replaceWorkRows({})) {
        *error = store.lastError();
        return false;
    }
    return true;
}

} // namespace stats
