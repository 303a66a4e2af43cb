#pragma once
// Bill formulas the evaluator cannot read whole. The evaluator never fails: "(H-100" gives a value
// and a name it does not know is skipped, so such a formula would list wrong pieces without a word.
// Saving a bill and importing formulas list these rows for the user.
#include "design/macrotable.h"
#include "design/typestore.h"

#include <QHash>
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

// The labels of a drawing as the check takes them: the table with the value the drawing gives every
// label ("0"), and the length that each label standing on a dimension measures on the drawing (by
// upper-cased name; labels that stand on no dimension have none).
struct DrawingLabelSet
{
    MacroTable table;
    QHash<QString, QString> lengths;
};

// The formula cells (profiles and steel: 数量 and 计算公式; panels: 长公式 and 宽公式) that have
// unbalanced parentheses, a label name that runs on into letters, digits or another label (the
// evaluator puts the label's value in and reads the rest after it: "B2" is B's value and 2), a name
// that is neither a function nor one of the labels, a result that is not finite with the labels'
// values, or a length (计算公式, 长公式, 宽公式) of zero or less with the lengths the drawing gives
// its labels (checked only where every label of the formula has one). Empty cells are passed over.
QList<FormulaWarning> checkBillFormulas(const Bill &bill, const DrawingLabelSet &labels);

// The labels of a library drawing; none for an empty number. nullopt with *error when the drawing
// cannot be read.
std::optional<DrawingLabelSet> drawingLabelSet(const QString &drawingNumber, QString *error = nullptr);

// The check against the labels of the type's drawing (no labels when the type has no drawing or
// its drawing cannot be read).
QList<FormulaWarning> checkTypeBillFormulas(qint64 typeId, const Bill &bill);

// One line per warning: tab, row (from 1, or the source row when given), formula and problem.
QStringList formulaWarningLines(const QList<FormulaWarning> &warnings, const QList<int> &sourceRows = {});

// The warnings of imported types, each type's rows checked against its drawing's labels: a line
// naming the type, then its rows with their rows in the workbook. Empty when all formulas are whole.
QStringList importFormulaWarningLines(const QList<ImportedType> &types);

} // namespace design
