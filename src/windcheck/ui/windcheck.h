#pragma once
// Entry of the wind-pressure checks.
#include <QString>

class QWidget;

namespace windcheck::ui {

// Opens the wind check modally: the one-window check when app::FYOptionFlag is not 0, otherwise
// the two-step check, whose later windows stay open after the first one hides.
void openWindCheck(QWidget *parent);

// The application's title, used by the messages that carry no title of their own.
QString applicationTitle();

} // namespace windcheck::ui
