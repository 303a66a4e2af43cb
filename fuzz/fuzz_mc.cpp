// Drawing files (.MC): read, then written and read back.
#include "fuzzsupport.h"

#include "drawing/cpictire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    drawing::CPictire pic;
    QString error;
    if (!pic.Open_File(fuzz::inputFile(data, size, QStringLiteral("in.MC")), &error))
        return 0;
    const QString again = fuzz::scratch().filePath(QStringLiteral("again.MC"));
    if (pic.SavePicture(again, &error)) {
        drawing::CPictire back;
        fuzz::require(back.Open_File(again, &error), "a drawing that was read is written so that it reads back");
    }
    return 0;
}
