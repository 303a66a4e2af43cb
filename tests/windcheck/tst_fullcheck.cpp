// The two-step check: the basic load step (lines 1-24) and the glass, fixing and member checks
// (lines 25-217), their refusals and the pass limits.
#include "windcheck/coefficients.h"
#include "windcheck/fullcheck.h"
#include "windcheck/fullreport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;

namespace {

BasicLoadInput basicDefaults()
{
    BasicLoadInput in = defaultBasicLoadInput(u"北京"_s);
    in.project = u"C1"_s;
    return in;
}

// A state as the basic step leaves it with the default inputs.
FYState basicState()
{
    FYState s;
    const auto problem = RunBasicLoadStep(basicDefaults(), s);
    Q_ASSERT(!problem);
    return s;
}

// A state whose loads are set directly: Wk = wk, design factor 1, no temperature difference.
FYState loadState(float wk, qint16 minTemp = 20, qint16 maxTemp = 20)
{
    FYState s;
    s.FYWk = wk;
    s.FYDesignRate = 1.0f;
    s.FYMinTemp = minTemp;
    s.FYMaxTemp = maxTemp;
    return s;
}

// One input of the glass step by its symbol in the formulas.
void setGlassField(GlassCheckInput &in, const QString &key, const QString &value)
{
    if (key == u"t"_s) in.glassThickness = value;
    if (key == u"w"_s) in.glassWidth = value;
    if (key == u"l"_s) in.glassLength = value;
    if (key == u"c"_s) in.edgeDistance = value;
    if (key == u"b"_s) in.openingWidth = value;
    if (key == u"h"_s) in.openingHeight = value;
    if (key == u"ts"_s) in.steelThickness = value;
    if (key == u"d"_s) in.screwDiameter = value;
    if (key == u"ratio"_s) in.bendingRatio = value.toInt();
}

} // namespace

class TstFullCheck : public QObject
{
    Q_OBJECT
private slots:
    void basicStepDefaults();
    void basicStepHeightCoefficient();
    void basicStepEmptyPressure();
    void basicStepRefusals_data();
    void basicStepRefusals();
    void basicStepRunsAgain();
    void glassCheckDefaults();
    void glassCheckRepeats();
    void glassCheckLimits_data();
    void glassCheckLimits();
    void temperedGlass_data();
    void temperedGlass();
    void equalSides();
    void typedVariety();
    void glassCheckRefusals_data();
    void glassCheckRefusals();
    void sideRatio_data();
    void sideRatio();
    void reportText();
};

void TstFullCheck::basicStepDefaults()
{
    FYState s = basicState();
    const auto &r = s.FYReport;
    QCOMPARE(r[1], u"                    =====建筑门窗框、扇及玻璃校核报告====="_s);
    QCOMPARE(r[2], QString());
    QCOMPARE(r[3], u"工程门窗：C1"_s);
    QCOMPARE(r[4], u"1 计算标准风压值："_s);
    QCOMPARE(r[5], u"   城市:北京"_s);
    QCOMPARE(r[6], u"   基本风压(W0): .8"_s);
    QCOMPARE(r[7], u"   建筑物高度:20m"_s);
    QCOMPARE(r[8], u"   地面粗糙度:C类"_s);
    QCOMPARE(r[10], u"   计算公式:\r\n"_s);
    QCOMPARE(r[16], u"           W0  基本风压值  "_s);
    QCOMPARE(r[17], u"       Bgz =  1.92"_s);
    QCOMPARE(r[18], u"       Us =  1"_s);
    QCOMPARE(r[19], u"       Uz =  .84"_s);
    QCOMPARE(r[20], u"       W0 =  .8"_s);
    QCOMPARE(r[22], u"       风荷载标准值： 1.29024KN/m^2"_s);
    QCOMPARE(r[23], u"       风荷载设计值： 1.354752KN/m^2"_s);
    QCOMPARE(r[24], QString());
    QCOMPARE(s.FYWk, float(1.0 * double(1.92f) * double(0.84f) * double(0.8f)));
    QCOMPARE(s.FYMinTemp, qint16(-5));
    QCOMPARE(s.FYMaxTemp, qint16(45));
    QCOMPARE(s.FYBuildType, u"一般高层建筑物"_s);
}

void TstFullCheck::basicStepHeightCoefficient()
{
    BasicLoadInput in = basicDefaults();
    in.terrain = 0;
    in.terrainText = u"A类"_s;
    in.height = 17;
    in.heightText = u">=400"_s;
    FYState s;
    QVERIFY(!RunBasicLoadStep(in, s));
    QCOMPARE(s.FYUz, 3.12f);
    QCOMPARE(s.FYReport[19], u"       Uz =  3.12"_s);
    QCOMPARE(s.FYReport[7], u"   建筑物高度:>=400m"_s);
}

void TstFullCheck::basicStepEmptyPressure()
{
    BasicLoadInput in = basicDefaults();
    in.basicPressure.clear();
    FYState s;
    QVERIFY(!RunBasicLoadStep(in, s));
    QCOMPARE(s.FYWk, 0.0f);
    QCOMPARE(s.FYReport[6], u"   基本风压(W0): 0"_s);
    QCOMPARE(s.FYReport[22], u"       风荷载标准值： 0KN/m^2"_s);
}

void TstFullCheck::basicStepRefusals_data()
{
    QTest::addColumn<QStringList>("cleared");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::addColumn<bool>("notice");
    QTest::newRow("height list first") << QStringList{u"height"_s, u"buildingKind"_s, u"terrain"_s} << u"数据不能为空！"_s
                                       << int(BasicHeight) << true;
    QTest::newRow("building kind") << QStringList{u"buildingKind"_s, u"terrain"_s} << u"数据不能为空！"_s
                                   << int(BasicBuildingKind) << true;
    QTest::newRow("terrain") << QStringList{u"terrain"_s} << u"数据不能为空！"_s << int(BasicTerrain) << true;
    QTest::newRow("gust factor before shape") << QStringList{u"gustFactor"_s, u"shapeCoefficient"_s} << u"阵风系数不能为空!"_s
                                              << int(BasicGustFactor) << false;
    QTest::newRow("shape coefficient") << QStringList{u"shapeCoefficient"_s} << u"风荷载体型系数不能为空！"_s
                                       << int(BasicShapeCoefficient) << false;
    QTest::newRow("typed height text") << QStringList{u"typedHeight"_s} << u"数据不能为空！"_s << int(BasicHeight)
                                       << true;
    QTest::newRow("temperature beyond 16 bits") << QStringList{u"hugeTemp"_s} << u"最高温度超出允许范围！"_s
                                                << int(BasicHighestTemperature) << true;
}

void TstFullCheck::basicStepRefusals()
{
    QFETCH(QStringList, cleared);
    QFETCH(QString, message);
    QFETCH(int, focus);
    QFETCH(bool, notice);
    BasicLoadInput in = basicDefaults();
    for (const QString &c : cleared) {
        if (c == u"buildingKind"_s) in.buildingKindText.clear();
        if (c == u"terrain"_s) in.terrainText.clear();
        if (c == u"height"_s) in.heightText.clear();
        if (c == u"gustFactor"_s) in.gustFactor.clear();
        if (c == u"shapeCoefficient"_s) in.shapeCoefficient.clear();
        if (c == u"typedHeight"_s) {
            in.heightText = u"25"_s;
            in.height = -1;
        }
        if (c == u"hugeTemp"_s) in.highestTemperature = u"40000"_s;
    }
    FYState s;
    s.FYWk = 7.0f;
    const auto problem = RunBasicLoadStep(in, s);
    QVERIFY(problem);
    QCOMPARE(problem->message, message);
    QCOMPARE(problem->field, focus);
    QCOMPARE(problem->notice, notice);
    // Nothing is stored and no line written.
    QCOMPARE(s.FYWk, 7.0f);
    QVERIFY(s.FYReport[1].isEmpty());
    QVERIFY(s.FYGCMC.isEmpty());
}

void TstFullCheck::basicStepRunsAgain()
{
    FYState s = basicState();
    BasicLoadInput in = basicDefaults();
    in.basicPressure = u"0.5"_s;
    in.project = u"C2"_s;
    QVERIFY(!RunBasicLoadStep(in, s));
    QCOMPARE(s.FYReport[3], u"工程门窗：C2"_s);
    QCOMPARE(s.FYReport[6], u"   基本风压(W0): .5"_s);
    QCOMPARE(s.FYW0, 0.5f);
}

void TstFullCheck::glassCheckDefaults()
{
    FYState s = basicState();
    const float wk = s.FYWk;
    const GlassCheckOutcome out = RunGlassCheck(GlassCheckInput(), wk, s);
    QVERIFY(!out.problem);
    const auto &r = s.FYReport;
    QCOMPARE(r[25], u"2 校核玻璃强度："_s);
    QCOMPARE(r[26], u"   最低温度：-5摄氏度"_s);
    QCOMPARE(r[27], u"   最高温度： 45摄氏度"_s);
    QCOMPARE(r[28], u"   玻璃品种：普通退火玻璃"_s);
    QCOMPARE(r[33], u"   玻璃连缘到边框间的距离：7mm"_s);
    QCOMPARE(r[38], u"   抗风压调整系数： 1"_s);
    QCOMPARE(r[39], QString());
    QCOMPARE(r[41], u"   大面上的强度：28 N/mm^2"_s);
    QCOMPARE(r[47], u"       Amax = (0.2*a*t^1.8)/Wk"_s);
    QCOMPARE(r[53], u"                2.808701"_s);
    QCOMPARE(r[54], QString());
    QCOMPARE(r[55], u"       玻璃面积为: .684648"_s);
    QCOMPARE(r[56], u"       计算结果:合格"_s);
    QCOMPARE(r[66], u"       W =  1.354752KN/m^2"_s);
    QCOMPARE(r[67], u"       a =  771mm"_s);
    QCOMPARE(r[68], u"       t = 5"_s);
    QCOMPARE(r[69], u"       Q1 =  .123"_s);
    // Design load over 1000 is N/mm^2: the stress of 5 mm glass at 771 mm is about 23.8 N/mm^2.
    QCOMPARE(r[71], u"       最大弯曲应力： 23.7730472797716"_s);
    QCOMPARE(r[72], u"       弯曲强度设计值:19.5 N/mm^2"_s);
    QCOMPARE(r[73], u"       校核结果:不合格"_s);
    QCOMPARE(r[86], u"       △t =  50"_s);
    QCOMPARE(r[87], u"       c =  7"_s);
    QCOMPARE(r[88], u"       d =  3"_s);
    QCOMPARE(r[89], u"       b =  888"_s);
    QCOMPARE(r[91], u"       年温度应力值：-855.891891891892N/mm^2"_s);
    QCOMPARE(r[93], u"       校核结果：合格"_s);
    QCOMPARE(r[107], u"       a =  771"_s);
    QCOMPARE(r[108], u"       D =  781250"_s);
    QCOMPARE(r[110], u"       t =  5mm"_s);
    QCOMPARE(r[113], u"       跨中最大挠度： 2.3899219362578mm"_s);
    QCOMPARE(r[114], u"       校核结果：合格"_s);
    QCOMPARE(r[116], u"   洞口宽度855"_s);
    QCOMPARE(r[134], u"       洞口风荷载：  1100.39717012644"_s);
    // The screw count uses 3.1415926, the value line 125 prints.
    QCOMPARE(r[125], u"       N = wh / (3.1415926 * d^2 / 4 * S)"_s);
    QCOMPARE(r[135], u"       总共所需螺钉数: .6735909691439"_s);
    QCOMPARE(r[136], u"       宽度方向所需螺钉数:2 * .159534703218292"_s);
    QCOMPARE(r[137], u"       高度方向所需螺钉数:2 * .177260781353658"_s);
    QCOMPARE(r[156], u"    增强型钢立框截面惯性矩(IZ):1.47653e+07 mm^4"_s);
    QCOMPARE(r[159], u"   洞口宽度：855mm,"_s);
    QCOMPARE(r[167], u"       wd =  1.354752"_s);
    QCOMPARE(r[168], u"       qb =  1.28701423406601N/mm"_s);
    QCOMPARE(r[173], u"       qh =  1.158313N/mm"_s);
    QCOMPARE(r[176], u"       Mzb =  117604.947557263N*mm"_s);
    QCOMPARE(r[180], u"       Mzh =  130672.162473202N*mm"_s);
    QCOMPARE(r[187], u"       Qb =  550.198585063219N"_s);
    QCOMPARE(r[188], u"       Qh =  550.198578834534N"_s);
    QCOMPARE(r[196], u"       横框正应力: 5.09112327087719 N/mm^2"_s);
    QCOMPARE(r[198], u"       校核结果：合格"_s);
    QCOMPARE(r[200], u"       立框正应力： .851287219002028 N/mm^2"_s);
    QCOMPARE(r[211], u"       横框剪应力： .898283404184847N/mm^2"_s);
    QCOMPARE(r[215], u"       立框剪应力： .245301974525931N/mm^2"_s);
    QCOMPARE(r[217], u"       校核结果：合格"_s);
    QVERIFY(r[218].isEmpty());
    // After a check FYWk holds the design load.
    QCOMPARE(s.FYWk, out.values.w);
    QCOMPARE(out.values.w, float(double(1.05f) * double(wk)));
}

void TstFullCheck::glassCheckRepeats()
{
    FYState s = basicState();
    const float wk = s.FYWk;
    QVERIFY(!RunGlassCheck(GlassCheckInput(), wk, s).problem);
    const auto first = s.FYReport;
    QVERIFY(!RunGlassCheck(GlassCheckInput(), wk, s).problem);
    QCOMPARE(s.FYReport, first);
}

void TstFullCheck::glassCheckLimits_data()
{
    QTest::addColumn<float>("wk");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("verdict");
    // Each row makes one checked value land exactly on its limit.
    QTest::newRow("area equal to Amax fails") << 0.8f << QStringList{u"t=1"_s, u"w=500"_s, u"l=500"_s} << 56
                                              << u"       计算结果:不合格"_s;
    QTest::newRow("bending stress equal to 19.5 passes")
        << 26000.0f << QStringList{u"t=1"_s, u"w=1"_s, u"l=1"_s, u"ratio=0"_s} << 73 << u"       校核结果:合格"_s;
    QTest::newRow("temperature stress equal to 19.5 passes")
        << 1.0f << QStringList{u"c=-8.25"_s, u"w=1"_s, u"l=72000"_s} << 93 << u"       校核结果：合格"_s;
    QTest::newRow("transom bending equal to 215 fails")
        << 39732000.0f << QStringList{u"b=1"_s, u"h=1000"_s} << 198 << u"       校核结果：不合格"_s;
    QTest::newRow("transom shear equal to 125 fails")
        << 245000.0f << QStringList{u"b=1"_s, u"h=1000"_s, u"ts=24"_s} << 213 << u"       校核结果：不合格"_s;
}

void TstFullCheck::glassCheckLimits()
{
    QFETCH(float, wk);
    QFETCH(QStringList, fields);
    QFETCH(int, line);
    QFETCH(QString, verdict);
    GlassCheckInput in;
    for (const QString &f : fields) {
        const QString key = f.section(u'=', 0, 0), value = f.section(u'=', 1);
        setGlassField(in, key, value);
    }
    FYState s = loadState(wk);
    const GlassCheckOutcome out = RunGlassCheck(in, wk, s);
    QVERIFY(!out.problem);
    QCOMPARE(s.FYReport[line], verdict);
}

void TstFullCheck::temperedGlass_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("strength");
    QTest::addColumn<double>("fb");
    QTest::newRow("tempered") << 2 << u"   大面上的强度：84 N/mm^2"_s << 84.0;
    QTest::newRow("half-tempered") << 1 << u"   大面上的强度：28 N/mm^2"_s << 19.5;
}

void TstFullCheck::temperedGlass()
{
    QFETCH(int, position);
    QFETCH(QString, strength);
    QFETCH(double, fb);
    GlassCheckInput in;
    in.variety = position;
    in.varietyText = glassVarietyItems().at(position);
    FYState s = basicState();
    const GlassCheckOutcome out = RunGlassCheck(in, s.FYWk, s);
    QCOMPARE(s.FYReport[41], strength);
    QCOMPARE(out.values.fb, fb);
    QCOMPARE(out.values.a, GetGlassFactor01(position));
}

void TstFullCheck::equalSides()
{
    GlassCheckInput in;
    in.glassWidth = u"800"_s;
    in.glassLength = u"800"_s;
    FYState s = basicState();
    const GlassCheckOutcome out = RunGlassCheck(in, s.FYWk, s);
    QCOMPARE(out.values.shortSide, 800.0f);
    QCOMPARE(out.values.longSide, 800.0f);
    QCOMPARE(s.FYReport[67], u"       a =  800mm"_s);
    QCOMPARE(s.FYReport[89], u"       b =  800"_s);
}

void TstFullCheck::typedVariety()
{
    // A variety outside the list has no factor: Amax is 0 and the area check fails.
    GlassCheckInput in;
    in.variety = -1;
    in.varietyText = u"彩色玻璃"_s;
    FYState s = basicState();
    const GlassCheckOutcome out = RunGlassCheck(in, s.FYWk, s);
    QVERIFY(!out.problem);
    QCOMPARE(s.FYReport[38], u"   抗风压调整系数： 0"_s);
    QCOMPARE(s.FYReport[56], u"       计算结果:不合格"_s);
}

void TstFullCheck::glassCheckRefusals_data()
{
    QTest::addColumn<float>("wk");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero wind load") << 0.0f << QString() << QString() << int(GlassNone)
                                    << u"风荷载标准值为0，无法校核！请返回上一步检查基本风压值、阵风系数和风荷载体型系数。"_s;
    QTest::newRow("empty glass thickness") << 1.0f << u"t"_s << QString() << int(GlassThickness) << u"玻璃厚度必须大于0！"_s;
    QTest::newRow("zero glass length") << 1.0f << u"l"_s << u"0"_s << int(GlassLength) << u"玻璃长度必须大于0！"_s;
    QTest::newRow("empty opening width") << 1.0f << u"b"_s << QString() << int(GlassOpeningWidth) << u"洞口宽度必须大于0！"_s;
    QTest::newRow("negative opening height") << 1.0f << u"h"_s << u"-950"_s << int(GlassOpeningHeight)
                                             << u"洞口高度必须大于0！"_s;
    QTest::newRow("zero steel thickness") << 1.0f << u"ts"_s << u"0"_s << int(GlassSteelThickness) << u"型钢厚度必须大于0！"_s;
    QTest::newRow("empty screw diameter") << 1.0f << u"d"_s << QString() << int(GlassScrewDiameter) << u"螺钉小径必须大于0！"_s;
    // Without a coefficient the bending stress would be 0 and pass.
    QTest::newRow("typed ratio") << 1.0f << u"ratio"_s << u"-1"_s << int(GlassBendingRatio) << u"请从列表中选择弯曲系数！"_s;
    QTest::newRow("ratio past the list") << 1.0f << u"ratio"_s << u"15"_s << int(GlassBendingRatio)
                                         << u"请从列表中选择弯曲系数！"_s;
}

void TstFullCheck::glassCheckRefusals()
{
    QFETCH(float, wk);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, focus);
    QFETCH(QString, message);
    GlassCheckInput in;
    setGlassField(in, key, value);
    FYState s = loadState(wk);
    s.FYWk = 3.0f;
    const GlassCheckOutcome out = RunGlassCheck(in, wk, s);
    QVERIFY(out.problem);
    QCOMPARE(out.problem->message, message);
    QCOMPARE(out.problem->field, focus);
    QVERIFY(out.problem->notice);
    QCOMPARE(s.FYWk, 3.0f);
    QVERIFY(s.FYReport[25].isEmpty());
}

void TstFullCheck::sideRatio_data()
{
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("ratio");
    QTest::newRow("width shorter") << u"771"_s << u"888"_s << u" .8682432"_s;
    QTest::newRow("length shorter") << u"888"_s << u"771"_s << u" .8682432"_s;
    QTest::newRow("square") << u"500"_s << u"500"_s << u" 1"_s;
    QTest::newRow("one empty") << u""_s << u"888"_s << QString();
    QTest::newRow("larger zero") << u"0"_s << u"abc"_s << QString();
}

void TstFullCheck::sideRatio()
{
    QFETCH(QString, width);
    QFETCH(QString, length);
    QFETCH(QString, ratio);
    const std::optional<QString> r = sideRatioText(width, length);
    QCOMPARE(r.value_or(QString()), ratio);
    QCOMPARE(r.has_value(), !ratio.isEmpty());
}

void TstFullCheck::reportText()
{
    FYState s = basicState();
    QVERIFY(!RunGlassCheck(GlassCheckInput(), s.FYWk, s).problem);
    const QString text = fullReportText(s);
    QVERIFY(text.startsWith(s.FYReport[1] + u"\r\n\r\n工程门窗：C1\r\n"_s));
    QVERIFY(text.contains(u"   计算公式:\r\n\r\n       WK = Bgz * Us * Uz * W0\r\n"_s));
    QVERIFY(text.endsWith(s.FYReport[217] + u"\r\n"_s));
    QCOMPARE(text.count(u"\r\n"_s), 218); // 217 line ends and the one inside line 10
}

QTEST_APPLESS_MAIN(TstFullCheck)
#include "tst_fullcheck.moc"
