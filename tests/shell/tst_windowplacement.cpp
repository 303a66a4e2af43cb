// How the frame places and dresses its windows: work windows inside the main window's work area
// (maximised over a maximised one, cascaded, clamped, restored inside), list columns as wide as their
// headers, the main window's remembered placement, Qt's own texts in Chinese and Velmorra's icon.
#include "../app/fixture.h"

#include "app/icons.h"
#include "project/projectstore.h"
#include "project/ui/frmmcgcgl.h"
#include "shell/mdimain.h"
#include "shell/startup.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace shell;

namespace {

const QSize kScreen(1366, 768);

// Opens a work window as the user would: a menu item, or the job list's 打开工程 on its first job.
void open(MDIMain &w, const QString &how)
{
    if (how == u"job") {
        auto *list = w.findChild<project::ui::FrmMCGCGL *>();
        QVERIFY(list);
        list->lvw->setCurrentItem(list->lvw->topLevelItem(0));
        list->CmdOpen->click();
        return;
    }
    auto *item = w.findChild<QAction *>(how);
    QVERIFY2(item, qPrintable(how));
    item->trigger();
}

// Every column of the window's lists shows its whole header text.
void verifyColumnsFitHeaders(QWidget *window)
{
    for (QTreeView *tree : window->findChildren<QTreeView *>()) {
        if (tree->isHeaderHidden())
            continue;
        QHeaderView *h = tree->header();
        for (int i = 0; i < h->count(); ++i)
            QVERIFY2(h->sectionSize(i) >= h->sectionSizeHint(i),
                     qPrintable(u"%1 column %2"_s.arg(tree->objectName()).arg(i)));
    }
}

void verifyInside(QMdiArea *area, QMdiSubWindow *sub)
{
    QVERIFY2(area->viewport()->rect().contains(sub->geometry()),
             qPrintable(u"%1: %2,%3 %4x%5 in %6x%7"_s.arg(sub->widget()->objectName())
                            .arg(sub->x()).arg(sub->y()).arg(sub->width()).arg(sub->height())
                            .arg(area->viewport()->width()).arg(area->viewport()->height())));
}

} // namespace

class TstWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }
    void newWindowOverMaximisedOneFillsTheArea_data();
    void newWindowOverMaximisedOneFillsTheArea();
    void workWindowsOpenAndRestoreInsideTheArea();
    void mainWindowRemembersItsPlacement_data();
    void mainWindowRemembersItsPlacement();
    void startupMakesQtTextsChineseAndSetsTheIcon();

private:
    void showMain(MDIMain &w);
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstWindowPlacement::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    app::CurUserAuth = u"111111111111"_s;
}

void TstWindowPlacement::showMain(MDIMain &w)
{
    w.load();
    QVERIFY(project::ProjectStore().addJob({0, u"HT1"_s, u"阳光小区"_s, u"城东"_s, u"甲方"_s}));
    w.resize(kScreen);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

void TstWindowPlacement::newWindowOverMaximisedOneFillsTheArea_data()
{
    QTest::addColumn<QString>("second");
    QTest::newRow("drawing editor (F3)") << u"mnuDrawPicture"_s;
    QTest::newRow("type design (F4)") << u"mnuDesign"_s;
    QTest::newRow("a job") << u"job"_s;
}

void TstWindowPlacement::newWindowOverMaximisedOneFillsTheArea()
{
    QFETCH(QString, second);
    MDIMain w;
    showMain(w);
    QMdiArea *area = w.mdiArea();
    open(w, u"mnuProject"_s);
    QMdiSubWindow *jobs = area->activeSubWindow();
    jobs->showMaximized();
    QCOMPARE(jobs->size(), area->viewport()->size());

    open(w, second);
    QCOMPARE(area->subWindowList().size(), 2);
    QMdiSubWindow *opened = area->activeSubWindow();
    QVERIFY(opened != jobs);
    QVERIFY(opened->isMaximized());
    QCOMPARE(opened->geometry(), area->viewport()->rect()); // nothing of the window below shows
    QVERIFY(!jobs->isMaximized()); // one maximised window at a time, as the area keeps them

    // Restored, both windows lie inside the area.
    opened->showNormal();
    verifyInside(area, opened);
    verifyInside(area, jobs);
}

void TstWindowPlacement::workWindowsOpenAndRestoreInsideTheArea()
{
    MDIMain w;
    showMain(w);
    QMdiArea *area = w.mdiArea();
    const QStringList windows = {u"mnuDatabase"_s, u"mnuDrawPicture"_s, u"mnuDesign"_s, u"mnuProject"_s, u"job"_s};
    QList<QMdiSubWindow *> opened;
    for (const QString &how : windows) {
        open(w, how);
        QMdiSubWindow *sub = area->activeSubWindow();
        QVERIFY(!opened.contains(sub));
        opened << sub;
        verifyInside(area, sub);
        verifyColumnsFitHeaders(sub->widget());
        // Every control shows in full: none lies past the frame.
        for (QWidget *child : sub->widget()->findChildren<QWidget *>())
            if (child->isVisible() && child->parentWidget() == sub->widget())
                QVERIFY2(sub->widget()->rect().contains(child->geometry()), qPrintable(child->objectName()));
    }
    // Each cascades from the one before.
    for (int i = 1; i < opened.size(); ++i)
        QVERIFY(opened[i]->pos() != opened[i - 1]->pos());
    // The job list is opened at the size its form is designed for.
    auto *jobs = w.findChild<project::ui::FrmMCGCGL *>();
    QCOMPARE(jobs->size(), QSize(619, 397));

    // Maximised, then the main window made smaller: restoring brings the window back inside.
    QMdiSubWindow *last = opened.constLast();
    last->showMaximized();
    w.resize(800, 500);
    QCoreApplication::processEvents();
    last->showNormal();
    verifyInside(area, last);
}

void TstWindowPlacement::mainWindowRemembersItsPlacement_data()
{
    QTest::addColumn<bool>("maximised");
    QTest::newRow("normal") << false;
    QTest::newRow("maximised") << true;
}

void TstWindowPlacement::mainWindowRemembersItsPlacement()
{
    QFETCH(bool, maximised);
    QSize normalSize;
    {
        MDIMain first;
        first.showWithSavedPlacement();
        QCOMPARE(first.size(), QSize(1024, 720)); // nothing saved yet
        first.resize(900, 640);
        normalSize = first.size();
        if (maximised)
            first.showMaximized();
        QVERIFY(first.close());
    }
    MDIMain second;
    second.showWithSavedPlacement();
    QCOMPARE(second.isMaximized(), maximised);
    if (!maximised)
        QCOMPARE(second.size(), normalSize);
}

void TstWindowPlacement::startupMakesQtTextsChineseAndSetsTheIcon()
{
    prepareApplication();
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), u"确定"_s);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
    QCOMPARE(buttons.button(QDialogButtonBox::Open)->text(), u"打开"_s);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    QVERIFY2(box.button(QMessageBox::Yes)->text().startsWith(u"是"_s), qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY2(box.button(QMessageBox::No)->text().startsWith(u"否"_s), qPrintable(box.button(QMessageBox::No)->text()));

    // The main window and its work windows carry Velmorra's icon.
    const qint64 icon = app::appIcon().cacheKey();
    QCOMPARE(QApplication::windowIcon().cacheKey(), icon);
    MDIMain w;
    showMain(w);
    QCOMPARE(w.windowIcon().cacheKey(), icon);
    open(w, u"mnuProject"_s);
    QCOMPARE(w.mdiArea()->activeSubWindow()->windowIcon().cacheKey(), icon);
}

QTEST_MAIN(TstWindowPlacement)
#include "tst_windowplacement.moc"
