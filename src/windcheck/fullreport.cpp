#include "fullreport.h"

#include "platform/numtext.h"

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {

QString str(float v) { return platform::statementSingle(v); }
QString str(double v) { return platform::statementDouble(v); }
QString str(int v) { return platform::statementDouble(double(v)); }

QString verdict(bool ok) { return ok ? u"       校核结果：合格"_s : u"       校核结果：不合格"_s; }

// Lines 25-44: the glass as given and its fixed parameters.
void writeGlassData(ReportLines &r, const GlassCheckInput &in, const GlassCheckValues &v, const FYState &loads)
{
    r[25] = u"2 校核玻璃强度："_s;
    r[26] = u"   最低温度："_s + str(int(loads.FYMinTemp)) + u"摄氏度"_s;
    r[27] = u"   最高温度："_s + str(int(loads.FYMaxTemp)) + u"摄氏度"_s;
    r[28] = u"   玻璃品种："_s + in.varietyText;
    r[29] = u"   玻璃种类："_s + in.glassKind;
    r[30] = u"   玻璃厚度："_s + in.glassThickness + u"mm"_s;
    r[31] = u"   玻璃宽度："_s + in.glassWidth + u"mm"_s;
    r[32] = u"   玻璃长度："_s + in.glassLength + u"mm"_s;
    r[33] = u"   玻璃连缘到边框间的距离："_s + in.edgeDistance + u"mm"_s;
    r[34] = QString();
    r[35] = u"   玻璃力学参数:"_s;
    r[36] = u"   弹性模量: 72000 N/mm^2"_s;
    r[37] = u"   线膨胀系数：1*10^(-5)"_s;
    r[38] = u"   抗风压调整系数："_s + str(v.a);
    r[40] = u"   玻璃种类系数：80"_s;
    r[41] = v.tempered ? u"   大面上的强度：84 N/mm^2"_s : u"   大面上的强度：28 N/mm^2"_s;
    r[42] = u"   直边缘强度：19.5 N/mm^2"_s;
    r[43] = u"   玻璃安全系数：2.5"_s;
    r[44] = QString();
}

// Lines 45-57.
void writeAllowedArea(ReportLines &r, const GlassCheckValues &v)
{
    r[45] = u"   计算允许最大面积："_s;
    r[46] = u"   计算公式："_s;
    r[47] = v.thin ? u"       Amax = (0.2*a*t^1.8)/Wk"_s : u"       Amax = (a*(0.2*t^1.6+0.8))/Wk"_s;
    r[48] = u"           Amax   单片玻璃最大许用面积"_s;
    r[49] = u"           a      抗风压调整系数"_s;
    r[50] = u"           t      玻璃厚度"_s;
    r[51] = u"           Wk     风荷载标准值"_s;
    r[52] = u"      计算结果:"_s;
    r[53] = u"               "_s + str(v.amax);
    r[55] = u"       玻璃面积为:"_s + str(v.area);
    r[56] = v.areaOk ? u"       计算结果:合格"_s : u"       计算结果:不合格"_s;
    r[57] = QString();
}

// Lines 58-74.
void writeBendingStress(ReportLines &r, const GlassCheckInput &in, const GlassCheckValues &v)
{
    r[58] = u"   弯曲应力校核："_s;
    r[59] = u"   计算公式："_s;
    r[60] = u"       SW = 6 * Q1 * W * a^2 / t^2"_s;
    r[61] = u"           Sw  弯曲应力"_s;
    r[62] = u"           W   风荷载设计值"_s;
    r[63] = u"           a   玻璃短边长度"_s;
    r[64] = u"           t   玻璃厚度"_s;
    r[65] = u"           Q1  弯曲系数"_s;
    r[66] = u"       W = "_s + str(v.w) + u"KN/m^2"_s;
    r[67] = u"       a = "_s + str(v.shortSide) + u"mm"_s;
    r[68] = u"       t = "_s + in.glassThickness;
    r[69] = u"       Q1 = "_s + str(v.q1);
    r[70] = u"   计算结果："_s;
    r[71] = u"       最大弯曲应力："_s + str(v.sw);
    r[72] = v.tempered ? u"       弯曲强度设计值:84 N/mm^2"_s : u"       弯曲强度设计值:19.5 N/mm^2"_s;
    r[73] = v.bendingOk ? u"       校核结果:合格"_s : u"       校核结果:不合格"_s;
    r[74] = QString();
}

// Lines 75-94.
void writeTemperatureStress(ReportLines &r, const GlassCheckValues &v)
{
    r[75] = u"   校验年温度应力："_s;
    r[76] = u"   计算公式："_s;
    r[77] = u"       st = E * (at * △T - (2 * c - d) / b)"_s;
    r[78] = u"           E   玻璃的弹性模量"_s;
    r[79] = u"           at  玻璃线膨胀系数"_s;
    r[80] = u"           △T 年温度变化差"_s;
    r[81] = u"           c   玻璃边缘到边框间的距离"_s;
    r[82] = u"           d   施工偏差,一般取3mm"_s;
    r[83] = u"           b   玻璃长边尺寸"_s;
    r[84] = u"       E = 72000 N/mm^2"_s;
    r[85] = u"       at = 1 * 10^(-5)"_s;
    r[86] = u"       △t = "_s + str(v.dT);
    r[87] = u"       c = "_s + str(v.c);
    r[88] = u"       d = "_s + str(kConstructionAllowance);
    r[89] = u"       b = "_s + str(v.longSide);
    r[90] = u"   计算结果："_s;
    r[91] = u"       年温度应力值："_s + str(v.st) + u"N/mm^2"_s;
    r[92] = u"       玻璃边缘强度：19.5 N/mm^2"_s;
    r[93] = verdict(v.temperatureOk);
    r[94] = QString();
}

// Lines 95-114.
void writeDeflection(ReportLines &r, const GlassCheckValues &v)
{
    r[95] = u"   挠度校验："_s;
    r[96] = u"   计算公式："_s;
    r[97] = u"       u = Q2 * q * a^4 / D"_s;
    r[98] = u"           Q2  跨中最大挠度系数"_s;
    r[99] = u"           q   垂直于玻璃的载荷设计值"_s;
    r[100] = u"           a   玻璃短边长度"_s;
    r[101] = u"           D   D = E * t^3 / (12 * (1 - v^2))"_s;
    r[102] = u"           E   玻璃弹性模量"_s;
    r[103] = u"           t   玻璃厚度"_s;
    r[104] = u"           v   泊松比，取0.2"_s;
    r[105] = u"       Q2 = 0.00528392"_s;
    r[106] = u"       q = 1.0N/mm^2"_s;
    r[107] = u"       a = "_s + str(v.shortSide);
    r[108] = u"       D = "_s + str(v.d);
    r[109] = u"       E = 72000 N/mm^2"_s;
    r[110] = u"       t = "_s + str(v.t) + u"mm"_s;
    r[111] = u"       v = 0.2"_s;
    r[112] = u"   计算结果:"_s;
    r[113] = u"       跨中最大挠度："_s + str(v.u) + u"mm"_s;
    r[114] = verdict(v.deflectionOk);
}

// Lines 115-138.
void writeScrews(ReportLines &r, const GlassCheckInput &in, const GlassCheckValues &v)
{
    r[115] = u"3 计算最少螺钉数:"_s;
    r[116] = u"   洞口宽度"_s + in.openingWidth;
    r[117] = u"   洞口高度"_s + in.openingHeight;
    r[118] = u"   螺钉抗剪强度设计值  130 N/mm^2"_s;
    r[119] = u"   计算公式："_s;
    r[120] = u"       wh = (wd / 1000) * b * h"_s;
    r[121] = u"           wh  洞口风荷载(N/mm^2)"_s;
    r[122] = u"           wd  风荷载设计值(KN/m^2)"_s;
    r[123] = u"           b   洞口宽度"_s;
    r[124] = u"           h   洞口高度"_s;
    r[125] = u"       N = wh / (3.1415926 * d^2 / 4 * S)"_s;
    r[126] = u"           N   总共所需螺钉数"_s;
    r[127] = u"           d   螺钉小径"_s;
    r[128] = u"           S   螺钉抗剪强度设计值"_s;
    r[129] = u"       Nb = N * b / (2 * (b + h))"_s;
    r[130] = u"           Nb  宽度方向所需螺钉数"_s;
    r[131] = u"       Nh = N * h / (2 * (b + h))"_s;
    r[132] = u"           Nh  高度方向所需螺钉数"_s;
    r[133] = u"   计算结果:"_s;
    r[134] = u"       洞口风荷载： "_s + str(v.wh);
    r[135] = u"       总共所需螺钉数:"_s + str(v.n);
    r[136] = u"       宽度方向所需螺钉数:2 *"_s + str(v.nb);
    r[137] = u"       高度方向所需螺钉数:2 *"_s + str(v.nh);
    r[138] = QString();
}

// Where one member's results stand in the report and the words that differ between the two.
struct MemberLines
{
    int moment;             // title, formula and value of the largest moment
    QString momentTitle;
    QString momentSymbol;
    QString momentFormula;
    int bending;            // stress, material limit and verdict
    QString bendingCaption;
    QString bendingLimit;
    int shear;              // stress, material limit and verdict
    QString shearCaption;
};

void writeMember(ReportLines &r, const MemberLines &at, const MemberValues &m)
{
    r[at.moment] = at.momentTitle;
    r[at.moment + 1] = u"       "_s + at.momentSymbol + u" = "_s + at.momentFormula;
    r[at.moment + 2] = u"       "_s + at.momentSymbol + u" = "_s + str(m.moment) + u"N*mm"_s;
    r[at.bending] = at.bendingCaption + str(m.bendingStress) + u" N/mm^2"_s;
    r[at.bending + 1] = at.bendingLimit;
    r[at.bending + 2] = verdict(m.bendingOk);
    r[at.shear] = at.shearCaption + str(m.shearStress) + u"N/mm^2"_s;
    r[at.shear + 1] = u"       材料抗剪强度设计值：125 N/mm^2"_s;
    r[at.shear + 2] = verdict(m.shearOk);
}

// Lines 139-217: the profile, the steel, the loads on the frame and the two members.
void writeFrame(ReportLines &r, const GlassCheckInput &in, const GlassCheckValues &v)
{
    r[139] = u"4 校核横框及立框的强度"_s;
    r[140] = u"   型材类型:"_s + in.profile;
    r[141] = u"   型材弹性模量(E):70000 N/mm^2"_s;
    r[142] = u"   型材抗拉强度：84.2 N/mm^2"_s;
    r[143] = u"   型材抗剪强度：48.9 N/mm^2"_s;
    r[144] = u"   型材厚度"_s + in.profileThickness;
    r[145] = QString();
    r[146] = u"   增强型钢类型："_s + in.steel;
    r[147] = u"   增强型钢弹性模量(E):210000 N/mm^2"_s;
    r[148] = u"   增强型钢抗拉强度：215 N/mm^2"_s;
    r[149] = u"   增强型钢抗剪强度：125 N/mm^2"_s;
    r[150] = u"   增强型钢宽度:"_s + in.steelThickness;
    r[151] = QString();
    r[152] = u"    增强型钢横框截面惯性矩(IZ):980000 mm^4"_s;
    r[153] = u"    增强型钢横框截面抵抗矩(WZ):22000 mm^3"_s;
    r[154] = u"    增强型钢横框面面积矩(Ssz):24000 mm^3"_s;
    r[155] = u"     "_s;
    r[156] = u"    增强型钢立框截面惯性矩(IZ):1.47653e+07 mm^4"_s;
    r[157] = u"    增强型钢立框截面抵抗矩(WZ):146190 mm^3"_s;
    r[158] = u"    增强型钢立框面面积矩(Ssz):98745"_s;
    r[159] = u"   洞口宽度："_s + in.openingWidth + u"mm,"_s;
    r[160] = u"   洞口高度："_s + in.openingHeight + u"mm"_s;
    r[161] = QString();
    r[162] = u"   计算公式："_s;
    r[163] = u"   作用于横框上的均布剪力："_s;
    r[164] = u"       qb = (Wd / 1000)  * h"_s;
    r[165] = u"           Wd  风压设计值"_s;
    r[166] = u"           h   洞口高度"_s;
    r[167] = u"       wd = "_s + str(v.w);
    r[168] = u"       qb = "_s + str(v.transom.load) + u"N/mm"_s;
    r[169] = QString();
    r[170] = u"   作用于立框上的均布剪力："_s;
    r[171] = u"       qh = (Wd / 1000) * b"_s;
    r[172] = u"           b   洞口宽度"_s;
    r[173] = u"       qh = "_s + str(float(v.mullion.load)) + u"N/mm"_s;
    r[177] = QString();
    r[181] = QString();
    r[182] = u"   作用于窗框上的剪力："_s;
    r[183] = u"       Qb = qb * b / 2.0"_s;
    r[184] = u"       Qh = qh * h / 2.0"_s;
    r[185] = u"           Qb  作用于横框上的最大剪力"_s;
    r[186] = u"           Qh  作用于立框上的最大剪力"_s;
    r[187] = u"       Qb = "_s + str(v.transom.shear) + u"N"_s;
    r[188] = u"       Qh = "_s + str(v.mullion.shear) + u"N"_s;
    r[189] = u"   校核增强型钢抗弯强度："_s;
    r[190] = u"   计算公式："_s;
    r[191] = u"       Sm = Mz / (r * Wz)"_s;
    r[192] = u"           Sm  截面正应力"_s;
    r[193] = u"           Mz  截面弯矩设计值"_s;
    r[194] = u"           Wz  截面抵抗矩"_s;
    r[195] = u"           r   截面塑性发展系数,取1.05"_s;
    r[199] = QString();
    r[203] = QString();
    r[204] = u"   校核增强型钢截面抗剪强度:"_s;
    r[205] = u"   计算公式："_s;
    r[206] = u"       SQ = Q * Ssz / ( IZ * t)"_s;
    r[207] = u"           SQ  截面剪应力"_s;
    r[208] = u"           Q   截面剪力"_s;
    r[209] = u"           IZ  截面惯性矩"_s;
    r[210] = u"           t   增强型钢厚度"_s;
    r[214] = QString();
    static const MemberLines transom{174, u"   作用于横框上的最大弯矩："_s, u"Mzb"_s, u"qb * b^2 / 8.0"_s,
                                     196, u"       横框正应力:"_s, u"       材料抗弯强度设计值: 215 N/mm^2"_s,
                                     211, u"       横框剪应力："_s};
    static const MemberLines mullion{178, u"   作用于立框上的最大弯矩:"_s, u"Mzh"_s, u"qh * h^2 / 8.0"_s,
                                     200, u"       立框正应力："_s, u"       材料抗弯强度设计值：215"_s,
                                     215, u"       立框剪应力："_s};
    writeMember(r, transom, v.transom);
    writeMember(r, mullion, v.mullion);
}

} // namespace

void writeLoadReport(FYState &s)
{
    auto &r = s.FYReport;
    r[1] = u"                    =====建筑门窗框、扇及玻璃校核报告====="_s;
    r[2] = QString();
    r[3] = u"工程门窗："_s + s.FYGCMC;
    r[4] = u"1 计算标准风压值："_s;
    r[5] = u"   城市:"_s + s.FYCity;
    r[6] = u"   基本风压(W0):"_s + str(s.FYW0);
    r[7] = u"   建筑物高度:"_s + s.FYHeight + u"m"_s;
    r[8] = u"   地面粗糙度:"_s + s.FYTerrain;
    r[9] = QString();
    r[10] = u"   计算公式:"_s + FYCrLf;
    r[11] = u"       WK = Bgz * Us * Uz * W0"_s;
    r[12] = u"           wk  风荷载标准值"_s;
    r[13] = u"           Bz  Z高度处的风振系数"_s;
    r[14] = u"           Us  风荷载体型系数"_s;
    r[15] = u"           Uz  风压高度变化系数"_s;
    r[16] = u"           W0  基本风压值  "_s;
    r[17] = u"       Bgz = "_s + str(s.FYBgz);
    r[18] = u"       Us = "_s + str(s.FYUs);
    r[19] = u"       Uz = "_s + str(s.FYUz);
    r[20] = u"       W0 = "_s + str(s.FYW0);
    r[21] = u"   计算结果："_s;
    r[22] = u"       风荷载标准值："_s + str(s.FYWk) + u"KN/m^2"_s;
    r[23] = u"       风荷载设计值："_s + str(designLoad(s.FYDesignRate, s.FYWk)) + u"KN/m^2"_s;
    r[24] = QString();
}

void writeGlassReport(const GlassCheckInput &in, const GlassCheckValues &values, FYState &state)
{
    ReportLines &r = state.FYReport;
    writeGlassData(r, in, values, state);
    writeAllowedArea(r, values);
    writeBendingStress(r, in, values);
    writeTemperatureStress(r, values);
    writeDeflection(r, values);
    writeScrews(r, in, values);
    writeFrame(r, in, values);
}

QString fullReportText(const FYState &state)
{
    QString t;
    for (int i = 1; i <= kLastReportLine; ++i)
        t += state.FYReport[i] + FYCrLf;
    return t;
}

} // namespace windcheck
