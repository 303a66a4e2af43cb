#include "settlement.h"

#include "numbers.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace stats {

QList<SettlementRow> settlementRows(const QList<project::JobLine> &lines, double doorPrice, double windowPrice)
{
    QList<SettlementRow> rows;
    int bn = 0;
    for (const project::JobLine &line : lines) {
        SettlementRow r;
        r.bn = ++bn;
        r.name = line.fields.name;
        r.kind = line.fields.position;
        r.width = num(line.fields.width);
        r.height = num(line.fields.height);
        r.count = num(line.fields.count);
        r.area = clean(r.width / 1000 * (r.height / 1000) * r.count);
        r.price = clean(line.fields.name.contains(u'门') ? doorPrice : windowPrice);
        r.amount = clean(r.price * r.area);
        rows.append(r);
    }
    return rows;
}

bool WriteSettlement(StatsStore &store, const QList<SettlementRow> &rows, QString *error)
{
    for (const SettlementRow &r : rows) {
        for (double v : {r.width, r.height, r.count, r.area, r.price, r.amount}) {
            if (!std::isfinite(v)) {
                *error = u"数值超出范围："_s + r.name;
                return false;
            }
        }
    }
    if (!store.replaceSettlement(rows)) {
        *error = store.lastError();
        return false;
    }
    return true;
}

bool ClearJSTable(StatsStore &store, QString *error)
{
    if (!store.clearSettlement()) {
        *error = store.lastError();
        return false;
    }
    return true;
}

double GetTJTotalArea(const QList<project::JobLine> &lines)
{
    double total = 0;
    for (const project::JobLine &line : lines) {
        const double w = std::nearbyint(num(line.fields.width));
        const double h = std::nearbyint(num(line.fields.height));
        const double n = std::nearbyint(num(line.fields.count));
        total += w / 1000 * (h / 1000) * n;
    }
    return clean(total);
}

std::optional<double> GetTJTotalAmount(StatsStore &store, QString *error)
{
    const auto amount = store.pricedAmount();
    if (!amount) {
        *error = store.lastError();
        return std::nullopt;
    }
    return clean(*amount);
}

CostFigures costFigures(double area, const std::array<QString, 4> &rates, double materialAmount)
{
    CostFigures out;
    double total = materialAmount;
    for (size_t i = 0; i < rates.size(); ++i) {
        const double fee = clean(area * num(rates[i]));
        out.fees[i] = generalText(fee);
        total += fee;
    }
    out.total = generalText(total);
    return out;
}

} // namespace stats
