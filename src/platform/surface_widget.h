#pragma once
// A picture box: a widget whose persistent figures live in a pixmap and whose temporary figures
// (rubber bands) are an overlay repainted over it until the next refresh. Its units are twips of
// the box (15 per pixel at 96 dpi) unless a fixed logical extent is set, which then always spans the
// whole box however it is resized.
#include "surface.h"

#include <QList>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QWidget>
#include <memory>

namespace platform {

class WidgetSurface : public QWidget, public Surface
{
    Q_OBJECT
public:
    explicit WidgetSurface(QWidget *parent = nullptr);
    ~WidgetSurface() override;

    // Fixes the units: (0, 0)-(w, h) spans the whole box. w or h <= 0 returns to twips.
    void setLogicalExtent(double w, double h);
    bool hasLogicalExtent() const { return m_logicalW > 0 && m_logicalH > 0; }

    double width() const override;
    double height() const override;
    void line(QPointF a, QPointF b) override;
    void box(QPointF a, QPointF b) override;
    void point(QPointF p) override;
    void print(const QString &text) override;
    double textHeight(const QString &text) const override;
    double textWidth(const QString &text) const override;
    void clear() override;
    void refresh() override;
    void setLineStyle(LineStyle style) override;
    void setColor(const QColor &color) override;
    void setLineWidth(double pixels) override;
    void setFont(const QFont &font) override;

    void setBackground(const QColor &color);
    // A cross-hair of two segments through p, `half` units either side; not wiped by refresh.
    void setCrossHair(QPointF p, double half, bool visible = true);

    // Conversions between surface units and widget pixels.
    QPointF toPixels(QPointF p) const;
    QPointF fromPixels(QPointF px) const;

    // What the box shows now (pixmap with the overlay and cross-hair).
    QImage snapshot();
    QSize sizeHint() const override { return {320, 240}; }

signals:
    // Positions in surface units.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pos);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pos);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF pos);
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct OverlayItem
    {
        enum Kind { Line, Box, Point, Text } kind;
        QPointF a, b; // pixels
        QString text;
        QPen pen;
        QFont font;
    };
    QPainter &pixmapPainter();
    void endPixmapPainter();
    void ensurePixmap();
    QPen currentPen() const;
    void paintItem(QPainter &p, const OverlayItem &item) const;
    void paintOverlay(QPainter &p) const;
    double scaleX() const; // pixels per unit
    double scaleY() const;

    QPixmap m_pixmap;
    std::unique_ptr<QPainter> m_painter;
    QList<OverlayItem> m_overlay;
    QColor m_background = Qt::white;
    double m_logicalW = 0;
    double m_logicalH = 0;
    bool m_crossVisible = false;
    QPointF m_cross;
    double m_crossHalf = 0;
};

} // namespace platform
