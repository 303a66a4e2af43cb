#pragma once
// The two cutting schemes and their containers, as pure computations: pieces in, plan rows and
// the notices to show out. The store writes the rows; the windows show the notices.
#include <QList>
#include <QString>
#include <span>
#include <vector>

namespace optimise {

// The settings a run cuts with, handed down by the window that starts it.
struct CutSettings
{
    int clc = 0;  // bar length
    int ltc = 0;  // end allowance, once per piece
    int ckk = 0;  // kerf, twice per piece
    float yhbl = 1.0f;
    qint16 scheme = 0; // 0 scheme one, 1 scheme two
};

// What the user is told when the bar length is not set, so that nothing can be cut; empty when
// it is set. Bar length, end allowance and kerf all start at 0.
QString barLengthNotice(const CutSettings &s);

// One row of the piece query: net length and quantity as stored.
struct LengthQty
{
    double length = 0;
    double quantity = 0;
};

// One row of 优化结果.
struct PlanRow
{
    QString material;
    QString pattern;
    qint64 bars = 1;
    double ratio = 0;   // scheme one: fraction; scheme two: percentage
    double remain = 0;  // offcut in mm
};

// A message the run asks to show, in the order met.
struct CutNotice
{
    enum class Kind {
        Plain,       // OK button, no icon, the application's title
        Exclamation, // title "提示"
        Critical     // title "出错"
    };
    Kind kind = Kind::Plain;
    QString text;
};

struct CutResult
{
    QList<PlanRow> rows;
    QList<CutNotice> notices;
};

// Largest piece length (a 16-bit field).
inline constexpr int kMaxPieceValue = 32767;
// Largest number of pieces of one material: a large job holds far more than 16 bits count, and
// scheme two keeps every piece as its own value, so the bound only guards memory.
inline constexpr int kMaxPieceCount = 16'777'215;

// Net length + LTC + 2 x CKK rounded half to even; false when it does not fit 16 bits.
bool cutLength(double netLength, const CutSettings &s, int *out);

// ---- Scheme two's containers ----------------------------------------------------------------

// One entry of a cutting pattern.
struct YHRecord
{
    int length = 0;     // cut length
    int count = 0;      // pieces of that length in the pattern
    int available = 0;  // pieces of that length still in the piece table
};
using YHPattern = QList<YHRecord>;

// Ascending multiset of piece lengths with 1-based ranks, kept as runs of one length: a large job
// holds tens of thousands of pieces of a few lengths. Values must be added shortest first.
class CTable
{
public:
    struct Run
    {
        int value = 0;
        int count = 0;
    };
    // False (value ignored) when the table already holds kMaxPieceCount values.
    bool AddItem(int value);
    // `count` values at once; false (nothing added) beyond kMaxPieceCount. A count below 1 adds none.
    bool AddItems(int value, int count);
    int GetCount() const { return m_count; }
    std::span<const Run> Runs() const { return m_runs; }
    int GetItemValue(int rank) const;  // -1 outside 1..count
    int GetMaxValue() const { return m_runs.empty() ? 0 : m_runs.back().value; }
    int GetMinValue() const { return m_runs.empty() ? 0 : m_runs.front().value; }
    // The total of all values, or `limit` as soon as the running sum reaches it.
    int GetTotalValue(int limit) const;
    // Lowest rank holding the value; 0 when absent.
    int Locate(int value) const;
    int GetValueCount(int value) const;
    // Removes entries 1..n of the pattern, each as many times as its count (as far as present).
    void DeleteList(const YHPattern &pattern, int n);
    void ClearAll()
    {
        m_runs.clear();
        m_count = 0;
    }

private:
    std::vector<Run> m_runs;
    int m_count = 0;
};

// A search-stack item: running sum and the rank of the last piece decided; `own` is the rank of the
// piece the item itself took (0 for the base item).
struct StackItem
{
    int sum = 0;
    int index = 0;
    int own = 0;
};

// Turns the stack's running sums into pattern entries by run lengths of successive differences;
// a leading zero-length entry (the base item) is dropped.
YHPattern StackSetToYHArray(std::span<const StackItem> stack);

// Outcome of one pattern search.
struct PatternSearch
{
    int result = 0;    // -1 data error (notice given), 0 pattern found, 1 all values fit one bar
    YHPattern pattern;
    float ratio = 0;   // utilisation
    float remain = 0;  // offcut
};
PatternSearch FindBestYHPattern(int cap, float yhbl, const CTable &table, QList<CutNotice> *notices);

// "800+1200*2": net lengths shortest first, "*count" when the count is above 1.
QString GetYHPatternText(const YHPattern &pattern, const CutSettings &s);

// ---- Scheme one's list ----------------------------------------------------------------------

// (cut length, count) nodes kept longest first.
class CTable02
{
public:
    struct Node
    {
        int length = 0;
        int count = 0;
    };
    void AddNew(int length, int count) { m_nodes.push_back({length, count}); }
    int Count() const { return int(m_nodes.size()); }
    void Clear() { m_nodes.clear(); }
    Node Retrive(int node) const { return m_nodes.at(size_t(node - 1)); }
    void Update(int count, int node) { m_nodes[size_t(node - 1)].count = count; }
    void Remove(int node) { m_nodes.erase(m_nodes.begin() + (node - 1)); }
    // The first node (1-based) whose length fits `remaining`; 0 when none fits; -1 with a notice when
    // the shortest length is longer than the bar ("过大：") or not above zero ("异常值：").
    int FindJustFor(int remaining, int clc, QList<CutNotice> *notices) const;

private:
    std::vector<Node> m_nodes;
};

// ---- The schemes ----------------------------------------------------------------------------

// Scheme one: greedy bar by bar, one row per bar with 数量 1. `rows` grouped by length, longest first.
CutResult OptimiseYH1(const QString &name, const QList<LengthQty> &rows, const CutSettings &s);
// Scheme two: best pattern by depth-first search, one row per pattern with its number of bars.
// `rows` in any order: the pieces are sorted by cut length first.
CutResult OptimiseYH2(const QList<LengthQty> &rows, const CutSettings &s, const QString &name);

} // namespace optimise
