#include "pagecheck.h"
#include "platform/faces.h"
#include "platform/report.h"
#include "platform/reportview.h"
#include "platform/scriptedmessages.h"

#include <QDialog>
#include <QFile>
#include <QFontInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using namespace platform;

Q_DECLARE_METATYPE(QList<platform::SurfaceOp>)

class TstReport : public QObject
{
    Q_OBJECT
private slots:
    void shortReportIsOnePage();
    void longTableBreaksAndRepeatsItsTitles();
    void pdfCarriesTheChineseText();
    void previewGoesThroughTheSeam();
    void checkerFindsFaults_data();
    void checkerFindsFaults();
    void wideDataKeepsToCellsAndPage_data();
    void wideDataKeepsToCellsAndPage();
    void patternWrapsAfterPlus();
    void textWithoutBreakPointIsDrawnSmaller();
    void bandFieldsKeepToTheirBoxes();
    void namedFacesPrintInInstalledFonts_data();
    void namedFacesPrintInInstalledFonts();

private:
    static Report sample(int rows)
    {
        Report r;
        r.title = u"入库单"_s;
        r.blocks << ReportBlock::line(u"单据编号: 7"_s) << ReportBlock::spacer(2);
        QList<QStringList> body;
        for (int i = 1; i <= rows; ++i)
            body << QStringList{QString::number(i), u"塑钢型材"_s, u"6000"_s};
        r.blocks << ReportBlock::table({{u"序号"_s, 1}, {u"名称"_s, 3}, {u"长度"_s, 1, Qt::AlignRight}}, body);
        r.blocks << ReportBlock::line(u"合计: %1"_s.arg(rows), Qt::AlignRight);
        return r;
    }
};

void TstReport::shortReportIsOnePage()
{
    const auto pages = reportPageTexts(sample(3));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0].first(), u"入库单"_s);
    QVERIFY(pages[0].contains(u"合计: 3"_s));
    QCOMPARE(pages[0].last(), u"第 1 页 共 1 页"_s);
}

void TstReport::longTableBreaksAndRepeatsItsTitles()
{
    const auto pages = reportPageTexts(sample(200));
    QVERIFY(pages.size() > 2);
    int rowsSeen = 0;
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(pages[p].contains(u"序号"_s), qPrintable(QString::number(p)));
        QCOMPARE(pages[p].last(), u"第 %1 页 共 %2 页"_s.arg(p + 1).arg(pages.size()));
        rowsSeen += int(pages[p].count(u"塑钢型材"_s));
    }
    QCOMPARE(rowsSeen, 200); // no row lost or doubled at a page break
    QVERIFY(pages.last().contains(u"合计: 200"_s));
}

void TstReport::pdfCarriesTheChineseText()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"r.pdf"_s);
    QString err;
    QVERIFY2(writeReportPdf(sample(5), path, &err), qPrintable(err));
    QVERIFY(QFile(path).size() > 0);
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext is not installed");
    QProcess p;
    p.start(u"pdftotext"_s, {path, u"-"_s});
    QVERIFY(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(u"入库单"_s), qPrintable(text));
    QVERIFY(text.contains(u"塑钢型材"_s));
    QVERIFY(!writeReportPdf(sample(1), dir.filePath(u"missing/r.pdf"_s), &err));
}

void TstReport::previewGoesThroughTheSeam()
{
    ScriptedMessages *msgs = installScriptedMessages();
    QString caption;
    msgs->onDialog = [&caption](QDialog *d) {
        caption = d->windowTitle();
        return int(QDialog::Rejected);
    };
    previewReport(nullptr, sample(2), u"入库单报表"_s);
    QCOMPARE(msgs->dialogNames, QStringList{u"reportPreview"_s});
    QCOMPARE(caption, u"入库单报表"_s);
}

namespace {
SurfaceOp textAt(const QString &text, QPointF at, QSizeF extent, int page = 0)
{
    SurfaceOp op;
    op.kind = SurfaceOp::Text;
    op.a = op.b = at;
    op.text = text;
    op.extent = extent;
    op.page = page;
    return op;
}

SurfaceOp boxAt(QPointF a, QPointF b)
{
    SurfaceOp op;
    op.kind = SurfaceOp::Box;
    op.a = a;
    op.b = b;
    return op;
}

// Twips from the sheet's corner, well inside the 6 mm edge (340 twips).
constexpr double kIn = 1000;
} // namespace

// The checker is what proves the printed pages: it must see each kind of fault.
void TstReport::checkerFindsFaults_data()
{
    QTest::addColumn<QList<SurfaceOp>>("ops");
    QTest::addColumn<QString>("fault"); // empty: a sound page

    const SurfaceOp cell = boxAt({kIn, kIn}, {kIn + 2000, kIn + 400});
    QTest::newRow("sound cell") << QList<SurfaceOp>{cell, textAt(u"540"_s, {kIn + 100, kIn + 50}, {900, 300})}
                                << QString();
    QTest::newRow("touching texts") << QList<SurfaceOp>{textAt(u"a"_s, {kIn, kIn}, {500, 300}),
                                                        textAt(u"b"_s, {kIn + 500, kIn}, {500, 300}),
                                                        textAt(u"c"_s, {kIn, kIn + 300}, {500, 300})}
                                    << QString();
    QTest::newRow("overlapping texts") << QList<SurfaceOp>{textAt(u"5+9+5中空玻璃"_s, {kIn, kIn}, {1500, 300}),
                                                           textAt(u"540"_s, {kIn + 1200, kIn}, {450, 300})}
                                       << u"overlaps"_s;
    QTest::newRow("same text place on other pages") << QList<SurfaceOp>{textAt(u"a"_s, {kIn, kIn}, {500, 300}, 0),
                                                                        textAt(u"b"_s, {kIn, kIn}, {500, 300}, 1)}
                                                    << QString();
    QTest::newRow("text past its cell's right wall")
        << QList<SurfaceOp>{cell, boxAt({kIn + 2000, kIn}, {kIn + 3000, kIn + 400}),
                            textAt(u"5+9+5中空玻璃"_s, {kIn + 100, kIn + 50}, {2400, 300})}
        << u"out of its cell"_s;
    QTest::newRow("right-aligned text past its left wall")
        << QList<SurfaceOp>{cell, boxAt({kIn + 2000, kIn}, {kIn + 3000, kIn + 400}),
                            textAt(u"123456"_s, {kIn + 1800, kIn + 50}, {1100, 300})}
        << u"out of its cell"_s;
    QTest::newRow("text below its row") << QList<SurfaceOp>{cell, textAt(u"x"_s, {kIn + 100, kIn + 200}, {300, 300})}
                                        << u"out of its cell"_s;
    QTest::newRow("text within 6 mm of the left edge")
        << QList<SurfaceOp>{textAt(u"供方："_s, {200, kIn}, {600, 300})} << u"off the page"_s;
    QTest::newRow("text past the right edge")
        << QList<SurfaceOp>{textAt(u"实际需求量"_s, {a4Twips(QPageLayout::Portrait).width() - 800, kIn}, {1500, 300})} << u"off the page"_s;
    QTest::newRow("frame within 6 mm of the top") << QList<SurfaceOp>{boxAt({kIn, 100}, {kIn + 500, 900})}
                                                  << u"edge"_s;
}

void TstReport::checkerFindsFaults()
{
    QFETCH(QList<SurfaceOp>, ops);
    QFETCH(QString, fault);
    const QStringList faults = pagecheck::pageFaults(ops, a4Twips(QPageLayout::Portrait));
    if (fault.isEmpty())
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
    else
        QVERIFY2(faults.size() == 1 && faults.first().contains(fault), pagecheck::summary(faults));
}

namespace {
// A cutting pattern of `entries` three-digit lengths, as scheme two writes it.
QString pattern(int entries)
{
    QStringList parts;
    for (int i = 0; i < entries; ++i)
        parts << QString::number(395 - 7 * i);
    return parts.join(u'+') + u"*2"_s;
}

Report planLike(const QString &name, const QString &cut)
{
    Report r;
    r.pageHeader << ReportBlock::line(u"材料优化表"_s, Qt::AlignHCenter, 16, true);
    r.pageFooter = u"2026年12月10日  14:05"_s;
    QList<QStringList> rows;
    for (int i = 0; i < 30; ++i)
        rows << QStringList{name, cut, u"99.87"_s, u"12"_s, u"3"_s, QString()};
    r.blocks << ReportBlock::table({{u"材料名称"_s, 2},
                                    {u"切割规格"_s, 4},
                                    {u"优化比率"_s, 1.5, Qt::AlignRight},
                                    {u"剩余料长"_s, 1.2, Qt::AlignRight},
                                    {u"数量"_s, 1, Qt::AlignRight},
                                    {u"实际需求量"_s, 1.5}},
                                   rows);
    return r;
}
} // namespace

void TstReport::wideDataKeepsToCellsAndPage_data()
{
    QTest::addColumn<Report>("report");
    const QString name60 = QString(u"5+9+5中空钢化玻璃"_s).repeated(6).left(60);
    QTest::newRow("16-entry pattern") << planLike(u"塑钢型材"_s, pattern(16));
    QTest::newRow("20-entry pattern and 60-character name") << planLike(name60, pattern(20));
    QTest::newRow("60-character name without break points") << planLike(QString(60, u'X'), pattern(5));

    // Fourteen columns of long numbers: their pieces alone are wider than the page.
    QList<ReportColumn> columns;
    QStringList row;
    for (int i = 0; i < 14; ++i) {
        columns << ReportColumn{u"金额%1"_s.arg(i), 1, Qt::AlignRight};
        row << u"1234567890.25"_s;
    }
    Report numbers;
    numbers.blocks << ReportBlock::table(columns, {row, row});
    QTest::newRow("columns wider than the page") << numbers;
    numbers.orientation = QPageLayout::Landscape;
    QTest::newRow("landscape") << numbers;

    Report grouped;
    grouped.title = name60;
    grouped.pageFooter = name60;
    ReportBlock table = ReportBlock::table({{u"编号"_s, 0.6}, {u"门窗类型"_s, 1.5}, {u"宽mm"_s, 0.8, Qt::AlignRight},
                                            {u"高mm"_s, 0.8, Qt::AlignRight}, {u"金额(元)"_s, 1.1, Qt::AlignRight}},
                                           {{u"1"_s, name60, u"1500"_s, u"1800"_s, u"2400.50"_s},
                                            {u"合       计："_s, QString(), QString(), QString(), u"2400.50"_s}});
    table.groups << ReportColumnGroup{2, 2, u"门窗尺寸"_s};
    table.firstCellSpans.insert(1, 4);
    grouped.blocks << table << ReportBlock::line(name60.repeated(3));
    QTest::newRow("groups, spans, long title and footer") << grouped;
}

void TstReport::wideDataKeepsToCellsAndPage()
{
    QFETCH(Report, report);
    const RecordingSurface s = pagecheck::onPaper(report);
    const QStringList faults = pagecheck::pageFaults(s.ops, a4Twips(report.orientation));
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
    // Wrapped, never cut: every cell's text is printed whole.
    const QString all = pagecheck::printedText(s);
    for (const ReportBlock &b : report.blocks)
        for (const QStringList &row : b.rows)
            for (const QString &cell : row)
                QVERIFY2(all.contains(QString(cell).remove(u' ')), qPrintable(cell));
}

void TstReport::patternWrapsAfterPlus()
{
    const QString cut = pattern(20);
    const Report r = planLike(u"塑钢型材"_s, cut);
    const RecordingSurface s = pagecheck::onPaper(r);
    QStringList lines;
    for (const SurfaceOp &op : s.texts(0))
        if (cut.startsWith(op.text) || (!lines.isEmpty() && cut.contains(lines.join(QString()) + op.text))) {
            lines << op.text;
            if (lines.join(QString()) == cut)
                break;
        }
    QCOMPARE(lines.join(QString()), cut);
    QVERIFY(lines.size() > 1);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        QVERIFY2(lines[i].endsWith(u'+'), qPrintable(lines[i]));
    // Wrapped at the body size, not drawn smaller.
    for (const SurfaceOp &op : s.texts(0))
        if (op.text == lines.first())
            QCOMPARE(op.font.pointSizeF(), r.bodyPointSize);
}

void TstReport::textWithoutBreakPointIsDrawnSmaller()
{
    const QString code = QString(u"0123456789"_s).repeated(14);
    Report r;
    r.blocks << ReportBlock::table({{u"编号"_s, 1}, {u"代码"_s, 1}, {u"名称"_s, 1}},
                                   {{u"1"_s, code, u"塑钢型材"_s}});
    const RecordingSurface s = pagecheck::onPaper(r);
    bool found = false;
    for (const SurfaceOp &op : s.texts())
        if (op.text == code) {
            found = true;
            QVERIFY(op.font.pointSizeF() < r.bodyPointSize);
        } else if (op.text == u"塑钢型材"_s) {
            QCOMPARE(op.font.pointSizeF(), r.bodyPointSize);
        }
    QVERIFY2(found, "the code is printed on one line");
    const QStringList faults = pagecheck::pageFaults(s.ops, a4Twips(r.orientation));
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
}

void TstReport::bandFieldsKeepToTheirBoxes()
{
    Report r;
    r.marginMm = 25.4;
    r.pageNumbers = false;
    const QList<ReportField> fields = {
        {QRectF(1, 5, 50, 7), u"供方：塑钢门窗制造有限公司第二分公司驻城东办事处门市部"_s},
        {QRectF(60, 5, 50, 15), QString(u"质量要求及技术标准，"_s).repeated(12)},
        {QRectF(1, 30, 100, 10), u"A-0123456789-0123456789-0123456789-0123456789-0123456789"_s, Qt::AlignHCenter},
        {QRectF(1, 45, 100, 10), u"短"_s, Qt::AlignRight, 20},
    };
    r.blocks << ReportBlock::band(60, fields);
    const RecordingSurface s = pagecheck::onPaper(r);
    const double margin = 25.4 * 1440 / 25.4;
    for (const SurfaceOp &op : s.texts()) {
        const auto owner = std::find_if(fields.begin(), fields.end(), [&](const ReportField &f) {
            const QRectF box(f.rectMm.topLeft() * 1440 / 25.4 + QPointF(margin, margin), f.rectMm.size() * 1440 / 25.4);
            return box.adjusted(-1, -1, 1, 1).contains(pagecheck::textBox(op));
        });
        QVERIFY2(owner != fields.end(), qPrintable(op.text));
    }
    QVERIFY(!pagecheck::printedText(s).contains(u"页"_s));
    QCOMPARE(s.pageCount(), 1);
    const QStringList faults = pagecheck::pageFaults(s.ops, a4Twips(r.orientation));
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
}

void TstReport::namedFacesPrintInInstalledFonts_data()
{
    QTest::addColumn<QString>("face");
    for (const QString &face : {u"宋体"_s, u"隶书"_s, u"楷体"_s, u"黑体"_s})
        QTest::newRow(qPrintable(face)) << face;
}

// A face the pages name resolves to an installed font of its own, not to the fallback sans face.
void TstReport::namedFacesPrintInInstalledFonts()
{
    QFETCH(QString, face);
    const QString family = installedFamily(face);
    QVERIFY(family != face);
    QCOMPARE(QFontInfo(faceFont(face, 12)).family(), family);
}

QTEST_MAIN(TstReport)
#include "tst_report.moc"
