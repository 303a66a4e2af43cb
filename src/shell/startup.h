#pragma once
class QApplication;

namespace shell {

// Login, splash, main window; returns the program's exit code.
int runApplication(QApplication &a);
// Shows the login dialog; true when an account logged in.
bool runLogin();

} // namespace shell
