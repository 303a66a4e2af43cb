#include "surface_printer.h"

#include <QFontMetricsF>
#include <QPageLayout>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

QFont PrinterSurface::defaultFont()
{
    QFont f(u"WenQuanYi Micro Hei"_s);
    f.setPointSizeF(9);
    return f;
}

PrinterSurface::PrinterSurface(QPrinter *printer) : m_printer(printer)
{
    m_printer->setFullPage(true);
    m_font = defaultFont();
}

PrinterSurface::PrinterSurface(const QString &pdfPath)
    : m_ownPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer = m_ownPrinter.get();
    if (!pdfPath.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(pdfPath);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
    }
    m_printer->setFullPage(true);
    m_font = defaultFont();
}

PrinterSurface::~PrinterSurface()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

double PrinterSurface::unitsPerDevice() const { return kTwipsPerInch / double(m_printer->resolution()); }

QPointF PrinterSurface::toDevice(QPointF p) const
{
    const double k = 1.0 / unitsPerDevice();
    return {p.x() * k, p.y() * k};
}

double PrinterSurface::width() const
{
    return m_printer->pageLayout().fullRectPixels(m_printer->resolution()).width() * unitsPerDevice();
}

double PrinterSurface::height() const
{
    return m_printer->pageLayout().fullRectPixels(m_printer->resolution()).height() * unitsPerDevice();
}

QPen PrinterSurface::currentPen() const
{
    QPen pen(m_color);
    // Screen pixels to device pixels, never thinner than one screen pixel.
    pen.setWidthF(std::max(1.0, m_lineWidth) * double(m_printer->resolution()) / 96.0);
    pen.setStyle(m_style == LineStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    return pen;
}

// The document begins with the first figure, as a printer's does.
QPainter *PrinterSurface::painter()
{
    if (m_painter && m_painter->isActive())
        return m_painter.get();
    m_painter = std::make_unique<QPainter>();
    m_printer->setFullPage(true); // a later change of output format may have reset it
    if (!m_painter->begin(m_printer)) {
        m_failed = true;
        m_painter.reset();
        return nullptr;
    }
    m_failed = false;
    m_pages = 1;
    m_painter->setPen(currentPen());
    m_painter->setFont(m_font);
    return m_painter.get();
}

void PrinterSurface::setLineStyle(LineStyle style)
{
    Surface::setLineStyle(style);
    if (m_painter && m_painter->isActive())
        m_painter->setPen(currentPen());
}

void PrinterSurface::setColor(const QColor &color)
{
    Surface::setColor(color);
    if (m_painter && m_painter->isActive())
        m_painter->setPen(currentPen());
}

void PrinterSurface::setLineWidth(double pixels)
{
    Surface::setLineWidth(pixels);
    if (m_painter && m_painter->isActive())
        m_painter->setPen(currentPen());
}

void PrinterSurface::setFont(const QFont &font)
{
    Surface::setFont(font);
    if (m_painter && m_painter->isActive())
        m_painter->setFont(font);
}

void PrinterSurface::line(QPointF a, QPointF b)
{
    if (QPainter *p = painter())
        p->drawLine(toDevice(a), toDevice(b));
}

void PrinterSurface::box(QPointF a, QPointF b)
{
    if (QPainter *p = painter()) {
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRectF(toDevice(a), toDevice(b)).normalized());
    }
}

void PrinterSurface::point(QPointF pt)
{
    if (QPainter *p = painter())
        p->drawPoint(toDevice(pt));
}

void PrinterSurface::print(const QString &text)
{
    if (QPainter *p = painter()) {
        const QFontMetricsF fm(m_font, m_printer);
        p->drawText(toDevice(currentPos()) + QPointF(0, fm.ascent()), text);
    }
}

double PrinterSurface::textHeight(const QString &) const
{
    return QFontMetricsF(m_font, m_printer).height() * unitsPerDevice();
}

double PrinterSurface::textWidth(const QString &text) const
{
    return QFontMetricsF(m_font, m_printer).horizontalAdvance(text) * unitsPerDevice();
}

void PrinterSurface::newPage()
{
    const bool wasActive = m_painter && m_painter->isActive();
    if (!painter())
        return;
    if (!wasActive)
        return; // the page just begun is the new page
    if (m_printer->newPage())
        ++m_pages;
}

void PrinterSurface::endDocument()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
}

} // namespace platform
