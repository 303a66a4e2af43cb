#include "yhexport.h"

#include "platform/ansicodes.h"
#include "platform/chinese.h"
#include "platform/numtext.h"
#include "yhfiles.h"

#include "platform/filewrite.h"

using namespace Qt::StringLiterals;

namespace optimise {

QList<QStringList> planListRows(const QList<PlanGroupRow> &groups)
{
    QList<QStringList> out;
    QString previous;
    for (const PlanGroupRow &g : groups) {
        QString name;
        if (g.material != previous) {
            name = g.material;
            previous = g.material;
        }
        out << QStringList{name, g.pattern, g.bars, g.ratio, g.remain};
    }
    return out;
}

QList<QStringList> summaryListRows(const QList<SummaryRow> &rows)
{
    QList<QStringList> out;
    for (const SummaryRow &r : rows)
        out << QStringList{r.material, r.bars, r.ratio};
    return out;
}

QString shortDateText(const QDate &date)
{
    return platform::dateText(date);
}

QString yhResultText(const QList<QStringList> &plan, const QList<QStringList> &summary, const QString &jobName,
                     const QString &dateText)
{
    const QString crlf = u"\r\n"_s;
    auto tabbed = [](const QStringList &cells, int n) {
        QString line;
        for (int i = 0; i < n; ++i)
            line += cells.value(i) + u'\t';
        return line;
    };
    QString t;
    t += u"材料优化切割表"_s + crlf;
    t += crlf;
    t += u"\t\t工程名称："_s + jobName + crlf;
    t += tabbed({u"材料名称"_s, u"切割规格"_s, u"数量"_s, u"优化比率"_s, u"余料长度"_s}, 5) + crlf;
    for (const QStringList &row : plan)
        t += tabbed(row, 5) + crlf;
    t += u"日期\t"_s + dateText + u'\t' + crlf;
    t += QString(84, u'=') + crlf;
    t += u"材料优化统计表"_s + crlf;
    t += u"工程名称："_s + jobName + crlf;
    t += tabbed({u"材料名称"_s, u"数量"_s, u"优化比率"_s, u"采购数量"_s}, 4) + crlf;
    for (const QStringList &row : summary)
        t += tabbed(row, 3) + crlf;
    t += u"总经理签字"_s + crlf + crlf + u"主管签字"_s + crlf + crlf;
    t += u"日期\t"_s + dateText + crlf;
    return t;
}

bool ExportYHText(const QString &fileName, const QList<QStringList> &plan, const QList<QStringList> &summary,
                  const QString &jobName, const QString &dateText, QString *error)
{
    return platform::writeWholeFile(fileName, platform::toGb18030(yhResultText(plan, summary, jobName, dateText)), error);
}

namespace {
// A list text into a cell: numbers as numbers, so that the spreadsheet can count with them.
void putCell(platform::Sheet &sheet, int row, int column, const QString &text, const platform::CellFormat &format = {})
{
    if (!text.isEmpty() && platform::isNumeric(text))
        sheet.setNumber(row, column, platform::val(text), format);
    else
        sheet.setText(row, column, text, format);
}

void titleRow(platform::Sheet &sheet, int lastColumn, const QString &title)
{
    platform::CellFormat f;
    f.hAlign = platform::HAlign::Center;
    f.vAlign = platform::VAlign::Bottom;
    sheet.setText(0, 0, title, f);
    sheet.merge(0, 0, 0, lastColumn);
}

void border(platform::Sheet &sheet, int firstRow, int lastRow, int lastColumn)
{
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = 0; c <= lastColumn; ++c) {
            platform::CellFormat f;
            const auto it = sheet.cells().find({r, c});
            if (it != sheet.cells().end())
                f = it->second.format;
            f.border = platform::BorderStyle::Thin;
            sheet.setFormat(r, c, f);
        }
}
} // namespace

platform::Workbook yhResultWorkbook(const QList<QStringList> &plan, const QList<QStringList> &summary,
                                    const QString &jobName, const QDate &date)
{
    platform::Workbook book;
    // Rows below are 0-based: sheet row r is index r - 1.
    platform::Sheet &s1 = book.addSheet(u"Sheet1"_s);
    titleRow(s1, 4, u"材料优化切割表"_s);
    const double widths1[] = {13, 45, 4, 9, 9};
    for (int c = 0; c < 5; ++c)
        s1.setColumnWidth(c, widths1[c]);
    s1.setText(2, 0, u"   工程名称："_s);
    s1.setText(2, 1, jobName);
    const QStringList head1 = {u"材料名称"_s, u"                 切割规格"_s, u"数量"_s, u"优化比率"_s, u"余料长度"_s};
    for (int c = 0; c < 5; ++c)
        s1.setText(3, c, head1.at(c));
    const int n = int(plan.size());
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 5; ++c)
            putCell(s1, i + 4, c, plan.at(i).value(c));
    s1.setText(n + 5, 0, u"日期"_s);
    s1.setDate(n + 5, 1, date);
    border(s1, 3, n + 3, 4);

    platform::Sheet &s2 = book.addSheet(u"Sheet2"_s);
    titleRow(s2, 3, u"材料优化统计表"_s);
    for (int c = 0; c < 4; ++c)
        s2.setColumnWidth(c, 15);
    s2.setText(2, 0, u"   工程名称："_s);
    s2.setText(2, 1, jobName);
    const QStringList head2 = {u"   材料名称"_s, u"     数量"_s, u"   优化比率"_s, u"   采购数量"_s};
    for (int c = 0; c < 4; ++c)
        s2.setText(3, c, head2.at(c));
    const int m = int(summary.size());
    for (int j = 0; j < m; ++j)
        for (int c = 0; c < 3; ++c)
            putCell(s2, j + 4, c, summary.at(j).value(c));
    s2.setText(m + 4, 0, u"总经理签字"_s);
    s2.setText(m + 4, 2, u"主管签字"_s);
    s2.setText(m + 6, 0, u"日期"_s);
    s2.setDate(m + 6, 2, date);
    border(s2, 3, m + 3, 3);
    book.setActiveSheet(1);
    return book;
}

namespace {
QString footer(const QDateTime &when)
{
    return platform::dateText(when.date()) + u"  "_s + when.time().toString(u"HH:mm"_s);
}
} // namespace

platform::Report yhPlanReport(const QList<QStringList> &cmdRows, const QString &jobName, const QDateTime &when)
{
    platform::Report r;
    // Title and job name head every page, date and time foot it, as on the printed plan of old.
    r.pageHeader << platform::ReportBlock::line(u"材料优化表"_s, Qt::AlignHCenter, r.bodyPointSize * 1.6, true)
                 << platform::ReportBlock::line(u"工程名称："_s + jobName);
    r.pageFooter = footer(when);
    QList<QStringList> rows;
    for (const QStringList &c : cmdRows)
        rows << QStringList{c.value(0), c.value(1), c.value(3), c.value(4), c.value(2), QString()};
    r.blocks << platform::ReportBlock::table({{u"材料名称"_s, 2, Qt::AlignLeft},
                                              {u"切割规格"_s, 4, Qt::AlignLeft},
                                              {u"优化比率"_s, 1.5, Qt::AlignRight},
                                              {u"剩余料长"_s, 1.2, Qt::AlignRight},
                                              {u"数量"_s, 1, Qt::AlignRight},
                                              {u"实际需求量"_s, 1.5, Qt::AlignLeft}},
                                             rows);
    return r;
}

platform::Report yhSummaryReport(const QList<QStringList> &cmdRows, const QString &jobName, const QDateTime &when)
{
    platform::Report r;
    r.pageHeader << platform::ReportBlock::line(u"材料优化统计表"_s, Qt::AlignHCenter, r.bodyPointSize * 1.6, true)
                 << platform::ReportBlock::line(u"工程名名称："_s + jobName);
    r.pageFooter = footer(when);
    QList<QStringList> rows;
    for (const QStringList &c : cmdRows)
        rows << QStringList{c.value(0), c.value(2), c.value(1), QString()};
    r.blocks << platform::ReportBlock::table({{u"材料名称"_s, 2, Qt::AlignLeft},
                                              {u"总体优化率"_s, 1.5, Qt::AlignRight},
                                              {u"数  量"_s, 1, Qt::AlignRight},
                                              {u"实际需求量"_s, 1.5, Qt::AlignLeft}},
                                             rows);
    return r;
}

} // namespace optimise
