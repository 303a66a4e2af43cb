#include "fixture.h"

#include "app/accountstore.h"
#include "app/cipher.h"
#include "app/ui/frmuserchangpwd.h"
#include "app/ui/frmusermng.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace app;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

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

// Rows of User as "name|enciphered|rights", read through a store of the test's own.
QStringList userRows()
{
    QStringList rows;
    AccountStore store;
    if (!store.open())
        return rows;
    QSqlQuery q(QSqlDatabase::database(store.connectionName()));
    q.exec(u"SELECT UserNm, UserPwd, UserAuth FROM \"User\" ORDER BY rowid"_s);
    while (q.next())
        rows << q.value(0).toString() + u'|' + q.value(1).toString() + u'|' + q.value(2).toString();
    return rows;
}

bool runOnUsers(const QString &sql)
{
    AccountStore store;
    return store.open() && testfixture::exec(QSqlDatabase::database(store.connectionName()), sql);
}

QString row(const QString &name, const QString &clear, const QString &rights)
{
    return name + u'|' + KeyEncBuf(clear, kPasswordKey) + u'|' + rights;
}

const QString kAdminRow = row(u"Admin"_s, u"admin"_s, u"111111111111"_s);

// The enabled state of cmdOpr0..4 and Frame2, e.g. "11100 0" while browsing.
QString editState(QWidget *w)
{
    QString s;
    for (int i = 0; i < 5; ++i)
        s += button(w, u"cmdOpr%1"_s.arg(i))->isEnabled() ? u'1' : u'0';
    return s + u' ' + (child<QGroupBox>(w, u"Frame2"_s)->isEnabled() ? u'1' : u'0');
}
const QString kBrowsing = u"11100 0"_s;
const QString kEditing = u"00011 1"_s;

QString checkedBoxes(QWidget *w)
{
    QString s;
    for (int i = 0; i < kRightsCount; ++i)
        s += child<QCheckBox>(w, u"chkAuth%1"_s.arg(i))->isChecked() ? u'1' : u'0';
    return s;
}

void setBoxes(QWidget *w, const QString &pattern)
{
    for (int i = 0; i < kRightsCount; ++i)
        child<QCheckBox>(w, u"chkAuth%1"_s.arg(i))->setChecked(pattern.at(i) == u'1');
}

QStringList listNames(QWidget *w)
{
    auto *lvw = child<QTreeWidget>(w, u"lvw"_s);
    QStringList names;
    for (int i = 0; i < lvw->topLevelItemCount(); ++i)
        names << lvw->topLevelItem(i)->text(0);
    return names;
}

void selectInList(QWidget *w, const QString &name)
{
    auto *lvw = child<QTreeWidget>(w, u"lvw"_s);
    const auto items = lvw->findItems(name, Qt::MatchExactly);
    QVERIFY(!items.isEmpty());
    lvw->setCurrentItem(items.first());
}
} // namespace

class TstAccountWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    // user management
    void userMngStartsBrowsing();
    void addAccount();
    void addRefused_data();
    void addRefused();
    void addCancelWritesNothing();
    void editChangesOnlyRights();
    void editLoadsSelectedWhenFieldsEmpty();
    void shortRightsLeaveBoxes();
    void emptyList();
    void deleteAccount();
    void deleteOnlyExactName();
    void saveErrorKeepsEditing();

    // password change
    void changeValidation_data();
    void changeValidation();
    void changeSucceedsTwice();
    void changeOnEnter();
    void changeErrorIsShown();
    void changeCancel();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
    platform::ScriptedMessages *msgs() { return m_fx->msgs; }
};

void TstAccountWindows::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    LoginOK = false;
    CurUserName.clear();
    CurUserAuth.clear();
    CurUserPwd.clear();
}

// --- user management

void TstAccountWindows::userMngStartsBrowsing()
{
    AccountStore store;
    QVERIFY(store.open());
    QCOMPARE(store.add(u"Bob"_s, u"pw12"_s, u"000000000000"_s), AddResult::Added);
    FrmUserMng w;
    QCOMPARE(w.windowTitle(), u"用户管理"_s);
    QCOMPARE(listNames(&w), QStringList({u"Admin"_s, u"Bob"_s}));
    QCOMPARE(editState(&w), kBrowsing);
    const QStringList captions = {u"材料库"_s, u"绘制图"_s, u"窗型设计"_s, u"工程管理"_s, u"材料优化"_s, u"风压校核"_s,
                                  u"备份/恢复"_s, u"设置"_s, u"更改背景"_s, u"用户管理"_s, u"更改密码"_s, u"仓库管理"_s};
    for (int i = 0; i < kRightsCount; ++i)
        QCOMPARE(child<QCheckBox>(&w, u"chkAuth%1"_s.arg(i))->text(), captions.at(i));
    const QStringList ops = {u"添加"_s, u"修改"_s, u"删除"_s, u"保存"_s, u"取消"_s};
    for (int i = 0; i < 5; ++i)
        QCOMPARE(button(&w, u"cmdOpr%1"_s.arg(i))->text(), ops.at(i));
    QVERIFY(msgs()->shown.isEmpty());
}

void TstAccountWindows::addAccount()
{
    FrmUserMng w;
    w.show();
    selectInList(&w, u"Admin"_s); // fields now show Admin
    button(&w, u"cmdOpr0"_s)->click();
    QCOMPARE(editState(&w), kEditing);
    QVERIFY(edit(&w, u"txtUsrNm"_s)->text().isEmpty());
    QVERIFY(edit(&w, u"txtUsrPwd"_s)->text().isEmpty());
    QCOMPARE(checkedBoxes(&w), u"000000000000"_s);
    edit(&w, u"txtUsrNm"_s)->setText(u"O'Neil"_s);
    edit(&w, u"txtUsrPwd"_s)->setText(u"pw'1"_s);
    setBoxes(&w, u"100000000001"_s);
    button(&w, u"cmdOpr3"_s)->click();
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->lastText()));
    QCOMPARE(userRows(), QStringList({kAdminRow, row(u"O'Neil"_s, u"pw'1"_s, u"100000000001"_s)}));
    QCOMPARE(listNames(&w), QStringList({u"Admin"_s, u"O'Neil"_s}));
    QCOMPARE(editState(&w), kBrowsing);
    QVERIFY(edit(&w, u"txtUsrNm"_s)->isEnabledTo(child<QGroupBox>(&w, u"Frame2"_s)));
}

void TstAccountWindows::addRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QString() << u"pw12"_s << u"用户名不能为空！"_s;
    QTest::newRow("no password") << u"Bob"_s << QString() << u"用户名密码不能为空！"_s;
    QTest::newRow("both empty: name first") << QString() << QString() << u"用户名不能为空！"_s;
    QTest::newRow("one-character password") << u"Bob"_s << u"a"_s << kPasswordTooShort;
    QTest::newRow("existing name, other case") << u"ADMIN"_s << u"pw12"_s << u"用户名已存在，不能添加重复的项！"_s;
}

void TstAccountWindows::addRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, message);
    FrmUserMng w;
    button(&w, u"cmdOpr0"_s)->click();
    edit(&w, u"txtUsrNm"_s)->setText(name);
    edit(&w, u"txtUsrPwd"_s)->setText(password);
    button(&w, u"cmdOpr3"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{message});
    QCOMPARE(msgs()->shown.constFirst().title, kTitle);
    QCOMPARE(msgs()->shown.constFirst().icon, MsgIcon::Information);
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QCOMPARE(listNames(&w), QStringList{u"Admin"_s});
    QCOMPARE(editState(&w), kEditing);
    QCOMPARE(edit(&w, u"txtUsrNm"_s)->text(), name); // the typing is kept for a correction
}

void TstAccountWindows::addCancelWritesNothing()
{
    FrmUserMng w;
    button(&w, u"cmdOpr0"_s)->click();
    edit(&w, u"txtUsrNm"_s)->setText(u"Bob"_s);
    edit(&w, u"txtUsrPwd"_s)->setText(u"pw12"_s);
    button(&w, u"cmdOpr4"_s)->click();
    QCOMPARE(editState(&w), kBrowsing);
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QCOMPARE(listNames(&w), QStringList{u"Admin"_s});
    QVERIFY(msgs()->shown.isEmpty());
}

void TstAccountWindows::editChangesOnlyRights()
{
    AccountStore store;
    QVERIFY(store.open());
    QCOMPARE(store.add(u"Bob"_s, u"pw12"_s, u"110000000000"_s), AddResult::Added);
    FrmUserMng w;
    w.show();
    selectInList(&w, u"Bob"_s);
    QCOMPARE(edit(&w, u"txtUsrNm"_s)->text(), u"Bob"_s);
    QCOMPARE(edit(&w, u"txtUsrPwd"_s)->text(), KeyEncBuf(u"pw12"_s, kPasswordKey));
    QCOMPARE(checkedBoxes(&w), u"110000000000"_s);
    button(&w, u"cmdOpr1"_s)->click();
    QCOMPARE(editState(&w), kEditing);
    QVERIFY(!edit(&w, u"txtUsrNm"_s)->isEnabled());
    QVERIFY(!edit(&w, u"txtUsrPwd"_s)->isEnabled());
    setBoxes(&w, u"001000000001"_s);
    button(&w, u"cmdOpr3"_s)->click();
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->lastText()));
    QCOMPARE(userRows(), QStringList({kAdminRow, row(u"Bob"_s, u"pw12"_s, u"001000000001"_s)}));
    QCOMPARE(editState(&w), kBrowsing);
    // Enabled again for the next 添加, though the frame holds them disabled while browsing.
    QVERIFY(edit(&w, u"txtUsrNm"_s)->isEnabledTo(child<QGroupBox>(&w, u"Frame2"_s)));
    QVERIFY(edit(&w, u"txtUsrPwd"_s)->isEnabledTo(child<QGroupBox>(&w, u"Frame2"_s)));
}

void TstAccountWindows::editLoadsSelectedWhenFieldsEmpty()
{
    FrmUserMng w;
    QVERIFY(edit(&w, u"txtUsrNm"_s)->text().isEmpty());
    button(&w, u"cmdOpr1"_s)->click(); // the first account starts selected
    QCOMPARE(edit(&w, u"txtUsrNm"_s)->text(), u"Admin"_s);
    QCOMPARE(checkedBoxes(&w), u"111111111111"_s);
    child<QCheckBox>(&w, u"chkAuth9"_s)->setChecked(false);
    button(&w, u"cmdOpr3"_s)->click();
    QCOMPARE(userRows(), QStringList{row(u"Admin"_s, u"admin"_s, u"111111111011"_s)});

    // Nothing selected and nothing loaded: nothing to edit.
    FrmUserMng w2;
    child<QTreeWidget>(&w2, u"lvw"_s)->clearSelection();
    msgs()->clear();
    button(&w2, u"cmdOpr1"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{u"请选择要修改的用户！"_s});
    QCOMPARE(editState(&w2), kBrowsing);
}

void TstAccountWindows::shortRightsLeaveBoxes()
{
    QVERIFY(runOnUsers(u"INSERT INTO \"User\" VALUES ('Short', 'x', ' 01 ')"_s));
    FrmUserMng w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *lvw = child<QTreeWidget>(&w, u"lvw"_s);
    auto click = [&](int row) {
        QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {},
                          lvw->visualItemRect(lvw->topLevelItem(row)).center());
    };
    click(0); // Admin, already the current item
    QCOMPARE(edit(&w, u"txtUsrNm"_s)->text(), u"Admin"_s);
    QCOMPARE(checkedBoxes(&w), u"111111111111"_s);
    click(1);
    QCOMPARE(edit(&w, u"txtUsrNm"_s)->text(), u"Short"_s);
    QCOMPARE(checkedBoxes(&w), u"011111111111"_s);
    QVERIFY(msgs()->shown.isEmpty());
}

void TstAccountWindows::emptyList()
{
    QVERIFY(runOnUsers(u"DELETE FROM \"User\""_s));
    FrmUserMng w;
    button(&w, u"cmdOpr1"_s)->click();
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList({u"没有可编辑的用户！"_s, u"没有可删除的用户！"_s}));
    QCOMPARE(editState(&w), kBrowsing);
}

void TstAccountWindows::deleteAccount()
{
    AccountStore store;
    QVERIFY(store.open());
    QCOMPARE(store.add(u"Bob"_s, u"pw12"_s, u"000000000000"_s), AddResult::Added);
    FrmUserMng w;
    w.show();

    child<QTreeWidget>(&w, u"lvw"_s)->clearSelection();
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->lastText(), u"请选择要删除的用户！"_s);

    selectInList(&w, u"Admin"_s);
    msgs()->clear();
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{u"系统管理员不能删除！"_s}); // refused without asking
    QCOMPARE(msgs()->shown.constFirst().title, kTitle);

    selectInList(&w, u"Bob"_s);
    msgs()->clear();
    msgs()->answers = {MsgAnswer::Cancel};
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().text, u"确认要删除该用户吗？Bob"_s);
    QCOMPARE(msgs()->shown.constFirst().icon, MsgIcon::Question);
    QCOMPARE(msgs()->shown.constFirst().buttons, MsgButtons::OkCancel);
    QCOMPARE(userRows().size(), 2);
    QCOMPARE(listNames(&w), QStringList({u"Admin"_s, u"Bob"_s}));

    msgs()->clear();
    msgs()->answers = {MsgAnswer::Ok};
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{u"确认要删除该用户吗？Bob"_s});
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QCOMPARE(listNames(&w), QStringList{u"Admin"_s});
    // The fields no longer show the account that is gone.
    QVERIFY(edit(&w, u"txtUsrNm"_s)->text().isEmpty());
    QCOMPARE(editState(&w), kBrowsing);
}

void TstAccountWindows::deleteOnlyExactName()
{
    // Old data may hold "admin" beside "Admin": it is not protected, and deleting it spares "Admin".
    QVERIFY(runOnUsers(u"INSERT INTO \"User\" VALUES ('admin', 'x', '000000000000')"_s));
    FrmUserMng w;
    selectInList(&w, u"admin"_s);
    button(&w, u"cmdOpr2"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{u"确认要删除该用户吗？admin"_s});
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QCOMPARE(listNames(&w), QStringList{u"Admin"_s});
}

void TstAccountWindows::saveErrorKeepsEditing()
{
    FrmUserMng w;
    button(&w, u"cmdOpr0"_s)->click();
    edit(&w, u"txtUsrNm"_s)->setText(u"Bob"_s);
    edit(&w, u"txtUsrPwd"_s)->setText(u"pw12"_s);
    QVERIFY(runOnUsers(u"ALTER TABLE \"User\" RENAME TO Gone"_s));
    button(&w, u"cmdOpr3"_s)->click();
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().title, u"出错了"_s);
    QVERIFY(msgs()->shown.constFirst().icon == platform::MsgIcon::Critical);
    QCOMPARE(editState(&w), kEditing);
    QCOMPARE(listNames(&w), QStringList{u"Admin"_s});

    // The same after 修改: the rights cannot be written.
    button(&w, u"cmdOpr4"_s)->click();
    QVERIFY(runOnUsers(u"ALTER TABLE Gone RENAME TO \"User\""_s));
    selectInList(&w, u"Admin"_s);
    button(&w, u"cmdOpr1"_s)->click();
    QVERIFY(runOnUsers(u"ALTER TABLE \"User\" RENAME TO Gone"_s));
    msgs()->clear();
    button(&w, u"cmdOpr3"_s)->click();
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().title, u"出错了"_s);
    QVERIFY(msgs()->shown.constFirst().icon == platform::MsgIcon::Critical);
    QCOMPARE(editState(&w), kEditing);
}

// --- password change

void TstAccountWindows::changeValidation_data()
{
    QTest::addColumn<QString>("oldPwd");
    QTest::addColumn<QString>("newPwd");
    QTest::addColumn<QString>("confirmPwd");
    QTest::addColumn<QString>("message");
    QTest::newRow("all empty") << QString() << QString() << QString() << u"原 密 码：不能为空！"_s;
    QTest::newRow("old empty first") << QString() << u"x"_s << u"y"_s << u"原 密 码：不能为空！"_s;
    QTest::newRow("new empty") << u"admin"_s << QString() << u"ab12"_s << u"新 密 码：不能为空！"_s;
    QTest::newRow("confirm empty") << u"admin"_s << u"ab12"_s << QString() << u"确认密码：不能为空！"_s;
    QTest::newRow("old wrong before mismatch") << u"Admin"_s << u"ab12"_s << u"ab13"_s << u"原密码输入不正确！"_s;
    QTest::newRow("mismatch") << u"admin"_s << u"ab12"_s << u"ab13"_s << u"新密码与确认密码不相同！"_s;
    QTest::newRow("one character") << u"admin"_s << u"门"_s << u"门"_s << kPasswordTooShort;
}

void TstAccountWindows::changeValidation()
{
    QFETCH(QString, oldPwd);
    QFETCH(QString, newPwd);
    QFETCH(QString, confirmPwd);
    QFETCH(QString, message);
    CurUserName = u"Admin"_s;
    CurUserPwd = KeyEncBuf(u"admin"_s, kPasswordKey);
    FrmUserChangPwd dlg;
    QCOMPARE(dlg.windowTitle(), u"修改密码"_s);
    dlg.show();
    edit(&dlg, u"txtPwd0"_s)->setText(oldPwd);
    edit(&dlg, u"txtPwd1"_s)->setText(newPwd);
    edit(&dlg, u"txtPwd2"_s)->setText(confirmPwd);
    button(&dlg, u"OKButton"_s)->click();
    QCOMPARE(msgs()->texts(), QStringList{message});
    QCOMPARE(msgs()->shown.constFirst().title, kTitle);
    QCOMPARE(msgs()->shown.constFirst().icon, MsgIcon::Information);
    QVERIFY(dlg.isVisible());
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QCOMPARE(CurUserPwd, KeyEncBuf(u"admin"_s, kPasswordKey));
}

void TstAccountWindows::changeSucceedsTwice()
{
    CurUserName = u"Admin"_s;
    CurUserPwd = KeyEncBuf(u"admin"_s, kPasswordKey);
    const std::pair<QString, QString> changes[] = {{u"admin"_s, u"新'密码"_s}, {u"新'密码"_s, u"third"_s}};
    for (const auto &[oldPwd, newPwd] : changes) {
        msgs()->clear();
        FrmUserChangPwd dlg;
        dlg.show();
        edit(&dlg, u"txtPwd0"_s)->setText(oldPwd);
        edit(&dlg, u"txtPwd1"_s)->setText(newPwd);
        edit(&dlg, u"txtPwd2"_s)->setText(newPwd);
        button(&dlg, u"OKButton"_s)->click();
        QCOMPARE(msgs()->texts(), QStringList{u"密码修改成功！"_s});
        QCOMPARE(msgs()->shown.constFirst().title, kTitle);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(userRows(), QStringList{row(u"Admin"_s, newPwd, u"111111111111"_s)});
        QCOMPARE(CurUserPwd, KeyEncBuf(newPwd, kPasswordKey)); // so the next change expects it
    }
}

void TstAccountWindows::changeOnEnter()
{
    CurUserName = u"Admin"_s;
    CurUserPwd = KeyEncBuf(u"admin"_s, kPasswordKey);
    FrmUserChangPwd dlg;
    dlg.show();
    edit(&dlg, u"txtPwd0"_s)->setText(u"admin"_s);
    QTest::keyClick(edit(&dlg, u"txtPwd0"_s), Qt::Key_Return);
    QCOMPARE(msgs()->texts(), QStringList{u"新 密 码：不能为空！"_s});
    edit(&dlg, u"txtPwd1"_s)->setText(u"ab12"_s);
    edit(&dlg, u"txtPwd2"_s)->setText(u"ab12"_s);
    msgs()->clear();
    QTest::keyClick(edit(&dlg, u"txtPwd2"_s), Qt::Key_Return);
    QCOMPARE(msgs()->texts(), QStringList{u"密码修改成功！"_s}); // once
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
}

void TstAccountWindows::changeErrorIsShown()
{
    // The account was deleted since the login: nothing is written, and no success is claimed.
    CurUserName = u"Gone"_s;
    CurUserPwd = KeyEncBuf(u"old1"_s, kPasswordKey);
    FrmUserChangPwd dlg;
    dlg.show();
    edit(&dlg, u"txtPwd0"_s)->setText(u"old1"_s);
    edit(&dlg, u"txtPwd1"_s)->setText(u"new1"_s);
    edit(&dlg, u"txtPwd2"_s)->setText(u"new1"_s);
    button(&dlg, u"OKButton"_s)->click();
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.constFirst().title, u"提示！"_s);
    QVERIFY(msgs()->shown.constFirst().icon == platform::MsgIcon::Information);
    QVERIFY(dlg.isVisible());
    QCOMPARE(CurUserPwd, KeyEncBuf(u"old1"_s, kPasswordKey));
    QCOMPARE(userRows(), QStringList{kAdminRow});

    // user.mdb missing: reported when the dialog opens and again at OK.
    msgs()->clear();
    QVERIFY(QFile::remove(platform::dataFile(kUserFile)));
    CurUserName = u"Admin"_s;
    FrmUserChangPwd dlg2;
    QCOMPARE(msgs()->shown.size(), 1);
    edit(&dlg2, u"txtPwd0"_s)->setText(u"old1"_s);
    edit(&dlg2, u"txtPwd1"_s)->setText(u"new1"_s);
    edit(&dlg2, u"txtPwd2"_s)->setText(u"new1"_s);
    button(&dlg2, u"OKButton"_s)->click();
    QCOMPARE(msgs()->shown.size(), 2);
    QCOMPARE(msgs()->shown.constLast().title, u"提示！"_s);
    QVERIFY(msgs()->shown.constLast().icon == platform::MsgIcon::Information);
    QCOMPARE(CurUserPwd, KeyEncBuf(u"old1"_s, kPasswordKey));
}

void TstAccountWindows::changeCancel()
{
    CurUserName = u"Admin"_s;
    CurUserPwd = KeyEncBuf(u"admin"_s, kPasswordKey);
    FrmUserChangPwd dlg;
    dlg.show();
    edit(&dlg, u"txtPwd0"_s)->setText(u"admin"_s);
    edit(&dlg, u"txtPwd1"_s)->setText(u"ab12"_s);
    edit(&dlg, u"txtPwd2"_s)->setText(u"ab12"_s);
    button(&dlg, u"CancelButton"_s)->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(msgs()->shown.isEmpty());
    QCOMPARE(userRows(), QStringList{kAdminRow});
}

QTEST_MAIN(TstAccountWindows)
#include "tst_accountwindows.moc"
