#include "design/formulabook.h"

#include "design/formula.h"
#include "design/formulatext.h"

#include <limits>

namespace design {

struct FormulaBook::Prepared
{
    // How often the name of one entry occurs in the formula.
    struct Use
    {
        qsizetype entry;
        qsizetype count;
        qsizetype nameLength;
    };

    bool plain = true;  // the formula goes through EvalFormula
    qsizetype length = 0;
    QList<Use> uses;  // by entry
    CalProgram program;
};

struct FormulaBook::NameSet
{
    QStringList names;
    QHash<QString, Prepared> formulas;
};

namespace {

bool isSlot(QChar c)
{
    return c.unicode() >= CalProgram::kFirstSlot && c.unicode() < CalProgram::kFirstSlot + CalProgram::kSlots;
}

// 0..9 for the digits, 10 for the point, -1 for any other character.
int digitBit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    return c == u'.' ? 10 : -1;
}

} // namespace

FormulaBook::FormulaBook() = default;
FormulaBook::~FormulaBook() = default;

FormulaBook::NameSet &FormulaBook::namesOf(const QStringList &names)
{
    if (NameSet *known = m_index.value(names))
        return *known;
    m_sets.push_back(std::make_unique<NameSet>());
    NameSet &set = *m_sets.back();
    set.names = names;
    m_index.insert(names, &set);
    return set;
}

FormulaBook::Bound::Bound(FormulaBook &book, MacroTable &table) : m_book(&book), m_table(&table)
{
    bind();
}

void FormulaBook::Bound::bind()
{
    m_table->prepare();
    m_revision = m_table->m_revision;
    m_names = nullptr;
    m_tokens.clear();
    m_values.clear();
    const QList<MacroTable::Entry> &entries = m_table->m_entries;
    // The names are found in the formula's own characters alone when no name holds a slot character
    // or a character of a value put in before it or in its own place (which also leaves every
    // replacement a single pass). Values of digits and points need no upper-casing.
    bool prepared = m_table->m_fastCase && entries.size() <= CalProgram::kSlots;
    unsigned seen = 0;  // digitBit of every character of the values so far
    QStringList names;
    for (qsizetype i = 0; prepared && i < entries.size(); ++i) {
        const MacroTable::Entry &e = entries[i];
        names << e.name;
        m_values << e.value;
        m_tokens << numberToken(e.value);
        if (e.name.isEmpty())
            continue;  // replaces nothing
        prepared = !e.value.isEmpty();
        for (const QChar c : e.value) {
            const int bit = digitBit(c);
            prepared = prepared && bit >= 0;
            seen |= bit >= 0 ? 1u << bit : 0u;
        }
        for (const QChar c : e.name) {
            const int bit = digitBit(c);
            prepared = prepared && !isSlot(c) && (bit < 0 || !(seen & (1u << bit)));
        }
    }
    if (prepared)
        m_names = &m_book->namesOf(names);
}

// The formula read for `names` (upper case, in table order) with a slot character in place of each
// occurrence a name finds.
FormulaBook::Prepared FormulaBook::prepare(const QStringList &names, const QString &expr)
{
    Prepared p;
    p.length = expr.size();
    if (expr.size() > text::kMaxTextLength || !text::isFastCase(expr))
        return p;
    for (const QChar c : expr) {
        if (isSlot(c))
            return p;
    }
    text::Buffer s;
    text::setUpper(s, expr);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QChar slot(char16_t(CalProgram::kFirstSlot + i));
        // No name holds a slot character, so what a name finds lies in the formula's text alone.
        const qsizetype n = text::replaceOnePass(s, names[i], QStringView(&slot, 1));
        if (n > 0)
            p.uses << Prepared::Use{i, n, names[i].size()};
    }
    p.program = Cal::Prepare(std::move(s));
    p.plain = false;
    return p;
}

float FormulaBook::Bound::eval(const QString &expr, bool *stepFailed)
{
    if (m_table->m_revision != m_revision)
        bind();
    if (!m_names || expr.size() > text::kMaxTextLength)
        return EvalFormula(expr, *m_table, stepFailed);
    auto it = m_names->formulas.constFind(expr);
    if (it == m_names->formulas.constEnd())
        it = m_names->formulas.insert(expr, prepare(m_names->names, expr));
    const Prepared &p = *it;
    if (p.plain)
        return EvalFormula(expr, *m_table, stepFailed);

    // EvalFormula's bounds: the text's length after each replacement, the characters read in all.
    qsizetype length = p.length;
    qsizetype work = 0;
    qsizetype next = 0;  // the first entry whose search is not counted yet
    bool bounded = true;
    for (const Prepared::Use &u : p.uses) {
        work += length * (u.entry - next + 1);
        next = u.entry + 1;
        const qsizetype growth = m_values[u.entry].size() - u.nameLength;
        if (growth > 0 && length + u.count * growth > text::kMaxTextLength) {
            bounded = false;
            break;
        }
        length += u.count * growth;
    }
    work += length * (m_values.size() - next);
    if (!bounded || work > text::kMaxWork) {
        if (stepFailed)
            *stepFailed = true;
        return std::numeric_limits<float>::quiet_NaN();
    }
    Cal cal;
    const float v = cal.Run(p.program, m_tokens, m_values);
    if (stepFailed)
        *stepFailed = cal.stepFailed();
    return v;
}

} // namespace design
