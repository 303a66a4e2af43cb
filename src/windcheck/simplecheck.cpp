#include "simplecheck.h"

#include "coefficients.h"
#include "simplereport.h"
#include "platform/numtext.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {

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

// Loads and member length of the sash member for one window type. Each type rounds its own sizes
// to whole numbers before use, the others it takes as typed.
Deflection deflectionLoads(const SimpleWindInput &in, float wk)
{
    Deflection d;
    const double w = double(wk);
    const float b = single(in.sashWidth, SimpleField::SashWidth, u"扇宽度"_s);
    const float h = single(in.sashHeight, SimpleField::SashHeight, u"扇高度"_s);
    auto wholeB = [&] { return whole(b, SimpleField::SashWidth, u"扇宽度"_s); };
    switch (in.windowType) {
    case 0: {
        const int bw = wholeB();
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
    auto wholeLh = [&] { return double(whole(lh, SimpleField::TransomHeight, u"亮子高度"_s)); };
    double a1 = 0;
    if (in.windowType == 1 || in.windowType == 4) {
        const float span = 4.0f * b - lh;
        const double factor = in.windowType == 1 ? wholeLh() : double(lh);
        a1 = (double(span) * factor / 2.0) / 2.0;
    } else {
        const float span = 2.0f * b - lh;
        a1 = double(span) * wholeLh() / 2.0;
    }
    const double a2 = double(b) * double(b) / 2.0;
    d.load1 = w * a1;
    d.load2 = w * a2;
    d.length = in.windowType == 2 ? 2.0 * wholeB() : 2.0 * double(b);
    return d;
}

SimpleWindValues compute(const SimpleWindInput &in)
{
    SimpleWindValues v;
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
    v.thinGlass = t <= 6;
    if (v.thinGlass)
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
    return v;
}

} // namespace

SimpleWindOutcome computeSimpleWind(const SimpleWindInput &in)
{
    if (const std::optional<InputProblem> missing = CheckWindInput(in))
        return {missing, {}};
    try {
        return {std::nullopt, compute(in)};
    } catch (const Failure &f) {
        return {f.problem, {}};
    }
}

SimpleWindReport MakeWindReport(const SimpleWindInput &in)
{
    const SimpleWindOutcome outcome = computeSimpleWind(in);
    SimpleWindReport r;
    if (outcome.problem) {
        r.problem = *outcome.problem;
        return r;
    }
    r.ok = true;
    r.values = outcome.values;
    r.text = simpleWindReportText(in, outcome.values);
    return r;
}

} // namespace windcheck
