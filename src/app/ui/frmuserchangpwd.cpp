#include "frmuserchangpwd.h"

#include "app/shared.h"

#include "platform/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

namespace {
const QString kTitle = u"提示！"_s;
}

FrmUserChangPwd::FrmUserChangPwd(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmUserChangPwd"_s);
    setWindowTitle(u"修改密码"_s);
    setModal(true);

    const QStringList captions = {u"原 密 码："_s, u"新 密 码："_s, u"确认密码："_s};
    auto *grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        lblPwd[size_t(i)] = new QLabel(captions.at(i), this);
        lblPwd[size_t(i)]->setObjectName(u"lblPwd%1"_s.arg(i));
        txtPwd[size_t(i)] = new QLineEdit(this);
        txtPwd[size_t(i)]->setObjectName(u"txtPwd%1"_s.arg(i));
        txtPwd[size_t(i)]->setEchoMode(QLineEdit::Password);
        grid->addWidget(lblPwd[size_t(i)], i, 0);
        grid->addWidget(txtPwd[size_t(i)], i, 1);
        connect(txtPwd[size_t(i)], &QLineEdit::returnPressed, this, &FrmUserChangPwd::onOK);
    }

    OKButton = new QPushButton(u"确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    CancelButton = new QPushButton(u"取消"_s, this);
    CancelButton->setObjectName(u"CancelButton"_s);
    // Enter acts through the boxes only, so it never confirms twice.
    OKButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &FrmUserChangPwd::onOK);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QString err;
    if (!m_store.open(&err))
        platform::showError(this, err);
}

void FrmUserChangPwd::onOK()
{
    for (size_t i = 0; i < txtPwd.size(); ++i) {
        if (txtPwd[i]->text().isEmpty()) {
            platform::inform(this, lblPwd[i]->text() + u"不能为空！"_s, kTitle);
            txtPwd[i]->setFocus();
            return;
        }
    }
    if (encipherPassword(txtPwd[0]->text()) != CurUserPwd) {
        platform::inform(this, u"原密码输入不正确！"_s, kTitle);
        txtPwd[0]->selectAll();
        txtPwd[0]->setFocus();
        return;
    }
    if (txtPwd[1]->text() != txtPwd[2]->text()) {
        platform::inform(this, u"新密码与确认密码不相同！"_s, kTitle);
        return;
    }
    if (!passwordAcceptable(txtPwd[1]->text())) {
        platform::inform(this, kPasswordTooShort, kTitle);
        txtPwd[1]->selectAll();
        txtPwd[1]->setFocus();
        return;
    }
    QString err;
    if (!m_store.changePassword(CurUserName, txtPwd[1]->text(), &err)) {
        platform::inform(this, err, kTitle);
        return;
    }
    CurUserPwd = encipherPassword(txtPwd[1]->text());
    platform::inform(this, u"密码修改成功！"_s, kTitle);
    accept();
}

} // namespace app
