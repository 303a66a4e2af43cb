#include "statsdata.h"
#include "../platform/filelimit.h"
#include "../platform/independentreader.h"
#include <QJsonArray>
#include "../platform/pagecheck.h"

#include "platform/workbook.h"
#include "platform/ansicodes.h"
#include "platform/numtext.h"
#include "stats/expansion.h"
#include "stats/groupsums.h"
#include "stats/numbers.h"
#include "stats/pricing.h"
#include "stats/settlement.h"
#include "stats/statsexport.h"
#include "stats/statsreports.h"
#include "stats/statsstore.h"

#include <QSqlError>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace stats;
using namespace statsdata;

namespace {
QString pageText(const QList<QStringList> &pages)
{
    QStringList all;
    for (const QStringList &p : pages)
        all << p;
    return all.join(u' ');
}
} // namespace

class TestStatsCore : public QObject
{
    Q_OBJECT

private:
    testfixture::DataFolder *m_fx = nullptr;

    bool gather(const QList<project::JobLine> &lines)
    {
        StatsStore store;
        QString error;
        const bool ok = GatherTJ(store, lines, &error);
        if (!ok)
            qWarning("%s", qPrintable(error));
        return ok;
    }

private slots:
    void init()
    {
        m_fx = new testfixture::DataFolder;
        QVERIFY(m_fx->setUp());
        TJTotals = {};
    }
    void cleanup()
    {
        delete m_fx;
        m_fx = nullptr;
    }

    // --- expansion

    void expandsPlainWindowIntoFourTables()
    {
        QVERIFY(addProfile(1, u"框"_s, u"K60"_s, u"2.7"_s, u"B-50"_s));
        QVERIFY(addProfile(1, u"压线"_s, u"Y20"_s, u"0.9"_s, u"H/3"_s));
        QVERIFY(addSteel(1, u"衬钢"_s, u"G1"_s, u"2"_s, u"B-80"_s));
        QVERIFY(addFitting(1, u"合页"_s, u"HY"_s, 3, u"个"_s));
        QVERIFY(addPanel(1, u"5白玻"_s, 2, u"B/2"_s, u"H-100"_s));
        QVERIFY(addLabel(7, u"B"_s, u"1500"_s));
        QVERIFY(addLabel(7, u"H"_s, u"1000"_s));

        QVERIFY(gather({line(u"C1"_s, 1, 7, u"2"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K60|1450|4"_s, u"压线|Y20|333.3333|0"_s}));
        QCOMPARE(rows(u"OutXG"_s), QStringList({u"衬钢|G1|1420|4"_s}));
        QCOMPARE(rows(u"OutPJ"_s), QStringList({u"合页|HY|6|个"_s}));
        QCOMPARE(rows(u"OutPC"_s), QStringList({u"5白玻|750|900|4"_s}));
    }

    void fittingAndPanelQuantitiesAreNotFormulas()
    {
        QVERIFY(addFitting(2, u"执手"_s, u"ZS"_s, 3, u"套"_s));
        QVERIFY(addPanel(2, u"5白玻"_s, 2, u"B/2"_s, u"H-100"_s));
        QVERIFY(addLabel(8, u"B"_s, u"1200"_s));
        QVERIFY(addLabel(8, u"H"_s, u"1500"_s));

        QVERIFY(gather({line(u"C2"_s, 2, 8, u"4"_s), line(u"C3"_s, 2, 8, u"3"_s)}));
        QCOMPARE(rows(u"OutPJ"_s), QStringList({u"执手|ZS|12|套"_s, u"执手|ZS|9|套"_s}));
        QCOMPARE(rows(u"OutPC"_s), QStringList({u"5白玻|600|1400|8"_s, u"5白玻|600|1400|6"_s}));
    }

    void countFormulaIsRoundedDownBeforeUnits_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("count");
        QTest::newRow("2.7 x 2") << u"2.7"_s << u"2"_s << u"4"_s;
        QTest::newRow("0.9 still written") << u"0.9"_s << u"5"_s << u"0"_s;
        QTest::newRow("named dimension") << u"B/1000"_s << u"3"_s << u"3"_s;
        QTest::newRow("negative down") << u"-0.5"_s << u"2"_s << u"-2"_s;
        QTest::newRow("units not rounded") << u"2"_s << u"1.5"_s << u"3"_s;
        QTest::newRow("units as leading number") << u"2"_s << u"3樘"_s << u"6"_s;
    }
    void countFormulaIsRoundedDownBeforeUnits()
    {
        QFETCH(QString, formula);
        QFETCH(QString, units);
        QFETCH(QString, count);
        QVERIFY(addProfile(3, u"框"_s, u"K"_s, formula, u"1000"_s));
        QVERIFY(addLabel(9, u"B"_s, u"1500"_s));
        QVERIFY(gather({line(u"C"_s, 3, 9, units)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K|1000|"_s + count}));
    }

    void windowWithoutLabelsEvaluatesFormulasAsTheyStand()
    {
        QVERIFY(addProfile(4, u"框"_s, u"K"_s, u"2"_s, u"1000+200"_s));
        QVERIFY(gather({line(u"C"_s, 4, 10, u"1"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K|1200|2"_s}));
    }

    void longerNamesAreReplacedFirst()
    {
        QVERIFY(addProfile(4, u"框"_s, u"K"_s, u"1"_s, u"H1+H"_s));
        QVERIFY(addLabel(10, u"H"_s, u"1000"_s));
        QVERIFY(addLabel(10, u"H1"_s, u"300"_s));
        QVERIFY(gather({line(u"C"_s, 4, 10, u"1"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K|1300|1"_s}));
    }

    void combinedWindowMultipliesByComponentCount()
    {
        QVERIFY(addProfile(5, u"框"_s, u"K"_s, u"2.5"_s, u"B-10"_s));
        QVERIFY(addFitting(5, u"合页"_s, u"HY"_s, 2, u"个"_s));
        QVERIFY(addPanel(5, u"玻"_s, 1, u"B"_s, u"100"_s));
        // Two components of type 5 under different keys, each with its own labels and Count.
        QVERIFY(addComponentLabel(20, 5, u"左"_s, u"B"_s, u"600"_s, 3));
        QVERIFY(addComponentLabel(20, 5, u"右"_s, u"B"_s, u"900"_s, 1));
        // The bill rows are those of the component's type, not of the combined line's number.
        QVERIFY(addProfile(-900, u"主"_s, u"Z"_s, u"1"_s, u"1"_s));

        QVERIFY(gather({line(u"组合"_s, -900, 20, u"2"_s)}));
        // Keys in order: 右 before 左 in code-point order.
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K|890|4"_s, u"框|K|590|12"_s}));
        QCOMPARE(rows(u"OutPJ"_s), QStringList({u"合页|HY|4|个"_s, u"合页|HY|12|个"_s}));
        QCOMPARE(rows(u"OutPC"_s), QStringList({u"玻|900|100|2"_s, u"玻|600|100|6"_s}));
    }

    void typeNumberZeroIsPlain()
    {
        QVERIFY(addProfile(0, u"框"_s, u"K"_s, u"1"_s, u"10"_s));
        QVERIFY(addComponentLabel(30, 6, u"X"_s, u"B"_s, u"1"_s, 1));
        QVERIFY(gather({line(u"C"_s, 0, 30, u"1"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框|K|10|1"_s}));
    }

    void gatheringReplacesTheLastRun()
    {
        QVERIFY(addProfile(1, u"框"_s, u"K"_s, u"1"_s, u"10"_s));
        QVERIFY(addProfile(2, u"扇"_s, u"S"_s, u"1"_s, u"20"_s));
        QVERIFY(run(u"INSERT INTO OutTJ (BN) VALUES (1)"_s));
        QVERIFY(gather({line(u"C"_s, 1, 1, u"1"_s)}));
        QVERIFY(gather({line(u"D"_s, 2, 2, u"1"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"扇|S|20|1"_s}));
        QVERIFY(rows(u"OutTJ"_s).isEmpty());

        StatsStore store;
        QString error;
        QVERIFY(ClearTJTables(store, &error));
        for (const QString &t : {u"OutXC"_s, u"OutXG"_s, u"OutPJ"_s, u"OutPC"_s, u"OutTJ"_s})
            QVERIFY2(rows(t).isEmpty(), qPrintable(t));
    }

    void quotesInTextsAreStoredAsTheyAre()
    {
        QVERIFY(addProfile(1, u"框'外"_s, u"K'1"_s, u"1"_s, u"10"_s));
        QVERIFY(addFitting(1, u"合'页"_s, u"H'Y"_s, 1, u"个'"_s));
        QVERIFY(gather({line(u"C"_s, 1, 1, u"1"_s)}));
        QCOMPARE(rows(u"OutXC"_s), QStringList({u"框'外|K'1|10|1"_s}));
        QCOMPARE(rows(u"OutPJ"_s), QStringList({u"合'页|H'Y|1|个'"_s}));
    }

    void failingGatherLeavesTablesAsTheyWere()
    {
        QVERIFY(addProfile(1, u"框"_s, u"K"_s, u"1"_s, u"10"_s));
        QVERIFY(gather({line(u"C"_s, 1, 1, u"1"_s)}));
        const QStringList before = rows(u"OutXC"_s);

        // The last table written fails: everything before it goes back too.
        QVERIFY(addProfile(2, u"扇"_s, u"S"_s, u"1"_s, u"20"_s));
        QVERIFY(addPanel(2, u"玻"_s, 1, u"10"_s, u"10"_s));
        QVERIFY(breakTable(u"OutPC"_s, u"INSERT"_s));
        StatsStore store;
        QString error;
        QVERIFY(!GatherTJ(store, {line(u"C"_s, 1, 1, u"1"_s), line(u"D"_s, 2, 2, u"1"_s)}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(rows(u"OutXC"_s), before);
        QVERIFY(rows(u"OutPC"_s).isEmpty());
    }

    void componentWithoutCountIsRefused()
    {
        QVERIFY(addProfile(5, u"框"_s, u"K"_s, u"1"_s, u"10"_s));
        QVERIFY(addComponentLabel(20, 5, u"左"_s, u"B"_s, u"600"_s, QVariant()));
        StatsStore store;
        QString error;
        QVERIFY(!GatherTJ(store, {line(u"组合"_s, -900, 20, u"1"_s)}, &error));
        QVERIFY(error.contains(u"组合"_s));
    }

    // --- pricing

    void pricesProfilesByCodeAndByLength()
    {
        QVERIFY(addCatalogueProfile(u"框料"_s, u"K60"_s, 1.2, 9000));
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K60', 1450, 4), ('框', 'K60', 1200, 2)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {true, false, false, false}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|框料|K60|10.8|米|88.56|8.2"_s, u"2||||||"_s}));
        QCOMPARE(TJTotals.ProfileWeight, 9.84);

        QVERIFY(BuildTJBySpecLength(store, {true, false, false, false}, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|框料K60|1200|10.8|毫米|25.92|2"_s,
                                                u"2|框料K60|1450|10.8|毫米|62.64|4"_s, u"3||||||"_s}));
        QCOMPARE(TJTotals.ProfileWeight, 9.84);
    }

    void pricesPanelsByNameAndBySize()
    {
        QVERIFY(addCatalogueGlass(u"5白玻"_s, 60));
        QVERIFY(run(u"INSERT INTO OutPC VALUES ('5白玻', 1200, 800, 2), ('5白玻', 1200, 800, 1)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {false, false, true, false}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|5白玻|-|60|平方米|172.8|2.88"_s, u"2||||||"_s}));
        QCOMPARE(TJTotals.PanelArea, 2.88);
        QVERIFY(BuildTJBySpecLength(store, {false, false, true, false}, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|5白玻|1200*800*3|60|平方米|172.8|2.88"_s, u"2||||||"_s}));
    }

    void pricesFittingsAndSteel()
    {
        QVERIFY(addCatalogueFitting(u"合页"_s, u"HY"_s, u"副"_s, 2.5));
        QVERIFY(addCatalogueSteel(u"衬钢"_s, u"G1"_s, 0.8, 5000));
        QVERIFY(run(u"INSERT INTO OutPJ VALUES ('合页', 'HY', 4, '个'), ('合页', 'hy', 2, '个')"_s));
        QVERIFY(run(u"INSERT INTO OutXG VALUES ('衬钢', 'G1', 2500, 2)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {}, &TJTotals, &error));
        // Steel before fittings whatever the flags' order; codes compare without case.
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|衬钢|G1|4|米|20|5"_s, u"2|合页|HY|2.5|副|15|6"_s, u"3||||||"_s}));
        QCOMPARE(TJTotals.SteelWeight, 4.0);
    }

    void amountsKeepEveryDigit()
    {
        // Single precision would make 1235794.56 into 1235795.
        QVERIFY(addCatalogueFitting(u"锁"_s, u"S"_s, u"把"_s, 1234.56));
        QVERIFY(addCatalogueProfile(u"框料"_s, u"K"_s, 1.234, 9876));
        QVERIFY(run(u"INSERT INTO OutPJ VALUES ('锁', 'S', 1001, '把')"_s));
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K', 5999.9, 3)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s),
                 QStringList({u"1|框料|K|12.186984|米|219.3620559048|17.9997"_s, u"2|锁|S|1234.56|把|1235794.56|1001"_s,
                              u"3||||||"_s}));
        QCOMPARE(generalText(TJTotals.ProfileWeight), u"22.2116298"_s);
    }

    void noKindChosenLeavesOnlyTheClosingRow()
    {
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K', 100, 1)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {false, false, false, false}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1||||||"_s}));
        QVERIFY(BuildTJBySpecLength(store, {false, false, false, false}, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1||||||"_s}));
    }

    void linesAreNumberedAcrossKinds()
    {
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K', 1000, 1)"_s));
        QVERIFY(run(u"INSERT INTO OutPC VALUES ('玻', 1000, 1000, 1)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {true, false, true, false}, &TJTotals, &error));
        const QStringList got = rows(u"OutTJ"_s);
        QCOMPARE(got.size(), 3);
        QVERIFY(got.at(0).startsWith(u"1|#error#|K|"_s));
        QVERIFY(got.at(1).startsWith(u"2|玻|-|0|平方米|0|1"_s));
        QCOMPARE(got.at(2), u"3||||||"_s);
    }

    void missingCatalogueKeysAreMarked()
    {
        QVERIFY(addCatalogueProfile(u"框料"_s, u"A"_s, 1, 1000));
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'A', 1000, 1), ('框', 'B', 2000, 1)"_s));
        QVERIFY(run(u"INSERT INTO OutPJ VALUES ('锁', 'NOPE', 2, '把')"_s));
        QVERIFY(run(u"INSERT INTO OutPC VALUES ('无名玻', 1000, 500, 2)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|框料|A|1|米|1|1"_s, u"2|#error#|B|0|米|0|2"_s,
                                                u"3|#error#|NOPE|0||0|2"_s, u"4|无名玻|-|0|平方米|0|1"_s,
                                                u"5||||||"_s}));
        QCOMPARE(TJTotals.ProfileWeight, 1.0);
        QCOMPARE(TJTotals.PanelArea, 1.0);

        QVERIFY(BuildTJBySpecLength(store, {}, &error));
        QCOMPARE(rows(u"OutTJ"_s), QStringList({u"1|框料A|1000|1|毫米|1|1"_s, u"2|#error#|2000|0|毫米|0|1"_s,
                                                u"3|#error#|NOPE|0||0|2"_s, u"4|#error#|1000*500*2|0|平方米|0|1"_s,
                                                u"5||||||"_s}));
    }

    void totalsOfUnchosenKindsStay()
    {
        TJTotals = {5, 7, 9};
        QVERIFY(run(u"INSERT INTO OutXG VALUES ('钢', 'G', 1000, 1)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {true, false, false, false}, &TJTotals, &error));
        QCOMPARE(TJTotals.ProfileWeight, 0.0);
        QCOMPARE(TJTotals.SteelWeight, 7.0);
        QCOMPARE(TJTotals.PanelArea, 9.0);
        QVERIFY(BuildTJBySpecLength(store, {}, &error));
        QCOMPARE(TJTotals.ProfileWeight, 0.0);
    }

    void failingPricingLeavesListAndTotals()
    {
        QVERIFY(addCatalogueProfile(u"框料"_s, u"K"_s, 1, 1000));
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K', 1000, 3)"_s));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {}, &TJTotals, &error));
        const QStringList before = rows(u"OutTJ"_s);
        QVERIFY(run(u"INSERT INTO OutXC VALUES ('框', 'K', 1000, 3)"_s));
        QVERIFY(breakTable(u"OutTJ"_s, u"INSERT"_s));
        QVERIFY(!BuildTJBySpec(store, {}, &TJTotals, &error));
        QVERIFY(!BuildTJBySpecLength(store, {}, &error));
        QCOMPARE(rows(u"OutTJ"_s), before);
        QCOMPARE(TJTotals.ProfileWeight, 3.0);
    }

    void gatherAndPriceFromBills()
    {
        QVERIFY(addProfile(1, u"框"_s, u"K60"_s, u"2.7"_s, u"B-50"_s));
        QVERIFY(addProfile(1, u"中梃"_s, u"K60"_s, u"1"_s, u"1200"_s));
        QVERIFY(addLabel(7, u"B"_s, u"1500"_s));
        QVERIFY(addCatalogueProfile(u"框料"_s, u"K60"_s, 1.2, 9000));
        QVERIFY(gather({line(u"C1"_s, 1, 7, u"2"_s)}));
        StatsStore store;
        QString error;
        QVERIFY(BuildTJBySpec(store, {}, &TJTotals, &error));
        QCOMPARE(rows(u"OutTJ"_s).first(), u"1|框料|K60|10.8|米|88.56|8.2"_s);
        QCOMPARE(GetTJTotalAmount(store, &error), std::optional<double>(88.56));
    }

    // --- settlement and cost

    void settlementRowsPriceByArea()
    {
        const QList<SettlementRow> rows = settlementRows(
            {line(u"C1窗"_s, 1, 1, u"2"_s, u"1500"_s, u"1200"_s), line(u"带门联窗"_s, 1, 2, u"1"_s, u"900"_s, u"2100"_s),
             line(u"C2"_s, 1, 3, u"0"_s, u"800"_s, u"600.5"_s)},
            300, 180);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).area, 3.6);
        QCOMPARE(rows.at(0).price, 180.0);
        QCOMPARE(rows.at(0).amount, 648.0);
        QCOMPARE(rows.at(0).bn, 1);
        QCOMPARE(rows.at(1).price, 300.0);
        QCOMPARE(rows.at(1).area, 1.89);
        QCOMPARE(rows.at(1).amount, 567.0);
        QCOMPARE(rows.at(2).area, 0.0);
        QCOMPARE(rows.at(2).amount, 0.0);
        QCOMPARE(rows.at(2).height, 600.5);
        QCOMPARE(rows.at(2).bn, 3);

        StatsStore store;
        QString error;
        QVERIFY(WriteSettlement(store, rows, &error));
        QCOMPARE(statsdata::rows(u"OutJS"_s).first(), u"C1窗|一层|1500|1200|2|3.6|180|648|1"_s);
        QCOMPARE(statsdata::rows(u"OutJS"_s).size(), 3);

        QVERIFY(breakTable(u"OutJS"_s, u"INSERT"_s));
        QVERIFY(!WriteSettlement(store, rows.mid(0, 1), &error));
        QCOMPARE(statsdata::rows(u"OutJS"_s).size(), 3);
    }

    void costAreaUsesWholeMillimetres_data()
    {
        QTest::addColumn<QString>("width");
        QTest::addColumn<double>("area");
        QTest::newRow("half down to even") << u"600.5"_s << 0.6;
        QTest::newRow("half up to even") << u"601.5"_s << 0.602;
        QTest::newRow("whole") << u"1500"_s << 1.5;
    }
    void costAreaUsesWholeMillimetres()
    {
        QFETCH(QString, width);
        QFETCH(double, area);
        QCOMPARE(GetTJTotalArea({line(u"C"_s, 1, 1, u"1"_s, width, u"1000"_s)}), area);
    }

    void costFiguresAddFeesToMaterial()
    {
        CostFigures f = costFigures(3.6, {u"10"_s, u"2.5"_s, u"1"_s, u"0"_s}, 88.56);
        QCOMPARE(f.fees, (std::array<QString, 4>{u"36"_s, u"9"_s, u"3.6"_s, u"0"_s}));
        QCOMPARE(f.total, u"137.16"_s);
        f = costFigures(3.6, {u"0"_s, u"0"_s, u"0"_s, u"0"_s}, 88.56);
        QCOMPARE(f.total, u"88.56"_s);
        f = costFigures(0.5, {u"3"_s, u"0"_s, u"0"_s, u"0"_s}, 0);
        QCOMPARE(f.fees[0], u"1.5"_s);
        QCOMPARE(f.total, u"1.5"_s);
    }

    void totalAmountOfEmptyListIsZero()
    {
        StatsStore store;
        QString error;
        QCOMPARE(GetTJTotalAmount(store, &error), std::optional<double>(0.0));
    }

    // --- reports

    void materialTotalLines_data()
    {
        QTest::addColumn<bool>("profiles");
        QTest::addColumn<bool>("steel");
        QTest::addColumn<bool>("panels");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("all") << true << true << true
                             << QStringList{u"型材总吨数：.85"_s, u"型钢总吨数：1.25"_s,
                                            u"板材总平方数：2.88"_s};
        QTest::newRow("panels only") << false << false << true << QStringList{u"板材总平方数：2.88"_s};
        QTest::newRow("none") << false << false << false << QStringList{};
    }
    void materialTotalLines()
    {
        QFETCH(bool, profiles);
        QFETCH(bool, steel);
        QFETCH(bool, panels);
        QFETCH(QStringList, lines);
        QCOMPARE(materialTotals(profiles, steel, panels, 850, 1250, 2.88), lines);
    }

    void reportsShowTheirRows()
    {
        const app::ReportRows tj = {{u"1"_s, u"框料"_s, u"K60"_s, u"10.8"_s, u"米"_s, u"88.56"_s, u"8.2"_s},
                                    {u"2"_s, QString(), QString(), QString(), QString(), QString(), QString()}};
        const QString all = pageText(platform::reportPageTexts(materialListReport(u"公司材料统计表"_s, u"工程甲"_s,
                                                                         QDate(2026, 1, 2), tj, {u"型材总吨数：.01"_s}))
                                );
        for (const QString &t : {u"公司材料统计表"_s, u"工程甲"_s, u"2026-01-02"_s, u"K60"_s, u"8.2"_s, u"型材总吨数：.01"_s})
            QVERIFY2(all.contains(t), qPrintable(t));

        const QString cost = pageText(platform::reportPageTexts(costReport(u"门窗造价表"_s, u"工程甲"_s, QDate(2026, 1, 2), tj,
                                                                  costFigures(2, {u"1"_s, u"0"_s, u"0"_s, u"0"_s}, 88.56)))
                                 );
        for (const QString &t : {u"材料造价（元）：88.56"_s, u"人工费用（元）：2"_s, u"门窗共计造价（元）：90.56"_s})
            QVERIFY2(cost.contains(t), qPrintable(t));

        const app::ReportRows js = {{u"C1"_s, u"一层"_s, u"1500"_s, u"1200"_s, u"2"_s, u"3.6"_s, u"180"_s, u"648"_s, u"1"_s},
                                    {u"M1"_s, u"二层"_s, u"900"_s, u"2100"_s, u"1"_s, u"1.89"_s, u"300"_s, u"567"_s, u"2"_s}};
        const QString settle = pageText(platform::reportPageTexts(settlementReport(u"工程甲"_s, QDate(2026, 1, 2), js, u"甲方"_s,
                                                                          u"塑钢公司"_s))
                                   );
        for (const QString &t : {u"门 窗 决 算 表"_s, u"5.49"_s, u"1215"_s, u"发包单位： 甲方"_s, u"制作单位： 塑钢公司"_s})
            QVERIFY2(settle.contains(t), qPrintable(t));
        const QString area = pageText(platform::reportPageTexts(areaReport(u"工程甲"_s, QDate(2026, 1, 2), js, u"甲方"_s, u"X"_s))
                                 );
        QVERIFY(area.contains(u"门 窗 面 积 统 计 表"_s));
        QVERIFY(!area.contains(u"1215"_s));
    }

    // Every statistics report with wide data on A4: long panel names and 规格 texts, many
    // rows (several pages), long names of job, client and company.
    void reportsOnPaper_data()
    {
        QTest::addColumn<platform::Report>("report");
        const QString name60 = QString(u"5+9+5中空钢化玻璃加厚型"_s).repeated(5).left(60);
        const QString job = QString(u"阳光花园二期十八号楼"_s).repeated(6);
        const QDate day(2026, 1, 2);
        app::ReportRows tj, js;
        for (int i = 1; i <= 80; ++i) {
            tj << QStringList{QString::number(i), name60, u"5+9+5-1200*1800-Low-E"_s, u"12345.67"_s, u"平方米"_s,
                              u"1234567.89"_s, u"100.025"_s};
            js << QStringList{u"C%1-二层东侧卧室外窗"_s.arg(i), name60, u"1500.5"_s, u"1800.5"_s, u"12"_s, u"32.42"_s,
                              u"380.5"_s, u"12336.41"_s, QString::number(i)};
        }
        QTest::newRow("material list") << materialListReport(name60 + u"材料统计表"_s, job, day, tj,
                                                             materialTotals(true, true, true, 1e7, 2e6, 12345.6));
        QTest::newRow("cost") << costReport(name60, job, day, tj,
                                            costFigures(1234.5, {u"12.5"_s, u"3"_s, u"4"_s, u"5"_s}, 98765432.1));
        QTest::newRow("area list") << areaReport(job, day, js, name60, name60);
        QTest::newRow("settlement") << settlementReport(job, day, js, name60, name60);
    }

    void reportsOnPaper()
    {
        QFETCH(platform::Report, report);
        const platform::RecordingSurface s = pagecheck::onPaper(report);
        const QStringList faults = pagecheck::pageFaults(s.ops, platform::a4Twips(report.orientation));
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
        QVERIFY(s.pageCount() > 1);
    }

    void numberTextIsTheShortStatementForm_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 1200.0 << u"1200"_s;
        QTest::newRow("negative whole") << -5.0 << u"-5"_s;
        QTest::newRow("zero") << 0.0 << u"0"_s;
        QTest::newRow("negative zero") << -0.0 << u"0"_s;
        QTest::newRow("seven digits") << 9999999.0 << u"9999999"_s;
        QTest::newRow("eight digits") << 12345678.0 << u"12345678"_s;
        QTest::newRow("past fifteen digits") << 1e15 << u"1E+15"_s;
        QTest::newRow("fraction") << 0.85 << u".85"_s;
        QTest::newRow("negative fraction") << -0.5 << u"-.5"_s;
        QTest::newRow("binary noise") << 0.1 + 0.2 << u".3"_s;
    }

    void numberTextIsTheShortStatementForm()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
        // The general way, which whole numbers skip.
        QCOMPARE(numberText(value), platform::statementDouble(clean(value)).trimmed());
    }

    // --- group sums

    void groupedTotalsEqualTheEngine_data()
    {
        // Rows of 规格, 长度 and 数量 as SQL writes them, into OutXC; and into OutPC as 名称, 长,
        // 宽 and 数量 (宽 and 数量 both the count).
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("empty") << QStringList();
        QTest::newRow("whole and half millimetres")
            << QStringList{u"'K60', 1450, 4"_s, u"'K60', 1450.5, 1"_s, u"'K70', 900, 2"_s, u"'K60', 1450, 3"_s};
        QTest::newRow("codes differing in case") << QStringList{u"'K60', 1450, 4"_s, u"'k60', 1450, 1"_s, u"'K60', 900, 2"_s};
        QTest::newRow("order of the collation")
            << QStringList{u"'型材A', 1, 1"_s, u"'b', 1, 1"_s, u"'_x', 1, 1"_s, u"'Z', 1, 1"_s, u"'a', 1, 1"_s,
                           u"'ab', 1, 1"_s, u"'[', 1, 1"_s, u"'', 1, 1"_s, u"'型', 1, 1"_s, u"'𠀀', 1, 1"_s, u"'\uffee', 1, 1"_s};
        QTest::newRow("seven-digit lengths")
            << QStringList{u"'K60', 333.3333, 3"_s, u"'K60', 333.3333, 1"_s, u"'K60', 0.1, 7"_s, u"'K60', 0.2, 7"_s};
        QTest::newRow("fractional counts") << QStringList{u"'K60', 1000, 0.1"_s, u"'K60', 1000, 0.2"_s, u"'K60', 1000, 0.3"_s};
        QTest::newRow("zero and negative") << QStringList{u"'K60', -0.0, 1"_s, u"'K60', 0.0, -1"_s, u"'K60', -5, -0.0"_s};
        QTest::newRow("null fields")
            << QStringList{u"'K60', NULL, 2"_s, u"'K60', 1000, NULL"_s, u"'K60', 1000, 2"_s, u"NULL, 5, 5"_s};
        QTest::newRow("only null counts") << QStringList{u"'K60', 1000, NULL"_s};
        QTest::newRow("texts in number columns") << QStringList{u"'K60', 1000, '2x'"_s, u"'K60', '1000', 2"_s};
        QTest::newRow("number as code") << QStringList{u"60, 1000, 2"_s, u"'60', 1000, 3"_s};
        QTest::newRow("zero byte in a code") << QStringList{u"'K' || char(0) || 'a', 1000, 2"_s, u"'K', 1000, 3"_s};
        QTest::newRow("beyond exact sums") << QStringList{u"'K60', 1e15, 3"_s, u"'K60', 1e15, 1"_s, u"'K60', 1, 1"_s};
    }

    void groupedTotalsEqualTheEngine()
    {
        QFETCH(QStringList, stored);
        for (const QString &r : stored)
            QVERIFY2(run(u"INSERT INTO OutXC VALUES ('框', %1)"_s.arg(r)), qPrintable(r));
        QVERIFY(run(u"INSERT INTO OutPC SELECT 规格, 长度, 数量, 数量 FROM OutXC"_s));
        // Every digit and the sign of zero; a text in a number column by its leading number.
        auto number = [](const QVariant &v) {
            const double d = v.isNull() ? 0.0 : v.typeId() == QMetaType::QString ? platform::val(v.toString()) : v.toDouble();
            return QString::number(d, 'g', 17) + (std::signbit(d) ? u"(-)"_s : u""_s);
        };
        auto engine = [&](const QString &sql) {
            QSqlQuery q(db());
            QStringList out;
            if (!q.exec(sql))
                return QStringList{q.lastError().text()};
            while (q.next()) {
                QString row = q.value(0).isNull() ? QString() : q.value(0).toString();
                for (int i = 1; i < q.record().count(); ++i)
                    row += u'|' + number(q.value(i));
                out << row;
            }
            return out;
        };
        auto text = [&](const auto &rows, auto fields) {
            QStringList out;
            for (const auto &r : rows)
                out << fields(r);
            return out;
        };
        auto codeTotal = [&](const CodeTotal &r) { return r.code + u'|' + number(r.total); };
        StatsStore store;
        const auto totals = store.pieceLengthTotals(PieceKind::Profile);
        QVERIFY(totals);
        QCOMPARE(text(*totals, codeTotal), engine(u"SELECT 规格, sum(长度 * 数量) FROM OutXC GROUP BY 规格 ORDER BY 规格"_s));
        const auto groups = store.pieceLengthGroups(PieceKind::Profile);
        QVERIFY(groups);
        QCOMPARE(text(*groups, [&](const CodeLengthCount &r) { return r.code + u'|' + number(r.length) + u'|' + number(r.count); }),
                 engine(u"SELECT 规格, 长度, sum(数量) FROM OutXC GROUP BY 规格, 长度 ORDER BY 规格, 长度"_s));
        const auto areas = store.panelAreaTotals();
        QVERIFY(areas);
        QCOMPARE(text(*areas, codeTotal), engine(u"SELECT 名称, sum(长 * 宽 * 数量) FROM OutPC GROUP BY 名称 ORDER BY 名称"_s));
        const auto sizes = store.panelSizeGroups();
        QVERIFY(sizes);
        QCOMPARE(text(*sizes, [&](const PanelSizeCount &r) {
                     return r.name + u'|' + number(r.length) + u'|' + number(r.width) + u'|' + number(r.count);
                 }),
                 engine(u"SELECT 名称, 长, 宽, sum(数量) FROM OutPC GROUP BY 名称, 长, 宽 ORDER BY 名称, 长, 宽"_s));
    }

    void groupSumsLeaveToTheEngineWhatMightDiffer_data()
    {
        // Rows of key, number and value; "failed" when the sums must come from the engine.
        QTest::addColumn<QList<QVariantList>>("rows");
        QTest::addColumn<QString>("sums");
        auto row = [](const char *key, double n, QVariant v) { return QVariantList{QByteArray(key), n, v}; };
        QTest::newRow("half millimetres") << QList<QVariantList>{row("a", 1, 0.5), row("B", 2, 1), row("a", 1, 2.5)} << u"a 1 3|B 2 1"_s;
        QTest::newRow("zero and negative zero keys") << QList<QVariantList>{row("a", 0.0, 1), row("a", -0.0, 1)} << u"failed"_s;
        QTest::newRow("negative zero values") << QList<QVariantList>{row("a", 1, -0.0), row("a", 1, -0.0)} << u"a 1 0"_s;
        QTest::newRow("null values keep the group") << QList<QVariantList>{row("a", 1, QVariant())} << u"a 1 0"_s;
        QTest::newRow("a tenth") << QList<QVariantList>{row("a", 1, 0.1)} << u"failed"_s;
        QTest::newRow("1/1024") << QList<QVariantList>{row("a", 1, 1.0 / 1024)} << u"a 1 0.0009765625"_s;
        QTest::newRow("1/2048") << QList<QVariantList>{row("a", 1, 1.0 / 2048)} << u"failed"_s;
        QTest::newRow("too large to add exactly") << QList<QVariantList>{row("a", 1, 0x1p42), row("b", 1, 0x1p42)} << u"failed"_s;
        QTest::newRow("case only") << QList<QVariantList>{row("ab", 1, 1), row("aB", 1, 1)} << u"failed"_s;
        QTest::newRow("zero byte") << QList<QVariantList>{QVariantList{QByteArray("a\0b", 3), 1.0, 1.0}} << u"failed"_s;
    }

    void groupSumsLeaveToTheEngineWhatMightDiffer()
    {
        QFETCH(QList<QVariantList>, rows);
        QFETCH(QString, sums);
        GroupSums g(1);
        QList<QByteArray> keys;
        bool ok = true;
        for (const QVariantList &r : rows) {
            const QByteArray key = r.at(0).toByteArray();
            const int k = g.key(key);
            if (k == keys.size())
                keys << key;
            const double n = r.at(1).toDouble();
            ok = ok && k >= 0
                && g.add(k, &n, r.at(2).isNull() ? std::nullopt : std::optional(r.at(2).toDouble()));
        }
        const auto groups = ok ? g.groups() : std::nullopt;
        QStringList out;
        for (const GroupSums::Group &gr : groups.value_or(QList<GroupSums::Group>{}))
            out << QString::fromUtf8(keys.at(gr.key)) + u' ' + QString::number(gr.numbers[0]) + u' '
                    + QString::number(gr.total, 'g', 17) + (std::signbit(gr.total) ? u"-"_s : u""_s);
        QCOMPARE(groups ? out.join(u'|') : u"failed"_s, sums);
    }

    void writtenRowsReadAsTheTables_data()
    {
        // Rows this store writes and then reads back from memory: what the engine would give
        // back differs from what was written for -0.0, some texts and codes it groups otherwise.
        QTest::addColumn<QString>("code");  // of every piece, fitting and priced line
        QTest::addColumn<QString>("name");  // of every row and line
        QTest::addColumn<double>("length"); // of pieces and panels, also each line's quantity
        QTest::addColumn<double>("count");  // of pieces, fittings and panels, also each line's amount
        QTest::newRow("plain") << u"K60"_s << u"框"_s << 1450.5 << 3.0;
        QTest::newRow("negative zero") << u"K60"_s << u"框"_s << -0.0 << -0.0;
        QTest::newRow("negative zero length, negative count") << u"K60"_s << u"框"_s << -0.0 << -2.0;
        QTest::newRow("null texts") << QString() << QString() << 900.0 << 1.0;
        QTest::newRow("lone surrogate") << QStringView(u"K\xD800").toString() << QStringView(u"\xDC00框").toString() << 900.0 << 1.0;
        QTest::newRow("not a character") << QStringView(u"K\uFFFF").toString() << QStringView(u"\uFFFE").toString() << 900.0 << 1.0;
        QTest::newRow("character beyond 16 bits") << u"𠀀K"_s << u"𠀀"_s << 900.0 << 1.0;
        QTest::newRow("zero byte") << QStringView(u"K\0a", 3).toString() << QString(QChar(0)) << 900.0 << 1.0;
        QTest::newRow("seven-digit length") << u"K60"_s << u"框"_s << 333.3333 << 0.1;
    }

    // Sums and the export of rows the store wrote itself are what a store reading the tables gives,
    // bit for bit and type for type.
    void writtenRowsReadAsTheTables()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(double, length);
        QFETCH(double, count);
        WorkRows work;
        for (const QString &c : {code, u"k60"_s, u"K70"_s}) {
            work.profiles << PieceRow{name, c, length, count} << PieceRow{name, c, 1000, count};
            work.steel << PieceRow{name, c, length, 2};
            work.fittings << FittingRow{name, c, count, name};
            work.panels << PanelRow{c, length, count, count} << PanelRow{c, 600, length, 1};
        }
        QList<PricedLine> lines{{name, code, count, name, count, length}, {u"框"_s, u"1450"_s, 2.5, u"米"_s, -0.0, 3}};
        auto bits = [](double d) {
            return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(&d), sizeof d).toHex());
        };
        auto field = [&](const QVariant &v) {
            const QString shown = v.typeId() == QMetaType::Double ? bits(v.toDouble()) : v.toString();
            return QString::number(v.typeId()) + (v.isNull() ? u"null "_s : u" "_s) + shown;
        };
        auto sums = [&](StatsStore &store) {
            QStringList out;
            for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
                for (const CodeTotal &t : QList(store.pieceLengthTotals(kind).value()))
                    out << t.code + u'|' + bits(t.total);
                for (const CodeLengthCount &g : QList(store.pieceLengthGroups(kind).value()))
                    out << g.code + u'|' + bits(g.length) + u'|' + bits(g.count);
            }
            for (const CodeTotal &t : QList(store.fittingTotals().value()))
                out << t.code + u'|' + bits(t.total);
            for (const CodeTotal &t : QList(store.panelAreaTotals().value()))
                out << t.code + u'|' + bits(t.total);
            for (const PanelSizeCount &g : QList(store.panelSizeGroups().value()))
                out << g.name + u'|' + bits(g.length) + u'|' + bits(g.width) + u'|' + bits(g.count);
            return out;
        };
        auto exported = [&](StatsStore &store) {
            QStringList out;
            for (ExportQuery query : {ExportQuery::PricedList, ExportQuery::PricedListWithPrices})
                for (const QVariantList &row : QList(store.exportRows(query).value()))
                    for (const QVariant &v : row)
                        out << field(v);
            return out;
        };
        StatsStore writer;
        QVERIFY(writer.replaceWorkRows(work));
        StatsStore reader;
        QCOMPARE(sums(writer), sums(reader));
        QVERIFY(writer.replacePricedList(lines));
        QCOMPARE(exported(writer), exported(reader));
        // Still the tables' figures after the list was written.
        QCOMPARE(sums(writer), sums(reader));
    }

    void writtenRowsGiveWayToChangesSinceTheWrite()
    {
        const WorkRows work{{PieceRow{u"框"_s, u"K60"_s, 1000, 2}}, {}, {}, {}};
        const QList<PricedLine> lines{{u"框"_s, u"K60"_s, 2, u"米"_s, 4, 2}};
        auto total = [](StatsStore &store) { return store.pieceLengthTotals(PieceKind::Profile).value().value(0).total; };
        auto firstName = [](StatsStore &store) {
            return store.exportRows(ExportQuery::PricedList).value().value(0).value(1).toString();
        };
        StatsStore store;
        QVERIFY(store.replaceWorkRows(work));
        QVERIFY(store.replacePricedList(lines));
        QCOMPARE(total(store), 2000.0);
        QCOMPARE(firstName(store), u"框"_s);
        // Through the same connection.
        QVERIFY(run(u"UPDATE OutXC SET 数量 = 3"_s));
        QVERIFY(run(u"UPDATE OutTJ SET 名称 = '扇'"_s));
        QCOMPARE(total(store), 3000.0);
        QCOMPARE(firstName(store), u"扇"_s);

        // Through another connection to the same file.
        QVERIFY(store.replaceWorkRows(work));
        QVERIFY(store.replacePricedList(lines));
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            other.setDatabaseName(db().databaseName());
            QVERIFY(other.open());
            QVERIFY(testfixture::exec(other, u"UPDATE OutXC SET 数量 = 4"_s));
            QVERIFY(testfixture::exec(other, u"UPDATE OutTJ SET 名称 = '梃'"_s));
            other.close();
        }
        QSqlDatabase::removeDatabase(u"other"_s);
        QCOMPARE(total(store), 4000.0);
        QCOMPARE(firstName(store), u"梃"_s);

        // Written inside a transaction that is then rolled back.
        QVERIFY(store.replaceWorkRows(work));
        {
            platform::TransactionGuard tx(db());
            QVERIFY(tx.isActive());
            QVERIFY(store.replaceWorkRows(WorkRows{{PieceRow{u"框"_s, u"K60"_s, 1000, 5}}, {}, {}, {}}));
            QVERIFY(store.replacePricedList({{u"扇"_s, u"K60"_s, 2, u"米"_s, 4, 2}}));
            QCOMPARE(total(store), 5000.0);
        }
        QCOMPARE(total(store), 2000.0);
        QCOMPARE(firstName(store), QString()); // the list the first write emptied
    }

    void priceListExportIsInLineOrder_data()
    {
        QTest::addColumn<QString>("lines"); // BN and 名称 of each row, in the order written
        QTest::newRow("as written") << u"(1, 'b'), (2, 'a'), (3, NULL)"_s;
        QTest::newRow("out of order") << u"(2, 'a'), (1, 'b'), (3, 'c')"_s;
        QTest::newRow("repeated numbers") << u"(1, 'b'), (1, 'a'), (2, 'c')"_s;
        QTest::newRow("null number") << u"(1, 'a'), (NULL, 'b')"_s;
        QTest::newRow("real numbers") << u"(1.5, 'a'), (1, 'b'), (2, 'c')"_s;
        QTest::newRow("text numbers") << u"('1x', 'a'), (2, 'b')"_s;
        QTest::newRow("one row") << u"(7, 'a')"_s;
    }

    void priceListExportIsInLineOrder()
    {
        QFETCH(QString, lines);
        QVERIFY(run(u"INSERT INTO OutTJ (BN, 名称) VALUES "_s + lines));
        const auto rows = StatsStore().exportRows(ExportQuery::PricedList);
        QVERIFY(rows);
        QSqlQuery q(db());
        QVERIFY(q.exec(u"SELECT BN, 名称 FROM OutTJ ORDER BY BN, 名称"_s));
        QStringList want, got;
        while (q.next())
            want << q.value(0).toString() + u'|' + q.value(1).toString();
        for (const QVariantList &r : *rows)
            got << r.at(0).toString() + u'|' + r.at(1).toString();
        QCOMPARE(got, want);
    }

    // --- exports

    void textExportOnFullDiskKeepsOldFile()
    {
        QVERIFY(run(u"INSERT INTO OutTJ VALUES (1, '框料', 'K60', 10.8, '米', 88.56, 8.2)"_s));
        const auto rows = StatsStore().exportRows(exportSpec(ExportTable::MaterialList).query);
        QVERIFY(rows);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.txt"_s);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        QString error;
        bool written = true;
        {
            testfixture::FileSizeLimit full(16);
            written = writeExportText(path, exportSpec(ExportTable::MaterialList), *rows, &error);
        }
        QVERIFY(!written);
        QVERIFY2(error.contains(path), qPrintable(error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
    }

    void textExportEndsFieldsWithTabs()
    {
        QVERIFY(run(u"INSERT INTO OutTJ VALUES (1, '框料', 'K60', 10.8, '米', 88.56, 8.2), (2, NULL, NULL, NULL, NULL, NULL, NULL)"_s));
        StatsStore store;
        const auto tj = store.exportRows(exportSpec(ExportTable::MaterialList).query);
        QVERIFY(tj);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out.txt"_s);
        QString error;
        QVERIFY(writeExportText(path, exportSpec(ExportTable::MaterialList), *tj, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes, exportText(exportSpec(ExportTable::MaterialList), *tj));
        // ASCII parts stay readable in the ANSI bytes.
        QVERIFY(bytes.contains("\tK60\t8.2\t"));
        QVERIFY(bytes.endsWith("\r\n2\t\t\t\t\t\r\n"));
        QCOMPARE(bytes.count("\r\n"), 4);

        const auto cost = store.exportRows(exportSpec(ExportTable::MaterialCost).query);
        QVERIFY(exportText(exportSpec(ExportTable::MaterialCost), *cost).contains("1\t"));
        QVERIFY(exportText(exportSpec(ExportTable::MaterialCost), *cost).contains("\t10.8\t"));
    }

    void textExportKeepsCharactersGbkLacks()
    {
        QVERIFY(run(u"INSERT INTO OutTJ VALUES (1, '• 推拉窗', 'K60', 10.8, 'm²', 88.56, 8.2)"_s));
        const auto rows = StatsStore().exportRows(exportSpec(ExportTable::MaterialList).query);
        QVERIFY(rows);
        const QByteArray bytes = exportText(exportSpec(ExportTable::MaterialList), *rows);
        QVERIFY(!bytes.contains('?'));
        const std::optional<QString> text = platform::decodeLeniently(bytes, "GB18030");
        QVERIFY(text);
        QVERIFY2(text->endsWith(u"1\t• 推拉窗\tK60\t8.2\tm²\t\r\n"_s), qPrintable(*text));
        // 推拉窗 in its GBK bytes.
        QVERIFY(bytes.contains("\xcd\xc6\xc0\xad\xb4\xb0"));
    }

    void lengthsAreNumbersInTheWorkbook()
    {
        QVERIFY(run(u"INSERT INTO OutTJ VALUES (1, '框料', '1150', 4, '支', 0, 0), (1, '框料', '1400', 2, '支', 0, 0), "
                    "(2, '合页', '007', 8, '个', 0, 0), (3, '扇料', 'K60', 1, '支', 0, 0)"_s));
        const auto rows = StatsStore().exportRows(exportSpec(ExportTable::MaterialByLength).query);
        QVERIFY(rows);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"按长度.xlsx"_s);
        QString error;
        QVERIFY2(platform::writeXlsx(exportWorkbook(exportSpec(ExportTable::MaterialByLength), *rows), path, &error),
                 qPrintable(error));
        QJsonObject read;
        const independentreader::Independent result = independentreader::readIndependently(path, &read, &error);
        if (result == independentreader::Independent::Missing)
            QSKIP("python3 with openpyxl is not installed");
        QVERIFY2(result == independentreader::Independent::Read, qPrintable(error));
        QStringList specs;
        const QJsonArray sheetRows = read.value(u"rows"_s).toArray();
        for (qsizetype r = 2; r < sheetRows.size(); ++r) {
            const QJsonValue spec = sheetRows.at(r).toArray().at(2);
            specs << (spec.isDouble() ? u"#%1"_s.arg(spec.toDouble()) : spec.toString());
        }
        // Lengths are numbers; a code keeps its text.
        QCOMPARE(specs, (QStringList{u"#1150"_s, u"#1400"_s, u"007"_s, u"K60"_s}));
    }

    void areaExportWritesSixColumns()
    {
        QVERIFY(run(u"INSERT INTO OutJS VALUES ('C1', 'A', 1500, 1200, 2, 3.6, 180, 648, 1)"_s));
        StatsStore store;
        const auto rows = store.exportRows(ExportQuery::Settlement);
        QVERIFY(rows && rows->size() == 1);
        const QByteArray area = exportText(exportSpec(ExportTable::AreaList), *rows);
        QVERIFY(area.endsWith("C1\tA\t1500\t1200\t2\t3.6\t\r\n"));
        const QByteArray settle = exportText(exportSpec(ExportTable::Settlement), *rows);
        QVERIFY(settle.endsWith("C1\tA\t1500\t1200\t2\t3.6\t180\t648\t\r\n"));
    }

    void workbookExportIsTitledAndFramed()
    {
        QVERIFY(run(u"INSERT INTO OutTJ VALUES (1, '框料', 'K60', 10.8, '米', 88.56, 8.2), (2, NULL, NULL, NULL, NULL, NULL, NULL)"_s));
        StatsStore store;
        const auto rows = store.exportRows(ExportQuery::PricedList);
        const platform::Workbook book = exportWorkbook(exportSpec(ExportTable::MaterialList), *rows);
        QCOMPARE(book.sheets().size(), size_t(1));
        const platform::Sheet &sheet = book.sheets().front();
        QCOMPARE(sheet.name(), u"材料统计表"_s);
        QCOMPARE(sheet.merges().size(), 1);
        QCOMPARE(sheet.merges().first().lastColumn, 4);
        QCOMPARE(sheet.cells().at({0, 0}).format.border, platform::BorderStyle::None);
        QCOMPARE(sheet.cells().at({3, 4}).format.border, platform::BorderStyle::Thin);
        QCOMPARE(sheet.cells().at({3, 0}).number, 2.0);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"t.xlsx"_s);
        QString error;
        QVERIFY2(platform::writeXlsx(book, path, &error), qPrintable(error));
        const auto grid = platform::readFirstSheet(path, &error);
        QVERIFY2(grid, qPrintable(error));
        QCOMPARE(grid->text(0, 0), u"材料统计表"_s);
        QCOMPARE(grid->row(1), QStringList({u"编号"_s, u"名称"_s, u"规格"_s, u"数量"_s, u"单位"_s}));
        // Numbers stay numbers; the file may hold them with a binary tail.
        QCOMPARE(grid->row(2).mid(0, 3), QStringList({u"1"_s, u"框料"_s, u"K60"_s}));
        QCOMPARE(generalText(grid->text(2, 3).toDouble()), u"8.2"_s);
        QCOMPARE(grid->text(2, 4), u"米"_s);
        QCOMPARE(grid->text(3, 0), u"2"_s);
    }
};

QTEST_MAIN(TestStatsCore)
#include "tst_statscore.moc"
