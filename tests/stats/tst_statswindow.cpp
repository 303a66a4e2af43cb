#include "statsdata.h"
#include "../app/pdftext.h"

#include "app/generalsettings.h"
#include "platform/workbook.h"
#include "project/projectstate.h"
#include "stats/numbers.h"
#include "stats/pricing.h"
#include "stats/ui/frmtjjs.h"
#include "stats/ui/pricedialogs.h"
#include "stats/ui/showstatistics.h"

#include "platform/printing.h"
#include "platform/surface_recording.h"
#include "sheets/ui/sheetwindows.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace stats;
using namespace statsdata;
using stats::ui::FrmTJJS;

namespace {
QString pageText(const platform::Report &report)
{
    QStringList all;
    for (const QStringList &p : platform::reportPageTexts(report))
        all << p;
    return all.join(u' ');
}

QStringList listNames(const QTreeWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    return names;
}

// Answers a price dialog: fills its boxes and presses OK, or presses Cancel when texts is empty.
std::function<int(QDialog *)> answerPrices(const QString &dialogName, const QStringList &texts)
{
    return [dialogName, texts](QDialog *d) {
        if (d->objectName() != dialogName)
            return int(QDialog::Rejected);
        auto *dialog = static_cast<stats::ui::PriceDialog *>(d);
        if (texts.isEmpty()) {
            dialog->CancelButton->click();
            return dialog->result();
        }
        for (int i = 0; i < texts.size(); ++i)
            dialog->Text1.at(i)->setText(texts.at(i));
        dialog->OKButton->click();
        return dialog->result();
    };
}
} // namespace

class TestStatsWindow : public QObject
{
    Q_OBJECT

private:
    testfixture::DataFolder *m_fx = nullptr;

    platform::ScriptedMessages *msgs() { return m_fx->msgs; }

    // The job as its job window hands it on.
    const project::JobRef job{u"1"_s, u"工程甲"_s};

    // Job 1 "工程甲" for client "甲方单位A": window C1 (type 1, 2 units) and door M1 (type 2, 1 unit).
    QList<project::JobLine> fillJob()
    {
        bool ok = run(u"INSERT INTO 工程 VALUES (1, 'HT1', '工程甲', '某地', '甲方单位A')"_s);
        ok = ok && addProfile(1, u"框"_s, u"K60"_s, u"2.7"_s, u"B-50"_s) && addLabel(7, u"B"_s, u"1500"_s)
            && addPanel(1, u"5白玻"_s, 2, u"B/2"_s, u"800"_s) && addFitting(2, u"锁"_s, u"S"_s, 1, u"把"_s)
            && addCatalogueProfile(u"框料"_s, u"K60"_s, 1.2, 9000) && addCatalogueGlass(u"5白玻"_s, 60)
            && addCatalogueFitting(u"门锁"_s, u"S"_s, u"把"_s, 35);
        if (!ok)
            qWarning("job data not written");
        return {line(u"C1"_s, 1, 7, u"2"_s, u"1500"_s, u"1200"_s), line(u"M1门"_s, 2, 8, u"1"_s, u"900"_s, u"2100"_s)};
    }

    void chooseAll(FrmTJJS &w)
    {
        w.CmdSelectAll->click();
    }

private slots:
    void init()
    {
        m_fx = new testfixture::DataFolder;
        QVERIFY(m_fx->setUp());
        TJTotals = {};
        app::OutPutFileTypeFlag = 0;
    }
    void cleanup()
    {
        delete m_fx;
        m_fx = nullptr;
    }

    void opensOverTheJobsWindows()
    {
        const QList<project::JobLine> lines = fillJob();
        QStringList seen;
        msgs()->onDialog = [&seen](QDialog *d) {
            auto *w = qobject_cast<FrmTJJS *>(d);
            if (w) {
                seen = listNames(w->LvwR);
                seen << QString::number(w->LvwD->topLevelItemCount()) << w->windowTitle();
                for (QPushButton *b : {w->CmdTJ01, w->CmdTJ02, w->CmdTJ03, w->CmdJS01, w->CmdJS02})
                    seen << (b->isEnabled() ? u"on"_s : u"off"_s);
                for (QCheckBox *c : {w->chkXC, w->chkXG, w->chkPC, w->chkPJ})
                    seen << (c->isChecked() ? u"ticked"_s : u"clear"_s);
            }
            return 0;
        };
        stats::ui::showStatistics(nullptr, job, lines);
        QCOMPARE(msgs()->dialogNames, QStringList{u"frmTJJS"_s});
        QCOMPARE(seen, QStringList({u"C1"_s, u"M1门"_s, u"0"_s, u"统计决算"_s, u"off"_s, u"off"_s, u"off"_s, u"off"_s,
                                    u"off"_s, u"ticked"_s, u"ticked"_s, u"ticked"_s, u"ticked"_s}));

        msgs()->dialogNames.clear();
        stats::ui::showStatistics(nullptr, job, {});
        QCOMPARE(msgs()->texts(), QStringList{u"当前工程中无门窗！"_s});
        QVERIFY(msgs()->dialogNames.isEmpty());
    }

    void moversKeepItemsAndSayWhenThereIsNothing()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        w.CmdSelect->click();
        w.CmdRemove->click();
        QCOMPARE(msgs()->texts(), QStringList({u"无可选入对象！"_s, u"无可移除对象！"_s}));

        w.LvwR->setCurrentItem(w.LvwR->topLevelItem(1));
        w.CmdSelect->click();
        QCOMPARE(listNames(w.LvwD), QStringList{u"M1门"_s});
        QCOMPARE(w.chosenLines().first(), line(u"M1门"_s, 2, 8, u"1"_s, u"900"_s, u"2100"_s));
        w.CmdSelectAll->click();
        QCOMPARE(listNames(w.LvwD), QStringList({u"M1门"_s, u"C1"_s}));
        QCOMPARE(w.LvwR->topLevelItemCount(), 0);

        msgs()->clear();
        w.CmdSelectAll->click();
        QCOMPARE(msgs()->texts(), QStringList{u"无可选入对象！"_s});
        w.CmdRemoveAll->click();
        QCOMPARE(listNames(w.LvwR), QStringList({u"M1门"_s, u"C1"_s}));
        msgs()->clear();
        // The empty chosen list answers as the select buttons do.
        w.CmdRemoveAll->click();
        QCOMPARE(msgs()->texts(), QStringList{u"无可选入对象！"_s});
    }

    void gatheringEnablesTheReports()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        w.CmdTJ->click();
        QCOMPARE(msgs()->texts(), QStringList{u"统计门窗为空！"_s});
        QVERIFY(!w.CmdTJ01->isEnabled());

        chooseAll(w);
        msgs()->clear();
        w.CmdTJ->click();
        QVERIFY(msgs()->shown.isEmpty());
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K60|1450|4"_s}));
        QCOMPARE(rows(u"OutPJ"_s), QStringList({u"锁|S|1|把"_s}));
        for (QPushButton *b : {w.CmdTJ01, w.CmdTJ02, w.CmdTJ03})
            QVERIFY(b->isEnabled());
        w.CmdRemoveAll->click();
        QVERIFY(w.CmdTJ01->isEnabled());
    }

    void failedGatheringSaysSoAndKeepsReportsOff()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        QVERIFY(breakTable(u"OutPJ"_s, u"INSERT"_s));
        w.CmdTJ->click();
        QCOMPARE(msgs()->shown.size(), 1);
        QCOMPARE(msgs()->shown.first().title, u"出错"_s);
        QVERIFY(!w.CmdTJ01->isEnabled());
        QVERIFY(rows(u"OutXC"_s).isEmpty());
    }

    void materialListShowsTotalsOfChosenKinds()
    {
        platform::SettingsStore::set(app::kSettingsGeneral, app::kKeyCompany, u"甲公司"_s);
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        w.CmdTJ->click();
        w.CmdTJ01->click();
        QCOMPARE(msgs()->dialogNames, QStringList{u"reportPreview"_s});
        QString text = pageText(w.lastReport());
        QCOMPARE(w.lastReport().title, u"甲公司材料统计表"_s);
        for (const QString &t : {u"工程名称：工程甲"_s, u"型材总吨数：.00696"_s, u"型钢总吨数：0"_s,
                                 u"板材总平方数：2.4"_s, u"门锁"_s, u"框料"_s})
            QVERIFY2(text.contains(t), qPrintable(t));

        w.chkXC->setChecked(false);
        w.chkXG->setChecked(false);
        w.chkPJ->setChecked(false);
        w.CmdTJ01->click();
        text = pageText(w.lastReport());
        QVERIFY(text.contains(u"板材总平方数：2.4"_s));
        QVERIFY(!text.contains(u"型材总吨数"_s));
        QVERIFY(!text.contains(u"型钢总吨数"_s));
        QVERIFY(!text.contains(u"框料"_s));
    }

    void costReportAddsFeesByOpeningArea_data()
    {
        QTest::addColumn<QStringList>("fees");
        QTest::addColumn<QStringList>("expected");
        // Material: profiles 5.8 m x 10.8 = 62.64, glass 2.4 m2 x 60 = 144, lock 35: 241.64.
        // Opening area: 1.5 x 1.2 x 2 + 0.9 x 2.1 = 5.49 m2.
        QTest::newRow("fees") << QStringList{u"10"_s, u"2"_s, u"1.5"_s, u"0"_s}
                              << QStringList{u"人工费用（元）：54.9"_s, u"税 费（元）：10.98"_s,
                                             u"运输费用（元）：8.235"_s, u"其它费用（元）：0"_s,
                                             u"门窗共计造价（元）：315.755"_s, u"材料造价（元）：241.64"_s};
        QTest::newRow("cancelled") << QStringList{}
                                   << QStringList{u"人工费用（元）：0"_s, u"门窗共计造价（元）：241.64"_s};
    }
    void costReportAddsFeesByOpeningArea()
    {
        QFETCH(QStringList, fees);
        QFETCH(QStringList, expected);
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        w.CmdTJ->click();
        msgs()->onDialog = answerPrices(u"frmSZZJ"_s, fees);
        w.CmdTJ02->click();
        QCOMPARE(msgs()->dialogNames, QStringList({u"frmSZZJ"_s, u"reportPreview"_s}));
        const QString text = pageText(w.lastReport());
        QCOMPARE(w.lastReport().title, u"门窗造价表"_s);
        for (const QString &t : expected)
            QVERIFY2(text.contains(t), qPrintable(t));
    }

    void listByLengthKeepsLayoutTitle()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        w.CmdTJ->click();
        w.CmdTJ03->click();
        QCOMPARE(w.lastReport().title, u"门 窗 材 料 统 计 表"_s);
        const QString text = pageText(w.lastReport());
        QVERIFY(text.contains(u"框料K60"_s));
        QVERIFY(text.contains(u"1450"_s));
        QVERIFY(text.contains(u"750*800*4"_s));
        QVERIFY(!text.contains(u"总吨数"_s));
    }

    void settlementWritesOneRowPerWindow()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        w.CmdJS->click();
        QCOMPARE(msgs()->texts(), QStringList{u"决算门窗为空！"_s});

        chooseAll(w);
        msgs()->clear();
        msgs()->onDialog = answerPrices(u"frmJSJE"_s, {u"300"_s, u"180"_s});
        w.CmdJS->click();
        QVERIFY(msgs()->shown.isEmpty());
        QCOMPARE(rows(u"OutJS"_s), QStringList({u"C1|一层|1500|1200|2|3.6|180|648|1"_s,
                                                u"M1门|一层|900|2100|1|1.89|300|567|2"_s}));
        QVERIFY(w.CmdJS01->isEnabled());
        QVERIFY(w.CmdJS02->isEnabled());

        w.CmdJS02->click();
        QString text = pageText(w.lastReport());
        for (const QString &t : {u"门 窗 决 算 表"_s, u"发包单位： 甲方单位A"_s, u"制作单位： 塑钢公司"_s, u"1215"_s, u"5.49"_s})
            QVERIFY2(text.contains(t), qPrintable(t));
        w.CmdJS01->click();
        QCOMPARE(w.lastReport().title, u"门 窗 面 积 统 计 表"_s);

        // Printed from the preview with no default printer: the print dialog, answered with a PDF.
        const QString pdf = m_fx->dir->filePath(u"settlement.pdf"_s);
        testfixture::printDialogsTo(msgs(), pdf);
        msgs()->dialogNames.clear();
        w.CmdJS02->click();
        QCOMPARE(msgs()->dialogNames, (QStringList{u"reportPreview"_s, u"printDialog"_s}));
        QVERIFY(msgs()->shown.isEmpty());
        if (const auto printed = testfixture::pdfText(pdf)) {
            // pdftotext closes up the narrow blanks of a spaced-out title.
            for (const QString &t : {u"门窗决算表"_s, u"门窗尺寸"_s, u"宽mm"_s, u"甲方单位A"_s, u"648"_s, u"1215"_s})
                QVERIFY2(printed->contains(t), qPrintable(t + u"\n"_s + *printed));
            QVERIFY(printed->contains(u"日期："_s + QDate::currentDate().toString(u"yyyy-MM-dd"_s)));
        }
        msgs()->onDialog = answerPrices(u"frmJSJE"_s, {u"300"_s, u"180"_s});

        // A cancelled settlement leaves the table empty and the buttons as they were.
        msgs()->onDialog = answerPrices(u"frmJSJE"_s, {});
        w.CmdJS->click();
        QVERIFY(rows(u"OutJS"_s).isEmpty());
        QVERIFY(w.CmdJS01->isEnabled());
    }

    void priceDialogChecksAndFiltersInput()
    {
        stats::ui::FrmSZZJ d;
        d.Text1.at(0)->setText(u"1"_s);
        d.Text1.at(2)->setText(u"1"_s);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.OKButton->click();
        QCOMPARE(msgs()->texts(), QStringList{u"数据不能为空！"_s});
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(d.isVisible());

        d.Text1.at(3)->setFocus();
        QTest::keyClicks(d.Text1.at(3), u"1a2.,5"_s);
        QCOMPARE(d.Text1.at(3)->text(), u"12.5"_s);
        QTest::keyClick(d.Text1.at(3), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d.OKButton);
        // Enter on the focused OK button presses it.
        d.Text1.at(1)->setText(u"2"_s);
        QTest::keyClick(d.OKButton, Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.entered()[1], u"2"_s);
        QCOMPARE(d.entered()[3], u"12.5"_s);

        stats::ui::FrmJSJE j;
        QVERIFY(!j.entered());
        j.show();
        QVERIFY(QTest::qWaitForWindowActive(&j));
        j.Text1.at(0)->setFocus();
        QTest::keyClick(j.Text1.at(0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), j.Text1.at(1));
        j.Text1.at(0)->setText(u"3"_s);
        j.Text1.at(1)->setText(u"4"_s);
        j.OKButton->click();
        QVERIFY(j.entered());
        QCOMPARE(j.entered()->door, u"3"_s);
        QCOMPARE(j.entered()->window, u"4"_s);
    }

    void closingTheFeeDialogMeansNoFees()
    {
        stats::ui::FrmSZZJ d;
        d.Text1.at(0)->setText(u"7"_s);
        d.Text1.at(3)->setText(u"7"_s);
        d.show();
        d.close();
        QCOMPARE(d.entered()[0], u"0"_s);
        QCOMPARE(d.entered()[3], u"0"_s);
    }

    void exportsToTextFile()
    {
        app::OutPutFileTypeFlag = 1;
        QTemporaryDir dir;
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        // Nothing settled yet: no file dialog, no message.
        msgs()->fileNames << dir.filePath(u"a"_s);
        w.cmdOutZJB->click();
        QCOMPARE(msgs()->fileNames.size(), 1);
        QVERIFY(msgs()->shown.isEmpty());

        w.CmdTJ->click();
        w.CmdOut1->click();
        QVERIFY(msgs()->fileNames.isEmpty());
        QFile f(dir.filePath(u"a.txt"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("\t5.8\t"));
        QVERIFY(bytes.endsWith("\r\n4\t\t\t\t\t\r\n"));

        // Cancelling the file dialog writes nothing.
        w.cmdOut2->click();
        QVERIFY(msgs()->shown.isEmpty());

        // An unwritable file is reported.
        msgs()->fileNames << dir.filePath(u"no/such/folder/b.txt"_s);
        w.cmdOut3->click();
        QCOMPARE(msgs()->shown.size(), 1);
        QCOMPARE(msgs()->shown.first().title, u"出错"_s);
    }

    void simpleCutListOfChosenWindows()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        w.CmdGJB->click();
        QCOMPARE(msgs()->texts(), QStringList{u"构件门窗为空！"_s});
        QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, 1, 'T1', NULL), (1, 2, 'T2', NULL)"_s));
        platform::setPrintSurfaceFactory(
            []() -> std::unique_ptr<platform::Surface> { return std::make_unique<platform::RecordingSurface>(); });
        // The door's type has no profile rows: no row for the list.
        w.LvwR->setCurrentItem(w.LvwR->topLevelItem(1));
        w.CmdSelect->click();
        msgs()->clear();
        w.CmdGJB->click();
        QCOMPARE(msgs()->texts(), QStringList{u"无可购件数据！"_s});
        QVERIFY(msgs()->dialogNames.isEmpty());

        w.CmdSelectAll->click();
        msgs()->clear();
        w.CmdGJB->click();
        QVERIFY(msgs()->shown.isEmpty());
        QCOMPARE(msgs()->dialogNames, QStringList{u"FrmEasyGJBReport"_s});
        platform::setPrintSurfaceFactory({});
    }

    void exportsToWorkbook()
    {
        FrmTJJS w(job);
        w.setWindows(fillJob());
        chooseAll(w);
        msgs()->onDialog = answerPrices(u"frmJSJE"_s, {u"300"_s, u"180"_s});
        w.CmdJS->click();
        w.cmdOutTJB->click();
        QCOMPARE(msgs()->openedWithDesktop.size(), 1);
        QString error;
        const auto grid = platform::readFirstSheet(msgs()->openedWithDesktop.first(), &error);
        QVERIFY2(grid, qPrintable(error));
        QCOMPARE(grid->text(0, 0), u"工程面积统计表"_s);
        QCOMPARE(grid->columnCount(), 6);
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->text(2, 0), u"C1"_s);
        QCOMPARE(generalText(grid->text(3, 5).toDouble()), u"1.89"_s);
    }
};

QTEST_MAIN(TestStatsWindow)
#include "tst_statswindow.moc"
