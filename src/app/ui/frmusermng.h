#pragma once
// User management: list the accounts, add one, change an account's rights, delete one ("Admin"
// cannot be deleted). The window browses or edits; 添加/修改 switch to editing, 保存/取消 back.
#include "app/accounttypes.h"

#include <QDialog>
#include <memory>
#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class AccountStore;

class FrmUserMng : public QDialog
{
    Q_OBJECT
public:
    explicit FrmUserMng(QWidget *parent = nullptr);
    ~FrmUserMng() override;

    // Captions of chkAuth0..11, in rights order.
    static const std::array<QString, kRightsCount> &authCaptions();

private:
    void LoadUserNames();
    Lookup loadAccount(const QString &name);
    void cmdOprClick(int index);
    void toggleEditState();
    bool save();
    void deleteSelected();
    QTreeWidgetItem *selectedItem() const;
    RightsBoxes boxes() const;
    void setBoxes(const RightsBoxes &b);

    std::unique_ptr<AccountStore> m_store; // the window's own connection, open while it lives
    bool m_editing = false;
    QTreeWidget *lvw = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLineEdit *txtUsrNm = nullptr;
    QLineEdit *txtUsrPwd = nullptr;
    std::array<QCheckBox *, kRightsCount> chkAuth{};
    std::array<QPushButton *, 5> cmdOpr{};
    QPushButton *OKButton = nullptr;
};

} // namespace app
