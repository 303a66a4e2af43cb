#pragma once
// The one way to print. A document goes either straight to the desktop's default printer (where the
// program prints without asking) or to the printer chosen in the print dialog, which also offers a
// PDF file. When there is no default printer, or it cannot be opened, the print dialog is shown
// instead, so printing never ends in a dead end. Every failure is reported to the user, and a
// document counts as printed only when the printer took it.
#include "surface.h"

#include <QPageLayout>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace platform {

enum class PrintRoute { DefaultPrinter, Dialog };

enum class PaintOutcome {
    Done,
    DeviceFailed, // the printer could not be opened; nothing was printed
    Stopped,      // the document stopped on an error of its own, which it has reported
};

// Paints the document on the printer; may be run a second time on another printer.
using PaintJob = std::function<PaintOutcome(QPrinter &printer)>;

// True when the document was printed.
bool printDocument(QWidget *parent, PrintRoute route, QPageLayout::Orientation orientation, const PaintJob &paint);

// Drawing on the printer page as a surface: `draw` returns false when it stopped on an error of its
// own (already reported). It may be run a second time, on the printer the user chose.
bool printOnSurface(QWidget *parent, PrintRoute route, const std::function<bool(Surface &)> &draw);

// A surface with the printer's page size, for laying out before printing.
std::unique_ptr<Surface> printPageSurface();

// Tests divert surface printing to surfaces of their own (recordings); no printer is involved then.
// An empty factory restores the printer.
using PrintSurfaceFactory = std::function<std::unique_ptr<Surface>()>;
void setPrintSurfaceFactory(PrintSurfaceFactory factory);

} // namespace platform
