#pragma once
// A drawing surface: what the figures of a drawing are made of (segments, outlined boxes, points and
// text at a current position) on a screen box, a printer page or a recorder. Coordinates are the
// surface's own units. Colour, line width and font are prepared by the caller; the drawing code only
// picks the layer and the line style.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>

namespace platform {

enum class LineStyle { Solid, Dash };

class Surface
{
public:
    virtual ~Surface() = default;

    // Extent of the surface in its own units.
    virtual double width() const = 0;
    virtual double height() const = 0;

    virtual void line(QPointF a, QPointF b) = 0;
    // Outline of the axis-parallel box with opposite corners a and b.
    virtual void box(QPointF a, QPointF b) = 0;
    virtual void point(QPointF p) = 0;

    // Text is placed by its top-left corner at the current position, which printing leaves unchanged.
    void setCurrentPos(QPointF p) { m_current = p; }
    QPointF currentPos() const { return m_current; }
    virtual void print(const QString &text) = 0;
    // Height and width of a text in the current font, in surface units.
    virtual double textHeight(const QString &text) const = 0;
    virtual double textWidth(const QString &text) const = 0;

    // Erases everything, both layers.
    virtual void clear() = 0;
    // Wipes the temporary layer and shows the surface again.
    virtual void refresh() = 0;
    // Persistent: figures survive refreshes (cleared only by clear()). Otherwise they go to the
    // temporary layer that the next refresh wipes.
    virtual void setPersistent(bool on) { m_persistent = on; }
    bool persistent() const { return m_persistent; }

    virtual void setLineStyle(LineStyle style) { m_style = style; }
    LineStyle lineStyle() const { return m_style; }

    // Preparation by the caller.
    virtual void setColor(const QColor &color) { m_color = color; }
    QColor color() const { return m_color; }
    // Width in screen pixels (1/96 inch); 0 or 1 is the thinnest line the device draws.
    virtual void setLineWidth(double pixels) { m_lineWidth = pixels; }
    double lineWidth() const { return m_lineWidth; }
    virtual void setFont(const QFont &font) { m_font = font; }
    QFont font() const { return m_font; }

    // Paged devices: start a new page; end the document (the pages go out). Others ignore both.
    virtual void newPage() {}
    virtual void endDocument() {}

protected:
    QPointF m_current;
    bool m_persistent = true;
    LineStyle m_style = LineStyle::Solid;
    QColor m_color = Qt::black;
    double m_lineWidth = 1.0;
    QFont m_font;
};

} // namespace platform
