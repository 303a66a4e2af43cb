#pragma once
// The job list "塑钢工程管理" with the job dialog: adding, editing and deleting jobs, opening a job's
// window list, copying lines into a job and opening its contract sheet.
#include <QDialog>
#include <QMdiArea>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>

class QLineEdit;

class QPushButton;
class QTreeWidget;

namespace project {
struct Job;
}

namespace project::ui {

class FrmOpenGC;

// The job dialog: 工程名称, 工程地点, 甲方单位, 合同编号. A valid OK returns the four texts as typed.
class FrmInputGC : public QDialog
{
    Q_OBJECT
public:
    explicit FrmInputGC(QWidget *parent = nullptr);

    std::array<QLineEdit *, 4> Text1{};
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    bool CheckInput();
    void OKButton_Click();

    // The job shown (its 编号 kept) with the texts confirmed by OK, or nullopt.
    std::optional<Job> entered() const;
    // Shows the dialog with a caption and, when given, a job's texts in its boxes.
    static std::optional<Job> ask(QWidget *parent, const QString &caption, const Job *shown = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    qint64 m_jobId = 0;
    bool m_confirmed = false;
};

class FrmMCGCGL : public QWidget
{
    Q_OBJECT
public:
    // Job windows open in `area`; without one they open as windows of their own.
    explicit FrmMCGCGL(QWidget *parent = nullptr);

    void setMdiArea(QMdiArea *area) { m_area = area; }

    QTreeWidget *lvw = nullptr;
    QPushButton *CmdAdd = nullptr;
    QPushButton *CmdEdit = nullptr;
    QPushButton *CmdOpen = nullptr;
    QPushButton *CmdOpenHT = nullptr;
    QPushButton *CmdDel = nullptr;
    QPushButton *CmdCopyGCMC = nullptr;
    QPushButton *CmdExit = nullptr;

    bool LoadGCList();
    // Sorted by 编号 (as a number).
    void Form_Activate();
    void CmdAdd_Click();
    void CmdEdit_Click();
    void CmdDel_Click();
    // The new job window, or null when none was opened.
    FrmOpenGC *CmdOpen_Click();
    void CmdCopyGCMC_Click();
    void CmdOpenHT_Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    QPointer<QMdiArea> m_area;
};

// Shows the one job list in the main window's MDI area, made on first use, brought forward after.
FrmMCGCGL *showProjectWindow(QMdiArea *area);

} // namespace project::ui
