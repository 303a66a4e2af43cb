#include "warehousereports.h"

#include "app/reportcommands.h"
#include "platform/database.h"

using namespace Qt::StringLiterals;
using platform::Report;
using platform::ReportBlock;
using platform::ReportColumn;

namespace warehouse {

namespace {

ReportBlock textLine(const QString &text)
{
    ReportBlock b;
    b.kind = ReportBlock::Kind::Text;
    b.text = text;
    return b;
}

ReportBlock gap(double mm)
{
    ReportBlock b;
    b.kind = ReportBlock::Kind::Spacer;
    b.spaceMm = mm;
    return b;
}

ReportBlock grid(const QList<ReportColumn> &columns, const QList<QStringList> &rows)
{
    ReportBlock b;
    b.kind = ReportBlock::Kind::Table;
    b.columns = columns;
    b.rows = rows;
    b.grid = true;
    return b;
}

QString at(const QStringList &row, int i) { return i < row.size() ? row.at(i) : QString(); }

// The bill head row and its line rows (each reduced to the given field positions).
struct BillData
{
    QStringList head;
    QList<QStringList> lines;
};

std::optional<BillData> readBill(const QString &command, const QString &billNo, const QList<int> &lineFields,
                                 QString *error)
{
    bool ok = false;
    const qint64 no = billNo.trimmed().toLongLong(&ok);
    if (!ok) {
        platform::setError(error, u"单据编号“%1”无效"_s.arg(billNo));
        return std::nullopt;
    }
    const auto heads = app::runReportCommand(command, no, error);
    if (!heads)
        return std::nullopt;
    if (heads->isEmpty()) {
        platform::setError(error, u"没有编号为%1的单据。"_s.arg(no));
        return std::nullopt;
    }
    const auto lines = app::runReportChild(command, no, error);
    if (!lines)
        return std::nullopt;
    BillData d{heads->first(), {}};
    for (const QStringList &row : *lines) {
        QStringList cells;
        for (int f : lineFields)
            cells << at(row, f);
        d.lines << cells;
    }
    return d;
}

Report bill(const QString &title, const QList<std::pair<QString, QString>> &head, const QList<ReportColumn> &columns,
            const QList<QStringList> &lines)
{
    Report r;
    r.title = title;
    for (const auto &[label, value] : head)
        r.blocks << textLine(label + u' ' + value);
    r.blocks << gap(4) << grid(columns, lines);
    return r;
}
} // namespace

std::optional<Report> ReceiptBillReport(const QString &billNo, QString *error)
{
    // 入库单: 单据编号, 来料来源, 采购金额, 用途, 说明, 采购员, 采购日期; lines after their 单据编号.
    const auto d = readBill(u"CmdLK"_s, billNo, {1, 2, 3, 4, 5, 6}, error);
    if (!d)
        return std::nullopt;
    const QStringList &h = d->head;
    return bill(u"入   库   单"_s,
                {{u"单据编号:"_s, at(h, 0)},
                 {u"购料来源:"_s, at(h, 1)},
                 {u"应用项目:"_s, at(h, 3)},
                 {u"说    明:"_s, at(h, 4)},
                 {u"采购金额(元):"_s, at(h, 2)},
                 {u"采 购 员:"_s, at(h, 5)},
                 {u"采购日期:"_s, at(h, 6)}},
                {{u"名    称"_s, 2}, {u"规    格"_s, 2}, {u"单  位"_s, 1}, {u"单位单价"_s, 1, Qt::AlignRight},
                 {u"数  量"_s, 1, Qt::AlignRight}, {u"种  类"_s, 1}},
                d->lines);
}

std::optional<Report> IssueBillReport(const QString &billNo, QString *error)
{
    // 出库单: 单据编号, 用途, 说明, 仓管员, 出库日期; lines after their 单据编号.
    const auto d = readBill(u"CmdCK"_s, billNo, {1, 2, 3, 4, 5}, error);
    if (!d)
        return std::nullopt;
    const QStringList &h = d->head;
    return bill(u"出   库   单"_s,
                {{u"单据编号:"_s, at(h, 0)},
                 {u"应用项目:"_s, at(h, 1)},
                 {u"说    明:"_s, at(h, 2)},
                 {u"仓 管 员:"_s, at(h, 3)},
                 {u"出库日期:"_s, at(h, 4)}},
                {{u"名    称"_s, 2}, {u"规    格"_s, 2}, {u"单  位"_s, 1}, {u"数  量"_s, 1, Qt::AlignRight},
                 {u"种  类"_s, 1}},
                d->lines);
}

std::optional<Report> StockReport(const QDate &today, QString *error)
{
    const auto rows = app::runReportCommand(u"CmdKC"_s, {}, error);
    if (!rows)
        return std::nullopt;
    // 库存表: 名称, 规格, 厂家, 单位, 种类, 入库量, 库存量; printed with 种类 last.
    QList<QStringList> lines;
    for (const QStringList &row : *rows)
        lines << QStringList{at(row, 0), at(row, 1), at(row, 2), at(row, 3), at(row, 5), at(row, 6), at(row, 4)};
    Report r;
    r.title = u"库   存   表"_s;
    r.blocks << textLine(u"日    期:"_s + today.toString(u"yyyy-MM-dd"_s)) << gap(4)
             << grid({{u"名    称"_s, 2},
                      {u"规    格"_s, 2},
                      {u"厂    家"_s, 2},
                      {u"单位"_s, 1},
                      {u"入库量"_s, 1, Qt::AlignRight},
                      {u"库存量"_s, 1, Qt::AlignRight},
                      {u"种  类"_s, 1}},
                     lines);
    return r;
}

} // namespace warehouse
