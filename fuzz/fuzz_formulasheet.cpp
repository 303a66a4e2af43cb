// The import of a formula sheet: the workbook read as the import reads it, its rows taken apart
// into types and bills, and their formulas checked and evaluated.
#include "fuzzsupport.h"

#include "design/formulacheck.h"
#include "design/formulasheet.h"
#include "platform/workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    QString error;
    const auto grid = platform::readFirstSheet(fuzz::inputFile(data, size, QStringLiteral("in.xlsx")), &error,
                                               design::kFormulaSheetArea);
    if (!grid)
        return 0;
    const design::FormulaSheet sheet = design::readFormulaSheet(*grid);
    design::DrawingLabelSet labels;
    labels.table.append(QStringLiteral("B"), QStringLiteral("1500"));
    labels.table.append(QStringLiteral("H"), QStringLiteral("1200"));
    labels.lengths.insert(QStringLiteral("B"), QStringLiteral("1500"));
    for (const design::ImportedType &type : sheet.types)
        (void)design::checkBillFormulas(type.bill, labels);
    return 0;
}
