#include "numtext.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
#include <stdlib.h>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
// strtod as the C locale reads: the application runs in the user's locale, whose decimal comma
// would stop the reading at the point.
double strtodC(const char *text)
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c ? strtod_l(text, nullptr, c) : std::strtod(text, nullptr);
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The powers of ten that are exact doubles.
constexpr double kPowers10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Sign, digits and at most one point, as collected by leadingNumber, read as strtod reads them when
// that needs no more than one correctly rounded division of two exact doubles; nullopt otherwise.
std::optional<double> exactDecimal(const char *first, const char *last)
{
    const bool negative = first < last && *first == '-';
    if (first < last && (*first == '-' || *first == '+'))
        ++first;
    quint64 mantissa = 0;
    int significant = 0;
    int fraction = 0;
    bool seenPoint = false;
    for (; first < last; ++first) {
        if (*first == '.') {
            seenPoint = true;
            continue;
        }
        fraction += seenPoint ? 1 : 0;
        if (mantissa == 0 && *first == '0')
            continue;
        if (++significant > 15)
            return std::nullopt;
        mantissa = mantissa * 10 + quint64(*first - '0');
    }
    if (fraction > 22)
        return std::nullopt;
    const double v = double(mantissa) / kPowers10[fraction];
    return negative ? -v : v;
}

// The leading number as val() reads it, before an overflow becomes 0. The characters strtod reads
// are kept on the stack unless the text is long.
double leadingNumber(QStringView text)
{
    QVarLengthArray<char, 64> num;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] { while (i < n && isBlank(text[i])) ++i; };
    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        num.append(char(text[i].unicode()));
        ++i;
    }
    bool point = false, digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            num.append(char(c.unicode()));
            digits = true;
        } else if (c == u'.' && !point) {
            num.append('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // Exponent only when digits follow it.
    bool exponent = false;
    if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
        qsizetype j = i + 1;
        const qsizetype mantissaEnd = num.size();
        num.append('e');
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            num.append(char(text[j++].unicode()));
        while (j < n && isDigit(text[j])) {
            num.append(char(text[j++].unicode()));
            exponent = true;
        }
        if (!exponent)
            num.resize(mantissaEnd);
    }
    if (!exponent) {
        if (const std::optional<double> v = exactDecimal(num.cbegin(), num.cend()))
            return *v;
    }
    num.append('\0');
    return strtodC(num.constData());
}

} // namespace

double val(QStringView text)
{
    const double v = leadingNumber(text);
    return std::isfinite(v) ? v : 0.0;
}

bool isNumeric(QStringView text)
{
    // Only the blanks val() skips: a text it would read as 0 must not pass (a full-width or
    // no-break blank, a line break).
    qsizetype from = 0, to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    const QStringView t = text.sliced(from, to - from);
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    bool point = false, digits = false;
    for (; i < n; ++i) {
        if (isDigit(t[i]))
            digits = true;
        else if (t[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return false;
    if (i < n && (t[i] == u'E' || t[i] == u'e')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        bool expDigits = false;
        while (i < n && isDigit(t[i])) {
            ++i;
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    // A number too large for a double would read as 0.
    return i == n && std::isfinite(leadingNumber(t));
}

bool isPlainNumber(QStringView text)
{
    return isNumeric(text) && generalDouble(val(text)) == text;
}

std::optional<qint64> roundHalfEven(double value, qint64 lo, qint64 hi)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value); // default rounding mode: half to even
    if (r < double(lo) || r > double(hi))
        return std::nullopt;
    return qint64(r);
}

std::optional<qint64> floorChecked(double value, qint64 lo, qint64 hi)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::floor(value);
    if (r < double(lo) || r > double(hi))
        return std::nullopt;
    return qint64(r);
}

namespace {
// The value of such a text; beyond the double range, infinity as strtod gives it.
double readBack(char *first, char *last)
{
    double v = 0;
    if (std::from_chars(first, last, v).ec == std::errc())
        return v;
    *last = '\0';
    return strtodC(first);
}

// [-]d.ddd...e[+-]xx with `digits` significant digits, correctly rounded; returns its end. Near the
// largest double, rounding up would give a text beyond the range, which reads back as infinity: the
// digits are then cut instead, so that every finite value shows as a finite number.
char *scientific(char *first, char *last, double value, int digits)
{
    char *end = std::to_chars(first, last, value, std::chars_format::scientific, digits - 1).ptr;
    if (std::isfinite(readBack(first, end)))
        return end;
    char all[64];
    const char *allEnd = std::to_chars(all, all + sizeof all, value, std::chars_format::scientific, 16).ptr;
    const char *e = std::find(static_cast<const char *>(all), allEnd, 'e');
    // Sign, first digit, and the point with digits - 1 more.
    const int keep = (all[0] == '-' ? 1 : 0) + (digits > 1 ? digits + 1 : 1);
    end = std::copy(all, all + keep, first);
    return std::copy(e, allEnd, end);
}

struct ExactRounding
{
    double whole;  // the kept digits as a whole number, 10^digits after a carry
    int exponent;  // of the first digit before rounding
    double value;  // what the rounded text reads back as
};

// What scientific() and readBack() give, worked out in binary where every step is exact: for
// 10^(digits - 23) <= |value| < 10^digits the scale 10^(digits - 1 - exponent) is an exact double,
// the scaled value is held exactly as hi + lo, its rounding to a whole number (half to even, as
// the text is rounded) follows from the two, and the whole number divided by the scale is the
// correctly rounded reading of the text. nullopt outside that range.
std::optional<ExactRounding> roundExactly(double value, int digits)
{
    if (digits < 1 || digits > 15 || !std::isfinite(value) || value == 0.0)
        return std::nullopt;
    const double a = std::fabs(value);
    int binary = 0;
    std::frexp(a, &binary);
    // log10(a) lies in [(binary - 1) log10(2), binary log10(2)): at most one below the exponent.
    int exponent = int(std::floor((binary - 1) * 0.30102999566398120));
    const double low = kPowers10[digits - 1];
    const double high = kPowers10[digits];
    for (int tries = 0; tries < 3; ++tries) {
        const int scale = digits - 1 - exponent;
        if (scale < 0 || scale > 22)
            return std::nullopt;
        const double p = kPowers10[scale];
        const double hi = a * p;
        const double lo = std::fma(a, p, -hi);
        if (hi < low || (hi == low && lo < 0)) {
            --exponent;
            continue;
        }
        if (hi > high || (hi == high && lo >= 0)) {
            ++exponent;
            continue;
        }
        // hi < 2^50: it has at least three bits after the point, |lo| is at most half of its last.
        double whole = std::nearbyint(hi);
        const double fraction = hi - whole;
        if (fraction == 0.5 && lo > 0)
            whole += 1;
        else if (fraction == -0.5 && lo < 0)
            whole -= 1;
        const double v = whole / p;
        return ExactRounding{whole, exponent, value < 0 ? -v : v};
    }
    return std::nullopt;
}

// The value rounded to `digits` significant digits: its digits without the point and the trailing
// zeros, the exponent of the first, and the value the rounded text reads back as.
struct RoundedText
{
    bool negative = false;
    char mant[40];
    int m = 0;
    int exponent = 0;
    double rounded = 0;
};

RoundedText roundedText(double value, int digits)
{
    RoundedText t;
    t.negative = std::signbit(value);
    if (const auto r = roundExactly(value, digits)) {
        // A carry to 10^digits is the text 1E(exponent + 1).
        const bool carried = r->whole == kPowers10[digits];
        t.exponent = r->exponent + (carried ? 1 : 0);
        auto whole = qint64(carried ? 1 : r->whole);
        char rev[20];
        int n = 0;
        do {
            rev[n++] = char('0' + whole % 10);
            whole /= 10;
        } while (whole > 0);
        int zeros = 0;
        while (zeros < n - 1 && rev[zeros] == '0')
            ++zeros;
        for (int i = n - 1; i >= zeros; --i)
            t.mant[t.m++] = rev[i];
        t.rounded = r->value;
        return t;
    }
    char buf[64];
    char *end = scientific(buf, buf + sizeof buf - 1, value, digits);
    const char *p = buf + (t.negative ? 1 : 0);
    const char *e = std::find(p, const_cast<const char *>(end), 'e');
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, t.exponent);
    for (const char *q = p; q < e; ++q)
        if (*q != '.')
            t.mant[t.m++] = *q;
    while (t.m > 1 && t.mant[t.m - 1] == '0')
        --t.m;
    t.rounded = readBack(buf, end);
    return t;
}
} // namespace

QString wholeText(qint64 value)
{
    char16_t buf[24];
    char16_t *const end = buf + std::size(buf);
    char16_t *p = end;
    quint64 u = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--p = char16_t(u'0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (value < 0)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), end - p);
}

QString general(double value, int digits)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? u"NaN"_s : (value > 0 ? u"Inf"_s : u"-Inf"_s);
    if (value == 0.0)
        return u"0"_s;
    // Whole numbers that fit the digits are most of what sheets and lists show: no rounding to do.
    if (digits >= 7 && std::fabs(value) < 1e7 && value == std::trunc(value))
        return wholeText(qint64(value));
    const RoundedText t = roundedText(value, digits);
    const bool negative = t.negative;
    const char *mant = t.mant;
    const int m = t.m;
    const int exponent = t.exponent;

    const double limit = digits <= 7 ? 1e7 : 1e15;
    // Compare the rounded value: 9999999.6 rounds to 1E+07 in single precision.
    const double rounded = t.rounded;
    char out[80];
    int o = 0;
    if (negative)
        out[o++] = '-';
    auto put = [&](const char *from, int n) {
        for (int i = 0; i < n; ++i)
            out[o++] = from[i];
    };
    if (std::fabs(rounded) >= 1e-5 && std::fabs(rounded) < limit) {
        if (exponent >= 0) {
            if (m <= exponent + 1) {
                put(mant, m);
                for (int i = m; i < exponent + 1; ++i)
                    out[o++] = '0';
            } else {
                put(mant, exponent + 1);
                out[o++] = '.';
                put(mant + exponent + 1, m - exponent - 1);
            }
        } else {
            put("0.", 2);
            for (int i = 0; i < -exponent - 1; ++i)
                out[o++] = '0';
            put(mant, m);
        }
    } else {
        out[o++] = mant[0];
        if (m > 1) {
            out[o++] = '.';
            put(mant + 1, m - 1);
        }
        o += std::snprintf(out + o, sizeof out - size_t(o), "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    }
    return QString::fromLatin1(out, o);
}

namespace {
// Significant digits of the shortest text that reads back as the value.
int shortestDigits(double value)
{
    char buf[32];
    const char *end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific).ptr;
    int n = 0;
    for (const char *p = buf; p < end && *p != 'e'; ++p)
        n += *p >= '0' && *p <= '9';
    return n;
}
} // namespace

double generalValue(double value, int digits)
{
    if (!std::isfinite(value))
        return general(value, digits).toDouble();
    if (value == 0.0)
        return 0.0;
    // A value whose shortest text has no more digits than are kept is its own general form: up to
    // 15 digits, half a double's step is less than half the step of the last digit kept, so the
    // rounding lands on that text, which reads back as the value. Whole numbers below 10^digits
    // are such values, found without the text.
    if (digits >= 1 && digits <= 15) {
        if (std::fabs(value) < kPowers10[digits] && value == std::trunc(value))
            return value;
        if (const auto r = roundExactly(value, digits))
            return r->value;
        if (shortestDigits(value) <= digits)
            return value;
    }
    char buf[64];
    return readBack(buf, scientific(buf, buf + sizeof buf - 1, value, digits));
}

QString statement(double value, int digits)
{
    QString g = general(value, digits);
    const bool negative = g.startsWith(u'-');
    if (negative)
        g.remove(0, 1);
    if (g.startsWith(u"0."))
        g.remove(0, 1);
    return (negative ? u"-"_s : u" "_s) + g;
}

} // namespace platform
