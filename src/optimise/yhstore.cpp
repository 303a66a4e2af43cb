#include "yhstore.h"

#include "app/maindb.h"
#include "platform/database.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

using namespace Qt::StringLiterals;

namespace optimise {

YHStore::YHStore() : m_db(app::mainDb()) {}

bool YHStore::run(const QString &sql, const QVariantList &values, QSqlQuery **query)
{
    m_error.clear();
    QSqlQuery *q = m_statements.exec(sql, values, &m_error);
    if (query)
        *query = q;
    return q != nullptr;
}

namespace {
QList<QStringList> allTexts(QSqlQuery *q)
{
    QList<QStringList> rows;
    while (q->next()) {
        QStringList row;
        const int n = q->record().count();
        for (int i = 0; i < n; ++i)
            row << app::fieldText(q->value(i));
        rows << row;
    }
    return rows;
}
} // namespace

std::optional<QList<QStringList>> YHStore::jobs()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"编号\", \"合同编号\", \"工程名称\", \"工程地点\", \"甲方单位\" FROM \"工程\" ORDER BY rowid"_s, {},
             &q))
        return std::nullopt;
    return allTexts(q);
}

std::optional<QList<QStringList>> YHStore::jobWindows(qint64 jobId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"工程编号\", \"门窗编号\", \"编号\", \"门窗名称\", \"门窗类型\", \"洞口宽\", \"洞口高\", \"备用\", "
             "\"樘数\", \"说明\" FROM \"工程门窗\" WHERE \"工程编号\" = ? ORDER BY rowid"_s,
             {jobId}, &q))
        return std::nullopt;
    return allTexts(q);
}

std::optional<QList<BillPieceRow>> YHStore::billRows(const QString &table, const QVariant &typeNo)
{
    if (table != u"窗型材"_s && table != u"窗型钢"_s) {
        m_error = u"no such bill table"_s;
        return std::nullopt;
    }
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"编号\", \"名称\", \"规格\", \"数量\", \"计算公式\" FROM "_s + platform::ident(table)
                 + u" WHERE \"窗号\" = ? ORDER BY rowid"_s,
             {typeNo}, &q))
        return std::nullopt;
    QList<BillPieceRow> rows;
    while (q->next())
        rows.append({q->value(0), app::fieldText(q->value(1)), app::fieldText(q->value(2)), app::fieldText(q->value(3)),
                     app::fieldText(q->value(4))});
    return rows;
}

std::optional<QList<LabelRow>> YHStore::windowLabels(const QVariant &windowId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"MC\", \"schar\", \"Px\", \"Py\" FROM \"标注\" WHERE \"MCNUM\" = ? ORDER BY rowid"_s, {windowId},
             &q))
        return std::nullopt;
    QList<LabelRow> rows;
    while (q->next())
        rows.append({app::fieldText(q->value(0)), app::fieldText(q->value(1)), q->value(2).toFloat(), q->value(3).toFloat()});
    return rows;
}

std::optional<QList<ComponentKey>> YHStore::components(const QVariant &windowId)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"CBN\", \"CMC\" FROM \"标注2\" WHERE \"MCBN\" = ? GROUP BY \"CBN\", \"CMC\" ORDER BY \"CBN\", \"CMC\""_s,
             {windowId}, &q))
        return std::nullopt;
    QList<ComponentKey> rows;
    while (q->next())
        rows.append({q->value(0), app::fieldText(q->value(1))});
    return rows;
}

std::optional<ComponentLabels> YHStore::componentLabels(const QVariant &windowId, const ComponentKey &key)
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"MC\", \"MCZ\", \"Px\", \"Py\", \"Count\" FROM \"标注2\" WHERE \"MCBN\" = ? AND \"CBN\" = ? "
             "AND \"CMC\" IS ? ORDER BY rowid"_s,
             {windowId, key.cbn, key.cmc.isNull() ? QVariant() : QVariant(key.cmc)}, &q))
        return std::nullopt;
    ComponentLabels out;
    bool first = true;
    while (q->next()) {
        if (first)
            out.units = q->value(4).toLongLong();
        first = false;
        out.labels.append({app::fieldText(q->value(0)), app::fieldText(q->value(1)), q->value(2).toFloat(),
                           q->value(3).toFloat()});
    }
    return out;
}

bool YHStore::writePieces(const QList<PieceRow> &pieces)
{
    if (!run(u"DELETE FROM \"优化数据\""_s, {}))
        return false;
    platform::BulkStatement insert(
        m_db, u"INSERT INTO \"优化数据\" (\"编号\", \"名称\", \"规格\", \"长度\", \"数量\") VALUES (?, ?, ?, ?, ?)"_s);
    for (const PieceRow &p : pieces) {
        if (!insert.value(p.id).text(p.name).text(p.code).real(p.length).real(p.quantity).run(&m_error))
            return false;
    }
    return true;
}

void YHStore::restampPasses(const platform::DataStamp &before)
{
    const platform::DataStamp after = platform::dataStamp(m_db);
    for (std::optional<PiecePass> *pass : {&m_rows, &m_grouped})
        if (*pass && (*pass)->stamp == before)
            (*pass)->stamp = after;
}

bool YHStore::clearPlan()
{
    const platform::DataStamp before = platform::dataStamp(m_db);
    const bool ok = run(u"DELETE FROM \"优化结果\""_s, {});
    restampPasses(before);
    return ok;
}

bool YHStore::writePlan(const QList<PlanRow> &plan)
{
    return clearPlan() && appendPlan(plan);
}

bool YHStore::appendPlan(const QList<PlanRow> &plan)
{
    if (plan.isEmpty())
        return true;
    const platform::DataStamp before = platform::dataStamp(m_db);
    struct Restamp
    {
        YHStore *store;
        const platform::DataStamp &before;
        ~Restamp() { store->restampPasses(before); }
    } restamp{this, before};
    // A long plan goes in blocks of rows, a statement run each: the engine's cost of a run is paid
    // per block. Preparing the block's statement costs as much as a few hundred single runs.
    constexpr qsizetype kBlock = 64;
    constexpr qsizetype kBlocksFrom = 1024;
    const QString head = u"INSERT INTO \"优化结果\" (\"材料名称\", \"切割规格\", \"数量\", \"优化比率\", \"剩余料长\") VALUES "_s;
    auto statement = [&](qsizetype rows) {
        QString sql = head;
        for (qsizetype i = 0; i < rows; ++i)
            sql += i ? u", (?, ?, ?, ?, ?)"_s : u"(?, ?, ?, ?, ?)"_s;
        return sql;
    };
    auto bind = [](platform::BulkStatement &insert, const PlanRow &r) {
        insert.text(r.material).text(r.pattern).integer(r.bars).real(r.ratio).real(r.remain);
    };
    qsizetype at = 0;
    if (plan.size() >= kBlocksFrom) {
        platform::BulkStatement block(m_db, statement(kBlock));
        for (; at + kBlock <= plan.size(); at += kBlock) {
            for (qsizetype i = at; i < at + kBlock; ++i)
                bind(block, plan.at(i));
            if (!block.run(&m_error))
                return false;
        }
    }
    if (at < plan.size()) {
        platform::BulkStatement insert(m_db, statement(1));
        for (; at < plan.size(); ++at) {
            bind(insert, plan.at(at));
            if (!insert.run(&m_error))
                return false;
        }
    }
    return true;
}

bool YHStore::replacePieces(const QList<PieceRow> &pieces, bool clearPlan)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive()) {
        m_error = guard.errorText();
        return false;
    }
    if (clearPlan && !run(u"DELETE FROM \"优化结果\""_s, {}))
        return false;
    if (!writePieces(pieces))
        return false;
    if (!guard.commit()) {
        m_error = guard.errorText();
        return false;
    }
    return true;
}

bool YHStore::replacePiecesAndPlan(const QList<PieceRow> &pieces, const QList<PlanRow> &plan)
{
    platform::TransactionGuard guard(m_db);
    if (!guard.isActive()) {
        m_error = guard.errorText();
        return false;
    }
    if (!writePieces(pieces) || !writePlan(plan))
        return false;
    if (!guard.commit()) {
        m_error = guard.errorText();
        return false;
    }
    return true;
}

std::optional<QStringList> YHStore::materialCodes()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"规格\" FROM \"优化数据\" GROUP BY \"规格\" ORDER BY \"规格\""_s, {}, &q))
        return std::nullopt;
    QStringList codes;
    while (q->next())
        codes << app::fieldText(q->value(0));
    return codes;
}

QByteArray codeKey(const QString &code)
{
    // The collation compares bytes up to the shorter length, stopping at a NUL, then the lengths.
    QByteArray key = platform::wellFormedText(code).toUtf8();
    const qsizetype length = key.size();
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char c = key.at(i);
        if (c >= 'A' && c <= 'Z') {
            key[i] = char(c - 'A' + 'a');
        } else if (c == '\0') {
            key.truncate(i + 1);
            key += QByteArray::number(length);
            break;
        }
    }
    return key;
}

bool YHStore::fresh(const std::optional<PiecePass> &pass, const platform::DataStamp &now) const
{
    return pass && now.handle && pass->stamp == now;
}

namespace {
// Below this a whole double and every sum of such is exact.
constexpr double kExactWhole = 9007199254740992.0; // 2^53

// A number field as the driver gives it, and whether it is a number the engine groups and sums as
// a double does: an integer field out of that range, a text or a null is not.
bool numberField(const platform::RowReader &r, int column, double *out)
{
    switch (r.type(column)) {
    case platform::RowReader::Field::Integer:
        *out = r.real(column);
        return std::abs(*out) < kExactWhole;
    case platform::RowReader::Field::Real:
        *out = r.real(column);
        return std::isfinite(*out);
    default:
        *out = r.value(column).toDouble();
        return false;
    }
}

struct TextHash
{
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
} // namespace

bool YHStore::readRows()
{
    const platform::DataStamp now = platform::dataStamp(m_db);
    if (fresh(m_rows, now))
        return true;
    m_rows.reset();
    m_error.clear();
    // No order asked: the rows come as stored, with no sort of the whole table.
    platform::RowReader reader(
        m_db, u"SELECT \"规格\", \"长度\", \"数量\" FROM \"优化数据\" WHERE typeof(\"规格\") = 'text'"_s);
    std::vector<CodeRows> codes;
    std::vector<double> absTotals;
    QHash<QByteArray, size_t> byKey;
    // Codes follow one another in no order: each distinct stored text is keyed once.
    std::unordered_map<std::string, size_t, TextHash, std::equal_to<>> byText;
    std::string last;
    size_t at = 0;
    while (reader.next()) {
        const QByteArrayView bytes = reader.utf8(0);
        const std::string_view text(bytes.data(), size_t(bytes.size()));
        if (codes.empty() || text != last) {
            last.assign(text);
            auto it = byText.find(text);
            if (it == byText.end()) {
                const QByteArray key = codeKey(reader.text(0));
                auto k = byKey.constFind(key);
                if (k == byKey.constEnd()) {
                    k = byKey.insert(key, codes.size());
                    codes.emplace_back();
                    absTotals.push_back(0);
                }
                it = byText.emplace(last, *k).first;
            }
            at = it->second;
        }
        CodeRows &c = codes[at];
        LengthQty row;
        // A length of 0 is left to the engine too: it groups -0 with 0 and gives back one of them.
        const bool lengthSummable = numberField(reader, 1, &row.length) && row.length != 0;
        const bool quantitySummable = numberField(reader, 2, &row.quantity) && std::trunc(row.quantity) == row.quantity
                                      && std::abs(row.quantity) < kExactWhole;
        absTotals[at] += std::abs(row.quantity);
        c.summable = c.summable && lengthSummable && quantitySummable && absTotals[at] < kExactWhole;
        c.rows.append(row);
    }
    if (!reader.error().isEmpty()) {
        m_error = reader.error();
        return false;
    }
    PiecePass pass{now, {}};
    pass.byCode.reserve(byKey.size());
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        pass.byCode.insert(it.key(), std::move(codes[it.value()]));
    m_rows = std::move(pass);
    return true;
}

std::optional<QList<LengthQty>> YHStore::groupedByEngine(const QString &code)
{
    const platform::DataStamp now = platform::dataStamp(m_db);
    if (!fresh(m_grouped, now)) {
        m_grouped.reset();
        QSqlQuery *q = nullptr;
        // Grouping and ordering by 规格 first keeps each code's rows in the order the query of that
        // code alone gives them: the engine's sort is stable, so equal lengths are summed in
        // stored order either way.
        if (!run(u"SELECT \"规格\", \"长度\", sum(\"数量\") FROM \"优化数据\" WHERE typeof(\"规格\") = 'text' "
                 "GROUP BY \"规格\", \"长度\" ORDER BY \"规格\", \"长度\" DESC"_s,
                 {}, &q))
            return std::nullopt;
        PiecePass read{now, {}};
        // A code's rows come together, in the order the query gives them.
        QByteArray key;
        QList<LengthQty> *rows = nullptr;
        while (q->next()) {
            const QByteArray k = codeKey(q->value(0).toString());
            if (!rows || k != key) {
                key = k;
                rows = &read.byCode[key].rows;
            }
            rows->append({q->value(1).toDouble(), q->value(2).toDouble()});
        }
        m_grouped = std::move(read);
    }
    return m_grouped->byCode.value(codeKey(code)).rows;
}

// 规格 = ? matches texts only: the passes leave out every other kind of value.
std::optional<QList<LengthQty>> YHStore::groupedLengthsDesc(const QString &code)
{
    if (!readRows())
        return std::nullopt;
    const auto it = m_rows->byCode.constFind(codeKey(code));
    if (it == m_rows->byCode.constEnd())
        return QList<LengthQty>{};
    if (!it->summable)
        return groupedByEngine(code);
    // Equal lengths summed in stored order, as the engine sums them; with whole quantities far
    // below 2^53 every sum is exact besides, whatever way an engine adds.
    QList<LengthQty> sorted = it->rows;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const LengthQty &a, const LengthQty &b) { return a.length > b.length; });
    QList<LengthQty> out;
    for (const LengthQty &r : sorted) {
        if (!out.isEmpty() && out.last().length == r.length)
            out.last().quantity += r.quantity;
        else
            out.append({r.length, 0.0 + r.quantity}); // the engine's sum starts at +0 as well
    }
    return out;
}

std::optional<QList<LengthQty>> YHStore::pieceRows(const QString &code)
{
    if (!readRows())
        return std::nullopt;
    return m_rows->byCode.value(codeKey(code)).rows;
}

std::optional<QList<PlanGroupRow>> YHStore::planGroups()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"材料名称\", \"切割规格\", sum(\"数量\"), \"优化比率\", \"剩余料长\" FROM \"优化结果\" "
             "GROUP BY \"材料名称\", \"切割规格\", \"优化比率\", \"剩余料长\" "
             "ORDER BY \"材料名称\", \"切割规格\", \"优化比率\", \"剩余料长\""_s,
             {}, &q))
        return std::nullopt;
    QList<PlanGroupRow> rows;
    while (q->next())
        rows.append({app::fieldText(q->value(0)), app::fieldText(q->value(1)), app::fieldText(q->value(2)),
                     app::fieldText(q->value(3)), app::fieldText(q->value(4))});
    return rows;
}

std::optional<QList<SummaryRow>> YHStore::planSummary()
{
    QSqlQuery *q = nullptr;
    if (!run(u"SELECT \"材料名称\", sum(\"数量\"), sum(\"优化比率\" * \"数量\") / sum(\"数量\") FROM \"优化结果\" "
             "GROUP BY \"材料名称\" ORDER BY \"材料名称\""_s,
             {}, &q))
        return std::nullopt;
    QList<SummaryRow> rows;
    while (q->next())
        rows.append({app::fieldText(q->value(0)), app::fieldText(q->value(1)), app::fieldText(q->value(2))});
    return rows;
}

} // namespace optimise
