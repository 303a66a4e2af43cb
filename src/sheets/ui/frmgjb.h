#pragma once
// The component sheet window: one sheet per line of a job's window list, paged on screen and
// printed one, all, or from the current one on.
#include "project/jobtypes.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QFrame;

namespace platform {
class WidgetSurface;
}

namespace sheets::ui {

class FrmGJB : public QDialog
{
    Q_OBJECT
public:
    // `selected` is the index (from 0) of the line to start from; `jobId` the 编号 of the lines' job.
    FrmGJB(const QList<project::JobLine> &lines, int selected, const QString &jobId, QWidget *parent = nullptr);

    int currentPage() const { return CurPage; }
    // Draws the first sheet once the window is visible; later activations do nothing.
    void Form_Activate();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CmdPrev_Click();
    void CmdNext_Click();
    void CmdPrint_Click();
    void CmdPrintAll_Click();
    void CmdPrintNextAll_Click();

    void showLine(int page);
    void clearSheet();
    void setPageCaption();
    // Builds every sheet of the range before the first goes to the printer.
    void printLines(int from, int to);

    QList<project::JobLine> m_lines;
    QString m_jobId;
    int CurPage = 1;
    bool PendingShow = false;

    QFrame *Picture1 = nullptr;
    platform::WidgetSurface *PicGJB = nullptr;
    QTreeWidget *lvw = nullptr;
    QList<QLineEdit *> Text1;
    QLabel *txtPage = nullptr;
    QPushButton *CmdPrev = nullptr;
    QPushButton *CmdNext = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdPrintAll = nullptr;
    QPushButton *CmdPrintNextAll = nullptr;
    QPushButton *CmdExit = nullptr;
};

} // namespace sheets::ui
