#include "coefficients.h"

using namespace Qt::StringLiterals;

namespace windcheck {

namespace {
constexpr int kHeightSteps = 19;

// Rows: height step; columns: terrain A-D.
constexpr float kUz[kHeightSteps][4] = {
    {1.17f, 1.00f, 0.74f, 0.62f}, {1.38f, 1.00f, 0.74f, 0.62f}, {1.52f, 1.14f, 0.74f, 0.62f},
    {1.63f, 1.25f, 0.84f, 0.62f}, {1.80f, 1.42f, 1.00f, 0.62f}, {1.92f, 1.56f, 1.13f, 0.73f},
    {2.03f, 1.67f, 1.25f, 0.84f}, {2.12f, 1.77f, 1.35f, 0.93f}, {2.20f, 1.86f, 1.45f, 1.02f},
    {2.27f, 1.95f, 1.54f, 1.11f}, {2.34f, 2.02f, 1.62f, 1.19f}, {2.40f, 2.09f, 1.70f, 1.27f},
    {2.64f, 2.38f, 2.03f, 1.61f}, {2.83f, 2.61f, 2.30f, 1.92f}, {2.99f, 2.80f, 2.54f, 2.19f},
    {3.12f, 2.97f, 2.75f, 2.45f}, {3.12f, 3.12f, 2.94f, 2.68f}, {3.12f, 3.12f, 3.12f, 2.91f},
    {3.12f, 3.12f, 3.12f, 3.12f},
};

// The load code's gust table ends at 300 m; higher steps repeat that row.
constexpr float kBgz[kHeightSteps][4] = {
    {1.69f, 1.88f, 2.30f, 3.21f}, {1.63f, 1.78f, 2.10f, 2.76f}, {1.60f, 1.72f, 1.99f, 2.54f},
    {1.58f, 1.69f, 1.92f, 2.39f}, {1.54f, 1.64f, 1.83f, 2.21f}, {1.52f, 1.60f, 1.77f, 2.09f},
    {1.51f, 1.58f, 1.73f, 2.01f}, {1.49f, 1.56f, 1.69f, 1.94f}, {1.48f, 1.54f, 1.66f, 1.89f},
    {1.47f, 1.53f, 1.64f, 1.85f}, {1.47f, 1.52f, 1.62f, 1.81f}, {1.46f, 1.51f, 1.60f, 1.78f},
    {1.43f, 1.47f, 1.54f, 1.67f}, {1.42f, 1.44f, 1.50f, 1.60f}, {1.40f, 1.42f, 1.46f, 1.55f},
    {1.39f, 1.41f, 1.44f, 1.51f}, {1.39f, 1.41f, 1.44f, 1.51f}, {1.39f, 1.41f, 1.44f, 1.51f},
    {1.39f, 1.41f, 1.44f, 1.51f},
};

constexpr float kGlassFactor[8] = {1.0f, 1.6f, 2.0f, 0.8f, 1.5f, 0.5f, 0.6f, 3.0f};

// The square tube at 2.0 mm is below the 1.5 mm value in the source table; kept as published.
constexpr float kSteelInertia[2][5] = {
    {1.045f, 1.2428f, 1.6455f, 1.9751f, 2.26f},
    {0.9675f, 1.1658f, 1.0602f, 1.711f, 1.9268f},
};

constexpr double kGlassFactor01[8] = {1.0, 1.6, 2.0, 0.8, 1.5, 0.5, 0.6, 3.0};

constexpr double kBendingCoef01[15] = {0.125,  0.123,  0.118,  0.1115, 0.1,    0.0934, 0.0868, 0.0804,
                                       0.0742, 0.0683, 0.0628, 0.0576, 0.0528, 0.0483, 0.0442};

bool inTable(int terrain, int heightStep)
{
    return terrain >= 0 && terrain < 4 && heightStep >= 0 && heightStep < kHeightSteps;
}
} // namespace

std::optional<float> GetUz(int terrain, int heightStep)
{
    if (!inTable(terrain, heightStep))
        return std::nullopt;
    return kUz[heightStep][terrain];
}

std::optional<float> GetBgz(int terrain, int heightStep)
{
    if (!inTable(terrain, heightStep))
        return std::nullopt;
    return kBgz[heightStep][terrain];
}

std::optional<float> GetGlassFactor(int glassType)
{
    if (glassType < 0 || glassType >= 8)
        return std::nullopt;
    return kGlassFactor[glassType];
}

float GetSteelInertia(int section, int thickness)
{
    if (section < 0 || section >= 2 || thickness < 0 || thickness >= 5)
        return 0.0f;
    return kSteelInertia[section][thickness];
}

QStringList windowTypeItems()
{
    return {u"二扇推拉窗"_s,     u"二扇带亮推拉窗"_s, u"二扇带亮含中梃推拉窗"_s,
            u"三扇推拉窗"_s,     u"三扇带亮推拉窗"_s, u"三扇带亮含中梃推拉窗"_s};
}

QStringList terrainItems() { return {u"A类"_s, u"B类"_s, u"C类"_s, u"D类"_s}; }

QStringList heightItems()
{
    return {u"5米"_s,   u"10米"_s,  u"15米"_s,  u"20米"_s,  u"30米"_s,  u"40米"_s,   u"50米"_s,
            u"60米"_s,  u"70米"_s,  u"80米"_s,  u"90米"_s,  u"100米"_s, u"150米"_s,  u"200米"_s,
            u"250米"_s, u"300米"_s, u"350米"_s, u"400米"_s, u">=450米"_s};
}

QStringList buildingKindItems() { return {u"一般建筑"_s, u"高层建筑"_s}; }

QStringList glassTypeItems()
{
    return {u"浮法玻璃"_s, u"半钢化玻璃"_s, u"钢化玻璃"_s, u"夹层玻璃"_s,
            u"中空玻璃"_s, u"夹丝玻璃"_s,   u"压花玻璃"_s, u"单片防火玻璃"_s};
}

QStringList steelSectionItems() { return {u"槽钢 ㄩ"_s, u"方钢 □"_s}; }

QStringList wallThicknessItems() { return {u"1.2mm"_s, u"1.5mm"_s, u"2.0mm"_s, u"2.5mm"_s, u"3.0mm"_s}; }

QStringList shapeCoefficientItems() { return {u"1.3"_s, u"1.5"_s}; }

QString standardsText()
{
    return u"\t(1) 建筑结构荷载规范(GB 50009-2001)\r\n"
           u"\t(2) 建筑玻璃应用技术规程(JGJ 113-2003)\r\n"
           u"\t(3) 工程幕墙工程技术规范(JGJ 102-96)\r\n"
           u"\t(4) 建筑外窗抗风压性能分级及检测方法(GB/T 7106-86)\r\n"_s;
}

std::optional<float> GetUz01(int terrain, int height)
{
    // Terrain classes A-C are the first three columns of the one-window table.
    if (terrain < 1 || terrain > 3 || height < 1 || height > 18)
        return std::nullopt;
    return kUz[height - 1][terrain - 1];
}

double GetGlassFactor01(int position)
{
    return position >= 0 && position < 8 ? kGlassFactor01[position] : 0.0;
}

double GetBendingCoef01(int position)
{
    return position >= 0 && position < 15 ? kBendingCoef01[position] : 0.0;
}

QStringList fullBuildingItems() { return {u"一般高层建筑物"_s, u"超高层建筑物"_s}; }

QStringList fullTerrainItems() { return {u"A类"_s, u"B类"_s, u"C类"_s}; }

QStringList fullHeightItems()
{
    return {u"5"_s,  u"10"_s, u"15"_s, u"20"_s,  u"30"_s,  u"40"_s,  u"50"_s,  u"60"_s,  u"70"_s,
            u"80"_s, u"90"_s, u"100"_s, u"150"_s, u"200"_s, u"250"_s, u"300"_s, u"350"_s, u">=400"_s};
}

QStringList glassVarietyItems()
{
    return {u"普通退火玻璃"_s, u"半钢化玻璃"_s, u"钢化玻璃"_s, u"夹层玻璃"_s,
            u"中空玻璃"_s,     u"夹丝玻璃"_s,   u"压花玻璃"_s, u"单片防火玻璃"_s};
}

QStringList sideRatioItems()
{
    return {u"0.00"_s, u"0.25"_s, u"0.33"_s, u"0.40"_s, u"0.50"_s, u"0.55"_s, u"0.60"_s, u"0.65"_s,
            u"0.70"_s, u"0.75"_s, u"0.80"_s, u"0.85"_s, u"0.90"_s, u"0.95"_s, u"1.00"_s};
}

} // namespace windcheck
