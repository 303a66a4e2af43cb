#include "billtools.h"

#include "design/calculator.h"

using namespace Qt::StringLiterals;

namespace design {

std::optional<BillKind> billKindOfListKind(const QString &listKind)
{
    const QString kind = listKind.left(2);
    if (kind == u"型材")
        return BillKind::Profile;
    if (kind == u"型钢")
        return BillKind::Steel;
    if (kind == u"板材")
        return BillKind::Panel;
    if (kind == u"配件")
        return BillKind::Fitting;
    return std::nullopt;
}

void putMaterial(BillKind kind, BillRow &row, const Material &material)
{
    row[0] = material.name;
    if (kind == BillKind::Panel)
        return;
    row[1] = material.code;
    if (kind == BillKind::Fitting)
        row[3] = material.unit;
}

QList<int> sameMaterialRows(BillKind kind, const QList<BillRow> &rows, int selected)
{
    QList<int> out;
    if (selected < 0 || selected >= rows.size())
        return out;
    const BillRow key = rows[selected];
    for (int i = 0; i < rows.size(); ++i) {
        const BillRow &r = rows[i];
        if (r[0] == key[0] && (kind == BillKind::Panel || r[1] == key[1]))
            out << i;
    }
    return out;
}

void findReplace(Bill &bill, const QString &find, const QString &replacement, const std::array<bool, 4> &columns)
{
    if (find.isEmpty())
        return;
    Cal cal;
    for (auto &rows : bill.rows)
        for (BillRow &row : rows)
            for (size_t c = 0; c < 4; ++c)
                if (columns[c])
                    row[c] = cal.Replace1(row[c], find, replacement);
}

const std::array<QString, kMacroCount> &MacroNames()
{
    static const std::array<QString, kMacroCount> names = {u"KH1"_s, u"KH2"_s, u"SH1"_s, u"SH2"_s,
                                                           u"ZH1"_s, u"ZH2"_s, u"DZ1"_s, u"DZ2"_s,
                                                           u"YTH"_s, u"LSH"_s, u"CJH"_s, u"RHL"_s};
    return names;
}

void macroReplace(Bill &bill, const std::array<QString, kMacroCount> &values)
{
    Cal cal;
    for (BillKind kind : {BillKind::Profile, BillKind::Steel, BillKind::Panel})
        for (BillRow &row : bill.of(kind))
            for (int j = 0; j < kMacroCount; ++j) {
                const QString &value = values[size_t(j)];
                if (value.isEmpty())
                    continue;
                row[2] = cal.Replace1(row[2], MacroNames()[size_t(j)], value);
                row[3] = cal.Replace1(row[3], MacroNames()[size_t(j)], value);
            }
}

} // namespace design
