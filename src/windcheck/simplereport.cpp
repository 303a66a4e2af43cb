#include "simplereport.h"

#include "platform/numtext.h"

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {

const QString kCrLf = u"\r\n"_s;

QString g(float v) { return platform::generalSingle(v); }
QString g(double v) { return platform::generalDouble(v); }

QString line1(const QString &text) { return u"\t"_s + text + kCrLf; }
QString line2(const QString &text) { return u"\t\t"_s + text + kCrLf; }

// Part one: the project, the window, the basis of the check and the data as typed.
QString partOne(const SimpleWindInput &in)
{
    QString t;
    t += u"一、工程名称："_s + in.projectName + kCrLf;
    t += u"二、选用门窗："_s + in.windowTypeText + u" "_s + in.windowNumber + u" (设计尺寸："_s + in.windowSize
         + u")"_s + kCrLf;
    t += u"三、校核依据："_s + kCrLf;
    t += in.basisText + kCrLf;
    t += u"四、抗风压校核："_s + kCrLf;
    t += line1(u"(一)基础数据："_s);
    t += line2(u"(1)  城市："_s + in.city);
    t += line2(u"(2)  基本风压："_s + in.basicPressure);
    t += line2(u"(3)  地面粗糙度："_s + in.terrainText);
    t += line2(u"(4)  建筑物类型："_s + in.buildingKindText);
    t += line2(u"(5)  建筑高度："_s + in.heightText);
    t += line2(u"(6)  玻璃类型："_s + in.glassTypeText);
    t += line2(u"(7)  玻璃厚度："_s + in.glassThickness);
    t += line2(u"(8)  玻璃尺寸："_s + in.glassWidth + u"*"_s + in.glassHeight);
    t += line2(u"(9)  窗扇尺寸："_s + in.sashWidth + u"*"_s + in.sashHeight);
    // The steel lines are numbered on after the transom line where the window has one.
    int number = 10;
    auto numbered = [&number](const QString &caption) { return line2(u"(%1) "_s.arg(number++) + caption); };
    if (in.transomEnabled)
        t += numbered(u"亮子尺寸："_s + in.transomWidth + u"*"_s + in.transomHeight);
    t += numbered(u"型钢类型："_s + in.steelSectionText);
    t += numbered(u"型钢壁厚："_s + in.wallThicknessText);
    t += numbered(u"型钢惯性矩："_s + in.inertia);
    return t;
}

// The deflection formula of the window type and its symbols.
QString formulaBlock(int windowType)
{
    const bool transom = transomEnabledFor(windowType);
    QString t = line2(transom ? u"计算公式：Fmax = (Q1 * L^3) / 64EI + (Q2 * L^3) / 60EI"_s
                              : u"计算公式：Fmax = (Q * L^3) / 64EI"_s);
    t += line2(u"Wk : 风压设计标准值"_s);
    t += line2(u"h  : 扇高度"_s);
    t += line2(u"b  : 扇宽度"_s);
    if (!transom) {
        t += line2(u"A  : 构件受荷面积 = ((h - b + h) * b / 2) / 2"_s);
        t += line2(u"Q  : 构件承受总荷载 = Wk * A"_s);
        t += line2(u"L  : 受荷构件长度 = h"_s);
        return t;
    }
    t += line2(u"Lb : 亮子宽度"_s);
    t += line2(u"Lh : 亮子高度"_s);
    if (windowType == 1 || windowType == 4)
        t += line2(u"A1 : 构件受荷面积1 = ((4 * b - Lh) * Lh / 2) / 2"_s);
    else
        t += line2(u"A1 : 构件受荷面积1 = (2 * b - Lh) * Lh / 2"_s);
    t += line2(u"A2 : 构件受荷面积2 = b * b / 2"_s);
    t += line2(u"Q1 : 构件承受总荷载1 = Wk * A1"_s);
    t += line2(u"Q2 : 构件承受总荷载2 = Wk * A2"_s);
    t += line2(u"L  : 受荷构件长度 = 2 * b"_s);
    return t;
}

// Part two: the wind load, the allowed glass area and the deflection with their verdicts.
QString partTwo(const SimpleWindInput &in, const SimpleWindValues &v)
{
    QString t;
    t += line1(u"(二) 计算标准风压值："_s);
    t += line2(in.buildingKind == 0 ? u"计算公式：Wk = Bgz * us * uz * Wo"_s
                                    : u"计算公式：Wk = Bgz * us * uz * Wo * 110%"_s);
    t += line2(u"风荷载标准值：    Wk"_s);
    t += line2(u"阵风系数：        Bgz = "_s + g(v.bgz));
    t += line2(u"风荷载体型系数：  Us = "_s + in.shapeCoefficient);
    t += line2(u"风压高度变化系数：Uz = "_s + g(v.uz));
    t += line2(u"基本风压值：      Wo = "_s + in.basicPressure + u"千牛/平方米"_s);
    t += line2(u"计算结果：Wk = "_s + g(v.wk) + u"千牛/平方米"_s);
    t += kCrLf;
    t += line1(u"(三) 计算单片玻璃最大许用面积："_s);
    t += line2(v.thinGlass ? u"计算公式：Amax = (0.2 * at^1.8) / Wk"_s
                           : u"计算公式：Amax = (a * (0.2 * t^1.6 + 0.8)) / Wk"_s);
    t += line2(u"Amax : 单片玻璃最大许用面积"_s);
    t += line2(u"a : 抗风压调整系数，a = "_s + g(v.a));
    t += line2(u"t : 玻璃厚度，t = "_s + in.glassThickness + u"mm"_s);
    t += line2(u"Wk : 风荷载标准值，Wk = "_s + g(v.wk) + u"千牛/平方米"_s);
    t += line2(u"计算结果：Amax = "_s + g(v.amax) + u"平方米"_s);
    t += line2(u"玻璃面积："_s + g(v.glassArea) + u"平方米"_s);
    t += line2(v.glassOk ? u"校核结论：合格"_s : u"校核结论：不合格"_s);
    t += kCrLf;
    t += line1(u"(四) 计算窗挠度："_s);
    t += formulaBlock(in.windowType);
    t += line2(u"E  : 型钢弹性模量(2.1 * 10^5 牛/平方毫米)"_s);
    t += line2(u"I  : 型钢惯性矩"_s + in.inertia + u"厘米4次方"_s);
    t += line2(u"Fmax = "_s + g(v.fmax) + u"mm"_s);
    t += line2(u"受荷构件允许挠度：(L / 180) = "_s + g(v.allowedDeflection) + u"mm"_s);
    t += line2(v.memberOk ? u"校核结果：合格"_s : u"校核结果：不合格"_s);
    return t;
}

} // namespace

QString simpleWindReportText(const SimpleWindInput &in, const SimpleWindValues &values)
{
    return kCrLf + u"\t\t\t塑钢门窗抗风压校核报告"_s + kCrLf + kCrLf + partOne(in) + partTwo(in, values);
}

} // namespace windcheck
