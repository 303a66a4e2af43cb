// Work windows inside the main window: their keys win over the main window's while they are
// active, and none of them outlives a restore or an import that replaces the data it shows.
#include "../app/fixture.h"

#include "app/backupstore.h"
#include "catalogue/ui/frmdatabase.h"
#include "design/ui/frmdesign.h"
#include "design/ui/frmmcgs.h"
#include "drawing/ui/frmdraw.h"
#include "optimise/ui/frmcreate.h"
#include "optimise/ui/frmhandup.h"
#include "optimise/ui/frmresult.h"
#include "optimise/ui/frmyhmain.h"
#include "platform/keys.h"
#include "project/ui/frmaddgcmc.h"
#include "project/ui/frmaddgczhmc.h"
#include "project/ui/frmmcgcgl.h"
#include "project/ui/frmopengc.h"
#include "shell/frmtools.h"
#include "shell/mdimain.h"
#include "warehouse/ui/frmenter.h"
#include "warehouse/ui/frmpost.h"
#include "warehouse/ui/frmquery.h"
#include "windcheck/ui/frmfy.h"
#include "app/maindb.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using testfixture::exec;

namespace {
QString menuTitle(const shell::MDIMain &w, const QString &menu)
{
    return w.findChild<QMenu *>(menu)->menuAction()->text();
}

// A work window whose user answered "cancel" to its unsaved-changes question.
class StubbornWindow : public QWidget
{
protected:
    void closeEvent(QCloseEvent *e) override { e->ignore(); }
};
} // namespace

class TstWorkWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }
    void designShortcutsWinInsideTheMainWindow();
    void catalogueAccessKeyWinsOverTheMenu();
    void accessKeysDifferWithinAWindow_data();
    void accessKeysDifferWithinAWindow();
    void restoreClosesTheJobWindow_data();
    void restoreClosesTheJobWindow();

private:
    void showMain(shell::MDIMain &w);
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstWorkWindows::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    app::CurUserAuth = u"111111111111"_s;
}

void TstWorkWindows::showMain(shell::MDIMain &w)
{
    w.load();
    w.resize(1100, 760);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// 剪切 and 复制 share Ctrl+X and Ctrl+C with 退出 and 更改背景: inside the design window they cut
// and copy; once it is closed, the main window's items have their keys again.
void TstWorkWindows::designShortcutsWinInsideTheMainWindow()
{
    shell::MDIMain w;
    showMain(w);
    QVERIFY(exec(app::mainDb(), u"INSERT INTO 门窗厂家 VALUES (1, '甲厂')"_s));
    QVERIFY(exec(app::mainDb(), u"INSERT INTO 门窗系列 VALUES (1, 2, '60系列')"_s));
    QVERIFY(exec(app::mainDb(), u"INSERT INTO 门窗 VALUES (2, 3, '平开窗', '', 0)"_s));
    w.ShowDesignWindow();
    auto *types = w.findChild<design::FrmDesign *>();
    QVERIFY(types);
    QTRY_VERIFY(types->isActiveWindow());
    types->tree()->expandAll();
    types->tree()->setCurrentItem(types->nodeByTag(u"33"_s));
    types->tree()->setFocus();

    QTest::keyClick(types->tree(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(types->isCut());
    QTest::keyClick(types->tree(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(types->isCopy());
    QVERIFY(types->menuAction(u"mnuParse"_s)->isEnabled());
    QVERIFY(w.isVisible()); // 退出 did not run
    QVERIFY(m_fx->msgs->fileNames.isEmpty());

    w.mdiArea()->closeAllSubWindows();
    QCOMPARE(w.findChild<QAction *>(u"mnuExit"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(w.findChild<QAction *>(u"mnuChangeBackgroup"_s)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
}

// Alt+T is 【工具】's access key and the catalogue's 添加 &T: in the catalogue it presses 添加.
void TstWorkWindows::catalogueAccessKeyWinsOverTheMenu()
{
    shell::MDIMain w;
    showMain(w);
    QCOMPARE(menuTitle(w, u"mnuTools"_s), u"【工具】&T"_s);
    w.ShowDatabaseWindow();
    auto *catalogue = w.findChild<catalogue::FrmDatabase *>();
    QVERIFY(catalogue);
    QTRY_VERIFY(catalogue->isActiveWindow());
    auto *add = catalogue->findChild<QPushButton *>(u"CmdAdd1"_s);
    int pressed = 0;
    connect(add, &QPushButton::clicked, this, [&] { ++pressed; });
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && catalogue->isAncestorOf(focus));

    m_fx->msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    QTest::keyClick(focus, Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE(pressed, 1);
    QVERIFY(!w.findChild<QMenu *>(u"mnuTools"_s)->isVisible());

    w.mdiArea()->closeAllSubWindows();
    QCOMPARE(menuTitle(w, u"mnuTools"_s), u"【工具】&T"_s);
}

namespace {
// Every window whose access keys are checked, by name.
QWidget *makeWindow(const QString &name)
{
    if (name == u"catalogue"_s)
        return new catalogue::FrmDatabase;
    if (name == u"type design"_s)
        return new design::FrmDesign;
    if (name == u"bill editor"_s)
        return new design::FrmMCGS(1);
    if (name == u"drawing editor"_s)
        return new drawing::ui::FrmDraw;
    if (name == u"job list"_s)
        return new project::ui::FrmMCGCGL;
    if (name == u"job window"_s)
        return new project::ui::FrmOpenGC(u"1"_s, u"J"_s);
    if (name == u"plain window"_s)
        return new project::ui::FrmAddGCMC;
    if (name == u"combined window"_s)
        return new project::ui::FrmAddGCZHMC;
    if (name == u"optimisation"_s)
        return new optimise::ui::FrmYHMain;
    if (name == u"wizard step 1"_s)
        return new optimise::ui::FrmCreate01({});
    if (name == u"wizard step 2"_s)
        return new optimise::ui::FrmCreate02(u"1"_s, {});
    if (name == u"wizard step 3"_s)
        return new optimise::ui::FrmCreate03({});
    if (name == u"piece list"_s)
        return new optimise::ui::FrmHandup({});
    if (name == u"optimisation result"_s)
        return new optimise::ui::FrmResult;
    if (name == u"receipt"_s)
        return new warehouse::ui::FrmEnter;
    if (name == u"issue"_s)
        return new warehouse::ui::FrmPost;
    if (name == u"query"_s)
        return new warehouse::ui::FrmQuery;
    if (name == u"wind check"_s)
        return new windcheck::ui::FrmFY;
    if (name == u"tools"_s)
        return new shell::FrmTools;
    return nullptr;
}
} // namespace

void TstWorkWindows::accessKeysDifferWithinAWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("catalogue") << u"catalogue"_s;
    QTest::newRow("type design") << u"type design"_s;
    QTest::newRow("bill editor") << u"bill editor"_s;
    QTest::newRow("drawing editor") << u"drawing editor"_s;
    QTest::newRow("job list") << u"job list"_s;
    QTest::newRow("job window") << u"job window"_s;
    QTest::newRow("plain window") << u"plain window"_s;
    QTest::newRow("combined window") << u"combined window"_s;
    QTest::newRow("optimisation") << u"optimisation"_s;
    QTest::newRow("wizard step 1") << u"wizard step 1"_s;
    QTest::newRow("wizard step 2") << u"wizard step 2"_s;
    QTest::newRow("wizard step 3") << u"wizard step 3"_s;
    QTest::newRow("piece list") << u"piece list"_s;
    QTest::newRow("optimisation result") << u"optimisation result"_s;
    QTest::newRow("receipt") << u"receipt"_s;
    QTest::newRow("issue") << u"issue"_s;
    QTest::newRow("query") << u"query"_s;
    QTest::newRow("wind check") << u"wind check"_s;
    QTest::newRow("tools") << u"tools"_s;
}

// Two controls of one window with one access key: Qt presses neither, it only moves the focus.
void TstWorkWindows::accessKeysDifferWithinAWindow()
{
    QFETCH(QString, name);
    shell::MDIMain main;
    main.load(); // opens the databases the windows read
    m_fx->msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    std::unique_ptr<QWidget> window(makeWindow(name));
    QVERIFY(window);
    QList<QKeySequence> keys = platform::accessKeys(window.get());
    std::sort(keys.begin(), keys.end());
    const auto twice = std::adjacent_find(keys.begin(), keys.end());
    QVERIFY2(twice == keys.end(), qPrintable(twice == keys.end() ? QString() : twice->toString()));
}

void TstWorkWindows::restoreClosesTheJobWindow_data()
{
    QTest::addColumn<bool>("stubborn");
    QTest::newRow("every window closes") << false;
    QTest::newRow("a window stays open") << true;
}

// A backup holds a job with four lines; the job then has three, and its window is open. After the
// restore no window shows the three; a window that refuses to close stops the restore.
void TstWorkWindows::restoreClosesTheJobWindow()
{
    QFETCH(bool, stubborn);
    shell::MDIMain w;
    showMain(w);
    QSqlDatabase db = app::mainDb();
    QVERIFY(exec(db, u"INSERT INTO 工程 VALUES (5, 'HT-1', '南苑小区', '城南', '甲方')"_s));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(exec(db, u"INSERT INTO 工程门窗 VALUES (5, 7, ?, ?, '平开窗', 1500, 1200, '1500*1200', 1, '')"_s,
                     {50 + i, u"C%1"_s.arg(i)}));
    const QString backup = m_fx->dir->filePath(u"四樘.MBK"_s);
    QCOMPARE(app::backupTo(backup), app::StoreResult::Done);
    QVERIFY(exec(db, u"DELETE FROM 工程门窗 WHERE 编号 = 54"_s));

    w.ShowProjectWindow();
    auto *jobs = w.findChild<project::ui::FrmMCGCGL *>();
    jobs->lvw->setCurrentItem(jobs->lvw->topLevelItem(0));
    project::ui::FrmOpenGC *job = jobs->CmdOpen_Click();
    QVERIFY(job);
    QCOMPARE(job->lvw->topLevelItemCount(), 3);
    if (stubborn)
        w.mdiArea()->addSubWindow(new StubbornWindow)->show();

    m_fx->msgs->fileNames = {backup};
    m_fx->msgs->answers = {platform::MsgAnswer::Yes};
    m_fx->msgs->onDialog = [](QDialog *d) {
        if (d->objectName() == u"frmTools"_s)
            d->findChild<QPushButton *>(u"CmdRestore"_s)->click();
        return int(QDialog::Rejected);
    };
    w.ShowToolsWindow();

    QCOMPARE(testfixture::rowCount(db, u"工程门窗"_s), stubborn ? 3 : 4);
    const QList<QMdiSubWindow *> open = w.mdiArea()->subWindowList();
    QCOMPARE(open.size(), stubborn ? 1 : 0);
    if (stubborn)
        QVERIFY(!qobject_cast<project::ui::FrmOpenGC *>(open.first()->widget()));
    QCOMPARE(m_fx->msgs->texts().contains(u"数据恢复完毕！"_s), !stubborn);
}

QTEST_MAIN(TstWorkWindows)
#include "tst_workwindows.moc"
