// The component sheet's page: its coordinates and paging on the recording surface, the screen
// picture, a sheet whose drawing cannot be read, and one page printed to PDF and read back with
// pdftotext.
#include "sheetdata.h"
#include "../platform/pagecheck.h"

#include "platform/surface_printer.h"
#include "platform/surface_recording.h"
#include "sheets/componentsheet.h"
#include "sheets/sheetpage.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace sheets;
using platform::RecordingSurface;
using platform::SurfaceOp;

namespace {
bool near(QPointF a, QPointF b) { return std::abs(a.x() - b.x()) <= 0.01 && std::abs(a.y() - b.y()) <= 0.01; }

QStringList head()
{
    return {u"阳光小区"_s, u"建一公司"_s, u"TC1"_s, u"HT-01"_s, u"7"_s, u"1500×1800"_s,
            u"4"_s,       u"张工"_s,     u"2024-05-01"_s, u"备注"_s, u"李工"_s, u"王工"_s};
}

// Rows 1..n, cell (r, c) reads "r.c".
QList<QStringList> rows(int n)
{
    QList<QStringList> out;
    for (int r = 1; r <= n; ++r) {
        QStringList row;
        for (int c = 1; c <= 5; ++c)
            row << u"%1.%2"_s.arg(r).arg(c);
        out << row;
    }
    return out;
}

const SurfaceOp *findText(const RecordingSurface &s, const QString &text)
{
    for (const SurfaceOp &op : s.ops)
        if (op.kind == SurfaceOp::Text && op.text == text)
            return &op;
    return nullptr;
}

bool hasLine(const RecordingSurface &s, QLineF l, int page = -1)
{
    for (const QLineF &x : s.lines(page))
        if (near(x.p1(), l.p1()) && near(x.p2(), l.p2()))
            return true;
    return false;
}
} // namespace

class TstSheetPage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void firstPageLayout();
    void titleBlock_data();
    void titleBlock();
    void tableRows_data();
    void tableRows();
    void paging_data();
    void paging();
    void emptyCellsAndFreeTexts();
    void makerLine();
    void unreadableDrawingPrintsNothing();
    void screenPicture();
    void longValuesKeepToTheirCells_data();
    void longValuesKeepToTheirCells();
    void sheetToPdf();

private:
    // The page of rowCount rows with the values 0..iCount over library drawing 1.
    RecordingSurface sheet(int rowCount, const QList<float> &xi = {}, const QList<float> &yi = {},
                           const QStringList &sChar = {}, int iCount = -1, const QString &maker = {});
    std::unique_ptr<testfixture::DataFolder> m_fx;
    std::shared_ptr<const drawing::DrawingLists> m_drawing;
};

void TstSheetPage::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    drawing::CPictire pic;
    pic.AddLine({0, 0}, {9495, 7935});
    pic.AddString({4000, 100}, u"B"_s);
    QVERIFY(pic.SaveFileEx(u"1"_s));
    m_drawing = drawing::loadLibraryDrawing(u"1"_s);
    QVERIFY(m_drawing);
}

RecordingSurface TstSheetPage::sheet(int rowCount, const QList<float> &xi, const QList<float> &yi,
                                     const QStringList &sChar, int iCount, const QString &maker)
{
    RecordingSurface s(11000, 15000, 180); // texts as high as 9-point print, so that each fits its cell
    QList<PlacedText> values;
    for (int i = 0; i <= iCount; ++i)
        values << PlacedText{QPointF(xi.value(i), yi.value(i)), sChar.value(i)};
    printSheetPage(s, {head(), rows(rowCount), values, m_drawing.get(), maker});
    return s;
}

void TstSheetPage::firstPageLayout()
{
    const RecordingSurface s = sheet(0);
    const QList<QLineF> lines = s.lines();
    // The drawing without its texts, stretched into (0, 1000)-(5500, 4917), comes first.
    QVERIFY(near(lines[0].p1(), {0, 1000}) && near(lines[0].p2(), {5500, 4917}));
    QVERIFY(!findText(s, u"B"_s));
    QCOMPARE(lines[1], QLineF(0, 1000, 11000, 1000));
    QCOMPARE(lines[2], QLineF(11000, 1000, 11000, 14710));
    QCOMPARE(lines[3], QLineF(11000, 14710, 0, 14710));
    QCOMPARE(lines[4], QLineF(0, 14710, 0, 1000));
    for (int i = 1; i <= 6; ++i)
        QVERIFY(hasLine(s, QLineF(5500, 1000 + i * 652.86, 11000, 1000 + i * 652.86)));
    for (int i = 0; i <= 23; ++i)
        QVERIFY(hasLine(s, QLineF(0, 5570 + i * 397.39, 11000, 5570 + i * 397.39)));
    QVERIFY(hasLine(s, QLineF(5500, 1000, 5500, 14710)));
    QVERIFY(hasLine(s, QLineF(6520.29, 1000, 6520.29, 5570)));
    QVERIFY(hasLine(s, QLineF(8250, 2958.57, 8250, 5570)));
    QVERIFY(hasLine(s, QLineF(9270.29, 2958.57, 9270.29, 5570)));
    for (double x : {2080.12, 3616.67, 4754.5, 6245.5, 567.71, 7383.33, 8919.88, 10432.29})
        QVERIFY(hasLine(s, QLineF(x, 5570, x, 14710)));
    QCOMPARE(lines.size(), 1 + 4 + 6 + 24 + 4 + 8);
    QCOMPARE(s.pageCount(), 1);
    QCOMPARE(s.count(SurfaceOp::EndDocument), 0); // the caller ends the document
}

void TstSheetPage::titleBlock_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPointF>("value");
    QTest::newRow("1") << 1 << u"工程名称"_s << QPointF(6620, 1200);
    QTest::newRow("2") << 2 << u"定货单位"_s << QPointF(6620, 1853);
    QTest::newRow("3") << 3 << u"图    名"_s << QPointF(6620, 2505.71);
    QTest::newRow("4") << 4 << u"合同编号"_s << QPointF(6620, 3158.57);
    QTest::newRow("5") << 5 << u"购件表号"_s << QPointF(9370.29, 3158.57);
    QTest::newRow("6") << 6 << u"制作尺寸"_s << QPointF(6620, 3811.43);
    QTest::newRow("7") << 7 << u"樘    数"_s << QPointF(9370.29, 3811.43);
    QTest::newRow("8") << 8 << u"设    计"_s << QPointF(6620, 4464.29);
    QTest::newRow("9") << 9 << u"日    期"_s << QPointF(9370.29, 4464.14);
    QTest::newRow("10") << 10 << QString() << QPointF(100, 5117.14);
    QTest::newRow("11") << 11 << u"审    核"_s << QPointF(6620, 5117.14);
    QTest::newRow("12") << 12 << u"校    对"_s << QPointF(9370.29, 5117.14);
}

void TstSheetPage::titleBlock()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QPointF, value);
    const RecordingSurface s = sheet(0);
    const SurfaceOp *v = findText(s, head().at(index - 1));
    QVERIFY(v);
    QVERIFY(near(v->a, value));
    if (!caption.isEmpty()) {
        const SurfaceOp *c = findText(s, caption);
        QVERIFY(c);
        QVERIFY(near(c->a, value - QPointF(1020, 0)));
    }
}

void TstSheetPage::tableRows_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QPointF>("at"); // x = -1: not printed
    QTest::newRow("first row, first column") << 23 << u"1.1"_s << QPointF(100, 5271.3 + 397.39);
    QTest::newRow("first row, last column") << 23 << u"1.5"_s << QPointF(4854.5, 5271.3 + 397.39);
    QTest::newRow("row 23") << 23 << u"23.2"_s << QPointF(667.71, 5271.3 + 23 * 397.39);
    QTest::newRow("row 24 beyond the count") << 23 << u"24.1"_s << QPointF(-1, 0);
    QTest::newRow("row 24 right half") << 46 << u"24.1"_s << QPointF(5600, 5271.3 + 397.39);
    QTest::newRow("row 46 right half") << 46 << u"46.5"_s << QPointF(10532.29, 5271.3 + 23 * 397.39);
    QTest::newRow("row 30 column 3") << 46 << u"30.3"_s << QPointF(7483.33, 5271.3 + 7 * 397.39);
}

void TstSheetPage::tableRows()
{
    QFETCH(int, rowCount);
    QFETCH(QString, cell);
    QFETCH(QPointF, at);
    const RecordingSurface s = sheet(rowCount);
    const SurfaceOp *t = findText(s, cell);
    if (at.x() < 0) {
        QVERIFY(!t);
        return;
    }
    QVERIFY(t);
    QCOMPARE(t->page, 0);
    QVERIFY(near(t->a, at));
}

void TstSheetPage::paging_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("page");
    QTest::addColumn<QPointF>("at");
    QTest::newRow("23 rows") << 23 << 1 << u"23.1"_s << 0 << QPointF(100, 5271.3 + 23 * 397.39);
    QTest::newRow("46 rows") << 46 << 1 << u"46.1"_s << 0 << QPointF(5600, 5271.3 + 23 * 397.39);
    QTest::newRow("47 rows") << 47 << 2 << u"47.1"_s << 1 << QPointF(100, 1100);
    QTest::newRow("row 79 ends the left half") << 112 << 2 << u"79.2"_s << 1 << QPointF(667.71, 1100 + 32 * 397.39);
    QTest::newRow("row 80 starts the right half") << 112 << 2 << u"80.1"_s << 1 << QPointF(5600, 1100);
    QTest::newRow("row 112 fills the page") << 112 << 2 << u"112.5"_s << 1 << QPointF(10532.29, 1100 + 32 * 397.39);
    QTest::newRow("row 113 on a third page") << 113 << 3 << u"113.1"_s << 2 << QPointF(100, 1100);
}

void TstSheetPage::paging()
{
    QFETCH(int, rowCount);
    QFETCH(int, pages);
    QFETCH(QString, cell);
    QFETCH(int, page);
    QFETCH(QPointF, at);
    const RecordingSurface s = sheet(rowCount);
    QCOMPARE(s.pageCount(), pages);
    const SurfaceOp *t = findText(s, cell);
    QVERIFY(t);
    QCOMPARE(t->page, page);
    QVERIFY(near(t->a, at));
    // Every continuation page has its grid: 34 rows and 11 columns, no frame, no title block.
    for (int p = 1; p < pages; ++p) {
        const QList<QLineF> lines = s.lines(p);
        QCOMPARE(lines.size(), 34 + 11);
        QVERIFY(hasLine(s, QLineF(0, 1000, 11000, 1000), p));
        QVERIFY(hasLine(s, QLineF(0, 14113.87, 11000, 14113.87), p));
        QVERIFY(hasLine(s, QLineF(567.71, 14113.87, 567.71, 1000), p));
        QVERIFY(hasLine(s, QLineF(11000, 14113.87, 11000, 1000), p));
        QCOMPARE(s.texts(p).size(), p < pages - 1 ? 66 * 5 : (rowCount - 46 - 66 * (p - 1)) * 5);
    }
}

void TstSheetPage::emptyCellsAndFreeTexts()
{
    RecordingSurface s(11000, 15000);
    QList<QStringList> t = rows(46);
    t[4][2].clear(); // row 5 column 3 empty
    printSheetPage(s, {head(), t,
                       {{{300, 600}, u"KH1"_s}, {{400, 700}, QString()}, {{500, 800}, u"B"_s}},
                       m_drawing.get(), {}});
    QVERIFY(!findText(s, u"5.3"_s));
    QVERIFY(findText(s, u"28.3"_s)); // 23 rows further on, right half
    QVERIFY(near(findText(s, u"KH1"_s)->a, {300, 600}));
    QVERIFY(near(findText(s, u"B"_s)->a, {500, 800}));
    int free = 0;
    for (const SurfaceOp &op : s.texts())
        free += op.text == u"KH1" || op.text == u"B";
    QCOMPARE(free, 2);

    // iCount -1 prints no free text.
    const RecordingSurface none = sheet(0, {300}, {600}, {u"KH1"_s}, -1);
    QVERIFY(!findText(none, u"KH1"_s));
}

void TstSheetPage::makerLine()
{
    const RecordingSurface bare = sheet(0);
    const SurfaceOp *m = findText(bare, u"制作单位："_s);
    QVERIFY(m);
    QCOMPARE(m->a, QPointF(500, 500));
    QVERIFY(findText(sheet(0, {}, {}, {}, -1, u"宏达门窗厂"_s), u"制作单位：宏达门窗厂"_s));
}

// A sheet built while its drawing cannot be read prints nothing and says why.
void TstSheetPage::unreadableDrawingPrintsNothing()
{
    QVERIFY(projectdata::fillLibrary());
    const qint64 job = sheetdata::addJob();
    const project::JobLine line = sheetdata::addPlain(job, 1, projectdata::fields(u"C"_s), {});
    const auto empty = drawing::loadLibraryDrawing(u"77"_s);
    QVERIFY(typedata::run(u"DROP TABLE \"Arc\""_s));
    const auto built = buildComponentSheet(line, 1, QString::number(job));
    QVERIFY(built);
    RecordingSurface s(11000, 15000);
    QString err;
    QVERIFY(!printSheet(*built, s, &err));
    QVERIFY(s.ops.isEmpty());
    QVERIFY(!err.isEmpty());
    // A number without rows prints the sheet with an empty drawing box.
    QVERIFY(empty);
    printSheetPage(s, {head(), rows(3), {}, empty.get(), {}});
    QCOMPARE(s.lines().constFirst(), QLineF(0, 1000, 11000, 1000));
}

void TstSheetPage::screenPicture()
{
    RecordingSurface s(11000, 15000);
    drawSheetScreenPicture(s, m_drawing.get(), {{{1000, 5000}, u"1500"_s}, {{2000, 5200}, QString()}});
    const QList<QLineF> lines = s.lines();
    QCOMPARE(lines.size(), 1);
    QVERIFY(near(lines[0].p1(), {0, 500}) && near(lines[0].p2(), {5000, 4917}));
    const QList<SurfaceOp> texts = s.texts();
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].text, u"1500"_s);
    QCOMPARE(texts[0].a, QPointF(1000, 5000));
    QCOMPARE(s.pageCount(), 1);
    QCOMPARE(s.count(SurfaceOp::EndDocument), 0);
}

void TstSheetPage::longValuesKeepToTheirCells_data()
{
    QTest::addColumn<int>("components");
    QTest::newRow("both halves of the first page") << 2;
    QTest::newRow("and a continuation page") << 3;
}

// A combined window whose bills carry long names, 规格 texts and panel names: on A4 every text
// stays in its cell and clear of every other, the page keeps 6 mm from each edge and is centred
// across it, and every long value still reads whole.
void TstSheetPage::longValuesKeepToTheirCells()
{
    QFETCH(int, components);
    QVERIFY(projectdata::fillLibrary());
    const QString panel60 = u"中空钢化Low-E镀膜玻璃(暖边间隔条,充氩气)外片6mm+内片5mm夹胶安全玻璃,按图纸尺寸现场复核无误之后方再行加工"_s;
    QCOMPARE(panel60.size(), 60);
    QList<sheetdata::BillLine> profiles;
    for (int i = 1; i <= 7; ++i)
        profiles << sheetdata::BillLine(u"内开扇中梃型材(加强型)%1"_s.arg(i), u"SG-80-%1 白色共挤"_s.arg(i), u"2"_s,
                                        u"B-120"_s);
    QVERIFY(sheetdata::addType(
        30, u"双扇平开窗"_s, 900, profiles, {{u"扇加强钢衬(镀锌)"_s, u"1.5×20×25方管"_s, u"2"_s, u"B-200"_s}},
        {{u"执手(七字型带锁)"_s, u"M4×25不锈钢自攻螺钉"_s, u"1"_s, u"个"_s},
         {u"五金传动器(多点锁)"_s, u"L=1200一体式"_s, u"1"_s, u"套"_s}},
        {{u"5+9+5中空玻璃"_s, QString(), u"1"_s, u"B-260"_s, u"B-170"_s},
         {panel60, QString(), u"1"_s, u"B-260"_s, u"B-170"_s}}));
    const qint64 job = sheetdata::addJob(u"HT-2026-00123"_s, u"滨江花园二期十二号楼至十八号楼及地下车库门窗工程"_s,
                                         u"滨江花园房地产开发有限公司第三项目部"_s);
    QList<sheetdata::Component> parts;
    for (int i = 1; i <= components; ++i)
        parts << sheetdata::Component{30, u"双扇平开窗%1"_s.arg(i), {{u"B"_s, u"800"_s, 0, 0}}, 1};
    const project::JobLine line = sheetdata::addCombined(
        job, 900, {u"组合窗ZC-12(带上亮及转角立柱)"_s, u"一层至十八层"_s, u"3600"_s, u"2100"_s, u"12"_s,
                   u"外墙窗,颜色按甲方确认的样板,玻璃厚度以计算书为准"_s},
        {{u"B"_s, u"3600"_s, 2000, 3000}, {u"H"_s, u"2100"_s, 6000, 5000}}, parts);
    const auto built = buildComponentSheets({line}, 1, 1, QString::number(job), QDate(2026, 12, 11));
    QVERIFY(built && built->size() == 1);
    const ComponentSheet &sheet = built->first();
    QCOMPARE(sheet.rows.size(), 16 * components);
    // The glass of the second component stands in the right half, beside its length.
    QCOMPARE(sheet.rows.at(30), (QStringList{u"1"_s, u"5+9+5中空玻璃"_s, u"540"_s, u"630"_s, u"12"_s}));

    const QSizeF a4 = platform::a4Twips(QPageLayout::Portrait);
    RecordingSurface paper = RecordingSurface::paper(a4.width(), a4.height());
    paper.setFont(platform::PrinterSurface::defaultFont());
    QString error;
    QVERIFY2(printSheet(sheet, paper, &error), qPrintable(error));
    QCOMPARE(paper.pageCount(), components == 2 ? 1 : 2);
    const QStringList faults = pagecheck::pageFaults(paper.ops, a4);
    QVERIFY2(faults.isEmpty(), pagecheck::summary(faults).constData());

    // The frame's top line: as far from the left edge as from the right, and 6 mm or more from both.
    const SurfaceOp *frame = nullptr;
    for (const SurfaceOp &op : paper.ops)
        if (op.kind == SurfaceOp::Line && !frame && std::abs(op.b.x() - op.a.x() - 11000) < 0.01)
            frame = &op;
    QVERIFY(frame);
    const double left = frame->a.x();
    const double right = a4.width() - frame->b.x();
    QVERIFY2(std::abs(left - right) < 1, qPrintable(u"%1 %2"_s.arg(left).arg(right)));
    QVERIFY(left >= 6 * 1440 / 25.4);

    const QString printed = pagecheck::printedText(paper);
    // A 60-character name has no room even at the smallest size: it is cut short, and says so.
    QVERIFY2(printed.contains(panel60.left(40)) && !printed.contains(panel60) && printed.contains(u"…"_s),
             qPrintable(printed));
    for (const QString &whole : {u"5+9+5中空玻璃"_s, u"M4×25不锈钢自攻螺钉"_s,
                                 u"滨江花园二期十二号楼至十八号楼及地下车库门窗工程"_s,
                                 u"外墙窗,颜色按甲方确认的样板,玻璃厚度以计算书为准"_s})
        QVERIFY2(printed.contains(whole), qPrintable(whole));
}

void TstSheetPage::sheetToPdf()
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    const QString pdf = m_fx->dir->filePath(u"sheet.pdf"_s);
    {
        platform::PrinterSurface printer(pdf);
        QCOMPARE(printer.font().family(), u"WenQuanYi Micro Hei"_s);
        // The surface is the whole sheet, not the printable area: the page places itself on it.
        QVERIFY(std::abs(printer.width() - platform::a4Twips(QPageLayout::Portrait).width()) < 10);
        QVERIFY(std::abs(printer.height() - platform::a4Twips(QPageLayout::Portrait).height()) < 10); // A4 in whole points
        QList<QStringList> t = rows(47);
        t[0] = QStringList{u"1"_s, u"框料"_s, u"1450"_s, u"2"_s, u"白色"_s};
        printSheetPage(printer, {head(), t, {}, m_drawing.get(), u"宏达门窗厂"_s});
        QVERIFY(!printer.failed());
        printer.endDocument();
        QCOMPARE(printer.pagesStarted(), 2);
    }
    QProcess p;
    p.start(pdftotext, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &expected : {u"工程名称"_s, u"阳光小区"_s, u"合同编号"_s, u"HT-01"_s, u"框料"_s, u"1450"_s,
                                    u"制作单位：宏达门窗厂"_s, u"47.1"_s})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    QCOMPARE(text.count(u'\f'), 2); // two pages
    QVERIFY(text.indexOf(u"47.1"_s) > text.indexOf(u'\f'));

    const QString pdffonts = QStandardPaths::findExecutable(u"pdffonts"_s);
    if (!pdffonts.isEmpty()) {
        QProcess f;
        f.start(pdffonts, {pdf});
        QVERIFY(f.waitForFinished(60000));
        QVERIFY(QString::fromUtf8(f.readAllStandardOutput()).contains(u"WenQuanYi"_s));
    }
}

QTEST_MAIN(TstSheetPage)
#include "tst_sheetpage.moc"
