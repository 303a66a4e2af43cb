#pragma once
// The optimisation options dialog "基础设置". Each time it is shown it reloads the stored settings,
// dropping edits that were never confirmed; OK checks the boxes and stores them.
#include <QDialog>

class QLineEdit;

namespace optimise {

class FrmOption : public QDialog
{
    Q_OBJECT
public:
    explicit FrmOption(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reload();
    void onOk();

    QLineEdit *m_clc = nullptr;
    QLineEdit *m_ltc = nullptr;
    QLineEdit *m_ckk = nullptr;
    QLineEdit *m_count = nullptr;
    QLineEdit *m_maxCount = nullptr;
    QLineEdit *m_yhbl = nullptr;
};

} // namespace optimise
