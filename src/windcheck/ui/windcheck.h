#pragma once
// Entry of the wind-pressure checks and the printer seam of their printouts.
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace platform {
class Surface;
}

namespace windcheck::ui {

// Opens the wind check modally: the one-window check when app::FYOptionFlag is not 0, otherwise
// the two-step check, whose later windows stay open after the first one hides.
void openWindCheck(QWidget *parent);

// Where the two-step check prints: by default the default printer. Tests give a recording surface.
using PrintSurfaceFactory = std::function<std::unique_ptr<platform::Surface>()>;
void setPrintSurfaceFactory(PrintSurfaceFactory factory);
std::unique_ptr<platform::Surface> makePrintSurface();
// False with a message when the surface is a printer that could not print.
bool printSucceeded(QWidget *parent, const platform::Surface &surface);

// The application's title, used by the messages that carry no title of their own.
QString applicationTitle();

} // namespace windcheck::ui
