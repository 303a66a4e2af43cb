#include "surface_shifted.h"

#include <algorithm>

namespace platform {

ShiftedSurface::ShiftedSurface(Surface &target, QPointF offset) : m_target(target), m_offset(offset)
{
    m_persistent = target.persistent();
    m_style = target.lineStyle();
    m_color = target.color();
    m_lineWidth = target.lineWidth();
    m_font = target.font();
}

void ShiftedSurface::print(const QString &text)
{
    m_target.setCurrentPos(currentPos() + m_offset);
    m_target.print(text);
}

void ShiftedSurface::setPersistent(bool on)
{
    Surface::setPersistent(on);
    m_target.setPersistent(on);
}

void ShiftedSurface::setLineStyle(LineStyle style)
{
    Surface::setLineStyle(style);
    m_target.setLineStyle(style);
}

void ShiftedSurface::setColor(const QColor &color)
{
    Surface::setColor(color);
    m_target.setColor(color);
}

void ShiftedSurface::setLineWidth(double pixels)
{
    Surface::setLineWidth(pixels);
    m_target.setLineWidth(pixels);
}

void ShiftedSurface::setFont(const QFont &font)
{
    Surface::setFont(font);
    m_target.setFont(font);
}

QPointF centringOffset(const Surface &sheet, const QRectF &content)
{
    return {std::max(0.0, (sheet.width() - content.width()) / 2 - content.left()),
            std::max(0.0, (sheet.height() - content.height()) / 2 - content.top())};
}

} // namespace platform
