#include "printing.h"

#include "messages.h"
#include "surface_printer.h"

#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

PrintSurfaceFactory &factory()
{
    static PrintSurfaceFactory f;
    return f;
}

void reportFailure(QWidget *parent)
{
    showError(parent, u"打印出错！请检查打印机是否可用。"_s);
}

} // namespace

bool printDocument(QWidget *parent, PrintRoute route, QPageLayout::Orientation orientation, const PaintJob &paint)
{
    bool defaultFailed = false;
    if (route == PrintRoute::DefaultPrinter) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(orientation);
        if (messages().useDefaultPrinter(&printer)) {
            switch (paint(printer)) {
            case PaintOutcome::Done: return true;
            case PaintOutcome::Stopped: return false;
            case PaintOutcome::DeviceFailed: defaultFailed = true; break;
            }
        }
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(u"printDialog"_s);
    if (execDialog(&dialog) != QDialog::Accepted) {
        // The user gave up on another printer: the default printer's failure still stands.
        if (defaultFailed)
            reportFailure(parent);
        return false;
    }
    switch (paint(printer)) {
    case PaintOutcome::Done: return true;
    case PaintOutcome::Stopped: return false;
    case PaintOutcome::DeviceFailed: break;
    }
    reportFailure(parent);
    return false;
}

bool printOnSurface(QWidget *parent, PrintRoute route, const std::function<bool(Surface &)> &draw)
{
    if (factory()) {
        const std::unique_ptr<Surface> surface = factory()();
        return draw(*surface);
    }
    return printDocument(parent, route, QPageLayout::Portrait, [&draw](QPrinter &printer) {
        PrinterSurface surface(&printer);
        const bool completed = draw(surface);
        surface.endDocument();
        if (surface.failed())
            return PaintOutcome::DeviceFailed;
        return completed ? PaintOutcome::Done : PaintOutcome::Stopped;
    });
}

std::unique_ptr<Surface> printPageSurface()
{
    if (factory())
        return factory()();
    auto surface = std::make_unique<PrinterSurface>();
    messages().useDefaultPrinter(surface->printer());
    return surface;
}

void setPrintSurfaceFactory(PrintSurfaceFactory f) { factory() = std::move(f); }

} // namespace platform
