#pragma once
// Work windows in the main window's MDI area.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace platform {

// Puts `widget` in a new sub-window of `area` and shows it; closing the sub-window deletes both.
// Over a maximised active window it opens maximised; otherwise at the widget's own size, cascaded
// from the newest open window and shrunk and moved to lie inside the area. Restored from maximised
// or minimised, it comes back inside the area. Its lists' columns fit their headers and contents.
QMdiSubWindow *addSubWindow(QMdiArea *area, QWidget *widget);

// Moves, and shrinks if need be, a sub-window at its own size so that its frame lies inside the area.
void keepInsideArea(QMdiArea *area, QMdiSubWindow *sub);

// Fits every list column of `root` to its header text and its widest cell, now, once shown, and
// whenever the list's headers or rows change. A width the form set is kept where the list has room
// for it; a very long cell shows whole once the user widens its column.
void fitListColumns(QWidget *root);

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
