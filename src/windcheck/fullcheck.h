#pragma once
// The two-step wind check: the basic load step (standard and design wind load, report lines 1-24)
// and the glass, fixing and member checks (report lines 25-217), sharing one state. Each step
// computes first; fullreport.h writes the report lines from what it computed.
#include <QString>
#include <array>
#include <optional>

namespace windcheck {

inline constexpr int kReportLines = 218; // lines 1-218; 218 stays unused
inline constexpr int kLastReportLine = 217;

using ReportLines = std::array<QString, kReportLines + 1>; // index 0 unused

// Shared state of the chain of windows.
struct FYState
{
    ReportLines FYReport;
    QString FYGCMC;
    QString FYCity;
    QString FYBuildType;
    QString FYTerrain;
    QString FYHeight;
    float FYW0 = 0;
    float FYUz = 0;
    float FYBgz = 0;
    float FYUs = 0;
    float FYWk = 0;
    float FYDesignRate = 0;
    qint16 FYMinTemp = 0;
    qint16 FYMaxTemp = 0;
    // Font size the report printout uses: 9.2 from the basic step, 9 once a cover has been printed.
    double printFontSize = 9.2;
};

inline const QString FYCrLf = QStringLiteral("\r\n");

// A refusal: the message, the field that takes the focus and how the message is shown.
struct StepProblem
{
    int field = 0;
    QString message;
    bool notice = true; // information icon and the title "提示"; otherwise no icon, application title
};

// --- basic load step

// The inputs of the load step, also naming where the focus goes on a refusal.
enum BasicField { BasicNone, BasicProject, BasicCity, BasicPressure, BasicBuildingKind, BasicTerrain, BasicHeight,
                  BasicLowestTemperature, BasicHighestTemperature, BasicGustFactor, BasicShapeCoefficient,
                  BasicDesignFactor };

// The fields as they stand: texts as typed, list texts and the positions of the items they pick.
struct BasicLoadInput
{
    QString project = {};            // the window checked
    QString city = {};
    QString basicPressure = {};      // W0, kN/m^2
    QString buildingKindText = {};
    int buildingKind = 0;
    QString terrainText = {};
    int terrain = 2;
    QString heightText = {};
    int height = 3;
    QString lowestTemperature = {};
    QString highestTemperature = {};
    QString gustFactor = {};         // Bgz
    QString shapeCoefficient = {};   // Us
    QString designFactor = {};       // design load over standard load
};

BasicLoadInput defaultBasicLoadInput(const QString &city);

// Validates, stores the inputs and the loads in `state` and writes lines 1-24. On a refusal the
// state is left as it was.
std::optional<StepProblem> RunBasicLoadStep(const BasicLoadInput &in, FYState &state);

// The design wind load: the design factor times the standard load, as a single.
float designLoad(float designRate, float wk);

// --- glass, fixing and member checks

// The inputs of the glass step, also naming where the focus goes on a refusal.
enum GlassField { GlassNone, GlassOpeningWidth, GlassOpeningHeight, GlassProfile, GlassProfileThickness, GlassSteel,
                  GlassSteelThickness, GlassVariety, GlassKind, GlassThickness, GlassWidth, GlassLength,
                  GlassEdgeDistance, GlassBendingRatio, GlassScrewDiameter };

struct GlassCheckInput
{
    QString openingWidth = QStringLiteral("855");       // b
    QString openingHeight = QStringLiteral("950");      // h
    QString profile = QStringLiteral("60固定框");
    QString profileThickness = QStringLiteral("60");
    QString steel = QStringLiteral("A3号槽钢");
    QString steelThickness = QStringLiteral("15");      // ts
    QString varietyText = QStringLiteral("普通退火玻璃");
    int variety = 0;
    QString glassKind = QStringLiteral("单层玻璃");
    QString glassThickness = QStringLiteral("5");       // t
    QString glassWidth = QStringLiteral("771");
    QString glassLength = QStringLiteral("888");
    QString edgeDistance = QStringLiteral("7");         // c
    int bendingRatio = 1;                               // ratio row, -1 for a typed text
    QString screwDiameter = QStringLiteral("4");        // d
};

// The construction allowance d of the temperature stress, mm.
inline constexpr int kConstructionAllowance = 3;

// One frame member, the transom (横框) or the mullion (立框), with its reinforcing steel.
struct MemberValues
{
    double load = 0;          // qb or qh, N/mm; the mullion's is a single
    double moment = 0;        // Mzb or Mzh, N*mm
    double shear = 0;         // Qb or Qh, N
    double bendingStress = 0; // Smb or Smh
    double shearStress = 0;   // SQb or SQh
    bool bendingOk = false;
    bool shearOk = false;
};

// Values of one check, for the report and for tests.
struct GlassCheckValues
{
    double a = 0;
    float t = 0;
    bool thin = false;     // t <= 6: the allowed area's formula with t^1.8
    bool tempered = false; // "钢化玻璃": the higher strengths
    float amax = 0;
    double area = 0;
    bool areaOk = false;
    float w = 0;
    float shortSide = 0;
    float longSide = 0;
    double q1 = 0;
    double sw = 0;
    double fb = 0;
    bool bendingOk = false;
    int dT = 0;
    double c = 0;
    double st = 0;
    bool temperatureOk = false;
    double d = 0;
    double u = 0;
    bool deflectionOk = false;
    double wh = 0;
    double n = 0;
    double nb = 0;
    double nh = 0;
    MemberValues transom;
    MemberValues mullion;
};

struct GlassCheckOutcome
{
    std::optional<StepProblem> problem;
    GlassCheckValues values;
};

// Refuses inputs that would divide by zero and a ratio that is not one of the list's items, and
// computes from the inputs, the standard wind load `wk` and the design factor and temperatures the
// load step left in `loads`. Writes nothing.
GlassCheckOutcome computeGlassCheck(const GlassCheckInput &in, float wk, const FYState &loads);

// Puts `wkCopy` back into FYWk, computes, writes lines 25-217 and leaves the design load W in FYWk;
// on a refusal the state is left as it was.
GlassCheckOutcome RunGlassCheck(const GlassCheckInput &in, float wkCopy, FYState &state);

// The short/long side ratio in Str form, or nothing when a box is empty or the longer side is 0.
std::optional<QString> sideRatioText(const QString &width, const QString &length);

} // namespace windcheck
