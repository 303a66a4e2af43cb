// Printing of the two-step check on a recording surface: page layout, line positions, page breaks
// with their footers, the cover page, and the cover texts in the settings store.
#include "../platform/pagecheck.h"
#include "windcheck/fullcheck.h"
#include "windcheck/fyprint.h"
#include "platform/settings.h"
#include "platform/surface_recording.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;
using platform::RecordingSurface;
using platform::SurfaceOp;

namespace {

FYState numberedReport()
{
    FYState s;
    for (int i = 1; i <= kLastReportLine; ++i)
        s.FYReport[i] = u"L"_s + QString::number(i);
    s.FYReport[10] = u"L10"_s + FYCrLf;
    return s;
}

QStringList footers(const RecordingSurface &surface)
{
    QStringList out;
    for (const SurfaceOp &op : surface.texts())
        if (op.text.startsWith(u"页:/"_s))
            out << op.text;
    return out;
}

const SurfaceOp *findText(const RecordingSurface &surface, const QString &text)
{
    for (const SurfaceOp &op : surface.ops)
        if (op.kind == SurfaceOp::Text && op.text == text)
            return &op;
    return nullptr;
}

} // namespace

class TstFyPrint : public QObject
{
    Q_OBJECT
private slots:
    void spaceOut_data();
    void spaceOut();
    void dateText();
    void coverSettingsRoundTrip();
    void layoutFromPage();
    void reportLinesAndFooters();
    void lineReachingBottomGoesToNextPage();
    void lastLineNeverOverprintsFooter();
    void coverPage();
    void coverKeepsDateOnShortPage();
    void coverThenReportUsesSizeNine();
    void longTextsKeepToA4_data();
    void longTextsKeepToA4();
};

void TstFyPrint::spaceOut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spaced");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one character") << u"工"_s << u"工"_s;
    QTest::newRow("three characters") << u"ABC"_s << u"A B C"_s;
    QTest::newRow("chinese") << u"阳光小区"_s << u"阳 光 小 区"_s;
}

void TstFyPrint::spaceOut()
{
    QFETCH(QString, text);
    QFETCH(QString, spaced);
    QCOMPARE(SpaceOutText(text), spaced);
}

void TstFyPrint::dateText()
{
    QCOMPARE(coverDateText(QDate(2026, 1, 5)), u"2026年1月5日"_s);
    QCOMPARE(coverDateText(QDate(2026, 12, 10)), u"2026年12月10日"_s);
}

void TstFyPrint::coverSettingsRoundTrip()
{
    QTemporaryDir dir;
    platform::SettingsStore::useFile(dir.filePath(u"settings.ini"_s));
    const CoverSettings empty = LoadCoverSettings();
    QVERIFY(empty.gcmc.isEmpty() && empty.jh.isEmpty() && empty.sh.isEmpty() && empty.jhdw.isEmpty());
    SaveCoverSettings({u"阳光小区"_s, u"张工"_s, u"李工"_s, u"质检站"_s});
    QCOMPARE(platform::SettingsStore::get(u"FM"_s, u"JHDW"_s, QString()), u"质检站"_s);
    const CoverSettings back = LoadCoverSettings();
    QCOMPARE(back.gcmc, u"阳光小区"_s);
    QCOMPARE(back.jh, u"张工"_s);
    QCOMPARE(back.sh, u"李工"_s);
    QCOMPARE(back.jhdw, u"质检站"_s);
}

void TstFyPrint::layoutFromPage()
{
    const PrintLayout a4 = printLayoutFor(11906, 16838);
    QCOMPARE(a4.left, 1488);
    QCOMPARE(a4.top, 1052);
    QCOMPARE(a4.bottom, 16838 - 1870);
    RecordingSurface s(9000, 4800, 240);
    QCOMPARE(reportLineStep(s), 320);
}

void TstFyPrint::reportLinesAndFooters()
{
    RecordingSurface s(9000, 4800, 240); // top 300, bottom 4267, step 320: 13 lines a page
    const FYState state = numberedReport();
    const int pages = PrintReportLine(s, state, 9.2);
    QCOMPARE(s.font().pointSizeF(), 9.2);
    // 216 lines at 13 a page fill 16 pages and 8 lines of the 17th; line 217 follows on it.
    QCOMPARE(pages, 17);
    QCOMPARE(s.pageCount(), 17);
    QCOMPARE(s.count(SurfaceOp::EndDocument), 1);
    QStringList expected;
    for (int p = 1; p <= 17; ++p)
        expected << u"页:/ "_s + QString::number(p) + u"/"_s;
    QCOMPARE(footers(s), expected);
    const SurfaceOp *first = findText(s, u"L1"_s);
    QVERIFY(first);
    QCOMPARE(first->a, QPointF(1125, 300));
    QCOMPARE(first->page, 0);
    QCOMPARE(findText(s, u"L13"_s)->a.y(), 300.0 + 12 * 320);
    QCOMPARE(findText(s, u"L14"_s)->page, 1);
    QCOMPARE(findText(s, u"L14"_s)->a.y(), 300.0);
    // Line 10's own line break is not printed.
    QVERIFY(findText(s, u"L10"_s));
    // The last line stands one empty step below line 216.
    const SurfaceOp *l216 = findText(s, u"L216"_s);
    const SurfaceOp *l217 = findText(s, u"L217"_s);
    QCOMPARE(l217->page, l216->page);
    QCOMPARE(l217->a.y(), l216->a.y() + 2 * 320);
    // Footers at the middle of the page, below the bottom limit.
    const QList<SurfaceOp> texts = s.texts(0);
    const auto footer = std::find_if(texts.begin(), texts.end(),
                                     [](const SurfaceOp &op) { return op.text.startsWith(u"页:/"_s); });
    QCOMPARE(footer->a, QPointF(4500, 240 + 4267));
}

void TstFyPrint::lineReachingBottomGoesToNextPage()
{
    RecordingSurface s(9000, 3097, 240); // top 193, bottom 2753 = top + 8 steps
    PrintReportLine(s, numberedReport(), 9.2);
    QCOMPARE(findText(s, u"L8"_s)->page, 0);
    QCOMPARE(findText(s, u"L8"_s)->a.y(), 193.0 + 7 * 320);
    QCOMPARE(findText(s, u"L9"_s)->page, 1);
    QCOMPARE(findText(s, u"L9"_s)->a.y(), 193.0);
}

void TstFyPrint::lastLineNeverOverprintsFooter()
{
    // 216 lines fill exactly 27 pages of 8: the last line and its step start page 28.
    RecordingSurface s(9000, 3097, 240);
    const int pages = PrintReportLine(s, numberedReport(), 9.2);
    QCOMPARE(pages, 28);
    const SurfaceOp *last = findText(s, u"L217"_s);
    QCOMPARE(last->page, 27);
    QCOMPARE(last->a.y(), 193.0 + 320);
    QCOMPARE(footers(s).constLast(), u"页:/ 28/"_s);
    QCOMPARE(footers(s).size(), 28);
}

void TstFyPrint::coverPage()
{
    RecordingSurface s(9000, 12000, 240);
    FYState state;
    PrintCoverPage(s, {u"阳光小区"_s, u"张工"_s, u"李工"_s, u"质检站"_s}, QDate(2026, 12, 10), state);
    const QList<SurfaceOp> texts = s.texts();
    QCOMPARE(texts.size(), 1 + 6 + 4);
    // Four characters 120 wide and three gaps of 120: centred at (9000 - 840) / 2.
    QCOMPARE(texts[0].text, u"阳 光 小 区"_s);
    QCOMPARE(texts[0].a, QPointF(4080, 1000));
    const QStringList title = {u"门"_s, u"窗"_s, u"校"_s, u"核"_s, u"报"_s, u"告"_s};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(texts[1 + i].text, title[i]);
        QCOMPARE(texts[1 + i].a, QPointF(4440, 1000 + 720 + i * 720));
    }
    const double signY = 1000 + 720 + 6 * 720;
    QCOMPARE(texts[7].text, u"校       核：张工"_s);
    QCOMPARE(texts[7].a, QPointF(4080, signY));
    QCOMPARE(texts[8].text, u"审       核：李工"_s);
    QCOMPARE(texts[9].text, u"校 核 单 位：质检站"_s);
    QCOMPARE(texts[10].text, u"校 核 日 期：2026年12月10日"_s);
    QCOMPARE(texts[10].a, QPointF(4080, signY + 3 * 480));
    QCOMPARE(s.count(SurfaceOp::EndDocument), 1);
    QCOMPARE(s.font().pointSizeF(), 9.0);
}

void TstFyPrint::coverKeepsDateOnShortPage()
{
    RecordingSurface s(9000, 6000, 240); // the title at its usual spacing would end below the page
    FYState state;
    PrintCoverPage(s, {u"阳光小区"_s, u"张工"_s, u"李工"_s, u"质检站"_s}, QDate(2026, 12, 10), state);
    const QList<SurfaceOp> texts = s.texts();
    QCOMPARE(texts.size(), 11);
    QCOMPARE(s.pageCount(), 1);
    const double titleTop = 500 + 720;
    QCOMPARE(texts[1].a.y(), titleTop);
    const double step = texts[2].a.y() - texts[1].a.y();
    QCOMPARE(step, 433.0); // (6000 - 500 - 1220 - 3 * 480 - 240) / 6, whole
    QVERIFY(texts[10].a.y() + 240 <= 6000 - 500);
}

void TstFyPrint::coverThenReportUsesSizeNine()
{
    FYState state = numberedReport();
    QCOMPARE(state.printFontSize, kReportFontSize);
    RecordingSurface cover;
    PrintCoverPage(cover, {}, QDate(2026, 12, 10), state);
    QCOMPARE(state.printFontSize, 9.0);
    // Empty cover texts: the name prints as nothing, the signature lines keep their labels.
    QCOMPARE(cover.texts().at(0).text, QString());
    QCOMPARE(cover.texts().at(7).text, u"校       核："_s);
}

void TstFyPrint::longTextsKeepToA4_data()
{
    QTest::addColumn<bool>("cover");
    QTest::newRow("cover") << true;
    QTest::newRow("report") << false;
}

// On a sheet of A4, measured in the print font: a long project name and checking unit stay on the
// page, 6 mm or more from each edge, drawn smaller where they must be, and nothing overprints.
void TstFyPrint::longTextsKeepToA4()
{
    QFETCH(bool, cover);
    const QString project = u"滨江花园二期十二号楼至十八号楼及地下车库门窗工程"_s;
    const QSizeF a4 = platform::a4Twips(QPageLayout::Portrait);
    RecordingSurface s = RecordingSurface::paper(a4.width(), a4.height());
    s.setFont(QFont(u"WenQuanYi Micro Hei"_s, 9));
    FYState state = numberedReport();
    if (cover) {
        PrintCoverPage(s, {project, u"张工"_s, u"李工"_s, project + u"质量检测中心"_s}, QDate(2026, 12, 10), state);
    } else {
        state.FYReport[3] = u"    一、工程名称："_s + project + project;
        PrintReportLine(s, state, kReportFontSize);
    }
    const QStringList faults = pagecheck::pageFaults(s.ops, a4);
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults).constData());
    const QString printed = pagecheck::printedText(s);
    QVERIFY(printed.contains(cover ? project + u"质量检测中心"_s : project + project));
}

QTEST_MAIN(TstFyPrint) // the A4 checks measure texts in their font
#include "tst_fyprint.moc"
