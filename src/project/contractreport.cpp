#include "contractreport.h"

using namespace Qt::StringLiterals;

namespace project {

platform::Report contractReport(const QStringList &fields)
{
    using platform::ReportBlock;
    using platform::ReportColumn;
    auto f = [&fields](int i) { return fields.value(i); };
    platform::Report report;
    report.title = f(13);
    report.bodyPointSize = 14.25;
    report.marginMm = 25.4;

    const QList<ReportColumn> parties = {{QString(), 1, Qt::AlignLeft}, {QString(), 2, Qt::AlignLeft},
                                         {QString(), 1, Qt::AlignLeft}, {QString(), 2, Qt::AlignLeft}};
    report.blocks << ReportBlock::spacer(8);
    report.blocks << ReportBlock::table(parties,
                                        {{u"供方："_s, f(0), u"需方："_s, f(1)},
                                         {u"地址："_s, f(2), u"地址："_s, f(3)},
                                         {u"电话："_s, f(4), u"电话："_s, f(5)}},
                                        false);
    const QStringList clauses = {u"1.塑钢品牌、产地及系列："_s, u"2.五金件品牌及产地："_s, u"3.纱窗玻璃颜色："_s,
                                 u"4.质量要求及技术标准，供方对质量负现的条件："_s, u"5.数量及单价："_s,
                                 u"6.结算方式及期限："_s};
    for (int i = 0; i < clauses.size(); ++i) {
        report.blocks << ReportBlock::spacer(3);
        report.blocks << ReportBlock::line(clauses.at(i));
        report.blocks << ReportBlock::line(u"\u3000\u3000"_s + f(6 + i));
    }
    report.blocks << ReportBlock::spacer(3);
    report.blocks << ReportBlock::line(u"其它事项："_s + f(12));
    report.blocks << ReportBlock::spacer(10);
    report.blocks << ReportBlock::table({{QString(), 1, Qt::AlignLeft}, {QString(), 1, Qt::AlignLeft}},
                                        {{u"经办签章："_s, u"需方签章："_s}}, false);
    return report;
}

} // namespace project
