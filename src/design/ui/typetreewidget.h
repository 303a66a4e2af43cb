#pragma once
// The tree of the type design window. It hands its mouse presses (after its own selection
// handling; a right press is left wholly to the window) and its moves and releases to the window,
// which drags types inside the tree itself. A move with the left button held never changes the
// selection: the tree only ever shows a drag's target as a highlight.
#include <QMouseEvent>
#include <QTreeWidget>
#include <functional>

namespace design {

class TypeTreeWidget : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

    std::function<void(Qt::MouseButton, const QPoint &)> onPress;
    std::function<void(Qt::MouseButtons, const QPoint &)> onMove;
    std::function<void(Qt::MouseButton, const QPoint &)> onRelease;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::RightButton)
            QTreeWidget::mousePressEvent(event);
        if (onPress)
            onPress(event->button(), event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (onMove)
            onMove(event->buttons(), event->position().toPoint());
        if (!(event->buttons() & Qt::LeftButton))
            QTreeWidget::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (onRelease)
            onRelease(event->button(), event->position().toPoint());
        QTreeWidget::mouseReleaseEvent(event);
    }
};

} // namespace design
