#include "design/macrotable.h"

#include "design/formulatext.h"

namespace design {

void MacroTable::append(const QString &name, const QString &value, float x, float y)
{
    m_entries.append(Entry{name, value, x, y});
    invalidate();
}

void MacroTable::clear()
{
    m_entries.clear();
    invalidate();
}

void MacroTable::setName(qsizetype i, const QString &name)
{
    m_entries[i].name = name;
    invalidate();
}

void MacroTable::setValue(qsizetype i, const QString &value)
{
    m_entries[i].value = value;
    invalidate();
}

void MacroTable::prepare()
{
    if (m_ready)
        return;
    m_prepared.resize(m_entries.size());
    m_fastCase = true;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        Entry &e = m_entries[i];
        e.name = e.name.toUpper();
        m_prepared[i] = Prepared{text::replaceMode(e.name, e.value), e.value == e.value.toUpper()};
        m_fastCase = m_fastCase && text::isFastCase(e.name) && text::isFastCase(e.value);
    }
    m_ready = true;
}

} // namespace design
