#include "statsstore.h"

#include "app/maindb.h"
#include "platform/database.h"
#include "platform/numtext.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

using namespace Qt::StringLiterals;

namespace stats {

namespace {
// A stored number; a text in a number column counts by its leading number, null as 0.
double number(const QVariant &v)
{
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok && std::isfinite(d))
        return d;
    return platform::val(v.toString());
}

QString text(const QVariant &v)
{
    return app::fieldText(v);
}

// A text of the work tables: never NULL, a missing one is empty.
QString nonNull(const QString &s)
{
    return s.isNull() ? u""_s : s;
}

QVariant textParam(const QString &s)
{
    return nonNull(s);
}

QString pieceTable(PieceKind kind)
{
    return kind == PieceKind::Profile ? u"\"OutXC\""_s : u"\"OutXG\""_s;
}
} // namespace

StatsStore::StatsStore() : m_db(app::mainDb()) {}

bool StatsStore::run(const QString &sql, const QVariantList &values, QSqlQuery **query)
{
    m_error.clear();
    QSqlQuery *q = m_statements.exec(sql, values, &m_error);
    if (query)
        *query = q;
    return q != nullptr;
}

std::optional<QList<LabelRow>> StatsStore::windowLabels(const QVariant &lineId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"MC\", \"schar\" FROM \"标注\" WHERE \"MCNUM\" = ? ORDER BY rowid"_s, {lineId}, &q))
        return std::nullopt;
    QList<LabelRow> rows;
    while (q->next())
        rows.append({text(q->value(0)), text(q->value(1))});
    return rows;
}

std::optional<QList<ComponentKey>> StatsStore::components(const QVariant &lineId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"CBN\", \"CMC\" FROM \"标注2\" WHERE \"MCBN\" = ? GROUP BY \"CBN\", \"CMC\" "
             "ORDER BY \"CBN\", \"CMC\""_s,
             {lineId}, &q))
        return std::nullopt;
    QList<ComponentKey> rows;
    while (q->next())
        rows.append({q->value(0), q->value(1).isNull() ? QString() : text(q->value(1))});
    return rows;
}

std::optional<ComponentLabels> StatsStore::componentLabels(const QVariant &lineId, const ComponentKey &key)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"MC\", \"MCZ\", \"Count\" FROM \"标注2\" WHERE \"MCBN\" = ? AND \"CBN\" IS ? AND \"CMC\" IS ? "
             "ORDER BY rowid"_s,
             {lineId, key.cbn, key.cmc.isNull() ? QVariant() : QVariant(key.cmc)}, &q))
        return std::nullopt;
    ComponentLabels out;
    bool first = true;
    while (q->next()) {
        if (first)
            out.count = q->value(2);
        first = false;
        out.labels.append({text(q->value(0)), text(q->value(1))});
    }
    return out;
}

std::optional<TypeBill> StatsStore::bill(const QVariant &typeNo)
{
    TypeBill bill;
    QSqlQuery *q = nullptr;
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        const QString table = kind == PieceKind::Profile ? u"\"窗型材\""_s : u"\"窗型钢\""_s;
        if (!run(u"SELECT \"名称\", \"规格\", \"数量\", \"计算公式\" FROM "_s + table + u" WHERE \"窗号\" = ? ORDER BY rowid"_s,
                 {typeNo}, &q))
            return std::nullopt;
        QList<PieceBillRow> &rows = kind == PieceKind::Profile ? bill.profiles : bill.steel;
        while (q->next())
            rows.append({text(q->value(0)), text(q->value(1)), text(q->value(2)), text(q->value(3))});
    }
    if (!run(u"SELECT \"名称\", \"规格\", \"数量\", \"单位\" FROM \"窗配件\" WHERE \"窗号\" = ? ORDER BY rowid"_s, {typeNo}, &q))
        return std::nullopt;
    while (q->next())
        bill.fittings.append({text(q->value(0)), text(q->value(1)), number(q->value(2)), text(q->value(3))});
    if (!run(u"SELECT \"名称\", \"数量\", \"长公式\", \"宽公式\" FROM \"窗板材\" WHERE \"窗号\" = ? ORDER BY rowid"_s, {typeNo}, &q))
        return std::nullopt;
    while (q->next())
        bill.panels.append({text(q->value(0)), number(q->value(1)), text(q->value(2)), text(q->value(3))});
    return bill;
}

bool StatsStore::replaceWorkRows(const WorkRows &rows)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive()) {
        m_error = guard.errorText();
        return false;
    }
    for (const QString &table : {u"OutXC"_s, u"OutXG"_s, u"OutPC"_s, u"OutPJ"_s, u"OutTJ"_s})
        if (!run(u"DELETE FROM "_s + platform::ident(table), {}))
            return false;
    m_error.clear();
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        platform::BulkStatement insert(m_db, u"INSERT INTO "_s + pieceTable(kind)
                                                 + u" (\"名称\", \"规格\", \"长度\", \"数量\") VALUES (?, ?, ?, ?)"_s);
        for (const PieceRow &r : kind == PieceKind::Profile ? rows.profiles : rows.steel)
            if (!insert.text(nonNull(r.name)).text(nonNull(r.code)).real(r.length).real(r.count).run(&m_error))
                return false;
    }
    platform::BulkStatement fitting(m_db, u"INSERT INTO \"OutPJ\" (\"名称\", \"规格\", \"数量\", \"单位\") VALUES (?, ?, ?, ?)"_s);
    for (const FittingRow &r : rows.fittings)
        if (!fitting.text(nonNull(r.name)).text(nonNull(r.code)).real(r.quantity).text(nonNull(r.unit)).run(&m_error))
            return false;
    platform::BulkStatement panel(m_db, u"INSERT INTO \"OutPC\" (\"名称\", \"长\", \"宽\", \"数量\") VALUES (?, ?, ?, ?)"_s);
    for (const PanelRow &r : rows.panels)
        if (!panel.text(nonNull(r.name)).real(r.length).real(r.width).real(r.count).run(&m_error))
            return false;
    if (!guard.commit()) {
        m_error = guard.errorText();
        return false;
    }
    return true;
}

std::optional<QList<CodeTotal>> StatsStore::pieceLengthTotals(PieceKind kind)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"规格\", sum(\"长度\" * \"数量\") FROM "_s + pieceTable(kind)
                 + u" GROUP BY \"规格\" ORDER BY \"规格\""_s,
             {}, &q))
        return std::nullopt;
    QList<CodeTotal> rows;
    while (q->next())
        rows.append({text(q->value(0)), number(q->value(1))});
    return rows;
}

std::optional<QList<CodeLengthCount>> StatsStore::pieceLengthGroups(PieceKind kind)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"规格\", \"长度\", sum(\"数量\") FROM "_s + pieceTable(kind)
                 + u" GROUP BY \"规格\", \"长度\" ORDER BY \"规格\", \"长度\""_s,
             {}, &q))
        return std::nullopt;
    QList<CodeLengthCount> rows;
    while (q->next())
        rows.append({text(q->value(0)), number(q->value(1)), number(q->value(2))});
    return rows;
}

std::optional<QList<CodeTotal>> StatsStore::fittingTotals()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"规格\", sum(\"数量\") FROM \"OutPJ\" GROUP BY \"规格\" ORDER BY \"规格\""_s, {}, &q))
        return std::nullopt;
    QList<CodeTotal> rows;
    while (q->next())
        rows.append({text(q->value(0)), number(q->value(1))});
    return rows;
}

std::optional<QList<CodeTotal>> StatsStore::panelAreaTotals()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"名称\", sum(\"长\" * \"宽\" * \"数量\") FROM \"OutPC\" GROUP BY \"名称\" ORDER BY \"名称\""_s, {}, &q))
        return std::nullopt;
    QList<CodeTotal> rows;
    while (q->next())
        rows.append({text(q->value(0)), number(q->value(1))});
    return rows;
}

std::optional<QList<PanelSizeCount>> StatsStore::panelSizeGroups()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"名称\", \"长\", \"宽\", sum(\"数量\") FROM \"OutPC\" GROUP BY \"名称\", \"长\", \"宽\" "
             "ORDER BY \"名称\", \"长\", \"宽\""_s,
             {}, &q))
        return std::nullopt;
    QList<PanelSizeCount> rows;
    while (q->next())
        rows.append({text(q->value(0)), number(q->value(1)), number(q->value(2)), number(q->value(3))});
    return rows;
}

std::optional<CatalogueEntry> StatsStore::lookup(CatalogueTable table, const QString &key)
{
    QString sql;
    switch (table) {
    case CatalogueTable::Profile:
        sql = u"SELECT \"型材名称\", \"型材型号\", NULL, \"型材线密度\", \"型材吨价格\" FROM \"型材\" WHERE \"型材型号\" = ?"_s;
        break;
    case CatalogueTable::Steel:
        sql = u"SELECT \"型钢名称\", \"型钢规格\", NULL, \"型钢线密度\", \"型钢吨价格\" FROM \"型钢\" WHERE \"型钢规格\" = ?"_s;
        break;
    case CatalogueTable::Fitting:
        sql = u"SELECT \"配件名称\", \"配件规格\", \"配件单位\", NULL, \"配件单价\" FROM \"配件\" WHERE \"配件规格\" = ?"_s;
        break;
    case CatalogueTable::Panel:
        sql = u"SELECT \"玻璃名称\", NULL, NULL, NULL, \"玻璃平方单价\" FROM \"玻璃\" WHERE \"玻璃名称\" = ?"_s;
        break;
    }
    QSqlQuery *q = nullptr;
    if (!run(sql + u" ORDER BY rowid LIMIT 1"_s, {textParam(key)}, &q))
        return std::nullopt;
    CatalogueEntry e;
    if (q->next()) {
        e.found = true;
        e.name = text(q->value(0));
        e.code = text(q->value(1));
        e.unit = text(q->value(2));
        e.density = number(q->value(3));
        e.price = number(q->value(4));
    }
    q->finish();
    return e;
}

bool StatsStore::writePricedList(const QList<PricedLine> &lines)
{
    if (!run(u"DELETE FROM \"OutTJ\""_s, {}))
        return false;
    qint64 bn = 0;
    platform::BulkStatement insert(m_db, u"INSERT INTO \"OutTJ\" (\"BN\", \"名称\", \"规格\", \"单价\", \"DW\", \"金额\", \"数量\") "
                                         "VALUES (?, ?, ?, ?, ?, ?, ?)"_s);
    for (const PricedLine &l : lines) {
        ++bn;
        if (!insert.integer(bn)
                 .text(nonNull(l.name))
                 .text(nonNull(l.spec))
                 .real(l.unitPrice)
                 .text(nonNull(l.unit))
                 .real(l.amount)
                 .real(l.quantity)
                 .run(&m_error))
            return false;
    }
    return run(u"INSERT INTO \"OutTJ\" (\"BN\") VALUES (?)"_s, {bn + 1});
}

bool StatsStore::replacePricedList(const QList<PricedLine> &lines)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive()) {
        m_error = guard.errorText();
        return false;
    }
    if (!writePricedList(lines))
        return false;
    if (!guard.commit()) {
        m_error = guard.errorText();
        return false;
    }
    return true;
}

std::optional<double> StatsStore::pricedAmount()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT sum(\"金额\") FROM \"OutTJ\""_s, {}, &q))
        return std::nullopt;
    const double amount = q->next() ? number(q->value(0)) : 0.0;
    q->finish();
    return amount;
}

bool StatsStore::clearSettlement()
{
    return run(u"DELETE FROM \"OutJS\""_s, {});
}

bool StatsStore::writeSettlement(const QList<SettlementRow> &rows)
{
    if (!run(u"DELETE FROM \"OutJS\""_s, {}))
        return false;
    platform::BulkStatement insert(
        m_db, u"INSERT INTO \"OutJS\" (\"XH\", \"LX\", \"Width\", \"Height\", \"Count\", \"MJ\", \"DJ\", \"JE\", \"BN\") "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    for (const SettlementRow &r : rows) {
        if (!insert.exec({textParam(r.name), textParam(r.kind), r.width, r.height, r.count, r.area, r.price, r.amount, r.bn},
                         &m_error))
            return false;
    }
    return true;
}

bool StatsStore::replaceSettlement(const QList<SettlementRow> &rows)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive()) {
        m_error = guard.errorText();
        return false;
    }
    if (!writeSettlement(rows))
        return false;
    if (!guard.commit()) {
        m_error = guard.errorText();
        return false;
    }
    return true;
}

std::optional<QString> StatsStore::jobClient(const QVariant &jobId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"甲方单位\" FROM \"工程\" WHERE \"编号\" = ? ORDER BY rowid LIMIT 1"_s, {jobId}, &q))
        return std::nullopt;
    const QString client = q->next() ? text(q->value(0)) : QString(u""_s);
    q->finish();
    return client;
}

std::optional<QList<QVariantList>> StatsStore::exportRows(ExportQuery query)
{
    QString sql;
    switch (query) {
    case ExportQuery::PricedList:
        sql = u"SELECT \"BN\", \"名称\", \"规格\", \"数量\", \"DW\" FROM \"OutTJ\" ORDER BY \"BN\", \"名称\""_s;
        break;
    case ExportQuery::PricedListWithPrices:
        sql = u"SELECT \"BN\", \"名称\", \"规格\", \"数量\", \"单价\", \"DW\", \"金额\" FROM \"OutTJ\" ORDER BY \"BN\", \"名称\""_s;
        break;
    case ExportQuery::Settlement:
        sql = u"SELECT \"XH\", \"LX\", \"Width\", \"Height\", \"Count\", (\"Width\" * \"Height\") / 1000000.0 * \"Count\", "
              "\"DJ\", \"JE\" FROM \"OutJS\" ORDER BY \"XH\", \"LX\""_s;
        break;
    }
    QSqlQuery *q = nullptr;
    if (!run(sql, {}, &q))
        return std::nullopt;
    QList<QVariantList> rows;
    while (q->next()) {
        QVariantList row;
        const int n = q->record().count();
        for (int i = 0; i < n; ++i)
            row << q->value(i);
        rows << row;
    }
    return rows;
}

} // namespace stats
