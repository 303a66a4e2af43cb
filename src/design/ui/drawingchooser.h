#pragma once
// The one place where the type windows call the drawing subsystem's chooser of library drawings.
#include <QString>
#include <optional>

class QWidget;

namespace design {

// Lets the user choose a library drawing; its number, or nullopt when none was chosen.
std::optional<QString> chooseLibraryDrawing(QWidget *parent);

} // namespace design
