#pragma once
// Velmorra's own images, drawn rather than shipped: the program's icon (a white uPVC window of two
// casements) and the node images of the combined window's component tree.
#include <QIcon>

namespace app {

// The icon of the main window and of every window opened from it.
QIcon appIcon();
// A combined window's main drawing: the whole frame, like the program's icon.
QIcon mainDrawingIcon();
// One component of a combined window: a single pane.
QIcon componentIcon();

} // namespace app
