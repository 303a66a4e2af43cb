#include "simplecheck.h"

#include "coefficients.h"
#include "platform/numtext.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {

const QString kCrLf = u"\r\n"_s;

struct Failure
{
    InputProblem problem;
};

// A number field must hold one number: a lone "." or letters are refused, not read as 0.
float single(const QString &text, SimpleField field, const QString &caption)
{
    if (!platform::isNumeric(text))
        throw Failure{{field, caption + u"不是有效的数字！"_s}};
    const float v = float(platform::val(text));
    if (!std::isfinite(v))
        throw Failure{{field, caption + u"超出允许范围！"_s}};
    return v;
}

int whole(float value, SimpleField field, const QString &caption)
{
    const std::optional<qint64> r = platform::roundHalfEven(double(value), -32768, 32767);
    if (!r)
        throw Failure{{field, caption + u"超出允许范围！"_s}};
    return int(*r);
}

int wholeText(const QString &text, SimpleField field, const QString &caption)
{
    return whole(single(text, field, caption), field, caption);
}

QString g(float v) { return platform::generalSingle(v); }
QString g(double v) { return platform::generalDouble(v); }

QString line1(const QString &text) { return u"\t"_s + text + kCrLf; }
QString line2(const QString &text) { return u"\t\t"_s + text + kCrLf; }

struct Deflection
{
    double load1 = 0;   // Q or Q1
    double load2 = 0;   // Q2, 0 for the types without transom
    double length = 0;  // L
    bool twoLoads = false;
};

} // namespace

bool transomEnabledFor(int windowType) { return windowType == 1 || windowType == 2 || windowType == 4 || windowType == 5; }

std::optional<InputProblem> CheckWindInput(const SimpleWindInput &in)
{
    struct Required
    {
        const QString &text;
        SimpleField field;
        QString message;
        bool applies;
    };
    const Required order[] = {
        {in.shapeCoefficient, SimpleField::ShapeCoefficient, u"风荷载体型系数不能为空!"_s, true},
        {in.basicPressure, SimpleField::BasicPressure, u"风压值不能为空!"_s, true},
        {in.glassThickness, SimpleField::GlassThickness, u"玻离厚度不能为空！"_s, true},
        {in.glassWidth, SimpleField::GlassWidth, u"玻璃宽度不能为空！"_s, true},
        {in.glassHeight, SimpleField::GlassHeight, u"玻璃高度不能为空！"_s, true},
        {in.sashWidth, SimpleField::SashWidth, u"扇宽度不能为空!"_s, true},
        {in.sashHeight, SimpleField::SashHeight, u"扇高度不能为空!"_s, true},
        {in.transomWidth, SimpleField::TransomWidth, u"亮子宽度不能为空!"_s, in.transomEnabled},
        {in.transomHeight, SimpleField::TransomHeight, u"亮子高度不能为空!"_s, in.transomEnabled},
        {in.inertia, SimpleField::Inertia, u"型钢惯性矩不能为空!"_s, true},
    };
    for (const Required &r : order) {
        if (r.applies && r.text.isEmpty())
            return InputProblem{r.field, r.message};
    }
    return std::nullopt;
}

namespace {

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
    if (in.transomEnabled) {
        t += line2(u"(10) 亮子尺寸："_s + in.transomWidth + u"*"_s + in.transomHeight);
        t += line2(u"(11) 型钢类型："_s + in.steelSectionText);
        t += line2(u"(12) 型钢壁厚："_s + in.wallThicknessText);
        t += line2(u"(13) 型钢惯性矩："_s + in.inertia);
    } else {
        t += line2(u"(10) 型钢类型："_s + in.steelSectionText);
        t += line2(u"(11) 型钢壁厚："_s + in.wallThicknessText);
        t += line2(u"(12) 型钢惯性矩："_s + in.inertia);
    }
    return t;
}

QString formulaBlock(int windowType)
{
    QString t;
    if (windowType == 0 || windowType == 3) {
        t += line2(u"计算公式：Fmax = (Q * L^3) / 64EI"_s);
        t += line2(u"Wk : 风压设计标准值"_s);
        t += line2(u"h  : 扇高度"_s);
        t += line2(u"b  : 扇宽度"_s);
        t += line2(u"A  : 构件受荷面积 = ((h - b + h) * b / 2) / 2"_s);
        t += line2(u"Q  : 构件承受总荷载 = Wk * A"_s);
        t += line2(u"L  : 受荷构件长度 = h"_s);
        return t;
    }
    t += line2(u"计算公式：Fmax = (Q1 * L^3) / 64EI + (Q2 * L^3) / 60EI"_s);
    t += line2(u"Wk : 风压设计标准值"_s);
    t += line2(u"h  : 扇高度"_s);
    t += line2(u"b  : 扇宽度"_s);
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

// Loads and member length of the sash member for one window type.
Deflection deflectionLoads(const SimpleWindInput &in, float wk)
{
    Deflection d;
    const double w = double(wk);
    const float b = single(in.sashWidth, SimpleField::SashWidth, u"扇宽度"_s);
    const float h = single(in.sashHeight, SimpleField::SashHeight, u"扇高度"_s);
    switch (in.windowType) {
    case 0: {
        const int bw = whole(b, SimpleField::SashWidth, u"扇宽度"_s);
        const int hw = whole(h, SimpleField::SashHeight, u"扇高度"_s);
        // Wider arithmetic than the sizes: 2h of a large sash stays exact.
        const double area = ((2.0 * hw - bw) * bw / 2.0) / 2.0;
        d.load1 = w * area;
        d.length = double(h);
        return d;
    }
    case 3: {
        const float span = 2.0f * h - b;
        const double area = (double(span) * double(b) / 2.0) / 2.0;
        d.load1 = w * area;
        d.length = double(h);
        return d;
    }
    default: break;
    }
    d.twoLoads = true;
    const float lh = single(in.transomHeight, SimpleField::TransomHeight, u"亮子高度"_s);
    double a1 = 0;
    if (in.windowType == 1 || in.windowType == 4) {
        const float span = 4.0f * b - lh;
        const double factor = in.windowType == 1 ? double(whole(lh, SimpleField::TransomHeight, u"亮子高度"_s))
                                                 : double(lh);
        a1 = (double(span) * factor / 2.0) / 2.0;
    } else {
        const float span = 2.0f * b - lh;
        const double factor = double(whole(lh, SimpleField::TransomHeight, u"亮子高度"_s));
        a1 = double(span) * factor / 2.0;
    }
    const double a2 = double(b) * double(b) / 2.0;
    d.load1 = w * a1;
    d.load2 = w * a2;
    d.length = in.windowType == 2 ? 2.0 * whole(b, SimpleField::SashWidth, u"扇宽度"_s) : 2.0 * double(b);
    return d;
}

SimpleWindReport build(const SimpleWindInput &in)
{
    SimpleWindReport r;
    SimpleWindValues &v = r.values;

    if (in.windowType < 0 || in.windowType > 5)
        throw Failure{{SimpleField::WindowType, u"请从列表中选择门窗类型！"_s}};
    if (in.terrain < 0 || in.terrain > 3)
        throw Failure{{SimpleField::Terrain, u"请从列表中选择地面粗糙度！"_s}};
    if (in.buildingKind < 0 || in.buildingKind > 1)
        throw Failure{{SimpleField::BuildingKind, u"请从列表中选择建筑物类型！"_s}};
    if (in.height < 0 || in.height > 18)
        throw Failure{{SimpleField::Height, u"请从列表中选择建筑高度！"_s}};
    if (in.glassType < 0 || in.glassType > 7)
        throw Failure{{SimpleField::GlassType, u"请从列表中选择玻璃类型！"_s}};

    const float wo = single(in.basicPressure, SimpleField::BasicPressure, u"基本风压值"_s);
    const float us = single(in.shapeCoefficient, SimpleField::ShapeCoefficient, u"风荷载体型系数"_s);
    const int t = wholeText(in.glassThickness, SimpleField::GlassThickness, u"玻璃厚度"_s);
    const int glassW = wholeText(in.glassWidth, SimpleField::GlassWidth, u"玻璃宽度"_s);
    const int glassH = wholeText(in.glassHeight, SimpleField::GlassHeight, u"玻璃高度"_s);
    const float inertia = single(in.inertia, SimpleField::Inertia, u"型钢惯性矩"_s);

    v.bgz = *GetBgz(in.terrain, in.height);
    v.uz = *GetUz(in.terrain, in.height);
    double wk = double(us) * double(v.bgz) * double(v.uz) * double(wo);
    if (in.buildingKind != 0)
        wk *= 1.1;
    v.wk = float(wk);
    if (v.wk == 0.0f)
        throw Failure{{SimpleField::BasicPressure, u"风荷载标准值为0，无法计算单片玻璃最大许用面积！"_s}};
    if (!std::isfinite(v.wk))
        throw Failure{{SimpleField::BasicPressure, u"风荷载标准值超出允许范围！"_s}};

    v.a = *GetGlassFactor(in.glassType);
    if (t <= 6)
        v.amax = std::pow(double(t), 1.8) * (double(v.a) * 0.2) / double(v.wk);
    else
        v.amax = (0.2 * std::pow(double(t), 1.6) + 0.8) * double(v.a) / double(v.wk);
    v.glassArea = (double(glassW) / 1000.0) * double(glassH) / 1000.0;
    v.glassOk = v.amax >= v.glassArea;

    if (inertia == 0.0f)
        throw Failure{{SimpleField::Inertia, u"型钢惯性矩不能为0！"_s}};
    const Deflection d = deflectionLoads(in, v.wk);
    const double l3 = std::pow(d.length, 3);
    const double ei = kSteelModulus * double(inertia);
    double raw = d.load1 * l3 / (64.0 * ei);
    if (d.twoLoads)
        raw += d.load2 * l3 / (60.0 * ei);
    // Loads in kN/m^2 x mm^2 and the moment of inertia in cm^4: 10^7 brings the quotient to mm.
    v.fmax = float(raw / 1e7);
    v.allowedDeflection = d.length / 180.0;
    if (!std::isfinite(v.fmax) || !std::isfinite(v.amax) || !std::isfinite(v.allowedDeflection))
        throw Failure{{SimpleField::None, u"计算结果超出允许范围，请检查输入数据！"_s}};
    v.memberOk = float(v.allowedDeflection) > v.fmax;

    QString t2;
    t2 += line1(u"(二) 计算标准风压值："_s);
    t2 += line2(in.buildingKind == 0 ? u"计算公式：Wk = Bgz * us * uz * Wo"_s
                                     : u"计算公式：Wk = Bgz * us * uz * Wo * 110%"_s);
    t2 += line2(u"风荷载标准值：    Wk"_s);
    t2 += line2(u"阵风系数：        Bgz = "_s + g(v.bgz));
    t2 += line2(u"风荷载体型系数：  Us = "_s + in.shapeCoefficient);
    t2 += line2(u"风压高度变化系数：Uz = "_s + g(v.uz));
    t2 += line2(u"基本风压值：      Wo = "_s + in.basicPressure + u"千牛/平方米"_s);
    t2 += line2(u"计算结果：Wk = "_s + g(v.wk) + u"千牛/平方米"_s);
    t2 += kCrLf;
    t2 += line1(u"(三) 计算单片玻璃最大许用面积："_s);
    t2 += line2(t <= 6 ? u"计算公式：Amax = (0.2 * at^1.8) / Wk"_s
                       : u"计算公式：Amax = (a * (0.2 * t^1.6 + 0.8)) / Wk"_s);
    t2 += line2(u"Amax : 单片玻璃最大许用面积"_s);
    t2 += line2(u"a : 抗风压调整系数，a = "_s + g(v.a));
    t2 += line2(u"t : 玻璃厚度，t = "_s + in.glassThickness + u"mm"_s);
    t2 += line2(u"Wk : 风荷载标准值，Wk = "_s + g(v.wk) + u"千牛/平方米"_s);
    t2 += line2(u"计算结果：Amax = "_s + g(v.amax) + u"平方米"_s);
    t2 += line2(u"玻璃面积："_s + g(v.glassArea) + u"平方米"_s);
    t2 += line2(v.glassOk ? u"校核结论：合格"_s : u"校核结论：不合格"_s);
    t2 += kCrLf;
    t2 += line1(u"(四) 计算窗挠度："_s);
    t2 += formulaBlock(in.windowType);
    t2 += line2(u"E  : 型钢弹性模量(2.1 * 10^5 牛/平方毫米)"_s);
    t2 += line2(u"I  : 型钢惯性矩"_s + in.inertia + u"厘米4次方"_s);
    t2 += line2(u"Fmax = "_s + g(v.fmax) + u"mm"_s);
    t2 += line2(u"受荷构件允许挠度：(L / 180) = "_s + g(v.allowedDeflection) + u"mm"_s);
    t2 += line2(v.memberOk ? u"校核结果：合格"_s : u"校核结果：不合格"_s);

    r.text = kCrLf + u"\t\t\t塑钢门窗抗风压校核报告"_s + kCrLf + kCrLf + partOne(in) + t2;
    r.ok = true;
    return r;
}

} // namespace

SimpleWindReport MakeWindReport(const SimpleWindInput &in)
{
    if (const std::optional<InputProblem> missing = CheckWindInput(in)) {
        SimpleWindReport r;
        r.problem = *missing;
        return r;
    }
    try {
        return build(in);
    } catch (const Failure &f) {
        SimpleWindReport r;
        r.problem = f.problem;
        return r;
    }
}

} // namespace windcheck
