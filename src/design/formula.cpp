#include "design/formula.h"

#include "design/calculator.h"
#include "design/formulatext.h"

#include <limits>
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

namespace {

float noValue(bool *stepFailed)
{
    if (stepFailed)
        *stepFailed = true;
    return std::numeric_limits<float>::quiet_NaN();
}

} // namespace

float EvalFormula(QStringView expr, MacroTable &table, bool *stepFailed)
{
    table.prepare();
    if (expr.size() > text::kMaxTextLength)
        return noValue(stepFailed);
    Cal cal;
    qsizetype work = 0;
    if (table.m_fastCase && text::isFastCase(expr)) {
        // The plain steps on one buffer: each Replace upper-cases the text it gets, which here
        // means upper-casing whatever the previous replacement put in.
        text::Buffer s;
        text::setUpper(s, expr);
        for (qsizetype i = 0; i < table.m_entries.size(); ++i) {
            const MacroTable::Entry &e = table.m_entries[i];
            const MacroTable::Prepared &p = table.m_prepared[i];
            if ((work += s.size()) > text::kMaxWork)
                return noValue(stepFailed);
            const qsizetype n = text::replaceAll(s, e.name, e.value, p.mode);
            if (n == text::kTooLong)
                return noValue(stepFailed);
            if (n > 0 && !p.valueIsUpper)
                text::upperFastCase(s);
        }
        const float v = cal.CalExpress(text::view(s));
        if (stepFailed)
            *stepFailed = cal.stepFailed();
        return v;
    }
    QString s = expr.toString();
    for (MacroTable::Entry &e : table.m_entries) {
        if ((work += s.size()) > text::kMaxWork)
            return noValue(stepFailed);
        s = cal.Replace(s, e.name, e.value);
        if (cal.textTooLong())
            return noValue(stepFailed);
    }
    const float v = cal.CalExpress(s);
    if (stepFailed)
        *stepFailed = cal.stepFailed();
    return v;
}

} // namespace design
