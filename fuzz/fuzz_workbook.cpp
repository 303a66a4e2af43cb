// The workbook reader: the first sheet of an .xlsx, whole and as the formula import reads it.
#include "fuzzsupport.h"

#include "platform/workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    const QString path = fuzz::inputFile(data, size, QStringLiteral("in.xlsx"));
    QString error;
    if (const auto grid = platform::readFirstSheet(path, &error))
        (void)grid->text(0, 0);
    (void)platform::readFirstSheet(path, &error, platform::SheetArea{4, true});
    return 0;
}
