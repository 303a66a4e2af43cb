#include "yhgather.h"

#include "design/formula.h"
#include "design/formulabook.h"
#include "design/macrotable.h"
#include "platform/database.h"
#include "platform/numtext.h"

#include <QHash>

#include <cmath>

using namespace Qt::StringLiterals;

namespace optimise {

namespace {
const QStringList kBillTables = {u"窗型材"_s, u"窗型钢"_s};

design::MacroTable macrosOf(const QList<LabelRow> &labels)
{
    design::MacroTable table;
    for (const LabelRow &l : labels)
        table.append(l.name, l.value, l.x, l.y);
    design::SortMacrosByNameLength(table);
    return table;
}

// The value as the statement text of a single-precision number would store it.
bool storedSingle(float v, double *out)
{
    if (!std::isfinite(v))
        return false;
    *out = platform::generalValue(double(v), 7);
    return true;
}

QString formulaError(const BillPieceRow &row)
{
    return u"计算公式出错："_s + row.name + u" "_s + row.code;
}

// What one gathering reads once: bill rows by table and type number, and each formula once per set
// of dimension names.
class GatherReads
{
public:
    explicit GatherReads(YHStore &store) : m_store(store) {}
    const QList<BillPieceRow> *rows(const QString &table, const QVariant &typeNo, QString *error)
    {
        const QString key = table + u'\x1f' + typeNo.toString();
        if (auto it = m_rows.constFind(key); it != m_rows.constEnd())
            return &*it;
        const auto rows = m_store.billRows(table, typeNo);
        if (!rows) {
            *error = m_store.lastError();
            return nullptr;
        }
        return &*m_rows.insert(key, *rows);
    }

    design::FormulaBook formulas;

private:
    YHStore &m_store;
    QHash<QString, QList<BillPieceRow>> m_rows;
};

bool addPlain(YHStore &store, GatherReads &reads, const ChosenWindow &w, QList<PieceRow> *out, QString *error)
{
    const auto units = platform::roundHalfEven(platform::val(w.units), -32768, 32767);
    if (!units) {
        *error = u"樘数超出范围："_s + w.units;
        return false;
    }
    const QVariant windowId = platform::numberParam(w.tag);
    const auto labels = store.windowLabels(windowId);
    if (!labels) {
        *error = store.lastError();
        return false;
    }
    design::MacroTable macros = macrosOf(*labels);
    design::FormulaBook::Bound formulas = reads.formulas.bind(macros);
    for (const QString &table : kBillTables) {
        const QList<BillPieceRow> *rows = reads.rows(table, platform::numberParam(w.typeNo), error);
        if (!rows)
            return false;
        for (const BillPieceRow &row : *rows) {
            const float count = formulas.eval(row.countFormula.trimmed()) * float(*units);
            const float length = formulas.eval(row.lengthFormula);
            PieceRow piece{row.id, row.name, row.code, 0, 0};
            if (!storedSingle(length, &piece.length) || !storedSingle(count, &piece.quantity)) {
                *error = formulaError(row);
                return false;
            }
            out->append(piece);
        }
    }
    return true;
}

bool addCombined(YHStore &store, GatherReads &reads, const ChosenWindow &w, QList<PieceRow> *out, QString *error)
{
    const QVariant windowId = platform::numberParam(w.windowNo);
    const double windowUnits = platform::val(w.units);
    const auto parts = store.components(windowId);
    if (!parts) {
        *error = store.lastError();
        return false;
    }
    for (const ComponentKey &part : *parts) {
        const auto labels = store.componentLabels(windowId, part);
        if (!labels) {
            *error = store.lastError();
            return false;
        }
        design::MacroTable macros = macrosOf(labels->labels);
        design::FormulaBook::Bound formulas = reads.formulas.bind(macros);
        for (const QString &table : kBillTables) {
            const QList<BillPieceRow> *rows = reads.rows(table, part.cbn, error);
            if (!rows)
                return false;
            for (const BillPieceRow &row : *rows) {
                const float length = formulas.eval(row.lengthFormula);
                const float each = formulas.eval(row.countFormula.trimmed());
                const double count = std::floor(double(each)) * windowUnits * double(labels->units);
                PieceRow piece{QVariant(), row.name, row.code, 0, count};
                if (!storedSingle(length, &piece.length) || !std::isfinite(count)) {
                    *error = formulaError(row);
                    return false;
                }
                piece.quantity = platform::generalValue(count, 15);
                out->append(piece);
            }
        }
    }
    return true;
}
} // namespace

std::optional<QList<PieceRow>> gatherPieces(YHStore &store, const QList<ChosenWindow> &windows, QString *error)
{
    QList<PieceRow> pieces;
    GatherReads reads(store);
    for (const ChosenWindow &w : windows) {
        const bool combined = platform::val(w.typeNo) < 0;
        if (!(combined ? addCombined(store, reads, w, &pieces, error) : addPlain(store, reads, w, &pieces, error)))
            return std::nullopt;
    }
    return pieces;
}

bool BuildYHData(YHStore &store, const QList<ChosenWindow> &windows, QString *error)
{
    // One transaction for the reads too: no lock taken and dropped per statement.
    platform::TransactionGuard tx(store.db());
    if (!tx.isActive()) {
        *error = tx.errorText();
        return false;
    }
    const auto pieces = gatherPieces(store, windows, error);
    if (!pieces)
        return false;
    if (!store.replacePieces(*pieces, true)) {
        *error = store.lastError();
        return false;
    }
    if (!tx.commit()) {
        *error = tx.errorText();
        return false;
    }
    return true;
}

} // namespace optimise
