#pragma once
// The database tools window "数据库管理器": backs the main database up to a .MBK file and
// restores it from one. Shown modally: `FrmTools dlg(parent); platform::execDialog(&dlg);`
#include <QDialog>
#include <functional>

namespace shell {

class FrmTools : public QDialog
{
    Q_OBJECT
public:
    explicit FrmTools(QWidget *parent = nullptr);

    // Called when a restore or an import is about to replace the main database: the work windows
    // showing its data close first, each asking about unsaved changes as usual, so that none keeps
    // rows that are gone or saves them over the new data afterwards. False when one stays open (its
    // user cancelled); then nothing is replaced.
    std::function<bool()> closeWorkWindows = [] { return true; };

private:
    void onBackup();
    void onRestore();
    void onImport();
};

} // namespace shell
