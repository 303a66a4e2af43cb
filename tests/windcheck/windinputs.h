#pragma once
// The one-window check's inputs as the tests start from them: a 600 x 1400 sash of the given type,
// 5 mm glass 771 x 888, terrain A at 5 m, the default basis of the check.
#include "windcheck/coefficients.h"
#include "windcheck/simplecheck.h"

namespace windtest {

using namespace Qt::StringLiterals;

inline windcheck::SimpleWindInput simpleInput(int windowType = 0)
{
    windcheck::SimpleWindInput in;
    in.projectName = u"阳光小区"_s;
    in.windowType = windowType;
    in.windowTypeText = windcheck::windowTypeItems().at(windowType);
    in.windowNumber = u"C1"_s;
    in.windowSize = u"1500*1500"_s;
    in.basisText = windcheck::standardsText();
    in.city = u"北京"_s;
    in.basicPressure = u"0.8"_s;
    in.shapeCoefficient = u"1.3"_s;
    in.terrain = 0;
    in.terrainText = u"A类"_s;
    in.buildingKind = 0;
    in.buildingKindText = u"一般建筑"_s;
    in.height = 0;
    in.heightText = u"5米"_s;
    in.glassType = 0;
    in.glassTypeText = u"浮法玻璃"_s;
    in.glassThickness = u"5"_s;
    in.glassWidth = u"771"_s;
    in.glassHeight = u"888"_s;
    in.sashWidth = u"600"_s;
    in.sashHeight = u"1400"_s;
    in.transomEnabled = windcheck::transomEnabledFor(windowType);
    if (in.transomEnabled) {
        in.transomWidth = u"1200"_s;
        in.transomHeight = u"500"_s;
    }
    in.steelSectionText = u"槽钢 ㄩ"_s;
    in.wallThicknessText = u"1.2mm"_s;
    in.inertia = u"1.045"_s;
    return in;
}

} // namespace windtest
