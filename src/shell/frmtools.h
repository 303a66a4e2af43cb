#pragma once
// The database tools window "数据库管理器": backs the main database up to a .MBK file and
// restores it from one. Shown modally: `FrmTools dlg(parent); platform::execDialog(&dlg);`
#include <QDialog>

namespace shell {

class FrmTools : public QDialog
{
    Q_OBJECT
public:
    explicit FrmTools(QWidget *parent = nullptr);

private:
    void onBackup();
    void onRestore();
    void onImport();
};

} // namespace shell
