#pragma once
// The two-step wind check: the basic load step (standard and design wind load, report lines 1-24)
// and the glass, fixing and member checks (report lines 25-217), sharing one state.
#include <QString>
#include <array>
#include <optional>

namespace windcheck {

inline constexpr int kReportLines = 218; // lines 1-218; 218 stays unused
inline constexpr int kLastReportLine = 217;

// Shared state of the chain of windows.
struct FYState
{
    std::array<QString, kReportLines + 1> FYReport; // index 0 unused
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

enum BasicField { BasicNone, BasicText1, BasicText2, BasicText3, BasicCombo1, BasicCombo2, BasicCombo3,
                  BasicText4, BasicText5, BasicText6, BasicText7, BasicText8 };

struct BasicLoadInput
{
    QString text1 = {};        // project / window
    QString text2 = {};        // city
    QString text3 = {};        // basic wind pressure
    QString combo1Text = {};   // building kind
    int combo1 = 0;
    QString combo2Text = {};   // terrain
    int combo2 = 2;
    QString combo3Text = {};   // height
    int combo3 = 3;
    QString text4 = {};        // lowest temperature
    QString text5 = {};        // highest temperature
    QString text6 = {};        // gust factor
    QString text7 = {};        // shape coefficient
    QString text8 = {};        // design load factor
};

BasicLoadInput defaultBasicLoadInput(const QString &city);

// Validates, stores the inputs and the loads in `state` and writes lines 1-24. On a refusal the
// state is left as it was.
std::optional<StepProblem> RunBasicLoadStep(const BasicLoadInput &in, FYState &state);

// --- glass, fixing and member checks

enum GlassField { GlassNone, GlassText1, GlassText2, GlassText3, GlassText4, GlassText9, GlassText10,
                  GlassCombo1, GlassText6, GlassText7, GlassText11, GlassText12, GlassText8, GlassCombo2,
                  GlassText13 };

struct GlassCheckInput
{
    QString text1 = QStringLiteral("855");          // opening width
    QString text2 = QStringLiteral("950");          // opening height
    QString text3 = QStringLiteral("60固定框");     // profile
    QString text4 = QStringLiteral("60");           // profile thickness
    QString text9 = QStringLiteral("A3号槽钢");     // steel
    QString text10 = QStringLiteral("15");          // steel thickness
    QString combo1Text = QStringLiteral("普通退火玻璃");
    int combo1 = 0;
    QString text6 = QStringLiteral("单层玻璃");
    QString text7 = QStringLiteral("5");            // glass thickness
    QString text11 = QStringLiteral("771");         // glass width
    QString text12 = QStringLiteral("888");         // glass length
    QString text8 = QStringLiteral("7");            // edge distance
    int combo2 = 1;                     // ratio row, -1 for a typed text
    QString text13 = QStringLiteral("4");           // screw minor diameter
};

// Values of one check, for the report and for tests.
struct GlassCheckValues
{
    double a = 0;
    float t = 0;
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
    double qb = 0;
    float qh = 0;
    double mzb = 0;
    double mzh = 0;
    double shearB = 0; // Qb
    double shearH = 0; // Qh
    double smb = 0;
    double smh = 0;
    double sqb = 0;
    double sqh = 0;
};

struct GlassCheckOutcome
{
    std::optional<StepProblem> problem;
    GlassCheckValues values;
};

// Puts `wkCopy` back into FYWk, refuses inputs that would divide by zero and a ratio that is not
// one of the list's items, computes, writes lines 25-217 (39 and 54 stay empty) and leaves the
// design load W in FYWk.
GlassCheckOutcome RunGlassCheck(const GlassCheckInput &in, float wkCopy, FYState &state);

// The short/long side ratio in Str form, or nothing when a box is empty or the longer side is 0.
std::optional<QString> sideRatioText(const QString &width, const QString &length);

// Lines 1-217, each followed by CR LF.
QString fullReportText(const FYState &state);

} // namespace windcheck
