#include "showstatistics.h"

#include "frmtjjs.h"

#include "platform/messages.h"

using namespace Qt::StringLiterals;

namespace stats::ui {

void showStatistics(QWidget *parent, const project::JobRef &job, const QList<project::JobLine> &lines)
{
    if (lines.isEmpty()) {
        platform::inform(parent, u"当前工程中无门窗！"_s);
        return;
    }
    FrmTJJS window(job, parent);
    window.setWindows(lines);
    platform::execDialog(&window);
}

} // namespace stats::ui
