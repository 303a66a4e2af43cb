#include "optimise/yhcut.h"
#include "optimise/yhexport.h"
#include "../platform/pagecheck.h"
#include "optimise/yhfiles.h"
#include "platform/ansicodes.h"
#include "../platform/filelimit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace optimise;

Q_DECLARE_METATYPE(QList<PieceListRow>)

namespace {
QList<QStringList> planRows(int n)
{
    QList<QStringList> out;
    for (int i = 0; i < n; ++i)
        out << QStringList{i == 0 ? u"A"_s : QString(), u"1200*2+800"_s, u"3"_s, u"0.8"_s, u"1200"_s};
    return out;
}

QList<QStringList> summaryRows(int m)
{
    QList<QStringList> out;
    for (int j = 0; j < m; ++j)
        out << QStringList{u"M%1"_s.arg(j), u"4"_s, u"94.5"_s};
    return out;
}

QString cellText(const platform::Sheet &s, int row, int column)
{
    const auto it = s.cells().find({row, column});
    if (it == s.cells().end())
        return u"<none>"_s;
    if (it->second.kind == platform::Cell::Kind::Number)
        return QString::number(it->second.number);
    return it->second.text;
}

bool bordered(const platform::Sheet &s, int row, int column)
{
    const auto it = s.cells().find({row, column});
    return it != s.cells().end() && it->second.format.border == platform::BorderStyle::Thin;
}
} // namespace

class TstYHFiles : public QObject
{
    Q_OBJECT
private slots:
    void dddWritesLinePairs();
    void dddReads_data();
    void dddReads();
    void dddLoadAppends();
    void dddUnreadableFile();

    void textExport_data();
    void textExport();
    void textExportKeepsCharactersGbkLacks();
    void textExportFailsOnBadPath();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();

    void workbookLayout_data();
    void workbookLayout();
    void workbookTitlesAndWidths();

    void reportsShowCaptionsAndRows();
    void reportsOnPaper();
};

void TstYHFiles::dddWritesLinePairs()
{
    QCOMPARE(formatDDD({{u"1200"_s, u"2"_s}, {u"800"_s, u"5"_s}}), QByteArray("1200\r\n2\r\n800\r\n5\r\n"));
    QCOMPARE(formatDDD({}), QByteArray());
}

void TstYHFiles::dddReads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<PieceListRow>>("rows");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("badValue");
    const QList<PieceListRow> two = {{u"1200"_s, u"2"_s}, {u"800"_s, u"5"_s}};
    QTest::newRow("line pairs") << QByteArray("1200\r\n2\r\n800\r\n5\r\n") << two << true << false;
    QTest::newRow("comma on one line") << QByteArray("1200,2\r\n") << QList<PieceListRow>{{u"1200"_s, u"2"_s}}
                                       << true << false;
    QTest::newRow("quotes and blanks") << QByteArray("  \"1200\" , 2\n800\n5") << two << true << false;
    QTest::newRow("length without quantity") << QByteArray("1200\r\n2\r\n800\r\n") << two.mid(0, 1) << false << false;
    QTest::newRow("value that is no number") << QByteArray("1200\r\n2\r\n.\r\n5\r\n") << two.mid(0, 1) << true
                                             << true;
    QTest::newRow("two points") << QByteArray("1.2.3\r\n2\r\n") << QList<PieceListRow>{} << true << true;
    QTest::newRow("empty file") << QByteArray() << QList<PieceListRow>{} << true << false;
    // Editors save UTF-8 with a byte-order mark by default.
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF" "1200\r\n2\r\n800\r\n5\r\n") << two << true
                                                   << false;
}

void TstYHFiles::dddReads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<PieceListRow>, rows);
    QFETCH(bool, complete);
    QFETCH(bool, badValue);
    const DDDRead r = parseDDD(bytes);
    QCOMPARE(r.rows, rows);
    QCOMPARE(r.complete, complete);
    QCOMPARE(r.badValue, badValue);
}

void TstYHFiles::dddLoadAppends()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.DDD"_s);
    const QList<PieceListRow> rows = {{u"1200"_s, u"2"_s}, {u"800.5"_s, u"5"_s}};
    QVERIFY(SaveDDDFile(path, rows));
    QList<PieceListRow> list;
    QVERIFY(LoadDDDFile(path, &list));
    QCOMPARE(list, rows);
    QVERIFY(LoadDDDFile(path, &list));
    QCOMPARE(list, rows + rows);
    // Saving replaces the file.
    QVERIFY(SaveDDDFile(path, rows.mid(1)));
    list.clear();
    QVERIFY(LoadDDDFile(path, &list));
    QCOMPARE(list, rows.mid(1));
}

void TstYHFiles::dddUnreadableFile()
{
    QTemporaryDir dir;
    QList<PieceListRow> list = {{u"1"_s, u"1"_s}};
    QVERIFY(!LoadDDDFile(dir.filePath(u"missing.DDD"_s), &list));
    QCOMPARE(list.size(), 1);
    QVERIFY(!SaveDDDFile(dir.filePath(u"no/such/dir/a.DDD"_s), list));
}

void TstYHFiles::textExport_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("m");
    QTest::addColumn<QString>("expected");
    const QString head = u"材料优化切割表\r\n\r\n\t\t工程名称：某工程\r\n材料名称\t切割规格\t数量\t优化比率\t余料长度\t\r\n"_s;
    const QString tail = u"材料优化统计表\r\n工程名称：某工程\r\n材料名称\t数量\t优化比率\t采购数量\t\r\n"_s;
    const QString sign = u"总经理签字\r\n\r\n主管签字\r\n\r\n日期\t2026-12-10\r\n"_s;
    const QString rule = QString(84, u'=') + u"\r\n"_s;
    QTest::newRow("empty plan") << 0 << 0
                                << head + u"日期\t2026-12-10\t\r\n"_s + rule + tail + sign;
    QTest::newRow("rows") << 2 << 1
                          << head + u"A\t1200*2+800\t3\t0.8\t1200\t\r\n\t1200*2+800\t3\t0.8\t1200\t\r\n"_s
                                 + u"日期\t2026-12-10\t\r\n"_s + rule + tail + u"M0\t4\t94.5\t\r\n"_s + sign;
}

void TstYHFiles::textExport()
{
    QFETCH(int, n);
    QFETCH(int, m);
    QFETCH(QString, expected);
    QCOMPARE(yhResultText(planRows(n), summaryRows(m), u"某工程"_s, u"2026-12-10"_s), expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    QVERIFY(ExportYHText(path, planRows(n), summaryRows(m), u"某工程"_s, u"2026-12-10"_s));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // GBK: two bytes per Chinese character, the title first.
    QCOMPARE(bytes.left(14), QByteArray("\xb2\xc4\xc1\xcf\xd3\xc5\xbb\xaf\xc7\xd0\xb8\xee\xb1\xed"));
    QCOMPARE(bytes, platform::toGb18030(expected));
}

void TstYHFiles::textExportKeepsCharactersGbkLacks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.txt"_s);
    const QString job = u"阳台 12 m² • 𠀀"_s; // 𠀀 lies beyond the Basic Multilingual Plane
    QVERIFY(ExportYHText(path, planRows(1), summaryRows(1), job, u"2026-12-10"_s));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(!bytes.contains('?'));
    QCOMPARE(platform::decodeLeniently(bytes, "GB18030"),
             std::optional<QString>(yhResultText(planRows(1), summaryRows(1), job, u"2026-12-10"_s)));
    // A character GBK has keeps its GBK bytes: 阳台.
    QVERIFY(bytes.contains("\xd1\xf4\xcc\xa8 12 m"));
}

void TstYHFiles::textExportFailsOnBadPath()
{
    QTemporaryDir dir;
    QVERIFY(!ExportYHText(dir.filePath(u"no/such/out.txt"_s), {}, {}, {}, u"d"_s));
}

void TstYHFiles::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<bool>("pieceList"); // else the text export
    QTest::newRow("piece list") << true;
    QTest::newRow("text export") << false;
}

void TstYHFiles::fullDiskKeepsOldFile()
{
    QFETCH(bool, pieceList);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"old.file"_s);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QList<PieceListRow> rows;
    for (int i = 0; i < 200; ++i)
        rows << PieceListRow{u"1200"_s, u"2"_s};
    QString error;
    bool written = true;
    {
        testfixture::FileSizeLimit full(64);
        written = pieceList ? SaveDDDFile(path, rows, &error)
                            : ExportYHText(path, planRows(20), summaryRows(5), u"某工程"_s, u"2026-12-10"_s, &error);
    }
    QVERIFY(!written);
    QVERIFY2(error.contains(path), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
}

void TstYHFiles::workbookLayout_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("m");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("ten plan rows, three summary rows") << 10 << 3;
}

void TstYHFiles::workbookLayout()
{
    QFETCH(int, n);
    QFETCH(int, m);
    const platform::Workbook book = yhResultWorkbook(planRows(n), summaryRows(m), QString(), QDate(2026, 12, 10));
    QCOMPARE(book.sheets().size(), size_t(2));
    const platform::Sheet &s1 = book.sheets().at(0);
    const platform::Sheet &s2 = book.sheets().at(1);
    // Sheet rows are 1-based in the layout, 0-based here.
    QCOMPARE(cellText(s1, n + 5, 0), u"日期"_s);
    QCOMPARE(cellText(s1, n + 5, 1), u"46366"_s); // the date's serial number
    QCOMPARE(cellText(s1, 2, 1), QString());
    for (int r = 3; r <= n + 3; ++r)
        for (int c = 0; c < 5; ++c)
            QVERIFY(bordered(s1, r, c));
    QVERIFY(!bordered(s1, n + 4, 0));
    QVERIFY(!bordered(s1, 3, 5));
    QCOMPARE(cellText(s2, m + 4, 0), u"总经理签字"_s);
    QCOMPARE(cellText(s2, m + 4, 2), u"主管签字"_s);
    QCOMPARE(cellText(s2, m + 6, 0), u"日期"_s);
    QCOMPARE(cellText(s2, m + 6, 2), u"46366"_s);
    QCOMPARE(book.activeSheet(), 1);
    for (int r = 3; r <= m + 3; ++r)
        for (int c = 0; c < 4; ++c)
            QVERIFY(bordered(s2, r, c));
    QVERIFY(!bordered(s2, m + 4, 0));
    if (n > 1) {
        QCOMPARE(cellText(s1, 4, 0), u"A"_s);
        QCOMPARE(cellText(s1, 5, 0), QString());
        QCOMPARE(cellText(s1, 4, 1), u"1200*2+800"_s);
        QCOMPARE(cellText(s1, 4, 2), u"3"_s);
    }
    if (m > 0) {
        QCOMPARE(cellText(s2, 4, 2), u"94.5"_s);
        // 采购数量 is left for the hand: bordered, empty.
        QCOMPARE(cellText(s2, 4, 3), QString());
    }
    QString err;
    QTemporaryDir dir;
    QVERIFY2(platform::writeXlsx(book, dir.filePath(u"b.xlsx"_s), &err), qPrintable(err));
}

void TstYHFiles::workbookTitlesAndWidths()
{
    const platform::Workbook book = yhResultWorkbook({}, {}, u"工程甲"_s, QDate(2026, 12, 10));
    const platform::Sheet &s1 = book.sheets().at(0);
    const platform::Sheet &s2 = book.sheets().at(1);
    QCOMPARE(cellText(s1, 0, 0), u"材料优化切割表"_s);
    QCOMPARE(s1.merges().size(), 1);
    QCOMPARE(s1.merges().at(0).lastColumn, 4);
    QCOMPARE(cellText(s1, 2, 0), u"   工程名称："_s);
    QCOMPARE(cellText(s1, 2, 1), u"工程甲"_s);
    QCOMPARE(cellText(s1, 3, 1), u"                 切割规格"_s);
    QCOMPARE(cellText(s1, 3, 4), u"余料长度"_s);
    QCOMPARE(s1.columnWidths(), (std::map<int, double>{{0, 13}, {1, 45}, {2, 4}, {3, 9}, {4, 9}}));
    QCOMPARE(cellText(s2, 0, 0), u"材料优化统计表"_s);
    QCOMPARE(s2.merges().at(0).lastColumn, 3);
    QCOMPARE(cellText(s2, 3, 0), u"   材料名称"_s);
    QCOMPARE(cellText(s2, 3, 1), u"     数量"_s);
    QCOMPARE(cellText(s2, 3, 3), u"   采购数量"_s);
    QCOMPARE(s2.columnWidths(), (std::map<int, double>{{0, 15}, {1, 15}, {2, 15}, {3, 15}}));
}

void TstYHFiles::reportsShowCaptionsAndRows()
{
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30));
    const platform::Report plan = yhPlanReport({{u"K60"_s, u"2500*2+1000"_s, u"3"_s, u"1"_s, u"0"_s}}, u"某工程"_s, when);
    QString all = platform::reportPageTexts(plan).value(0).join(u'\n');
    for (const QString &t : {u"材料优化表"_s, u"工程名称：某工程"_s, u"实际需求量"_s, u"2500*2+1000"_s, u"K60"_s})
        QVERIFY2(all.contains(t), qPrintable(t));
    const platform::ReportBlock &table = plan.blocks.at(0);
    QCOMPARE(table.rows.at(0), (QStringList{u"K60"_s, u"2500*2+1000"_s, u"1"_s, u"0"_s, u"3"_s, QString()}));

    const platform::Report summary = yhSummaryReport({{u"K60"_s, u"4"_s, u"94.5"_s}}, QString(), when);
    all = platform::reportPageTexts(summary).value(0).join(u'\n');
    for (const QString &t : {u"材料优化统计表"_s, u"工程名名称："_s, u"总体优化率"_s, u"数  量"_s})
        QVERIFY2(all.contains(t), qPrintable(t));
    QCOMPARE(summary.blocks.at(0).rows.at(0), (QStringList{u"K60"_s, u"94.5"_s, u"4"_s, QString()}));
}

// Scheme two on short pieces of many lengths writes patterns of twenty three-digit lengths (79
// characters); printed, they wrap after a "+" and every column stays on the sheet.
void TstYHFiles::reportsOnPaper()
{
    QList<LengthQty> pieces;
    for (int length = 151; length < 400; length += 3)
        pieces.append({double(length), 1});
    const QString name = QString(u"五腔推拉窗框料白色"_s).repeated(7).left(60);
    const CutResult run = OptimiseYH2(pieces, CutSettings{6000, 0, 0, 0.999f}, name);
    QList<QStringList> plan;
    qsizetype longest = 0;
    for (const PlanRow &r : run.rows) {
        plan << QStringList{r.material, r.pattern, QString::number(r.bars), QString::number(r.ratio),
                            QString::number(r.remain)};
        longest = std::max(longest, r.pattern.size());
    }
    QVERIFY2(longest >= 60, qPrintable(QString::number(longest)));
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30));
    for (const platform::Report &report :
         {yhPlanReport(plan, name, when), yhSummaryReport({{name, u"123"_s, u"99.87"_s}}, name, when)}) {
        const platform::RecordingSurface s = pagecheck::onPaper(report);
        const QStringList faults = pagecheck::pageFaults(s.ops, platform::a4Twips(report.orientation));
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
        const QString all = pagecheck::printedText(s);
        for (const QStringList &row : report.blocks.at(0).rows)
            QVERIFY2(all.contains(row.at(1)), qPrintable(row.at(1)));
    }
}

QTEST_MAIN(TstYHFiles)
#include "tst_yhfiles.moc"
