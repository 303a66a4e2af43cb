#include "yhcut.h"

#include "platform/numtext.h"

#include <algorithm>
#include <functional>

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
    if (int(m_values.size()) >= kMaxPieceCount)
        return false;
    m_values.push_back(value);
    return true;
}

int CTable::GetItemValue(int rank) const
{
    if (rank < 1 || rank > GetCount())
        return -1;
    return m_values[size_t(rank - 1)];
}

int CTable::GetTotalValue(int limit) const
{
    qint64 sum = 0;
    for (int v : m_values) {
        sum += v;
        if (sum >= limit)
            return limit;
    }
    return int(sum);
}

int CTable::Locate(int value) const
{
    const auto it = std::lower_bound(m_values.begin(), m_values.end(), value);
    if (it == m_values.end() || *it != value)
        return 0;
    return int(it - m_values.begin()) + 1;
}

int CTable::GetValueCount(int value) const
{
    const auto range = std::equal_range(m_values.begin(), m_values.end(), value);
    return int(range.second - range.first);
}

void CTable::DeleteList(const YHPattern &pattern, int n)
{
    for (int k = 0; k < n && k < pattern.size(); ++k) {
        const YHRecord &e = pattern.at(k);
        auto range = std::equal_range(m_values.begin(), m_values.end(), e.length);
        const auto take = std::min<qint64>(std::max(e.count, 0), range.second - range.first);
        m_values.erase(range.first, range.first + take);
    }
}

YHPattern StackSetToYHArray(std::span<const StackItem> stack)
{
    YHPattern out;
    if (stack.empty())
        return out;
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
YHPattern runLengths(const CTable &table)
{
    YHPattern out;
    for (int r = 1; r <= table.GetCount(); ++r) {
        const int v = table.GetItemValue(r);
        if (!out.isEmpty() && out.last().length == v)
            ++out.last().count;
        else
            out.append({v, 1, 0});
    }
    return out;
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
        out.pattern = runLengths(table);
        out.ratio = float(total) / float(cap);
        out.remain = float(cap - total);
        return out;
    }

    // The inner loop of every pattern: a plain vector with room for the deepest stack (each item
    // decides a later rank), and values read without a range check (ranks stay within 1..n).
    const std::span<const int> values = table.Values();
    int best = 0;
    std::vector<StackItem> stack;
    stack.reserve(size_t(n) + 2);
    stack.push_back({0, 1, 0});
    StackItem current{values[0], 1, 1};
    for (;;) {
        stack.push_back(current);
        bool taken = false;
        while (!taken) {
            if (stack.empty()) {
                out.result = 0;
                return out;
            }
            // After a piece was tried here, a next piece of the same length would only repeat its
            // subtree (same sums, same patterns, each met later), so it is passed over. Nothing
            // found changes: the first pattern of every sum lies in the subtree already searched.
            if (StackItem &t = stack.back(); t.index != t.own)
                while (t.index < n && values[size_t(t.index)] == values[size_t(t.index - 1)])
                    ++t.index;
            const StackItem top = stack.back();
            if (top.index == n) {
                if (top.sum > best) {
                    best = top.sum;
                    out.remain = float(cap - best);
                    out.pattern = StackSetToYHArray(stack);
                }
                out.ratio = float(top.sum) / float(cap);
                if (out.ratio >= yhbl) {
                    out.remain = float(cap - top.sum);
                    out.result = 0;
                    return out;
                }
                stack.pop_back();
                continue;
            }
            stack.back().index = top.index + 1;
            const int next = top.sum + values[size_t(top.index)];
            if (next <= cap) {
                current = {next, top.index + 1, top.index + 1};
                taken = true;
            } else {
                stack.back().index = n;
            }
        }
    }
}

QString GetYHPatternText(const YHPattern &pattern, const CutSettings &s)
{
    QStringList parts;
    for (const YHRecord &e : pattern) {
        QString part = QString::number(netOf(e.length, s));
        if (e.count > 1)
            part += u'*' + QString::number(e.count);
        parts << part;
    }
    return parts.join(u'+');
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

    int remaining = s.clc;
    QString text;
    auto writeBar = [&] {
        text.chop(1);
        const double ratio = platform::generalValue(double(s.clc - remaining) / double(s.clc), 15);
        out.rows.append({name, text, 1, ratio, double(remaining)});
        remaining = s.clc;
        text.clear();
    };
    auto take = [&](int length, int pieces) {
        text += QString::number(netOf(length, s));
        if (pieces >= 2)
            text += u'*' + QString::number(pieces);
        text += u'+';
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
            continue;
        }
        const CTable02::Node n = list.Retrive(node);
        const int fit = remaining / n.length;
        if (fit >= n.count) {
            remaining -= n.length * n.count;
            take(n.length, n.count);
            list.Remove(node);
        } else {
            remaining -= n.length * fit;
            take(n.length, fit);
            list.Update(n.count - fit, node);
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
    std::vector<int> values;
    for (const LengthQty &row : rows) {
        int length = 0;
        int count = 0;
        if (!cutLength(row.length, s, &length) || !pieceCount(row.quantity, &count)
            || qint64(values.size()) + std::max(count, 0) > kMaxPieceCount) {
            out.notices.append(notice(CutNotice::Kind::Critical, kOverflow));
            return out;
        }
        values.insert(values.end(), size_t(std::max(count, 0)), length);
    }
    std::sort(values.begin(), values.end());
    CTable pieces;
    for (int v : values)
        pieces.AddItem(v);

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
        sample.ClearAll();
        const int step = c / 20;
        for (int j = 1; j <= 20; ++j)
            sample.AddItem(pieces.GetItemValue(j * step));
        if (!CutYHPattern(name, s, sample, pieces, &out))
            break;
    }
    return out;
}

} // namespace optimise
