#include "sheetwindows.h"

#include "frmeasygjbreport.h"
#include "frmgjb.h"
#include "sheets/simplebuy.h"

#include "platform/messages.h"
#include "platform/printing.h"

using namespace Qt::StringLiterals;

namespace sheets::ui {

void showComponentSheets(QWidget *parent, const project::JobRef &job, const QList<project::JobLine> &lines,
                         int selected)
{
    if (lines.isEmpty() || selected < 0 || selected >= lines.size()) {
        platform::inform(parent, u"当前工程中没有可打印的门窗！"_s);
        return;
    }
    FrmGJB window(lines, selected, job.id, parent);
    platform::execDialog(&window);
}

void showSimpleBuyPreview(QWidget *parent, const SimpleBuyTable &table)
{
    if (table.PageCount() == 0)
        return;
    const std::unique_ptr<platform::Surface> printer = platform::printPageSurface();
    FrmEasyGJBReport window(table, QSizeF(printer->width(), printer->height()), parent);
    platform::execDialog(&window);
}

void showSimpleCutList(QWidget *parent, const QList<project::JobLine> &chosen, const QString &projectName)
{
    QString error;
    const std::unique_ptr<SimpleBuyTable> table = buildSimpleBuyTable(chosen, projectName, &error);
    if (!table) {
        platform::showError(parent, u"读取构件简表数据出错：\n"_s + error);
        return;
    }
    if (table->PageCount() == 0) {
        platform::inform(parent, u"无可购件数据！"_s);
        return;
    }
    showSimpleBuyPreview(parent, *table);
}

} // namespace sheets::ui
