#include "frmlogin.h"

#include "app/accountstore.h"

#include "app/shared.h"

#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

namespace {
const QString kTitle = u"提示！"_s;
}

FrmLogin::FrmLogin(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_store(std::make_unique<AccountStore>())
{
    setObjectName(u"frmLogin"_s);
    setModal(true);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    QFont big = font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    auto *titleRow = new QHBoxLayout;
    for (const QString &ch : {u"登"_s, u"陆"_s}) {
        auto *l = new QLabel(ch, frame);
        l->setFont(big);
        titleRow->addWidget(l);
    }
    auto *lblTitle = new QLabel(u"Velmorra"_s, frame);
    lblTitle->setObjectName(u"lblTitle"_s);
    titleRow->addSpacing(12);
    titleRow->addWidget(lblTitle, 1, Qt::AlignBottom);

    cboUsrNm = new QComboBox(frame);
    cboUsrNm->setObjectName(u"cboUsrNm"_s);
    cboUsrNm->setEditable(false); // only names from the list
    txtPassword = new QLineEdit(frame);
    txtPassword->setObjectName(u"txtPassword"_s);
    txtPassword->setEchoMode(QLineEdit::Password);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(u"用户名："_s, frame), 0, 0);
    grid->addWidget(cboUsrNm, 0, 1);
    grid->addWidget(new QLabel(u"密  码："_s, frame), 1, 0);
    grid->addWidget(txtPassword, 1, 1);

    cmdOK = new QPushButton(u"确定"_s, frame);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdCancel = new QPushButton(u"取消"_s, frame);
    cmdCancel->setObjectName(u"cmdCancel"_s);
    // Enter acts only through the password box, never through a default button.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(frame);
    layout->addLayout(titleRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &FrmLogin::onOK);
    connect(txtPassword, &QLineEdit::returnPressed, this, &FrmLogin::onOK);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    LoginOK = false;
    if (!m_store->open()) {
        platform::showError(this, m_store->lastError());
        return;
    }
    m_ready = true;
    LoadUserNames();
}

FrmLogin::~FrmLogin() = default;

int FrmLogin::exec()
{
    if (!m_ready) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

void FrmLogin::LoadUserNames()
{
    const auto names = m_store->userNames();
    if (!names) {
        platform::showError(this, m_store->lastError());
        return;
    }
    cboUsrNm->addItems(*names);
    if (cboUsrNm->count() > 0) {
        cboUsrNm->setCurrentIndex(0);
        // A name is chosen already: what is left to type is the password.
        txtPassword->setFocus();
    }
}

void FrmLogin::onOK()
{
    const QString name = cboUsrNm->currentText();
    if (name.isEmpty()) {
        platform::inform(this, u"请选择要登陆的用户"_s, kTitle);
        cboUsrNm->setFocus();
        return;
    }
    if (txtPassword->text().isEmpty()) {
        platform::inform(this, u"密码不能为空！请输入"_s, kTitle);
        txtPassword->setFocus();
        return;
    }
    Account match;
    switch (m_store->checkLogin(name, txtPassword->text(), &match)) {
    case Lookup::Failed:
        platform::showError(this, m_store->lastError());
        return;
    case Lookup::NotFound:
        platform::inform(this, u"输入的密码不正确！"_s, kTitle);
        txtPassword->selectAll();
        txtPassword->setFocus();
        if (++m_wrongCount > 3) {
            platform::inform(this, u"你输入已超过三次了！"_s, kTitle, platform::MsgIcon::Critical);
            reject();
        }
        return;
    case Lookup::Found:
        break;
    }
    LoginOK = true;
    CurUserPwd = match.password;
    CurUserName = name;
    CurUserAuth = match.rights;
    accept();
}

} // namespace shell
