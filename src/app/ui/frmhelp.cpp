#include "frmhelp.h"

#include "app/schema.h"
#include "platform/keys.h"

#include <QFile>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

FrmHelp::FrmHelp(QWidget *parent, const QString &helpFile) : QDialog(parent)
{
    setObjectName(u"frmHelp"_s);
    setWindowTitle(u"帮助"_s);
    resize(640, 480);
    auto *rtf = new QTextEdit(this);
    rtf->setObjectName(u"rtf"_s);
    rtf->setReadOnly(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rtf);
    initResources();
    QFile f(helpFile);
    if (f.open(QIODevice::ReadOnly))
        rtf->setPlainText(QString::fromUtf8(f.readAll()));
    else
        rtf->setPlainText(u"无帮助文件！"_s);
    platform::cancelOnEscape(this);
}

} // namespace app
