#include "statsreports.h"

#include "numbers.h"

using namespace Qt::StringLiterals;

namespace stats {

namespace {
using platform::ReportBlock;
using platform::ReportColumn;

QString dateText(const QDate &date)
{
    return date.toString(u"yyyy-MM-dd"_s);
}

QString field(const QStringList &row, int i)
{
    return row.value(i);
}

void head(platform::Report &r, const QString &title, const QString &jobName, const QDate &date, const QString &dateCaption)
{
    r.title = title;
    r.blocks << ReportBlock::line(u"工程名称："_s + jobName) << ReportBlock::line(dateCaption + dateText(date))
             << ReportBlock::spacer(2);
}

double columnSum(const app::ReportRows &rows, int column)
{
    double sum = 0;
    for (const QStringList &row : rows)
        sum += num(row.value(column));
    return clean(sum);
}

// Two columns, the client's and the maker's, each a caption and its value or a blank to sign in.
void signatures(platform::Report &r, const QString &client, const QString &company)
{
    r.blocks << ReportBlock::spacer(4)
             << ReportBlock::table({{QString(), 1}, {QString(), 3}, {QString(), 1}, {QString(), 3}},
                                   {{u"发包单位："_s, client, u"制作单位："_s, company},
                                    {u"代表签字："_s, QString(), u"代表签字："_s, QString()},
                                    {u"盖章："_s, QString(), u"盖章："_s, QString()}},
                                   false);
    r.blocks.last().headless = true;
}

// The settlement tables: 宽mm and 高mm under one caption, and the total's caption across the
// columns before the first sum.
ReportBlock settlementTable(const QList<ReportColumn> &columns, const QList<QStringList> &rows)
{
    ReportBlock table = ReportBlock::table(columns, rows);
    table.groups << platform::ReportColumnGroup{3, 2, u"门窗尺寸"_s};
    table.firstCellSpans.insert(int(rows.size()) - 1, 5);
    return table;
}
} // namespace

platform::Report materialListReport(const QString &title, const QString &jobName, const QDate &date,
                                    const app::ReportRows &rows, const QStringList &totals)
{
    platform::Report r;
    head(r, title, jobName, date, u"日  期："_s);
    // "实际需求数量" heads an empty column for handwriting, so it repeats with the captions on
    // every page.
    QList<QStringList> table;
    for (const QStringList &row : rows)
        table << QStringList{field(row, 0), field(row, 1), field(row, 2), field(row, 6), field(row, 4), QString()};
    r.blocks << ReportBlock::table({{u"编号"_s, 0.6, Qt::AlignCenter},
                                    {u"名    称"_s, 2.2},
                                    {u"规    格"_s, 1.6},
                                    {u"数  量"_s, 1, Qt::AlignRight},
                                    {u" 单位"_s, 0.7, Qt::AlignCenter},
                                    {u"实际需求数量"_s, 1.2}},
                                   table);
    if (!totals.isEmpty())
        r.blocks << ReportBlock::spacer(3);
    for (const QString &t : totals)
        r.blocks << ReportBlock::line(t);
    return r;
}

double reportAmount(const app::ReportRows &rows)
{
    return columnSum(rows, 5);
}

platform::Report costReport(const QString &title, const QString &jobName, const QDate &date,
                            const app::ReportRows &rows, const CostFigures &figures)
{
    platform::Report r;
    head(r, title, jobName, date, u"日  期："_s);
    QList<QStringList> table;
    for (const QStringList &row : rows)
        table << QStringList{field(row, 0), field(row, 1), field(row, 2), field(row, 6),
                             field(row, 3), field(row, 4), field(row, 5)};
    r.blocks << ReportBlock::table({{u"编号"_s, 0.6, Qt::AlignCenter},
                                    {u"名    称"_s, 2},
                                    {u"规    格"_s, 1.4},
                                    {u"数  量"_s, 1, Qt::AlignRight},
                                    {u"单  价"_s, 1, Qt::AlignRight},
                                    {u" 单位"_s, 0.7, Qt::AlignCenter},
                                    {u"金     额"_s, 1.2, Qt::AlignRight}},
                                   table);
    r.blocks << ReportBlock::spacer(3) << ReportBlock::line(u"材料造价（元）："_s + generalText(reportAmount(rows)))
             << ReportBlock::line(u"人工费用（元）："_s + figures.fees[0])
             << ReportBlock::line(u"税 费（元）："_s + figures.fees[1])
             << ReportBlock::line(u"运输费用（元）："_s + figures.fees[2])
             << ReportBlock::line(u"其它费用（元）："_s + figures.fees[3])
             << ReportBlock::line(u"门窗共计造价（元）："_s + figures.total, Qt::AlignLeft, 0, true);
    return r;
}

platform::Report areaReport(const QString &jobName, const QDate &date, const app::ReportRows &rows,
                            const QString &client, const QString &company)
{
    platform::Report r;
    head(r, u"门 窗 面 积 统 计 表"_s, jobName, date, u"日期："_s);
    QList<QStringList> table;
    for (const QStringList &row : rows)
        table << QStringList{field(row, 8), field(row, 0), field(row, 1), field(row, 2),
                             field(row, 3), field(row, 4), field(row, 5), QString()};
    table << QStringList{u"合       计："_s, QString(), QString(), QString(), QString(),
                         generalText(columnSum(rows, 4)), generalText(columnSum(rows, 5)), QString()};
    r.blocks << settlementTable({{u"编号"_s, 0.6, Qt::AlignCenter},
                                    {u"门窗类型"_s, 1.6},
                                    {u"门窗部位"_s, 1.2},
                                    {u"宽mm"_s, 0.8, Qt::AlignRight},
                                    {u"高mm"_s, 0.8, Qt::AlignRight},
                                    {u"樘 数"_s, 0.7, Qt::AlignRight},
                                    {u"面积M²"_s, 1, Qt::AlignRight},
                                    {u"备 注"_s, 1}},
                                   table);
    signatures(r, client, company);
    return r;
}

platform::Report settlementReport(const QString &jobName, const QDate &date, const app::ReportRows &rows,
                                  const QString &client, const QString &company)
{
    platform::Report r;
    head(r, u"门 窗 决 算 表"_s, jobName, date, u"日期："_s);
    QList<QStringList> table;
    for (const QStringList &row : rows)
        table << QStringList{field(row, 8), field(row, 0), field(row, 1), field(row, 2), field(row, 3),
                             field(row, 4), field(row, 5), field(row, 6), field(row, 7)};
    table << QStringList{u"合       计："_s, QString(), QString(), QString(), QString(),
                         generalText(columnSum(rows, 4)), generalText(columnSum(rows, 5)), QString(),
                         generalText(columnSum(rows, 7))};
    r.blocks << settlementTable({{u"编号"_s, 0.6, Qt::AlignCenter},
                                    {u"门窗类型"_s, 1.5},
                                    {u"门窗部位"_s, 1.1},
                                    {u"宽mm"_s, 0.8, Qt::AlignRight},
                                    {u"高mm"_s, 0.8, Qt::AlignRight},
                                    {u"樘 数"_s, 0.6, Qt::AlignRight},
                                    {u"面积M²"_s, 0.9, Qt::AlignRight},
                                    {u"单价(元/M²)"_s, 1, Qt::AlignRight},
                                    {u"金额(元)"_s, 1.1, Qt::AlignRight}},
                                   table);
    signatures(r, client, company);
    return r;
}

QStringList materialTotals(bool profiles, bool steel, bool panels, double profileWeight, double steelWeight,
                           double panelArea)
{
    QStringList lines;
    if (profiles)
        lines << u"型材总吨数："_s + numberText(profileWeight / 1000);
    if (steel)
        lines << u"型钢总吨数："_s + numberText(steelWeight / 1000);
    if (panels)
        lines << u"板材总平方数："_s + numberText(panelArea);
    return lines;
}

} // namespace stats
