#pragma once
// Password change of the logged-in account: the old password is checked against the one recorded
// at login (CurUserPwd), which then follows the change.
#include "app/accountstore.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class FrmUserChangPwd : public QDialog
{
    Q_OBJECT
public:
    explicit FrmUserChangPwd(QWidget *parent = nullptr);

private:
    void onOK();

    AccountStore m_store;
    std::array<QLineEdit *, 3> txtPwd{};
    std::array<QLabel *, 3> lblPwd{};
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace app
