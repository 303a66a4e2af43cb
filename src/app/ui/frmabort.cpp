#include "frmabort.h"

#include "platform/keys.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

FrmAbort::FrmAbort(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmAbort"_s);
    setWindowTitle(u"关于"_s);
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(u"<h2>Velmorra</h2>塑钢门窗设计与加工管理系统"_s, this);
    name->setObjectName(u"lblName"_s);
    auto *version = new QLabel(u"版本 %1"_s.arg(QStringLiteral(VELMORRA_VERSION)), this);
    version->setObjectName(u"lblVersion"_s);
    auto *platformLine = new QLabel(u"平台:Linux 桌面 (Qt 6)"_s, this);
    platformLine->setObjectName(u"lblPlatform"_s);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(platformLine);
    // Any key closes it, Enter and Esc included.
    platform::takesEveryKey(this);
}

void FrmAbort::keyPressEvent(QKeyEvent *) { accept(); }
void FrmAbort::mousePressEvent(QMouseEvent *) { accept(); }

} // namespace app
