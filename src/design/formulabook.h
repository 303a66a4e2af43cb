#pragma once
#include "design/calculator.h"
#include "design/macrotable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace design {

// Formulas read once per sequence of names, for a run that evaluates the same bill formulas for many
// windows (the component sheets of a job, say): each window then only puts its values into them.
// Results are EvalFormula's to the bit. A table whose values could change what a name finds in a
// formula (a value that is not digits and points alone, or one holding a character of a name
// replaced after it) is evaluated by EvalFormula itself.
// The run owns the book; it keeps every formula it has met until it goes.
class FormulaBook
{
    struct Prepared;
    struct NameSet;

public:
    FormulaBook();
    ~FormulaBook();
    FormulaBook(const FormulaBook &) = delete;
    FormulaBook &operator=(const FormulaBook &) = delete;

    // The formulas of one table through the book. The book and the table must outlive it; a change
    // made through the table's own functions is taken in at the next evaluation.
    class Bound
    {
    public:
        // EvalFormula(expr, table, stepFailed), with its side effect on the table's names.
        float eval(const QString &expr, bool *stepFailed = nullptr);

    private:
        friend class FormulaBook;
        Bound(FormulaBook &book, MacroTable &table);
        void bind();

        FormulaBook *m_book;
        MacroTable *m_table;
        quint64 m_revision = 0;
        NameSet *m_names = nullptr;  // null: every formula goes through EvalFormula
        QList<Token> m_tokens;       // what each value reads as
        QStringList m_values;
    };

    Bound bind(MacroTable &table) { return Bound(*this, table); }

private:
    NameSet &namesOf(const QStringList &names);
    static Prepared prepare(const QStringList &names, const QString &expr);

    std::vector<std::unique_ptr<NameSet>> m_sets;
    QHash<QStringList, NameSet *> m_index;
};

} // namespace design
