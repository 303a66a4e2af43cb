#pragma once
// The contract and order sheet "工程合同" of one job: thirteen texts filled by hand or, for the
// supplier, from the general settings; saved as the job's one row of 工程合同 and printed from
// what is stored.
#include "project/jobtypes.h"

#include <QDialog>
#include <array>

class QPushButton;

namespace project::ui {

class FrmGCHT : public QDialog
{
    Q_OBJECT
public:
    // Loads the job's stored sheet; a job without one starts empty.
    FrmGCHT(qint64 jobId, QWidget *parent = nullptr);

    // Boxes 0 to 5 are single-line, 6 to 12 the clauses.
    std::array<QWidget *, 13> Text1{};
    QString text(int i) const;
    void setText(int i, const QString &text);

    QPushButton *cmdFill = nullptr;
    QPushButton *CmdSave = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;

    void cmdFill_Click();
    void CmdSave_Click();
    void CmdPrint_Click();

private:
    qint64 m_jobId = 0;
};

} // namespace project::ui
