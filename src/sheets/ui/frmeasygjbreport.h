#pragma once
// The cut list preview: one printer page of the simple cut list at a time, scrolled inside a
// viewport, stepped through and printed.
#include <QDialog>
#include <QSizeF>

class QFrame;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace platform {
class WidgetSurface;
}

namespace sheets {
class SimpleBuyTable;
}

namespace sheets::ui {

class FrmEasyGJBReport : public QDialog
{
    Q_OBJECT
public:
    // `pageTwips`: the printer's page in twips. The list must outlive the window.
    FrmEasyGJBReport(const SimpleBuyTable &list, QSizeF pageTwips, QWidget *parent = nullptr);

    int currentPage() const { return CurPage; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CmdNext_Click();
    void CmdPrev_Click();
    void CmdPrint_Click();
    void Command1_Click();
    void drawPage();
    void setPageCaption();

    const SimpleBuyTable &m_list;
    int CurPage = 0;
    bool m_closeOnShow = false;

    QPushButton *CmdPrint = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *CmdPrev = nullptr;
    QPushButton *CmdNext = nullptr;
    QLineEdit *txtPage = nullptr;
    QPushButton *CmdExit = nullptr;
    QFrame *Picture1 = nullptr;
    platform::WidgetSurface *PicGJB = nullptr;
    QScrollBar *VS = nullptr;
    QScrollBar *HS = nullptr;
};

} // namespace sheets::ui
