#pragma once
class QApplication;

namespace app {

// Login, splash, main window; returns the program's exit code.
int runApplication(QApplication &a);
// Shows the login dialog; true when an account logged in.
bool runLogin();

} // namespace app
