#pragma once
// Showing stored drawings in picture boxes, and the routing of the engine's messages to the user.
#include "platform/surface_widget.h"

#include <QString>

class QWidget;

namespace drawing::ui {

// Sends the engine's messages (capacity, empty drawing) to the message boxes. The main window
// calls it once at start-up; the drawing windows call it too.
void installNotices();

// Clears the box and draws library drawing `number` stretched over the whole box. False with *error
// when the drawing could not be read; the box then stays empty.
bool ShowMCPicture(platform::WidgetSurface *box, const QString &number, QString *error = nullptr);

// File-dialog filter of drawing files: the extension in any case.
inline const QString kDrawingFileFilter = QStringLiteral("门窗图(*.MC *.mc *.Mc *.mC)");

// The message shown when a drawing file cannot be read.
QString fileReadFailure(const QString &path, const QString &error);

} // namespace drawing::ui
