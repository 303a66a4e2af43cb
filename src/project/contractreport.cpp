#include "contractreport.h"

using namespace Qt::StringLiterals;

namespace project {

namespace {
double mm(int twips) { return twips * 25.4 / 1440; }

// A control of the sheet's layout, placed in twips from the detail band's corner.
platform::ReportField at(int left, int top, int width, int height, const QString &text,
                         Qt::Alignment align = Qt::AlignLeft)
{
    return {QRectF(mm(left), mm(top), mm(width), mm(height)), text, align};
}
} // namespace

platform::Report contractReport(const QStringList &fields)
{
    auto f = [&fields](int i) { return fields.value(i); };
    platform::Report report;
    report.fontFamily = u"宋体"_s;
    report.bodyPointSize = 14.25;
    report.marginMm = mm(1440);
    report.pageNumbers = false; // the sheet has no page footer

    platform::ReportField title = at(15, 930, 8760, 570, f(13), Qt::AlignHCenter);
    title.pointSize = 21.75;
    // One detail band per job, every control at its place in it.
    report.blocks << platform::ReportBlock::band(
        mm(14055),
        {title,
         at(585, 2235, 915, 345, u"供方："_s), at(1620, 2220, 2970, 390, f(0)),
         at(4950, 2220, 915, 345, u"需方："_s), at(5985, 2205, 2775, 390, f(1)),
         at(615, 2850, 915, 345, u"地址："_s), at(1650, 2835, 2925, 390, f(2)),
         at(4965, 2850, 915, 345, u"地址："_s), at(6000, 2835, 2790, 390, f(3)),
         at(660, 3495, 915, 345, u"电话："_s), at(1695, 3480, 2925, 390, f(4)),
         at(5010, 3495, 915, 345, u"电话："_s), at(6045, 3480, 2760, 390, f(5)),
         at(705, 4155, 5280, 345, u"1.塑钢品牌、产地及系列："_s), at(1755, 4545, 6990, 840, f(6)),
         at(690, 5505, 4050, 345, u"2.五金件品牌及产地："_s), at(1740, 5895, 7020, 870, f(7)),
         at(735, 6870, 5820, 345, u"3.纱窗玻璃颜色："_s), at(1785, 7260, 6960, 855, f(8)),
         at(750, 8235, 6555, 345, u"4.质量要求及技术标准，供方对质量负现的条件："_s), at(1800, 8625, 6915, 915, f(9)),
         at(735, 9660, 4755, 345, u"5.数量及单价："_s), at(1785, 10050, 6930, 900, f(10)),
         at(705, 11070, 4620, 345, u"6.结算方式及期限："_s), at(1755, 11445, 6945, 870, f(11)),
         at(705, 12540, 1680, 345, u"其它事项："_s), at(2460, 12540, 6195, 345, f(12)),
         at(750, 13470, 3390, 345, u"经办签章："_s), at(5355, 13485, 2775, 345, u"需方签章："_s)});
    return report;
}

} // namespace project
