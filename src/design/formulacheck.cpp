#include "design/formulacheck.h"

#include "design/formula.h"
#include "design/typestore.h"
#include "drawing/cpictire.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace design {

namespace {

// The value columns of a bill kind that hold formulas.
QList<int> formulaColumns(BillKind kind)
{
    return kind == BillKind::Fitting ? QList<int>{} : QList<int>{2, 3};
}

bool balanced(const QString &formula)
{
    int depth = 0;
    for (const QChar c : formula) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && --depth < 0)
            return false;
    }
    return depth == 0;
}

// The first name left once the labels (longest first, as the evaluator puts them in) and the
// function names are taken out; "" when none is left.
QString unknownName(const QString &formula, const MacroTable &labels)
{
    QString s = formula.toUpper();
    for (const MacroTable::Entry &e : labels.entries()) {
        const QString name = e.name.trimmed().toUpper();
        if (!name.isEmpty())
            s.replace(name, u" "_s);
    }
    for (const QString &f : {u"SIN"_s, u"COS"_s, u"TAN"_s, u"ATN"_s, u"EXP"_s, u"LOG"_s, u"SQR"_s})
        s.replace(f, u" "_s);
    QString name;
    for (const QChar c : s) {
        if (c.isLetter())
            name += c;
        else if (!name.isEmpty())
            break;
    }
    return name;
}

} // namespace

QList<FormulaWarning> checkBillFormulas(const Bill &bill, const MacroTable &labels)
{
    MacroTable table = labels;
    SortMacrosByNameLength(table);
    QList<FormulaWarning> out;
    for (BillKind kind : allBillKinds()) {
        const QList<BillRow> &rows = bill.of(kind);
        for (int r = 0; r < rows.size(); ++r) {
            for (int c : formulaColumns(kind)) {
                const QString &formula = rows[r][size_t(c)];
                if (formula.trimmed().isEmpty())
                    continue;
                QString problem;
                if (!balanced(formula))
                    problem = u"括号不成对"_s;
                else if (const QString name = unknownName(formula, table); !name.isEmpty())
                    problem = u"“%1”既不是函数也不是图中的标注"_s.arg(name);
                else if (bool failed = false; (EvalFormula(formula, table, &failed), failed))
                    problem = u"计算结果不是有限数"_s;
                if (!problem.isEmpty())
                    out << FormulaWarning{kind, r, formula, problem};
            }
        }
    }
    return out;
}

std::optional<MacroTable> drawingLabelTable(const QString &drawingNumber, QString *error)
{
    MacroTable table;
    if (drawingNumber.trimmed().isEmpty())
        return table;
    drawing::CPictire pic;
    if (!pic.OpenFileEX(drawingNumber, error))
        return std::nullopt;
    QList<float> x, y;
    QStringList names;
    pic.GetStrings(x, y, names);
    for (qsizetype i = 0; i < names.size(); ++i)
        table.append(names.at(i), u"0"_s, x.value(i), y.value(i));
    return table;
}

QList<FormulaWarning> checkTypeBillFormulas(qint64 typeId, const Bill &bill)
{
    const std::optional<DoorType> type = TypeStore().type(typeId);
    const std::optional<MacroTable> labels = drawingLabelTable(type ? type->drawingNumber : QString());
    return checkBillFormulas(bill, labels.value_or(MacroTable()));
}

QStringList formulaWarningLines(const QList<FormulaWarning> &warnings, const QList<int> &sourceRows)
{
    QStringList lines;
    for (qsizetype i = 0; i < warnings.size(); ++i) {
        const FormulaWarning &w = warnings[i];
        const int row = i < sourceRows.size() ? sourceRows[i] : w.row + 1;
        lines << u"%1\t第%2行\t%3\t%4"_s.arg(billTableInfo(w.kind).caption).arg(row).arg(w.formula, w.problem);
    }
    return lines;
}

QStringList importFormulaWarningLines(const QList<ImportedType> &types)
{
    QStringList lines;
    for (const ImportedType &t : types) {
        const QString number = t.drawingNumber != 0 ? QString::number(t.drawingNumber) : QString();
        const QList<FormulaWarning> warnings =
            checkBillFormulas(t.bill, drawingLabelTable(number).value_or(MacroTable()));
        if (warnings.isEmpty())
            continue;
        QList<int> sourceRows;
        for (const FormulaWarning &w : warnings)
            sourceRows << t.sourceRows[size_t(w.kind)].value(w.row);
        lines << u"门窗名称：%1（第%2行）"_s.arg(t.name).arg(t.sourceRow);
        lines << formulaWarningLines(warnings, sourceRows);
    }
    return lines;
}

} // namespace design
