// The formula workbook: its layout and row classification, the export of every type (read back with
// the project's reader and with an independent one), and the import into a series, all or nothing.
#include "typedata.h"
#include "../platform/independentreader.h"
#include "design/typestore.h"

#include "design/formulasheet.h"
#include "design/ui/frmdesign.h"
#include "drawing/store.h"
#include "platform/numtext.h"
#include "platform/workbook.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace design;
using platform::MsgIcon;
using typedata::run;
using independentreader::Independent;
using independentreader::readIndependently;

Q_DECLARE_METATYPE(design::FormulaRowKind)
Q_DECLARE_METATYPE(design::BillKind)
Q_DECLARE_METATYPE(platform::MsgIcon)

namespace {
using Grid = QList<QStringList>;

// Type 2 (stored first) with every kind, quotes and a fractional count; type 1 with no bill;
// type 3 in the other series; and rows of a type that does not exist.
bool fillExportLibrary()
{
    return run(u"INSERT INTO 门窗厂家 (编号, 名称) VALUES (1, 'M1')"_s)
           && run(u"INSERT INTO 门窗系列 (厂家编号, 编号, 名称) VALUES (1, 1, 'S1'), (1, 2, 'S2')"_s)
           && run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, 2, '推拉窗''A', 101), "
                  u"(1, 1, '空型', 102), (2, 3, '平开窗', 103)"_s)
           && run(u"INSERT INTO 窗型材 VALUES (2, 1, '框料', '60-01', '2', 'B-2*KH1'), (2, 2, '扇料', '60-02', '4', 'H/2'), "
                  u"(3, 3, '框料', '60-01', '2', 'B'), (99, 4, '孤行', '', '1', '1')"_s)
           && run(u"INSERT INTO 窗型钢 VALUES (2, 1, '钢衬', 'G-20', '2', 'B-100'), (3, 2, '钢衬', 'G-20', '2', 'H')"_s)
           && run(u"INSERT INTO 窗板材 VALUES (2, 1, '白玻', 2, 'B/2-10', 'H-20'), (2, 2, '中空玻璃', 0.5, 'B', 'H'), "
                  u"(3, 3, '白玻', 1, 'B', 'H')"_s)
           && run(u"INSERT INTO 窗配件 VALUES (2, 1, '执手', 'ZS', 1, '个'), (3, 2, '合页', 'HY', 4, '套')"_s);
}

const QStringList kXC = {u"型材名称"_s, u"型材规格"_s, u"数量"_s, u"计算公式"_s};
const QStringList kXG = {u"型钢名称"_s, u"型钢规格"_s, u"数量"_s, u"计算公式"_s};
const QStringList kPC = {u"板材名称"_s, u"数量"_s, u"长公式"_s, u"宽公式"_s};
const QStringList kPJ = {u"配件名称"_s, u"配件规格"_s, u"数量"_s, u"单位"_s};

// The sheet of fillExportLibrary(); a cell marked with a leading "#" is a number cell.
const Grid kExported = {
    {u"门窗名称：推拉窗'A"_s, u"#101"_s, {}, {}},
    kXC,
    {u"框料"_s, u"60-01"_s, u"2"_s, u"B-2*KH1"_s},
    {u"扇料"_s, u"60-02"_s, u"4"_s, u"H/2"_s},
    kXG,
    {u"钢衬"_s, u"G-20"_s, u"2"_s, u"B-100"_s},
    kPC,
    {u"白玻"_s, u"#2"_s, u"B/2-10"_s, u"H-20"_s},
    {u"中空玻璃"_s, u"#0.5"_s, u"B"_s, u"H"_s},
    kPJ,
    {u"执手"_s, u"ZS"_s, u"#1"_s, u"个"_s},
    {u"门窗名称：空型"_s, u"#102"_s, {}, {}},
    {u"门窗名称：平开窗"_s, u"#103"_s, {}, {}},
    kXC,
    {u"框料"_s, u"60-01"_s, u"2"_s, u"B"_s},
    kXG,
    {u"钢衬"_s, u"G-20"_s, u"2"_s, u"H"_s},
    kPC,
    {u"白玻"_s, u"#1"_s, u"B"_s, u"H"_s},
    kPJ,
    {u"合页"_s, u"HY"_s, u"#4"_s, u"套"_s},
};

QString plain(const QString &cell) { return cell.startsWith(u'#') ? cell.mid(1) : cell; }

Grid gridRows(const platform::CellGrid &grid)
{
    Grid out;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < 4; ++c)
            row << grid.text(r, c);
        out << row;
    }
    return out;
}

Grid plainRows(const Grid &grid)
{
    Grid out;
    for (const QStringList &row : grid) {
        QStringList r;
        for (const QString &cell : row)
            r << plain(cell);
        out << r;
    }
    return out;
}

platform::CellGrid makeGrid(const Grid &rows)
{
    platform::CellGrid grid;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].isEmpty())
                grid.setText(r, c, rows[r][c]);
    return grid;
}

// Writes the rows as text cells into the first sheet of a new workbook.
bool writeSheet(const QString &path, const Grid &rows)
{
    platform::Workbook book;
    platform::Sheet &sheet = book.addSheet(u"Sheet1"_s);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            if (!rows[r][c].isEmpty())
                sheet.setText(r, c, rows[r][c]);
    QString error;
    const bool ok = platform::writeXlsx(book, path, &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

bool select(FrmDesign &w, const QString &tag)
{
    QTreeWidgetItem *node = w.nodeByTag(tag);
    w.tree()->setCurrentItem(node);
    return node && w.selectedNode() == node;
}

// The whole tree as "tag text" lines in tree order.
QStringList treeLines(const FrmDesign &w)
{
    QStringList out;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *node, int depth) {
        out << QString(depth * 2, u' ') + FrmDesign::nodeTag(node) + u' ' + node->text(0);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < w.tree()->topLevelItemCount(); ++i)
        walk(w.tree()->topLevelItem(i), 0);
    return out;
}

// Runs the export and gives the path of the workbook it opened.
QString exportWorkbook(testfixture::DataFolder &fx)
{
    FrmDesign w;
    fx.msgs->openedWithDesktop.clear();
    w.findChild<QPushButton *>(u"CmdOutGS"_s)->click();
    if (!fx.msgs->shown.isEmpty())
        qWarning("%s", qPrintable(fx.msgs->lastText()));
    return fx.msgs->openedWithDesktop.value(0);
}

Bill storedBill(qint64 typeId) { return TypeStore().loadBill(typeId).value_or(Bill{}); }
} // namespace

class TstTypeToolsWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void classifiesRowsByTheirFirstFourCharacters_data();
    void classifiesRowsByTheirFirstFourCharacters();
    void readsTypesWithTheirBlocks();
    void drawingNumberThatIsNotANumberIsNamed_data();
    void drawingNumberThatIsNotANumberIsNamed();

    void exportWritesEveryTypeInStoredOrder();
    void exportOpensInAnIndependentReader();
    void emptyLibraryExportsAnEmptySheet();
    void failedExportTellsAndOpensNothing();

    void exportedWorkbookImportsIntoASeries();
    void importNeedsASelectedSeries_data();
    void importNeedsASelectedSeries();
    void cancelledImportChangesNothing();
    void oldBinaryWorkbookIsRefused();
    void formulasReadInPartAreListedAfterImport();
    void rowsAboveTheFirstTypeAreIgnored();
    void failingImportLeavesNothing_data();
    void failingImportLeavesNothing();
    void typeNumbersGoBeyondSixteenBits();
    void workbooksFromOtherPrograms_data();
    void workbooksFromOtherPrograms();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstTypeToolsWorkbook::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    // The drawings the sheets name, labelled as their formulas need.
    drawing::DrawingLists lists;
    for (const QString &label : {u"B"_s, u"H"_s, u"KH1"_s})
        lists.StringArr[size_t(++lists.StringLast)] = {{0, 0}, label};
    for (qint64 number : {1, 2, 5, 101, 102, 103}) {
        drawing::DrawingStore drawings;
        QVERIFY2(drawings.saveNew(number, u"图%1"_s.arg(number), lists), qPrintable(drawings.lastError()));
    }
}

void TstTypeToolsWorkbook::cleanup()
{
    for (const QString &path : m_fx->msgs->openedWithDesktop)
        QFile::remove(path);
    m_fx.reset();
}

// --- layout and reading, without the database

void TstTypeToolsWorkbook::classifiesRowsByTheirFirstFourCharacters_data()
{
    QTest::addColumn<QString>("columnA");
    QTest::addColumn<FormulaRowKind>("kind");
    QTest::addColumn<BillKind>("table");
    QTest::newRow("type row") << u"门窗名称：推拉窗"_s << FormulaRowKind::Type << BillKind::Profile;
    QTest::newRow("type row without a name") << u"门窗名称"_s << FormulaRowKind::Type << BillKind::Profile;
    QTest::newRow("type row with another colon") << u"门窗名称:X"_s << FormulaRowKind::Type << BillKind::Profile;
    QTest::newRow("profiles") << u"型材名称"_s << FormulaRowKind::Header << BillKind::Profile;
    QTest::newRow("steel") << u"型钢名称"_s << FormulaRowKind::Header << BillKind::Steel;
    QTest::newRow("panels") << u"板材名称"_s << FormulaRowKind::Header << BillKind::Panel;
    QTest::newRow("fittings") << u"配件名称"_s << FormulaRowKind::Header << BillKind::Fitting;
    QTest::newRow("data row starting like a header") << u"型钢名称表里的钢"_s << FormulaRowKind::Header
                                                     << BillKind::Steel;
    QTest::newRow("material") << u"框料"_s << FormulaRowKind::Bill << BillKind::Profile;
    QTest::newRow("three of the four") << u"型材名"_s << FormulaRowKind::Bill << BillKind::Profile;
    QTest::newRow("upper word elsewhere") << u"白玻板材名称"_s << FormulaRowKind::Bill << BillKind::Profile;
}

void TstTypeToolsWorkbook::classifiesRowsByTheirFirstFourCharacters()
{
    QFETCH(QString, columnA);
    QFETCH(FormulaRowKind, kind);
    QFETCH(BillKind, table);
    const FormulaRowClass what = classifyFormulaRow(columnA);
    QCOMPARE(what.kind, kind);
    if (kind == FormulaRowKind::Header)
        QCOMPARE(what.table, table);
}

void TstTypeToolsWorkbook::readsTypesWithTheirBlocks()
{
    const Grid rows = {
        kXC,                                                 // 1: a header above every type
        {u"框料"_s, u"X"_s, u"1"_s, u"B"_s},                 // 2: ignored: no type yet
        {u"门窗名称：A"_s, u"7"_s},                          // 3
        {u"中间行"_s, u"a"_s, u"b"_s, u"c"_s},               // 4: ignored: no table after the type row
        kPC,                                                 // 5
        {u"白玻"_s, u"2"_s, u"B"_s, u"H"_s},                 // 6
        {u"门窗名称"_s},                                     // 7: no name, no drawing
        kXG,                                                 // 8
        {u"钢衬"_s, {}, {}, u"H-1"_s},                       // 9
        {u"门窗名称：A"_s, u"8"_s},                          // 10: a name may repeat
        {u"框料"_s, u"Y"_s, u"2"_s, u"B"_s},                 // 11: ignored: the new type has no table yet
        {{}, u"B is filled but A is not"_s},                 // 12: the end
        {u"门窗名称：below the gap"_s, u"9"_s},
    };
    const FormulaSheet sheet = readFormulaSheet(makeGrid(rows));
    QVERIFY(!sheet.problem);
    QCOMPARE(sheet.rowsRead, 11);
    QCOMPARE(sheet.rowsIgnored, 3);
    QCOMPARE(sheet.types.size(), 3);

    const ImportedType &a = sheet.types[0];
    QCOMPARE(a.sourceRow, 3);
    QCOMPARE(a.name, u"A"_s);
    QCOMPARE(a.drawingNumber, 7);
    Bill bill;
    bill.of(BillKind::Panel) << BillRow{u"白玻"_s, u"2"_s, u"B"_s, u"H"_s};
    QCOMPARE(a.bill, bill);
    QCOMPARE(a.sourceRows[size_t(BillKind::Panel)], QList<int>{6});

    const ImportedType &unnamed = sheet.types[1];
    QCOMPARE(unnamed.name, u"-"_s);
    QCOMPARE(unnamed.drawingNumber, 0);
    QCOMPARE(unnamed.bill.of(BillKind::Steel), (QList<BillRow>{{u"钢衬"_s, {}, {}, u"H-1"_s}}));
    QCOMPARE(unnamed.sourceRows[size_t(BillKind::Steel)], QList<int>{9});

    QCOMPARE(sheet.types[2].name, u"A"_s);
    QCOMPARE(sheet.types[2].drawingNumber, 8);
    QVERIFY(sheet.types[2].bill.isEmpty());
}

void TstTypeToolsWorkbook::drawingNumberThatIsNotANumberIsNamed_data()
{
    QTest::addColumn<QString>("drawing");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<qint64>("number");
    QTest::newRow("whole") << u"12"_s << true << qint64(12);
    QTest::newRow("blanks around") << u" 12 "_s << true << qint64(12);
    QTest::newRow("a fraction rounds half to even") << u"2.5"_s << true << qint64(2);
    QTest::newRow("text") << u"图12"_s << false << qint64(0);
    QTest::newRow("beyond the drawing numbers") << u"3000000000"_s << false << qint64(0);
}

void TstTypeToolsWorkbook::drawingNumberThatIsNotANumberIsNamed()
{
    QFETCH(QString, drawing);
    QFETCH(bool, accepted);
    QFETCH(qint64, number);
    const Grid rows = {{u"门窗名称：A"_s, u"1"_s}, {u"门窗名称：B"_s, drawing}, {u"门窗名称：C"_s, u"x"_s}};
    const FormulaSheet sheet = readFormulaSheet(makeGrid(rows));
    if (accepted) {
        QCOMPARE(sheet.types[1].drawingNumber, number);
        QCOMPARE(sheet.problem->sourceRow, 3); // the later bad row is still found
    } else {
        QCOMPARE(sheet.problem->sourceRow, 2); // the first bad row
        QVERIFY2(sheet.problem->message.contains(drawing), qPrintable(sheet.problem->message));
    }
}

// --- export

void TstTypeToolsWorkbook::exportWritesEveryTypeInStoredOrder()
{
    QVERIFY(fillExportLibrary());
    FrmDesign w;
    w.findChild<QPushButton *>(u"CmdOutGS"_s)->click();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(w.windowTitle(), u"门窗设计"_s);
    QCOMPARE(m_fx->msgs->openedWithDesktop.size(), 1);
    const QString path = m_fx->msgs->openedWithDesktop.first();
    QVERIFY(path.endsWith(u".xlsx"_s));

    QString error;
    const std::optional<platform::CellGrid> grid = platform::readFirstSheet(path, &error);
    QVERIFY2(grid, qPrintable(error));
    QCOMPARE(gridRows(*grid), plainRows(kExported));
    // Nothing was written to the library.
    QCOMPARE(typedata::rows(u"门窗"_s).size(), 3);
}

void TstTypeToolsWorkbook::exportOpensInAnIndependentReader()
{
    QVERIFY(fillExportLibrary());
    const QString path = exportWorkbook(*m_fx);
    QVERIFY(!path.isEmpty());
    QJsonObject read;
    QString why;
    const Independent result = readIndependently(path, &read, &why);
    if (result == Independent::Missing)
        QSKIP("python3 with openpyxl is not installed");
    QVERIFY2(result == Independent::Read, qPrintable(why));
    QCOMPARE(read.value(u"sheet"_s).toString(), u"Sheet1"_s);
    const QJsonArray rows = read.value(u"rows"_s).toArray();
    QCOMPARE(rows.size(), kExported.size());
    for (int r = 0; r < rows.size(); ++r) {
        const QJsonArray cells = rows[r].toArray();
        for (int c = 0; c < 4; ++c) {
            const QString expected = kExported[r].value(c);
            const QJsonValue v = cells.at(c);
            const QString where = u"row %1, column %2"_s.arg(r + 1).arg(c + 1);
            if (expected.isEmpty())
                QVERIFY2(v.isNull() || v.isUndefined(), qPrintable(where));
            else if (expected.startsWith(u'#'))
                QVERIFY2(v.isDouble() && platform::generalDouble(v.toDouble()) == expected.mid(1), qPrintable(where));
            else
                QVERIFY2(v.isString() && v.toString() == expected, qPrintable(where));
        }
    }
}

void TstTypeToolsWorkbook::emptyLibraryExportsAnEmptySheet()
{
    const QString path = exportWorkbook(*m_fx);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    const std::optional<platform::CellGrid> grid = platform::readFirstSheet(path);
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 0);
}

void TstTypeToolsWorkbook::failedExportTellsAndOpensNothing()
{
    QVERIFY(fillExportLibrary());
    QVERIFY(run(u"ALTER TABLE 窗板材 RENAME TO 旧板材"_s));
    FrmDesign w;
    w.CmdOutGS();
    QVERIFY(m_fx->msgs->openedWithDesktop.isEmpty());
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    const platform::ShownMessage &m = m_fx->msgs->shown.first();
    QVERIFY2(m.text.startsWith(u"读取门窗公式出错"_s) && m.text.contains(u"窗板材"_s), qPrintable(m.text));
    QCOMPARE(m.icon, MsgIcon::Critical);
    QCOMPARE(w.windowTitle(), u"门窗设计"_s);
}

// --- import

void TstTypeToolsWorkbook::exportedWorkbookImportsIntoASeries()
{
    QVERIFY(fillExportLibrary());
    const QString path = exportWorkbook(*m_fx);
    QVERIFY(!path.isEmpty());

    FrmDesign w;
    QVERIFY(select(w, u"22"_s));
    m_fx->msgs->fileNames << path;
    w.findChild<QPushButton *>(u"CmdInputGS"_s)->click();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(w.windowTitle(), u"设计门窗"_s);
    // The sheet's types in sheet order, in the chosen series, under the next free numbers.
    QCOMPARE(typedata::rows(u"门窗"_s).mid(3),
             (QStringList{u"2|4|推拉窗'A||101"_s, u"2|5|空型||102"_s, u"2|6|平开窗||103"_s}));
    QCOMPARE(storedBill(4), storedBill(2));
    QVERIFY(storedBill(5).isEmpty());
    QCOMPARE(storedBill(6), storedBill(3));
    // Row numbers continue each table.
    QCOMPARE(typedata::ids(u"窗板材"_s, u"窗号"_s, 4), (QList<qint64>{4, 5}));
    // The tree was loaded again: nothing selected, the series open with its types by name.
    QVERIFY(!w.selectedNode());
    QTreeWidgetItem *series = w.nodeByTag(u"22"_s);
    QVERIFY(series->isExpanded());
    QStringList children;
    for (int i = 0; i < series->childCount(); ++i)
        children << FrmDesign::nodeTag(series->child(i));
    QCOMPARE(children, (QStringList{u"33"_s, u"36"_s, u"34"_s, u"35"_s})); // by name, then number
    QVERIFY(!w.findChild<QPushButton *>(u"CmdAddMC"_s)->isEnabled());

    // The same sheet again makes new types with the same names.
    QVERIFY(select(w, u"21"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QCOMPARE(typedata::rows(u"门窗"_s).mid(6),
             (QStringList{u"1|7|推拉窗'A||101"_s, u"1|8|空型||102"_s, u"1|9|平开窗||103"_s}));
    QCOMPARE(storedBill(7), storedBill(2));
}

void TstTypeToolsWorkbook::importNeedsASelectedSeries_data()
{
    QTest::addColumn<QString>("tag");
    QTest::newRow("nothing selected") << QString();
    QTest::newRow("maker") << u"11"_s;
    QTest::newRow("type") << u"33"_s;
}

void TstTypeToolsWorkbook::importNeedsASelectedSeries()
{
    QFETCH(QString, tag);
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    if (!tag.isEmpty())
        QVERIFY(select(w, tag));
    m_fx->msgs->fileNames << u"never asked.xlsx"_s;
    w.CmdInputGS();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"当前状态下不能导入公式！必须在系列状态"_s});
    QCOMPARE(m_fx->msgs->shown.first().icon, MsgIcon::Information);
    QCOMPARE(m_fx->msgs->fileNames.size(), 1); // no file was asked for
    QCOMPARE(w.windowTitle(), u"门窗设计"_s);
}

void TstTypeToolsWorkbook::cancelledImportChangesNothing()
{
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"22"_s));
    w.CmdInputGS(); // no file name scripted: the dialog is cancelled
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(w.windowTitle(), u"设计门窗"_s);
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(w.selectedNode(), w.nodeByTag(u"22"_s));
}

void TstTypeToolsWorkbook::oldBinaryWorkbookIsRefused()
{
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    const QString path = m_fx->dir->filePath(u"公式.xls"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(504, '\0'));
    file.close();
    FrmDesign w;
    QVERIFY(select(w, u"22"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY2(m_fx->msgs->lastText().contains(u".xlsx"_s), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(w.windowTitle(), u"设计门窗"_s);
    QCOMPARE(typedata::dump(), before);
}

void TstTypeToolsWorkbook::formulasReadInPartAreListedAfterImport()
{
    QVERIFY(typedata::fillLibrary());
    const QString path = m_fx->dir->filePath(u"partial.xlsx"_s);
    QVERIFY(writeSheet(path, {{u"门窗名称：甲"_s, u"5"_s},
                              kXC,
                              {u"框料"_s, u"X"_s, u"2"_s, u"(H-100"_s},
                              {u"扇料"_s, u"Y"_s, u"X+5"_s, u"B-KH1"_s},
                              {u"门窗名称：乙"_s, u"999"_s}, // no such drawing: no labels
                              kPC,
                              {u"白玻"_s, u"1"_s, u"B/2"_s, u"10/(5-5)"_s}}));
    FrmDesign w;
    QVERIFY(select(w, u"24"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    // Imported as they stand, then listed.
    QCOMPARE(typedata::rows(u"窗型材"_s).filter(u"(H-100"_s).size(), 1);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown.first().icon, MsgIcon::Exclamation);
    QCOMPARE(m_fx->msgs->lastText(), u"公式已导入，但以下公式无法完整计算：\n"
                                     "门窗名称：甲（第1行）\n"
                                     "门窗型材\t第3行\t(H-100\t括号不成对\n"
                                     "门窗型材\t第4行\tX+5\t“X”既不是函数也不是图中的标注\n"
                                     "门窗名称：乙（第5行）\n"
                                     "门窗板材\t第7行\tB/2\t“B”既不是函数也不是图中的标注\n"
                                     "门窗板材\t第7行\t10/(5-5)\t计算结果不是有限数"_s);
}

void TstTypeToolsWorkbook::rowsAboveTheFirstTypeAreIgnored()
{
    QVERIFY(typedata::fillLibrary());
    const QString path = m_fx->dir->filePath(u"above.xlsx"_s);
    QVERIFY(writeSheet(path, {kXC,
                              {u"框料"_s, u"X"_s, u"1"_s, u"B"_s},
                              kPJ,
                              {u"执手"_s, u"ZS"_s, u"1"_s, u"个"_s},
                              {u"门窗名称：新窗"_s, u"5"_s},
                              kXC,
                              {u"扇料"_s, u"Y"_s, u"2"_s, u"H"_s}}));
    const Bill highest = storedBill(8);
    FrmDesign w;
    QVERIFY(select(w, u"24"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    // The type with the highest number before the import got nothing.
    QCOMPARE(storedBill(8), highest);
    // Only the new type and its one row were added.
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"4|9|新窗||5"_s);
    Bill bill;
    bill.of(BillKind::Profile) << BillRow{u"扇料"_s, u"Y"_s, u"2"_s, u"H"_s};
    QCOMPARE(storedBill(9), bill);
    QCOMPARE(typedata::rows(u"窗配件"_s).size(), 8);
    QCOMPARE(typedata::rows(u"窗型材"_s).size(), 9);
}

void TstTypeToolsWorkbook::failingImportLeavesNothing_data()
{
    QTest::addColumn<QString>("brokenTable");
    QTest::addColumn<QString>("badCell"); // "row,column=text" put into the good sheet
    QTest::addColumn<int>("failingRow");
    QTest::newRow("a panel row cannot be stored") << u"窗板材"_s << QString() << 8;
    QTest::newRow("the first type cannot be stored") << u"门窗"_s << QString() << 1;
    QTest::newRow("a fitting count that is not a number") << QString() << u"10,2=四个"_s << 11;
    QTest::newRow("an empty panel count") << QString() << u"7,1="_s << 8;
    QTest::newRow("a drawing number that is not a number") << QString() << u"5,1=图五"_s << 6;
}

void TstTypeToolsWorkbook::failingImportLeavesNothing()
{
    QFETCH(QString, brokenTable);
    QFETCH(QString, badCell);
    QFETCH(int, failingRow);
    QVERIFY(typedata::fillLibrary());
    Grid rows = {
        {u"门窗名称：甲"_s, u"1"_s},          // 1
        kXC,                                   // 2
        {u"框料"_s, u"X"_s, u"1"_s, u"B"_s},  // 3
        {u"扇料"_s, u"Y"_s, u"2"_s, u"H"_s},  // 4
        kXG,                                   // 5
        {u"门窗名称：乙"_s, u"2"_s},          // 6
        kPC,                                   // 7
        {u"白玻"_s, u"1"_s, u"B"_s, u"H"_s},  // 8
        kPJ,                                   // 9
        {u"执手"_s, u"ZS"_s, u"1"_s, u"个"_s}, // 10
        {u"合页"_s, u"HY"_s, u"2"_s, u"个"_s}, // 11
    };
    if (!badCell.isEmpty()) {
        const int comma = badCell.indexOf(u',');
        const int eq = badCell.indexOf(u'=');
        rows[badCell.left(comma).toInt()][badCell.mid(comma + 1, eq - comma - 1).toInt()] = badCell.mid(eq + 1);
    }
    const QString path = m_fx->dir->filePath(u"bad.xlsx"_s);
    QVERIFY(writeSheet(path, rows));
    if (!brokenTable.isEmpty())
        QVERIFY(typedata::breakTable(brokenTable, u"INSERT"_s));
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"22"_s));
    const QStringList treeBefore = treeLines(w);
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    const QString text = m_fx->msgs->lastText();
    QVERIFY2(text.startsWith(u"导入公式出错，没有导入任何门窗。"_s), qPrintable(text));
    QVERIFY2(text.contains(u"第%1行"_s.arg(failingRow)), qPrintable(text));
    QCOMPARE(m_fx->msgs->shown.first().icon, MsgIcon::Critical);
    // The tree was not touched and the series is still selected.
    QCOMPARE(treeLines(w), treeBefore);
    QCOMPARE(w.selectedNode(), w.nodeByTag(u"22"_s));
    QCOMPARE(w.windowTitle(), u"设计门窗"_s);
}

void TstTypeToolsWorkbook::typeNumbersGoBeyondSixteenBits()
{
    QVERIFY(typedata::fillLibrary());
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, 40000, '大号', 1)"_s));
    const QString path = m_fx->dir->filePath(u"big.xlsx"_s);
    QVERIFY(writeSheet(path, {{u"门窗名称：一"_s, u"1"_s}, kPC, {u"白玻"_s, u"1"_s, u"B"_s, u"H"_s},
                              {u"门窗名称：二"_s, u"2"_s}}));
    FrmDesign w;
    QVERIFY(select(w, u"23"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(typedata::ids(u"门窗"_s, u"系列编号"_s, 3), (QList<qint64>{5, 6, 40001, 40002}));
    QCOMPARE(typedata::ids(u"窗板材"_s, u"窗号"_s, 40001), QList<qint64>{9});
    QVERIFY(w.nodeByTag(u"340002"_s));
}

// Fixtures made by other programs, with the scripts that made them, in data/.
void TstTypeToolsWorkbook::workbooksFromOtherPrograms_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("message"); // "%1" stands for the file's path; empty: imported silently
    QTest::addColumn<MsgIcon>("icon");
    const QString cannotRead = u"读取Excel公式表出错！\n"_s;
    QTest::newRow("LibreOffice: shared strings, rich text, a merged cell, computed formulas")
        << u"formulas-libreoffice.xlsx"_s << QString() << MsgIcon::Information;
    QTest::newRow("openpyxl: formulas without results")
        << u"formulas-openpyxl.xlsx"_s
        << cannotRead + u"无法读取工作簿 %1：C4 单元格（第4行C列）是公式，文件中没有保存它的计算结果。"
                        "请先用电子表格程序打开并保存此工作簿，再读取"_s
        << MsgIcon::Critical;
    QTest::newRow("LibreOffice: a cover sheet first")
        << u"cover-first-libreoffice.xlsx"_s
        << u"工作簿的第一张工作表“封面”中没有门窗公式行，没有导入任何门窗。\n"
           "公式表须是工作簿的第一张工作表，每种门窗从A列为“门窗名称：”的一行开始。"_s
        << MsgIcon::Exclamation;
    QTest::newRow("OpenDocument spreadsheet")
        << u"formulas.ods"_s
        << cannotRead + u"只能读取 .xlsx 工作簿：%1 是 OpenDocument 电子表格（.ods），请用电子表格程序另存为 .xlsx 后再读取"_s
        << MsgIcon::Critical;
}

void TstTypeToolsWorkbook::workbooksFromOtherPrograms()
{
    QFETCH(QString, fixture);
    QFETCH(QString, message);
    QFETCH(MsgIcon, icon);
    const QString path = QFINDTESTDATA(u"data/"_s + fixture);
    QVERIFY(!path.isEmpty());
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"22"_s));
    m_fx->msgs->fileNames << path;
    w.CmdInputGS();
    QCOMPARE(w.windowTitle(), u"设计门窗"_s);
    if (!message.isEmpty()) {
        QCOMPARE(m_fx->msgs->texts(), QStringList{message.contains(u"%1"_s) ? message.arg(path) : message});
        QCOMPARE(m_fx->msgs->shown.first().icon, icon);
        QCOMPARE(typedata::dump(), before);
        return;
    }
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"2|9|推拉窗||101"_s);
    // As the sheet shows them: the rich text whole, the formulas' results, the merged cell on the
    // type row left out.
    Bill bill;
    bill.of(BillKind::Profile) << BillRow{u"框料"_s, u"60-01"_s, u"2"_s, u"B-2*KH1"_s}
                               << BillRow{u"扇料"_s, u"60-02"_s, u"4"_s, u"H/2"_s};
    bill.of(BillKind::Fitting) << BillRow{u"执手"_s, u"ZS"_s, u"2"_s, u"个"_s};
    QCOMPARE(storedBill(9), bill);
}

QTEST_MAIN(TstTypeToolsWorkbook)
#include "tst_typetools_workbook.moc"
