#include "numtext.h"

#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The leading number as val() reads it, before an overflow becomes 0.
double leadingNumber(QStringView text)
{
    QByteArray num;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skip = [&] { while (i < n && isBlank(text[i])) ++i; };
    skip();
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        num += char(text[i].unicode());
        ++i;
    }
    bool point = false, digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c))
            continue;
        if (isDigit(c)) {
            num += char(c.unicode());
            digits = true;
        } else if (c == u'.' && !point) {
            num += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    // Exponent only when digits follow it.
    if (i < n && (text[i] == u'E' || text[i] == u'e' || text[i] == u'D' || text[i] == u'd')) {
        qsizetype j = i + 1;
        QByteArray exp = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exp += char(text[j++].unicode());
        bool expDigits = false;
        while (j < n && isDigit(text[j])) {
            exp += char(text[j++].unicode());
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    return std::strtod(num.constData(), nullptr);
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

QString general(double value, int digits)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? u"NaN"_s : (value > 0 ? u"Inf"_s : u"-Inf"_s);
    if (value == 0.0)
        return u"0"_s;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", digits - 1, value);
    // buf: [-]d.dddddE[+-]xx
    QByteArray s(buf);
    const bool negative = s.startsWith('-');
    if (negative)
        s.remove(0, 1);
    const int e = s.indexOf('E');
    const int exponent = s.mid(e + 1).toInt();
    QByteArray mant = s.left(e);
    mant.remove(1, 1); // drop the point: all significant digits
    while (mant.size() > 1 && mant.endsWith('0'))
        mant.chop(1);

    const double limit = digits <= 7 ? 1e7 : 1e15;
    const double magnitude = std::fabs(value);
    QByteArray out;
    // Compare the rounded value: 9999999.6 rounds to 1E+07 in single precision.
    const double rounded = std::strtod(buf, nullptr);
    if (std::fabs(rounded) >= 1e-5 && std::fabs(rounded) < limit && magnitude > 0) {
        if (exponent >= 0) {
            if (mant.size() <= exponent + 1) {
                out = mant + QByteArray(exponent + 1 - mant.size(), '0');
            } else {
                out = mant.left(exponent + 1) + '.' + mant.mid(exponent + 1);
            }
        } else {
            out = "0." + QByteArray(-exponent - 1, '0') + mant;
        }
    } else {
        out = mant.left(1);
        if (mant.size() > 1)
            out += '.' + mant.mid(1);
        char eb[16];
        std::snprintf(eb, sizeof eb, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += eb;
    }
    if (negative)
        out.prepend('-');
    return QString::fromLatin1(out);
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
