#pragma once
// Number <-> text conversions used wherever the system reads typed numbers, writes numbers into
// lists, statements and files, or rounds to whole numbers.
//
// Exponent rule (one rule for the whole system): a number is written in fixed-point form when its
// magnitude is at least 1E-5 and below 1E7 (single precision) or 1E15 (double precision); otherwise
// in exponent form with a signed two-digit exponent: 1E-06, 1.234568E+07.
#include <QString>
#include <QStringView>
#include <optional>

namespace platform {

// Leading-number reading: blanks and tabs are skipped, then an optional sign, digits with at most
// one ".", and an optional exponent (E or D). Reading stops at the first character that cannot
// continue the number; a text without a leading number, or one too large for a double, gives 0.
// Only ASCII digits and signs count: full-width ones (as Chinese input methods type them) do not.
double val(QStringView text);

// True when the whole text (blanks and tabs around it allowed) is one number: optional sign, digits
// with at most one "." and at least one digit, optional exponent, and a finite value. "1.2.3", ".",
// "", "1e999", full-width digits and other blanks (full-width, no-break, line breaks) are not
// numbers. What it accepts, val() reads as the number it shows.
bool isNumeric(QStringView text);

// True when the text is exactly the general form of its number ("1150", "0.85", "-2.5", "1E-06"):
// written as a number it shows as it stands. "007", " 12", "1.50" and "+3" are not.
bool isPlainNumber(QStringView text);

// Round half to even; nullopt when the value is not finite or the result falls outside [lo, hi].
std::optional<qint64> roundHalfEven(double value, qint64 lo, qint64 hi);

// Round towards minus infinity, with the same range check.
std::optional<qint64> floorChecked(double value, qint64 lo, qint64 hi);

// The decimal text of a whole number, as QString::number gives it, without going through the locale.
QString wholeText(qint64 value);

// General form: at most `digits` significant digits (7 for single, 15 for double), no trailing
// zeros, a zero before the point ("0.5"), "-" for negatives, exponent form as documented above.
QString general(double value, int digits);
inline QString generalSingle(float value) { return general(double(value), 7); }
inline QString generalDouble(double value) { return general(value, 15); }
// The number general() shows, read back: general(v, digits).toDouble() without the text.
double generalValue(double value, int digits);

// Statement form used in SQL texts and files: the general form with a blank in place of the sign of
// a non-negative value and no zero before the point (" 6000", "-5", " .85", "-.5").
QString statement(double value, int digits);
inline QString statementSingle(float value) { return statement(double(value), 7); }
inline QString statementDouble(double value) { return statement(value, 15); }

} // namespace platform
