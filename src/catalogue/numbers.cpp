#include "numbers.h"

#include "platform/numtext.h"

#include <cmath>

namespace catalogue {

bool isCatalogueNumber(QStringView text) { return catalogueNumber(text).has_value(); }

std::optional<double> catalogueNumber(QStringView text)
{
    // The keys the boxes let through, and exactly one number made of them.
    for (const QChar c : text)
        if ((c < u'0' || c > u'9') && c != u'.' && c != u' ' && c != u'\t')
            return std::nullopt;
    if (!platform::isNumeric(text))
        return std::nullopt;
    // A number too large for a double must not be stored as something else.
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

FieldCheck checkFields(const QStringList &texts, const QList<bool> &numeric)
{
    for (int i = 0; i < texts.size(); ++i) {
        if (texts.at(i).isEmpty())
            return {i, FieldProblem::Empty};
        if (i < numeric.size() && numeric.at(i) && !isCatalogueNumber(texts.at(i)))
            return {i, FieldProblem::NotANumber};
    }
    return {};
}

QList<bool> numericFields(ItemKind kind)
{
    QList<bool> flags;
    for (const ItemField &f : itemKindInfo(kind).fields)
        flags << f.numeric;
    return flags;
}

std::optional<QVariantList> itemValues(ItemKind kind, const QStringList &texts, FieldCheck *check)
{
    const QList<bool> numeric = numericFields(kind);
    FieldCheck result = checkFields(texts, numeric);
    if (result.ok() && texts.size() != numeric.size())
        result = {int(std::min(texts.size(), numeric.size())), FieldProblem::Empty};
    if (check)
        *check = result;
    if (!result.ok())
        return std::nullopt;
    QVariantList values;
    for (int i = 0; i < texts.size(); ++i)
        values << (numeric.at(i) ? QVariant(*catalogueNumber(texts.at(i))) : QVariant(texts.at(i)));
    return values;
}

} // namespace catalogue
