// Number text: reading, the number check, and the general form of any double.
#include "fuzzsupport.h"

#include "platform/numtext.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double v = platform::val(text);
    fuzz::require(std::isfinite(v), "val reads a finite number");
    if (platform::isNumeric(text))
        fuzz::require(platform::general(v, 15).size() > 0, "a number has a general form");
    (void)platform::isPlainNumber(text);
    if (size >= sizeof(double)) {
        double d;
        std::memcpy(&d, data, sizeof d);
        if (std::isfinite(d)) {
            for (int digits : {7, 15}) {
                const QString g = platform::general(d, digits);
                fuzz::require(platform::isNumeric(g), "the general form of a finite double passes the number check");
                fuzz::require(std::isfinite(platform::val(g)), "the general form of a finite double reads back finite");
                fuzz::require(platform::val(g) == platform::generalValue(d, digits), "generalValue is what the form shows");
                (void)platform::statement(d, digits);
            }
        }
    }
    return 0;
}
