#include "mdimain.h"

#include "app/ui/frmabort.h"
#include "app/ui/frmhelp.h"
#include "app/ui/frmsetting.h"
#include "app/ui/frmuserchangpwd.h"
#include "app/ui/frmusermng.h"
#include "frmtools.h"
#include "optimise/ui/yhentry.h"
#include "project/ui/frmmcgcgl.h"
#include "project/ui/frmopengc.h"
#include "sheets/ui/sheetwindows.h"
#include "stats/ui/showstatistics.h"
#include "windcheck/ui/windcheck.h"
#include "optimise/yhoption.h"
#include "warehouse/ui/warehousewindows.h"
#include "warehouse/warehousestore.h"
#include "app/maindb.h"
#include "catalogue/ui/frmdatabase.h"
#include "design/ui/frmdesign.h"
#include "drawing/ui/frmdraw.h"
#include "app/shared.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

MDIMain::MDIMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(u"MDIMain"_s);
    setWindowTitle(u"Velmorra"_s);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(u"mdiArea"_s);
    setCentralWidget(m_mdi);
    platform::letWorkWindowKeysWin(m_mdi);
    endProgram = [] { QCoreApplication::quit(); };

    auto *op = menuBar()->addMenu(u"【操作】 &O"_s);
    op->setObjectName(u"mnuOpration"_s);
    addItem(op, u"mnuDatabase"_s, u"材料库"_s, Qt::Key_F2, &MDIMain::ShowDatabaseWindow, true);
    addItem(op, u"mnuDrawPicture"_s, u"绘制图"_s, Qt::Key_F3, &MDIMain::ShowDrawWindow, true);
    addItem(op, u"mnuDesign"_s, u"窗型设计"_s, Qt::Key_F4, &MDIMain::ShowDesignWindow, true);
    addItem(op, u"mnuProject"_s, u"工程管理"_s, Qt::Key_F5, &MDIMain::ShowProjectWindow, true);
    addItem(op, u"mnuYouhua"_s, u"材料优化"_s, Qt::Key_F6, &MDIMain::ShowOptimisationWindow, true);
    addItem(op, u"mnuFYJH"_s, u"风压校核"_s, Qt::Key_F7, &MDIMain::ShowWindCheck, true);
    op->addSeparator();
    auto *exitAction = op->addAction(u"退出"_s);
    exitAction->setObjectName(u"mnuExit"_s);
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    auto *tools = menuBar()->addMenu(u"【工具】&T"_s);
    tools->setObjectName(u"mnuTools"_s);
    addItem(tools, u"mnuDatabaseManage"_s, u"备份/恢复"_s, QKeySequence(Qt::CTRL | Qt::Key_M),
            &MDIMain::ShowToolsWindow, true);
    addItem(tools, u"mnuPath"_s, u"设置"_s, QKeySequence(Qt::CTRL | Qt::Key_S), &MDIMain::ShowSettings, true);
    addItem(tools, u"mnuChangeBackgroup"_s, u"更改背景"_s, QKeySequence(Qt::CTRL | Qt::Key_C),
            &MDIMain::ChangeBackground, true);

    auto *users = menuBar()->addMenu(u"【用户管理】 &U"_s);
    users->setObjectName(u"mnuUserGroup"_s);
    addItem(users, u"mnuUserMng"_s, u"用户管理"_s, {}, &MDIMain::ShowUserManagement, true);
    addItem(users, u"mnuMdifyPwd"_s, u"更改密码"_s, {}, &MDIMain::ShowChangePassword, true);

    // The warehouse menu as a whole is the twelfth right.
    auto *ck = menuBar()->addMenu(u"【仓库管理】&W"_s);
    ck->setObjectName(u"mnuCangKu"_s);
    ck->menuAction()->setObjectName(u"mnuCangKuAction"_s);
    ck->menuAction()->setEnabled(false);
    m_rightsItems.append(ck->menuAction());
    addItem(ck, u"mnuInput"_s, u"入库"_s, QKeySequence(Qt::CTRL | Qt::Key_I), &MDIMain::StockIn, false);
    addItem(ck, u"mnuOutput"_s, u"出库"_s, QKeySequence(Qt::CTRL | Qt::Key_O), &MDIMain::StockOut, false);
    addItem(ck, u"mnuQuery"_s, u"查寻"_s, QKeySequence(Qt::CTRL | Qt::Key_F), &MDIMain::StockQuery, false);
    addItem(ck, u"mnuClearCK"_s, u"清空仓库"_s, QKeySequence(Qt::CTRL | Qt::Key_D), &MDIMain::ClearStock, false);

    auto *help = menuBar()->addMenu(u"【帮助】&H"_s);
    help->setObjectName(u"mnuHelp"_s);
    addItem(help, u"mnuAbout"_s, u"关于"_s, QKeySequence(Qt::CTRL | Qt::Key_A), &MDIMain::ShowAbout, false);
    addItem(help, u"mnuHelps"_s, u"帮助 "_s, Qt::Key_F1, &MDIMain::ShowHelp, false);

    m_toolbar = addToolBar(u"Toolbar1"_s);
    m_toolbar->setObjectName(u"Toolbar1"_s);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QList<std::pair<QString, QString>> buttons = {
        {u"x1"_s, u"数据库"_s}, {u"x2"_s, u"绘图"_s},     {u"x3"_s, u"门窗设计"_s},
        {u"x4"_s, u"工程管理"_s}, {u"x5"_s, u"优化"_s},   {u"x9"_s, u"风压校核"_s},
        {u"x6"_s, u"工具"_s},   {u"x7"_s, u"帮助"_s},     {u"x8"_s, u"关闭"_s},
    };
    for (int i = 0; i < buttons.size(); ++i) {
        if (i > 0)
            m_toolbar->addSeparator();
        QAction *a = m_toolbar->addAction(buttons[i].second);
        a->setObjectName(buttons[i].first);
        a->setData(buttons[i].first);
        // Buttons that follow a right start disabled, like the menu items.
        a->setEnabled(i >= 7);
    }
    connect(m_toolbar, &QToolBar::actionTriggered, this, &MDIMain::toolbarClicked);

    // The job windows start the windows of the subsystems built on jobs.
    project::ui::jobWindowHooks().openOptimisation = [](QWidget *parent, const QString &jobId,
                                                        const QString &jobName) {
        optimise::ui::startWizardAtWindows(parent, jobId.toLongLong(), jobName);
    };
    project::ui::jobWindowHooks().openSheets = &sheets::ui::showComponentSheets;
    project::ui::jobWindowHooks().openStatistics = &stats::ui::showStatistics;
}

QAction *MDIMain::addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key,
                          void (MDIMain::*slot)(), bool rightsItem)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    if (rightsItem) {
        a->setEnabled(false);
        m_rightsItems.append(a); // created in the order of the rights positions

    }
    return a;
}

void MDIMain::ApplyUserRights(const QString &auth)
{
    if (auth.size() != 12)
        return;
    static const char *const buttons[] = {"x1", "x2", "x3", "x4", "x5", "x9", "x6"};
    for (int i = 0; i < 12; ++i) {
        if (auth.at(i) != u'1')
            continue;
        if (auto *a = qobject_cast<QAction *>(m_rightsItems.value(i)))
            a->setEnabled(true);
        if (i < 7)
            if (auto *b = m_toolbar->findChild<QAction *>(QString::fromLatin1(buttons[i])))
                b->setEnabled(true);
    }
}

void MDIMain::load()
{
    LoadStartupSettings();
    optimise::LoadYHOption();
    const auto ck = warehouse::OpenCKDatabase();
    if (ck.status == OpenStatus::Missing)
        platform::inform(this, u"数据库文件‘"_s + ck.path + u"’不存在！"_s);
    else if (ck.status == OpenStatus::Failed)
        platform::showError(this, u"打开‘仓库’数据库出错！"_s);
    QString path, error;
    switch (OpenMainDatabase(&path, &error)) {
    case OpenStatus::Opened:
        break;
    case OpenStatus::Missing:
        platform::inform(this, u"数据库文件‘"_s + path + u"’不存在！"_s);
        break;
    case OpenStatus::Failed:
        platform::showError(this, u"‘材料’数据库打开出错！"_s, u"出错！"_s);
        break;
    }
    ApplyUserRights(CurUserAuth);
}

namespace {
const QString kPlacementSection = u"MDIMAIN"_s;
const QString kPlacementKey = u"PLACEMENT"_s;
} // namespace

void MDIMain::showWithSavedPlacement()
{
    const QByteArray saved = QByteArray::fromBase64(
        platform::SettingsStore::get(kPlacementSection, kPlacementKey, QString()).toLatin1());
    if (saved.isEmpty() || !restoreGeometry(saved))
        resize(1024, 720);
    show();
}

void MDIMain::savePlacement()
{
    platform::SettingsStore::set(kPlacementSection, kPlacementKey, QString::fromLatin1(saveGeometry().toBase64()));
}

void MDIMain::toolbarClicked(QAction *action)
{
    const QString key = action->data().toString();
    if (key == u"x1")
        ShowDatabaseWindow();
    else if (key == u"x2")
        ShowDrawWindow();
    else if (key == u"x3")
        ShowDesignWindow();
    else if (key == u"x4")
        ShowProjectWindow();
    else if (key == u"x5")
        ShowOptimisationWindow();
    else if (key == u"x9")
        ShowWindCheck();
    else if (key == u"x6")
        ShowToolsWindow();
    else if (key == u"x7")
        ShowHelp();
    else if (key == u"x8")
        CloseActiveChild();
}

// Windows of subsystems that are not built yet: the items exist and follow the rights, and do nothing.
void MDIMain::ShowProjectWindow()
{
    project::ui::showProjectWindow(m_mdi);
}
void MDIMain::ShowOptimisationWindow() { optimise::ui::YH02Show(this); }
void MDIMain::ShowWindCheck() { windcheck::ui::openWindCheck(this); }
void MDIMain::StockIn() { warehouse::ui::openReceiptBill(this); }
void MDIMain::StockOut() { warehouse::ui::openIssueBill(this); }
void MDIMain::StockQuery() { warehouse::ui::openQuery(this); }

void MDIMain::ShowUserManagement()
{
    FrmUserMng dlg(this);
    platform::execDialog(&dlg);
}

void MDIMain::ShowChangePassword()
{
    FrmUserChangPwd dlg(this);
    platform::execDialog(&dlg);
}

void MDIMain::ShowDatabaseWindow()
{
    catalogue::showDatabaseWindow(m_mdi);
}

void MDIMain::ShowDrawWindow()
{
    drawing::ui::showDrawWindow(m_mdi);
}

void MDIMain::ShowDesignWindow()
{
    design::showDesignWindow(m_mdi);
}

void MDIMain::ShowToolsWindow()
{
    FrmTools dlg(this);
    // Every work window shows data of the main database that a restore or an import replaces.
    dlg.closeWorkWindows = [this] {
        m_mdi->closeAllSubWindows();
        return m_mdi->subWindowList().isEmpty();
    };
    platform::execDialog(&dlg);
}

void MDIMain::ShowSettings()
{
    FrmSetting dlg(this);
    platform::execDialog(&dlg);
}

void MDIMain::ClearStock()
{
    // Backups do not hold the warehouse: nothing brings these rows back.
    if (!platform::confirm(this, u"清空仓库将删除全部入库、出库和库存记录，是否继续？"_s, u"提示"_s,
                           platform::MsgButtons::YesNo, platform::MsgDefault::No))
        return;
    QString error;
    if (warehouse::ClearWarehouse(&error))
        platform::inform(this, u"操作已完成!"_s, u"提示"_s, platform::MsgIcon::Exclamation);
    else
        platform::showError(this, error);
}

void MDIMain::ChangeBackground()
{
    const QString file = platform::messages().openFileName(this, QString(), QString(),
                                                           u"所有文件 (*);;BMP (*.bmp);;JPEG (*.JPEG *.jpeg);;JPG (*.JPG *.jpg)"_s);
    if (file.isEmpty())
        return;
    const QPixmap pic(file);
    if (pic.isNull())
        return; // an unreadable picture leaves the background as it was
    m_mdi->setBackground(QBrush(pic));
    if (QString error; !platform::SettingsStore::set(kSettingsGeneral, u"BACKGROUP"_s, file, &error))
        platform::showError(this, error);
}

void MDIMain::ShowAbout()
{
    FrmAbort dlg(this);
    platform::execDialog(&dlg);
}

void MDIMain::ShowHelp()
{
    FrmHelp dlg(this);
    platform::execDialog(&dlg);
}

// Work windows with unsaved changes ask first; one that stays open keeps the program running.
void MDIMain::closeEvent(QCloseEvent *event)
{
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    savePlacement();
    event->accept();
}

void MDIMain::CloseActiveChild()
{
    QMdiSubWindow *child = m_mdi->activeSubWindow();
    if (!child) {
        endProgram();
        return;
    }
    child->close();
}

} // namespace shell
