#include "design/formula.h"

#include "design/calculator.h"
#include "design/formulatext.h"

#include <utility>

namespace design {

void SortMacrosByNameLength(MacroTable &table)
{
    QList<MacroTable::Entry> &e = table.m_entries;
    for (MacroTable::Entry &entry : e) {
        entry.name = text::trimBlanks(entry.name);
        entry.value = text::trimBlanks(entry.value);
    }
    for (qsizetype i = 0; i + 1 < e.size(); ++i) {
        for (qsizetype j = i + 1; j < e.size(); ++j) {
            if (e[j].name.size() > e[i].name.size())
                std::swap(e[i], e[j]);
        }
    }
    table.invalidate();
}

float EvalFormula(QStringView expr, MacroTable &table, bool *stepFailed)
{
    table.prepare();
    Cal cal;
    if (table.m_fastCase && text::isFastCase(expr)) {
        // The plain steps on one buffer: each Replace upper-cases the text it gets, which here
        // means upper-casing whatever the previous replacement put in.
        text::Buffer s;
        text::setUpper(s, expr);
        for (qsizetype i = 0; i < table.m_entries.size(); ++i) {
            const MacroTable::Entry &e = table.m_entries[i];
            const MacroTable::Prepared &p = table.m_prepared[i];
            if (text::replaceAll(s, e.name, e.value, p.mode) > 0 && !p.valueIsUpper)
                text::upperFastCase(s);
        }
        const float v = cal.CalExpress(text::view(s));
        if (stepFailed)
            *stepFailed = cal.stepFailed();
        return v;
    }
    QString s = expr.toString();
    for (MacroTable::Entry &e : table.m_entries)
        s = cal.Replace(s, e.name, e.value);
    const float v = cal.CalExpress(s);
    if (stepFailed)
        *stepFailed = cal.stepFailed();
    return v;
}

} // namespace design
