// Piece-list files (.DDD).
#include "fuzzsupport.h"

#include "optimise/yhfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::application();
    const optimise::DDDRead read = optimise::parseDDD(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    (void)optimise::formatDDD(read.rows);
    return 0;
}
