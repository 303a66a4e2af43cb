#pragma once
// Fixed coefficient tables of the two wind checks and the items of their choice lists, in list
// order. Lookups outside a table give nothing (or 0 where the check goes on with 0).
#include <QString>
#include <QStringList>
#include <optional>

namespace windcheck {

// --- one-window check: positions are 0-based list positions

// Wind pressure height coefficient; terrain 0-3 (A-D), height step 0-18.
std::optional<float> GetUz(int terrain, int heightStep);
// Gust factor; terrain 0-3, height step 0-18.
std::optional<float> GetBgz(int terrain, int heightStep);
// Glass wind-pressure adjustment factor by glass type 0-7.
std::optional<float> GetGlassFactor(int glassType);
// Moment of inertia of the reinforcing steel (cm^4) by section 0-1 and wall thickness 0-4; 0 outside.
float GetSteelInertia(int section, int thickness);

QStringList windowTypeItems();
QStringList terrainItems();
QStringList heightItems();
QStringList buildingKindItems();
QStringList glassTypeItems();
QStringList steelSectionItems();
QStringList wallThicknessItems();
QStringList shapeCoefficientItems();
// The four lines of the check basis, each a tab, the text and CR LF.
QString standardsText();

// --- two-step check

// Height coefficient; terrain 1-3 (A-C), height 1-18, both 1-based.
std::optional<float> GetUz01(int terrain, int height);
// Glass factor by variety position 0-7; 0 outside.
double GetGlassFactor01(int position);
// Bending coefficient by ratio position 0-14; 0 outside.
double GetBendingCoef01(int position);

QStringList fullBuildingItems();
QStringList fullTerrainItems();
QStringList fullHeightItems();
QStringList glassVarietyItems();
QStringList sideRatioItems();

} // namespace windcheck
