#include "projectstore.h"

#include "app/maindb.h"
#include "platform/database.h"
#include "platform/numtext.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace project {

namespace {
const QString kJobs = u"工程"_s;
const QString kLines = u"工程门窗"_s;

const QString kInsertLine = u"INSERT INTO \"工程门窗\" (\"工程编号\",\"门窗编号\",\"编号\",\"门窗名称\",\"门窗类型\","
                            u"\"洞口宽\",\"洞口高\",\"樘数\",\"说明\") VALUES (?,?,?,?,?,?,?,?,?)"_s;
const QString kInsertDim = u"INSERT INTO \"标注\" (\"MCNUM\",\"MC\",\"Px\",\"Py\",\"schar\") VALUES (?,?,?,?,?)"_s;
const QString kInsertComponent = u"INSERT INTO \"标注2\" (\"MCBN\",\"CBN\",\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\",\"Count\") "
                                  u"VALUES (?,?,?,?,?,?,?,?)"_s;
const QString kBadNumber = u"制作尺寸和樘数必须是数字！"_s;

QString text(const QSqlQuery &q, int i)
{
    return app::fieldText(q.value(i));
}

NamedDimension dimension(const QSqlQuery &q, int name, int value, int x, int y)
{
    return {text(q, name), text(q, value), q.value(x).toDouble(), q.value(y).toDouble()};
}

// The same from the engine's row: RowReader yields the fields as the driver does.
NamedDimension dimension(const platform::RowReader &r, int name, int value, int x, int y)
{
    return {app::fieldText(r.value(name)), app::fieldText(r.value(value)), r.value(x).toDouble(),
            r.value(y).toDouble()};
}

const QString kSelectDims = u"SELECT \"MC\",\"schar\",\"Px\",\"Py\" FROM \"标注\" WHERE \"MCNUM\"=? ORDER BY rowid"_s;
const QString kSelectComponentRows = u"SELECT \"CBN\",\"CMC\",\"MC\",\"MCZ\",\"Px\",\"Py\",\"Count\" FROM \"标注2\" "
                                     u"WHERE \"MCBN\"=? AND \"CBN\"=? AND \"CMC\"=? ORDER BY rowid"_s;
const QString kSelectComponentKeys = u"SELECT \"CBN\",\"CMC\" FROM \"标注2\" WHERE \"MCBN\"=? GROUP BY \"CBN\",\"CMC\" "
                                     u"ORDER BY \"CBN\",\"CMC\""_s;

bool numberOrEmpty(const QString &s)
{
    return s.isEmpty() || platform::isNumeric(s);
}
} // namespace

bool JobLine::isCombined() const
{
    return platform::val(typeNo) <= 0;
}

QVariant storedNumber(const QString &s)
{
    if (s.isEmpty())
        return {};
    if (!platform::isNumeric(s))
        return s;
    const double v = platform::val(s);
    if (const auto whole = platform::roundHalfEven(v, -(qint64(1) << 53), qint64(1) << 53); whole && double(*whole) == v)
        return *whole;
    return v;
}

ProjectStore::ProjectStore() : ProjectStore(app::mainDb()) {}

ProjectStore::ProjectStore(QSqlDatabase db)
    : m_db(std::move(db)), m_reads(std::make_shared<platform::PreparedStatements>(m_db))
{
}

bool ProjectStore::fail(const QString &error)
{
    m_error = error;
    return false;
}

bool ProjectStore::exec(const QString &sql, const QVariantList &values)
{
    QString error;
    return platform::execBound(m_db, sql, values, &error) || fail(error);
}

std::optional<qint64> ProjectStore::nextId(const QString &table)
{
    QString error;
    const std::optional<qint64> id = app::GetNextId(m_db, table, &error);
    if (!id)
        fail(error);
    return id;
}

// --- jobs

std::optional<QList<Job>> ProjectStore::loadJobs()
{
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db, u"SELECT \"编号\",\"合同编号\",\"工程名称\",\"工程地点\",\"甲方单位\" FROM \"工程\""_s, {},
                             &error, &q)) {
        fail(error);
        return std::nullopt;
    }
    QList<Job> jobs;
    while (q.next())
        jobs << Job{q.value(0).toLongLong(), text(q, 1), text(q, 2), text(q, 3), text(q, 4)};
    return jobs;
}

std::optional<qint64> ProjectStore::addJob(const Job &job)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    const std::optional<qint64> id = nextId(kJobs);
    if (!id)
        return std::nullopt;
    if (!exec(u"INSERT INTO \"工程\" (\"编号\",\"合同编号\",\"工程名称\",\"工程地点\",\"甲方单位\") VALUES (?,?,?,?,?)"_s,
              {*id, job.contractNo, job.name, job.site, job.client}))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

bool ProjectStore::updateJob(const Job &job)
{
    return exec(u"UPDATE \"工程\" SET \"合同编号\"=?,\"工程名称\"=?,\"工程地点\"=?,\"甲方单位\"=? WHERE \"编号\"=?"_s,
                {job.contractNo, job.name, job.site, job.client, job.id});
}

bool ProjectStore::deleteLineRows(qint64 lineId)
{
    return exec(u"DELETE FROM \"标注\" WHERE \"MCNUM\"=?"_s, {lineId})
        && exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=?"_s, {lineId});
}

bool ProjectStore::deleteJob(qint64 id)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    const QString ofJob = u"(SELECT \"编号\" FROM \"工程门窗\" WHERE \"工程编号\"=?)"_s;
    if (!exec(u"DELETE FROM \"标注\" WHERE \"MCNUM\" IN "_s + ofJob, {id})
        || !exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\" IN "_s + ofJob, {id})
        || !exec(u"DELETE FROM \"工程门窗\" WHERE \"工程编号\"=?"_s, {id})
        || !exec(u"DELETE FROM \"工程\" WHERE \"编号\"=?"_s, {id})
        || !exec(u"DELETE FROM \"工程合同\" WHERE \"HTBN\"=?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

// --- lines

std::optional<QList<JobLine>> ProjectStore::loadLines(qint64 jobId)
{
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db,
                             u"SELECT \"门窗名称\",\"门窗类型\",\"洞口宽\",\"洞口高\",\"樘数\",\"说明\",\"工程编号\",\"门窗编号\","
                             u"\"编号\" FROM \"工程门窗\" WHERE \"工程编号\"=? ORDER BY \"编号\""_s,
                             {jobId}, &error, &q)) {
        fail(error);
        return std::nullopt;
    }
    QList<JobLine> lines;
    while (q.next())
        lines << JobLine{{text(q, 0), text(q, 1), text(q, 2), text(q, 3), text(q, 4), text(q, 5)},
                         text(q, 6), text(q, 7), text(q, 8)};
    return lines;
}

std::optional<QList<NamedDimension>> ProjectStore::loadDimensions(qint64 lineId)
{
    QString error;
    QSqlQuery *q = m_reads->exec(kSelectDims, {lineId}, &error);
    if (!q) {
        fail(error);
        return std::nullopt;
    }
    QList<NamedDimension> dims;
    while (q->next())
        dims << dimension(*q, 0, 1, 2, 3);
    q->finish();
    return dims;
}

std::optional<QList<QList<NamedDimension>>> ProjectStore::loadDimensions(const QList<qint64> &lineIds)
{
    QList<QList<NamedDimension>> all;
    all.reserve(lineIds.size());
    platform::RowReader read(m_db, kSelectDims);
    for (const qint64 lineId : lineIds) {
        if (!read.rerun({lineId})) {
            fail(read.error());
            return std::nullopt;
        }
        QList<NamedDimension> &dims = all.emplace_back();
        while (read.next())
            dims << dimension(read, 0, 1, 2, 3);
        if (!read.error().isEmpty()) {
            fail(read.error());
            return std::nullopt;
        }
    }
    return all;
}

bool ProjectStore::insertDimensions(qint64 lineId, const QList<NamedDimension> &dims)
{
    for (const NamedDimension &d : dims)
        if (!exec(kInsertDim, {lineId, d.name, d.x, d.y, d.value}))
            return false;
    return true;
}

bool ProjectStore::insertLine(qint64 jobId, qint64 typeNo, qint64 id, const LineFields &f)
{
    if (!numberOrEmpty(f.width) || !numberOrEmpty(f.height) || !numberOrEmpty(f.count))
        return fail(kBadNumber);
    return exec(kInsertLine, {jobId, typeNo, id, f.name, f.position, storedNumber(f.width), storedNumber(f.height),
                              storedNumber(f.count), f.remark});
}

std::optional<qint64> ProjectStore::addPlainLine(qint64 jobId, qint64 typeNo, const LineFields &fields,
                                                 const QList<NamedDimension> &dims)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    const std::optional<qint64> id = nextId(kLines);
    if (!id || !insertLine(jobId, typeNo, *id, fields) || !insertDimensions(*id, dims))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

bool ProjectStore::updatePlainLine(qint64 lineId, const LineFields &f, const QList<NamedDimension> &dims)
{
    if (!numberOrEmpty(f.width) || !numberOrEmpty(f.height) || !numberOrEmpty(f.count))
        return fail(kBadNumber);
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db,
                             u"UPDATE \"工程门窗\" SET \"门窗名称\"=?,\"门窗类型\"=?,\"洞口宽\"=?,\"洞口高\"=?,\"樘数\"=?,"
                             u"\"说明\"=? WHERE \"编号\"=?"_s,
                             {f.name, f.position, storedNumber(f.width), storedNumber(f.height), storedNumber(f.count),
                              f.remark, lineId},
                             &error, &q))
        return fail(error);
    if (q.numRowsAffected() < 1)
        return fail(u"记录不存在，可能已被删除。"_s);
    if (!exec(u"DELETE FROM \"标注\" WHERE \"MCNUM\"=?"_s, {lineId}) || !insertDimensions(lineId, dims))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool ProjectStore::deleteLine(qint64 lineId)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    if (!exec(u"DELETE FROM \"工程门窗\" WHERE \"编号\"=?"_s, {lineId}) || !deleteLineRows(lineId))
        return false;
    return tx.commit() || fail(tx.errorText());
}

std::optional<QList<qint64>> ProjectStore::copyLines(qint64 targetJobId, const QList<JobLine> &lines)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    QList<qint64> ids;
    for (const JobLine &line : lines) {
        const std::optional<qint64> id = nextId(kLines);
        if (!id)
            return std::nullopt;
        const QVariant typeNo = storedNumber(line.typeNo);
        if (!numberOrEmpty(line.fields.width) || !numberOrEmpty(line.fields.height)
            || !numberOrEmpty(line.fields.count) || !platform::isNumeric(line.typeNo)) {
            fail(kBadNumber);
            return std::nullopt;
        }
        if (!exec(kInsertLine, {targetJobId, typeNo, *id, line.fields.name, line.fields.position,
                                storedNumber(line.fields.width), storedNumber(line.fields.height),
                                storedNumber(line.fields.count), line.fields.remark}))
            return std::nullopt;
        const qint64 source = line.id.toLongLong();
        if (!exec(u"INSERT INTO \"标注\" (\"Px\",\"Py\",\"schar\",\"MCNUM\",\"MC\") SELECT \"Px\",\"Py\",\"schar\",?,\"MC\" "
                  u"FROM \"标注\" WHERE \"MCNUM\"=? ORDER BY rowid"_s,
                  {*id, source}))
            return std::nullopt;
        if (line.isCombined()
            && !exec(u"INSERT INTO \"标注2\" (\"MCBN\",\"CBN\",\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\",\"Count\") SELECT ?,"
                     u"\"CBN\",\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\",\"Count\" FROM \"标注2\" WHERE \"MCBN\"=? ORDER BY rowid"_s,
                     {*id, source}))
            return std::nullopt;
        ids << *id;
    }
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return ids;
}

// --- combined lines

std::optional<QList<ComponentRow>> ProjectStore::OpenZHMCPartRs(qint64 mcbn, const QString &cmc, qint64 cbn)
{
    QString error;
    QSqlQuery *q = m_reads->exec(kSelectComponentRows, {mcbn, cbn, cmc}, &error);
    if (!q) {
        fail(error);
        return std::nullopt;
    }
    QList<ComponentRow> rows;
    while (q->next())
        rows << ComponentRow{{q->value(0).toLongLong(), text(*q, 1)}, dimension(*q, 2, 3, 4, 5), q->value(6)};
    q->finish();
    return rows;
}

std::optional<QList<ComponentKey>> ProjectStore::componentKeys(qint64 mcbn)
{
    QString error;
    QSqlQuery *q = m_reads->exec(kSelectComponentKeys, {mcbn}, &error);
    if (!q) {
        fail(error);
        return std::nullopt;
    }
    QList<ComponentKey> keys;
    while (q->next())
        keys << ComponentKey{q->value(0).toLongLong(), text(*q, 1)};
    q->finish();
    return keys;
}

std::optional<QList<QList<ProjectStore::ComponentNode>>> ProjectStore::componentNodes(const QList<qint64> &lineIds)
{
    QList<QList<ComponentNode>> all;
    all.reserve(lineIds.size());
    platform::RowReader keys(m_db, kSelectComponentKeys);
    platform::RowReader rows(m_db, kSelectComponentRows);
    const auto failed = [this](const platform::RowReader &r) {
        fail(r.error());
        return std::nullopt;
    };
    for (const qint64 lineId : lineIds) {
        QList<ComponentNode> &nodes = all.emplace_back();
        if (!keys.rerun({lineId}))
            return failed(keys);
        while (keys.next())
            nodes.append({ComponentKey{keys.value(0).toLongLong(), app::fieldText(keys.value(1))}, {}});
        if (!keys.error().isEmpty())
            return failed(keys);
        for (ComponentNode &node : nodes) {
            if (!rows.rerun({lineId, node.key.cbn, node.key.cmc}))
                return failed(rows);
            while (rows.next())
                node.rows << ComponentRow{{rows.value(0).toLongLong(), app::fieldText(rows.value(1))},
                                          dimension(rows, 2, 3, 4, 5), rows.value(6)};
            if (!rows.error().isEmpty())
                return failed(rows);
        }
    }
    return all;
}

bool ProjectStore::clearWorkRows()
{
    return exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=?"_s, {kWorkMcbn});
}

bool ProjectStore::insertWorkRows(qint64 cbn, const QString &cmc, const QList<NamedDimension> &dims,
                                  const QVariant &count)
{
    for (const NamedDimension &d : dims)
        if (!exec(kInsertComponent, {kWorkMcbn, cbn, d.name, d.value, cmc, d.x, d.y, count}))
            return false;
    return true;
}

bool ProjectStore::beginCombinedEdit(qint64 lineId, qint64 typeNo, const QString &lineName)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    // Rows left by a dialog that ended abnormally must not join this line.
    if (!clearWorkRows()
        || !exec(u"INSERT INTO \"标注2\" (\"MCBN\",\"CBN\",\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\",\"Count\") SELECT ?,\"CBN\","
                 u"\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\",\"Count\" FROM \"标注2\" WHERE \"MCBN\"=? ORDER BY rowid"_s,
                 {kWorkMcbn, lineId})
        || !exec(u"INSERT INTO \"标注2\" (\"MCBN\",\"CBN\",\"MC\",\"MCZ\",\"CMC\",\"Px\",\"Py\") SELECT ?,?,\"MC\",\"schar\",?,"
                 u"\"Px\",\"Py\" FROM \"标注\" WHERE \"MCNUM\"=? ORDER BY rowid"_s,
                 {kWorkMcbn, typeNo, lineName, lineId}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool ProjectStore::replaceMainWorkRows(qint64 mainCbn, const QString &cmc, const QList<NamedDimension> &dims)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    if (!exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=? AND \"CBN\"<0"_s, {kWorkMcbn})
        || !insertWorkRows(mainCbn, cmc, dims, 1))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool ProjectStore::addComponentWorkRows(qint64 typeNo, const QString &cmc, const QList<NamedDimension> &dims)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    if (!insertWorkRows(typeNo, cmc, dims, 1))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool ProjectStore::removeWorkNode(const ComponentKey &key)
{
    return exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=? AND \"CBN\"=? AND \"CMC\"=?"_s, {kWorkMcbn, key.cbn, key.cmc});
}

bool ProjectStore::storeWorkNode(const ComponentKey &key, const QList<NamedDimension> &dims, const QVariant &count)
{
    if (dims.isEmpty())
        return true;
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    if (!removeWorkNode(key) || !insertWorkRows(key.cbn, key.cmc, dims, count))
        return false;
    return tx.commit() || fail(tx.errorText());
}

std::optional<qint64> ProjectStore::saveCombinedLine(qint64 lineId, qint64 jobId, qint64 mainNumber,
                                                     const LineFields &fields)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    qint64 id = lineId;
    if (id == 0) {
        const std::optional<qint64> next = nextId(kLines);
        if (!next)
            return std::nullopt;
        id = *next;
    }
    const qint64 typeNo = -mainNumber;
    if (!exec(u"DELETE FROM \"工程门窗\" WHERE \"编号\"=?"_s, {id}) || !insertLine(jobId, typeNo, id, fields)
        || !exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=?"_s, {id})
        || !exec(u"UPDATE \"标注2\" SET \"MCBN\"=? WHERE \"MCBN\"=?"_s, {id, kWorkMcbn})
        || !exec(u"DELETE FROM \"标注\" WHERE \"MCNUM\"=?"_s, {id})
        || !exec(u"INSERT INTO \"标注\" (\"Px\",\"Py\",\"schar\",\"MCNUM\",\"MC\") SELECT \"Px\",\"Py\",\"MCZ\",?,\"MC\" "
                 u"FROM \"标注2\" WHERE \"MCBN\"=? AND \"CBN\"=? ORDER BY rowid"_s,
                 {id, id, typeNo})
        // Rows of an earlier main drawing are no component either.
        || !exec(u"DELETE FROM \"标注2\" WHERE \"MCBN\"=? AND \"CBN\"<=0"_s, {id}))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

// --- contract sheet

std::optional<std::optional<ContractTexts>> ProjectStore::loadContract(qint64 jobId)
{
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db,
                             u"SELECT \"T1\",\"T2\",\"T3\",\"T4\",\"T5\",\"T6\",\"T7\",\"T8\",\"T9\",\"T10\",\"T11\",\"T12\","
                             u"\"T13\" FROM \"工程合同\" WHERE \"HTBN\"=? ORDER BY rowid LIMIT 1"_s,
                             {jobId}, &error, &q)) {
        fail(error);
        return std::nullopt;
    }
    if (!q.next())
        return std::optional<ContractTexts>{};
    ContractTexts texts;
    for (int i = 0; i < int(texts.size()); ++i)
        texts[size_t(i)] = text(q, i);
    return std::optional<ContractTexts>{texts};
}

bool ProjectStore::saveContract(qint64 jobId, const ContractTexts &texts, const QString &title)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    QVariantList values;
    for (const QString &t : texts)
        values << t;
    values << title << jobId;
    if (!exec(u"DELETE FROM \"工程合同\" WHERE \"HTBN\"=?"_s, {jobId})
        || !exec(u"INSERT INTO \"工程合同\" (\"T1\",\"T2\",\"T3\",\"T4\",\"T5\",\"T6\",\"T7\",\"T8\",\"T9\",\"T10\",\"T11\","
                 u"\"T12\",\"T13\",\"BT\",\"HTBN\") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"_s,
                 values))
        return false;
    return tx.commit() || fail(tx.errorText());
}

} // namespace project
