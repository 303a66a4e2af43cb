#include "../app/fixture.h"

#include "app/accountstore.h"
#include "app/cipher.h"
#include "app/shared.h"
#include "shell/frmlogin.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace app;
using platform::MsgIcon;
using shell::FrmLogin;

namespace {
const QString kTitle = u"提示！"_s;

template<typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no child %s", qPrintable(name));
    return c;
}

QPushButton *button(QWidget *w, const QString &name) { return child<QPushButton>(w, name); }
QLineEdit *edit(QWidget *w, const QString &name) { return child<QLineEdit>(w, name); }

bool runOnUsers(const QString &sql)
{
    AccountStore store;
    return store.open() && testfixture::exec(QSqlDatabase::database(store.connectionName()), sql);
}
} // namespace

class TstLogin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void loginSucceeds_data();
    void loginSucceeds();
    void loginValidation();
    void fourthWrongPasswordEndsLogin();
    void enterTriesOnce();
    void loginCancel();
    void loginWithoutUserDatabase();
    void loginDatabaseErrorKeepsDialog();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
    platform::ScriptedMessages *msgs() { return m_fx->msgs; }
};

void TstLogin::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    LoginOK = false;
    CurUserName.clear();
    CurUserAuth.clear();
    CurUserPwd.clear();
}

void TstLogin::loginSucceeds_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("rights");
    QTest::newRow("admin") << u"Admin"_s << u"admin"_s << u"111111111111"_s;
    QTest::newRow("quote in name and password") << u"O'Neil"_s << u"it's"_s << u"100000000001"_s;
    QTest::newRow("chinese password, rights trimmed") << u"张三"_s << u"门窗密码"_s << u" 010000000000 "_s;
}

void TstLogin::loginSucceeds()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, rights);
    if (name != u"Admin"_s) {
        AccountStore store;
        QVERIFY(store.open());
        QCOMPARE(store.add(name, password, rights), AddResult::Added);
    }
    LoginOK = true; // the dialog starts logged out
    FrmLogin dlg;
    QVERIFY(dlg.isReady());
    QVERIFY(!LoginOK);
    auto *cbo = child<QComboBox>(&dlg, u"cboUsrNm"_s);
    QVERIFY(!cbo->isEditable());
    QCOMPARE(cbo->currentText(), u"Admin"_s); // first entry selected
    cbo->setCurrentText(name);
    QCOMPARE(cbo->currentText(), name);
    edit(&dlg, u"txtPassword"_s)->setText(password);
    button(&dlg, u"cmdOK"_s)->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(msgs()->shown.isEmpty());
    QVERIFY(LoginOK);
    QCOMPARE(CurUserName, name);
    QCOMPARE(CurUserAuth, rights.trimmed());
    QCOMPARE(CurUserPwd, KeyEncBuf(password, kPasswordKey));
}

void TstLogin::loginValidation()
{
    {
        FrmLogin dlg;
        dlg.show();
        button(&dlg, u"cmdOK"_s)->click(); // password empty
        QCOMPARE(msgs()->texts(), QStringList{u"密码不能为空！请输入"_s});
        QCOMPARE(msgs()->shown.constLast().title, kTitle);
        QCOMPARE(msgs()->shown.constLast().icon, MsgIcon::Information);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.wrongCount(), 0);
    }
    msgs()->clear();
    QVERIFY(runOnUsers(u"DELETE FROM \"User\""_s));
    FrmLogin dlg;
    dlg.show();
    edit(&dlg, u"txtPassword"_s)->setText(u"admin"_s);
    button(&dlg, u"cmdOK"_s)->click(); // no name to choose
    QCOMPARE(msgs()->texts(), QStringList{u"请选择要登陆的用户"_s});
    QCOMPARE(msgs()->shown.constLast().title, kTitle);
    QVERIFY(dlg.isVisible());
    QVERIFY(!LoginOK);
}

void TstLogin::fourthWrongPasswordEndsLogin()
{
    FrmLogin dlg;
    dlg.show();
    auto *pwd = edit(&dlg, u"txtPassword"_s);
    for (int i = 1; i <= 3; ++i) {
        pwd->setText(u"ADMIN"_s); // the password's letter case counts
        button(&dlg, u"cmdOK"_s)->click();
        QCOMPARE(msgs()->lastText(), u"输入的密码不正确！"_s);
        QCOMPARE(msgs()->shown.constLast().title, kTitle);
        QCOMPARE(msgs()->shown.constLast().icon, MsgIcon::Information);
        QCOMPARE(pwd->selectedText(), u"ADMIN"_s);
        QCOMPARE(dlg.wrongCount(), i);
        QVERIFY(dlg.isVisible());
    }
    msgs()->clear();
    pwd->setText(u"guess"_s);
    button(&dlg, u"cmdOK"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList({u"输入的密码不正确！"_s, u"你输入已超过三次了！"_s}));
    QCOMPARE(msgs()->shown.constLast().title, kTitle);
    QCOMPARE(msgs()->shown.constLast().icon, MsgIcon::Critical);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!LoginOK);
    QVERIFY(CurUserName.isEmpty());
}

void TstLogin::enterTriesOnce()
{
    FrmLogin dlg;
    dlg.show();
    auto *pwd = edit(&dlg, u"txtPassword"_s);
    pwd->setText(u"wrong"_s);
    QTest::keyClick(pwd, Qt::Key_Return);
    QCOMPARE(dlg.wrongCount(), 1);
    QCOMPARE(msgs()->texts(), QStringList{u"输入的密码不正确！"_s});
    pwd->setText(u"admin"_s);
    QTest::keyClick(pwd, Qt::Key_Enter);
    QVERIFY(LoginOK);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TstLogin::loginCancel()
{
    FrmLogin dlg;
    dlg.show();
    edit(&dlg, u"txtPassword"_s)->setText(u"admin"_s);
    button(&dlg, u"cmdCancel"_s)->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.isVisible());
    QVERIFY(!LoginOK);
}

void TstLogin::loginWithoutUserDatabase()
{
    QVERIFY(QFile::remove(platform::dataFile(kUserFile)));
    FrmLogin dlg;
    QVERIFY(!dlg.isReady());
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().title, u"出错"_s);
    QVERIFY(!msgs()->shown.constFirst().text.isEmpty());
    QCOMPARE(dlg.exec(), int(QDialog::Rejected)); // returns at once
    QVERIFY(!LoginOK);
}

void TstLogin::loginDatabaseErrorKeepsDialog()
{
    FrmLogin dlg;
    dlg.show();
    QVERIFY(runOnUsers(u"DROP TABLE \"User\""_s));
    edit(&dlg, u"txtPassword"_s)->setText(u"admin"_s);
    button(&dlg, u"cmdOK"_s)->click();
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().title, u"出错"_s);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.wrongCount(), 0);
    QVERIFY(!LoginOK);
}

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
