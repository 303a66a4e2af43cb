#pragma once
// The window of one opened job: its door/window lines, with adding plain and combined lines,
// editing, deleting, the component-sheet start number and the buttons that start the component
// sheets, statistics and optimisation of the job. The window is bound to its own job: whatever it
// starts makes that job current first.
#include "project/projectstate.h"

#include <QList>
#include <QWidget>
#include <functional>

class QPushButton;
class QTreeWidget;

namespace project::ui {

class FrmAddGCMC;
class FrmAddGCZHMC;

// What the sheets, statistics and optimisation register to be started from a job window. Unset
// hooks leave their buttons doing nothing beyond the checks.
struct JobWindowHooks
{
    // Every line of the job, in list order, and the index of the selected one.
    std::function<void(QWidget *parent, const JobRef &job, const QList<JobLine> &lines, int selected)> openSheets;
    // Every line of the job, in list order.
    std::function<void(QWidget *parent, const JobRef &job, const QList<JobLine> &lines)> openStatistics;
    // The job's 编号 and name; scheme one.
    std::function<void(QWidget *parent, const QString &jobId, const QString &jobName)> openOptimisation;
};
JobWindowHooks &jobWindowHooks();

class FrmOpenGC : public QWidget
{
    Q_OBJECT
public:
    FrmOpenGC(const QString &jobId, const QString &jobName, QWidget *parent = nullptr);
    ~FrmOpenGC() override;

    QString jobId() const { return m_jobId; }
    QString jobName() const { return m_jobName; }
    // The lines as listed, in list order.
    QList<JobLine> lines() const;

    QTreeWidget *lvw = nullptr;
    QPushButton *CmdAdd = nullptr;
    QPushButton *CmcZHMC = nullptr;
    QPushButton *CmdEdit = nullptr;
    QPushButton *CmdDel = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdTotal = nullptr;
    QPushButton *cmdYH = nullptr;
    QPushButton *CmdAutoNum = nullptr;
    QPushButton *CmdExit = nullptr;

    // Appends the job's lines to the list; false with *error when reading failed.
    bool LoadGCMCList(QString *error = nullptr);
    // Appends lines written into a job elsewhere (copied) to every open window of that job.
    static void linesAdded(const QString &jobId, const QList<JobLine> &lines);

    void CmdAdd_Click();
    void CmcZHMC_Click();
    void CmdEdit_Click();
    void CmdDel_Click();
    void CmdAutoNum_Click();
    void CmdPrint_Click();
    void CmdTotal_Click();
    void cmdYH_Click();

private:
    void makeCurrent();

    QString m_jobId;
    QString m_jobName;
};

} // namespace project::ui
