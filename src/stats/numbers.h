#pragma once
// How the statistics hold their numbers: every value written to a work table or shown is cut to
// the digits it really has, so that binary noise never reaches an amount, a weight or an area.
#include <QString>
#include <optional>

namespace stats {

// A formula result (single precision) as its 7-digit text reads back: 1450.0f -> 1450, 1234.568f
// stays 1234.568 rather than 1234.5679931640625. nullopt when it is not a finite number.
std::optional<double> singleValue(float v);
// A double cut to 15 significant digits; nullopt when it is not finite.
std::optional<double> cleanValue(double v);
// Without the finiteness check, for values known to be finite.
double clean(double v);

// The leading number of a list text (0 when there is none).
double num(const QString &text);

// "Number text" of a value for the report lines: shortest form, no zero before the point (.85).
QString numberText(double v);
// General form with a zero before the point (0.85).
QString generalText(double v);

} // namespace stats
