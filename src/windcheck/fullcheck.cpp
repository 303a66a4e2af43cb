#include "fullcheck.h"

#include "coefficients.h"
#include "fullreport.h"
#include "platform/numtext.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {

std::optional<qint16> temperature(const QString &text)
{
    const std::optional<qint64> r = platform::roundHalfEven(platform::val(text), -32768, 32767);
    if (!r)
        return std::nullopt;
    return qint16(*r);
}

} // namespace

BasicLoadInput defaultBasicLoadInput(const QString &city)
{
    BasicLoadInput in;
    in.city = city;
    in.basicPressure = u"0.8"_s;
    in.buildingKindText = fullBuildingItems().at(0);
    in.buildingKind = 0;
    in.terrainText = fullTerrainItems().at(2);
    in.terrain = 2;
    in.heightText = fullHeightItems().at(3);
    in.height = 3;
    in.lowestTemperature = u"-5"_s;
    in.highestTemperature = u"45"_s;
    in.gustFactor = u"1.92"_s;
    in.shapeCoefficient = u"1"_s;
    in.designFactor = u"1.05"_s;
    return in;
}

float designLoad(float designRate, float wk) { return float(double(designRate) * double(wk)); }

std::optional<StepProblem> RunBasicLoadStep(const BasicLoadInput &in, FYState &state)
{
    // A text that is not one of the items counts as empty: only list positions reach the table.
    const QString empty = u"数据不能为空！"_s;
    if (in.heightText.isEmpty() || in.height < 0 || in.height >= 18)
        return StepProblem{BasicHeight, empty, true};
    if (in.buildingKindText.isEmpty() || in.buildingKind < 0)
        return StepProblem{BasicBuildingKind, empty, true};
    if (in.terrainText.isEmpty() || in.terrain < 0 || in.terrain >= 3)
        return StepProblem{BasicTerrain, empty, true};
    const std::optional<qint16> minTemp = temperature(in.lowestTemperature);
    if (!minTemp)
        return StepProblem{BasicLowestTemperature, u"最低温度超出允许范围！"_s, true};
    const std::optional<qint16> maxTemp = temperature(in.highestTemperature);
    if (!maxTemp)
        return StepProblem{BasicHighestTemperature, u"最高温度超出允许范围！"_s, true};
    if (in.gustFactor.isEmpty())
        return StepProblem{BasicGustFactor, u"阵风系数不能为空!"_s, false};
    if (in.shapeCoefficient.isEmpty())
        return StepProblem{BasicShapeCoefficient, u"风荷载体型系数不能为空！"_s, false};

    FYState &s = state;
    s.FYHeight = in.heightText;
    s.FYCity = in.city;
    s.FYGCMC = in.project;
    s.FYW0 = float(platform::val(in.basicPressure));
    s.FYBuildType = in.buildingKindText;
    s.FYTerrain = in.terrainText;
    s.FYMinTemp = *minTemp;
    s.FYMaxTemp = *maxTemp;
    s.FYUz = *GetUz01(in.terrain + 1, in.height + 1);
    s.FYBgz = float(platform::val(in.gustFactor));
    s.FYUs = float(platform::val(in.shapeCoefficient));
    s.FYWk = float(double(s.FYUs) * double(s.FYBgz) * double(s.FYUz) * double(s.FYW0));
    s.FYDesignRate = float(platform::val(in.designFactor));
    writeLoadReport(s);
    return std::nullopt;
}

namespace {

constexpr double kGlassModulus = 72000.0;
constexpr double kEdgeStrength = 19.5;
constexpr double kDeflectionCoef = 0.00528392;
constexpr double kDeflectionLoad = 1.0;
constexpr double kPoisson = 0.2;
constexpr double kDeflectionLimit = 30.0;
constexpr double kScrewShear = 130.0;
// The screw count uses the seven-digit pi that its printed formula shows.
constexpr double kScrewPi = 3.1415926;
constexpr double kPlastic = 1.05;
constexpr double kSteelBending = 215.0;
constexpr double kSteelShear = 125.0;

// Section values of a member's reinforcing steel.
struct Section
{
    double inertia;     // IZ, mm^4
    double modulus;     // WZ, mm^3
    double areaMoment;  // Ssz, mm^3
};
constexpr Section kTransom{980000.0, 22000.0, 24000.0};
constexpr Section kMullion{14765300.0, 146190.0, 98745.0};

bool positive(double v) { return std::isfinite(v) && v > 0; }

std::optional<StepProblem> refuseInput(const GlassCheckInput &in, float wk)
{
    if (!(std::isfinite(wk) && wk != 0.0f))
        return StepProblem{GlassNone, u"风荷载标准值为0，无法校核！请返回上一步检查基本风压值、阵风系数和风荷载体型系数。"_s};
    struct Divisor
    {
        const QString &text;
        int field;
        QString caption;
    };
    const Divisor divisors[] = {
        {in.openingWidth, GlassOpeningWidth, u"洞口宽度"_s},
        {in.openingHeight, GlassOpeningHeight, u"洞口高度"_s},
        {in.steelThickness, GlassSteelThickness, u"型钢厚度"_s},
        {in.glassThickness, GlassThickness, u"玻璃厚度"_s},
        {in.glassWidth, GlassWidth, u"玻璃宽度"_s},
        {in.glassLength, GlassLength, u"玻璃长度"_s},
        {in.screwDiameter, GlassScrewDiameter, u"螺钉小径"_s},
    };
    for (const Divisor &d : divisors) {
        if (!positive(double(float(platform::val(d.text)))))
            return StepProblem{d.field, d.caption + u"必须大于0！"_s};
    }
    // A ratio that is not in the list has no bending coefficient: a stress of 0 would pass.
    if (in.bendingRatio < 0 || in.bendingRatio >= sideRatioItems().size())
        return StepProblem{GlassBendingRatio, u"请从列表中选择弯曲系数！"_s};
    return std::nullopt;
}

// A member carrying `load` (N/mm) along `span` (mm), its steel `thickness` (mm) thick.
MemberValues memberValues(double load, double span, const Section &section, double thickness)
{
    MemberValues m;
    m.load = load;
    m.moment = std::pow(span, 2) * load / 8.0;
    m.shear = span * load / 2.0;
    m.bendingStress = m.moment / (section.modulus * kPlastic);
    m.shearStress = section.areaMoment * m.shear / (thickness * section.inertia);
    m.bendingOk = m.bendingStress < kSteelBending;
    m.shearOk = m.shearStress < kSteelShear;
    return m;
}

} // namespace

GlassCheckOutcome computeGlassCheck(const GlassCheckInput &in, float wk, const FYState &loads)
{
    GlassCheckOutcome out;
    if ((out.problem = refuseInput(in, wk)))
        return out;
    GlassCheckValues &v = out.values;
    auto val = [](const QString &t) { return platform::val(t); };

    v.a = GetGlassFactor01(in.variety);
    v.t = float(val(in.glassThickness));
    v.thin = v.t <= 6.0f;
    if (v.thin)
        v.amax = float(0.2 * v.a * std::pow(double(v.t), 1.8) / double(wk));
    else
        v.amax = float(v.a * (0.2 * std::pow(double(v.t), 1.6) + 0.8) / double(wk));
    v.area = (val(in.glassWidth) / 1000.0) * (val(in.glassLength) / 1000.0);
    v.areaOk = v.area < double(v.amax);

    v.w = designLoad(loads.FYDesignRate, wk);

    const float width = float(val(in.glassWidth));
    const float length = float(val(in.glassLength));
    if (length > width) {
        v.shortSide = width;
        v.longSide = length;
    } else {
        v.shortSide = length;
        v.longSide = width;
    }
    v.tempered = in.varietyText == u"钢化玻璃"_s;
    v.q1 = GetBendingCoef01(in.bendingRatio);
    // W in kN/m^2 over 1000 is N/mm^2, with the sides in mm the stress is in N/mm^2.
    v.sw = 6.0 * v.q1 * (double(v.w) / 1000.0) * std::pow(double(v.shortSide), 2) / std::pow(double(v.t), 2);
    v.fb = v.tempered ? 84.0 : 19.5;
    v.bendingOk = v.sw <= v.fb;

    v.dT = int(loads.FYMaxTemp) - int(loads.FYMinTemp);
    v.c = val(in.edgeDistance);
    v.st = kGlassModulus
           * (std::pow(10.0, -5) * v.dT - (2.0 * v.c - kConstructionAllowance) / double(v.longSide));
    v.temperatureOk = v.st <= kEdgeStrength;

    v.d = kGlassModulus * std::pow(double(v.t), 3) / (12.0 * (1.0 - std::pow(kPoisson, 2)));
    v.u = (kDeflectionCoef * kDeflectionLoad * std::pow(double(v.shortSide), 4) / v.d) / 1000.0;
    v.deflectionOk = v.u < kDeflectionLimit;

    const float b = float(val(in.openingWidth));
    const double h = val(in.openingHeight);
    const double screw = val(in.screwDiameter);
    v.wh = (double(v.w) / 1000.0) * double(b) * h;
    v.n = v.wh / (kScrewShear * (kScrewPi * std::pow(screw, 2) / 4.0));
    v.nb = v.n * double(b) / (2.0 * (double(b) + h));
    v.nh = v.n * h / (2.0 * (double(b) + h));

    // The transom carries the load over the opening's height along its width, the mullion the
    // other way round; the mullion's load is a single.
    const double ts = val(in.steelThickness);
    v.transom = memberValues((double(v.w) / 1000.0) * h, double(b), kTransom, ts);
    v.mullion = memberValues(double(float((double(v.w) / 1000.0) * double(b))), h, kMullion, ts);
    return out;
}

GlassCheckOutcome RunGlassCheck(const GlassCheckInput &in, float wkCopy, FYState &state)
{
    GlassCheckOutcome out = computeGlassCheck(in, wkCopy, state);
    if (out.problem)
        return out;
    // The check leaves the design load where the standard load stood.
    state.FYWk = out.values.w;
    writeGlassReport(in, out.values, state);
    return out;
}

std::optional<QString> sideRatioText(const QString &width, const QString &length)
{
    if (width.isEmpty() || length.isEmpty())
        return std::nullopt;
    const float a = float(platform::val(width));
    const float b = float(platform::val(length));
    const float larger = std::max(a, b);
    const float smaller = std::min(a, b);
    if (larger == 0.0f)
        return std::nullopt;
    const float ratio = smaller / larger;
    if (!std::isfinite(ratio))
        return std::nullopt;
    return platform::statementSingle(ratio);
}

} // namespace windcheck
