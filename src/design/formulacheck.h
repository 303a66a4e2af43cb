#pragma once
// Bill formulas the evaluator cannot read whole. The evaluator never fails: "(H-100" gives a value
// and a name it does not know is skipped, so such a formula would list wrong pieces without a word.
// Saving a bill and importing formulas list these rows for the user.
#include "design/macrotable.h"
#include "design/billtypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace design {

struct FormulaWarning
{
    BillKind kind = BillKind::Profile;
    int row = 0; // from 0
    QString formula;
    QString problem;
};

// The formula cells (profiles and steel: 数量 and 计算公式; panels: 长公式 and 宽公式) that have
// unbalanced parentheses, a name that is neither a function nor one of `labels`, or a result that
// is not finite with the labels' values. Empty cells are passed over.
QList<FormulaWarning> checkBillFormulas(const Bill &bill, const MacroTable &labels);

// The labels of a library drawing with the values it gives them ("0"), as the evaluator takes them;
// none for an empty number. nullopt with *error when the drawing cannot be read.
std::optional<MacroTable> drawingLabelTable(const QString &drawingNumber, QString *error = nullptr);

// The check against the labels of the type's drawing (no labels when the type has no drawing or
// its drawing cannot be read).
QList<FormulaWarning> checkTypeBillFormulas(qint64 typeId, const Bill &bill);

// One line per warning: tab, row (from 1, or the source row when given), formula and problem.
QStringList formulaWarningLines(const QList<FormulaWarning> &warnings, const QList<int> &sourceRows = {});

// The warnings of imported types, each type's rows checked against its drawing's labels: a line
// naming the type, then its rows with their rows in the workbook. Empty when all formulas are whole.
QStringList importFormulaWarningLines(const QList<ImportedType> &types);

} // namespace design
