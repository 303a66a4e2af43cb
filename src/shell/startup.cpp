#include "startup.h"

#include "frmlogin.h"
#include "frmsetup.h"
#include "mdimain.h"
#include "app/schema.h"
#include "drawing/ui/showpicture.h"
#include "app/shared.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QApplication>
#include <QLockFile>
#include <memory>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

bool runLogin()
{
    FrmLogin dlg;
    platform::execDialog(&dlg);
    return LoginOK;
}

int runApplication(QApplication &a)
{
    platform::installKeyRules();
    QString error;
    if (!ensureDataFolder(&error)) {
        platform::showError(nullptr, error);
        return 1;
    }
    if (!runLogin())
        return 0;
    drawing::ui::installNotices();

    FrmSetup splash;
    // A second copy ends here, silently, after its login.
    if (!splash.takeInstanceLock())
        return 0;
    std::unique_ptr<QLockFile> lock;
    platform::execDialog(&splash);
    lock.reset(splash.releaseLock());

    MDIMain mainWindow;
    mainWindow.resize(1024, 720);
    mainWindow.show();
    mainWindow.load();
    return a.exec();
}

} // namespace shell
