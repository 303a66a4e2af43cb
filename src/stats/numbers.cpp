#include "numbers.h"

#include "platform/numtext.h"

#include <cmath>

namespace stats {

std::optional<double> singleValue(float v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return platform::generalValue(double(v), 7);
}

std::optional<double> cleanValue(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return clean(v);
}

double clean(double v)
{
    if (!std::isfinite(v) || v == 0)
        return v == 0 ? 0.0 : v;
    return platform::generalValue(v, 15);
}

double num(const QString &text)
{
    return platform::val(text);
}

QString numberText(double v)
{
    // Whole numbers of up to seven digits show as they are, without the sign blank to trim.
    if (std::fabs(v) < 1e7 && v == std::trunc(v))
        return QString::number(qint64(v));
    return platform::statementDouble(clean(v)).trimmed();
}

QString generalText(double v)
{
    return platform::generalDouble(clean(v));
}

} // namespace stats
