#include "yhcut.h"

#include "platform/numtext.h"

#include <QHash>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <iterator>
#include <functional>
#include <limits>

using namespace Qt::StringLiterals;

namespace optimise {

QString barLengthNotice(const CutSettings &s)
{
    if (s.clc > 0)
        return {};
    return u"材料长度未设置，请先在“选项设置”中设定材料长度。"_s;
}

bool cutLength(double netLength, const CutSettings &s, int *out)
{
    const auto v = platform::roundHalfEven(netLength + s.ltc + 2.0 * s.ckk, -kMaxPieceValue - 1, kMaxPieceValue);
    if (!v)
        return false;
    *out = int(*v);
    return true;
}

namespace {
int netOf(int cut, const CutSettings &s)
{
    return cut - 2 * s.ckk - s.ltc;
}

const QString kOverflow = u"内存溢出！"_s;

CutNotice notice(CutNotice::Kind kind, const QString &text)
{
    return {kind, text};
}

// A grouped or single quantity as a whole number of pieces; false beyond kMaxPieceCount.
bool pieceCount(double quantity, int *out)
{
    const auto v = platform::roundHalfEven(quantity, -kMaxPieceCount - 1, kMaxPieceCount);
    if (!v)
        return false;
    *out = int(*v);
    return true;
}
} // namespace

// ---- CTable ---------------------------------------------------------------------------------

bool CTable::AddItem(int value)
{
    return AddItems(value, 1);
}

bool CTable::AddItems(int value, int count)
{
    if (count < 1)
        return true;
    if (qint64(m_count) + count > kMaxPieceCount)
        return false;
    if (!m_runs.empty() && m_runs.back().value == value)
        m_runs.back().count += count;
    else
        m_runs.push_back({value, count});
    m_count += count;
    return true;
}

int CTable::GetItemValue(int rank) const
{
    if (rank < 1 || rank > m_count)
        return -1;
    for (const Run &r : m_runs) {
        if (rank <= r.count)
            return r.value;
        rank -= r.count;
    }
    return -1;
}

int CTable::GetTotalValue(int limit) const
{
    // Within a run the running sum moves one way only: it reaches the limit inside the run exactly
    // when it has reached it at the run's end.
    qint64 sum = 0;
    for (const Run &r : m_runs) {
        sum += qint64(r.value) * r.count;
        if (sum >= limit)
            return limit;
    }
    return int(sum);
}

namespace {
// The index of the first run not shorter than value.
size_t runOf(const std::vector<CTable::Run> &runs, int value)
{
    return size_t(std::lower_bound(runs.begin(), runs.end(), value,
                                   [](const CTable::Run &r, int v) { return r.value < v; })
                  - runs.begin());
}
} // namespace

int CTable::Locate(int value) const
{
    int rank = 1;
    for (const Run &r : m_runs) {
        if (r.value == value)
            return rank;
        if (r.value > value)
            return 0;
        rank += r.count;
    }
    return 0;
}

int CTable::GetValueCount(int value) const
{
    const size_t i = runOf(m_runs, value);
    return i < m_runs.size() && m_runs[i].value == value ? m_runs[i].count : 0;
}

void CTable::DeleteList(const YHPattern &pattern, int n)
{
    for (int k = 0; k < n && k < pattern.size(); ++k) {
        const YHRecord &e = pattern.at(k);
        const auto it = m_runs.begin() + ptrdiff_t(runOf(m_runs, e.length));
        if (it == m_runs.end() || it->value != e.length)
            continue;
        const int take = std::min(std::max(e.count, 0), it->count);
        it->count -= take;
        m_count -= take;
        if (it->count == 0)
            m_runs.erase(it);
    }
}

YHPattern StackSetToYHArray(std::span<const StackItem> stack)
{
    YHPattern out;
    if (stack.empty())
        return out;
    out.reserve(qsizetype(stack.size()));
    out.append({stack.front().sum, 1, 0});
    for (size_t i = 1; i < stack.size(); ++i) {
        const int d = stack[i].sum - stack[i - 1].sum;
        if (d == out.last().length)
            ++out.last().count;
        else
            out.append({d, 1, 0});
    }
    if (out.first().length == 0)
        out.removeFirst();
    return out;
}

namespace {
// Room for a few values in place, more on the heap: a run's searches take twenty values at most.
template <typename T, size_t N>
class Scratch
{
public:
    std::span<T> take(size_t n)
    {
        if (n <= N)
            return std::span<T>(m_inPlace.data(), n);
        m_heap.resize(n);
        return m_heap;
    }

private:
    std::array<T, N> m_inPlace{};
    std::vector<T> m_heap;
};

// The depth-first walk of the pattern search over ascending values: take before skip, each node
// weighed once everything below it is done; only a greater sum replaces the best, and the walk
// ends on the first node whose ratio reaches yhbl. `above[i]` is the sum of values[i..];
// the stacks have room for every value and two more.
void walkPatterns(std::span<const int> values, std::span<const qint64> above, int cap, float yhbl,
                  std::span<StackItem> stack, std::span<StackItem> bestStack, PatternSearch *out)
{
    const int n = int(values.size());
    int best = 0;
    size_t bestDepth = 0;
    size_t depth = 0;
    stack[depth++] = {0, 1, 0};
    StackItem current{values[0], 1, 1};
    for (;;) {
        stack[depth++] = current;
        for (;;) {
            if (depth == 0) {
                out->result = 0;
                out->pattern = StackSetToYHArray(bestStack.first(bestDepth));
                return;
            }
            StackItem &t = stack[depth - 1];
            // After a piece was tried here, a next piece of the same length would only repeat its
            // subtree (same sums, same patterns, each met later), so it is passed over. Nothing
            // found changes: the first pattern of every sum lies in the subtree already searched.
            if (t.index != t.own)
                while (t.index < n && values[size_t(t.index)] == values[size_t(t.index - 1)])
                    ++t.index;
            // A subtree that cannot go above the best sum changes nothing: only a greater sum
            // replaces the best, and a sum no greater than it is below the ratio asked for (else
            // the walk would have ended on the best).
            if (t.index < n && std::min<qint64>(cap, t.sum + above[size_t(t.index)]) <= best)
                t.index = n;
            if (t.index == n) {
                if (t.sum > best) {
                    best = t.sum;
                    out->remain = float(cap - best);
                    std::copy_n(stack.begin(), depth, bestStack.begin());
                    bestDepth = depth;
                }
                out->ratio = float(t.sum) / float(cap);
                if (out->ratio >= yhbl) {
                    out->remain = float(cap - t.sum);
                    out->result = 0;
                    out->pattern = StackSetToYHArray(bestStack.first(bestDepth));
                    return;
                }
                --depth;
                continue;
            }
            const int next = t.sum + values[size_t(t.index)];
            ++t.index;
            if (next <= cap) {
                current = {next, t.index, t.index};
                break;
            }
            t.index = n;
        }
    }
}
} // namespace

PatternSearch FindBestYHPattern(int cap, float yhbl, const CTable &table, QList<CutNotice> *notices)
{
    PatternSearch out;
    const int n = table.GetCount();
    if (table.GetMaxValue() > cap) {
        notices->append(notice(CutNotice::Kind::Exclamation,
                               u"在数据检查时发现值:"_s + QString::number(table.GetMaxValue()) + u"大于根长度!"_s));
        out.result = -1;
        return out;
    }
    if (table.GetMinValue() < 0) {
        notices->append(notice(CutNotice::Kind::Exclamation,
                               u"在数据检查时发现值:"_s + QString::number(table.GetMinValue()) + u"为负值!"_s));
        out.result = -1;
        return out;
    }
    // A piece of no length would never leave the table: the search drops it from its patterns.
    if (n == 0 || table.GetMinValue() == 0) {
        notices->append(notice(CutNotice::Kind::Exclamation, u"在数据检查时发现值:0不大于零!"_s));
        out.result = -1;
        return out;
    }
    const int total = table.GetTotalValue(cap);
    if (total < cap) {
        out.result = 1;
        for (const CTable::Run &r : table.Runs())
            out.pattern.append({r.value, r.count, 0});
        out.ratio = float(total) / float(cap);
        out.remain = float(cap - total);
        return out;
    }

    // The values one by one, with the sum of each rank and all ranks above it: what a subtree
    // could still add at most.
    Scratch<int, 32> valueRoom;
    Scratch<qint64, 33> aboveRoom;
    Scratch<StackItem, 34> stackRoom, bestRoom;
    const std::span<int> values = valueRoom.take(size_t(n));
    const std::span<qint64> above = aboveRoom.take(size_t(n) + 1);
    size_t at = 0;
    for (const CTable::Run &r : table.Runs())
        for (int i = 0; i < r.count; ++i)
            values[at++] = r.value;
    above[size_t(n)] = 0;
    for (size_t i = size_t(n); i-- > 0;)
        above[i] = above[i + 1] + values[i];
    walkPatterns(values, above, cap, yhbl, stackRoom.take(size_t(n) + 2), bestRoom.take(size_t(n) + 2), &out);
    return out;
}

namespace {
// A pattern's text as it is put together: one allocation for the finished text only.
using TextBuffer = QVarLengthArray<char16_t, 128>;

// Appends the decimal digits of v, as QString::number writes them.
void appendNumber(TextBuffer &out, qint64 v)
{
    char16_t digits[24];
    char16_t *end = digits + std::size(digits);
    char16_t *p = end;
    const bool negative = v < 0;
    quint64 u = negative ? quint64(0) - quint64(v) : quint64(v);
    do {
        *--p = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative)
        *--p = u'-';
    out.append(p, end - p);
}

// "1200*2": a net length and, above one, its count.
void appendPart(TextBuffer &out, int net, qint64 count)
{
    appendNumber(out, net);
    if (count > 1) {
        out.append(u'*');
        appendNumber(out, count);
    }
}

QString textOf(const TextBuffer &b)
{
    return QString(reinterpret_cast<const QChar *>(b.constData()), b.size());
}
} // namespace

QString GetYHPatternText(const YHPattern &pattern, const CutSettings &s)
{
    TextBuffer out;
    for (const YHRecord &e : pattern) {
        if (!out.isEmpty())
            out.append(u'+');
        appendPart(out, netOf(e.length, s), e.count);
    }
    return textOf(out);
}

// ---- CTable02 -------------------------------------------------------------------------------

int CTable02::FindJustFor(int remaining, int clc, QList<CutNotice> *notices) const
{
    if (m_nodes.empty())
        return 0;
    const int tail = m_nodes.back().length;
    if (tail > clc) {
        notices->append(notice(CutNotice::Kind::Plain, u"过大："_s + QString::number(tail)));
        return -1;
    }
    // Zero included: a piece of no length would be taken without end.
    if (tail <= 0) {
        notices->append(notice(CutNotice::Kind::Plain, u"异常值："_s + QString::number(tail)));
        return -1;
    }
    if (remaining < tail)
        return 0;
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].length <= remaining)
            return int(i) + 1;
    return 0;
}

// ---- Scheme one -----------------------------------------------------------------------------

CutResult OptimiseYH1(const QString &name, const QList<LengthQty> &rows, const CutSettings &s)
{
    CutResult out;
    CTable02 list;
    for (const LengthQty &row : rows) {
        int length = 0;
        int count = 0;
        if (!cutLength(row.length, s, &length) || !pieceCount(row.quantity, &count)) {
            out.notices.append(notice(CutNotice::Kind::Critical, kOverflow));
            return out;
        }
        // A length with no pieces, or fewer than none, would put pieces into bars that are not
        // there (or give length back to the bar): the material is not cut at all.
        if (count <= 0) {
            out.notices.append(notice(CutNotice::Kind::Plain, u"异常值："_s + QString::number(count)));
            return out;
        }
        list.AddNew(length, count);
    }

    // The bar being cut: its text, what is left of it, and the nodes it took from with how many
    // pieces, while every one of them kept pieces in the list.
    struct Take
    {
        int node = 0;
        int pieces = 0;
    };
    std::vector<Take> takes;
    bool nodesKept = true;
    int remaining = s.clc;
    TextBuffer text;
    // Bars that leave the same offcut have the same ratio: each is worked out once.
    QHash<int, double> ratios;
    auto writeBar = [&] {
        text.removeLast();
        auto ratio = ratios.constFind(remaining);
        if (ratio == ratios.constEnd())
            ratio = ratios.insert(remaining, platform::generalValue(double(s.clc - remaining) / double(s.clc), 15));
        out.rows.append({name, textOf(text), 1, *ratio, double(remaining)});
    };
    auto nextBar = [&] {
        remaining = s.clc;
        text.clear();
        takes.clear();
        nodesKept = true;
    };
    // A bar that left every node it took from with more pieces than it took meets, in the next bar,
    // the same lengths in the same order and takes the same again: such bars are written at once,
    // as long as each of those nodes keeps a piece more than a bar takes. The rest go the long way.
    auto repeatBar = [&] {
        if (!nodesKept || takes.empty())
            return;
        int again = std::numeric_limits<int>::max();
        for (const Take &t : takes)
            again = std::min(again, (list.Retrive(t.node).count - 1) / t.pieces);
        if (again <= 0)
            return;
        for (const Take &t : takes)
            list.Update(list.Retrive(t.node).count - again * t.pieces, t.node);
        const PlanRow bar = out.rows.last();
        out.rows.reserve(out.rows.size() + again);
        for (int i = 0; i < again; ++i)
            out.rows.append(bar);
    };
    auto take = [&](int length, int pieces) {
        appendPart(text, netOf(length, s), pieces);
        text.append(u'+');
    };
    while (list.Count() != 0) {
        const int node = list.FindJustFor(remaining, s.clc, &out.notices);
        if (node == -1) {
            list.Clear();
            break;
        }
        if (node == 0) {
            if (text.isEmpty())
                break;
            writeBar();
            repeatBar();
            nextBar();
            continue;
        }
        const CTable02::Node n = list.Retrive(node);
        const int fit = remaining / n.length;
        if (fit >= n.count) {
            remaining -= n.length * n.count;
            take(n.length, n.count);
            list.Remove(node);
            nodesKept = false;
        } else {
            remaining -= n.length * fit;
            take(n.length, fit);
            list.Update(n.count - fit, node);
            takes.push_back({node, fit});
        }
    }
    if (!text.isEmpty())
        writeBar();
    return out;
}

// ---- Scheme two -----------------------------------------------------------------------------

namespace {
// The utilisation in per cent with two decimals, as the double nearest to that decimal value
// (97.83, not the single-precision 97.82999).
double ratioPercent(float ratio)
{
    const auto r4 = platform::roundHalfEven(double(ratio) * 10000.0, -(qint64(1) << 40), qint64(1) << 40);
    return double(r4.value_or(0)) / 100.0;
}

// Finds one pattern in `search`, writes its row and removes its pieces from `pieces`. False when the
// material is to be abandoned.
bool CutYHPattern(const QString &name, const CutSettings &s, CTable &search, CTable &pieces, CutResult *out)
{
    PatternSearch found = FindBestYHPattern(s.clc, s.yhbl, search, &out->notices);
    if (found.result == -1) {
        pieces.ClearAll();
        return false;
    }
    qint64 k = 1;
    float ratio = found.ratio;
    if (found.result == 0) {
        k = -1;
        qint64 used = 0;
        for (YHRecord &e : found.pattern) {
            e.available = pieces.GetValueCount(e.length);
            const qint64 times = e.count > 0 ? e.available / e.count : 0;
            k = k < 0 ? times : std::min(k, times);
            used += qint64(e.length) * e.count;
        }
        if (k <= 0) {
            out->notices.append(notice(CutNotice::Kind::Critical, kOverflow));
            pieces.ClearAll();
            return false;
        }
        ratio = float(used) / float(s.clc);
    }
    out->rows.append({name, GetYHPatternText(found.pattern, s), k, ratioPercent(ratio),
                      platform::generalValue(double(found.remain), 7)});
    for (YHRecord &e : found.pattern)
        e.count = int(e.count * k);
    pieces.DeleteList(found.pattern, int(found.pattern.size()));
    return true;
}
} // namespace

CutResult OptimiseYH2(const QList<LengthQty> &rows, const CutSettings &s, const QString &name)
{
    CutResult out;
    std::vector<CTable::Run> runs;
    runs.reserve(size_t(rows.size()));
    qint64 total = 0;
    for (const LengthQty &row : rows) {
        int length = 0;
        int count = 0;
        if (!cutLength(row.length, s, &length) || !pieceCount(row.quantity, &count)
            || total + std::max(count, 0) > kMaxPieceCount) {
            out.notices.append(notice(CutNotice::Kind::Critical, kOverflow));
            return out;
        }
        total += std::max(count, 0);
        if (count > 0)
            runs.push_back({length, count});
    }
    std::sort(runs.begin(), runs.end(), [](const CTable::Run &a, const CTable::Run &b) { return a.value < b.value; });
    CTable pieces;
    for (const CTable::Run &r : runs)
        pieces.AddItems(r.value, r.count);

    CTable sample;
    for (;;) {
        const int c = pieces.GetCount();
        if (c == 0)
            break;
        if (c < 21) {
            while (pieces.GetCount() != 0)
                if (!CutYHPattern(name, s, pieces, pieces, &out))
                    break;
            break;
        }
        // Twenty pieces at ranks step, 2 step, ... 20 step, read in one walk over the runs.
        sample.ClearAll();
        const int step = c / 20;
        int rank = step;
        int before = 0; // pieces in the runs already passed
        for (const CTable::Run &r : pieces.Runs()) {
            while (rank <= before + r.count && sample.GetCount() < 20) {
                sample.AddItem(r.value);
                rank += step;
            }
            if (sample.GetCount() == 20)
                break;
            before += r.count;
        }
        if (!CutYHPattern(name, s, sample, pieces, &out))
            break;
    }
    return out;
}

} // namespace optimise
