#pragma once
// The backup target dialog "备份文件": a folder and a file name; OK writes the backup there and
// closes only when it succeeded.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace shell {

class FrmSaveFile : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSaveFile(QWidget *parent = nullptr);

private:
    void onBrowse();
    void onOk();

    QLineEdit *m_dir = nullptr;
    QLineEdit *m_fileName = nullptr;
};

} // namespace shell
