#pragma once
// The one-window wind check: required fields, the standard wind load, the largest allowed glass
// pane and the deflection of the reinforced sash member of a sliding window. The values are computed
// first; simplereport.h writes the report text from them.
#include <QString>
#include <optional>

namespace windcheck {

// Input fields of the one-window check, also naming where the focus goes on a refusal.
enum class SimpleField {
    None,
    WindowType,
    BasicPressure,
    ShapeCoefficient,
    Terrain,
    BuildingKind,
    Height,
    GlassType,
    GlassThickness,
    GlassWidth,
    GlassHeight,
    SashWidth,
    SashHeight,
    TransomWidth,
    TransomHeight,
    Inertia,
};

// The fields as they stand: texts as typed, list texts and the positions of the items they pick
// (-1 when the text picks no item).
struct SimpleWindInput
{
    QString projectName;
    QString windowTypeText;
    int windowType = 0;
    QString windowNumber;
    QString windowSize;
    QString basisText; // lines ending in CR LF
    QString city;
    QString basicPressure;
    QString shapeCoefficient;
    QString terrainText;
    int terrain = 0;
    QString buildingKindText;
    int buildingKind = 0;
    QString heightText;
    int height = 0;
    QString glassTypeText;
    int glassType = 0;
    QString glassThickness;
    QString glassWidth;
    QString glassHeight;
    QString sashWidth;
    QString sashHeight;
    QString transomWidth;
    QString transomHeight;
    bool transomEnabled = false;
    QString steelSectionText;
    QString wallThicknessText;
    QString inertia;
};

struct InputProblem
{
    SimpleField field = SimpleField::None;
    QString message;
};

// Window types 0 and 3 have no transom light.
bool transomEnabledFor(int windowType);

// The required fields in order; the first empty one (blanks count as filled).
std::optional<InputProblem> CheckWindInput(const SimpleWindInput &in);

struct SimpleWindValues
{
    float bgz = 0;
    float uz = 0;
    float wk = 0;
    float a = 0;
    bool thinGlass = false; // t <= 6: the allowed area's formula with t^1.8
    double amax = 0;
    double glassArea = 0;
    bool glassOk = false;
    float fmax = 0;
    double allowedDeflection = 0; // L / 180
    bool memberOk = false;
};

struct SimpleWindOutcome
{
    std::optional<InputProblem> problem;
    SimpleWindValues values; // when there is no problem
};

// The required fields, the refusals of inputs that have no result, and the values.
SimpleWindOutcome computeSimpleWind(const SimpleWindInput &in);

struct SimpleWindReport
{
    bool ok = false;
    InputProblem problem; // when not ok
    SimpleWindValues values;
    QString text;         // CR LF line ends; the first kTitleLength characters are the title
};

// Empty first line, three tabs and the title: kept at the title size.
constexpr int kTitleLength = 16;
// Elastic modulus of the reinforcing steel, N/mm^2.
constexpr double kSteelModulus = 210000.0;

// The values and their report, or the problem that stopped the check.
SimpleWindReport MakeWindReport(const SimpleWindInput &in);

} // namespace windcheck
