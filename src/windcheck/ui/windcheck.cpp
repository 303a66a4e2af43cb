#include "windcheck.h"

#include "app/shared.h"
#include "frmfy.h"
#include "frmmainfy01.h"
#include "platform/messages.h"

#include <QCoreApplication>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

void openWindCheck(QWidget *parent)
{
    if (app::FYOptionFlag != 0) {
        FrmFY form(parent);
        platform::execDialog(&form);
        return;
    }
    // One chain at a time: a running chain is brought back rather than started twice.
    static QPointer<FrmMainFY01> running;
    if (running) {
        running->raiseChain();
        return;
    }
    auto *first = new FrmMainFY01(parent);
    QPointer<FrmMainFY01> guard(first);
    platform::execDialog(first);
    if (!guard)
        return;
    // Hiding for the next step ends the modal display; the chain then lives until it is closed.
    if (first->chainRunning()) {
        first->setAttribute(Qt::WA_DeleteOnClose);
        running = first;
    }
    else
        delete first;
}

QString applicationTitle() { return QCoreApplication::applicationName(); }

} // namespace windcheck::ui
