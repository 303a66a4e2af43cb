// Coefficient tables of both wind checks: the load code's values at the corners and the steps that
// are easy to mistype, and what a position outside a table gives.
#include "windcheck/coefficients.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;

class TstCoefficients : public QObject
{
    Q_OBJECT
private slots:
    void heightCoefficient_data();
    void heightCoefficient();
    void gustFactor_data();
    void gustFactor();
    void outsideTablesGiveNothing();
    void glassFactors();
    void steelInertia_data();
    void steelInertia();
    void fullCheckHeightCoefficient_data();
    void fullCheckHeightCoefficient();
    void fullCheckFactors_data();
    void fullCheckFactors();
    void listsMatchTables();
};

void TstCoefficients::heightCoefficient_data()
{
    QTest::addColumn<int>("terrain");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("uz");
    QTest::newRow("A 5m") << 0 << 0 << 1.17f;
    QTest::newRow("B 5m") << 1 << 0 << 1.00f;
    QTest::newRow("B 15m") << 1 << 2 << 1.14f;
    QTest::newRow("C 20m") << 2 << 3 << 0.84f;
    QTest::newRow("D 30m") << 3 << 4 << 0.62f;
    QTest::newRow("D 40m") << 3 << 5 << 0.73f;
    QTest::newRow("A 100m") << 0 << 11 << 2.40f;
    QTest::newRow("C 150m") << 2 << 12 << 2.03f;
    QTest::newRow("B 300m") << 1 << 15 << 2.97f;
    QTest::newRow("C 350m") << 2 << 16 << 2.94f;
    QTest::newRow("D 400m") << 3 << 17 << 2.91f;
    QTest::newRow("D >=450m") << 3 << 18 << 3.12f;
}

void TstCoefficients::heightCoefficient()
{
    QFETCH(int, terrain);
    QFETCH(int, height);
    QFETCH(float, uz);
    QCOMPARE(GetUz(terrain, height), std::optional<float>(uz));
}

void TstCoefficients::gustFactor_data()
{
    QTest::addColumn<int>("terrain");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("bgz");
    QTest::newRow("A 5m") << 0 << 0 << 1.69f;
    QTest::newRow("D 5m") << 3 << 0 << 3.21f;
    QTest::newRow("B 10m") << 1 << 1 << 1.78f;
    QTest::newRow("C 60m") << 2 << 7 << 1.69f;
    QTest::newRow("A 90m") << 0 << 10 << 1.47f;
    QTest::newRow("D 250m") << 3 << 14 << 1.55f;
    QTest::newRow("A 300m") << 0 << 15 << 1.39f;
    QTest::newRow("B 350m repeats 300m") << 1 << 16 << 1.41f;
    QTest::newRow("C 400m repeats 300m") << 2 << 17 << 1.44f;
    QTest::newRow("D >=450m repeats 300m") << 3 << 18 << 1.51f;
}

void TstCoefficients::gustFactor()
{
    QFETCH(int, terrain);
    QFETCH(int, height);
    QFETCH(float, bgz);
    QCOMPARE(GetBgz(terrain, height), std::optional<float>(bgz));
}

void TstCoefficients::outsideTablesGiveNothing()
{
    QVERIFY(!GetUz(-1, 0));
    QVERIFY(!GetUz(4, 0));
    QVERIFY(!GetUz(0, 19));
    QVERIFY(!GetBgz(0, -1));
    QVERIFY(!GetGlassFactor(8));
    QVERIFY(!GetGlassFactor(-1));
    QVERIFY(!GetUz01(0, 1));
    QVERIFY(!GetUz01(4, 1)); // the two-step check has no class D
    QVERIFY(!GetUz01(1, 19));
    QCOMPARE(GetGlassFactor01(8), 0.0);
    QCOMPARE(GetGlassFactor01(-1), 0.0);
    QCOMPARE(GetBendingCoef01(15), 0.0);
    QCOMPARE(GetBendingCoef01(-1), 0.0);
}

void TstCoefficients::glassFactors()
{
    const QList<float> single = {1.0f, 1.6f, 2.0f, 0.8f, 1.5f, 0.5f, 0.6f, 3.0f};
    const QList<double> twoStep = {1.0, 1.6, 2.0, 0.8, 1.5, 0.5, 0.6, 3.0};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(GetGlassFactor(i), std::optional<float>(single[i]));
        QCOMPARE(GetGlassFactor01(i), twoStep[i]);
    }
}

void TstCoefficients::steelInertia_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<float>("inertia");
    QTest::newRow("channel 1.2") << 0 << 0 << 1.045f;
    QTest::newRow("channel 3.0") << 0 << 4 << 2.26f;
    QTest::newRow("tube 1.5") << 1 << 1 << 1.1658f;
    QTest::newRow("tube 2.0 below 1.5") << 1 << 2 << 1.0602f;
    QTest::newRow("tube 2.5") << 1 << 3 << 1.711f;
    QTest::newRow("no thickness picked") << 0 << -1 << 0.0f;
    QTest::newRow("typed section") << -1 << 0 << 0.0f;
    QTest::newRow("past the table") << 2 << 0 << 0.0f;
}

void TstCoefficients::steelInertia()
{
    QFETCH(int, section);
    QFETCH(int, thickness);
    QFETCH(float, inertia);
    QCOMPARE(GetSteelInertia(section, thickness), inertia);
}

void TstCoefficients::fullCheckHeightCoefficient_data()
{
    QTest::addColumn<int>("terrain");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("uz");
    QTest::newRow("A >=400") << 1 << 18 << 3.12f;
    QTest::newRow("C 5") << 3 << 1 << 0.74f;
    QTest::newRow("C 10") << 3 << 2 << 0.74f;
    QTest::newRow("C 15") << 3 << 3 << 0.74f;
    QTest::newRow("C 20") << 3 << 4 << 0.84f;
    QTest::newRow("B 350") << 2 << 17 << 3.12f;
    QTest::newRow("C 350") << 3 << 17 << 2.94f;
}

void TstCoefficients::fullCheckHeightCoefficient()
{
    QFETCH(int, terrain);
    QFETCH(int, height);
    QFETCH(float, uz);
    QCOMPARE(GetUz01(terrain, height), std::optional<float>(uz));
}

void TstCoefficients::fullCheckFactors_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("bending");
    QTest::newRow("0.00") << 0 << 0.125;
    QTest::newRow("0.25") << 1 << 0.123;
    QTest::newRow("0.40") << 3 << 0.1115;
    QTest::newRow("0.55") << 5 << 0.0934;
    QTest::newRow("0.85") << 11 << 0.0576;
    QTest::newRow("1.00") << 14 << 0.0442;
}

void TstCoefficients::fullCheckFactors()
{
    QFETCH(int, position);
    QFETCH(double, bending);
    QCOMPARE(GetBendingCoef01(position), bending);
}

void TstCoefficients::listsMatchTables()
{
    QCOMPARE(windowTypeItems().size(), 6);
    QCOMPARE(heightItems().size(), 19);
    QCOMPARE(heightItems().constLast(), u">=450米"_s);
    QCOMPARE(fullHeightItems().size(), 18);
    QCOMPARE(fullHeightItems().constLast(), u">=400"_s);
    QCOMPARE(sideRatioItems().size(), 15);
    QCOMPARE(glassVarietyItems().at(2), u"钢化玻璃"_s);
    QCOMPARE(standardsText().count(u"\r\n"_s), 4);
    QVERIFY(standardsText().startsWith(u"\t(1) 建筑结构荷载规范(GB 50009-2001)\r\n"_s));
}

QTEST_APPLESS_MAIN(TstCoefficients)
#include "tst_coefficients.moc"
