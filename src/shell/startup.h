#pragma once
#include <memory>

class QApplication;
class QLockFile;

namespace shell {

// Qt's own texts in Chinese and Velmorra's icon on every window; the first step of the start.
void prepareApplication();
enum class StartCheck { Ready, AlreadyRunning, Failed };
// Before the login: takes the single-instance lock, then makes or repairs the data folder under
// it, so that two starts never build the same files. Tells the user when another instance runs
// or the folder cannot be made. *lock keeps the lock for the life of the program.
StartCheck prepareStart(std::unique_ptr<QLockFile> *lock);

// Login, splash, main window; returns the program's exit code.
int runApplication(QApplication &a);
// Shows the login dialog; true when an account logged in.
bool runLogin();

} // namespace shell
