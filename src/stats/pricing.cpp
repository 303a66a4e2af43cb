#include "pricing.h"

#include "numbers.h"

#include "platform/database.h"
#include "platform/numtext.h"

#include <QHash>
#include <functional>

using namespace Qt::StringLiterals;

namespace stats {

PricingTotals TJTotals;

namespace {
QString nameOr(const QString &name)
{
    return name.trimmed().isEmpty() ? kErrorName : name;
}

QString codeOr(const QString &code, const QString &key)
{
    return code.trimmed().isEmpty() ? key : code;
}

bool lookupFailed(StatsStore &store, QString *error)
{
    *error = store.lastError();
    return false;
}

// Price per metre of a profile or steel bar from its price per tonne and its density.
double pricePerMetre(const CatalogueEntry &e)
{
    return clean(e.price / 1000 * e.density);
}

// Catalogue rows already looked up in one pricing: many groups share a material code.
class Catalogue
{
public:
    explicit Catalogue(StatsStore &store) : m_store(store) {}
    std::optional<CatalogueEntry> lookup(CatalogueTable table, const QString &key)
    {
        QHash<QString, CatalogueEntry> &seen = m_seen[int(table)];
        if (auto it = seen.constFind(key); it != seen.constEnd())
            return *it;
        const auto e = m_store.lookup(table, key);
        if (e)
            seen.insert(key, *e);
        return e;
    }

private:
    StatsStore &m_store;
    QHash<QString, CatalogueEntry> m_seen[4];
};

bool addFittings(StatsStore &store, Catalogue &catalogue, QList<PricedLine> *lines, QString *error)
{
    const auto groups = store.fittingTotals();
    if (!groups)
        return lookupFailed(store, error);
    for (const CodeTotal &g : *groups) {
        const auto e = catalogue.lookup(CatalogueTable::Fitting, g.code);
        if (!e)
            return lookupFailed(store, error);
        PricedLine l;
        l.name = nameOr(e->name);
        l.spec = codeOr(e->code, g.code);
        l.unitPrice = clean(e->price);
        l.quantity = clean(g.total);
        l.amount = clean(l.unitPrice * l.quantity);
        l.unit = e->unit;
        lines->append(l);
    }
    return true;
}
} // namespace

std::optional<QList<PricedLine>> priceBySpec(StatsStore &store, KindChoice kinds, PricingTotals *totals,
                                             QString *error)
{
    QList<PricedLine> lines;
    Catalogue catalogue(store);
    PricingTotals next = *totals;
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        const bool profile = kind == PieceKind::Profile;
        if (!(profile ? kinds.profiles : kinds.steel))
            continue;
        double weight = 0;
        const auto groups = store.pieceLengthTotals(kind);
        if (!groups) {
            lookupFailed(store, error);
            return std::nullopt;
        }
        for (const CodeTotal &g : *groups) {
            const auto e = catalogue.lookup(profile ? CatalogueTable::Profile : CatalogueTable::Steel, g.code);
            if (!e) {
                lookupFailed(store, error);
                return std::nullopt;
            }
            PricedLine l;
            l.name = nameOr(e->name);
            l.spec = codeOr(e->code, g.code);
            l.unitPrice = pricePerMetre(*e);
            l.quantity = clean(g.total / 1000);
            l.amount = clean(l.unitPrice * l.quantity);
            l.unit = u"米"_s;
            weight += clean(l.quantity * e->density);
            lines.append(l);
        }
        (profile ? next.ProfileWeight : next.SteelWeight) = clean(weight);
    }
    if (kinds.fittings && !addFittings(store, catalogue, &lines, error))
        return std::nullopt;
    if (kinds.panels) {
        double area = 0;
        const auto groups = store.panelAreaTotals();
        if (!groups) {
            lookupFailed(store, error);
            return std::nullopt;
        }
        for (const CodeTotal &g : *groups) {
            const auto e = catalogue.lookup(CatalogueTable::Panel, g.code);
            if (!e) {
                lookupFailed(store, error);
                return std::nullopt;
            }
            PricedLine l;
            l.name = nameOr(g.code);
            l.spec = u"-"_s;
            l.unitPrice = clean(e->price);
            l.quantity = clean(g.total / 1000000);
            l.amount = clean(l.unitPrice * l.quantity);
            l.unit = u"平方米"_s;
            area += l.quantity;
            lines.append(l);
        }
        next.PanelArea = clean(area);
    }
    *totals = next;
    return lines;
}

std::optional<QList<PricedLine>> priceBySpecLength(StatsStore &store, KindChoice kinds, QString *error)
{
    QList<PricedLine> lines;
    Catalogue catalogue(store);
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        const bool profile = kind == PieceKind::Profile;
        if (!(profile ? kinds.profiles : kinds.steel))
            continue;
        const auto groups = store.pieceLengthGroups(kind);
        if (!groups) {
            lookupFailed(store, error);
            return std::nullopt;
        }
        // The groups come code by code: the entry's name and price serve every length of a code.
        QString code, name;
        double perMetre = 0;
        for (qsizetype i = 0; i < groups->size(); ++i) {
            const CodeLengthCount &g = groups->at(i);
            if (i == 0 || g.code != code) {
                const auto e = catalogue.lookup(profile ? CatalogueTable::Profile : CatalogueTable::Steel, g.code);
                if (!e) {
                    lookupFailed(store, error);
                    return std::nullopt;
                }
                code = g.code;
                name = nameOr(e->name + e->code);
                perMetre = pricePerMetre(*e);
            }
            PricedLine l;
            l.name = name;
            l.spec = codeOr(platform::generalDouble(g.length), g.code);
            l.unitPrice = perMetre;
            l.quantity = clean(g.count);
            // The price of the metres the pieces make.
            l.amount = clean(l.unitPrice * (g.length / 1000) * l.quantity);
            l.unit = u"毫米"_s;
            lines.append(l);
        }
    }
    if (kinds.fittings && !addFittings(store, catalogue, &lines, error))
        return std::nullopt;
    if (kinds.panels) {
        const auto groups = store.panelSizeGroups();
        if (!groups) {
            lookupFailed(store, error);
            return std::nullopt;
        }
        for (const PanelSizeCount &g : *groups) {
            const auto e = catalogue.lookup(CatalogueTable::Panel, g.name);
            if (!e) {
                lookupFailed(store, error);
                return std::nullopt;
            }
            PricedLine l;
            l.name = nameOr(e->name);
            l.spec = numberText(g.length) + u"*"_s + numberText(g.width) + u"*"_s + numberText(g.count);
            l.unitPrice = clean(e->price);
            l.quantity = clean(g.count * (g.length / 1000) * (g.width / 1000));
            l.amount = clean(l.unitPrice * l.quantity);
            l.unit = u"平方米"_s;
            lines.append(l);
        }
    }
    return lines;
}

namespace {
// Prices and writes OutTJ in one transaction, reads included.
bool rebuildPricedList(StatsStore &store, const std::function<std::optional<QList<PricedLine>>()> &price,
                       QString *error)
{
    platform::TransactionGuard tx(store.db());
    if (!tx.isActive()) {
        *error = tx.errorText();
        return false;
    }
    const auto lines = price();
    if (!lines)
        return false;
    if (!store.replacePricedList(*lines)) {
        *error = store.lastError();
        return false;
    }
    if (!tx.commit()) {
        *error = tx.errorText();
        return false;
    }
    return true;
}
} // namespace

bool BuildTJBySpec(StatsStore &store, KindChoice kinds, PricingTotals *totals, QString *error)
{
    PricingTotals next = *totals;
    if (!rebuildPricedList(store, [&] { return priceBySpec(store, kinds, &next, error); }, error))
        return false;
    *totals = next;
    return true;
}

bool BuildTJBySpecLength(StatsStore &store, KindChoice kinds, QString *error)
{
    return rebuildPricedList(store, [&] { return priceBySpecLength(store, kinds, error); }, error);
}

} // namespace stats
