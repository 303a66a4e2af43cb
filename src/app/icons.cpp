#include "icons.h"

#include <QPainter>
#include <QPixmap>

namespace app {

namespace {

// A white frame with `columns` panes of glass side by side, at every size a desktop asks for.
QIcon windowFrame(int columns, const QColor &glass, const QColor &outline)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        const qreal line = std::max<qreal>(1.0, s / 32);
        const QRectF outer(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
        p.setPen(QPen(outline, line));
        p.setBrush(Qt::white);
        p.drawRoundedRect(outer, s * 0.06, s * 0.06);
        const qreal profile = s * 0.11; // the width of the frame and of the mullions
        const QRectF inner = outer.adjusted(profile, profile, -profile, -profile);
        const qreal paneWidth = (inner.width() - profile * (columns - 1)) / columns;
        for (int i = 0; i < columns; ++i) {
            const QRectF pane(inner.left() + i * (paneWidth + profile), inner.top(), paneWidth, inner.height());
            p.setBrush(glass);
            p.drawRect(pane);
            // A light reflection across the glass.
            p.setPen(QPen(QColor(255, 255, 255, 170), line * 1.5));
            p.drawLine(QPointF(pane.left() + pane.width() * 0.25, pane.top() + pane.height() * 0.45),
                       QPointF(pane.left() + pane.width() * 0.65, pane.top() + pane.height() * 0.12));
            p.setPen(QPen(outline, line));
        }
        if (size >= 24 && columns > 1) { // a handle on the mullion
            p.setBrush(outline);
            const qreal x = inner.left() + paneWidth + profile / 2;
            p.drawRoundedRect(QRectF(x - line, inner.center().y() - s * 0.08, line * 2, s * 0.16), line, line);
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon appIcon()
{
    static const QIcon icon = windowFrame(2, QColor(0x7f, 0xb8, 0xe6), QColor(0x3a, 0x4f, 0x66));
    return icon;
}

QIcon mainDrawingIcon() { return appIcon(); }

QIcon componentIcon()
{
    static const QIcon icon = windowFrame(1, QColor(0x9c, 0xd6, 0xa4), QColor(0x3a, 0x66, 0x45));
    return icon;
}

} // namespace app
