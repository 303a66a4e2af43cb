#include "design/operandtext.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace design {
namespace {

// Every power of ten that a double holds exactly.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double readBackViaText(double x)
{
    char text[40];
    const auto written = std::to_chars(text, text + sizeof text, x, std::chars_format::scientific, 14);
    double v = 0;
    const auto read = std::from_chars(text, written.ptr, v);
    // Every finite nonzero double keeps a nonzero 15-digit text, so only overflow is out of range
    // (the largest doubles round up past the double range).
    if (read.ec == std::errc::result_out_of_range)
        return std::copysign(std::numeric_limits<double>::infinity(), x);
    return v;
}

} // namespace

double resultAsOperand(double x)
{
    if (x == 0)
        return 0.0;
    const double a = std::fabs(x);
    if (a < 1e15 && a == std::trunc(a))
        return x;  // a whole number below 1E15 is written with all its digits
    if (!(a >= 1e-7 && a < 1e15))
        return readBackViaText(x);

    // Scale a to s in [1E14, 1E15), where its 15 significant digits are the digits before the
    // point. The product rounds once, by at most 1/16 at this magnitude; results that land near
    // a boundary of the range or near a half take the exact route instead.
    int m = 0;
    double s = 0;
    if (a >= 1) {
        int e = 0;
        while (e < 14 && kPow10[e + 1] <= a)
            ++e;
        m = 14 - e;
        s = a * kPow10[m];
    } else {
        for (m = 15; m <= 21; ++m) {
            s = a * kPow10[m];
            if (s >= 1e14)
                break;
        }
        if (m > 21)
            return readBackViaText(x);
    }
    if (!(s >= 1e14 + 1 && s <= 1e15 - 1))
        return readBackViaText(x);
    const double whole = std::floor(s);
    const double frac = s - whole;
    if (std::fabs(frac - 0.5) < 0.125)
        return readBackViaText(x);
    const double digits = frac < 0.5 ? whole : whole + 1;
    // digits < 2^53 and 10^m are exact, so one division gives the correctly rounded value of the
    // decimal text, which is what reading the text gives.
    return std::copysign(digits / kPow10[m], x);
}

double numberTokenValue(std::string_view digits)
{
    std::uint64_t mantissa = 0;
    int significant = 0;
    int fraction = 0;
    bool seenPoint = false;
    bool wholePartNonZero = false;
    bool exact = true;
    for (const char c : digits) {
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (seenPoint)
            ++fraction;
        else if (c != '0')
            wholePartNonZero = true;
        if (mantissa == 0 && c == '0')
            continue;
        if (++significant > 15) {
            exact = false;
            break;
        }
        mantissa = mantissa * 10 + std::uint64_t(c - '0');
    }
    if (exact && fraction <= 22)
        return double(mantissa) / kPow10[fraction];  // both exact: one correctly rounded division

    double v = 0;
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), v,
                                      std::chars_format::fixed);
    if (read.ec == std::errc::result_out_of_range)
        return wholePartNonZero ? std::numeric_limits<double>::infinity() : 0.0;
    return v;
}

float finalSingle(double x)
{
    // Halfway between the largest float and 2^128: from here on, rounding to float overflows.
    constexpr double kOverflow = 0x1.ffffffp+127;
    if (!std::isfinite(x) || std::fabs(x) >= kOverflow)
        return 0.0f;
    return float(x);
}

} // namespace design
