#include "surface_recording.h"

#include <QFontMetricsF>

namespace platform {

RecordingSurface::RecordingSurface(double width, double height, double textHeight)
    : m_width(width), m_height(height), m_textHeight(textHeight)
{
}

RecordingSurface RecordingSurface::paper(double widthTwips, double heightTwips)
{
    RecordingSurface s(widthTwips, heightTwips);
    // A device of 1440 dots per inch: font metrics come out in twips.
    s.m_twips = QImage(1, 1, QImage::Format_Mono);
    const int dotsPerMetre = qRound(1440 / 0.0254);
    s.m_twips.setDotsPerMeterX(dotsPerMetre);
    s.m_twips.setDotsPerMeterY(dotsPerMetre);
    return s;
}

void RecordingSurface::add(SurfaceOp::Kind kind, QPointF a, QPointF b)
{
    SurfaceOp op;
    op.kind = kind;
    op.a = a;
    op.b = b;
    add(std::move(op));
}

void RecordingSurface::add(SurfaceOp op)
{
    op.persistent = persistent();
    op.style = lineStyle();
    op.page = m_page;
    ops.append(std::move(op));
}

void RecordingSurface::line(QPointF a, QPointF b) { add(SurfaceOp::Line, a, b); }
void RecordingSurface::box(QPointF a, QPointF b) { add(SurfaceOp::Box, a, b); }
void RecordingSurface::point(QPointF p) { add(SurfaceOp::Point, p, p); }
void RecordingSurface::print(const QString &text)
{
    SurfaceOp op;
    op.kind = SurfaceOp::Text;
    op.a = op.b = currentPos();
    op.text = text;
    op.extent = QSizeF(textWidth(text), textHeight(text));
    op.font = font();
    add(std::move(op));
}

double RecordingSurface::textHeight(const QString &) const
{
    if (!m_twips.isNull())
        return QFontMetricsF(font(), &m_twips).height();
    return m_textHeight;
}

double RecordingSurface::textWidth(const QString &text) const
{
    if (!m_twips.isNull())
        return QFontMetricsF(font(), &m_twips).horizontalAdvance(text);
    return double(text.size()) * m_textHeight / 2;
}

void RecordingSurface::clear() { add(SurfaceOp::Clear); }
void RecordingSurface::refresh() { add(SurfaceOp::Refresh); }

void RecordingSurface::newPage()
{
    add(SurfaceOp::NewPage);
    ++m_page;
}

void RecordingSurface::endDocument() { add(SurfaceOp::EndDocument); }

QList<QLineF> RecordingSurface::lines(int page) const
{
    QList<QLineF> out;
    for (const SurfaceOp &op : ops)
        if (op.kind == SurfaceOp::Line && (page < 0 || op.page == page))
            out.append(QLineF(op.a, op.b));
    return out;
}

QList<SurfaceOp> RecordingSurface::texts(int page) const
{
    QList<SurfaceOp> out;
    for (const SurfaceOp &op : ops)
        if (op.kind == SurfaceOp::Text && (page < 0 || op.page == page))
            out.append(op);
    return out;
}

QList<QPointF> RecordingSurface::points() const
{
    QList<QPointF> out;
    for (const SurfaceOp &op : ops)
        if (op.kind == SurfaceOp::Point)
            out.append(op.a);
    return out;
}

int RecordingSurface::count(SurfaceOp::Kind kind) const
{
    int n = 0;
    for (const SurfaceOp &op : ops)
        n += op.kind == kind;
    return n;
}

void RecordingSurface::reset()
{
    ops.clear();
    m_page = 0;
}

} // namespace platform
