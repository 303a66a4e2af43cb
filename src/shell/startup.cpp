#include "startup.h"

#include "frmlogin.h"
#include "frmsetup.h"
#include "mdimain.h"
#include "app/icons.h"
#include "app/schema.h"
#include "drawing/ui/showpicture.h"
#include "app/shared.h"
#include "platform/chinese.h"
#include "platform/datafolder.h"
#include "platform/filewrite.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/settings.h"

#include <QApplication>
#include <QDateTime>
#include <QLockFile>
#include <memory>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

namespace {
// Set when the program is loaded, before anything of this run is written.
const QDateTime started = QDateTime::currentDateTime();
QDateTime programStart() { return started; }
} // namespace

bool runLogin()
{
    FrmLogin dlg;
    platform::execDialog(&dlg);
    return LoginOK;
}

void prepareApplication()
{
    platform::installQtTranslation();
    QApplication::setWindowIcon(appIcon());
    platform::installKeyRules();
}

StartCheck prepareStart(std::unique_ptr<QLockFile> *lock)
{
    *lock = platform::lockDataFolder();
    if (!*lock) {
        platform::inform(nullptr, u"Velmorra 已在运行。"_s);
        return StartCheck::AlreadyRunning;
    }
    // What killed runs left (workbooks being written or shown, settings being saved) is removed;
    // the lock says that no other run is using them.
    platform::removeStaleTemporaries(programStart());
    platform::SettingsStore::removeStaleTemporaries(programStart());
    QString error;
    if (!ensureDataFolder(&error)) {
        platform::showError(nullptr, error);
        return StartCheck::Failed;
    }
    return StartCheck::Ready;
}

int runApplication(QApplication &a)
{
    prepareApplication();
    std::unique_ptr<QLockFile> lock;
    switch (prepareStart(&lock)) {
    case StartCheck::Ready: break;
    case StartCheck::AlreadyRunning: return 0;
    case StartCheck::Failed: return 1;
    }
    if (!runLogin())
        return 0;
    drawing::ui::installNotices();

    FrmSetup splash;
    platform::execDialog(&splash);

    MDIMain mainWindow;
    mainWindow.showWithSavedPlacement();
    mainWindow.load();
    return a.exec();
}

} // namespace shell
