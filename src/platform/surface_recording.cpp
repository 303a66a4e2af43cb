#include "surface_recording.h"

namespace platform {

RecordingSurface::RecordingSurface(double width, double height, double textHeight)
    : m_width(width), m_height(height), m_textHeight(textHeight)
{
}

void RecordingSurface::setExtent(double width, double height)
{
    m_width = width;
    m_height = height;
}

void RecordingSurface::add(SurfaceOp op)
{
    op.persistent = persistent();
    op.style = lineStyle();
    op.page = m_page;
    ops.append(std::move(op));
}

void RecordingSurface::line(QPointF a, QPointF b) { add({SurfaceOp::Line, a, b, {}}); }
void RecordingSurface::box(QPointF a, QPointF b) { add({SurfaceOp::Box, a, b, {}}); }
void RecordingSurface::point(QPointF p) { add({SurfaceOp::Point, p, p, {}}); }
void RecordingSurface::print(const QString &text) { add({SurfaceOp::Text, currentPos(), currentPos(), text}); }

double RecordingSurface::textHeight(const QString &) const { return m_textHeight; }
double RecordingSurface::textWidth(const QString &text) const { return double(text.size()) * m_textHeight / 2; }

void RecordingSurface::clear() { add({SurfaceOp::Clear, {}, {}, {}}); }
void RecordingSurface::refresh() { add({SurfaceOp::Refresh, {}, {}, {}}); }

void RecordingSurface::newPage()
{
    add({SurfaceOp::NewPage, {}, {}, {}});
    ++m_page;
}

void RecordingSurface::endDocument() { add({SurfaceOp::EndDocument, {}, {}, {}}); }

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
