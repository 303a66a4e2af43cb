#pragma once
// A page laid out at fixed positions, moved on its sheet: every figure goes to another surface
// shifted by an offset, pages and document included. The painter keeps its own coordinates; where
// the page lands on paper is decided once, by whoever hands the sheet over.
#include "surface.h"

#include <QRectF>

namespace platform {

class ShiftedSurface : public Surface
{
public:
    // Draws on `target` (not owned), which must outlive this surface.
    ShiftedSurface(Surface &target, QPointF offset);

    QPointF offset() const { return m_offset; }

    double width() const override { return m_target.width() - m_offset.x(); }
    double height() const override { return m_target.height() - m_offset.y(); }
    void line(QPointF a, QPointF b) override { m_target.line(a + m_offset, b + m_offset); }
    void box(QPointF a, QPointF b) override { m_target.box(a + m_offset, b + m_offset); }
    void point(QPointF p) override { m_target.point(p + m_offset); }
    void print(const QString &text) override;
    double textHeight(const QString &text) const override { return m_target.textHeight(text); }
    double textWidth(const QString &text) const override { return m_target.textWidth(text); }
    void clear() override { m_target.clear(); }
    void refresh() override { m_target.refresh(); }
    void setPersistent(bool on) override;
    void setLineStyle(LineStyle style) override;
    void setColor(const QColor &color) override;
    void setLineWidth(double pixels) override;
    void setFont(const QFont &font) override;
    void newPage() override { m_target.newPage(); }
    void endDocument() override { m_target.endDocument(); }

private:
    Surface &m_target;
    QPointF m_offset;
};

// The offset that centres `content` (in the page's own units) on the sheet both ways. It never moves
// the content up or to the left: on a surface no larger than the content, the page stays as laid
// out.
QPointF centringOffset(const Surface &sheet, const QRectF &content);

} // namespace platform
