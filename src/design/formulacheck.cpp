#include "design/formulacheck.h"

#include "design/formula.h"
#include "drawing/cpictire.h"
#include "platform/numtext.h"

#include <algorithm>
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

// Where the evaluator puts the labels' values into a formula: the labels it replaces, and the first
// place where a value would run on into the letters, digits or point beside it, or into the value
// of the next label, with the word that runs on and the label inside it.
struct LabelUse
{
    QStringList used; // upper-cased names
    QString word;
    QString label;
};

LabelUse labelUse(const QString &formula, const MacroTable &sortedLabels)
{
    // Each replaced occurrence is marked, so that a shorter name is not found inside it again: the
    // first character of an occurrence by kStart, the rest by kRest.
    constexpr QChar kStart(0x01), kRest(0x02);
    const QString upper = formula.toUpper();
    QString marked = upper;
    struct Occurrence
    {
        qsizetype at, length;
        QString name;
    };
    QList<Occurrence> found;
    LabelUse use;
    for (const MacroTable::Entry &e : sortedLabels.entries()) {
        const QString name = e.name.trimmed().toUpper();
        if (name.isEmpty())
            continue;
        for (qsizetype at = marked.indexOf(name); at >= 0; at = marked.indexOf(name, at + name.size())) {
            found << Occurrence{at, name.size(), name};
            marked[at] = kStart;
            for (qsizetype i = 1; i < name.size(); ++i)
                marked[at + i] = kRest;
            if (!use.used.contains(name))
                use.used << name;
        }
    }
    const auto joins = [&](QChar c) { return c.isLetterOrNumber() || c == u'.' || c == kStart || c == kRest; };
    std::sort(found.begin(), found.end(), [](const Occurrence &x, const Occurrence &y) { return x.at < y.at; });
    for (const Occurrence &o : std::as_const(found)) {
        const qsizetype end = o.at + o.length;
        const bool before = o.at > 0 && joins(marked[o.at - 1]);
        const bool after = end < marked.size() && joins(marked[end]);
        if (!before && !after)
            continue;
        qsizetype from = o.at, to = end;
        while (from > 0 && joins(marked[from - 1]))
            --from;
        while (to < marked.size() && joins(marked[to]))
            ++to;
        use.word = upper.mid(from, to - from);
        use.label = o.name;
        break;
    }
    return use;
}

// The cells that hold a length: 计算公式 of profiles and steel, 长公式 and 宽公式 of panels.
bool isLengthCell(BillKind kind, int column)
{
    return kind == BillKind::Panel ? (column == 2 || column == 3) : (kind != BillKind::Fitting && column == 3);
}

// With the lengths the drawing gives the labels of the formula: the problem of a length of zero or
// less, "" otherwise and when a label of the formula has no length on the drawing.
QString lengthProblem(const QString &formula, const QStringList &used, const DrawingLabelSet &labels)
{
    MacroTable table;
    QStringList shown;
    for (const QString &name : used) {
        const auto length = labels.lengths.constFind(name);
        if (length == labels.lengths.cend())
            return {};
        table.append(name, *length);
        shown << name + u'=' + *length;
    }
    SortMacrosByNameLength(table);
    bool failed = false;
    const float value = EvalFormula(formula, table, &failed);
    if (failed || !(value <= 0))
        return {};
    const QString values = shown.isEmpty() ? QString() : u"按图中尺寸"_s + shown.join(u'，') + u"，"_s;
    return values + u"长度为%1，不大于0"_s.arg(platform::generalSingle(value));
}

} // namespace

QList<FormulaWarning> checkBillFormulas(const Bill &bill, const DrawingLabelSet &labels)
{
    MacroTable table = labels.table;
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
                const LabelUse use = labelUse(formula, table);
                if (!balanced(formula))
                    problem = u"括号不成对"_s;
                else if (!use.word.isEmpty())
                    problem = u"“%1”不是图中的标注，其中的“%2”会被换成它的值"_s.arg(use.word, use.label);
                else if (const QString name = unknownName(formula, table); !name.isEmpty())
                    problem = u"“%1”既不是函数也不是图中的标注"_s.arg(name);
                else if (bool failed = false; (EvalFormula(formula, table, &failed), failed))
                    problem = u"计算结果不是有限数"_s;
                else if (isLengthCell(kind, c))
                    problem = lengthProblem(formula, use.used, labels);
                if (!problem.isEmpty())
                    out << FormulaWarning{kind, r, formula, problem};
            }
        }
    }
    return out;
}

std::optional<DrawingLabelSet> drawingLabelSet(const QString &drawingNumber, QString *error)
{
    DrawingLabelSet labels;
    if (drawingNumber.trimmed().isEmpty())
        return labels;
    const std::shared_ptr<const drawing::DrawingLists> lists = drawing::loadLibraryDrawing(drawingNumber, error);
    if (!lists)
        return std::nullopt;
    for (int i = 0; i <= lists->StringLast; ++i) {
        const drawing::TextEntity &t = lists->StringArr[size_t(i)];
        labels.table.append(t.text, u"0"_s, t.P1.X, t.P1.Y);
        const QString name = t.text.trimmed().toUpper();
        if (const std::optional<float> length = drawing::labelledLength(*lists, t.P1); length && !name.isEmpty())
            labels.lengths.insert(name, platform::generalSingle(std::round(*length)));
    }
    return labels;
}

QList<FormulaWarning> checkTypeBillFormulas(qint64 typeId, const Bill &bill)
{
    const std::optional<DoorType> type = TypeStore().type(typeId);
    return checkBillFormulas(bill, drawingLabelSet(type ? type->drawingNumber : QString()).value_or(DrawingLabelSet()));
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
            checkBillFormulas(t.bill, drawingLabelSet(number).value_or(DrawingLabelSet()));
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
