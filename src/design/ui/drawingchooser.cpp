#include "drawingchooser.h"

namespace design {

std::optional<QString> chooseLibraryDrawing(QWidget *)
{
    // The drawing chooser of the drawing windows is not available in this build yet.
    return std::nullopt;
}

} // namespace design
