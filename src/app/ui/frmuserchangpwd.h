#pragma once
// Password change of the logged-in account: the old password is checked against the one recorded
// at login (CurUserPwd), which then follows the change.
#include "app/accounttypes.h"

#include <QDialog>
#include <memory>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class AccountStore;

class FrmUserChangPwd : public QDialog
{
    Q_OBJECT
public:
    explicit FrmUserChangPwd(QWidget *parent = nullptr);
    ~FrmUserChangPwd() override;

private:
    void onOK();

    std::unique_ptr<AccountStore> m_store; // the window's own connection, open while it lives
    std::array<QLineEdit *, 3> txtPwd{};
    std::array<QLabel *, 3> lblPwd{};
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

} // namespace app
