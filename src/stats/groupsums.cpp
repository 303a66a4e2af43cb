#include "groupsums.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace stats {

namespace {
// The key as the NOCASE collation compares it: ASCII letters folded, every other byte as it is.
QByteArray folded(QByteArrayView utf8)
{
    QByteArray out(utf8.data(), utf8.size());
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
} // namespace

int GroupSums::key(QByteArrayView utf8)
{
    const QByteArray raw = QByteArray::fromRawData(utf8.data(), utf8.size());
    if (auto it = m_keys.constFind(raw); it != m_keys.constEnd())
        return *it;
    if (utf8.contains('\0'))
        return -1;
    QByteArray f = folded(utf8);
    // Texts that differ only in the case of letters are one group to the engine.
    if (m_folded.contains(f))
        return -1;
    const int index = int(m_foldedOf.size());
    m_keys.insert(QByteArray(utf8.data(), utf8.size()), index);
    m_folded.insert(f, index);
    m_foldedOf.push_back(std::move(f));
    return index;
}

bool GroupSums::add(int key, const double *numbers, std::optional<double> value)
{
    Row r{key, {0, 0}, 0};
    for (int i = 0; i < m_numberKeys; ++i)
        r.numbers[i] = numbers[i];
    // A null adds nothing to the sum, but its group is there.
    r.value = value.value_or(0.0);
    const double scaled = std::ldexp(r.value, 10);
    if (!std::isfinite(scaled) || scaled != std::trunc(scaled))
        return false;
    m_magnitude += std::fabs(r.value);
    if (!(m_magnitude < 0x1p43))
        return false;
    m_rows.push_back(r);
    return true;
}

std::optional<QList<GroupSums::Group>> GroupSums::groups() const
{
    std::vector<int> rank(m_foldedOf.size());
    {
        std::vector<int> order(m_foldedOf.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](int a, int b) { return m_foldedOf[a] < m_foldedOf[b]; });
        for (int i = 0; i < int(order.size()); ++i)
            rank[order[i]] = i;
    }
    std::vector<const Row *> rows(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i)
        rows[i] = &m_rows[i];
    const int n = m_numberKeys;
    // Numbers as the engine orders REAL values: -0.0 and 0.0 are one.
    auto less = [&](const Row *a, const Row *b) {
        if (rank[a->key] != rank[b->key])
            return rank[a->key] < rank[b->key];
        for (int i = 0; i < n; ++i)
            if (a->numbers[i] != b->numbers[i])
                return a->numbers[i] < b->numbers[i];
        return false;
    };
    std::sort(rows.begin(), rows.end(), less);
    QList<Group> out;
    const Row *first = nullptr;
    for (const Row *r : rows) {
        if (first && !less(first, r)) {
            for (int i = 0; i < n; ++i)
                if (!sameBits(first->numbers[i], r->numbers[i]))
                    return std::nullopt;
            out.last().total += r->value;
            continue;
        }
        first = r;
        Group g;
        g.key = r->key;
        for (int i = 0; i < n; ++i)
            g.numbers[i] = r->numbers[i];
        g.total = 0.0 + r->value; // as the engine's sum starts: -0.0 alone adds up to 0
        out.append(g);
    }
    return out;
}

} // namespace stats
