#include "../app/fixture.h"

#include "app/ui/frmhelp.h"
#include "shell/frmsetup.h"
#include "shell/mdimain.h"
#include "project/ui/frmopengc.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace app;
using namespace shell;

namespace {
const QStringList kRightsItems = {u"mnuDatabase"_s, u"mnuDrawPicture"_s, u"mnuDesign"_s, u"mnuProject"_s,
                                  u"mnuYouhua"_s, u"mnuFYJH"_s, u"mnuDatabaseManage"_s, u"mnuPath"_s,
                                  u"mnuChangeBackgroup"_s, u"mnuUserMng"_s, u"mnuMdifyPwd"_s,
                                  u"mnuCangKuAction"_s};
const QStringList kRightsButtons = {u"x1"_s, u"x2"_s, u"x3"_s, u"x4"_s, u"x5"_s, u"x9"_s, u"x6"_s};
} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }
    void rightsEnableItemsAndButtons_data();
    void rightsEnableItemsAndButtons();
    void loadAppliesTheLoggedInRights();
    void menuItemsOpenTheirDialogs_data();
    void menuItemsOpenTheirDialogs();
    void workWindowsOpenOnceInTheMdiArea_data();
    void workWindowsOpenOnceInTheMdiArea();
    void jobWindowsReachStatisticsAndOptimisation();
    void clearWarehouseAsksFirst_data();
    void clearWarehouseAsksFirst();
    void exitWaitsForWindowsThatStayOpen();
    void closeWithoutChildEndsProgram();
    void closeClosesActiveChild();
    void helpWithoutFile();
    void splashShowsCaptionsThenCloses();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstMainWindow::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
}

void TstMainWindow::rightsEnableItemsAndButtons_data()
{
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("items");   // expected enabled state per rights item
    QTest::addColumn<QString>("buttons"); // expected enabled state of x1 x2 x3 x4 x5 x9 x6
    QTest::newRow("seven then five zeros") << u"111111100000"_s << u"111111100000"_s << u"1111111"_s;
    QTest::newRow("warehouse only") << u"000000000001"_s << u"000000000001"_s << u"0000000"_s;
    QTest::newRow("every right") << u"111111111111"_s << u"111111111111"_s << u"1111111"_s;
    QTest::newRow("11 characters") << u"11111111111"_s << u"000000000000"_s << u"0000000"_s;
    QTest::newRow("13 characters") << u"1111111111111"_s << u"000000000000"_s << u"0000000"_s;
    QTest::newRow("other characters do not grant") << u"2x1000000000"_s << u"001000000000"_s << u"0010000"_s;
}

void TstMainWindow::rightsEnableItemsAndButtons()
{
    QFETCH(QString, rights);
    QFETCH(QString, items);
    QFETCH(QString, buttons);
    MDIMain w;
    w.ApplyUserRights(rights);
    for (int i = 0; i < kRightsItems.size(); ++i) {
        auto *a = w.findChild<QAction *>(kRightsItems[i]);
        QVERIFY2(a, qPrintable(kRightsItems[i]));
        QCOMPARE(a->isEnabled(), items[i] == u'1');
    }
    for (int i = 0; i < kRightsButtons.size(); ++i)
        QCOMPARE(w.findChild<QAction *>(kRightsButtons[i])->isEnabled(), buttons[i] == u'1');
    // Exit, About, Help and the buttons x7 and x8 are always usable.
    for (const QString &name : {u"mnuExit"_s, u"mnuAbout"_s, u"mnuHelps"_s, u"x7"_s, u"x8"_s})
        QVERIFY2(w.findChild<QAction *>(name)->isEnabled(), qPrintable(name));
}

void TstMainWindow::loadAppliesTheLoggedInRights()
{
    CurUserAuth = u"100000000000"_s;
    MDIMain w;
    w.load();
    QVERIFY(mainDb().isOpen());
    QVERIFY(w.findChild<QAction *>(u"mnuDatabase"_s)->isEnabled());
    QVERIFY(!w.findChild<QAction *>(u"mnuDrawPicture"_s)->isEnabled());
    QCOMPARE(m_fx->msgs->shown.size(), 0);
}

void TstMainWindow::menuItemsOpenTheirDialogs_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("backup and restore") << u"mnuDatabaseManage"_s << u"frmTools"_s;
    QTest::newRow("tools button") << u"x6"_s << u"frmTools"_s;
    QTest::newRow("settings") << u"mnuPath"_s << u"frmSetting"_s;
    QTest::newRow("user management") << u"mnuUserMng"_s << u"frmUserMng"_s;
    QTest::newRow("change password") << u"mnuMdifyPwd"_s << u"frmUserChangPwd"_s;
    QTest::newRow("about") << u"mnuAbout"_s << u"frmAbort"_s;
    QTest::newRow("help") << u"mnuHelps"_s << u"frmHelp"_s;
    QTest::newRow("help button") << u"x7"_s << u"frmHelp"_s;
    QTest::newRow("optimisation") << u"mnuYouhua"_s << u"frmYHMain"_s;
    QTest::newRow("wind check") << u"mnuFYJH"_s << u"frmFY"_s;
    QTest::newRow("optimisation button") << u"x5"_s << u"frmYHMain"_s;
    QTest::newRow("receipt bill") << u"mnuInput"_s << u"FrmEnter"_s;
    QTest::newRow("issue bill") << u"mnuOutput"_s << u"FrmPost"_s;
    QTest::newRow("warehouse query") << u"mnuQuery"_s << u"FrmQuery"_s;
}

void TstMainWindow::menuItemsOpenTheirDialogs()
{
    QFETCH(QString, item);
    QFETCH(QString, dialog);
    CurUserAuth = u"111111111111"_s;
    MDIMain w;
    w.load();
    w.findChild<QAction *>(item)->trigger();
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{dialog});
}

void TstMainWindow::workWindowsOpenOnceInTheMdiArea_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("catalogue") << u"mnuDatabase"_s << u"x1"_s << u"frmDatabase"_s;
    QTest::newRow("type design") << u"mnuDesign"_s << u"x3"_s << u"FrmDesign"_s;
    QTest::newRow("drawing editor") << u"mnuDrawPicture"_s << u"x2"_s << u"FrmDraw"_s;
    QTest::newRow("projects") << u"mnuProject"_s << u"x4"_s << u"frmMCGCGL"_s;
}

void TstMainWindow::workWindowsOpenOnceInTheMdiArea()
{
    QFETCH(QString, item);
    QFETCH(QString, button);
    QFETCH(QString, window);
    CurUserAuth = u"111111111111"_s;
    MDIMain w;
    w.load();
    w.show();
    w.findChild<QAction *>(item)->trigger();
    w.findChild<QAction *>(button)->trigger();
    const auto subs = w.mdiArea()->subWindowList();
    QCOMPARE(subs.size(), 1); // the single instance comes back
    QCOMPARE(subs.first()->widget()->objectName(), window);
}

void TstMainWindow::jobWindowsReachStatisticsAndOptimisation()
{
    MDIMain w;
    auto &hooks = project::ui::jobWindowHooks();
    QVERIFY(hooks.openStatistics);
    QVERIFY(hooks.openSheets);
    QVERIFY(hooks.openOptimisation);
    hooks.openOptimisation(&w, u"1"_s, u"工程"_s);
    QCOMPARE(m_fx->msgs->dialogNames.value(0), u"frmCreate02"_s);
}

void TstMainWindow::clearWarehouseAsksFirst_data()
{
    QTest::addColumn<QList<platform::MsgAnswer>>("answers");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<QStringList>("texts");
    const QString question = u"清空仓库将删除全部入库、出库和库存记录，是否继续？"_s;
    QTest::newRow("no") << QList<platform::MsgAnswer>{platform::MsgAnswer::No} << 1 << QStringList{question};
    QTest::newRow("enter takes the default") << QList<platform::MsgAnswer>{} << 1 << QStringList{question};
    QTest::newRow("yes") << QList<platform::MsgAnswer>{platform::MsgAnswer::Yes} << 0
                         << QStringList{question, u"操作已完成!"_s};
}

void TstMainWindow::clearWarehouseAsksFirst()
{
    QFETCH(QList<platform::MsgAnswer>, answers);
    QFETCH(int, rowsLeft);
    QFETCH(QStringList, texts);
    CurUserAuth = u"111111111111"_s;
    MDIMain w;
    w.load();
    const QSqlDatabase ck = QSqlDatabase::database(u"CKConn"_s);
    QVERIFY(testfixture::exec(ck, u"INSERT INTO 库存表 (规格) VALUES ('a')"_s));
    QVERIFY(testfixture::exec(ck, u"INSERT INTO 入库单 (单据编号) VALUES (4)"_s));
    m_fx->msgs->answers = answers;
    w.findChild<QAction *>(u"mnuClearCK"_s)->trigger();
    QCOMPARE(testfixture::rowCount(ck, u"库存表"_s), rowsLeft);
    QCOMPARE(testfixture::rowCount(ck, u"入库单"_s), rowsLeft);
    QCOMPARE(m_fx->msgs->texts(), texts);
    const platform::ShownMessage &question = m_fx->msgs->shown.first();
    QCOMPARE(question.buttons, platform::MsgButtons::YesNo);
    QCOMPARE(question.defaultButton, platform::MsgDefault::No);
    if (rowsLeft == 0)
        QCOMPARE(m_fx->msgs->shown.last().icon, platform::MsgIcon::Exclamation);
}

namespace {
// A work window whose user answered "cancel" to its unsaved-changes question.
class StubbornWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent *e) override { e->ignore(); }
};
} // namespace

void TstMainWindow::exitWaitsForWindowsThatStayOpen()
{
    MDIMain w;
    w.show();
    auto *sub = w.mdiArea()->addSubWindow(new StubbornWindow);
    sub->show();
    w.findChild<QAction *>(u"mnuExit"_s)->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
    delete sub;
    w.findChild<QAction *>(u"mnuExit"_s)->trigger();
    QVERIFY(!w.isVisible());
}

void TstMainWindow::closeWithoutChildEndsProgram()
{
    MDIMain w;
    int ended = 0;
    w.endProgram = [&] { ++ended; };
    w.findChild<QAction *>(u"x8"_s)->trigger();
    QCOMPARE(ended, 1);
    QCOMPARE(m_fx->msgs->shown.size(), 0); // no question asked
}

void TstMainWindow::closeClosesActiveChild()
{
    MDIMain w;
    w.show();
    int ended = 0;
    w.endProgram = [&] { ++ended; };
    auto *child = w.mdiArea()->addSubWindow(new QWidget);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->show();
    w.mdiArea()->setActiveSubWindow(child);
    w.findChild<QAction *>(u"x8"_s)->trigger();
    QCOMPARE(ended, 0);
    QTRY_COMPARE(w.mdiArea()->subWindowList().size(), 0);
}

void TstMainWindow::helpWithoutFile()
{
    FrmHelp missing(nullptr, m_fx->dir->filePath(u"no-help.txt"_s));
    QCOMPARE(missing.findChild<QTextEdit *>(u"rtf"_s)->toPlainText(), u"无帮助文件！"_s);
    FrmHelp shipped;
    QVERIFY(shipped.findChild<QTextEdit *>(u"rtf"_s)->toPlainText().contains(u"Admin"_s));
}

void TstMainWindow::splashShowsCaptionsThenCloses()
{
    FrmSetup splash;
    auto *label = splash.findChild<QLabel *>(u"lblShow"_s);
    splash.tickClose(); // not done yet: stays
    QCOMPARE(splash.result(), int(QDialog::Rejected));
    splash.tickCaptions();
    QCOMPARE(label->text(), u"正在搜索文件..........."_s);
    splash.tickCaptions();
    QCOMPARE(label->text(), u"正在加载文件..........."_s);
    splash.tickCaptions();
    QCOMPARE(label->text(), u"正在初始化系统............"_s);
    splash.tickCaptions();
    QCOMPARE(label->text(), u"正在初始化系统............"_s);
    splash.tickClose();
    QCOMPARE(splash.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
