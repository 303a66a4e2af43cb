// Whole report texts of both checks for a few inputs that between them take every branch of the
// wording, held byte for byte against the texts in data/ (kept with LF line ends; the reports end
// their lines in CR LF).
#include "windcheck/coefficients.h"
#include "windcheck/fullcheck.h"
#include "windcheck/fullreport.h"
#include "windcheck/simplecheck.h"
#include "windinputs.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;

Q_DECLARE_METATYPE(windcheck::SimpleWindInput)
Q_DECLARE_METATYPE(windcheck::BasicLoadInput)
Q_DECLARE_METATYPE(windcheck::GlassCheckInput)

namespace {

BasicLoadInput basicInput(const QString &project)
{
    BasicLoadInput in = defaultBasicLoadInput(u"北京"_s);
    in.project = project;
    return in;
}

// The text against data/<file>; on a difference the first line that differs is shown.
void compareWithFile(const QString &text, const QString &file)
{
    QFile f(QStringLiteral(WINDCHECK_TEST_DATA "/") + file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QString expected = QString::fromUtf8(f.readAll()).replace(u"\n"_s, u"\r\n"_s);
    const QStringList got = text.split(u"\r\n"_s);
    const QStringList want = expected.split(u"\r\n"_s);
    for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
        QVERIFY2(got.at(i) == want.at(i),
                 qPrintable(u"line %1: \"%2\" where \"%3\" was expected"_s.arg(i + 1).arg(got.at(i), want.at(i))));
    QCOMPARE(got.size(), want.size());
    QCOMPARE(text, expected); // a lone CR or LF
}

} // namespace

class TstReportTexts : public QObject
{
    Q_OBJECT
private slots:
    void simpleReport_data();
    void simpleReport();
    void fullReport_data();
    void fullReport();
};

void TstReportTexts::simpleReport_data()
{
    QTest::addColumn<SimpleWindInput>("input");
    QTest::addColumn<QString>("file");
    // Glass passes, member fails; basic data without the transom line.
    QTest::newRow("two-sash") << windtest::simpleInput(0) << u"simple-two-sash.txt"_s;

    // Wind load with the high-rise 110 %, the transom line, both checks failing.
    SimpleWindInput highRise = windtest::simpleInput(1);
    highRise.buildingKind = 1;
    highRise.buildingKindText = buildingKindItems().at(1);
    highRise.terrain = 3;
    highRise.terrainText = terrainItems().at(3);
    highRise.height = 18;
    highRise.heightText = heightItems().at(18);
    QTest::newRow("transom, high-rise") << highRise << u"simple-transom-high-rise.txt"_s;

    // 7 mm glass (the t^1.6 formula), the mullion types' A1, half millimetres, a basis typed over.
    SimpleWindInput mullion = windtest::simpleInput(2);
    mullion.glassThickness = u"7"_s;
    mullion.glassType = 5;
    mullion.glassTypeText = glassTypeItems().at(5);
    mullion.sashWidth = u"455.5"_s;
    mullion.sashHeight = u"987.5"_s;
    mullion.transomHeight = u"333.5"_s;
    mullion.inertia = u"9.5"_s;
    mullion.basisText = u"自定\r\n"_s;
    QTest::newRow("mullion, 7 mm glass") << mullion << u"simple-mullion-7mm.txt"_s;
}

void TstReportTexts::simpleReport()
{
    QFETCH(SimpleWindInput, input);
    QFETCH(QString, file);
    const SimpleWindReport report = MakeWindReport(input);
    QVERIFY2(report.ok, qPrintable(report.problem.message));
    compareWithFile(report.text, file);
}

void TstReportTexts::fullReport_data()
{
    QTest::addColumn<BasicLoadInput>("basic");
    QTest::addColumn<GlassCheckInput>("glass");
    QTest::addColumn<QString>("file");
    // Every default of both windows: the bending stress fails, all else passes.
    QTest::newRow("defaults") << basicInput(u"C1"_s) << GlassCheckInput() << u"full-defaults.txt"_s;

    // Tempered thick glass on a tall building, a wide opening and thin steel: the t^1.6 formula,
    // the tempered strengths, the length shorter than the width, and the transom failing in bending
    // and shear while the mullion passes.
    BasicLoadInput tall = basicInput(u"大楼 C2"_s);
    tall.city = u"上海"_s;
    tall.basicPressure = u"0.55"_s;
    tall.buildingKind = 1;
    tall.buildingKindText = fullBuildingItems().at(1);
    tall.terrain = 0;
    tall.terrainText = fullTerrainItems().at(0);
    tall.height = 17;
    tall.heightText = fullHeightItems().at(17);
    tall.lowestTemperature = u"-20.5"_s;
    tall.highestTemperature = u"38"_s;
    tall.gustFactor = u"2.1"_s;
    tall.shapeCoefficient = u"1.3"_s;
    tall.designFactor = u"1.4"_s;
    GlassCheckInput tempered;
    tempered.openingWidth = u"1600"_s;
    tempered.openingHeight = u"2400.5"_s;
    tempered.profile = u"80推拉"_s;
    tempered.profileThickness = u"80"_s;
    tempered.steel = u"Q235"_s;
    tempered.steelThickness = u"1"_s;
    tempered.variety = 2;
    tempered.varietyText = glassVarietyItems().at(2);
    tempered.glassKind = u"中空"_s;
    tempered.glassThickness = u"8"_s;
    tempered.glassWidth = u"1400"_s;
    tempered.glassLength = u"700"_s;
    tempered.edgeDistance = u"12"_s;
    tempered.bendingRatio = 4;
    tempered.screwDiameter = u"5.2"_s;
    QTest::newRow("tempered, thin steel") << tall << tempered << u"full-tempered-thin-steel.txt"_s;

    // A typed variety (factor 0: the area fails), 6 mm glass at the t^1.8 formula, equal sides,
    // an edge distance that fails the temperature stress.
    BasicLoadInput low = basicInput(u"X"_s);
    low.terrain = 1;
    low.terrainText = fullTerrainItems().at(1);
    low.height = 0;
    low.heightText = fullHeightItems().at(0);
    GlassCheckInput typed;
    typed.variety = -1;
    typed.varietyText = u"彩色玻璃"_s;
    typed.glassThickness = u"6"_s;
    typed.glassWidth = u"800"_s;
    typed.glassLength = u"800"_s;
    typed.bendingRatio = 14;
    typed.edgeDistance = u"-8.25"_s;
    QTest::newRow("typed variety, equal sides") << low << typed << u"full-typed-variety.txt"_s;
}

void TstReportTexts::fullReport()
{
    QFETCH(BasicLoadInput, basic);
    QFETCH(GlassCheckInput, glass);
    QFETCH(QString, file);
    FYState state;
    QVERIFY(!RunBasicLoadStep(basic, state));
    QVERIFY(!RunGlassCheck(glass, state.FYWk, state).problem);
    compareWithFile(fullReportText(state), file);
}

QTEST_APPLESS_MAIN(TstReportTexts)
#include "tst_reporttexts.moc"
