#pragma once
// Work windows in the main window's MDI area.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace platform {

// Puts `widget` in a new sub-window of `area` at the widget's own size and shows it; closing the
// sub-window deletes both.
QMdiSubWindow *addSubWindow(QMdiArea *area, QWidget *widget);

// Brings the sub-window holding `widget` to the front; false when it is no longer open in `area`
// (a window closed a moment ago leaves the area's list before it is deleted).
bool raiseSubWindow(QMdiArea *area, QWidget *widget);

// The single instance of a work window: brought back while open, made anew after it was closed.
template <class W>
W *showSingleSubWindow(QMdiArea *area, QPointer<W> &instance)
{
    if (instance && raiseSubWindow(area, instance))
        return instance;
    instance = new W;
    addSubWindow(area, instance);
    return instance;
}

} // namespace platform
