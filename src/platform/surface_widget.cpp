#include "surface_widget.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>

namespace platform {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

WidgetSurface::WidgetSurface(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_font = QWidget::font();
}

WidgetSurface::~WidgetSurface() { endPixmapPainter(); }

void WidgetSurface::setLogicalExtent(double w, double h)
{
    m_logicalW = w > 0 && h > 0 ? w : 0;
    m_logicalH = w > 0 && h > 0 ? h : 0;
}

double WidgetSurface::scaleX() const
{
    if (hasLogicalExtent())
        return double(QWidget::width()) / m_logicalW;
    return double(logicalDpiX()) / kTwipsPerInch;
}

double WidgetSurface::scaleY() const
{
    if (hasLogicalExtent())
        return double(QWidget::height()) / m_logicalH;
    return double(logicalDpiY()) / kTwipsPerInch;
}

double WidgetSurface::width() const
{
    return hasLogicalExtent() ? m_logicalW : double(QWidget::width()) / scaleX();
}

double WidgetSurface::height() const
{
    return hasLogicalExtent() ? m_logicalH : double(QWidget::height()) / scaleY();
}

QPointF WidgetSurface::toPixels(QPointF p) const { return {p.x() * scaleX(), p.y() * scaleY()}; }

QPointF WidgetSurface::fromPixels(QPointF px) const
{
    const double sx = scaleX(), sy = scaleY();
    return {sx > 0 ? px.x() / sx : 0.0, sy > 0 ? px.y() / sy : 0.0};
}

void WidgetSurface::ensurePixmap()
{
    const QSize s = size().expandedTo(QSize(1, 1));
    if (m_pixmap.size() == s)
        return;
    endPixmapPainter();
    QPixmap next(s);
    next.fill(m_background);
    if (!m_pixmap.isNull()) {
        QPainter p(&next);
        p.drawPixmap(0, 0, m_pixmap);
    }
    m_pixmap = next;
}

// One painter stays open on the pixmap across many figures; it is ended before the pixmap is shown.
QPainter &WidgetSurface::pixmapPainter()
{
    ensurePixmap();
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_pixmap);
        m_painter->setPen(currentPen());
        m_painter->setFont(m_font);
    }
    return *m_painter;
}

void WidgetSurface::endPixmapPainter() { m_painter.reset(); }

QPen WidgetSurface::currentPen() const
{
    QPen pen(m_color);
    pen.setWidthF(m_lineWidth <= 1.0 ? 0.0 : m_lineWidth);
    pen.setStyle(m_style == LineStyle::Dash ? Qt::DashLine : Qt::SolidLine);
    return pen;
}

void WidgetSurface::setLineStyle(LineStyle style)
{
    Surface::setLineStyle(style);
    if (m_painter)
        m_painter->setPen(currentPen());
}

void WidgetSurface::setColor(const QColor &color)
{
    Surface::setColor(color);
    if (m_painter)
        m_painter->setPen(currentPen());
}

void WidgetSurface::setLineWidth(double pixels)
{
    Surface::setLineWidth(pixels);
    if (m_painter)
        m_painter->setPen(currentPen());
}

void WidgetSurface::setFont(const QFont &font)
{
    Surface::setFont(font);
    if (m_painter)
        m_painter->setFont(font);
}

void WidgetSurface::setBackground(const QColor &color)
{
    m_background = color;
    clear();
}

void WidgetSurface::line(QPointF a, QPointF b)
{
    const QPointF pa = toPixels(a), pb = toPixels(b);
    if (persistent()) {
        pixmapPainter().drawLine(pa, pb);
        update();
    } else {
        m_overlay.append({OverlayItem::Line, pa, pb, {}, currentPen(), m_font});
        update();
    }
}

void WidgetSurface::box(QPointF a, QPointF b)
{
    const QPointF pa = toPixels(a), pb = toPixels(b);
    if (persistent()) {
        QPainter &p = pixmapPainter();
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(pa, pb).normalized());
        update();
    } else {
        m_overlay.append({OverlayItem::Box, pa, pb, {}, currentPen(), m_font});
        update();
    }
}

void WidgetSurface::point(QPointF p)
{
    const QPointF pp = toPixels(p);
    if (persistent()) {
        pixmapPainter().drawPoint(pp);
        update();
    } else {
        m_overlay.append({OverlayItem::Point, pp, pp, {}, currentPen(), m_font});
        update();
    }
}

void WidgetSurface::print(const QString &text)
{
    const QPointF pp = toPixels(currentPos());
    if (persistent()) {
        QPainter &p = pixmapPainter();
        p.drawText(pp + QPointF(0, QFontMetricsF(m_font, &m_pixmap).ascent()), text);
        update();
    } else {
        m_overlay.append({OverlayItem::Text, pp, pp, text, currentPen(), m_font});
        update();
    }
}

double WidgetSurface::textHeight(const QString &) const
{
    const double sy = scaleY();
    return sy > 0 ? QFontMetricsF(m_font, this).height() / sy : 0.0;
}

double WidgetSurface::textWidth(const QString &text) const
{
    const double sx = scaleX();
    return sx > 0 ? QFontMetricsF(m_font, this).horizontalAdvance(text) / sx : 0.0;
}

void WidgetSurface::clear()
{
    endPixmapPainter();
    ensurePixmap();
    m_pixmap.fill(m_background);
    m_overlay.clear();
    update();
}

void WidgetSurface::refresh()
{
    m_overlay.clear();
    update();
}

void WidgetSurface::setCrossHair(QPointF p, double half, bool visible)
{
    m_cross = p;
    m_crossHalf = half;
    m_crossVisible = visible;
    update();
}

void WidgetSurface::paintItem(QPainter &p, const OverlayItem &item) const
{
    p.setPen(item.pen);
    p.setBrush(Qt::NoBrush);
    switch (item.kind) {
    case OverlayItem::Line: p.drawLine(item.a, item.b); break;
    case OverlayItem::Box: p.drawRect(QRectF(item.a, item.b).normalized()); break;
    case OverlayItem::Point: p.drawPoint(item.a); break;
    case OverlayItem::Text:
        p.setFont(item.font);
        p.drawText(item.a + QPointF(0, QFontMetricsF(item.font, this).ascent()), item.text);
        break;
    }
}

void WidgetSurface::paintOverlay(QPainter &p) const
{
    for (const OverlayItem &item : std::as_const(m_overlay))
        paintItem(p, item);
    if (m_crossVisible) {
        p.setPen(QPen(m_color));
        const QPointF c = toPixels(m_cross);
        const QPointF h = toPixels(QPointF(m_crossHalf, m_crossHalf));
        p.drawLine(QPointF(c.x() - h.x(), c.y()), QPointF(c.x() + h.x(), c.y()));
        p.drawLine(QPointF(c.x(), c.y() - h.y()), QPointF(c.x(), c.y() + h.y()));
    }
}

QImage WidgetSurface::snapshot()
{
    endPixmapPainter();
    ensurePixmap();
    QImage img = m_pixmap.toImage();
    QPainter p(&img);
    paintOverlay(p);
    return img;
}

void WidgetSurface::paintEvent(QPaintEvent *event)
{
    endPixmapPainter();
    ensurePixmap();
    QPainter p(this);
    p.drawPixmap(event->rect(), m_pixmap, event->rect());
    paintOverlay(p);
}

void WidgetSurface::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ensurePixmap();
    emit resized();
}

void WidgetSurface::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->button(), event->modifiers(), fromPixels(event->position()));
}

void WidgetSurface::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->button(), event->modifiers(), fromPixels(event->position()));
}

void WidgetSurface::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), fromPixels(event->position()));
}

} // namespace platform
