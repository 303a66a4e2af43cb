// The project windows: the job list with its dialog, the job window list, the plain and combined
// window dialogs, copying and the contract sheet, driven through their controls with scripted
// messages and dialogs.
#include "projectdata.h"

#include "app/icons.h"
#include "platform/surface_widget.h"
#include "project/projectstate.h"
#include "project/ui/common.h"
#include "project/ui/frmaddgcmc.h"
#include "project/ui/frmaddgczhmc.h"
#include "project/ui/frmcopygc.h"
#include "project/ui/frmgcht.h"
#include "project/ui/frmmcgcgl.h"
#include "project/ui/frmopengc.h"
#include "project/ui/linedialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace project;
using namespace project::ui;
using platform::MsgAnswer;
using platform::MsgIcon;

namespace {

// Dialog handlers by objectName; a dialog without one is rejected unseen.
struct Dialogs
{
    QHash<QString, std::function<int(QDialog *)>> handlers;
    void install(platform::ScriptedMessages *msgs)
    {
        msgs->onDialog = [this](QDialog *d) {
            const auto handler = handlers.value(d->objectName());
            if (handler)
                return handler(d);
            d->reject();
            return int(QDialog::Rejected);
        };
    }
};

template <class T>
T *child(QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qWarning("no child %s", qPrintable(name));
    return w;
}

QTreeWidgetItem *findNode(QTreeWidget *tree, const QString &text)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QStringList columnTexts(QTreeWidget *list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

bool hasRedPixels(platform::WidgetSurface *box)
{
    const QImage image = box->snapshot().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
                return true;
        }
    return false;
}

} // namespace

class TestProjectWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testfixture::DataFolder> fx;
    Dialogs dialogs;

    qint64 addJob(const QString &name)
    {
        return ProjectStore().addJob({0, u"HT"_s, name, u"地点"_s, u"甲方"_s}).value_or(0);
    }

    // A job window of a job, filled from the store.
    std::unique_ptr<FrmOpenGC> openJob(qint64 job, const QString &name)
    {
        auto w = std::make_unique<FrmOpenGC>(QString::number(job), name);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->LoadGCMCList();
        return w;
    }

private slots:
    void init()
    {
        fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(fx->setUp());
        QVERIFY(projectdata::fillLibrary());
        dialogs.handlers.clear();
        dialogs.install(fx->msgs);
        setCurrentJob({}, {});
        jobWindowHooks() = {};
    }
    void cleanup() { fx.reset(); }

    // --- job list

    void jobDialogAddsJobsAndCancelTakesNoNumber()
    {
        FrmMCGCGL list;
        int round = 0;
        dialogs.handlers[u"frmInputGC"_s] = [&](QDialog *d) {
            auto *dlg = static_cast<FrmInputGC *>(d);
            if (round++ == 1) {
                dlg->CancelButton->click();
                return dlg->result();
            }
            [&] { QCOMPARE(dlg->windowTitle(), u"添加->工程"_s); }();
            const QStringList texts = {u"新'工程"_s, u"地点"_s, u"甲方"_s, u"HT-1"_s};
            for (int i = 0; i < 4; ++i)
                dlg->Text1[size_t(i)]->setText(texts.at(i));
            dlg->OKButton->click();
            return dlg->result();
        };
        list.CmdAdd_Click();
        list.CmdAdd_Click(); // cancelled
        list.CmdAdd_Click();
        QCOMPARE(columnTexts(list.lvw, 4), (QStringList{u"1"_s, u"2"_s}));
        QCOMPARE(list.lvw->topLevelItem(0)->text(0), u"新'工程"_s);
        QCOMPARE(list.lvw->topLevelItem(0)->text(3), u"HT-1"_s);
        QCOMPARE(projectdata::rows(u"工程"_s).at(0), u"1|HT-1|新'工程|地点|甲方"_s);
    }

    void jobDialogChecksBoxesInOrder()
    {
        FrmInputGC dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.Text1[0]->setText(u"a"_s);
        dlg.Text1[1]->setText(u"b"_s);
        dlg.Text1[3]->setText(u"d"_s);
        dlg.OKButton->click();
        QCOMPARE(fx->msgs->lastText(), u"数据不能为空！"_s);
        QVERIFY(!dlg.entered());
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.focusWidget(), dlg.Text1[2]);
        // Enter in the last box goes to OK without closing; blanks count as filled.
        dlg.Text1[2]->setText(u"  "_s);
        dlg.Text1[3]->setFocus();
        QTest::keyClick(dlg.Text1[3], Qt::Key_Return);
        QCOMPARE(dlg.focusWidget(), dlg.OKButton);
        QVERIFY(dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
        dlg.OKButton->click();
        const std::optional<Job> job = dlg.entered();
        QVERIFY(job);
        QCOMPARE(job->client, u"  "_s);
        QCOMPARE(job->contractNo, u"d"_s);
    }

    void jobListEditDeleteAndOrder()
    {
        addJob(u"甲"_s);
        QVERIFY(typedata::run(u"INSERT INTO 工程 (编号, 工程名称) VALUES (10, '十')"_s));
        QVERIFY(typedata::run(u"INSERT INTO 工程 (编号, 工程名称) VALUES (9, '九')"_s));
        ProjectStore().addPlainLine(1, 1, projectdata::fields(u"C"_s), {{u"B"_s, u"1"_s, 0, 0}});
        FrmMCGCGL list;
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        // 编号 in text order, 10 before 9; an empty field lists as an empty cell.
        QCOMPARE(columnTexts(list.lvw, 4), (QStringList{u"1"_s, u"10"_s, u"9"_s}));
        QCOMPARE(list.lvw->topLevelItem(1)->text(1), QString());

        list.lvw->setCurrentItem(nullptr);
        list.CmdEdit_Click();
        list.CmdDel_Click();
        list.CmdOpenHT_Click();
        QCOMPARE(fx->msgs->texts(), (QStringList{u"无选取所需编辑的对象！"_s, u"无选取所需删除的对象！"_s,
                                                 u"无存在工程无法打开工程合同！"_s}));
        QVERIFY(list.CmdOpen_Click() == nullptr);
        QCOMPARE(fx->msgs->lastText(), u"无打开的工程！"_s);

        dialogs.handlers[u"frmInputGC"_s] = [](QDialog *d) {
            auto *dlg = static_cast<FrmInputGC *>(d);
            dlg->Text1[0]->setText(u"改名"_s);
            dlg->OKButton->click();
            return dlg->result();
        };
        list.lvw->setCurrentItem(list.lvw->topLevelItem(0));
        list.CmdEdit_Click();
        QCOMPARE(list.lvw->topLevelItem(0)->text(0), u"改名"_s);
        QCOMPARE(ProjectStore().loadJobs()->at(0).name, u"改名"_s);

        fx->msgs->answers << MsgAnswer::No;
        list.CmdDel_Click();
        QCOMPARE(fx->msgs->lastText(), u"确认要删除工程：改名（编号 "_s + list.lvw->topLevelItem(0)->text(4) + u"）吗？"_s);
        QVERIFY(fx->msgs->shown.constLast().defaultButton == platform::MsgDefault::No);
        QCOMPARE(list.lvw->topLevelItemCount(), 3);
        fx->msgs->answers << MsgAnswer::Yes;
        list.CmdDel_Click();
        QCOMPARE(columnTexts(list.lvw, 4), (QStringList{u"10"_s, u"9"_s}));
        QCOMPARE(projectdata::rows(u"工程门窗"_s).size(), 0);
        QCOMPARE(projectdata::rows(u"标注"_s).size(), 0);
    }

    void failedJobDeleteKeepsTheItem()
    {
        addJob(u"甲"_s);
        FrmMCGCGL list;
        QVERIFY(typedata::breakTable(u"工程"_s, u"DELETE"_s));
        list.lvw->setCurrentItem(list.lvw->topLevelItem(0));
        fx->msgs->answers << MsgAnswer::Yes;
        list.CmdDel_Click();
        QCOMPARE(fx->msgs->shown.last().title, u"出错"_s);
        QCOMPARE(list.lvw->topLevelItemCount(), 1);
        QCOMPARE(projectdata::rows(u"工程"_s).size(), 1);
    }

    void openingJobsAndTheCurrentJob()
    {
        const qint64 a = addJob(u"A"_s);
        const qint64 b = addJob(u"B"_s);
        ProjectStore().addPlainLine(a, 1, projectdata::fields(u"C1"_s), {});
        QMdiArea area;
        FrmMCGCGL *list = showProjectWindow(&area);
        QCOMPARE(showProjectWindow(&area), list);
        list->lvw->setCurrentItem(list->lvw->topLevelItem(0));
        FrmOpenGC *first = list->CmdOpen_Click();
        FrmOpenGC *second = list->CmdOpen_Click();
        QVERIFY(first && second && first != second);
        QCOMPARE(area.subWindowList().size(), 3);
        QCOMPARE(first->windowTitle(), u"工程->A"_s);
        QCOMPARE(columnTexts(first->lvw, 0), QStringList{u"C1"_s});
        QCOMPARE(CurGCNum, QString::number(a));
        // Choosing B for copying makes B current.
        list->lvw->setCurrentItem(list->lvw->topLevelItem(1));
        list->CmdCopyGCMC_Click();
        QCOMPARE(fx->msgs->dialogNames.last(), u"frmCopyGC"_s);
        QCOMPARE(CurGCNum, QString::number(b));
        QCOMPARE(CurGCName, u"B"_s);
        // A job window makes its own job current before it starts anything.
        QString optimised;
        jobWindowHooks().openOptimisation = [&](QWidget *, const QString &id, const QString &) { optimised = id; };
        first->cmdYH_Click();
        QCOMPARE(optimised, QString::number(a));
        QCOMPARE(CurGCNum, QString::number(a));
    }

    // --- job window list

    void jobWindowButtons()
    {
        const qint64 job = addJob(u"J"_s);
        auto w = openJob(job, u"J"_s);
        int sheets = 0, stats = 0, optimisations = 0;
        QList<JobLine> sheetLines, statLines;
        int sheetSelected = -1;
        JobRef sheetJob, statJob;
        jobWindowHooks().openSheets = [&](QWidget *, const JobRef &j, const QList<JobLine> &l, int selected) {
            ++sheets;
            sheetJob = j;
            sheetLines = l;
            sheetSelected = selected;
        };
        jobWindowHooks().openStatistics = [&](QWidget *, const JobRef &j, const QList<JobLine> &l) {
            ++stats;
            statJob = j;
            statLines = l;
        };
        jobWindowHooks().openOptimisation = [&](QWidget *, const QString &, const QString &) { ++optimisations; };
        w->CmdTotal_Click();
        w->CmdPrint_Click();
        w->cmdYH_Click();
        w->CmdDel_Click();
        w->CmdEdit_Click();
        QCOMPARE(fx->msgs->texts(), (QStringList{u"当前工程中无门窗！"_s, u"当前工程中没有可打印的门窗！"_s,
                                                 u"在当前工程中无删除的门窗！"_s, u"无选取所要编辑的门窗！"_s}));
        QCOMPARE(sheets + stats, 0);
        QCOMPARE(optimisations, 1);

        ProjectStore store;
        store.addPlainLine(job, 1, projectdata::fields(u"C1"_s), {{u"B"_s, u"1"_s, 0, 0}});
        store.addPlainLine(job, 2, projectdata::fields(u"C2"_s), {});
        w = openJob(job, u"J"_s);
        w->CmdPrint_Click();
        QCOMPARE(fx->msgs->lastText(), u"当前工程中没有可打印的门窗！"_s);
        w->lvw->setCurrentItem(w->lvw->topLevelItem(1));
        w->CmdPrint_Click();
        QCOMPARE(sheets, 1);
        QCOMPARE(sheetLines, w->lines());
        QCOMPARE(sheetSelected, 1);
        QCOMPARE(sheetJob, (JobRef{QString::number(job), u"J"_s}));
        w->CmdTotal_Click();
        QCOMPARE(statJob, (JobRef{QString::number(job), u"J"_s}));
        QCOMPARE(statLines.size(), 2);
        QCOMPARE(statLines.at(0).fields.name, u"C1"_s);
        QCOMPARE(statLines.at(0).id, u"1"_s);
    }

    void deletingALine()
    {
        const qint64 job = addJob(u"J"_s);
        ProjectStore store;
        const Sample s = sample(job);
        auto w = openJob(job, u"J"_s);
        QCOMPARE(w->lvw->topLevelItemCount(), 2);
        w->lvw->setCurrentItem(w->lvw->topLevelItem(1));
        fx->msgs->answers << MsgAnswer::No;
        w->CmdDel_Click();
        QCOMPARE(fx->msgs->lastText(), u"确认要删除门窗：Z1（编号 "_s + w->lvw->topLevelItem(1)->text(8) + u"）吗？"_s);
        QVERIFY(fx->msgs->shown.constLast().defaultButton == platform::MsgDefault::No);
        QCOMPARE(w->lvw->topLevelItemCount(), 2);
        fx->msgs->answers << MsgAnswer::Yes;
        w->CmdDel_Click();
        QCOMPARE(columnTexts(w->lvw, 0), QStringList{u"C1"_s});
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注 WHERE MCNUM=?"_s, {s.combined}), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2"_s), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注 WHERE MCNUM=?"_s, {s.plain}), 2);
    }

    void componentSheetStartNumber()
    {
        auto w = openJob(addJob(u"J"_s), u"J"_s);
        QStringList offered;
        QString answer;
        dialogs.handlers[u"InputBox"_s] = [&](QDialog *d) {
            auto *dlg = static_cast<QInputDialog *>(d);
            offered << dlg->textValue();
            if (answer.isNull()) {
                dlg->reject();
                return int(QDialog::Rejected);
            }
            dlg->setTextValue(answer);
            dlg->accept();
            return int(QDialog::Accepted);
        };
        answer = u"abc"_s;
        w->CmdAutoNum_Click();
        answer = QString();
        w->CmdAutoNum_Click();
        w->CmdAutoNum_Click();
        QCOMPARE(offered, (QStringList{u"1"_s, u"abc"_s, u"abc"_s}));
        QCOMPARE(platform::SettingsStore::get(u"TANDRIKE"_s, u"AUTONUM"_s, {}), u"abc"_s);
    }

    // --- plain window dialog

    void plainDialogTypeChoiceAndLabels()
    {
        const qint64 job = addJob(u"J"_s);
        FrmAddGCMC dlg;
        QTreeWidget list;
        QVERIFY(dlg.prepareAdd(QString::number(job), &list));
        QCOMPARE(dlg.Text1[5]->text(), u"0"_s);
        QCOMPARE(dlg.Text1[0]->text(), QString());
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T1"_s));
        QCOMPARE(dlg.Text1[0]->text(), u"T1"_s);
        QCOMPARE(columnTexts(dlg.LvwBZ, 0), (QStringList{u"B"_s, u"H"_s, u"H1"_s}));
        QCOMPARE(columnTexts(dlg.LvwBZ, 1), (QStringList{u"0"_s, u"0"_s, u"0"_s}));
        QCOMPARE(columnTexts(dlg.LvwBZ, 2), (QStringList{u"100"_s, u"4747.5"_s, u"9000"_s}));
        QCOMPARE(dlg.chosenType(), 1);
        // A drawing without labels leaves the list empty, not the rows of the type before.
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T3"_s));
        QCOMPARE(dlg.LvwBZ->topLevelItemCount(), 0);
        // A type without a drawing can be chosen; its line has no named dimensions.
        QVERIFY(typedata::run(u"UPDATE 门窗 SET 图号=NULL WHERE 编号=4"_s));
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T4"_s));
        QCOMPARE(dlg.chosenType(), 4);
        QCOMPARE(dlg.LvwBZ->topLevelItemCount(), 0);
        // A type that is gone leaves nothing to store.
        QVERIFY(typedata::run(u"DELETE FROM 门窗 WHERE 编号=5"_s));
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T5"_s));
        QCOMPARE(dlg.chosenType(), 0);
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T2"_s));
        QCOMPARE(columnTexts(dlg.LvwBZ, 0), QStringList{u" b "_s});
        // A series node empties the list, keeps the name and leaves no type to store.
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"S1"_s));
        QCOMPARE(dlg.LvwBZ->topLevelItemCount(), 0);
        QCOMPARE(dlg.Text1[0]->text(), u"T2"_s);
        dlg.CmdAdd_Click();
        QCOMPARE(fx->msgs->lastText(), u"当前所选的结点非门窗结点！"_s);
        QCOMPARE(projectdata::rows(u"工程门窗"_s).size(), 0);
        QCOMPARE(list.topLevelItemCount(), 0);
    }

    void plainDialogWalksLabelsAndCopiesSizes()
    {
        FrmAddGCMC dlg;
        QTreeWidget list;
        QVERIFY(dlg.prepareAdd(QString::number(addJob(u"J"_s)), &list));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T1"_s));
        QVERIFY(!dlg.CmdChange->isEnabled());
        QVERIFY(!hasRedPixels(dlg.PicMC));
        dlg.LvwBZ->setCurrentItem(dlg.LvwBZ->topLevelItem(0));
        dlg.LvwBZ_DblClick();
        QCOMPARE(dlg.LblBZ->text(), u"B="_s);
        QVERIFY(dlg.CmdChange->isEnabled());
        dlg.TxtBZ->setText(u"1500"_s);
        QTest::keyClick(dlg.TxtBZ, Qt::Key_Return);
        QCOMPARE(dlg.Text1[2]->text(), u"1500"_s);
        QCOMPARE(dlg.LblBZ->text(), u"H="_s);
        QVERIFY(hasRedPixels(dlg.PicMC));
        dlg.TxtBZ->setText(u"1200"_s);
        dlg.CmdChange_Click();
        QCOMPARE(dlg.Text1[3]->text(), u"1200"_s);
        QCOMPARE(dlg.LblBZ->text(), u"H1="_s);
        dlg.TxtBZ->setText(u"123456789012"_s);
        dlg.LvwBZ_DblClick();
        QCOMPARE(dlg.TxtBZ->selectedText(), u"0"_s);
        dlg.TxtBZ->setText(u"123456789012"_s);
        dlg.CmdChange_Click();
        QCOMPARE(columnTexts(dlg.LvwBZ, 1), (QStringList{u"1500"_s, u"1200"_s, u"123456789012"_s}));
        QCOMPARE(dlg.focusWidget(), dlg.Text1[1]);
        QVERIFY(!dlg.CmdChange->isEnabled());
        // The width box does not feed back into the label.
        dlg.Text1[2]->setText(u"1600"_s);
        QCOMPARE(dlg.LvwBZ->topLevelItem(0)->text(1), u"1500"_s);
        // Opening a long value selects its first ten characters.
        dlg.LvwBZ->setCurrentItem(dlg.LvwBZ->topLevelItem(2));
        dlg.LvwBZ_DblClick();
        QCOMPARE(dlg.TxtBZ->selectedText(), u"1234567890"_s);
        // With the selection gone the row is only current: the change takes nothing.
        dlg.LvwBZ->clearSelection();
        dlg.TxtBZ->setText(u"77"_s);
        dlg.CmdChange_Click();
        QCOMPARE(dlg.LvwBZ->topLevelItem(2)->text(1), u"123456789012"_s);
        QVERIFY(dlg.CmdChange->isEnabled());
    }

    void plainDialogKeys()
    {
        FrmAddGCMC dlg;
        QTest::keyClicks(dlg.Text1[2], u"1.5a2"_s);
        QCOMPARE(dlg.Text1[2]->text(), u"152"_s);
        QTest::keyClicks(dlg.Text1[1], u"a.'b"_s);
        QCOMPARE(dlg.Text1[1]->text(), u"a.'b"_s);
    }

    void plainDialogSavesLines()
    {
        const qint64 job = addJob(u"J"_s);
        FrmAddGCMC dlg;
        QTreeWidget list;
        QVERIFY(dlg.prepareAdd(QString::number(job), &list));
        dlg.Tvw_NodeClick(findNode(dlg.Tvw, u"T1"_s));
        dlg.LvwBZ->topLevelItem(0)->setText(1, u"1'500"_s);
        dlg.Text1[5]->clear();
        dlg.CmdAdd_Click();
        QCOMPARE(fx->msgs->shown.last().text, u"数据不能为空！"_s);
        QCOMPARE(fx->msgs->shown.last().icon, MsgIcon::None);
        QCOMPARE(projectdata::rows(u"工程门窗"_s).size(), 0);
        // A size that a B label put in and that is no number is refused before anything is written.
        dlg.Text1[5]->setText(u" "_s);
        dlg.Text1[2]->setText(u"12a"_s);
        dlg.CmdAdd_Click();
        QCOMPARE(fx->msgs->lastText(), u"制作尺寸和樘数必须是数字！"_s);
        QCOMPARE(projectdata::rows(u"工程门窗"_s).size(), 0);

        dlg.Text1[2]->setText(u"1500"_s);
        dlg.CmdAdd_Click();
        for (int i = 1; i < 6; ++i)
            QCOMPARE(dlg.Text1[size_t(i)]->text(), u"0"_s);
        QCOMPARE(dlg.Text1[0]->text(), u"T1"_s);
        dlg.CmdAdd_Click();
        QCOMPARE(columnTexts(&list, 8), (QStringList{u"1"_s, u"2"_s}));
        QCOMPARE(itemLine(list.topLevelItem(0)),
                 (JobLine{{u"T1"_s, u"0"_s, u"1500"_s, u"0"_s, u"0"_s, u" "_s}, QString::number(job), u"1"_s, u"1"_s}));
        QCOMPARE(ProjectStore().loadLines(job)->at(0), itemLine(list.topLevelItem(0)));
        QCOMPARE(ProjectStore().loadDimensions(2)->at(0).value, u"1'500"_s);

        // A failed save shows an error and adds no row.
        QVERIFY(typedata::breakTable(u"标注"_s, u"INSERT"_s));
        dlg.CmdAdd_Click();
        QCOMPARE(fx->msgs->shown.last().title, u"出错"_s);
        QCOMPARE(list.topLevelItemCount(), 2);
        QCOMPARE(projectdata::rows(u"工程门窗"_s).size(), 2);
    }

    void plainDialogEditsThroughTheJobWindow()
    {
        const qint64 job = addJob(u"J"_s);
        ProjectStore store;
        store.addPlainLine(job, 1, projectdata::fields(u"C1"_s), {{u"B"_s, u"1500"_s, 100, 200}, {u"H"_s, u"1200"_s, 3, 4}});
        store.addPlainLine(job, 99, projectdata::fields(u"Gone"_s), {});
        auto w = openJob(job, u"J"_s);
        bool seen = false;
        dialogs.handlers[u"frmAddGCMC"_s] = [&](QDialog *d) {
            auto *dlg = static_cast<FrmAddGCMC *>(d);
            seen = true;
            if (dlg->Text1[0]->text() == u"Gone"_s) {
                // A type that is gone opens without drawing and labels.
                [&] { QCOMPARE(dlg->LvwBZ->topLevelItemCount(), 0); }();
                dlg->reject();
                return dlg->result();
            }
            [&] {
                QCOMPARE(dlg->windowTitle(), u"编辑门窗"_s);
                QCOMPARE(dlg->CmdAdd->text(), u"确定 &Y"_s);
                QVERIFY(!dlg->Tvw->isEnabled());
                QCOMPARE(dlg->Tvw->topLevelItemCount(), 0);
                QCOMPARE(dlg->Text1[2]->text(), u"1500"_s);
                QCOMPARE(columnTexts(dlg->LvwBZ, 1), (QStringList{u"1500"_s, u"1200"_s}));
                QCOMPARE(CurMCNum, u"1"_s);
            }();
            dlg->Text1[0]->setText(u"改"_s);
            dlg->LvwBZ->topLevelItem(1)->setText(1, u"1300"_s);
            dlg->CmdAdd_Click();
            return dlg->result();
        };
        w->lvw->setCurrentItem(w->lvw->topLevelItem(0));
        w->CmdEdit_Click();
        QVERIFY(seen);
        QCOMPARE(w->lvw->topLevelItem(0)->text(0), u"改"_s);
        QCOMPARE(w->lvw->topLevelItem(0)->text(7), u"1"_s);
        QCOMPARE(store.loadLines(job)->at(0), itemLine(w->lvw->topLevelItem(0)));
        QCOMPARE(columnTexts(w->lvw, 0), (QStringList{u"改"_s, u"Gone"_s}));
        QCOMPARE(store.loadDimensions(1)->at(1).value, u"1300"_s);
        w->lvw->setCurrentItem(w->lvw->topLevelItem(1));
        w->CmdEdit_Click();
    }

    // --- combined window dialog

    void combinedDialogBuildsAndSavesAWindow()
    {
        const qint64 job = addJob(u"J"_s);
        auto w = openJob(job, u"J"_s);
        // Work rows left from before do not join the new window.
        QVERIFY(ProjectStore().addComponentWorkRows(5, u"stale"_s, {{u"X"_s, u"0"_s, 0, 0}}));
        dialogs.handlers[u"frmOpenPicture"_s] = [](QDialog *d) {
            [&] { QVERIFY(!d->findChild<QPushButton *>(u"CmdDel"_s)->isVisibleTo(d)); }();
            d->findChild<QLineEdit *>(u"txtCBN"_s)->setText(u"900"_s); // the library's 组合主图
            d->findChild<QPushButton *>(u"OKButton"_s)->click();
            return d->result();
        };
        QStringList countOffers;
        dialogs.handlers[u"frmInputBox"_s] = [&](QDialog *d) {
            auto *box = d->findChild<QLineEdit *>(u"TxtCount"_s);
            countOffers << box->text();
            box->setText(u"4"_s);
            d->findChild<QPushButton *>(u"OKButton"_s)->click();
            return d->result();
        };
        int workRowsWhileOpen = -1;
        dialogs.handlers[u"frmAddGCZHMC"_s] = [&](QDialog *d) {
            auto *dlg = static_cast<FrmAddGCZHMC *>(d);
            [&] {
                QCOMPARE(dlg->windowTitle(), u"添加门窗"_s);
                QCOMPARE(dlg->Tag, u"1"_s);
                dlg->CmdSelect_Click();
                QCOMPARE(fx->msgs->lastText(), u"当前无选取结点！"_s);
                dlg->Tvw->setCurrentItem(findNode(dlg->Tvw, u"M1"_s));
                dlg->CmdSelect_Click();
                QCOMPARE(fx->msgs->lastText(), u"当前所选的结点非门窗结点！"_s);

                dlg->CmdOpenPic_Click();
                QCOMPARE(dlg->TxtTH->text(), u"900"_s);
                QCOMPARE(columnTexts(dlg->Tvw1, 0), QStringList{u"组合主图10"_s});
                QCOMPARE(columnTexts(dlg->LvwBZ, 0), (QStringList{u"B"_s, u"H"_s}));
                // Choosing the main drawing again replaces its node.
                dlg->CmdOpenPic_Click();
                QCOMPARE(columnTexts(dlg->Tvw1, 0), QStringList{u"组合主图10"_s});

                dlg->Tvw->setCurrentItem(findNode(dlg->Tvw, u"T2"_s));
                dlg->CmdSelect_Click();
                dlg->CmdSelect_Click();
                dlg->Tvw->setCurrentItem(findNode(dlg->Tvw, u"T1"_s));
                dlg->CmdSelect_Click();
                QCOMPARE(columnTexts(dlg->Tvw1, 0), (QStringList{u"组合主图10"_s, u"T211"_s, u"T212"_s, u"T113"_s}));
                // The main drawing and its components carry images of their own.
                QCOMPARE(dlg->Tvw1->topLevelItem(0)->icon(0).cacheKey(), app::mainDrawingIcon().cacheKey());
                for (int i = 1; i < 4; ++i)
                    QCOMPARE(dlg->Tvw1->topLevelItem(i)->icon(0).cacheKey(), app::componentIcon().cacheKey());
                QVERIFY(app::mainDrawingIcon().cacheKey() != app::componentIcon().cacheKey());
                // Removing one of two components of a type leaves the other.
                dlg->Tvw1->setCurrentItem(dlg->Tvw1->topLevelItem(2));
                dlg->CmdRemove_Click();
                QCOMPARE(columnTexts(dlg->Tvw1, 0), (QStringList{u"组合主图10"_s, u"T211"_s, u"T113"_s}));

                // The main drawing's B fills the width; a component's b does not.
                dlg->Tvw1_NodeClick(dlg->Tvw1->topLevelItem(0));
                dlg->LvwBZ->setCurrentItem(dlg->LvwBZ->topLevelItem(0));
                dlg->LvwBZ_DblClick();
                dlg->TxtBZ->setText(u"3000"_s);
                dlg->CmdChange_Click();
                dlg->TxtBZ->setText(u"2000"_s);
                dlg->CmdChange_Click(); // last label: stored at once, no count asked
                QCOMPARE(dlg->Text1[2]->text(), u"3000"_s);
                QCOMPARE(dlg->Text1[3]->text(), u"2000"_s);
                QVERIFY(countOffers.isEmpty());

                dlg->Tvw1_NodeClick(dlg->Tvw1->topLevelItem(1));
                QCOMPARE(columnTexts(dlg->LvwBZ, 0), QStringList{u" b "_s});
                dlg->LvwBZ->setCurrentItem(dlg->LvwBZ->topLevelItem(0));
                dlg->LvwBZ_DblClick();
                dlg->TxtBZ->setText(u"800"_s);
                dlg->CmdChange_Click();
                QCOMPARE(dlg->Text1[2]->text(), u"3000"_s);
                QCOMPARE(countOffers, QStringList{u"1"_s});
                dlg->CmdSaveBZ_Click();
                QCOMPARE(countOffers, (QStringList{u"1"_s, u"4"_s}));

                dlg->Text1[0]->setText(u"组合窗"_s);
                for (int i = 1; i < 6; ++i)
                    if (dlg->Text1[size_t(i)]->text().isEmpty())
                        dlg->Text1[size_t(i)]->setText(u"1"_s);
                dlg->CmdAdd_Click();
                QCOMPARE(dlg->TxtTH->text(), QString());
                QCOMPARE(dlg->Tvw1->topLevelItemCount(), 0);
                workRowsWhileOpen = projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN=-1"_s);
                // Another save needs a main drawing first.
                dlg->CmdAdd_Click();
                QCOMPARE(fx->msgs->lastText(), u"数据不能为空！"_s);
            }();
            dlg->Command2->click();
            return dlg->result();
        };
        w->CmcZHMC_Click();
        QCOMPARE(workRowsWhileOpen, 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN=-1"_s), 0);
        QCOMPARE(w->lvw->topLevelItemCount(), 1);
        const JobLine line = itemLine(w->lvw->topLevelItem(0));
        QCOMPARE(line.typeNo, u"-900"_s);
        QCOMPARE(line.fields.width, u"3000"_s);
        QCOMPARE(ProjectStore().loadLines(job)->at(0), line);
        ProjectStore store;
        const qint64 id = line.id.toLongLong();
        QCOMPARE(columnTexts(w->lvw, 0), QStringList{u"组合窗"_s});
        QCOMPARE(*store.loadDimensions(id),
                 (QList<NamedDimension>{{u"B"_s, u"3000"_s, 10, 20}, {u"H"_s, u"2000"_s, 30, 40}}));
        QCOMPARE(*store.componentKeys(id), (QList<ComponentKey>{{1, u"T113"_s}, {2, u"T211"_s}}));
        const auto t2 = store.OpenZHMCPartRs(id, u"T211"_s, 2);
        QCOMPARE(t2->size(), 1);
        QCOMPARE(t2->at(0).dim.value, u"800"_s);
        QCOMPARE(t2->at(0).count.toInt(), 4);
        QCOMPARE(store.OpenZHMCPartRs(id, u"T113"_s, 1)->size(), 3);
        QCOMPARE(store.OpenZHMCPartRs(id, u"T113"_s, 1)->at(0).count.toInt(), 1);
    }

    void combinedDialogEditsThroughTheJobWindow()
    {
        const qint64 job = addJob(u"J"_s);
        const Sample s = sample(job);
        auto w = openJob(job, u"J"_s);
        w->lvw->setCurrentItem(w->lvw->topLevelItem(1));
        bool cancelled = false;
        dialogs.handlers[u"frmAddGCZHMC"_s] = [&](QDialog *d) {
            auto *dlg = static_cast<FrmAddGCZHMC *>(d);
            [&] {
                QCOMPARE(dlg->windowTitle(), u"组合窗编辑"_s);
                QCOMPARE(dlg->CmdAdd->text(), u"确定"_s);
                QVERIFY(!dlg->Tvw->isVisibleTo(dlg));
                QVERIFY(!dlg->CmdSelect->isVisibleTo(dlg));
                QCOMPARE(dlg->TxtTH->text(), u"900"_s);
                QCOMPARE(columnTexts(dlg->Tvw1, 0), (QStringList{u"Z1"_s, u"T211"_s}));
                QCOMPARE(CurMCNum, QString::number(s.combined));
            }();
            if (!cancelled) {
                cancelled = true;
                dlg->Tvw1_NodeClick(dlg->Tvw1->topLevelItem(0));
                dlg->LvwBZ->topLevelItem(0)->setText(1, u"9999"_s);
                dlg->CmdSaveBZ_Click();
                dlg->Command2->click();
                return dlg->result();
            }
            dlg->Tvw1_NodeClick(dlg->Tvw1->topLevelItem(0));
            dlg->LvwBZ->topLevelItem(0)->setText(1, u"3100"_s);
            dlg->CmdSaveBZ_Click();
            dlg->Text1[0]->setText(u"Z2"_s);
            dlg->CmdAdd_Click();
            return dlg->result();
        };
        // Cancelling leaves the stored line as it was.
        const QStringList before = projectdata::dump();
        w->CmdEdit_Click();
        QCOMPARE(projectdata::dump(), before);
        w->CmdEdit_Click();
        QCOMPARE(columnTexts(w->lvw, 0), (QStringList{u"C1"_s, u"Z2"_s}));
        QCOMPARE(w->lvw->topLevelItem(1)->text(8), QString::number(s.combined));
        ProjectStore store;
        QCOMPARE(store.loadDimensions(s.combined)->at(0).value, u"3100"_s);
        QCOMPARE(store.OpenZHMCPartRs(s.combined, u"T211"_s, 2)->at(0).count.toInt(), 3);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN=-1 OR CBN<0"_s), 0);
        QCOMPARE(store.loadLines(job)->at(1).jobId, QString::number(job));
    }

    // --- copying

    void copyDialog()
    {
        const qint64 source = addJob(u"源"_s);
        const qint64 target = addJob(u"目标"_s);
        const Sample s = sample(source);
        FrmCopyGC dlg(QString::number(target));
        QCOMPARE(columnTexts(dlg.Lvw1, 0), (QStringList{u"源"_s, u"目标"_s}));
        dlg.CmdSelect_Click();
        dlg.CmdSelectAll_Click();
        dlg.CmdRemove_Click();
        dlg.CmdRemoveAll_Click();
        QCOMPARE(fx->msgs->texts(), (QStringList{u"无可选入对象！"_s, u"无可选入对象！"_s, u"无可移除对象！"_s,
                                                 u"无可选入对象！"_s}));
        dlg.CmdSave_Click();
        QCOMPARE(fx->msgs->shown.last().text, u"无当前工程的门窗！"_s);
        QCOMPARE(fx->msgs->shown.last().icon, MsgIcon::Critical);

        dlg.Lvw1->setCurrentItem(dlg.Lvw1->topLevelItem(0));
        dlg.Lvw1_ItemClick();
        QCOMPARE(columnTexts(dlg.Lvw2, 0), (QStringList{u"C1"_s, u"Z1"_s}));
        dlg.CmdSelectAll_Click();
        dlg.Lvw2->setCurrentItem(dlg.Lvw2->topLevelItem(0));
        dlg.CmdSelect_Click();
        dlg.Lvw3->setCurrentItem(dlg.Lvw3->topLevelItem(0));
        dlg.CmdRemove_Click();
        QCOMPARE(columnTexts(dlg.Lvw3, 0), (QStringList{u"Z1"_s, u"C1"_s}));
        // Clicking another job changes only the offered lines.
        dlg.Lvw1->setCurrentItem(dlg.Lvw1->topLevelItem(1));
        dlg.Lvw1_ItemClick();
        QCOMPARE(dlg.Lvw2->topLevelItemCount(), 0);
        QCOMPARE(dlg.Lvw3->topLevelItemCount(), 2);

        QVERIFY(typedata::breakTable(u"标注2"_s, u"INSERT"_s));
        const QStringList before = projectdata::dump();
        dlg.CmdSave_Click();
        QCOMPARE(fx->msgs->shown.last().title, u"出错"_s);
        QCOMPARE(projectdata::dump(), before);
        QCOMPARE(dlg.Lvw3->topLevelItemCount(), 2);
        QVERIFY(typedata::run(u"DROP TRIGGER \"fail_标注2INSERT\""_s));
        auto targetWindow = openJob(target, u"目标"_s);
        auto sourceWindow = openJob(source, u"源"_s);
        dlg.CmdSave_Click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const auto copied = ProjectStore().loadLines(target);
        QCOMPARE(copied->size(), 2);
        QCOMPARE(copied->at(0).fields.name, u"Z1"_s);
        QCOMPARE(copied->at(0).id, QString::number(s.other + 1));
        QCOMPARE(copied->at(1).id, QString::number(s.other + 2));
        // An open window of the target job shows the copies; the source's window is unchanged.
        QCOMPARE(targetWindow->lines(), *copied);
        QCOMPARE(sourceWindow->lvw->topLevelItemCount(), 2);
    }

    // --- contract sheet

    void contractSheet()
    {
        const qint64 job = addJob(u"J"_s);
        {
            FrmGCHT sheet(job);
            for (int i = 0; i < 13; ++i)
                QCOMPARE(sheet.text(i), QString());
            platform::SettingsStore::set(u"TANDRIKE"_s, u"ADDRESS"_s, u"厂址"_s);
            sheet.setText(0, u"旧"_s);
            sheet.cmdFill_Click();
            QCOMPARE(sheet.text(0), QString());
            QCOMPARE(sheet.text(2), u"厂址"_s);
            // Printing without a stored sheet prints nothing.
            sheet.CmdPrint_Click();
            QCOMPARE(fx->msgs->lastText(), u"工程合同尚未保存，无法打印！"_s);
            sheet.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sheet));
            for (int i = 0; i < 13; ++i)
                sheet.setText(i, u"内容%1"_s.arg(i));
            sheet.setText(1, {});
            sheet.setText(5, {});
            sheet.CmdSave_Click();
            QCOMPARE(fx->msgs->texts().count(u"数据不能为空！"_s), 1);
            QCOMPARE(sheet.focusWidget(), sheet.Text1[1]);
            QCOMPARE(projectdata::rows(u"工程合同"_s).size(), 0);
            sheet.setText(1, u"需方'"_s);
            sheet.setText(5, u"电话"_s);
            sheet.setText(12, {});
            sheet.CmdSave_Click();
            QCOMPARE(sheet.result(), int(QDialog::Accepted));
        }
        const auto stored = ProjectStore().loadContract(job)->value();
        QCOMPARE(stored[1], u"需方'"_s);
        QCOMPARE(stored[12], QString());
        QCOMPARE(projectdata::rows(u"工程合同"_s).at(0).section(u'|', 13), u"塑钢公司订货单|1"_s);

        // The job list loads the stored sheet; printing shows what is stored, not what is typed.
        FrmMCGCGL list;
        list.lvw->setCurrentItem(list.lvw->topLevelItem(0));
        QString loaded;
        dialogs.handlers[u"frmGCHT"_s] = [&](QDialog *d) {
            auto *sheet = static_cast<FrmGCHT *>(d);
            loaded = sheet->text(1);
            sheet->setText(1, u"未保存"_s);
            sheet->CmdPrint_Click();
            sheet->reject();
            return sheet->result();
        };
        QString previewTitle;
        dialogs.handlers[u"reportPreview"_s] = [&](QDialog *d) {
            previewTitle = d->windowTitle();
            d->reject();
            return int(QDialog::Rejected);
        };
        list.CmdOpenHT_Click();
        QCOMPARE(loaded, u"需方'"_s);
        QCOMPARE(previewTitle, u"塑钢公司订货单"_s);
        QCOMPARE(ProjectStore().loadContract(job)->value()[1], u"需方'"_s);
    }

private:
    struct Sample
    {
        qint64 plain = 0, combined = 0, other = 0;
    };
    // A plain line C1 (type 1, labels B and H) and a combined line Z1 (main 900 with B, one
    // component T211 of type 2 with count 3) in the job.
    Sample sample(qint64 job)
    {
        ProjectStore store;
        Sample s;
        s.plain = store.addPlainLine(job, 1, projectdata::fields(u"C1"_s),
                                     {{u"B"_s, u"1500"_s, 1, 2}, {u"H"_s, u"1200"_s, 3, 4}})
                      .value_or(0);
        store.clearWorkRows();
        store.replaceMainWorkRows(-900, u"组合主图10"_s, {{u"B"_s, u"3000"_s, 10, 20}});
        store.addComponentWorkRows(2, u"T211"_s, {{u" b "_s, u"900"_s, 50, 60}});
        store.storeWorkNode({2, u"T211"_s}, {{u" b "_s, u"900"_s, 50, 60}}, 3);
        s.combined = store.saveCombinedLine(0, job, 900, projectdata::fields(u"Z1"_s)).value_or(0);
        s.other = s.combined;
        return s;
    }

private slots:
    // --- keys and selection

    // With a current row that is not selected, each command refuses with its own message and
    // opens nothing.
    void commandsNeedASelectedRow_data()
    {
        QTest::addColumn<bool>("jobWindow");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("编辑工程") << false << u"CmdEdit"_s << u"无选取所需编辑的对象！"_s;
        QTest::newRow("删除工程") << false << u"CmdDel"_s << u"无选取所需删除的对象！"_s;
        QTest::newRow("打开工程") << false << u"CmdOpen"_s << u"无打开的工程！"_s;
        QTest::newRow("打开合同") << false << u"CmdOpenHT"_s << u"无存在工程无法打开工程合同！"_s;
        QTest::newRow("复制") << false << u"CmdCopyGCMC"_s << u"无打开的工程！"_s;
        QTest::newRow("编辑门窗") << true << u"CmdEdit"_s << u"无选取所要编辑的门窗！"_s;
        QTest::newRow("删除门窗") << true << u"CmdDel"_s << u"在当前工程中无删除的门窗！"_s;
        QTest::newRow("构件表") << true << u"CmdPrint"_s << u"当前工程中没有可打印的门窗！"_s;
    }
    void commandsNeedASelectedRow()
    {
        QFETCH(bool, jobWindow);
        QFETCH(QString, button);
        QFETCH(QString, message);
        const qint64 job = addJob(u"J"_s);
        sample(job);
        FrmMCGCGL jobs;
        auto lines = openJob(job, u"J"_s);
        QWidget *window = jobWindow ? static_cast<QWidget *>(lines.get()) : &jobs;
        QTreeWidget *list = jobWindow ? lines->lvw : jobs.lvw;
        QVERIFY(list->topLevelItemCount() > 0);
        list->setCurrentItem(list->topLevelItem(0));
        list->clearSelection();
        int sheets = 0;
        jobWindowHooks().openSheets = [&](QWidget *, const JobRef &, const QList<JobLine> &, int) { ++sheets; };
        fx->msgs->answers << MsgAnswer::Yes;
        child<QPushButton>(window, button)->click();
        QCOMPARE(fx->msgs->texts(), QStringList{message});
        QCOMPARE(fx->msgs->dialogNames, QStringList());
        QCOMPARE(sheets, 0);
        QCOMPARE(ProjectStore().loadJobs()->size(), 1);
        QCOMPARE(ProjectStore().loadLines(job)->size(), 2);
    }

    // Enter walks each dialog's fields, selecting what it reaches, and then presses the button
    // that ends the chain.
    void enterEndsOnTheChainButton()
    {
        FrmInputGC job;
        job.show();
        QVERIFY(QTest::qWaitForWindowActive(&job));
        for (QLineEdit *box : job.Text1) {
            QCOMPARE(job.focusWidget(), box);
            QTest::keyClicks(box, u"x"_s);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QCOMPARE(job.focusWidget(), job.OKButton);
        QTest::keyClick(job.OKButton, Qt::Key_Return);
        QVERIFY(job.entered());
        QCOMPARE(job.result(), int(QDialog::Accepted));

        FrmAddGCMC plain;
        QTreeWidget list;
        QVERIFY(plain.prepareAdd(QString::number(addJob(u"J"_s)), &list));
        plain.show();
        QVERIFY(QTest::qWaitForWindowActive(&plain));
        plain.Tvw_NodeClick(findNode(plain.Tvw, u"T3"_s));
        plain.Text1[0]->setFocus();
        QTest::keyClick(plain.Text1[0], Qt::Key_Return);
        // The "0" the box holds is selected: typing replaces it.
        QTest::keyClicks(plain.focusWidget(), u"F2"_s);
        QCOMPARE(plain.Text1[1]->text(), u"F2"_s);
        for (int i = 1; i < 6; ++i)
            QTest::keyClick(plain.Text1[size_t(i)], Qt::Key_Return);
        QCOMPARE(plain.focusWidget(), plain.CmdAdd);
        QTest::keyClick(plain.CmdAdd, Qt::Key_Return);
        QCOMPARE(fx->msgs->texts(), QStringList());
        QCOMPARE(columnTexts(&list, 0), QStringList{u"T3"_s});
        QVERIFY(plain.isVisible());

        FrmAddGCZHMC combined;
        QVERIFY(combined.prepareAdd(QString::number(addJob(u"K"_s)), &list));
        combined.show();
        QVERIFY(QTest::qWaitForWindowActive(&combined));
        combined.Text1[5]->setFocus();
        QTest::keyClick(combined.Text1[5], Qt::Key_Return);
        QCOMPARE(combined.focusWidget(), combined.CmdOpenPic);
        QTest::keyClick(combined.CmdOpenPic, Qt::Key_Return);
        QCOMPARE(fx->msgs->dialogNames, QStringList{u"frmOpenPicture"_s});
        combined.CmdAdd->setFocus();
        QTest::keyClick(combined.CmdAdd, Qt::Key_Return);
        QCOMPARE(fx->msgs->lastText(), u"数据不能为空！"_s);
        QCOMPARE(combined.focusWidget(), combined.Text1[0]);
    }

    // None of the three dialogs has a cancel key.
    void escapeClosesNoWindowDialog()
    {
        QTreeWidget list;
        FrmInputGC job;
        FrmAddGCMC plain;
        FrmAddGCZHMC combined;
        QVERIFY(plain.prepareAdd(QString::number(addJob(u"J"_s)), &list));
        QVERIFY(combined.prepareAdd(QString::number(addJob(u"K"_s)), &list));
        for (QDialog *dialog : std::initializer_list<QDialog *>{&job, &plain, &combined}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Escape);
            QVERIFY2(dialog->isVisible(), qPrintable(dialog->objectName()));
            dialog->hide();
        }
    }

    // Moving through the type tree with the arrow keys chooses as a click does.
    void typeTreesFollowTheKeyboard()
    {
        FrmAddGCMC plain;
        QTreeWidget list;
        QVERIFY(plain.prepareAdd(QString::number(addJob(u"J"_s)), &list));
        FrmAddGCZHMC combined;
        QVERIFY(combined.prepareAdd(QString::number(addJob(u"K"_s)), &list));
        for (LineDialog *dlg : std::initializer_list<LineDialog *>{&plain, &combined}) {
            dlg->show();
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            dlg->Tvw->expandAll();
            dlg->Tvw->setFocus();
            dlg->Tvw->setCurrentItem(findNode(dlg->Tvw, u"S1"_s));
            QTest::keyClick(dlg->Tvw, Qt::Key_Down);
            QCOMPARE(dlg->Tvw->currentItem()->text(0), u"T1"_s);
            QCOMPARE(dlg->Text1[0]->text(), u"T1"_s);
            QVERIFY(!dlg->PicMC->snapshot().isNull());
            QTest::keyClick(dlg->Tvw, Qt::Key_Down);
            QCOMPARE(dlg->Text1[0]->text(), u"T2"_s);
            dlg->hide();
        }
        // The plain dialog lists the chosen type's labels; the combined one only previews.
        QCOMPARE(columnTexts(plain.LvwBZ, 0), QStringList{u" b "_s});
        QCOMPARE(plain.chosenType(), 2);
        QCOMPARE(combined.LvwBZ->topLevelItemCount(), 0);
        // A click on the current node chooses it again.
        plain.Text1[0]->setText(u"改"_s);
        const QTreeWidgetItem *t2 = plain.Tvw->currentItem();
        plain.show();
        QVERIFY(QTest::qWaitForWindowActive(&plain));
        QTest::mouseClick(plain.Tvw->viewport(), Qt::LeftButton, {}, plain.Tvw->visualItemRect(t2).center());
        QCOMPARE(plain.Text1[0]->text(), u"T2"_s);
    }
};

QTEST_MAIN(TestProjectWindows)
#include "tst_projectwindows.moc"
