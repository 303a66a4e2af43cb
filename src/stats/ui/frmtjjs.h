#pragma once
// The statistics and settlement window: windows of the open job are moved into the chosen list,
// gathered into the work tables, priced into material, cost and by-length lists, settled by area,
// and shown as reports or exported.
#include "platform/report.h"
#include "project/projectstate.h"
#include "stats/pricing.h"
#include "stats/statsexport.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

class QCheckBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace stats {
class StatsStore;
}

namespace stats::ui {

class FrmTJJS : public QDialog
{
    Q_OBJECT
public:
    // The reports carry the job's name, the settlement its client.
    explicit FrmTJJS(const project::JobRef &job, QWidget *parent = nullptr);
    ~FrmTJJS() override;

    // Fills the available list with the job's windows, in order.
    void setWindows(const QList<project::JobLine> &lines);
    QList<project::JobLine> chosenLines() const;
    // The report last shown in a preview.
    const platform::Report &lastReport() const { return m_lastReport; }

    QTreeWidget *LvwR = nullptr;
    QTreeWidget *LvwD = nullptr;
    QPushButton *CmdSelect = nullptr;
    QPushButton *CmdSelectAll = nullptr;
    QPushButton *CmdRemove = nullptr;
    QPushButton *CmdRemoveAll = nullptr;
    QPushButton *CmdGJB = nullptr;
    QPushButton *CmdExit = nullptr;
    QCheckBox *chkXC = nullptr;
    QCheckBox *chkXG = nullptr;
    QCheckBox *chkPC = nullptr;
    QCheckBox *chkPJ = nullptr;
    QPushButton *CmdTJ = nullptr;
    QPushButton *CmdTJ01 = nullptr;
    QPushButton *CmdTJ02 = nullptr;
    QPushButton *CmdTJ03 = nullptr;
    QPushButton *CmdOut1 = nullptr;
    QPushButton *cmdOut2 = nullptr;
    QPushButton *cmdOut3 = nullptr;
    QPushButton *CmdJS = nullptr;
    QPushButton *CmdJS01 = nullptr;
    QPushButton *CmdJS02 = nullptr;
    QPushButton *cmdOutTJB = nullptr;
    QPushButton *cmdOutZJB = nullptr;

    void CmdSelect_Click();
    void CmdSelectAll_Click();
    void CmdRemove_Click();
    void CmdRemoveAll_Click();
    void CmdTJ_Click();
    void CmdTJ01_Click();
    void CmdTJ02_Click();
    void CmdTJ03_Click();
    void CmdOut1_Click();
    void cmdOut2_Click();
    void cmdOut3_Click();
    void CmdGJB_Click();
    void CmdJS_Click();
    void CmdJS01_Click();
    void CmdJS02_Click();
    void cmdOutTJB_Click();
    void cmdOutZJB_Click();

private:
    KindChoice kinds() const;
    bool priceBySpec();
    bool priceBySpecLength();
    void exportTable(ExportTable table);
    void showSettlementReport(bool withPrices);
    void preview(const platform::Report &report, const QString &caption);
    void failed(const QString &heading, const QString &error);
    void moveItem(QTreeWidgetItem *item, QTreeWidget *to);
    // `none` is said when there is nothing to move.
    void moveSelected(QTreeWidget *from, QTreeWidget *to, const QString &none);
    void moveAll(QTreeWidget *from, QTreeWidget *to, const QString &none);
    // The rows of the statistics report, or nullopt after the failure was shown.
    std::optional<QList<QStringList>> statsRows();

    // One store for the window's commands: the rows one wrote, the next reads from memory while
    // no row changed. A new one when the main connection was opened again.
    StatsStore &store();

    project::JobRef m_job;
    platform::Report m_lastReport;
    std::unique_ptr<StatsStore> m_store;
};

} // namespace stats::ui
