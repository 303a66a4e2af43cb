#pragma once
class QApplication;

namespace shell {

// Qt's own texts in Chinese and Velmorra's icon on every window; the first step of the start.
void prepareApplication();
// Login, splash, main window; returns the program's exit code.
int runApplication(QApplication &a);
// Shows the login dialog; true when an account logged in.
bool runLogin();

} // namespace shell
