#include "reportview.h"

#include "messages.h"
#include "surface_printer.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
// The report is laid out on the whole sheet: its own margins keep it off the edges.
PaintOutcome render(QPrinter *printer, const Report &report)
{
    printer->setPageOrientation(report.orientation);
    printer->setFullPage(true);
    PrinterSurface surface(printer);
    surface.newPage(); // opens the device: the first page
    if (surface.failed())
        return PaintOutcome::DeviceFailed;
    const int pages = paintReport(report, surface);
    const bool allPages = surface.pagesStarted() == pages;
    surface.endDocument();
    return allPages ? PaintOutcome::Done : PaintOutcome::DeviceFailed;
}

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

void previewReport(QWidget *parent, const Report &report, const QString &caption)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(report.orientation);
    QDialog dialog(parent);
    dialog.setObjectName(u"reportPreview"_s);
    dialog.setWindowTitle(caption);
    dialog.resize(900, 700);
    auto *view = new QPrintPreviewWidget(&printer, &dialog);
    view->setObjectName(u"previewPages"_s);
    QObject::connect(view, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&report](QPrinter *p) { render(p, report); });
    auto *print = button(u"cmdPrint"_s, u"打印"_s, &dialog);
    auto *zoomIn = button(u"cmdZoomIn"_s, u"放大"_s, &dialog);
    auto *zoomOut = button(u"cmdZoomOut"_s, u"缩小"_s, &dialog);
    auto *fit = button(u"cmdFit"_s, u"整页"_s, &dialog);
    auto *close = button(u"cmdClose"_s, u"关闭"_s, &dialog);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {print, zoomIn, zoomOut, fit})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(buttons);
    layout->addWidget(view, 1);
    QObject::connect(print, &QPushButton::clicked, &dialog, [&dialog, &report] {
        if (printReport(&dialog, report))
            dialog.accept();
    });
    QObject::connect(zoomIn, &QPushButton::clicked, view, [view] { view->zoomIn(); });
    QObject::connect(zoomOut, &QPushButton::clicked, view, [view] { view->zoomOut(); });
    QObject::connect(fit, &QPushButton::clicked, view, &QPrintPreviewWidget::fitInView);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    view->fitToWidth();
    execDialog(&dialog);
}

bool printReport(QWidget *parent, const Report &report, PrintRoute route)
{
    return printDocument(parent, route, report.orientation, [&report](QPrinter &p) { return render(&p, report); });
}

bool writeReportPdf(const Report &report, const QString &path, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const PaintOutcome outcome = render(&printer, report);
    if (outcome != PaintOutcome::Done && error)
        *error = u"无法写入文件：%1"_s.arg(path);
    return outcome == PaintOutcome::Done;
}

} // namespace platform
