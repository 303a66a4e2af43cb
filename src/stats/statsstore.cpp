#include "statsstore.h"

#include "app/maindb.h"
#include "groupsums.h"

#include "platform/database.h"
#include "platform/numtext.h"

#include <QSqlQuery>
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

// A field as text(value) gives it, without the QVariant for a text field.
QString text(const platform::RowReader &r, int column)
{
    return r.type(column) == platform::RowReader::Field::Text ? r.text(column) : app::fieldText(r.value(column));
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

// Whether a text written to a table reads back as it is: surrogates (even paired ones, to keep
// the test simple) and U+FFFE / U+FFFF may come back otherwise.
bool readsBackAsWritten(const QString &s)
{
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xd800 && (u <= 0xdfff || u >= 0xfffe))
            return false;
    }
    return true;
}

// A number as a REAL column gives it back: -0.0 is stored as the whole number 0.
double readBack(double v)
{
    return v == 0 ? 0.0 : v;
}

// A text field as the engine gives back what was written for it (see nonNull).
QVariant textField(const QString &s)
{
    return QVariant(nonNull(s));
}
} // namespace

StatsStore::StatsStore() : m_db(app::mainDb()) {}

bool StatsStore::holds(const std::optional<platform::DataStamp> &kept)
{
    return kept && platform::dataStamp(m_db) == *kept;
}

void StatsStore::restamp(const platform::DataStamp &before)
{
    const platform::DataStamp after = platform::dataStamp(m_db);
    const bool known = after.handle && after.otherCommits >= 0;
    for (std::optional<platform::DataStamp> *kept : {&m_workStamp, &m_listStamp})
        if (*kept && **kept == before)
            *kept = known ? std::optional(after) : std::nullopt;
}

bool StatsStore::run(const QString &sql, const QVariantList &values, QSqlQuery **query)
{
    m_error.clear();
    QSqlQuery *q = m_statements.exec(sql, values, &m_error);
    if (query)
        *query = q;
    return q != nullptr;
}

platform::RowReader *StatsStore::read(const QString &sql, const QVariantList &values)
{
    m_error.clear();
    std::unique_ptr<platform::RowReader> &reader = m_readers[sql];
    const bool ready = reader ? reader->rerun(values) : (reader = std::make_unique<platform::RowReader>(m_db, sql, values),
                                                         reader->error().isEmpty());
    if (!ready) {
        m_error = reader->error();
        // Prepared again next time: a failure to prepare may pass (a table made meanwhile).
        reader.reset();
        return nullptr;
    }
    return reader.get();
}

std::optional<QList<LabelRow>> StatsStore::windowLabels(const QVariant &lineId)
{
    platform::RowReader *r = read(u"SELECT \"MC\", \"schar\" FROM \"标注\" WHERE \"MCNUM\" = ? ORDER BY rowid"_s, {lineId});
    if (!r)
        return std::nullopt;
    QList<LabelRow> rows;
    while (r->next())
        rows.append({text(*r, 0), text(*r, 1)});
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
    return rows;
}

std::optional<QList<ComponentKey>> StatsStore::components(const QVariant &lineId)
{
    platform::RowReader *r = read(u"SELECT \"CBN\", \"CMC\" FROM \"标注2\" WHERE \"MCBN\" = ? GROUP BY \"CBN\", \"CMC\" "
                                  "ORDER BY \"CBN\", \"CMC\""_s,
                                  {lineId});
    if (!r)
        return std::nullopt;
    QList<ComponentKey> rows;
    while (r->next())
        rows.append({r->value(0), r->type(1) == platform::RowReader::Field::Null ? QString() : text(*r, 1)});
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
    return rows;
}

std::optional<ComponentLabels> StatsStore::componentLabels(const QVariant &lineId, const ComponentKey &key)
{
    platform::RowReader *r = read(u"SELECT \"MC\", \"MCZ\", \"Count\" FROM \"标注2\" WHERE \"MCBN\" = ? AND \"CBN\" IS ? "
                                  "AND \"CMC\" IS ? ORDER BY rowid"_s,
                                  {lineId, key.cbn, key.cmc.isNull() ? QVariant() : QVariant(key.cmc)});
    if (!r)
        return std::nullopt;
    ComponentLabels out;
    bool first = true;
    while (r->next()) {
        if (first)
            out.count = r->value(2);
        first = false;
        out.labels.append({text(*r, 0), text(*r, 1)});
    }
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
    return out;
}

std::optional<TypeBill> StatsStore::bill(const QVariant &typeNo)
{
    TypeBill bill;
    for (PieceKind kind : {PieceKind::Profile, PieceKind::Steel}) {
        const QString table = kind == PieceKind::Profile ? u"\"窗型材\""_s : u"\"窗型钢\""_s;
        platform::RowReader *r =
            read(u"SELECT \"名称\", \"规格\", \"数量\", \"计算公式\" FROM "_s + table + u" WHERE \"窗号\" = ? ORDER BY rowid"_s,
                 {typeNo});
        if (!r)
            return std::nullopt;
        QList<PieceBillRow> &rows = kind == PieceKind::Profile ? bill.profiles : bill.steel;
        while (r->next())
            rows.append({text(*r, 0), text(*r, 1), text(*r, 2), text(*r, 3)});
        if (m_error = r->error(); !m_error.isEmpty())
            return std::nullopt;
    }
    platform::RowReader *r =
        read(u"SELECT \"名称\", \"规格\", \"数量\", \"单位\" FROM \"窗配件\" WHERE \"窗号\" = ? ORDER BY rowid"_s, {typeNo});
    if (!r)
        return std::nullopt;
    while (r->next())
        bill.fittings.append({text(*r, 0), text(*r, 1), number(r->value(2)), text(*r, 3)});
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
    r = read(u"SELECT \"名称\", \"数量\", \"长公式\", \"宽公式\" FROM \"窗板材\" WHERE \"窗号\" = ? ORDER BY rowid"_s, {typeNo});
    if (!r)
        return std::nullopt;
    while (r->next())
        bill.panels.append({text(*r, 0), number(r->value(1)), text(*r, 2), text(*r, 3)});
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
    return bill;
}

bool StatsStore::replaceWorkRows(const WorkRows &rows)
{
    forgetWrittenWork();
    m_listStamp.reset();
    m_pricedList.clear();
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
    if (const platform::DataStamp s = platform::dataStamp(m_db); s.handle && s.otherCommits >= 0) {
        m_writtenRows = rows;
        m_workStamp = s;
    }
    return true;
}

std::optional<QList<StatsStore::GroupRow>> StatsStore::writtenSums(const WorkRows &rows, Sums which)
{
    // Row i as the engine would read it back: the same texts, -0.0 as 0.
    qsizetype count = 0;
    int n = 0;
    std::function<void(qsizetype, const QString *&, double *, double &)> row;
    switch (which) {
    case Sums::ProfileTotals:
    case Sums::SteelTotals:
    case Sums::ProfileGroups:
    case Sums::SteelGroups: {
        const bool profiles = which == Sums::ProfileTotals || which == Sums::ProfileGroups;
        const QList<PieceRow> &pieces = profiles ? rows.profiles : rows.steel;
        count = pieces.size();
        if (which == Sums::ProfileTotals || which == Sums::SteelTotals) {
            row = [&pieces](qsizetype i, const QString *&key, double *, double &value) {
                const PieceRow &r = pieces.at(i);
                key = &r.code;
                value = readBack(r.length) * readBack(r.count);
            };
        } else {
            n = 1;
            row = [&pieces](qsizetype i, const QString *&key, double *numbers, double &value) {
                const PieceRow &r = pieces.at(i);
                key = &r.code;
                numbers[0] = readBack(r.length);
                value = readBack(r.count);
            };
        }
        break;
    }
    case Sums::Fittings:
        count = rows.fittings.size();
        row = [&rows](qsizetype i, const QString *&key, double *, double &value) {
            const FittingRow &r = rows.fittings.at(i);
            key = &r.code;
            value = readBack(r.quantity);
        };
        break;
    case Sums::PanelAreas:
        count = rows.panels.size();
        row = [&rows](qsizetype i, const QString *&key, double *, double &value) {
            const PanelRow &r = rows.panels.at(i);
            key = &r.name;
            value = readBack(r.length) * readBack(r.width) * readBack(r.count);
        };
        break;
    case Sums::PanelSizes:
        count = rows.panels.size();
        n = 2;
        row = [&rows](qsizetype i, const QString *&key, double *numbers, double &value) {
            const PanelRow &r = rows.panels.at(i);
            key = &r.name;
            numbers[0] = readBack(r.length);
            numbers[1] = readBack(r.width);
            value = readBack(r.count);
        };
        break;
    case Sums::Count:
        return std::nullopt;
    }
    {
        GroupSums sums(n);
        QStringList texts;
        QHash<QString, int> seen;
        bool fits = true;
        for (qsizetype i = 0; fits && i < count; ++i) {
            const QString *key = nullptr;
            double numbers[2] = {0, 0};
            double value = 0;
            row(i, key, numbers, value);
            auto it = seen.constFind(*key);
            if (it == seen.constEnd()) {
                const QString text = nonNull(*key);
                const int k = readsBackAsWritten(text) ? sums.key(text.toUtf8()) : -1;
                if (k < 0) {
                    fits = false;
                    break;
                }
                if (k == texts.size())
                    texts << text;
                it = seen.insert(text, k);
            }
            fits = sums.add(*it, numbers, value);
        }
        if (fits)
            return groupRows(sums, texts);
    }
    return std::nullopt;
}

std::optional<QList<StatsStore::GroupRow>> StatsStore::groupRows(const GroupSums &sums, const QStringList &texts)
{
    const auto groups = sums.groups();
    if (!groups)
        return std::nullopt;
    QList<GroupRow> out;
    out.reserve(groups->size());
    for (const GroupSums::Group &g : *groups)
        out.append({texts.at(g.key), {g.numbers[0], g.numbers[1]}, g.total});
    return out;
}

void StatsStore::forgetWrittenWork()
{
    m_workStamp.reset();
    m_writtenRows.reset();
    for (auto &sums : m_writtenSums)
        sums.reset();
}

std::optional<QList<StatsStore::GroupRow>> StatsStore::groupSums(Sums which, const QString &table, const QString &textKey,
                                                                 const QStringList &numberKeys, const QString &summed)
{
    using Field = platform::RowReader::Field;
    m_error.clear();
    if (holds(m_workStamp)) {
        if (m_writtenRows) {
            for (int i = 0; i < int(Sums::Count); ++i)
                m_writtenSums[i] = writtenSums(*m_writtenRows, Sums(i));
            m_writtenRows.reset();
        }
        if (m_writtenSums[int(which)])
            return *m_writtenSums[int(which)];
    } else if (m_workStamp) {
        // Rows changed since: what was kept is of no more use.
        forgetWrittenWork();
    }
    const int n = int(numberKeys.size());
    QString keys = platform::ident(textKey);
    for (const QString &k : numberKeys)
        keys += u", "_s + platform::ident(k);
    const QString from = u" FROM "_s + table;
    QList<GroupRow> out;
    {
        platform::RowReader reader(m_db, u"SELECT "_s + keys + u", "_s + summed + from);
        GroupSums sums(n);
        QStringList texts;
        bool fits = true;
        while (fits && reader.next()) {
            const int k = reader.type(0) == Field::Text ? sums.key(reader.utf8(0)) : -1;
            fits = k >= 0;
            if (!fits)
                break;
            if (k == texts.size())
                texts << reader.text(0);
            double numbers[2] = {0, 0};
            for (int i = 0; i < n && fits; ++i) {
                fits = reader.type(1 + i) == Field::Real;
                numbers[i] = reader.real(1 + i);
            }
            const Field v = reader.type(1 + n);
            fits = fits && (v == Field::Real || v == Field::Null)
                && sums.add(k, numbers, v == Field::Real ? std::optional(reader.real(1 + n)) : std::nullopt);
        }
        if (!reader.error().isEmpty()) {
            m_error = reader.error();
            return std::nullopt;
        }
        if (const auto rows = fits ? groupRows(sums, texts) : std::nullopt)
            return rows;
    }
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT "_s + keys + u", sum("_s + summed + u")"_s + from + u" GROUP BY "_s + keys + u" ORDER BY "_s + keys,
             {}, &q))
        return std::nullopt;
    while (q->next()) {
        GroupRow g{text(q->value(0)), {0, 0}, number(q->value(n + 1))};
        for (int i = 0; i < n; ++i)
            g.numbers[i] = number(q->value(1 + i));
        out.append(g);
    }
    return out;
}

QList<CodeTotal> StatsStore::codeTotals(const QList<GroupRow> &groups)
{
    QList<CodeTotal> rows;
    rows.reserve(groups.size());
    for (const GroupRow &g : groups)
        rows.append({g.key, g.total});
    return rows;
}

std::optional<QList<CodeTotal>> StatsStore::pieceLengthTotals(PieceKind kind)
{
    const auto groups = groupSums(kind == PieceKind::Profile ? Sums::ProfileTotals : Sums::SteelTotals, pieceTable(kind), u"规格"_s, {}, u"\"长度\" * \"数量\""_s);
    if (!groups)
        return std::nullopt;
    return codeTotals(*groups);
}

std::optional<QList<CodeLengthCount>> StatsStore::pieceLengthGroups(PieceKind kind)
{
    const auto groups = groupSums(kind == PieceKind::Profile ? Sums::ProfileGroups : Sums::SteelGroups, pieceTable(kind), u"规格"_s, {u"长度"_s}, u"\"数量\""_s);
    if (!groups)
        return std::nullopt;
    QList<CodeLengthCount> rows;
    rows.reserve(groups->size());
    for (const GroupRow &g : *groups)
        rows.append({g.key, g.numbers[0], g.total});
    return rows;
}

std::optional<QList<CodeTotal>> StatsStore::fittingTotals()
{
    const auto groups = groupSums(Sums::Fittings, u"\"OutPJ\""_s, u"规格"_s, {}, u"\"数量\""_s);
    if (!groups)
        return std::nullopt;
    return codeTotals(*groups);
}

std::optional<QList<CodeTotal>> StatsStore::panelAreaTotals()
{
    const auto groups = groupSums(Sums::PanelAreas, u"\"OutPC\""_s, u"名称"_s, {}, u"\"长\" * \"宽\" * \"数量\""_s);
    if (!groups)
        return std::nullopt;
    return codeTotals(*groups);
}

std::optional<QList<PanelSizeCount>> StatsStore::panelSizeGroups()
{
    const auto groups = groupSums(Sums::PanelSizes, u"\"OutPC\""_s, u"名称"_s, {u"长"_s, u"宽"_s}, u"\"数量\""_s);
    if (!groups)
        return std::nullopt;
    QList<PanelSizeCount> rows;
    rows.reserve(groups->size());
    for (const GroupRow &g : *groups)
        rows.append({g.key, g.numbers[0], g.numbers[1], g.total});
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
    platform::RowReader *r = read(sql + u" ORDER BY rowid LIMIT 1"_s, {textParam(key)});
    if (!r)
        return std::nullopt;
    CatalogueEntry e;
    // Read to the end: a finished read holds nothing.
    while (r->next()) {
        e.found = true;
        e.name = text(*r, 0);
        e.code = text(*r, 1);
        e.unit = text(*r, 2);
        e.density = number(r->value(3));
        e.price = number(r->value(4));
    }
    if (m_error = r->error(); !m_error.isEmpty())
        return std::nullopt;
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
    m_listStamp.reset();
    m_pricedList.clear();
    const platform::DataStamp before = platform::dataStamp(m_db);
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
    // OutTJ alone was written: the work tables are as they were.
    restamp(before);
    if (const platform::DataStamp s = platform::dataStamp(m_db); s.handle && s.otherCommits >= 0) {
        m_pricedList = lines;
        m_listStamp = s;
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
    const platform::DataStamp before = platform::dataStamp(m_db);
    if (!run(u"DELETE FROM \"OutJS\""_s, {}))
        return false;
    restamp(before);
    return true;
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
    const platform::DataStamp before = platform::dataStamp(m_db);
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
    restamp(before);
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

bool StatsStore::readRows(const QString &sql, QList<QVariantList> *rows, bool *rising)
{
    m_error.clear();
    rows->clear();
    if (rising)
        *rising = true;
    platform::RowReader reader(m_db, sql);
    qint64 last = 0;
    while (reader.next()) {
        const int n = reader.columnCount();
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << reader.value(i);
        if (rising && *rising) {
            const bool whole = reader.type(0) == platform::RowReader::Field::Integer;
            const qint64 bn = whole ? row.at(0).toLongLong() : 0;
            *rising = whole && (rows->isEmpty() || bn > last);
            last = bn;
        }
        rows->append(std::move(row));
    }
    m_error = reader.error();
    return m_error.isEmpty();
}

std::optional<QList<QVariantList>> StatsStore::exportRows(ExportQuery query)
{
    QString columns;
    switch (query) {
    case ExportQuery::PricedList:
        columns = u"\"BN\", \"名称\", \"规格\", \"数量\", \"DW\""_s;
        break;
    case ExportQuery::PricedListWithPrices:
        columns = u"\"BN\", \"名称\", \"规格\", \"数量\", \"单价\", \"DW\", \"金额\""_s;
        break;
    case ExportQuery::Settlement: {
        QList<QVariantList> rows;
        if (!readRows(u"SELECT \"XH\", \"LX\", \"Width\", \"Height\", \"Count\", "
                      "(\"Width\" * \"Height\") / 1000000.0 * \"Count\", \"DJ\", \"JE\" FROM \"OutJS\" "
                      "ORDER BY \"XH\", \"LX\""_s,
                      &rows))
            return std::nullopt;
        return rows;
    }
    }
    // The list is written in BN order, one BN per line. Read in stored order, it is already in the
    // order asked for when its BNs are whole numbers rising from row to row; otherwise the engine
    // sorts it.
    QList<QVariantList> rows;
    if (holds(m_listStamp)) {
        // As this store wrote it: BN 1..n, then the closing row with BN n + 1 alone.
        const bool prices = query == ExportQuery::PricedListWithPrices;
        const QVariant null(QMetaType::fromType<QString>());
        bool same = true;
        rows.reserve(m_pricedList.size() + 1);
        qint64 bn = 0;
        for (const PricedLine &l : std::as_const(m_pricedList)) {
            same = readsBackAsWritten(l.name) && readsBackAsWritten(l.spec) && readsBackAsWritten(l.unit);
            if (!same)
                break;
            const QVariant quantity(readBack(l.quantity));
            rows.append(prices ? QVariantList{++bn, textField(l.name), textField(l.spec), quantity,
                                              readBack(l.unitPrice), textField(l.unit), readBack(l.amount)}
                               : QVariantList{++bn, textField(l.name), textField(l.spec), quantity, textField(l.unit)});
        }
        if (same) {
            QVariantList closing(prices ? 7 : 5, null);
            closing[0] = bn + 1;
            rows.append(closing);
            return rows;
        }
        rows.clear();
    }
    bool rising = false;
    if (!readRows(u"SELECT "_s + columns + u" FROM \"OutTJ\" ORDER BY rowid"_s, &rows, &rising))
        return std::nullopt;
    if (!rising && !readRows(u"SELECT "_s + columns + u" FROM \"OutTJ\" ORDER BY \"BN\", \"名称\""_s, &rows))
        return std::nullopt;
    return rows;
}

} // namespace stats
