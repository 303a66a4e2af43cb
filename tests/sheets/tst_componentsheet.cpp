// Building component sheets: number forms, sections evaluated from the bills, plain and combined
// windows from the job tables, and the sheet on the screen picture and on paper.
#include "sheetdata.h"

#include "design/typestore.h"
#include "platform/numtext.h"
#include "platform/settings.h"
#include "project/projectstore.h"
#include "platform/surface_recording.h"
#include "sheets/componentsheet.h"

using namespace Qt::StringLiterals;
using namespace sheets;
using sheetdata::BillLine;

namespace {

QList<QStringList> table(std::initializer_list<QStringList> rows) { return QList<QStringList>(rows); }

bool hasTextAt(const platform::RecordingSurface &s, const QString &text, QPointF at, int page = -1)
{
    for (const platform::SurfaceOp &op : s.texts(page)) {
        if (op.text == text && qAbs(op.a.x() - at.x()) < 0.01 && qAbs(op.a.y() - at.y()) < 0.01)
            return true;
    }
    return false;
}

QStringList allTexts(const platform::RecordingSurface &s, int page = -1)
{
    QStringList out;
    for (const platform::SurfaceOp &op : s.texts(page))
        out << op.text;
    return out;
}

} // namespace

class TestComponentSheet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testfixture::DataFolder> fx;

    // Type 20 with every section; its drawing 120 has labels B, H and H1.
    bool addFullType()
    {
        return projectdata::saveDrawing(120, u"平开窗图"_s, {{u"B"_s, 100, 200}})
            && sheetdata::addType(20, u"平开窗"_s, 120,
                                  {{u"框B"_s, u"XC-60"_s, u"2"_s, u"B-10"_s},
                                   {u"扇H"_s, u"XC-70"_s, u"2.9"_s, u"H1+H"_s},
                                   {u"压线"_s, u"YX"_s, u"B/1000"_s, u"B/4+0.5"_s}},
                                  {{u"钢B"_s, u"XG"_s, u"2"_s, u"(B-50)/3"_s}},
                                  {{u"合页"_s, u"HY-1"_s, u"4"_s, u"个"_s}, {u"执手"_s, u"ZS"_s, u"0.5"_s, u"把"_s}},
                                  {{u"玻璃"_s, QString(), u"1"_s, u"B/6000"_s, u"H/2"_s}});
    }

private slots:
    void init()
    {
        fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(fx->setUp());
        QVERIFY(projectdata::fillLibrary());
    }
    void cleanup() { fx.reset(); }

    // A value at the drawing's right edge widens the screen picture by its own width; values well
    // inside leave the picture as designed.
    void pictureMakesRoomForValuesAtTheRightEdge()
    {
        const platform::RecordingSurface pic(5100, 5000);
        ComponentSheet sheet;
        sheet.labels = {{4747.5, 0, u"600"_s}};
        QCOMPARE(sheetPictureWidth(sheet, pic, 5100), 5100.0);
        sheet.labels << SheetLabel{9495, 0, u"12345.5"_s};
        const double needed = 5000 + pic.textWidth(u"12345.5"_s);
        QVERIFY2(sheetPictureWidth(sheet, pic, 5100) > needed, qPrintable(QString::number(sheetPictureWidth(sheet, pic, 5100))));
    }

    void numberForms_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal") << 1234.5 << 7 << u"1234.5"_s;
        QTest::newRow("below one") << 0.25 << 7 << u".25"_s;
        QTest::newRow("whole") << 800.0 << 7 << u"800"_s;
        QTest::newRow("negative half") << -0.5 << 7 << u"-.5"_s;
        QTest::newRow("zero") << 0.0 << 15 << u"0"_s;
        QTest::newRow("negative zero") << -0.0 << 15 << u"0"_s;
        QTest::newRow("single precision") << double(483.33334f) << 7 << u"483.3333"_s;
        QTest::newRow("count digits") << 123456789012.0 << 15 << u"123456789012"_s;
    }
    void numberForms()
    {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        QCOMPARE(numberText(value, digits), text);
    }

    void titleForms()
    {
        QCOMPARE(sheetNumberText(1), u"001"_s);
        QCOMPARE(sheetNumberText(12), u"012"_s);
        QCOMPARE(sheetNumberText(123), u"123"_s);
        QCOMPARE(sheetNumberText(1234), u"1234"_s);
        QCOMPARE(paperDateText(QDate(2026, 12, 8)), u" 2026年 12月 8日"_s);
        QCOMPARE(contractThreeDigits(u"7"_s), u"007"_s);
        QCOMPARE(contractThreeDigits(u"12"_s), u"012"_s);
        QCOMPARE(contractThreeDigits(u"2.6"_s), u"003"_s);
        QCOMPARE(contractThreeDigits(u"1234"_s), u"1234"_s);
        QCOMPARE(contractThreeDigits(u"-7"_s), u"-007"_s);
        QCOMPARE(contractThreeDigits(u"HT-01"_s), u"HT-01"_s);
        QCOMPARE(contractThreeDigits(QString()), QString());
    }

    void labelsMapIntoTheDrawingBox()
    {
        QCOMPARE(mapLabel(9495, 7935, SheetOutput::Screen), QPointF(5000, 4917));
        QCOMPARE(mapLabel(9495, 7935, SheetOutput::Paper), QPointF(5500, 4917));
        QCOMPARE(mapLabel(0, 0, SheetOutput::Screen), QPointF(0, 500));
        QCOMPARE(mapLabel(0, 0, SheetOutput::Paper), QPointF(0, 1000));
        QCOMPARE(mapLabel(4747.5, 0, SheetOutput::Paper).x(), 2750.0);
        // Positions are singles, as the page always received them.
        QCOMPARE(mapLabel(100, 3900, SheetOutput::Paper), QPointF(double(57.925224f), double(2925.1797f)));
        QCOMPARE(mapLabel(100, 3900, SheetOutput::Screen), QPointF(double(52.659294f), double(2670.9263f)));
    }

    // Counts: integer part of the evaluated quantity before any multiplication.
    void sectionCells_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<QStringList>("bill");
        QTest::addColumn<double>("units");
        QTest::addColumn<double>("componentCount");
        QTest::addColumn<QStringList>("row");
        const auto P = int(SheetSection::Profiles), F = int(SheetSection::Fittings), N = int(SheetSection::Panels);
        QTest::newRow("profile 2.9 x 3") << P << QStringList{u"框B"_s, u"XC"_s, u"2.9"_s, u"B-10"_s} << 3.0 << 1.0
                                         << QStringList{u"1"_s, u"框B"_s, u"XC"_s, u"990"_s, u"6"_s};
        QTest::newRow("profile 2.7 x 3 x 2") << P << QStringList{u"框B"_s, u"XC"_s, u"2.7"_s, u"B"_s} << 3.0 << 2.0
                                             << QStringList{u"1"_s, u"框B"_s, u"XC"_s, u"1000"_s, u"12"_s};
        QTest::newRow("component count 0") << P << QStringList{u"框B"_s, u"XC"_s, u"2"_s, u"B"_s} << 3.0 << 0.0
                                           << QStringList{u"1"_s, u"框B"_s, u"XC"_s, u"1000"_s, u"0"_s};
        QTest::newRow("length below one") << P << QStringList{u"a"_s, u"b"_s, u"1"_s, u"B/4000"_s} << 1.0 << 1.0
                                          << QStringList{u"1"_s, u"a"_s, u"b"_s, u".25"_s, u"1"_s};
        QTest::newRow("fitting 4 x 2") << F << QStringList{u"合页"_s, u"HY"_s, u"4"_s, u"个"_s} << 2.0 << 1.0
                                       << QStringList{u"1"_s, u"合页"_s, u"HY"_s, u"个"_s, u"8"_s};
        QTest::newRow("fitting 1.5 x 3 x 2") << F << QStringList{u"螺钉"_s, u"M4"_s, u"1.5"_s, u"个"_s} << 3.0 << 2.0
                                             << QStringList{u"1"_s, u"螺钉"_s, u"M4"_s, u"个"_s, u"9"_s};
        QTest::newRow("fitting count no number") << F << QStringList{u"胶"_s, u"J"_s, u"个"_s, u"支"_s} << 2.0 << 1.0
                                                 << QStringList{u"1"_s, u"胶"_s, u"J"_s, u"支"_s, u"0"_s};
        QTest::newRow("fitting count leading number") << F << QStringList{u"胶"_s, u"J"_s, u"2支"_s, u"支"_s} << 2.0
                                                      << 1.0 << QStringList{u"1"_s, u"胶"_s, u"J"_s, u"支"_s, u"4"_s};
        QTest::newRow("panel") << N << QStringList{u"玻璃"_s, u"1"_s, u"B/2"_s, u"B/3"_s} << 2.0 << 1.0
                               << QStringList{u"1"_s, u"玻璃"_s, u"500"_s, u"333.3333"_s, u"2"_s};
    }
    void sectionCells()
    {
        QFETCH(int, section);
        QFETCH(QStringList, bill);
        QFETCH(double, units);
        QFETCH(double, componentCount);
        QFETCH(QStringList, row);
        design::MacroTable macros;
        macros.append(u"B"_s, u"1000"_s);
        QList<QStringList> rows;
        AppendSheetSection(rows, SheetSection(section), {{bill[0], bill[1], bill[2], bill[3]}}, macros, units,
                           componentCount);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0], sectionTitleRow(SheetSection(section)));
        QCOMPARE(rows[1], row);
    }

    void emptySectionAddsNothingAndSerialsRestart()
    {
        design::MacroTable macros;
        QList<QStringList> rows;
        AppendSheetSection(rows, SheetSection::Profiles, {}, macros, 1);
        QVERIFY(rows.isEmpty());
        AppendSheetSection(rows, SheetSection::Steel, {{u"a"_s, u""_s, u"1"_s, u"5"_s}, {u"b"_s, u""_s, u"1"_s, u"6"_s}},
                           macros, 1);
        AppendSheetSection(rows, SheetSection::Panels, {{u"c"_s, u"1"_s, u"7"_s, u"8"_s}}, macros, 1);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0][1], u"型钢名称"_s);
        QCOMPARE(rows[2][0], u"2"_s);
        QCOMPARE(rows[3][1], u"板材名称"_s);
        QCOMPARE(rows[4][0], u"1"_s);
    }

    void plainSheetFromTheJobTables()
    {
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob(u"7"_s);
        const project::JobLine line = sheetdata::addPlain(
            job, 20, {u"C1"_s, u"一层"_s, u"1500"_s, u"1200"_s, u"3"_s, u"加急"_s},
            {{u"B"_s, u"1500"_s, 9495, 7935}, {u"H"_s, u"1200"_s, 0, 0}, {u" H1 "_s, u" 600 "_s, 4747.5, 0}});
        platform::SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"塑钢门窗厂"_s);
        QString error;
        const auto sheet = buildComponentSheet(line, 12, QString::number(job), QDate(2026, 12, 8), &error);
        QVERIFY2(sheet, qPrintable(error));
        QVERIFY(!sheet->combined);
        // The drawing and the maker are read with the sheet.
        QVERIFY(sheet->drawingRead && sheet->drawing);
        QCOMPARE(sheet->drawing->StringLast, qint16(0));
        QCOMPARE(sheet->maker, u"塑钢门窗厂"_s);
        QCOMPARE(sheet->rows,
                 table({{u"序号"_s, u"型材名称"_s, u"型材代号"_s, u"型材长度"_s, u"数量"_s},
                        {u"1"_s, u"框B"_s, u"XC-60"_s, u"1490"_s, u"6"_s},
                        {u"2"_s, u"扇H"_s, u"XC-70"_s, u"1800"_s, u"6"_s},
                        {u"3"_s, u"压线"_s, u"YX"_s, u"375.5"_s, u"3"_s},
                        {u"序号"_s, u"型钢名称"_s, u"型钢代号"_s, u"型钢长度"_s, u"数量"_s},
                        {u"1"_s, u"钢B"_s, u"XG"_s, u"483.3333"_s, u"6"_s},
                        {u"序号"_s, u"配件名称"_s, u"配件规格"_s, u"单位"_s, u"数量"_s},
                        {u"1"_s, u"合页"_s, u"HY-1"_s, u"个"_s, u"12"_s},
                        {u"2"_s, u"执手"_s, u"ZS"_s, u"把"_s, u"1.5"_s},
                        {u"序号"_s, u"板材名称"_s, u"板材长"_s, u"板材宽"_s, u"数量"_s},
                        {u"1"_s, u"玻璃"_s, u".25"_s, u"600"_s, u"3"_s}}));
        QCOMPARE(sheet->drawingNumber, u"120"_s);
        QCOMPARE(sheet->paperTitle(),
                 QStringList({u"滨江花园"_s, u"甲方公司"_s, u"C1---一层"_s, u"7"_s, u"012"_s, u"宽1500高1200"_s, u"3"_s,
                              QString(), u" 2026年 12月 8日"_s, u"加急"_s, QString(), QString()}));
        // The plain sheet shows the contract number as stored on screen too.
        QCOMPARE(sheet->screenTitle().at(3), u"7"_s);
        QCOMPARE(sheet->screenTitle().at(7), u"2026年12月8日"_s);
        // Values drawn trimmed, longest name first.
        QCOMPARE(sheet->labels.size(), 3);
        QCOMPARE(sheet->labels[0], (SheetLabel{4747.5, 0, u"600"_s}));
    }

    // The sheets of one run share the formulas read once for a type's names; each window's rows are
    // still what its own values give, also where values send the run back to plain evaluation.
    void runSheetsMatchPlainEvaluation()
    {
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob();
        const QList<QList<project::NamedDimension>> windows = {
            {{u"B"_s, u"1500"_s, 0, 0}, {u"H"_s, u"1200"_s, 0, 0}, {u"H1"_s, u"600"_s, 0, 0}},
            {{u"B"_s, u"900"_s, 0, 0}, {u"H"_s, u"2000"_s, 0, 0}, {u"H1"_s, u"700"_s, 0, 0}},
            // Lower case and in another order: the same names once sorted.
            {{u"h1"_s, u"650"_s, 0, 0}, {u"b"_s, u"1200.5"_s, 0, 0}, {u"h"_s, u"1000"_s, 0, 0}},
            {{u"B"_s, u"-5"_s, 0, 0}, {u"H"_s, u"1200"_s, 0, 0}, {u"H1"_s, u"600"_s, 0, 0}},
            {{u"B"_s, QString(), 0, 0}, {u"H"_s, u"1200"_s, 0, 0}, {u"H1"_s, u"600"_s, 0, 0}},
            // Malformed, and a value holding the digit of H1.
            {{u"B"_s, u"1.2.3"_s, 0, 0}, {u"H"_s, u"12"_s, 0, 0}, {u"H1"_s, u"11"_s, 0, 0}},
            {{u"B"_s, u"1500"_s, 0, 0}, {u"H"_s, u"1200"_s, 0, 0}},
            {{u"B"_s, u"800"_s, 0, 0}, {u"H"_s, u"1300"_s, 0, 0}, {u"H1"_s, u"500"_s, 0, 0}},
        };
        QList<project::JobLine> lines;
        for (const QList<project::NamedDimension> &dims : windows)
            lines << sheetdata::addPlain(job, 20, projectdata::fields(u"C"_s), dims);
        QString error;
        const auto built =
            buildComponentSheets(lines, 1, int(lines.size()), QString::number(job), QDate(2026, 1, 1), &error);
        QVERIFY2(built, qPrintable(error));
        const std::optional<design::Bill> bill = design::TypeStore().loadBill(20);
        QVERIFY(bill);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const auto dims = project::ProjectStore().loadDimensions(lines[i].id.toLongLong());
            QVERIFY(dims);
            design::MacroTable macros = LoadSheetMacros(*dims);
            QList<QStringList> expected;
            for (SheetSection s : sheetSections())
                AppendSheetSection(expected, s, bill->of(sectionBillKind(s)), macros,
                                   platform::val(lines[i].fields.count));
            QCOMPARE(built->at(i).rows, expected);
        }
        QCOMPARE(built->at(0).rows.at(1).at(3), u"1490"_s);
        QCOMPARE(built->at(1).rows.at(1).at(3), u"890"_s);
    }

    void plainSheetWithoutLabelsEvaluatesAsWritten()
    {
        QVERIFY(sheetdata::addType(21, u"无标注"_s, 121, {{u"框"_s, u"X"_s, u"2"_s, u"B+1"_s}},
                                   {{u"钢"_s, u"G"_s, u"1"_s, u"100"_s}}, {}, {{u"板"_s, QString(), u"2"_s, u"10*2"_s, u"5"_s}}));
        const qint64 job = sheetdata::addJob();
        const project::JobLine line = sheetdata::addPlain(job, 21, projectdata::fields(u"C"_s), {});
        const auto sheet = buildComponentSheet(line, 1, QString::number(job));
        QVERIFY(sheet);
        QVERIFY(sheet->labels.isEmpty());
        QCOMPARE(sheet->rows.at(2), (QStringList{u"序号"_s, u"型钢名称"_s, u"型钢代号"_s, u"型钢长度"_s, u"数量"_s}));
        QCOMPARE(sheet->rows.at(3), (QStringList{u"1"_s, u"钢"_s, u"G"_s, u"100"_s, u"2"_s}));
        QCOMPARE(sheet->rows.at(5), (QStringList{u"1"_s, u"板"_s, u"20"_s, u"5"_s, u"4"_s}));
    }

    void missingRecordsLeaveTheirFieldsEmpty()
    {
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob();
        project::JobLine line = sheetdata::addPlain(job, 20, projectdata::fields(u"C"_s), {{u"B"_s, u"1000"_s, 0, 0}});
        // The job is not the current one any more, and the type is removed from the library.
        QVERIFY(typedata::run(u"DELETE FROM 门窗 WHERE 编号 = 20"_s));
        const auto sheet = buildComponentSheet(line, 1, u"99"_s);
        QVERIFY(sheet);
        QVERIFY(!sheet->job);
        QCOMPARE(sheet->paperTitle().at(0), QString());
        QCOMPARE(sheet->drawingNumber, QString());
        QCOMPARE(sheet->rows.size(), 11); // the bill rows are still there
        QCOMPARE(sheet->labels.size(), 1);

        platform::RecordingSurface paper;
        QString error;
        QVERIFY2(printSheet(*sheet, paper, &error), qPrintable(error));
        QVERIFY(hasTextAt(paper, u"1000"_s, QPointF(0, 1000)));
        QVERIFY(allTexts(paper).contains(u"1490"_s) == false); // evaluated with B = 1000
        QVERIFY(allTexts(paper).contains(u"990"_s));
    }

    void combinedSheetRunsEveryComponent()
    {
        QVERIFY(sheetdata::addType(22, u"固定扇"_s, 122, {{u"框B"_s, u"XC"_s, u"2.7"_s, u"B-5"_s}}, {},
                                   {{u"螺钉"_s, u"M4"_s, u"1.5"_s, u"个"_s}}));
        const qint64 job = sheetdata::addJob(u"7"_s);
        const project::JobLine line = sheetdata::addCombined(
            job, 900, {u"Z1"_s, u"二层"_s, u"3000"_s, u"2000"_s, u"3"_s, QString()}, {{u"B"_s, u"3000"_s, 9495, 0}},
            {{22, u"固定扇11"_s, {{u"B"_s, u"800"_s, 0, 0}}, 2},
             {22, u"固定扇10"_s, {{u"B"_s, u"500"_s, 0, 0}}, 3},
             {999, u"已删除10"_s, {{u"B"_s, u"1"_s, 0, 0}}, 1},
             {22, u"固定扇12"_s, {{u"B"_s, u"800"_s, 0, 0}}, 0}});
        QVERIFY(line.id != u"0"_s);
        QString error;
        const auto sheet = buildComponentSheet(line, 2, QString::number(job), QDate(2026, 1, 2), &error);
        QVERIFY2(sheet, qPrintable(error));
        QVERIFY(sheet->combined);
        const QStringList profileTitle{u"序号"_s, u"型材名称"_s, u"型材代号"_s, u"型材长度"_s, u"数量"_s};
        const QStringList fittingTitle{u"序号"_s, u"配件名称"_s, u"配件规格"_s, u"单位"_s, u"数量"_s};
        QCOMPARE(sheet->rows, table({profileTitle,
                                     {u"1"_s, u"框B"_s, u"XC"_s, u"495"_s, u"18"_s},
                                     fittingTitle,
                                     {u"1"_s, u"螺钉"_s, u"M4"_s, u"个"_s, u"13.5"_s},
                                     profileTitle,
                                     {u"1"_s, u"框B"_s, u"XC"_s, u"795"_s, u"12"_s},
                                     fittingTitle,
                                     {u"1"_s, u"螺钉"_s, u"M4"_s, u"个"_s, u"9"_s},
                                     profileTitle,
                                     {u"1"_s, u"框B"_s, u"XC"_s, u"795"_s, u"0"_s},
                                     fittingTitle,
                                     {u"1"_s, u"螺钉"_s, u"M4"_s, u"个"_s, u"0"_s}}));
        QCOMPARE(sheet->drawingNumber, u"900"_s);
        QCOMPARE(sheet->labels, (QList<SheetLabel>{{9495, 0, u"3000"_s}}));
        QCOMPARE(sheet->screenTitle().at(3), u"007"_s);
        QCOMPARE(sheet->paperTitle().at(3), u"7"_s);
        QCOMPARE(sheet->paperTitle().at(4), u"002"_s);
    }

    void combinedWithoutComponentsHasTitleAndDrawingOnly()
    {
        const qint64 job = sheetdata::addJob();
        const project::JobLine line = sheetdata::addCombined(job, 900, projectdata::fields(u"Z"_s), {}, {});
        const auto sheet = buildComponentSheet(line, 1, QString::number(job));
        QVERIFY(sheet);
        QVERIFY(sheet->rows.isEmpty());
        QVERIFY(sheet->labels.isEmpty());
        QCOMPARE(sheet->drawingNumber, u"900"_s);
        QCOMPARE(sheet->paperTitle().at(0), u"滨江花园"_s);
    }

    void unreadableTablesFailTheSheet_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("labels") << u"标注"_s;
        QTest::newRow("bill") << u"窗配件"_s;
        QTest::newRow("jobs") << u"工程"_s;
    }
    void unreadableTablesFailTheSheet()
    {
        QFETCH(QString, table);
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob();
        const project::JobLine line = sheetdata::addPlain(job, 20, projectdata::fields(u"C"_s), {});
        QVERIFY(typedata::run(u"DROP TABLE "_s + platform::ident(table)));
        QString error;
        QVERIFY(!buildComponentSheet(line, 1, QString::number(job), QDate::currentDate(), &error));
        QVERIFY(!error.isEmpty());
    }

    void screenPictureWritesValuesInItsBox()
    {
        ComponentSheet sheet;
        sheet.drawingNumber = u"120"_s;
        sheet.labels = {{9495, 7935, u"1500"_s}, {0, 0, QString()}};
        QVERIFY(projectdata::saveDrawing(120, u"图"_s, {{u"B"_s, 1, 1}}));
        sheet.drawing = drawing::loadLibraryDrawing(sheet.drawingNumber);
        platform::RecordingSurface pic;
        QVERIFY(drawSheetPicture(sheet, pic));
        QVERIFY(hasTextAt(pic, u"1500"_s, QPointF(5000, 4917)));
        QCOMPARE(pic.texts().size(), 1); // neither the empty value nor the drawing's own label
        QVERIFY(!pic.lines().isEmpty());

        // A sheet without a drawing still gets its values.
        sheet.drawingNumber = QString();
        sheet.drawing.reset();
        platform::RecordingSurface bare;
        QVERIFY(drawSheetPicture(sheet, bare));
        QVERIFY(hasTextAt(bare, u"1500"_s, QPointF(5000, 4917)));
        QVERIFY(bare.lines().isEmpty());
    }

    void printedSheetRunsOnToContinuationPages_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("pages");
        QTest::newRow("46 rows") << 46 << 1;
        QTest::newRow("47 rows") << 47 << 2;
        QTest::newRow("112 rows") << 112 << 2;
        QTest::newRow("113 rows") << 113 << 3;
        QTest::newRow("700 rows") << 700 << 11;
    }
    void printedSheetRunsOnToContinuationPages()
    {
        QFETCH(int, rowCount);
        QFETCH(int, pages);
        ComponentSheet sheet;
        sheet.job = project::Job{1, u"HT"_s, u"工程"_s, u"地点"_s, u"甲方"_s};
        sheet.date = QDate(2026, 12, 8);
        sheet.labels = {{9495, 7935, u"1500"_s}};
        for (int r = 1; r <= rowCount; ++r)
            sheet.rows << QStringList{QString::number(r), u"名%1"_s.arg(r), u"x"_s, u"y"_s, u"z"_s};
        sheet.maker = u"塑钢门窗厂"_s;
        platform::RecordingSurface paper;
        QVERIFY(printSheet(sheet, paper));
        QCOMPARE(paper.pageCount(), pages);
        QCOMPARE(paper.count(platform::SurfaceOp::EndDocument), 0);
        QVERIFY(hasTextAt(paper, u"1500"_s, QPointF(5500, 4917), 0));
        const QStringList first = allTexts(paper, 0);
        QVERIFY(first.contains(u"制作单位：塑钢门窗厂"_s));
        QVERIFY(first.contains(u" 2026年 12月 8日"_s));
        QVERIFY(first.contains(u"名%1"_s.arg(qMin(rowCount, 46))));
        // Every row reaches the paper, the last one included.
        QVERIFY(allTexts(paper, pages - 1).contains(u"名%1"_s.arg(rowCount)));
    }

    // Output reads nothing: a built sheet prints the drawing and the maker as they were when it was
    // built.
    void builtSheetIsPrintedAsRead()
    {
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob();
        const project::JobLine line = sheetdata::addPlain(job, 20, projectdata::fields(u"C"_s), {});
        platform::SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"塑钢门窗厂"_s);
        const auto built = buildComponentSheets({line}, 1, 1, QString::number(job));
        QVERIFY(built);
        QVERIFY(typedata::run(u"DROP TABLE \"Line\""_s));
        platform::SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"别家"_s);
        platform::RecordingSurface paper;
        QString error;
        QVERIFY2(printSheet(built->first(), paper, &error), qPrintable(error));
        QCOMPARE(paper.lines().constFirst(), QLineF(0, 1000, 5500, 4917)); // the drawing's diagonal
        QVERIFY(allTexts(paper).contains(u"制作单位：塑钢门窗厂"_s));
    }

    // Without its drawing a sheet keeps its rows and values: the screen shows the values and says
    // why the drawing is missing.
    void unreadableDrawingLeavesRowsAndValues()
    {
        QVERIFY(addFullType());
        const qint64 job = sheetdata::addJob();
        const project::JobLine line =
            sheetdata::addPlain(job, 20, projectdata::fields(u"C"_s), {{u"B"_s, u"1500"_s, 9495, 7935}});
        QVERIFY(typedata::run(u"DROP TABLE \"Arc\""_s));
        QString error;
        const auto sheet = buildComponentSheet(line, 1, QString::number(job), QDate::currentDate(), &error);
        QVERIFY2(sheet, qPrintable(error));
        QVERIFY(!sheet->drawingRead);
        QCOMPARE(sheet->rows.size(), 11);
        platform::RecordingSurface pic;
        QVERIFY(!drawSheetPicture(*sheet, pic, &error));
        QVERIFY(error.contains(u"Arc"_s));
        QVERIFY(hasTextAt(pic, u"1500"_s, QPointF(5000, 4917)));
        QVERIFY(pic.lines().isEmpty());
    }
};

QTEST_MAIN(TestComponentSheet)
#include "tst_componentsheet.moc"
