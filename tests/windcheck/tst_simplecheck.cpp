// The one-window check: required fields, refusals, the wind load, the allowed glass area, the sash
// deflection of all six window types and the report text.
#include "windcheck/coefficients.h"
#include "windcheck/simplecheck.h"
#include "windinputs.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace windcheck;

namespace {

QString *field(SimpleWindInput &in, const QString &name)
{
    static const QHash<QString, QString SimpleWindInput::*> fields = {
        {u"shape"_s, &SimpleWindInput::shapeCoefficient}, {u"pressure"_s, &SimpleWindInput::basicPressure},
        {u"thickness"_s, &SimpleWindInput::glassThickness}, {u"glassW"_s, &SimpleWindInput::glassWidth},
        {u"glassH"_s, &SimpleWindInput::glassHeight},      {u"sashW"_s, &SimpleWindInput::sashWidth},
        {u"sashH"_s, &SimpleWindInput::sashHeight},        {u"transomW"_s, &SimpleWindInput::transomWidth},
        {u"transomH"_s, &SimpleWindInput::transomHeight},  {u"inertia"_s, &SimpleWindInput::inertia},
    };
    return &(in.*fields.value(name));
}

QStringList lines(const QString &text) { return text.split(u"\r\n"_s); }

} // namespace

class TstSimpleCheck : public QObject
{
    Q_OBJECT
private slots:
    void requiredFields_data();
    void requiredFields();
    void refusals_data();
    void refusals();
    void windLoad_data();
    void windLoad();
    void glassArea_data();
    void glassArea();
    void glassAreaEqualPasses();
    void deflection_data();
    void deflection();
    void deflectionEqualToLimitFails();
    void basicDataNumbering();
    void reportLayout();
};

void TstSimpleCheck::requiredFields_data()
{
    QTest::addColumn<int>("windowType");
    QTest::addColumn<QStringList>("cleared");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const QStringList all = {u"shape"_s, u"pressure"_s, u"thickness"_s, u"glassW"_s, u"glassH"_s, u"sashW"_s,
                             u"sashH"_s, u"transomW"_s, u"transomH"_s, u"inertia"_s};
    QTest::newRow("shape coefficient before all others") << 0 << all << u"风荷载体型系数不能为空!"_s
                                                         << int(SimpleField::ShapeCoefficient);
    QTest::newRow("pressure") << 0 << QStringList{u"pressure"_s, u"inertia"_s} << u"风压值不能为空!"_s
                              << int(SimpleField::BasicPressure);
    QTest::newRow("thickness") << 0 << QStringList{u"thickness"_s} << u"玻离厚度不能为空！"_s
                               << int(SimpleField::GlassThickness);
    QTest::newRow("glass height") << 0 << QStringList{u"glassH"_s} << u"玻璃高度不能为空！"_s
                                  << int(SimpleField::GlassHeight);
    QTest::newRow("sash width") << 0 << QStringList{u"sashW"_s} << u"扇宽度不能为空!"_s << int(SimpleField::SashWidth);
    QTest::newRow("transom width with transom") << 1 << QStringList{u"transomW"_s, u"transomH"_s}
                                                << u"亮子宽度不能为空!"_s << int(SimpleField::TransomWidth);
    QTest::newRow("transom height with transom") << 2 << QStringList{u"transomH"_s} << u"亮子高度不能为空!"_s
                                                 << int(SimpleField::TransomHeight);
    QTest::newRow("no transom: transom boxes not required") << 3 << QStringList{u"transomW"_s, u"transomH"_s}
                                                            << QString() << int(SimpleField::None);
    QTest::newRow("inertia") << 5 << QStringList{u"inertia"_s} << u"型钢惯性矩不能为空!"_s << int(SimpleField::Inertia);
}

void TstSimpleCheck::requiredFields()
{
    QFETCH(int, windowType);
    QFETCH(QStringList, cleared);
    QFETCH(QString, message);
    QFETCH(int, focus);
    SimpleWindInput in = windtest::simpleInput(windowType);
    for (const QString &name : cleared)
        field(in, name)->clear();
    const std::optional<InputProblem> problem = CheckWindInput(in);
    QCOMPARE(problem.has_value(), !message.isEmpty());
    if (problem) {
        QCOMPARE(problem->message, message);
        QCOMPARE(int(problem->field), focus);
    }
    const SimpleWindReport report = MakeWindReport(in);
    QCOMPARE(report.ok, message.isEmpty());
    QCOMPARE(report.text.isEmpty(), !message.isEmpty());
}

void TstSimpleCheck::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::newRow("lone point in glass width") << u"glassW"_s << u"."_s << u"玻璃宽度不是有效的数字！"_s
                                               << int(SimpleField::GlassWidth);
    QTest::newRow("blank shape coefficient") << u"shape"_s << u"  "_s << u"风荷载体型系数不是有效的数字！"_s
                                             << int(SimpleField::ShapeCoefficient);
    QTest::newRow("two points in pressure") << u"pressure"_s << u"0.8.1"_s << u"基本风压值不是有效的数字！"_s
                                            << int(SimpleField::BasicPressure);
    QTest::newRow("zero pressure: Wk 0") << u"pressure"_s << u"0"_s
                                         << u"风荷载标准值为0，无法计算单片玻璃最大许用面积！"_s
                                         << int(SimpleField::BasicPressure);
    QTest::newRow("zero shape coefficient: Wk 0") << u"shape"_s << u"0"_s
                                                  << u"风荷载标准值为0，无法计算单片玻璃最大许用面积！"_s
                                                  << int(SimpleField::BasicPressure);
    QTest::newRow("zero inertia") << u"inertia"_s << u"0"_s << u"型钢惯性矩不能为0！"_s << int(SimpleField::Inertia);
    QTest::newRow("sash beyond 16 bits") << u"sashH"_s << u"40000"_s << u"扇高度超出允许范围！"_s
                                         << int(SimpleField::SashHeight);
    QTest::newRow("glass beyond 16 bits") << u"glassH"_s << u"32767.5"_s << u"玻璃高度超出允许范围！"_s
                                          << int(SimpleField::GlassHeight);
}

void TstSimpleCheck::refusals()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(int, focus);
    SimpleWindInput in = windtest::simpleInput();
    *field(in, name) = value;
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY(!report.ok);
    QVERIFY(report.text.isEmpty());
    QCOMPARE(report.problem.message, message);
    QCOMPARE(int(report.problem.field), focus);
}

void TstSimpleCheck::windLoad_data()
{
    QTest::addColumn<int>("building");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("result");
    QTest::newRow("ordinary") << 0 << u"\t\t计算公式：Wk = Bgz * us * uz * Wo"_s << u"\t\t计算结果：Wk = 2.056392千牛/平方米"_s;
    QTest::newRow("high-rise") << 1 << u"\t\t计算公式：Wk = Bgz * us * uz * Wo * 110%"_s
                               << u"\t\t计算结果：Wk = 2.262031千牛/平方米"_s;
}

void TstSimpleCheck::windLoad()
{
    QFETCH(int, building);
    QFETCH(QString, formula);
    QFETCH(QString, result);
    SimpleWindInput in = windtest::simpleInput();
    in.buildingKind = building;
    in.buildingKindText = buildingKindItems().at(building);
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY(report.ok);
    const QStringList l = lines(report.text);
    QVERIFY(l.contains(formula));
    QVERIFY(l.contains(result));
    QVERIFY(l.contains(u"\t\t阵风系数：        Bgz = 1.69"_s));
    QVERIFY(l.contains(u"\t\t风压高度变化系数：Uz = 1.17"_s));
    QVERIFY(l.contains(u"\t\t风荷载体型系数：  Us = 1.3"_s));
    QVERIFY(l.contains(u"\t\t基本风压值：      Wo = 0.8千牛/平方米"_s));
}

void TstSimpleCheck::glassArea_data()
{
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("amax");
    QTest::newRow("5 mm") << u"5"_s << u"计算公式：Amax = (0.2 * at^1.8) / Wk"_s << u"1.76226050223342"_s;
    QTest::newRow("6 mm still t^1.8") << u"6"_s << u"计算公式：Amax = (0.2 * at^1.8) / Wk"_s << u"2.44678804754885"_s;
    QTest::newRow("7 mm t^1.6") << u"7"_s << u"计算公式：Amax = (a * (0.2 * t^1.6 + 0.8)) / Wk"_s
                                << u"2.5772004107515"_s;
    QTest::newRow("5.5 rounds to even 6") << u"5.5"_s << u"计算公式：Amax = (0.2 * at^1.8) / Wk"_s
                                          << u"2.44678804754885"_s;
}

void TstSimpleCheck::glassArea()
{
    QFETCH(QString, thickness);
    QFETCH(QString, formula);
    QFETCH(QString, amax);
    SimpleWindInput in = windtest::simpleInput();
    in.glassThickness = thickness;
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY(report.ok);
    const QStringList l = lines(report.text);
    QVERIFY(l.contains(u"\t\t"_s + formula));
    QVERIFY(l.contains(u"\t\t计算结果：Amax = "_s + amax + u"平方米"_s));
    QVERIFY(l.contains(u"\t\t玻璃面积：0.684648平方米"_s));
    QVERIFY(l.contains(u"\t\t校核结论：合格"_s));
    QVERIFY(l.contains(u"\t\tt : 玻璃厚度，t = "_s + thickness + u"mm"_s));
}

void TstSimpleCheck::glassAreaEqualPasses()
{
    SimpleWindInput in = windtest::simpleInput();
    in.terrain = 1; // B at 5 m: Uz 1
    in.terrainText = u"B类"_s;
    in.shapeCoefficient = u"1"_s;
    in.basicPressure = u"0.265957445"_s; // with Bgz 1.88 Wk is exactly 0.5
    in.glassThickness = u"1"_s;
    in.glassWidth = u"400"_s;
    in.glassHeight = u"1000"_s;
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY(report.ok);
    QCOMPARE(report.values.wk, 0.5f);
    QCOMPARE(report.values.amax, report.values.glassArea);
    QVERIFY(report.values.glassOk);
    QVERIFY(lines(report.text).contains(u"\t\t校核结论：合格"_s));

    in.glassWidth = u"401"_s;
    const SimpleWindReport larger = MakeWindReport(in);
    QVERIFY(lines(larger.text).contains(u"\t\t校核结论：不合格"_s));
}

void TstSimpleCheck::deflection_data()
{
    QTest::addColumn<int>("windowType");
    QTest::addColumn<QString>("sashWidth");
    QTest::addColumn<QString>("fmax");
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("areaLine");
    const QString a0 = u"A  : 构件受荷面积 = ((h - b + h) * b / 2) / 2"_s;
    const QString a14 = u"A1 : 构件受荷面积1 = ((4 * b - Lh) * Lh / 2) / 2"_s;
    const QString a25 = u"A1 : 构件受荷面积1 = (2 * b - Lh) * Lh / 2"_s;
    // Loads in kN/m^2 x mm^2 with I in cm^4: the quotient over 10^7 is the deflection in mm.
    QTest::newRow("two-sash") << 0 << u"600"_s << u"13.25832"_s << u"7.77777777777778"_s << a0;
    QTest::newRow("two-sash rounds b to even") << 0 << u"600.5"_s << u"13.25832"_s << u"7.77777777777778"_s << a0;
    QTest::newRow("three-sash") << 3 << u"600"_s << u"13.25832"_s << u"7.77777777777778"_s << a0;
    QTest::newRow("two-sash with transom") << 1 << u"600"_s << u"10.86669"_s << u"6.66666666666667"_s << a14;
    QTest::newRow("three-sash with transom") << 4 << u"600"_s << u"10.86669"_s << u"6.66666666666667"_s << a14;
    QTest::newRow("two-sash transom mullion") << 2 << u"600"_s << u"9.28539"_s << u"6.66666666666667"_s << a25;
    QTest::newRow("three-sash transom mullion") << 5 << u"600"_s << u"9.28539"_s << u"6.66666666666667"_s << a25;
}

void TstSimpleCheck::deflection()
{
    QFETCH(int, windowType);
    QFETCH(QString, sashWidth);
    QFETCH(QString, fmax);
    QFETCH(QString, allowed);
    QFETCH(QString, areaLine);
    SimpleWindInput in = windtest::simpleInput(windowType);
    in.sashWidth = sashWidth;
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY2(report.ok, qPrintable(report.problem.message));
    const QStringList l = lines(report.text);
    QVERIFY(l.contains(u"\t\tFmax = "_s + fmax + u"mm"_s));
    QVERIFY(l.contains(u"\t\t受荷构件允许挠度：(L / 180) = "_s + allowed + u"mm"_s));
    QVERIFY(l.contains(u"\t\t"_s + areaLine));
    QVERIFY(l.contains(u"\t\t校核结果：不合格"_s));
    QVERIFY(l.contains(u"\t\tI  : 型钢惯性矩1.045厘米4次方"_s));
}

void TstSimpleCheck::deflectionEqualToLimitFails()
{
    SimpleWindInput in = windtest::simpleInput();
    in.inertia = u"1.78134954"_s; // Fmax of the 600 x 1400 sash lands on 1400 / 180 as a single
    const SimpleWindReport report = MakeWindReport(in);
    QVERIFY(report.ok);
    QCOMPARE(report.values.fmax, float(report.values.allowedDeflection));
    QVERIFY(!report.values.memberOk);
    QVERIFY(lines(report.text).contains(u"\t\t校核结果：不合格"_s));

    in.inertia = u"1.79"_s;
    QVERIFY(MakeWindReport(in).values.memberOk);
}

void TstSimpleCheck::basicDataNumbering()
{
    const QStringList plain = lines(MakeWindReport(windtest::simpleInput(0)).text);
    QVERIFY(plain.contains(u"\t\t(12) 型钢惯性矩：1.045"_s));
    QVERIFY(plain.contains(u"\t\t(10) 型钢类型：槽钢 ㄩ"_s));
    QVERIFY(!plain.join(u'\n').contains(u"亮子尺寸"_s));

    const QStringList transom = lines(MakeWindReport(windtest::simpleInput(1)).text);
    QVERIFY(transom.contains(u"\t\t(10) 亮子尺寸：1200*500"_s));
    QVERIFY(transom.contains(u"\t\t(11) 型钢类型：槽钢 ㄩ"_s));
    QVERIFY(transom.contains(u"\t\t(12) 型钢壁厚：1.2mm"_s));
    QVERIFY(transom.contains(u"\t\t(13) 型钢惯性矩：1.045"_s));
}

void TstSimpleCheck::reportLayout()
{
    const SimpleWindReport report = MakeWindReport(windtest::simpleInput());
    QVERIFY(report.ok);
    QCOMPARE(report.text.left(kTitleLength), u"\r\n\t\t\t塑钢门窗抗风压校核报告"_s);
    const QStringList l = lines(report.text);
    QCOMPARE(l.at(0), QString());
    QCOMPARE(l.at(2), QString());
    QCOMPARE(l.at(3), u"一、工程名称：阳光小区"_s);
    QCOMPARE(l.at(4), u"二、选用门窗：二扇推拉窗 C1 (设计尺寸：1500*1500)"_s);
    QCOMPARE(l.at(5), u"三、校核依据："_s);
    QCOMPARE(l.at(6), u"\t(1) 建筑结构荷载规范(GB 50009-2001)"_s);
    QCOMPARE(l.at(9), u"\t(4) 建筑外窗抗风压性能分级及检测方法(GB/T 7106-86)"_s);
    QCOMPARE(l.at(10), QString());
    QCOMPARE(l.at(11), u"四、抗风压校核："_s);
    QCOMPARE(l.at(12), u"\t(一)基础数据："_s);
    QCOMPARE(l.at(13), u"\t\t(1)  城市：北京"_s);
    QCOMPARE(l.at(21), u"\t\t(9)  窗扇尺寸：600*1400"_s);
    QCOMPARE(l.at(25), u"\t(二) 计算标准风压值："_s);
    QCOMPARE(l.at(28), u"\t\t阵风系数：        Bgz = 1.69"_s);
    QCOMPARE(l.at(33), QString());
    QCOMPARE(l.at(34), u"\t(三) 计算单片玻璃最大许用面积："_s);
    QCOMPARE(l.at(37), u"\t\ta : 抗风压调整系数，a = 1"_s);
    QCOMPARE(l.at(43), QString());
    QCOMPARE(l.at(44), u"\t(四) 计算窗挠度："_s);
    QCOMPARE(l.at(45), u"\t\t计算公式：Fmax = (Q * L^3) / 64EI"_s);
    QCOMPARE(l.at(52), u"\t\tE  : 型钢弹性模量(2.1 * 10^5 牛/平方毫米)"_s);
    QCOMPARE(l.at(56), u"\t\t校核结果：不合格"_s);
    QCOMPARE(l.size(), 58); // the last line ends in CR LF
    QCOMPARE(l.constLast(), QString());
}

QTEST_APPLESS_MAIN(TstSimpleCheck)
#include "tst_simplecheck.moc"
