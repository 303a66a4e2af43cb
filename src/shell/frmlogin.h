#pragma once
// The login dialog: pick an account, type its password. A correct password sets the current user
// (LoginOK, CurUserName, CurUserAuth, CurUserPwd) and accepts; Cancel, a fourth wrong password or
// an unreadable user.mdb reject it with LoginOK still false.
#include "app/accounttypes.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace app {
class AccountStore;
}

namespace shell {

class FrmLogin : public QDialog
{
    Q_OBJECT
public:
    explicit FrmLogin(QWidget *parent = nullptr);
    ~FrmLogin() override;

    // False when user.mdb could not be opened (already reported); exec() then rejects at once.
    bool isReady() const { return m_ready; }
    int wrongCount() const { return m_wrongCount; }

    int exec() override;

private:
    void LoadUserNames();
    void onOK();

    std::unique_ptr<app::AccountStore> m_store; // the window's own connection, open while it lives
    bool m_ready = false;
    int m_wrongCount = 0;
    QComboBox *cboUsrNm = nullptr;
    QLineEdit *txtPassword = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace shell
