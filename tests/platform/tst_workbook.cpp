#include "filelimit.h"
#include "platform/filewrite.h"
#include "platform/scriptedmessages.h"
#include "platform/showworkbook.h"
#include "platform/workbook.h"
#include "zipparts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <limits>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace platform;

Q_DECLARE_METATYPE(platform::Workbook)

namespace {

using namespace zipparts;

// Writes SpreadsheetML elements as x:name instead of in the default namespace, as some
// programs do.
QByteArray prefixed(const QByteArray &xml)
{
    QString s = QString::fromUtf8(xml);
    s.replace(QRegularExpression(u"<(/?)([A-Za-z]+)([ />])"_s), u"<\\1x:\\2\\3"_s);
    s.replace(u"xmlns=\""_s + QString::fromLatin1(mainNs), u"xmlns:x=\""_s + QString::fromLatin1(mainNs));
    return s.toUtf8();
}

// A workbook as another program might store it: the first sheet in tab order lives in
// sheet2.xml under an absolute target, strings come both shared and inline.
Parts handMadeParts(bool withPrefix, const QByteArray &firstSheetRows)
{
    const auto sml = [&](const QByteArray &xml) { return withPrefix ? prefixed(xml) : xml; };
    const QByteArray contentTypes = xmlHead
        + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
          "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
          "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
          "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
          "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
          "</Types>";
    const QByteArray workbook = xmlHead + "<workbook xmlns=\"" + mainNs + "\" xmlns:r=\"" + relNs + "\"><sheets>"
        "<sheet name=\"甲\" sheetId=\"2\" r:id=\"rId2\"/><sheet name=\"乙\" sheetId=\"1\" r:id=\"rId1\"/>"
        "</sheets></workbook>";
    const QByteArray workbookRels = xmlHead
        + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"rId1\" Type=\"" + relNs + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
          "<Relationship Id=\"rId2\" Type=\"" + relNs + "/worksheet\" Target=\"/xl/worksheets/sheet2.xml\"/>"
          "<Relationship Id=\"rId3\" Type=\"" + relNs + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
          "</Relationships>";
    const QByteArray sharedStrings = xmlHead + "<sst xmlns=\"" + mainNs + "\" count=\"5\" uniqueCount=\"5\">"
        "<si><t>共享文本</t></si>"
        "<si><r><rPr><b/><sz val=\"11\"/></rPr><t>富</t></r><r><t xml:space=\"preserve\"> 文本</t></r></si>"
        "<si><t>東京</t><rPh sb=\"0\" eb=\"2\"><t>トウキョウ</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si><t>第一行_x000D_\n第二行</t></si>"
        "<si><t xml:space=\"preserve\">  两头空格  </t></si>"
        "</sst>";
    const QByteArray firstSheet = xmlHead + "<worksheet xmlns=\"" + mainNs + "\"><sheetData>" + firstSheetRows
        + "</sheetData></worksheet>";
    const QByteArray secondSheet = xmlHead + "<worksheet xmlns=\"" + mainNs + "\"><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>第二张表</t></is></c></row></sheetData></worksheet>";
    return {
        {u"[Content_Types].xml"_s, contentTypes},
        {u"_rels/.rels"_s, packageRels},
        {u"xl/workbook.xml"_s, sml(workbook)},
        {u"xl/_rels/workbook.xml.rels"_s, workbookRels},
        {u"xl/sharedStrings.xml"_s, sml(sharedStrings)},
        {u"xl/worksheets/sheet1.xml"_s, sml(secondSheet)},
        {u"xl/worksheets/sheet2.xml"_s, sml(firstSheet)},
    };
}

const QByteArray handMadeRows =
    "<row r=\"1\">"
    "<c r=\"A1\" t=\"s\"><v>0</v></c>"
    "<c r=\"B1\" t=\"inlineStr\"><is><t>内联文本</t></is></c>"
    "<c r=\"C1\" t=\"inlineStr\"><is><r><t>内联</t></r><r><rPr><i/></rPr><t>富文本</t></r></is></c>"
    "<c r=\"D1\"><v>6000</v></c>"
    "<c r=\"E1\" t=\"n\"><v>0.85</v></c>"
    "<c r=\"F1\"><v>1E-05</v></c>"
    "<c r=\"G1\" s=\"1\"/>"
    "</row>"
    "<row r=\"3\">"
    "<c r=\"A3\" t=\"s\"><v>1</v></c>"
    "<c r=\"B3\" t=\"s\"><v>2</v></c>"
    "<c r=\"C3\" t=\"s\"><v>3</v></c>"
    "<c r=\"D3\" t=\"s\"><v>4</v></c>"
    "<c r=\"E3\" t=\"str\"><f>A1&amp;\"!\"</f><v>共享文本!</v></c>"
    "<c r=\"F3\" t=\"b\"><v>1</v></c>"
    "<c r=\"G3\" t=\"b\"><v>0</v></c>"
    "<c r=\"H3\" t=\"e\"><v>#DIV/0!</v></c>"
    "</row>"
    "<row>"
    "<c><v>1</v></c>"
    "<c t=\"s\"><v>0</v></c>"
    "<c r=\"D4\"><f>1+1</f><v>2</v></c>"
    "<c t=\"inlineStr\"><is><t>跟在 D4 之后</t></is></c>"
    "</row>"
    "<row r=\"6\"><c r=\"b6\"><v>-3.5E+20</v></c></row>";

} // namespace

class TstWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writtenCellsReadBack_data();
    void writtenCellsReadBack();
    void readerStopsAtTheUsedArea();
    void formatsReachTheFile_data();
    void formatsReachTheFile();
    void handMadeCellsRead_data();
    void handMadeCellsRead();
    void unreadableFilesFail_data();
    void unreadableFilesFail();
    void faultyWorkbooksAreNotWritten_data();
    void faultyWorkbooksAreNotWritten();
    void failedWriteKeepsExistingFile();
    void wideSparseSheetReadsInLittleMemory();
    void showWorkbookOpensAFreshFile();
    void showWorkbookFailures();
    void copyOverAnOldFileKeepsItOnAFullDisk();

private:
    QTemporaryDir m_dir;
    QString m_written;
    QStringList m_handMade; // the same content, plain and with prefixed element names
};

void TstWorkbook::initTestCase()
{
    QVERIFY(m_dir.isValid());

    CellFormat title;
    title.fontName = u"黑体"_s;
    title.fontSize = 16;
    title.bold = true;
    title.hAlign = HAlign::Center;
    title.vAlign = VAlign::Center;
    title.border = BorderStyle::Thin;
    CellFormat boxed;
    boxed.border = BorderStyle::Medium;
    CellFormat wrapped;
    wrapped.wrapText = true;
    wrapped.vAlign = VAlign::Top;
    wrapped.hAlign = HAlign::Right;

    Workbook book;
    Sheet &s = book.addSheet(u"类型公式"_s);
    Sheet &second = book.addSheet(u"第二页"_s);
    s.setText(0, 0, u"门窗类型公式表"_s, title);
    s.setText(0, 1, u"被合并遮住"_s);
    s.merge(0, 0, 0, 3);
    const QStringList heads{u"名称"_s, u"数量"_s, u"系数"_s, u"微量"_s};
    for (int c = 0; c < heads.size(); ++c)
        s.setText(1, c, heads[c], boxed);
    s.setText(2, 0, u"推拉窗 80 系列"_s);
    s.setNumber(2, 1, 6000);
    s.setNumber(2, 2, 0.85);
    s.setNumber(2, 3, 1e-5);
    s.setFormat(2, 5, boxed); // a bordered blank beyond the data
    s.setText(3, 0, u"  前后留空  "_s);
    s.setNumber(3, 1, -2.5);
    s.setNumber(3, 2, 1234567.125);
    s.setNumber(3, 3, 0);
    s.setText(4, 0, u"007"_s);
    s.setText(4, 1, u"多行\n第二行"_s, wrapped);
    s.setText(4, 2, u"回车\r\n换行\t制表"_s);
    s.setText(4, 3, u"<&>\"' 😀"_s);
    s.setText(5, 2, u"_x0041_ 与 _x005F_"_s);
    s.setNumber(5, 0, 42, boxed);
    s.merge(5, 0, 6, 0);
    s.setText(5, 1, u"先写的值"_s);
    s.setText(5, 1, u"后写的值"_s);
    s.setColumnWidth(0, 24);
    s.setRowHeight(0, 30);
    second.setText(0, 0, u"第二页内容"_s);

    m_written = m_dir.filePath(u"写出.xlsx"_s);
    QString err;
    QVERIFY2(writeXlsx(book, m_written, &err), qPrintable(err));

    for (bool withPrefix : {false, true}) {
        const QString path = m_dir.filePath(withPrefix ? u"prefixed.xlsx"_s : u"plain.xlsx"_s);
        QVERIFY(writeZip(path, handMadeParts(withPrefix, handMadeRows)));
        m_handMade.append(path);
    }
}

void TstWorkbook::writtenCellsReadBack_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");
    QTest::newRow("merged title") << 0 << 0 << u"门窗类型公式表"_s;
    QTest::newRow("cell hidden by a merge") << 0 << 1 << QString();
    QTest::newRow("heading") << 1 << 3 << u"微量"_s;
    QTest::newRow("chinese text with blanks") << 2 << 0 << u"推拉窗 80 系列"_s;
    QTest::newRow("whole number") << 2 << 1 << u"6000"_s;
    QTest::newRow("fraction") << 2 << 2 << u"0.85"_s;
    QTest::newRow("tiny number") << 2 << 3 << u"1E-05"_s;
    QTest::newRow("formatted blank") << 2 << 5 << QString();
    QTest::newRow("blanks kept at both ends") << 3 << 0 << u"  前后留空  "_s;
    QTest::newRow("negative") << 3 << 1 << u"-2.5"_s;
    QTest::newRow("large with fraction") << 3 << 2 << u"1234567.125"_s;
    QTest::newRow("zero") << 3 << 3 << u"0"_s;
    QTest::newRow("text that looks like a number") << 4 << 0 << u"007"_s;
    QTest::newRow("line break") << 4 << 1 << u"多行\n第二行"_s;
    QTest::newRow("carriage return and tab") << 4 << 2 << u"回车\r\n换行\t制表"_s;
    QTest::newRow("markup characters and emoji") << 4 << 3 << u"<&>\"' 😀"_s;
    QTest::newRow("number heading a merge") << 5 << 0 << u"42"_s;
    QTest::newRow("below that merge") << 6 << 0 << QString();
    QTest::newRow("value set twice") << 5 << 1 << u"后写的值"_s;
    QTest::newRow("text that looks like an escape") << 5 << 2 << u"_x0041_ 与 _x005F_"_s;
    QTest::newRow("outside the sheet") << 100 << 100 << QString();
}

void TstWorkbook::writtenCellsReadBack()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, expected);
    QString err;
    const std::optional<CellGrid> grid = readFirstSheet(m_written, &err);
    QVERIFY2(grid, qPrintable(err));
    QCOMPARE(grid->text(row, column), expected);
}

void TstWorkbook::readerStopsAtTheUsedArea()
{
    QString err;
    const std::optional<CellGrid> grid = readFirstSheet(m_written, &err);
    QVERIFY2(grid, qPrintable(err));
    // The formatted blank in column F and the empty cells under the merge do not count; the
    // second sheet is not mixed in.
    QCOMPARE(grid->rowCount(), 6);
    QCOMPARE(grid->columnCount(), 4);
    QCOMPARE(grid->row(5), (QStringList{u"42"_s, u"后写的值"_s, u"_x0041_ 与 _x005F_"_s, QString()}));
    QCOMPARE(grid->row(6), (QStringList{QString(), QString(), QString(), QString()}));

    // Sheets keep the order they were added in.
    const QString wb = QString::fromUtf8(zipEntry(m_written, u"xl/workbook.xml"_s));
    QVERIFY(wb.indexOf(u"name=\"类型公式\""_s) >= 0);
    QVERIFY(wb.indexOf(u"name=\"类型公式\""_s) < wb.indexOf(u"name=\"第二页\""_s));
    QVERIFY(zipEntry(m_written, u"xl/worksheets/sheet2.xml"_s).contains("<v>"));
}

void TstWorkbook::formatsReachTheFile_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("fragment");
    const QString styles = u"xl/styles.xml"_s;
    const QString sheet = u"xl/worksheets/sheet1.xml"_s;
    QTest::newRow("merged title") << sheet << u"<mergeCell ref=\"A1:D1\"/>"_s;
    QTest::newRow("merged column") << sheet << u"<mergeCell ref=\"A6:A7\"/>"_s;
    QTest::newRow("column width") << sheet << u"<col min=\"1\" max=\"1\" width=\""_s;
    QTest::newRow("row height") << sheet << u"ht=\"30\" customHeight=\"1\""_s;
    QTest::newRow("font name") << styles << u"<name val=\"黑体\"/>"_s;
    QTest::newRow("font size") << styles << u"<sz val=\"16\"/>"_s;
    QTest::newRow("bold") << styles << u"<b/>"_s;
    QTest::newRow("thin border") << styles << u"<left style=\"thin\">"_s;
    QTest::newRow("medium border") << styles << u"<bottom style=\"medium\">"_s;
    QTest::newRow("centred both ways") << styles << u"horizontal=\"center\" vertical=\"center\""_s;
    QTest::newRow("right, top, wrapped") << styles << u"horizontal=\"right\" vertical=\"top\" wrapText=\"1\""_s;
}

void TstWorkbook::formatsReachTheFile()
{
    QFETCH(QString, part);
    QFETCH(QString, fragment);
    const QString xml = QString::fromUtf8(zipEntry(m_written, part));
    QVERIFY2(xml.contains(fragment), qPrintable(xml));
}

void TstWorkbook::handMadeCellsRead_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shared string") << 0 << 0 << u"共享文本"_s;
    QTest::newRow("inline string") << 0 << 1 << u"内联文本"_s;
    QTest::newRow("inline rich text") << 0 << 2 << u"内联富文本"_s;
    QTest::newRow("whole number") << 0 << 3 << u"6000"_s;
    QTest::newRow("fraction") << 0 << 4 << u"0.85"_s;
    QTest::newRow("tiny number as written") << 0 << 5 << u"1E-05"_s;
    QTest::newRow("styled blank") << 0 << 6 << QString();
    QTest::newRow("row left out") << 1 << 0 << QString();
    QTest::newRow("shared rich text") << 2 << 0 << u"富 文本"_s;
    QTest::newRow("phonetic guide left out") << 2 << 1 << u"東京"_s;
    QTest::newRow("escaped carriage return") << 2 << 2 << u"第一行\r\n第二行"_s;
    QTest::newRow("preserved blanks") << 2 << 3 << u"  两头空格  "_s;
    QTest::newRow("formula text result") << 2 << 4 << u"共享文本!"_s;
    QTest::newRow("true") << 2 << 5 << u"TRUE"_s;
    QTest::newRow("false") << 2 << 6 << u"FALSE"_s;
    QTest::newRow("error value") << 2 << 7 << u"#DIV/0!"_s;
    QTest::newRow("row without number follows") << 3 << 0 << u"1"_s;
    QTest::newRow("cell without reference follows") << 3 << 1 << u"共享文本"_s;
    QTest::newRow("formula number result") << 3 << 3 << u"2"_s;
    QTest::newRow("counting resumes after a reference") << 3 << 4 << u"跟在 D4 之后"_s;
    QTest::newRow("lower-case reference, exponent") << 5 << 1 << u"-3.5E+20"_s;
}

void TstWorkbook::handMadeCellsRead()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, expected);
    for (const QString &path : m_handMade) {
        QString err;
        const std::optional<CellGrid> grid = readFirstSheet(path, &err);
        QVERIFY2(grid, qPrintable(err));
        QCOMPARE(grid->text(row, column), expected);
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(grid->columnCount(), 8);
    }
}

void TstWorkbook::unreadableFilesFail_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("errorStart");
    const QString cannotRead = u"无法读取工作簿 "_s;
    const QString onlyXlsx = u"只能读取 .xlsx 工作簿"_s;
    const QByteArray compoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 old binary workbook", 29);
    const auto file = [&](const QString &name, const QByteArray &data) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            qFatal("cannot prepare %s", qPrintable(path));
        return path;
    };
    const auto zip = [&](const QString &name, const Parts &parts) {
        const QString path = m_dir.filePath(name);
        if (!writeZip(path, parts))
            qFatal("cannot prepare %s", qPrintable(path));
        return path;
    };
    QDir(m_dir.path()).mkdir(u"folder.xlsx"_s);

    QTest::newRow("missing file") << m_dir.filePath(u"无此文件.xlsx"_s) << cannotRead;
    QTest::newRow("folder") << m_dir.filePath(u"folder.xlsx"_s) << cannotRead;
    QTest::newRow("old binary workbook") << file(u"旧.xls"_s, compoundFile) << onlyXlsx;
    QTest::newRow("old binary, upper-case name") << file(u"OLD.XLS"_s, compoundFile) << onlyXlsx;
    QTest::newRow("old binary renamed") << file(u"renamed.xlsx"_s, compoundFile) << onlyXlsx;
    QTest::newRow("text file") << file(u"text.xlsx"_s, "名称,数量\n") << cannotRead;
    QTest::newRow("empty file") << file(u"empty.xlsx"_s, QByteArray()) << cannotRead;
    QTest::newRow("zip without workbook")
        << zip(u"other.xlsx"_s, {{u"readme.txt"_s, "not a workbook"}}) << cannotRead;
    QTest::newRow("broken sheet XML")
        << zip(u"broken.xlsx"_s, handMadeParts(false, "<row r=\"1\"><c r=\"A1\"><v>1</v></row>")) << cannotRead;
    QTest::newRow("shared string out of range")
        << zip(u"index.xlsx"_s, handMadeParts(false, "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>99</v></c></row>"))
        << cannotRead;
    QTest::newRow("reference beyond the sheet")
        << zip(u"far.xlsx"_s, handMadeParts(false, "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"))
        << cannotRead;
    QTest::newRow("row beyond the sheet")
        << zip(u"deep.xlsx"_s, handMadeParts(false, "<row r=\"1048577\"><c><v>1</v></c></row>")) << cannotRead;
}

void TstWorkbook::unreadableFilesFail()
{
    QFETCH(QString, path);
    QFETCH(QString, errorStart);
    QString err;
    QVERIFY(!readFirstSheet(path, &err));
    QVERIFY2(err.startsWith(errorStart), qPrintable(err));
    QVERIFY2(err.contains(QFileInfo(path).fileName()), qPrintable(err));
}

void TstWorkbook::faultyWorkbooksAreNotWritten_data()
{
    QTest::addColumn<Workbook>("book");
    QTest::addColumn<QString>("fragment");
    const auto oneSheet = [](const QString &name, const std::function<void(Sheet &)> &more = {}) {
        Workbook b;
        Sheet &s = b.addSheet(name);
        s.setText(0, 0, u"内容"_s);
        if (more)
            more(s);
        return b;
    };
    Workbook twoSheets;
    twoSheets.addSheet(u"Sheet"_s);
    twoSheets.addSheet(u"SHEET"_s);
    const Workbook overlap = oneSheet(u"表"_s, [](Sheet &s) {
        s.merge(0, 0, 1, 1);
        s.merge(1, 1, 2, 2);
    });
    const Workbook single = oneSheet(u"表"_s, [](Sheet &s) { s.merge(3, 3, 3, 3); });
    const Workbook nan = oneSheet(u"表"_s, [](Sheet &s) { s.setNumber(1, 1, std::numeric_limits<double>::quiet_NaN()); });
    const Workbook inf = oneSheet(u"表"_s, [](Sheet &s) { s.setNumber(1, 1, std::numeric_limits<double>::infinity()); });
    const Workbook deep = oneSheet(u"表"_s, [](Sheet &s) { s.setText(1048576, 0, u"太深"_s); });
    const Workbook negative = oneSheet(u"表"_s, [](Sheet &s) { s.setText(0, -1, u"负列"_s); });
    const Workbook wide = oneSheet(u"表"_s, [](Sheet &s) { s.setColumnWidth(16384, 10); });

    QTest::newRow("slash in sheet name") << oneSheet(u"门/窗"_s) << u"门/窗"_s;
    QTest::newRow("sheet name too long") << oneSheet(QString(32, u'长')) << u"31"_s;
    QTest::newRow("empty sheet name") << oneSheet(QString()) << u"名称为空"_s;
    QTest::newRow("names equal but for case") << twoSheets << u"重名"_s;
    QTest::newRow("overlapping merges") << overlap << u"重叠"_s;
    QTest::newRow("one-cell merge") << single << u"一个单元格"_s;
    QTest::newRow("not a number") << nan << u"第 2 行第 2 列"_s;
    QTest::newRow("infinite") << inf << u"第 2 行第 2 列"_s;
    QTest::newRow("row beyond the sheet") << deep << u"第 1048577 行"_s;
    QTest::newRow("negative column") << negative << u"超出"_s;
    QTest::newRow("column width beyond the sheet") << wide << u"列宽"_s;
}

void TstWorkbook::faultyWorkbooksAreNotWritten()
{
    QFETCH(Workbook, book);
    QFETCH(QString, fragment);
    const QString path = m_dir.filePath(u"faulty-%1.xlsx"_s.arg(QString::fromUtf8(QTest::currentDataTag())));
    QString err;
    QVERIFY(!writeXlsx(book, path, &err));
    QVERIFY2(err.startsWith(u"无法写入工作簿 "_s) && err.contains(fragment), qPrintable(err));
    QVERIFY(!QFile::exists(path));
}

void TstWorkbook::failedWriteKeepsExistingFile()
{
    Workbook book;
    book.addSheet(u"表"_s).setText(0, 0, u"内容"_s);
    QString err;
    QVERIFY(!writeXlsx(book, m_dir.filePath(u"no-such-folder/x.xlsx"_s), &err));
    QVERIFY2(err.contains(u"no-such-folder"_s), qPrintable(err));

    // A rejected workbook leaves the earlier file as it was.
    const QString path = m_dir.filePath(u"kept.xlsx"_s);
    QVERIFY2(writeXlsx(book, path, &err), qPrintable(err));
    book.addSheet(u"表"_s);
    QVERIFY(!writeXlsx(book, path, &err));
    const std::optional<CellGrid> grid = readFirstSheet(path, &err);
    QVERIFY2(grid, qPrintable(err));
    QCOMPARE(grid->text(0, 0), u"内容"_s);
}

namespace {
// The process's peak resident size so far, in kilobytes.
long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

void TstWorkbook::wideSparseSheetReadsInLittleMemory()
{
    // One cell in the last column (XFD) of each of 2,000 rows: a file of a few kilobytes. Padding
    // every row out to that column would hold 32 million cells.
    const int rows = 2000;
    const int lastColumn = 16383;
    Workbook book;
    Sheet &sheet = book.addSheet(u"宽表"_s);
    for (int r = 0; r < rows; ++r)
        sheet.setText(r, lastColumn, u"格%1"_s.arg(r));
    sheet.setText(0, 0, u"首格"_s);
    const QString path = m_dir.filePath(u"wide.xlsx"_s);
    QString err;
    QVERIFY2(writeXlsx(book, path, &err), qPrintable(err));
    QVERIFY2(QFileInfo(path).size() < 100 * 1024, qPrintable(QString::number(QFileInfo(path).size())));

    const long before = peakKilobytes();
    const std::optional<CellGrid> grid = readFirstSheet(path, &err);
    QVERIFY2(grid, qPrintable(err));
    const long grown = peakKilobytes() - before;
    QVERIFY2(grown < 64 * 1024, qPrintable(u"peak grew by %1 KB"_s.arg(grown)));

    QCOMPARE(grid->rowCount(), rows);
    QCOMPARE(grid->columnCount(), lastColumn + 1);
    QCOMPARE(grid->text(0, 0), u"首格"_s);
    QCOMPARE(grid->text(1999, lastColumn), u"格1999"_s);
    QCOMPARE(grid->text(1999, lastColumn - 1), QString());
    QCOMPARE(grid->text(rows, lastColumn), QString());
    const QStringList last = grid->row(1999);
    QCOMPARE(last.size(), lastColumn + 1);
    QCOMPARE(last.constLast(), u"格1999"_s);
}

void TstWorkbook::showWorkbookOpensAFreshFile()
{
    ScriptedMessages *seam = installScriptedMessages();
    Workbook book;
    book.addSheet(u"统计"_s).setNumber(0, 0, 0.85);
    QString first;
    QString second;
    QVERIFY(showWorkbook(nullptr, book, u"统计/报表"_s, &first));
    QVERIFY(showWorkbook(nullptr, book, u"统计/报表"_s, &second));
    QVERIFY(seam->shown.isEmpty());
    QCOMPARE(seam->openedWithDesktop, (QStringList{first, second}));
    QVERIFY(first != second);
    QString err;
    for (const QString &path : {first, second}) {
        const QFileInfo info(path);
        // In the program's own temporary folder, under the system's.
        QCOMPARE(info.absolutePath(), QFileInfo(temporaryFolder()).absoluteFilePath());
        QCOMPARE(QFileInfo(info.absolutePath()).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QVERIFY2(info.fileName().startsWith(u"统计报表-"_s) && info.fileName().endsWith(u".xlsx"_s),
                 qPrintable(path));
        const std::optional<CellGrid> grid = readFirstSheet(path, &err);
        QVERIFY2(grid, qPrintable(err));
        QCOMPARE(grid->text(0, 0), u"0.85"_s);
    }
    // The program's end takes the temporary files away.
    removeShownWorkbooks();
    QVERIFY(!QFileInfo::exists(first));
    QVERIFY(!QFileInfo::exists(second));
}

// A workbook that cannot be written is reported with its cause and leaves no file; where no
// program opens it, the user is told its full path and may keep a copy, which outlives the
// temporary file.
void TstWorkbook::showWorkbookFailures()
{
    const QString stem = u"tst_workbook_%1"_s.arg(QCoreApplication::applicationPid());
    const auto leftovers = [&] { return QDir::temp().entryList({stem + u"-*.xlsx"_s}); };

    ScriptedMessages *seam = installScriptedMessages();
    Workbook faulty;
    faulty.addSheet(u"a:b"_s);
    QVERIFY(!showWorkbook(nullptr, faulty, stem));
    QCOMPARE(seam->shown.size(), 1);
    QVERIFY2(seam->lastText().contains(u"a:b"_s), qPrintable(seam->lastText()));
    QVERIFY(seam->openedWithDesktop.isEmpty());
    QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));

    seam->clear();
    seam->desktopOpens = false;
    Workbook book;
    book.addSheet(u"表"_s).setText(0, 0, u"内容"_s);
    QString path;
    const QString copy = m_dir.filePath(u"副本"_s);
    seam->fileNames << copy;
    QVERIFY(showWorkbook(nullptr, book, stem, &path));
    QCOMPARE(seam->openedWithDesktop, QStringList{path});
    QCOMPARE(seam->shown.size(), 2);
    QVERIFY2(seam->shown.at(0).text.contains(QDir::toNativeSeparators(path)), qPrintable(seam->shown.at(0).text));
    QCOMPARE(seam->shown.at(0).buttons, MsgButtons::YesNo);
    QVERIFY(seam->shown.at(1).text.contains(m_dir.filePath(u"副本.xlsx"_s)));
    removeShownWorkbooks();
    QVERIFY(!QFileInfo::exists(path));
    QString err;
    const std::optional<CellGrid> grid = readFirstSheet(m_dir.filePath(u"副本.xlsx"_s), &err);
    QVERIFY2(grid, qPrintable(err));
    QCOMPARE(grid->text(0, 0), u"内容"_s);

    // Declining the copy still leaves the user knowing where the file is, and nothing else asked.
    seam->clear();
    seam->answers << MsgAnswer::No;
    QVERIFY(showWorkbook(nullptr, book, stem, &path));
    QCOMPARE(seam->shown.size(), 1);
    removeShownWorkbooks();
    QVERIFY2(leftovers().isEmpty(), qPrintable(leftovers().join(u' ')));
}

// The disk fills up between the choice of the copy's place and its writing.
class FullDiskAfterChoice : public ScriptedMessages
{
public:
    std::unique_ptr<testfixture::FileSizeLimit> limit;
    QString saveFileName(QWidget *w, const QString &t, const QString &s, const QString &f) override
    {
        const QString name = ScriptedMessages::saveFileName(w, t, s, f);
        limit = std::make_unique<testfixture::FileSizeLimit>(64);
        return name;
    }
};

// Replacing an earlier copy that cannot be written keeps the earlier copy whole and says why.
void TstWorkbook::copyOverAnOldFileKeepsItOnAFullDisk()
{
    auto *seam = new FullDiskAfterChoice;
    installMessages(seam);
    seam->desktopOpens = false;
    const QString target = m_dir.filePath(u"旧副本.xlsx"_s);
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old copy");
    old.close();
    seam->fileNames << target;
    Workbook book;
    book.addSheet(u"表"_s).setText(0, 0, u"内容"_s);
    QString path;
    QVERIFY(showWorkbook(nullptr, book, u"copy"_s, &path));
    seam->limit.reset();
    removeShownWorkbooks();
    // Where to copy, replace it, then the failure with its cause.
    QCOMPARE(seam->shown.size(), 3);
    QCOMPARE(seam->shown.at(2).icon, MsgIcon::Critical);
    QVERIFY2(seam->lastText().contains(QDir::toNativeSeparators(target)), qPrintable(seam->lastText()));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old copy"));
}

QTEST_MAIN(TstWorkbook)
#include "tst_workbook.moc"
