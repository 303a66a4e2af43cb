#include "reportview.h"

#include "messages.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace platform {

namespace {
void render(QPrinter *printer, const Report &report)
{
    printer->setPageOrientation(report.orientation);
    printer->setFullPage(true);
    QPainter painter;
    if (!painter.begin(printer))
        return;
    const QRectF page(QPointF(0, 0), printer->pageLayout().fullRectPixels(printer->resolution()).size());
    const int count = paintReportPage(report, painter, page, 0);
    for (int i = 1; i < count; ++i) {
        printer->newPage();
        paintReportPage(report, painter, page, i);
    }
    painter.end();
}
} // namespace

void previewReport(QWidget *parent, const Report &report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(report.orientation);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("reportPreview"));
    dialog.setWindowTitle(report.title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter *p) { render(p, report); });
    execDialog(&dialog);
}

bool printReport(QWidget *parent, const Report &report)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(report.orientation);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("reportPrint"));
    if (execDialog(&dialog) != QDialog::Accepted)
        return false;
    render(&printer, report);
    return true;
}

} // namespace platform
