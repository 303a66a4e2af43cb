#pragma once
// Pricing the work tables into the priced material list OutTJ: by material code (with the weight
// and area totals) or by material code and cut length / panel size.
#include "statsstore.h"

#include <QList>
#include <QString>
#include <optional>

namespace stats {

// The kinds chosen in the statistics window.
struct KindChoice
{
    bool profiles = true;
    bool steel = true;
    bool panels = true;
    bool fittings = true;
};

// Weights in kg, area in m², of the last pricing by code that processed each kind.
struct PricingTotals
{
    double ProfileWeight = 0;
    double SteelWeight = 0;
    double PanelArea = 0;
};

// The totals shared with the statistics window; they outlive it.
extern PricingTotals TJTotals;

inline const QString kErrorName = QStringLiteral("#error#");

// The lines of the pricing by code, in the order profiles, steel, fittings, panels; *totals gets
// the totals of the chosen kinds (the others keep their values).
std::optional<QList<PricedLine>> priceBySpec(StatsStore &store, KindChoice kinds, PricingTotals *totals,
                                             QString *error);
std::optional<QList<PricedLine>> priceBySpecLength(StatsStore &store, KindChoice kinds, QString *error);

// Rebuild OutTJ in one transaction; the totals change only when it succeeds.
bool BuildTJBySpec(StatsStore &store, KindChoice kinds, PricingTotals *totals, QString *error);
bool BuildTJBySpecLength(StatsStore &store, KindChoice kinds, QString *error);

} // namespace stats
