// Formula text: the first line is the formula, every further line a label "name=value", as they
// come from drawings, older databases and formula sheets. Evaluation must end within its bound.
#include "fuzzsupport.h"

#include "design/calculator.h"
#include "design/formula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n'));
    design::MacroTable table;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype eq = lines[i].indexOf(QLatin1Char('='));
        table.append(eq < 0 ? lines[i] : lines[i].left(eq), eq < 0 ? QString() : lines[i].mid(eq + 1));
    }
    design::SortMacrosByNameLength(table);
    bool failed = false;
    const float v = design::EvalFormula(lines.first(), table, &failed);
    fuzz::require(failed || !std::isnan(v), "a formula without a value says so");
    design::Cal cal;
    (void)cal.CalExpress(lines.first());
    if (lines.size() > 1 && !lines[1].isEmpty())
        (void)cal.Replace1(lines.first(), lines[1], lines.value(2));
    return 0;
}
