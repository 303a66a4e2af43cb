// DXF import.
#include "fuzzsupport.h"

#include "drawing/cpictire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    drawing::CPictire pic;
    QString error;
    pic.InputDXF(fuzz::inputFile(data, size, QStringLiteral("in.dxf")), &error);
    return 0;
}
