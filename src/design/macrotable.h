#pragma once
#include <QList>
#include <QString>
#include <QStringView>

namespace design {

namespace text {
enum class ReplaceMode : quint8;
}

// The named dimensions of one window: the dimension labels of its type's drawing, each
// with the value the user gave it for this window and the label's drawing position. Fill it, call
// SortMacrosByNameLength once, then call EvalFormula for every formula of the window's bill; the
// table keeps what EvalFormula needs to know about its entries until an entry changes.
class MacroTable
{
public:
    struct Entry
    {
        QString name;
        QString value;  // decimal text, put into formulas exactly as it stands
        float x = 0;
        float y = 0;
    };

    void append(const QString &name, const QString &value, float x = 0, float y = 0);
    void clear();
    void setName(qsizetype i, const QString &name);
    void setValue(qsizetype i, const QString &value);

    qsizetype count() const { return m_entries.size(); }
    // The index of the last entry, -1 for an empty table.
    qsizetype last() const { return m_entries.size() - 1; }
    const Entry &at(qsizetype i) const { return m_entries.at(i); }
    const QList<Entry> &entries() const { return m_entries; }

private:
    friend void SortMacrosByNameLength(MacroTable &table);
    friend float EvalFormula(QStringView expr, MacroTable &table, bool *stepFailed);
    friend class FormulaBook;

    struct Prepared
    {
        text::ReplaceMode mode;
        bool valueIsUpper;  // the value needs no upper-casing after it has been put in
    };

    void invalidate()
    {
        m_ready = false;
        ++m_revision;
    }
    // Upper-cases the names (EvalFormula's side effect on the caller's names) and works out how each
    // entry is replaced; does nothing when the entries have not changed since the last time.
    void prepare();

    QList<Entry> m_entries;
    QList<Prepared> m_prepared;
    bool m_ready = false;
    bool m_fastCase = false;  // every name and value passes text::isFastCase
    quint64 m_revision = 0;   // counts the changes of the entries
};

} // namespace design
