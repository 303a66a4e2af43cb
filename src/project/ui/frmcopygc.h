#pragma once
// Copying door/window lines from any job into the target job: pick a source job, choose lines of
// it (from several jobs in turn), and save them all as new lines of the target in one go.
#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace project::ui {

class FrmCopyGC : public QDialog
{
    Q_OBJECT
public:
    FrmCopyGC(const QString &targetJobId, QWidget *parent = nullptr);

    QTreeWidget *Lvw1 = nullptr;
    QTreeWidget *Lvw2 = nullptr;
    QTreeWidget *Lvw3 = nullptr;
    QPushButton *CmdSelect = nullptr;
    QPushButton *CmdRemove = nullptr;
    QPushButton *CmdSelectAll = nullptr;
    QPushButton *CmdRemoveAll = nullptr;
    QPushButton *CmdSave = nullptr;
    QPushButton *CmdExit = nullptr;

    void Lvw1_ItemClick();
    void CmdSelect_Click();
    void CmdSelectAll_Click();
    void CmdRemove_Click();
    void CmdRemoveAll_Click();
    void CmdSave_Click();

private:
    QString m_target;
};

} // namespace project::ui
