#pragma once
// Group sums of a work table added up in memory, where they equal the engine's
//   SELECT k, n1, n2, sum(v) ... GROUP BY k, n1, n2 ORDER BY k, n1, n2
// over a text key k (NOCASE) and up to two REAL keys, without the engine's sort. They are equal
// when
// - every value is a whole multiple of 1/1024 and their magnitudes add up to less than 2^43: every
//   partial sum is then exact, so the order in which the engine adds a group's rows cannot matter;
// - the rows of a group have the same key text byte for byte and the same number keys bit for bit,
//   so whichever row the engine shows a group by, it shows the same;
// - no key text holds a zero byte (the collation stops comparing at one).
// Lengths in whole or half millimetres and whole counts pass; a row that breaks a condition makes
// key(), add() or groups() fail, and the caller asks the engine instead.
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <optional>
#include <vector>

namespace stats {

class GroupSums
{
public:
    struct Group
    {
        int key = 0; // index of the key text, in the order key() first saw it
        double numbers[2] = {0, 0};
        double total = 0;
    };

    explicit GroupSums(int numberKeys) : m_numberKeys(numberKeys) {}

    // The index of a key text (its UTF-8 bytes); a new text takes the next index. -1 when the text
    // cannot be grouped here.
    int key(QByteArrayView utf8);
    // One row; `value` is null for a null field, which the sum skips. False when the row cannot be
    // added exactly.
    bool add(int key, const double *numbers, std::optional<double> value);
    // The groups in key order.
    std::optional<QList<Group>> groups() const;

private:
    struct Row
    {
        int key;
        double numbers[2];
        double value;
    };
    int m_numberKeys;
    QHash<QByteArray, int> m_keys;
    QHash<QByteArray, int> m_folded;
    std::vector<QByteArray> m_foldedOf;
    std::vector<Row> m_rows;
    double m_magnitude = 0;
};

} // namespace stats
