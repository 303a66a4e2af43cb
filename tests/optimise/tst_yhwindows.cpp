#include "../app/fixture.h"
#include "../app/pdftext.h"
#include "optimise/ui/frmcreate.h"
#include "optimise/ui/frmhandup.h"
#include "optimise/ui/frmresult.h"
#include "optimise/ui/frmyhmain.h"
#include "optimise/ui/yhlists.h"
#include "optimise/yhoption.h"
#include "platform/chinese.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace optimise;
using namespace optimise::ui;
using testfixture::exec;

namespace {
QSqlDatabase db()
{
    return app::mainDb();
}

template <typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qFatal("no child %s", qPrintable(name));
    return c;
}

void click(QWidget *w, const QString &button)
{
    child<QPushButton>(w, button)->click();
}

QStringList listTexts(QTreeWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            row << list->topLevelItem(i)->text(c);
        out << row.join(u'|');
    }
    return out;
}

void select(QTreeWidget *list, int row)
{
    QTreeWidgetItem *item = list->topLevelItem(row);
    list->setCurrentItem(item);
    item->setSelected(true);
}

// One job (编号 5, "南苑小区") with a plain window of 2 units whose type 7 has a profile row and a
// steel row, and a second window of type 8 with a profile row.
void addJob()
{
    QVERIFY(exec(db(), u"INSERT INTO \"工程\" VALUES (5, 'HT-1', '南苑小区', '城南', '甲方')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"工程门窗\" VALUES (5, 7, 50, 'C1', '平开窗', 1500, 1200, '1500*1200', 2, '')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"工程门窗\" VALUES (5, 8, 51, 'C2', '推拉窗', 900, 900, '900*900', 1, '')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"标注\" VALUES (0, 0, '1500', 50, 'B')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"窗型材\" VALUES (7, 1, '框', 'K60', '2', 'B')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"窗型钢\" VALUES (7, 2, '钢', 'G20', '1', 'B-100')"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"窗型材\" VALUES (8, 3, '扇', 'S50', '1', '800')"_s));
}
} // namespace

class TstYHWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void schemeSwitch_data();
    void schemeSwitch();
    void windowsCutWithTheSchemeTheyWereOpenedWith_data();
    void windowsCutWithTheSchemeTheyWereOpenedWith();
    void toolbarOpensWindows_data();
    void toolbarOpensWindows();

    void moversNeedASelection_data();
    void moversNeedASelection();
    void movedItemKeepsEverything();
    void moveAllAndBack();

    void wizardFromJobToResult();
    void wizardStepsRefuseEmptyChoices();
    void wizardTakesTheJobThatLooksChosen();
    void jobWindowEntryUsesSchemeOne();
    void failedGatheringKeepsStepTwo();

    void pieceListAddChecks_data();
    void pieceListAddChecks();
    void pieceListKeysAndDelete();
    void pieceListFiles();
    void pieceListRun();
    void pieceListRunChecks();
    void runWithoutBarLengthCutsNothing();

    void resultExports();
    void resultPrints();
    void excelFailureIsReported();
    void stepThreeButtonsKeepTheirSize();
    void workbookReadsBackInASpreadsheetLibrary();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstYHWindows::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    CLC = 6000;
    LTC = 0;
    CKK = 0;
    YHBL = 1.0f;
    YHScheme = 0;
    YHGCName.clear();
    app::OutPutFileTypeFlag = 0;
}

void TstYHWindows::cleanup()
{
    m_fx.reset();
}

void TstYHWindows::schemeSwitch_data()
{
    QTest::addColumn<int>("startScheme");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("scheme");
    QTest::newRow("opened") << 0 << 0 << u"优化方案一"_s << 0;
    QTest::newRow("one click") << 0 << 1 << u"优化方案二"_s << 1;
    QTest::newRow("two clicks") << 0 << 2 << u"优化方案一"_s << 0;
    QTest::newRow("opened with scheme two active") << 1 << 0 << u"优化方案二"_s << 1;
    QTest::newRow("scheme two, one click") << 1 << 1 << u"优化方案一"_s << 0;
}

void TstYHWindows::schemeSwitch()
{
    QFETCH(int, startScheme);
    QFETCH(int, clicks);
    QFETCH(QString, caption);
    QFETCH(int, scheme);
    YHScheme = qint16(startScheme);
    FrmYHMain w;
    QCOMPARE(w.windowTitle(), u"塑钢门窗材料优化"_s);
    QAction *button = w.findChild<QAction *>(u"Button1"_s);
    QVERIFY(button);
    for (int i = 0; i < clicks; ++i)
        button->trigger();
    QCOMPARE(button->text(), caption);
    QCOMPARE(int(YHScheme), scheme);
}

void TstYHWindows::windowsCutWithTheSchemeTheyWereOpenedWith_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QStringList>("plan");
    QTest::newRow("scheme one") << 0 << QStringList{u"K60|2000*3|1|1|0"_s, u"|3000*2|1|1|0"_s};
    QTest::newRow("scheme two") << 1 << QStringList{u"K60|2000*3|1|100|0"_s, u"|3000*2|1|100|0"_s};
}

// The piece-list window opened from the optimisation window runs the scheme chosen there, even when
// the scheme is switched again before it runs.
void TstYHWindows::windowsCutWithTheSchemeTheyWereOpenedWith()
{
    QFETCH(int, clicks);
    QFETCH(QStringList, plan);
    FrmYHMain w;
    for (int i = 0; i < clicks; ++i)
        w.findChild<QAction *>(u"Button1"_s)->trigger();
    QStringList shown;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        if (d->objectName() == u"frmResult"_s) {
            shown = listTexts(child<QTreeWidget>(d, u"Lvw1"_s));
            return int(QDialog::Rejected);
        }
        YHScheme = qint16(1 - YHScheme);
        child<QLineEdit>(d, u"TxtName"_s)->setText(u"K60"_s);
        auto *list = child<QTreeWidget>(d, u"lvw"_s);
        addItem(list, {u"2000"_s, u"3"_s});
        addItem(list, {u"3000"_s, u"2"_s});
        click(d, u"OKButton"_s);
        return int(QDialog::Rejected);
    };
    w.findChild<QAction *>(u"Button4"_s)->trigger();
    QCOMPARE(m_fx->msgs->dialogNames, (QStringList{u"frmHandup"_s, u"frmResult"_s}));
    QCOMPARE(shown, plan);
}

void TstYHWindows::toolbarOpensWindows_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("工程优化") << u"Button3"_s << u"frmCreate01"_s;
    QTest::newRow("手工优化") << u"Button4"_s << u"frmHandup"_s;
    QTest::newRow("选项设置") << u"Button5"_s << u"frmOption"_s;
    QTest::newRow("使用说明") << u"Button6"_s << u"frmUser"_s;
}

void TstYHWindows::toolbarOpensWindows()
{
    QFETCH(QString, button);
    QFETCH(QString, dialog);
    FrmYHMain w;
    w.findChild<QAction *>(button)->trigger();
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{dialog});
    if (dialog == u"frmUser"_s) {
        FrmUser u;
        QVERIFY(u.findChild<QWidget *>(u"RichTextBox1"_s));
        QCOMPARE(u.windowTitle(), u"使用说明"_s);
    }
    // The entry shows the window modally.
    m_fx->msgs->dialogNames.clear();
    YH02Show(nullptr);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmYHMain"_s});
}

void TstYHWindows::moversNeedASelection_data()
{
    QTest::addColumn<int>("mover");
    QTest::addColumn<QString>("message");
    QTest::newRow("move") << 0 << u"无选择移动对象"_s;
    QTest::newRow("remove") << 1 << u"无选择移除对象"_s;
}

void TstYHWindows::moversNeedASelection()
{
    QFETCH(int, mover);
    QFETCH(QString, message);
    QWidget host;
    QTreeWidget *available = makeList(u"LvwR"_s, &host);
    QTreeWidget *chosen = makeList(u"LvwD"_s, &host);
    setHeaders(available, {u"a"_s});
    setHeaders(chosen, {u"a"_s});
    addItem(available, {u"x"_s});
    addItem(chosen, {u"y"_s});
    if (mover == 0)
        MoveListItem(available, chosen);
    else
        RemoveListItem(available, chosen);
    QCOMPARE(m_fx->msgs->texts(), QStringList{message});
    QCOMPARE(m_fx->msgs->shown.at(0).title, u"提示"_s);
    QCOMPARE(available->topLevelItemCount(), 1);
    QCOMPARE(chosen->topLevelItemCount(), 1);
}

void TstYHWindows::movedItemKeepsEverything()
{
    QWidget host;
    QTreeWidget *available = makeList(u"LvwR"_s, &host);
    QTreeWidget *chosen = makeList(u"LvwD"_s, &host);
    const QStringList headers = {u"门窗名称"_s, u"门窗类型"_s, u"制作尺寸"_s};
    setHeaders(available, headers);
    setHeaders(chosen, headers);
    addItem(available, {u"C1"_s, u"平开"_s, u"1500*1200"_s}, u"50"_s);
    addItem(available, {u"C2"_s, u"推拉"_s, u"900*900"_s}, u"51"_s);
    addItem(chosen, {u"C0"_s, u"固定"_s, u"600*600"_s}, u"49"_s);
    select(available, 0);
    MoveListItem(available, chosen);
    QCOMPARE(listTexts(chosen), (QStringList{u"C0|固定|600*600"_s, u"C1|平开|1500*1200"_s}));
    QCOMPARE(itemTag(chosen->topLevelItem(1)), u"50"_s);
    QCOMPARE(listTexts(available), QStringList{u"C2|推拉|900*900"_s});
    select(chosen, 0);
    RemoveListItem(available, chosen);
    QCOMPARE(listTexts(available), (QStringList{u"C2|推拉|900*900"_s, u"C0|固定|600*600"_s}));
    QCOMPARE(itemTag(available->topLevelItem(1)), u"49"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstYHWindows::moveAllAndBack()
{
    QWidget host;
    QTreeWidget *available = makeList(u"LvwR"_s, &host);
    QTreeWidget *chosen = makeList(u"LvwD"_s, &host);
    setHeaders(available, {u"规格"_s});
    setHeaders(chosen, {u"规格"_s});
    for (const QString &code : {u"A"_s, u"B"_s, u"C"_s})
        addItem(available, {code});
    MoveAllListItems(available, chosen);
    QCOMPARE(listTexts(chosen), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    QCOMPARE(available->topLevelItemCount(), 0);
    RemoveAllListItems(available, chosen);
    QCOMPARE(listTexts(available), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    QCOMPARE(chosen->topLevelItemCount(), 0);
    // Nothing to move: no message.
    RemoveAllListItems(available, chosen);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstYHWindows::wizardFromJobToResult()
{
    addJob();
    QStringList step2Available, step2AfterReturn, step3Codes, plan, summary;
    bool progressHidden = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        const QString name = d->objectName();
        if (name == u"frmCreate02"_s) {
            auto *r = child<QTreeWidget>(d, u"LvwR"_s);
            auto *dd = child<QTreeWidget>(d, u"LvwD"_s);
            step2Available = listTexts(r);
            select(r, 0);
            click(d, u"CmdMove"_s);
            click(d, u"CmdNext"_s);
            step2AfterReturn = listTexts(r) << u"chosen %1"_s.arg(dd->topLevelItemCount());
        } else if (name == u"frmCreate03"_s) {
            auto *r = child<QTreeWidget>(d, u"LvwR"_s);
            step3Codes = listTexts(r);
            click(d, u"CmdMoveAll"_s);
            click(d, u"CmdNext"_s);
            progressHidden = !child<QWidget>(d, u"ProgressBar"_s)->isVisibleTo(d);
        } else if (name == u"frmResult"_s) {
            plan = listTexts(child<QTreeWidget>(d, u"Lvw1"_s));
            summary = listTexts(child<QTreeWidget>(d, u"Lvw2"_s));
        }
        return int(QDialog::Rejected);
    };
    FrmCreate01 step1(currentCutSettings());
    auto *jobs = child<QTreeWidget>(&step1, u"lvw"_s);
    QCOMPARE(listTexts(jobs), QStringList{u"南苑小区|城南|甲方|5|HT-1"_s});
    select(jobs, 0);
    click(&step1, u"CmdNext"_s);
    QCOMPARE(YHGCName, u"南苑小区"_s);
    QCOMPARE(step2Available, (QStringList{u"C1|平开窗|1500*1200|2|7|50"_s, u"C2|推拉窗|900*900|1|8|51"_s}));
    QCOMPARE(step3Codes, (QStringList{u"G20"_s, u"K60"_s}));
    // 2 units x 2 pieces of 1500 of K60, 2 x 1 of 1400 of G20: scheme one, one row per bar.
    QCOMPARE(plan, (QStringList{u"G20|1400*2|1|0.466666666666667|3200"_s, u"K60|1500*4|1|1|0"_s}));
    QCOMPARE(summary, (QStringList{u"G20|1|0.466666666666667"_s, u"K60|1|1"_s}));
    // Back from step three, step two shows every window again and nothing chosen.
    QCOMPARE(step2AfterReturn,
             (QStringList{u"C1|平开窗|1500*1200|2|7|50"_s, u"C2|推拉窗|900*900|1|8|51"_s, u"chosen 0"_s}));
    QCOMPARE(m_fx->msgs->dialogNames,
             (QStringList{u"frmCreate02"_s, u"frmCreate03"_s, u"frmResult"_s}));
    QVERIFY(progressHidden);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstYHWindows::wizardStepsRefuseEmptyChoices()
{
    addJob();
    QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('old', '1', 1, 1, 0)"_s));
    FrmCreate01 step1(currentCutSettings());
    click(&step1, u"CmdNext"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选择的工程"_s});

    m_fx->msgs->clear();
    FrmCreate02 step2(u"5"_s, currentCutSettings());
    click(&step2, u"CmdNext"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选择所需优化门窗"_s});
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());

    // Optimising with nothing chosen runs nothing and shows what the plan holds.
    m_fx->msgs->clear();
    QStringList plan;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        plan = listTexts(child<QTreeWidget>(d, u"Lvw1"_s));
        return int(QDialog::Rejected);
    };
    FrmCreate03 step3(currentCutSettings());
    click(&step3, u"CmdNext"_s);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmResult"_s});
    QCOMPARE(plan, QStringList{u"old|1|1|1|0"_s});

    // A job without windows gives two empty lists.
    FrmCreate02 none(u"99"_s, currentCutSettings());
    QCOMPARE(child<QTreeWidget>(&none, u"LvwR"_s)->topLevelItemCount(), 0);
}

// The job list taking the focus makes its first job current: it is also selected, so the next
// step opens with it rather than saying nothing was chosen.
void TstYHWindows::wizardTakesTheJobThatLooksChosen()
{
    addJob();
    m_fx->msgs->onDialog = [](QDialog *) { return int(QDialog::Rejected); };
    FrmCreate01 step1(currentCutSettings());
    step1.show();
    step1.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&step1));
    auto *jobs = child<QTreeWidget>(&step1, u"lvw"_s);
    jobs->setFocus(Qt::TabFocusReason);
    QCOMPARE(jobs->currentItem(), jobs->topLevelItem(0));
    QVERIFY(jobs->topLevelItem(0)->isSelected());
    click(&step1, u"CmdNext"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmCreate02"_s});
}

void TstYHWindows::jobWindowEntryUsesSchemeOne()
{
    addJob();
    YHScheme = 1;
    QStringList windows;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        windows = listTexts(child<QTreeWidget>(d, u"LvwR"_s));
        return int(QDialog::Rejected);
    };
    startWizardAtWindows(nullptr, 5, u"南苑小区"_s);
    QCOMPARE(int(YHScheme), 0);
    QCOMPARE(YHGCName, u"南苑小区"_s);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmCreate02"_s});
    QCOMPARE(windows.size(), 2);
}

void TstYHWindows::failedGatheringKeepsStepTwo()
{
    addJob();
    QVERIFY(exec(db(), u"UPDATE \"工程门窗\" SET \"樘数\" = 99999 WHERE \"编号\" = 50"_s));
    FrmCreate02 step2(u"5"_s, currentCutSettings());
    auto *r = child<QTreeWidget>(&step2, u"LvwR"_s);
    select(r, 0);
    click(&step2, u"CmdMove"_s);
    click(&step2, u"CmdNext"_s);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown.at(0).title, u"出错"_s);
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    QCOMPARE(child<QTreeWidget>(&step2, u"LvwD"_s)->topLevelItemCount(), 1);
}

void TstYHWindows::pieceListAddChecks_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("empty length") << QString() << u"2"_s << u"数据不能为空！"_s << u"TxtCD"_s;
    QTest::newRow("zero length") << u"0"_s << u"2"_s << u"数据不能为空！"_s << u"TxtCD"_s;
    QTest::newRow("zero quantity") << u"1200"_s << u"0"_s << u"数据不能为空！"_s << u"TxtSL"_s;
    QTest::newRow("00 passes the empty test") << u"00"_s << u"2"_s << QString() << u"TxtCD"_s;
    QTest::newRow("lone point") << u"."_s << u"2"_s << u"数据不合法"_s << u"TxtCD"_s;
    QTest::newRow("two points") << u"1200"_s << u"1.2.3"_s << u"数据不合法"_s << u"TxtSL"_s;
    QTest::newRow("bar length") << u"6000"_s << u"1"_s << u"数据大于6000！"_s << u"TxtCD"_s;
    QTest::newRow("accepted") << u"5999.5"_s << u"1"_s << QString() << u"TxtCD"_s;
}

void TstYHWindows::pieceListAddChecks()
{
    QFETCH(QString, length);
    QFETCH(QString, quantity);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    FrmHandup w(currentCutSettings());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    child<QLineEdit>(&w, u"TxtCD"_s)->setText(length);
    child<QLineEdit>(&w, u"TxtSL"_s)->setText(quantity);
    click(&w, u"cmdAdd"_s);
    auto *list = child<QTreeWidget>(&w, u"lvw"_s);
    if (message.isEmpty()) {
        QVERIFY(m_fx->msgs->shown.isEmpty());
        QCOMPARE(listTexts(list), QStringList{length + u'|' + quantity});
        QVERIFY(child<QLineEdit>(&w, u"TxtCD"_s)->text().isEmpty());
    } else {
        QCOMPARE(m_fx->msgs->texts(), QStringList{message});
        QCOMPARE(list->topLevelItemCount(), 0);
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

void TstYHWindows::pieceListKeysAndDelete()
{
    FrmHandup w(currentCutSettings());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *cd = child<QLineEdit>(&w, u"TxtCD"_s);
    cd->setFocus();
    QTest::keyClicks(cd, u"12a0-0.5"_s);
    QCOMPARE(cd->text(), u"1200.5"_s);
    QTest::keyClick(cd, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"TxtSL"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"3"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdAdd"_s);
    click(&w, u"cmdAdd"_s);
    auto *list = child<QTreeWidget>(&w, u"lvw"_s);
    QCOMPARE(listTexts(list), QStringList{u"1200.5|3"_s});
    list->clearSelection();
    click(&w, u"cmdDel"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无删除数据！"_s});
    select(list, 0);
    click(&w, u"cmdDel"_s);
    QCOMPARE(list->topLevelItemCount(), 0);
}

void TstYHWindows::pieceListFiles()
{
    FrmHandup w(currentCutSettings());
    click(&w, u"cmdSave"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"数据为空不能保存！"_s});
    QCOMPARE(m_fx->msgs->shown.at(0).icon, platform::MsgIcon::None);
    m_fx->msgs->clear();

    auto *list = child<QTreeWidget>(&w, u"lvw"_s);
    addItem(list, {u"1200"_s, u"2"_s});
    addItem(list, {u"800"_s, u"5"_s});
    const QString path = m_fx->dir->filePath(u"list.DDD"_s);
    m_fx->msgs->fileNames << path;
    click(&w, u"cmdSave"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("1200\r\n2\r\n800\r\n5\r\n"));
    // Opening appends.
    m_fx->msgs->fileNames << path;
    click(&w, u"cmdOpen"_s);
    QCOMPARE(listTexts(list), (QStringList{u"1200|2"_s, u"800|5"_s, u"1200|2"_s, u"800|5"_s}));
    // A cancelled dialog does nothing; a save that cannot write says so.
    click(&w, u"cmdOpen"_s);
    QCOMPARE(list->topLevelItemCount(), 4);
    m_fx->msgs->fileNames << m_fx->dir->filePath(u"no/such/list.DDD"_s);
    click(&w, u"cmdSave"_s);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown.at(0).title, u"出错"_s);
}

void TstYHWindows::pieceListRun()
{
    YHScheme = 1;
    YHGCName = u"上次工程"_s;
    QStringList plan;
    bool statusHidden = false;
    FrmHandup w(currentCutSettings());
    m_fx->msgs->onDialog = [&](QDialog *d) {
        plan = listTexts(child<QTreeWidget>(d, u"Lvw1"_s));
        statusHidden = !child<QLabel>(&w, u"Label4"_s)->isVisibleTo(&w);
        return int(QDialog::Rejected);
    };
    child<QLineEdit>(&w, u"TxtName"_s)->setText(u"K60"_s);
    auto *list = child<QTreeWidget>(&w, u"lvw"_s);
    addItem(list, {u"2000"_s, u"3"_s});
    addItem(list, {u"3000"_s, u"2"_s});
    click(&w, u"OKButton"_s);
    QCOMPARE(plan, (QStringList{u"K60|2000*3|1|100|0"_s, u"|3000*2|1|100|0"_s}));
    QVERIFY(statusHidden);
    QCOMPARE(YHGCName, u"上次工程"_s);
    QCOMPARE(list->topLevelItemCount(), 2);
}

void TstYHWindows::pieceListRunChecks()
{
    FrmHandup w(currentCutSettings());
    click(&w, u"OKButton"_s);
    child<QLineEdit>(&w, u"TxtName"_s)->setText(u"K60"_s);
    click(&w, u"OKButton"_s);
    QCOMPARE(m_fx->msgs->texts(), (QStringList{u"材料名称不能为空！"_s, u"优化的数据不能为空！"_s}));
    // A piece longer than the bar from a file: the scheme's message, then the result.
    m_fx->msgs->clear();
    addItem(child<QTreeWidget>(&w, u"lvw"_s), {u"7000"_s, u"1"_s});
    click(&w, u"OKButton"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"过大：7000"_s});
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmResult"_s});
}

// Bar length, end allowance and kerf start at 0: a run then says the bar length is not set, and
// neither scheme runs (no "过大" per piece, the old plan kept, no result window).
void TstYHWindows::runWithoutBarLengthCutsNothing()
{
    CLC = 0;
    QVERIFY(exec(db(), u"INSERT INTO \"优化数据\" VALUES (1, '框', 'K60', 1200, 1)"_s));
    QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('old', '1', 1, 1, 0)"_s));
    const QString notice = u"材料长度未设置，请先在“选项设置”中设定材料长度。"_s;

    FrmCreate03 step3(currentCutSettings());
    click(&step3, u"CmdMoveAll"_s);
    click(&step3, u"CmdNext"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{notice});

    m_fx->msgs->clear();
    FrmHandup w(currentCutSettings());
    child<QLineEdit>(&w, u"TxtName"_s)->setText(u"K60"_s);
    addItem(child<QTreeWidget>(&w, u"lvw"_s), {u"1200"_s, u"1"_s});
    click(&w, u"OKButton"_s);
    QCOMPARE(m_fx->msgs->texts(), QStringList{notice});

    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    QSqlQuery q(db());
    QVERIFY(q.exec(u"SELECT * FROM \"优化结果\""_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), u"old"_s);
    QVERIFY(!q.next());
}

void TstYHWindows::resultExports()
{
    QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('K60', '1500*4', 1, 1, 0)"_s));
    YHGCName = u"南苑小区"_s;
    FrmResult w;
    QCOMPARE(w.windowTitle(), u"优化结果"_s);
    // Excel: the workbook goes to the desktop's spreadsheet program.
    click(&w, u"CmdSave"_s);
    QCOMPARE(m_fx->msgs->openedWithDesktop.size(), 1);
    QVERIFY(m_fx->msgs->openedWithDesktop.at(0).endsWith(u".xlsx"_s));
    // Text: a cancelled dialog writes nothing; a name without extension gets ".txt".
    app::OutPutFileTypeFlag = 1;
    click(&w, u"CmdSave"_s);
    QVERIFY(QDir(m_fx->dir->path()).entryList({u"*.txt"_s}).isEmpty());
    m_fx->msgs->fileNames << m_fx->dir->filePath(u"plan"_s);
    click(&w, u"CmdSave"_s);
    QFile f(m_fx->dir->filePath(u"plan.txt"_s));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("K60\t1500*4\t1\t1\t0\t\r\n"));
    QVERIFY(m_fx->msgs->shown.isEmpty());
    m_fx->msgs->fileNames << m_fx->dir->filePath(u"no/such/plan.txt"_s);
    click(&w, u"CmdSave"_s);
    // The cause follows, naming the file.
    QCOMPARE(m_fx->msgs->texts().size(), 1);
    QVERIFY(m_fx->msgs->lastText().startsWith(u"输出出错！\n"_s));
    QVERIFY(m_fx->msgs->lastText().contains(m_fx->dir->filePath(u"no/such/plan.txt"_s)));
}

// A plan of 60 rows runs onto a second page, which repeats the title, the job and the column
// captions; a scheme-one ratio of fifteen digits is printed and listed whole.
void TstYHWindows::resultPrints()
{
    const QString ratio = u"0.483333333333333"_s;
    QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('K60', '1500*4', 1, %1, 0)"_s.arg(ratio)));
    for (int i = 1; i < 60; ++i)
        QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('K60', '%1*2+600', 1, 0.9, 10)"_s.arg(1000 + i)));
    YHGCName = u"南苑小区"_s;
    FrmResult w;
    w.show();
    QTreeWidget *plan = child<QTreeWidget>(&w, u"Lvw1"_s);
    const auto found = plan->findItems(u"1500*4"_s, Qt::MatchExactly, 1);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.at(0)->text(3), ratio);
    QVERIFY(plan->columnWidth(3) > plan->fontMetrics().horizontalAdvance(ratio));

    const QString pdf = m_fx->dir->filePath(u"plan.pdf"_s);
    testfixture::printDialogsTo(m_fx->msgs, pdf);
    click(&w, u"CmdPrint"_s);
    QCOMPARE(m_fx->msgs->dialogNames, (QStringList{u"reportPreview"_s, u"printDialog"_s}));
    QVERIFY(m_fx->msgs->shown.isEmpty());
    m_fx->msgs->onDialog = {};
    click(&w, u"cmdPrint1"_s);
    QCOMPARE(m_fx->msgs->dialogNames.size(), 3);

    const auto text = testfixture::pdfText(pdf);
    if (!text)
        QSKIP("pdftotext is not installed");
    const QStringList pages = testfixture::pdfPages(*text);
    QVERIFY2(pages.size() >= 2, qPrintable(*text));
    for (const QString &t : {u"材料优化表"_s, u"工程名称：南苑小区"_s, u"切割规格"_s, u"实际需求量"_s,
                             platform::dateText(QDate::currentDate())})
        QVERIFY2(pages.at(1).contains(t), qPrintable(t + u" not on page 2:\n"_s + pages.at(1)));
    QVERIFY2(text->contains(ratio), qPrintable(pages.at(0)));
}

// With its progress bar hidden, step three's buttons do not spread over the bar's room.
void TstYHWindows::stepThreeButtonsKeepTheirSize()
{
    FrmCreate03 step3(currentCutSettings());
    step3.resize(800, 420);
    step3.show();
    QVERIFY(QTest::qWaitForWindowExposed(&step3));
    QVERIFY(!child<QWidget>(&step3, u"ProgressBar"_s)->isVisible());
    for (const QString &name : {u"CmdNext"_s, u"CmdExit"_s}) {
        QPushButton *b = child<QPushButton>(&step3, name);
        QCOMPARE(b->width(), b->sizeHint().width());
    }
}

// Where no program opens the workbook, the user learns its full path and may save a copy.
void TstYHWindows::excelFailureIsReported()
{
    m_fx->msgs->desktopOpens = false;
    m_fx->msgs->answers << platform::MsgAnswer::No;
    FrmResult w;
    click(&w, u"CmdSave"_s);
    QCOMPARE(m_fx->msgs->openedWithDesktop.size(), 1);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY2(m_fx->msgs->lastText().contains(QDir::toNativeSeparators(m_fx->msgs->openedWithDesktop.at(0))),
             qPrintable(m_fx->msgs->lastText()));
}

// The optimisation workbook opens on its second sheet, and its dates are date cells.
void TstYHWindows::workbookReadsBackInASpreadsheetLibrary()
{
    QVERIFY(exec(db(), u"INSERT INTO \"优化结果\" VALUES ('K60', '1500*4', 1, 1, 0)"_s));
    FrmResult w;
    click(&w, u"CmdSave"_s);
    QCOMPARE(m_fx->msgs->openedWithDesktop.size(), 1);
    // The first python3 that has openpyxl (the one on PATH may be a private build without it).
    QString python;
    for (const QString &candidate : {QStandardPaths::findExecutable(u"python3"_s), u"/usr/bin/python3"_s}) {
        if (candidate.isEmpty() || !QFileInfo::exists(candidate))
            continue;
        if (QProcess::execute(candidate, {u"-c"_s, u"import openpyxl"_s}) == 0) {
            python = candidate;
            break;
        }
    }
    if (python.isEmpty())
        QSKIP("python3 with openpyxl is not installed");
    // Plan date at B7 (one plan row), summary date at C8 (one summary row).
    const QString script = uR"(import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
s1, s2 = wb.worksheets
print(wb.index(wb.active), type(s1["B7"].value).__name__, type(s2["C8"].value).__name__, s2["C8"].number_format, s2["C8"].value.date())
)"_s;
    QProcess p;
    p.start(python, {u"-c"_s, script, m_fx->msgs->openedWithDesktop.at(0)});
    QVERIFY(p.waitForFinished(30000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QCOMPARE(out, u"1 datetime datetime yyyy-mm-dd "_s + QDate::currentDate().toString(Qt::ISODate));
}

QTEST_MAIN(TstYHWindows)
#include "tst_yhwindows.moc"

