// The component sheet window and the cut list preview: paging captions and buttons, the sheet shown
// for each line's kind, printing one, all or from here, and the entries used by the job and
// statistics windows.
#include "sheetdata.h"

#include "../app/pdftext.h"
#include "platform/printing.h"
#include "platform/surface_printer.h"
#include "platform/surface_recording.h"
#include "platform/surface_widget.h"
#include "project/projectstate.h"
#include "sheets/simplebuy.h"
#include "sheets/ui/frmeasygjbreport.h"
#include "sheets/ui/frmgjb.h"
#include "sheets/ui/sheetwindows.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <list>

using namespace Qt::StringLiterals;
using namespace sheets;
using sheets::ui::FrmEasyGJBReport;
using sheets::ui::FrmGJB;

namespace {

template <class T>
T *child(QObject *parent, const QString &name)
{
    T *c = parent->findChild<T *>(name);
    if (!c)
        qWarning("no child %s", qPrintable(name));
    return c;
}

void click(QObject *parent, const QString &name)
{
    child<QPushButton>(parent, name)->click();
}

bool enabled(QObject *parent, const QString &name) { return child<QPushButton>(parent, name)->isEnabled(); }

QStringList listColumn(QObject *w, int column)
{
    QStringList out;
    auto *lvw = child<QTreeWidget>(w, u"lvw"_s);
    for (int i = 0; i < lvw->topLevelItemCount(); ++i)
        out << lvw->topLevelItem(i)->text(column);
    return out;
}

QStringList texts(const platform::RecordingSurface &s, int page = -1)
{
    QStringList out;
    for (const platform::SurfaceOp &op : s.texts(page))
        out << op.text;
    return out;
}

// The window releases its printer after each print; the recording stays with the test.
class ForwardingSurface : public platform::Surface
{
public:
    explicit ForwardingSurface(platform::RecordingSurface &target) : m_target(target) {}
    double width() const override { return m_target.width(); }
    double height() const override { return m_target.height(); }
    void line(QPointF a, QPointF b) override { m_target.line(a, b); }
    void box(QPointF a, QPointF b) override { m_target.box(a, b); }
    void point(QPointF p) override { m_target.point(p); }
    void print(const QString &text) override
    {
        m_target.setCurrentPos(currentPos());
        m_target.print(text);
    }
    double textHeight(const QString &text) const override { return m_target.textHeight(text); }
    double textWidth(const QString &text) const override { return m_target.textWidth(text); }
    void clear() override { m_target.clear(); }
    void refresh() override { m_target.refresh(); }
    void setFont(const QFont &font) override
    {
        Surface::setFont(font);
        m_target.setFont(font);
    }
    void newPage() override { m_target.newPage(); }
    void endDocument() override { m_target.endDocument(); }

private:
    platform::RecordingSurface &m_target;
};

} // namespace

class TestSheetWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testfixture::DataFolder> fx;
    // Every surface printed on, in order.
    QList<platform::RecordingSurface *> printed;
    std::list<platform::RecordingSurface> recordings;
    qint64 job = 0;

    // Five plain lines of type 40 with B = 1000, 2000, … and one combined line at position 3 when asked.
    QList<project::JobLine> makeLines(int count, bool combinedThird = false)
    {
        [&] {
            QVERIFY(sheetdata::addType(40, u"内开窗"_s, 101, {{u"框B"_s, u"XC"_s, u"2"_s, u"B-10"_s}}, {},
                                       {{u"合页"_s, u"HY"_s, u"2"_s, u"个"_s}}));
        }();
        job = sheetdata::addJob(u"7"_s);
        QList<project::JobLine> lines;
        for (int i = 1; i <= count; ++i) {
            if (combinedThird && i == 3)
                lines << sheetdata::addCombined(job, 900, projectdata::fields(u"Z%1"_s.arg(i)), {{u"B"_s, u"3000"_s, 0, 0}},
                                                {{40, u"内开窗10"_s, {{u"B"_s, u"510"_s, 0, 0}}, 2}});
            else
                lines << sheetdata::addPlain(job, 40, projectdata::fields(u"C%1"_s.arg(i)),
                                             {{u"B"_s, QString::number(1000 * i), 9495, 7935}});
        }
        return lines;
    }

private slots:
    void init()
    {
        fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(fx->setUp());
        QVERIFY(projectdata::fillLibrary());
        printed.clear();
        recordings.clear();
        platform::setPrintSurfaceFactory([this] {
            platform::RecordingSurface &r = recordings.emplace_back(11906, 16838);
            printed << &r;
            return std::make_unique<ForwardingSurface>(r);
        });
    }
    void cleanup()
    {
        platform::setPrintSurfaceFactory({});
        fx.reset();
    }

    void oneWindowJob()
    {
        const QList<project::JobLine> lines = makeLines(1);
        FrmGJB w(lines, 0, QString::number(job));
        QCOMPARE(w.windowTitle(), u"生产构件表"_s);
        QCOMPARE(child<QLabel>(&w, u"txtPage"_s)->text(), u"共1页"_s);
        QVERIFY(!enabled(&w, u"CmdPrev"_s));
        QVERIFY(!enabled(&w, u"CmdNext"_s));
        QVERIFY(listColumn(&w, 0).isEmpty()); // drawn on activation
        w.Form_Activate();
        QCOMPARE(listColumn(&w, 3), (QStringList{u"型材长度"_s, u"990"_s, u"单位"_s, u"个"_s}));
        QCOMPARE(child<QLineEdit>(&w, u"Text10"_s)->text(), u"滨江花园"_s);
        QCOMPARE(child<QLineEdit>(&w, u"Text12"_s)->text(), u"C1---一层"_s);
        QCOMPARE(child<QLineEdit>(&w, u"Text14"_s)->text(), u"001"_s);
        QCOMPARE(child<QLineEdit>(&w, u"Text15"_s)->text(), u"宽1500高1200"_s);
        QCOMPARE(child<QLineEdit>(&w, u"Text18"_s)->text(), u"备注"_s);
        auto *pic = child<platform::WidgetSurface>(&w, u"PicGJB"_s);
        QVERIFY(pic);
        // A later activation does not draw the sheet again.
        w.Form_Activate();
        QCOMPARE(listColumn(&w, 0).size(), 4);
    }

    void pagingThroughFiveLines()
    {
        const QList<project::JobLine> lines = makeLines(5, true);
        FrmGJB w(lines, 2, QString::number(job));
        auto *page = child<QLabel>(&w, u"txtPage"_s);
        QCOMPARE(page->text(), u"共5页第3页"_s);
        QVERIFY(enabled(&w, u"CmdPrev"_s));
        QVERIFY(enabled(&w, u"CmdNext"_s));
        w.Form_Activate();
        // The combined third line: its component's rows with the count factor, the "000" contract.
        QCOMPARE(listColumn(&w, 3), (QStringList{u"型材长度"_s, u"500"_s, u"单位"_s, u"个"_s}));
        QCOMPARE(listColumn(&w, 4), (QStringList{u"数量"_s, u"8"_s, u"数量"_s, u"8"_s}));
        QCOMPARE(child<QLineEdit>(&w, u"Text13"_s)->text(), u"007"_s);

        click(&w, u"CmdNext"_s);
        QCOMPARE(page->text(), u"共5页第4页"_s);
        QCOMPARE(listColumn(&w, 3), (QStringList{u"型材长度"_s, u"3990"_s, u"单位"_s, u"个"_s}));
        QCOMPARE(child<QLineEdit>(&w, u"Text13"_s)->text(), u"7"_s);
        QCOMPARE(child<QLineEdit>(&w, u"Text14"_s)->text(), u"004"_s);
        click(&w, u"CmdNext"_s);
        QCOMPARE(page->text(), u"共5页第5页"_s);
        QVERIFY(!enabled(&w, u"CmdNext"_s));
        QVERIFY(enabled(&w, u"CmdPrev"_s));
        for (int i = 0; i < 4; ++i)
            click(&w, u"CmdPrev"_s);
        QCOMPARE(page->text(), u"共5页第1页"_s);
        QVERIFY(!enabled(&w, u"CmdPrev"_s));
        QVERIFY(enabled(&w, u"CmdNext"_s));
        QCOMPARE(listColumn(&w, 3), (QStringList{u"型材长度"_s, u"990"_s, u"单位"_s, u"个"_s}));
        QVERIFY(printed.isEmpty());
        QVERIFY(fx->msgs->shown.isEmpty());
    }

    void printing_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("sheetNumbers"); // per printed page, "" for a continuation page
        QTest::newRow("current") << 1 << u"CmdPrint"_s << QStringList{u"002"_s};
        QTest::newRow("from here on the last") << 4 << u"CmdPrintNextAll"_s << QStringList{u"005"_s};
        QTest::newRow("from here") << 2 << u"CmdPrintNextAll"_s << QStringList{u"003"_s, u"004"_s, u"005"_s};
        QTest::newRow("all") << 3 << u"CmdPrintAll"_s
                             << QStringList{u"001"_s, u"002"_s, u"003"_s, u"004"_s, u"005"_s};
    }
    void printing()
    {
        QFETCH(int, selected);
        QFETCH(QString, button);
        QFETCH(QStringList, sheetNumbers);
        const QList<project::JobLine> lines = makeLines(5, true);
        FrmGJB w(lines, selected, QString::number(job));
        w.Form_Activate();
        click(&w, button);
        QCOMPARE(printed.size(), 1);
        const platform::RecordingSurface &doc = *printed.first();
        QCOMPARE(doc.pageCount(), sheetNumbers.size());
        QCOMPARE(doc.count(platform::SurfaceOp::EndDocument), 1);
        QCOMPARE(doc.ops.constLast().kind, platform::SurfaceOp::EndDocument);
        for (int p = 0; p < sheetNumbers.size(); ++p)
            QVERIFY2(texts(doc, p).contains(sheetNumbers[p]), qPrintable(sheetNumbers[p]));
        QCOMPARE(w.currentPage(), selected + 1);
        QVERIFY(fx->msgs->shown.isEmpty());
    }

    void printAllWithALongFirstSheet()
    {
        QList<project::JobLine> lines = makeLines(3);
        // 48 profile rows: 51 rows with the fitting and the two title rows.
        for (int i = 0; i < 47; ++i)
            QVERIFY(typedata::run(u"INSERT INTO 窗型材 VALUES (40, ?, ?, 'XC', '1', 'B')"_s, {5000 + i, u"长%1"_s.arg(i)}));
        FrmGJB w(lines, 0, QString::number(job));
        click(&w, u"CmdPrintAll"_s);
        QCOMPARE(printed.size(), 1);
        const platform::RecordingSurface &doc = *printed.first();
        // Every sheet now has 50 rows: a continuation page after each.
        QCOMPARE(doc.pageCount(), 6);
        QVERIFY(texts(doc, 0).contains(u"001"_s));
        QVERIFY(texts(doc, 1).contains(u"个"_s));
        QVERIFY(texts(doc, 2).contains(u"002"_s));
        QVERIFY(texts(doc, 4).contains(u"003"_s));
    }

    // With no default printer, printing goes through the print dialog, where a PDF file is chosen.
    void printsThroughThePrintDialogWithoutDefaultPrinter()
    {
        platform::setPrintSurfaceFactory({});
        const QList<project::JobLine> lines = makeLines(3, true);
        const QString sheetsPdf = fx->dir->filePath(u"sheets.pdf"_s);
        const QString listPdf = fx->dir->filePath(u"list.pdf"_s);
        testfixture::printDialogsTo(fx->msgs, sheetsPdf);
        FrmGJB w(lines, 0, QString::number(job));
        click(&w, u"CmdPrintAll"_s);
        QVERIFY(fx->msgs->shown.isEmpty());
        QCOMPARE(fx->msgs->dialogNames, QStringList{u"printDialog"_s});

        testfixture::printDialogsTo(fx->msgs, listPdf);
        std::unique_ptr<SimpleBuyTable> t = buildSimpleBuyTable(lines, u"滨江花园"_s);
        QVERIFY(t);
        FrmEasyGJBReport preview(*t, QSizeF(11906, 16838));
        click(&preview, u"Command1"_s);
        QVERIFY(fx->msgs->shown.isEmpty());

        const auto sheetText = testfixture::pdfText(sheetsPdf);
        if (!sheetText)
            QSKIP("pdftotext is not installed");
        const QStringList pages = testfixture::pdfPages(*sheetText);
        QCOMPARE(pages.size(), 3); // one sheet per window
        QVERIFY2(pages.at(0).contains(u"工程名称"_s), qPrintable(pages.at(0)));
        QVERIFY(pages.at(2).contains(u"003"_s));
        const auto listText = testfixture::pdfText(listPdf);
        QVERIFY2(listText->contains(u"滨江花园"_s), qPrintable(*listText));
    }

    // A default printer that cannot be opened: the print dialog; cancelled there, the failure is told.
    void unopenablePrinterIsReported()
    {
        platform::setPrintSurfaceFactory({});
        const QString bad = fx->dir->filePath(u"missing/sheets.pdf"_s);
        fx->msgs->onDefaultPrinter = [bad](QPrinter *p) { return platform::printToPdf(p, bad); };
        FrmGJB w(makeLines(1), 0, QString::number(job));
        click(&w, u"CmdPrint"_s);
        QCOMPARE(fx->msgs->dialogNames, QStringList{u"printDialog"_s});
        QCOMPARE(fx->msgs->texts(), QStringList{u"打印出错！请检查打印机是否可用。"_s});
    }

    void unreadableSheetsAreReportedAndNotPrinted()
    {
        const QList<project::JobLine> lines = makeLines(2);
        FrmGJB w(lines, 0, QString::number(job));
        QVERIFY(typedata::run(u"DROP TABLE 窗配件"_s));
        w.Form_Activate();
        QCOMPARE(fx->msgs->shown.size(), 1);
        QVERIFY(fx->msgs->lastText().startsWith(u"读取构件表数据出错"_s));
        QVERIFY(listColumn(&w, 0).isEmpty());
        for (int i = 0; i < 9; ++i)
            QVERIFY(child<QLineEdit>(&w, u"Text1"_s + QString::number(i))->text().isEmpty());
        click(&w, u"CmdPrintAll"_s);
        QVERIFY(printed.isEmpty());
        QCOMPARE(fx->msgs->shown.size(), 2);
    }

    void everyRowOfALongSheetIsListed()
    {
        const QList<project::JobLine> lines = makeLines(1);
        for (int i = 0; i < 700; ++i)
            QVERIFY(typedata::run(u"INSERT INTO 窗型材 VALUES (40, ?, ?, 'XC', '1', 'B')"_s, {5000 + i, u"长%1"_s.arg(i)}));
        FrmGJB w(lines, 0, QString::number(job));
        w.Form_Activate();
        const QStringList names = listColumn(&w, 1);
        QCOMPARE(names.size(), 704);
        QCOMPARE(names.at(701), u"长699"_s);
        QCOMPARE(names.at(703), u"合页"_s);
    }

    void entryRefusesWithoutASelectedLine()
    {
        const QList<project::JobLine> lines = makeLines(2);
        const project::JobRef handed{QString::number(job), u"滨江花园"_s};
        sheets::ui::showComponentSheets(nullptr, handed, lines, -1);
        QCOMPARE(fx->msgs->texts(), QStringList{u"当前工程中没有可打印的门窗！"_s});
        QVERIFY(fx->msgs->dialogNames.isEmpty());

        QString page, jobName;
        fx->msgs->onDialog = [&page, &jobName](QDialog *d) {
            page = d->findChild<QLabel *>(u"txtPage"_s)->text();
            qobject_cast<FrmGJB *>(d)->Form_Activate();
            jobName = d->findChild<QLineEdit *>(u"Text10"_s)->text();
            return int(QDialog::Rejected);
        };
        sheets::ui::showComponentSheets(nullptr, handed, lines, 1);
        QCOMPARE(fx->msgs->dialogNames, QStringList{u"FrmGJB"_s});
        QCOMPARE(page, u"共2页第2页"_s);
        // The sheet is that of the handed job.
        QCOMPARE(jobName, u"滨江花园"_s);
    }

    void previewPaging_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("steps"); // button clicked, then caption, Prev, Next enabled
        QTest::newRow("one page") << 5 << QStringList{u"-|共一页|0|0"_s};
        QTest::newRow("two pages") << 30
                                   << QStringList{u"-|共2页第1页|0|1"_s, u"CmdNext|共2页第2页|1|0"_s,
                                                  u"CmdPrev|共2页第1页|0|1"_s};
        QTest::newRow("three pages") << 40
                                     << QStringList{u"-|共3页第1页|0|1"_s, u"CmdNext|共3页第2页|0|1"_s,
                                                    u"CmdNext|共3页第3页|1|0"_s, u"CmdPrev|共3页第2页|1|0"_s,
                                                    u"CmdPrev|共3页第1页|0|1"_s};
    }
    void previewPaging()
    {
        QFETCH(int, rows);
        QFETCH(QStringList, steps);
        SimpleBuyTable t;
        for (int i = 1; i <= rows; ++i) {
            SimpleBuyInput in;
            in.record[0] = u"S%1"_s.arg(i);
            in.typeKey = u"1"_s;
            t.AddRecord(in);
        }
        t.AddRecordEnd();
        FrmEasyGJBReport w(t, QSizeF(11906, 16838));
        QCOMPARE(w.windowTitle(), u"预览简表"_s);
        for (const QString &step : steps) {
            const QStringList s = step.split(u'|');
            if (s[0] != u"-"_s)
                click(&w, s[0]);
            QCOMPARE(child<QLineEdit>(&w, u"txtPage"_s)->text(), s[1]);
            QCOMPARE(enabled(&w, u"CmdPrev"_s), s[2] == u"1"_s);
            QCOMPARE(enabled(&w, u"CmdNext"_s), s[3] == u"1"_s);
        }
    }

    void previewOfAnEmptyListClosesItself()
    {
        SimpleBuyTable t;
        t.AddRecordEnd();
        FrmEasyGJBReport w(t, QSizeF(11906, 16838));
        QCOMPARE(child<QLineEdit>(&w, u"txtPage"_s)->text(), u"共零页"_s);
        QVERIFY(!enabled(&w, u"CmdPrev"_s));
        QVERIFY(!enabled(&w, u"CmdNext"_s));
        w.show();
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    }

    void previewPrintsThePageShownAndScrolls()
    {
        SimpleBuyTable t;
        for (int i = 1; i <= 30; ++i) {
            SimpleBuyInput in;
            in.record[0] = u"S%1"_s.arg(i);
            in.typeKey = u"1"_s;
            t.AddRecord(in);
        }
        t.AddRecordEnd();
        FrmEasyGJBReport w(t, QSizeF(11906, 16838));
        auto *hs = child<QScrollBar>(&w, u"HS"_s);
        auto *vs = child<QScrollBar>(&w, u"VS"_s);
        QCOMPARE(hs->maximum(), 371);
        QCOMPARE(hs->singleStep(), 12);
        QCOMPARE(hs->pageStep(), 25);
        QCOMPARE(vs->maximum(), 9143);
        auto *pic = child<platform::WidgetSurface>(&w, u"PicGJB"_s);
        QCOMPARE(pic->geometry().width(), 794);
        vs->setValue(1500);
        QCOMPARE(pic->y(), -100);

        click(&w, u"CmdNext"_s);
        click(&w, u"CmdPrint"_s);
        QCOMPARE(printed.size(), 1);
        QVERIFY(texts(*printed[0]).contains(u"S19"_s));
        QVERIFY(!texts(*printed[0]).contains(u"S1"_s));
        QCOMPARE(printed[0]->count(platform::SurfaceOp::EndDocument), 1);
        click(&w, u"Command1"_s);
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[1]->pageCount(), 2);
        QCOMPARE(printed[1]->count(platform::SurfaceOp::EndDocument), 1);
    }

    void cutListEntry()
    {
        QList<project::JobLine> lines = makeLines(2, false);
        const project::JobLine combined =
            sheetdata::addCombined(job, 900, projectdata::fields(u"Z"_s), {}, {{40, u"内开窗10"_s, {}, 1}});
        QString shownPage;
        fx->msgs->onDialog = [&shownPage](QDialog *d) {
            shownPage = d->findChild<QLineEdit *>(u"txtPage"_s)->text();
            return int(QDialog::Rejected);
        };
        sheets::ui::showSimpleCutList(nullptr, {combined}, u"滨江花园"_s);
        QCOMPARE(fx->msgs->texts(), QStringList{u"无可购件数据！"_s});
        QVERIFY(fx->msgs->dialogNames.isEmpty());

        sheets::ui::showSimpleCutList(nullptr, lines, u"滨江花园"_s);
        QCOMPARE(fx->msgs->dialogNames, QStringList{u"FrmEasyGJBReport"_s});
        QCOMPARE(shownPage, u"共一页"_s);

        QVERIFY(typedata::run(u"DROP TABLE 窗型材"_s));
        sheets::ui::showSimpleCutList(nullptr, lines, u"滨江花园"_s);
        QVERIFY(fx->msgs->lastText().startsWith(u"读取构件简表数据出错"_s));
        QCOMPARE(fx->msgs->dialogNames.size(), 1);
    }
};

QTEST_MAIN(TestSheetWindows)
#include "tst_sheetwindows.moc"
