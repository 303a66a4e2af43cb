#include "typestore.h"

#include "app/maindb.h"
#include "platform/database.h"
#include "platform/numtext.h"

#include <QHash>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace design {

namespace {
const QString kMakers = u"门窗厂家"_s;
const QString kSeries = u"门窗系列"_s;
const QString kTypes = u"门窗"_s;

// The types of one maker and of one series, as sub-selects over the bound owner number.
const QString kTypesOfSeries = u"SELECT \"编号\" FROM \"门窗\" WHERE \"系列编号\" = ?"_s;
const QString kTypesOfMaker = u"SELECT \"编号\" FROM \"门窗\" WHERE \"系列编号\" IN "
                              u"(SELECT \"编号\" FROM \"门窗系列\" WHERE \"厂家编号\" = ?)"_s;

QString columnList(const BillTableInfo &info)
{
    QStringList names;
    for (const QString &c : info.columns)
        names << platform::ident(c);
    return names.join(u',');
}
} // namespace

bool Bill::isEmpty() const
{
    for (const auto &list : rows)
        if (!list.isEmpty())
            return false;
    return true;
}

const BillTableInfo &billTableInfo(BillKind kind)
{
    static const std::array<BillTableInfo, kBillKindCount> infos = {{
        {BillKind::Profile, u"窗型材"_s, u"门窗型材"_s, {u"名称"_s, u"规格"_s, u"数量"_s, u"计算公式"_s}, -1},
        {BillKind::Steel, u"窗型钢"_s, u"门窗型钢"_s, {u"名称"_s, u"规格"_s, u"数量"_s, u"计算公式"_s}, -1},
        {BillKind::Panel, u"窗板材"_s, u"门窗板材"_s, {u"名称"_s, u"数量"_s, u"长公式"_s, u"宽公式"_s}, 1},
        {BillKind::Fitting, u"窗配件"_s, u"门窗配件"_s, {u"名称"_s, u"规格"_s, u"数量"_s, u"单位"_s}, 2},
    }};
    return infos[size_t(kind)];
}

const std::array<BillKind, kBillKindCount> &allBillKinds()
{
    static const std::array<BillKind, kBillKindCount> kinds = {BillKind::Profile, BillKind::Steel, BillKind::Panel,
                                                               BillKind::Fitting};
    return kinds;
}

std::optional<BillProblem> checkBill(const Bill &bill)
{
    for (BillKind kind : allBillKinds()) {
        const BillTableInfo &info = billTableInfo(kind);
        if (info.countColumn < 0)
            continue;
        const QList<BillRow> &rows = bill.of(kind);
        for (int i = 0; i < rows.size(); ++i) {
            const QString &count = rows[i][size_t(info.countColumn)];
            if (!platform::isNumeric(count))
                return BillProblem{kind, i,
                                   u"%1第%2行的数量“%3”不是数字，请改正后再保存！"_s.arg(info.caption).arg(i + 1).arg(count)};
        }
    }
    return std::nullopt;
}

TypeStore::TypeStore() : TypeStore(app::mainDb()) {}

TypeStore::TypeStore(QSqlDatabase db)
    : m_db(std::move(db)), m_reads(std::make_shared<platform::PreparedStatements>(m_db))
{
}

bool TypeStore::fail(const QString &error)
{
    m_error = error;
    return false;
}

bool TypeStore::exec(const QString &sql, const QVariantList &values, int *affected)
{
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db, sql, values, &error, &q))
        return fail(error);
    if (affected)
        *affected = q.numRowsAffected();
    return true;
}

bool TypeStore::requireOne(int affected)
{
    return affected > 0 || fail(u"记录不存在，可能已被删除。"_s);
}

// --- the tree

std::optional<QList<TypeTreeMaker>> TypeStore::loadTree(TreeOrder order)
{
    const bool stored = order == TreeOrder::Stored;
    // Three reads, all taken before anything is built, so a failure gives no half tree.
    QSqlQuery makers(m_db), series(m_db), types(m_db);
    QString error;
    if (!platform::execBound(m_db,
                             u"SELECT \"编号\", \"名称\" FROM \"门窗厂家\" ORDER BY "_s
                                 + (stored ? u"rowid"_s : u"\"编号\""_s),
                             {}, &error, &makers)
        || !platform::execBound(m_db,
                                u"SELECT \"厂家编号\", \"编号\", \"名称\" FROM \"门窗系列\" ORDER BY "_s
                                    + (stored ? u"rowid"_s : u"\"编号\""_s),
                                {}, &error, &series)
        || !platform::execBound(m_db,
                                u"SELECT \"系列编号\", \"编号\", \"名称\", \"图文件\", \"图号\" FROM \"门窗\" "
                                u"ORDER BY "_s
                                    + (stored ? u"rowid"_s : u"\"名称\", \"编号\""_s),
                                {}, &error, &types)) {
        fail(error);
        return std::nullopt;
    }
    QHash<qint64, QList<DoorType>> typesBySeries;
    while (types.next()) {
        DoorType t{types.value(0).toLongLong(), types.value(1).toLongLong(), types.value(2).toString(),
                   types.value(3).toString(), app::fieldText(types.value(4))};
        typesBySeries[t.seriesId] << t;
    }
    QHash<qint64, QList<TypeTreeSeries>> seriesByMaker;
    while (series.next()) {
        TypeTreeSeries s{{series.value(0).toLongLong(), series.value(1).toLongLong(), series.value(2).toString()}, {}};
        s.types = typesBySeries.value(s.series.id);
        seriesByMaker[s.series.makerId] << s;
    }
    QList<TypeTreeMaker> tree;
    while (makers.next()) {
        TypeTreeMaker m{{makers.value(0).toLongLong(), makers.value(1).toString()}, {}};
        m.series = seriesByMaker.value(m.maker.id);
        tree << m;
    }
    return tree;
}

std::optional<DoorType> TypeStore::type(qint64 id)
{
    QString error;
    QSqlQuery *q = m_reads->exec(
        u"SELECT \"系列编号\", \"编号\", \"名称\", \"图文件\", \"图号\" FROM \"门窗\" WHERE \"编号\" = ?"_s, {id},
        &error);
    if (!q) {
        fail(error);
        return std::nullopt;
    }
    if (!q->next()) {
        fail(u"门窗记录不存在，可能已被删除。"_s);
        return std::nullopt;
    }
    DoorType type{q->value(0).toLongLong(), q->value(1).toLongLong(), q->value(2).toString(), q->value(3).toString(),
                  app::fieldText(q->value(4))};
    q->finish();
    return type;
}

std::optional<qint64> TypeStore::addMaker(const QString &name)
{
    platform::TransactionGuard tx(m_db);
    QString error;
    std::optional<qint64> id = tx.isActive() ? app::GetNextId(m_db, kMakers, &error) : std::nullopt;
    if (!tx.isActive())
        error = tx.errorText();
    if (!id) {
        fail(error);
        return std::nullopt;
    }
    if (!exec(u"INSERT INTO \"门窗厂家\" (\"编号\", \"名称\") VALUES (?, ?)"_s, {*id, name}))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

bool TypeStore::renameMaker(qint64 id, const QString &name)
{
    int affected = 0;
    return exec(u"UPDATE \"门窗厂家\" SET \"名称\" = ? WHERE \"编号\" = ?"_s, {name, id}, &affected)
           && requireOne(affected);
}

std::optional<qint64> TypeStore::addSeries(qint64 makerId, const QString &name)
{
    platform::TransactionGuard tx(m_db);
    QString error;
    std::optional<qint64> id = tx.isActive() ? app::GetNextId(m_db, kSeries, &error) : std::nullopt;
    if (!tx.isActive())
        error = tx.errorText();
    if (!id) {
        fail(error);
        return std::nullopt;
    }
    if (!exec(u"INSERT INTO \"门窗系列\" (\"厂家编号\", \"编号\", \"名称\") VALUES (?, ?, ?)"_s, {makerId, *id, name}))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

bool TypeStore::renameSeries(qint64 id, const QString &name)
{
    int affected = 0;
    return exec(u"UPDATE \"门窗系列\" SET \"名称\" = ? WHERE \"编号\" = ?"_s, {name, id}, &affected)
           && requireOne(affected);
}

std::optional<qint64> TypeStore::addType(qint64 seriesId, const QString &name, qint64 drawingNumber)
{
    platform::TransactionGuard tx(m_db);
    QString error;
    std::optional<qint64> id = tx.isActive() ? app::GetNextId(m_db, kTypes, &error) : std::nullopt;
    if (!tx.isActive())
        error = tx.errorText();
    if (!id) {
        fail(error);
        return std::nullopt;
    }
    if (!exec(u"INSERT INTO \"门窗\" (\"系列编号\", \"编号\", \"名称\", \"图号\") VALUES (?, ?, ?, ?)"_s,
              {seriesId, *id, name, drawingNumber}))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

bool TypeStore::updateType(qint64 id, const QString &name, qint64 drawingNumber)
{
    int affected = 0;
    return exec(u"UPDATE \"门窗\" SET \"名称\" = ?, \"图号\" = ? WHERE \"编号\" = ?"_s, {name, drawingNumber, id},
                &affected)
           && requireOne(affected);
}

// --- deletes: the bills first, then each level upwards

bool TypeStore::deleteType(qint64 id)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    for (BillKind kind : allBillKinds())
        if (!exec(u"DELETE FROM "_s + platform::ident(billTableInfo(kind).table) + u" WHERE \"窗号\" = ?"_s, {id}))
            return false;
    if (!exec(u"DELETE FROM \"门窗\" WHERE \"编号\" = ?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool TypeStore::deleteSeries(qint64 id)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    for (BillKind kind : allBillKinds())
        if (!exec(u"DELETE FROM "_s + platform::ident(billTableInfo(kind).table) + u" WHERE \"窗号\" IN ("_s
                      + kTypesOfSeries + u')',
                  {id}))
            return false;
    if (!exec(u"DELETE FROM \"门窗\" WHERE \"系列编号\" = ?"_s, {id})
        || !exec(u"DELETE FROM \"门窗系列\" WHERE \"编号\" = ?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool TypeStore::deleteMaker(qint64 id)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    for (BillKind kind : allBillKinds())
        if (!exec(u"DELETE FROM "_s + platform::ident(billTableInfo(kind).table) + u" WHERE \"窗号\" IN ("_s
                      + kTypesOfMaker + u')',
                  {id}))
            return false;
    if (!exec(u"DELETE FROM \"门窗\" WHERE \"系列编号\" IN (SELECT \"编号\" FROM \"门窗系列\" WHERE \"厂家编号\" = ?)"_s,
              {id})
        || !exec(u"DELETE FROM \"门窗系列\" WHERE \"厂家编号\" = ?"_s, {id})
        || !exec(u"DELETE FROM \"门窗厂家\" WHERE \"编号\" = ?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

// --- moving and copying

bool TypeStore::moveType(qint64 typeId, qint64 seriesId)
{
    int affected = 0;
    return exec(u"UPDATE \"门窗\" SET \"系列编号\" = ? WHERE \"编号\" = ?"_s, {seriesId, typeId}, &affected)
           && requireOne(affected);
}

std::optional<qint64> TypeStore::copyType(qint64 sourceId, qint64 seriesId)
{
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    QSqlQuery source(m_db);
    QString error;
    if (!platform::execBound(m_db, u"SELECT \"名称\", \"图号\" FROM \"门窗\" WHERE \"编号\" = ?"_s, {sourceId}, &error,
                             &source)) {
        fail(error);
        return std::nullopt;
    }
    if (!source.next()) {
        fail(u"门窗记录不存在，可能已被删除。"_s);
        return std::nullopt;
    }
    const QVariant name = source.value(0);
    const QVariant drawing = source.value(1);
    source.finish();
    const std::optional<qint64> newId = app::GetNextId(m_db, kTypes, &error);
    if (!newId) {
        fail(error);
        return std::nullopt;
    }
    if (!exec(u"INSERT INTO \"门窗\" (\"系列编号\", \"编号\", \"名称\", \"图号\") VALUES (?, ?, ?, ?)"_s,
              {seriesId, *newId, name, drawing}))
        return std::nullopt;
    // The stored values are copied as they are (a count kept as a number stays one).
    for (BillKind kind : allBillKinds()) {
        const BillTableInfo &info = billTableInfo(kind);
        QSqlQuery rows(m_db);
        if (!platform::execBound(m_db,
                                 u"SELECT "_s + columnList(info) + u" FROM "_s + platform::ident(info.table)
                                     + u" WHERE \"窗号\" = ? ORDER BY rowid"_s,
                                 {sourceId}, &error, &rows)) {
            fail(error);
            return std::nullopt;
        }
        QList<QVariantList> values;
        while (rows.next())
            values << QVariantList{rows.value(0), rows.value(1), rows.value(2), rows.value(3)};
        if (values.isEmpty())
            continue;
        std::optional<qint64> rowId = app::GetNextId(m_db, info.table, &error);
        if (!rowId) {
            fail(error);
            return std::nullopt;
        }
        const QString insert = u"INSERT INTO "_s + platform::ident(info.table) + u" (\"窗号\", \"编号\", "_s
                               + columnList(info) + u") VALUES (?, ?, ?, ?, ?, ?)"_s;
        for (const QVariantList &v : values)
            if (!exec(insert, QVariantList{*newId, (*rowId)++} + v))
                return std::nullopt;
    }
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return newId;
}

// --- the formula workbook

std::optional<QList<TypeWithBill>> TypeStore::loadTypesWithBills()
{
    QSqlQuery types(m_db);
    QString error;
    if (!platform::execBound(m_db,
                             u"SELECT \"系列编号\", \"编号\", \"名称\", \"图文件\", \"图号\" FROM \"门窗\" ORDER BY rowid"_s,
                             {}, &error, &types)) {
        fail(error);
        return std::nullopt;
    }
    QList<TypeWithBill> out;
    QHash<qint64, QList<qsizetype>> byNumber; // a 编号 may repeat in an old library: each gets the rows
    while (types.next()) {
        const DoorType t{types.value(0).toLongLong(), types.value(1).toLongLong(), types.value(2).toString(),
                         types.value(3).toString(), app::fieldText(types.value(4))};
        byNumber[t.id] << out.size();
        out << TypeWithBill{t, {}};
    }
    for (BillKind kind : allBillKinds()) {
        const BillTableInfo &info = billTableInfo(kind);
        QSqlQuery q(m_db);
        if (!platform::execBound(m_db,
                                 u"SELECT \"窗号\", "_s + columnList(info) + u" FROM "_s + platform::ident(info.table)
                                     + u" ORDER BY rowid"_s,
                                 {}, &error, &q)) {
            fail(error);
            return std::nullopt;
        }
        while (q.next()) {
            const BillRow row{app::fieldText(q.value(1)), app::fieldText(q.value(2)), app::fieldText(q.value(3)),
                              app::fieldText(q.value(4))};
            for (qsizetype i : byNumber.value(q.value(0).toLongLong()))
                out[i].bill.of(kind) << row;
        }
    }
    return out;
}

std::optional<QList<qint64>> TypeStore::importTypes(qint64 seriesId, const QList<ImportedType> &types,
                                                    ImportFailure *failure)
{
    auto failAt = [&](int sourceRow, const QString &message) -> std::optional<QList<qint64>> {
        fail(message);
        if (failure)
            *failure = {sourceRow, message};
        return std::nullopt;
    };
    // Counts kept as numbers are checked first, so that a refused sheet writes nothing at all.
    for (const ImportedType &t : types)
        if (const std::optional<BillProblem> p = checkBill(t.bill)) {
            const QString &count = t.bill.of(p->kind)[p->row][size_t(billTableInfo(p->kind).countColumn)];
            return failAt(t.sourceRows[size_t(p->kind)].value(p->row, t.sourceRow),
                          u"数量“%1”不是数字"_s.arg(count));
        }

    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return failAt(0, tx.errorText());
    QString error;
    std::optional<qint64> typeId = app::GetNextId(m_db, kTypes, &error);
    if (!typeId)
        return failAt(types.isEmpty() ? 0 : types.first().sourceRow, error);
    std::array<std::optional<qint64>, kBillKindCount> rowIds; // taken when a table gets its first row
    QList<qint64> created;
    for (const ImportedType &t : types) {
        const qint64 id = (*typeId)++;
        if (!exec(u"INSERT INTO \"门窗\" (\"系列编号\", \"编号\", \"名称\", \"图号\") VALUES (?, ?, ?, ?)"_s,
                  {seriesId, id, t.name, t.drawingNumber}))
            return failAt(t.sourceRow, m_error);
        for (BillKind kind : allBillKinds()) {
            const BillTableInfo &info = billTableInfo(kind);
            const QList<BillRow> &rows = t.bill.of(kind);
            if (rows.isEmpty())
                continue;
            std::optional<qint64> &rowId = rowIds[size_t(kind)];
            if (!rowId && !(rowId = app::GetNextId(m_db, info.table, &error)))
                return failAt(t.sourceRows[size_t(kind)].value(0, t.sourceRow), error);
            const QString insert = u"INSERT INTO "_s + platform::ident(info.table) + u" (\"窗号\", \"编号\", "_s
                                   + columnList(info) + u") VALUES (?, ?, ?, ?, ?, ?)"_s;
            for (int r = 0; r < rows.size(); ++r) {
                QVariantList values{id, (*rowId)++};
                for (int c = 0; c < 4; ++c) {
                    const QString &text = rows[r][size_t(c)];
                    values << (c == info.countColumn ? QVariant(platform::val(text)) : QVariant(text));
                }
                if (!exec(insert, values))
                    return failAt(t.sourceRows[size_t(kind)].value(r, t.sourceRow), m_error);
            }
        }
        created << id;
    }
    if (!tx.commit())
        return failAt(0, tx.errorText());
    return created;
}

// --- bills

std::optional<Bill> TypeStore::loadBill(qint64 typeId)
{
    Bill bill;
    for (BillKind kind : allBillKinds()) {
        const BillTableInfo &info = billTableInfo(kind);
        QString error;
        QSqlQuery *q = m_reads->exec(u"SELECT "_s + columnList(info) + u" FROM "_s + platform::ident(info.table)
                                         + u" WHERE \"窗号\" = ? ORDER BY rowid"_s,
                                     {typeId}, &error);
        if (!q) {
            fail(error);
            return std::nullopt;
        }
        while (q->next())
            bill.of(kind) << BillRow{app::fieldText(q->value(0)), app::fieldText(q->value(1)),
                                     app::fieldText(q->value(2)), app::fieldText(q->value(3))};
    }
    return bill;
}

bool TypeStore::insertBillRows(qint64 typeId, const Bill &bill)
{
    for (BillKind kind : allBillKinds()) {
        const BillTableInfo &info = billTableInfo(kind);
        const QList<BillRow> &rows = bill.of(kind);
        if (rows.isEmpty())
            continue;
        QString error;
        // Every saved row takes a new number: the largest in the table plus one, counting up.
        std::optional<qint64> rowId = app::GetNextId(m_db, info.table, &error);
        if (!rowId)
            return fail(error);
        const QString insert = u"INSERT INTO "_s + platform::ident(info.table) + u" (\"窗号\", \"编号\", "_s
                                + columnList(info) + u") VALUES (?, ?, ?, ?, ?, ?)"_s;
        for (const BillRow &row : rows) {
            QVariantList values{typeId, (*rowId)++};
            for (int c = 0; c < 4; ++c) {
                const QString &text = row[size_t(c)];
                values << (c == info.countColumn ? QVariant(platform::val(text)) : QVariant(text));
            }
            if (!exec(insert, values))
                return false;
        }
    }
    return true;
}

bool TypeStore::saveBill(qint64 typeId, const Bill &bill, std::optional<BillProblem> *problem)
{
    if (problem)
        problem->reset();
    if (const std::optional<BillProblem> p = checkBill(bill)) {
        if (problem)
            *problem = p;
        return fail(p->message);
    }
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    // An editor left open on a deleted type must not leave rows that a later type would inherit.
    QSqlQuery q(m_db);
    QString error;
    if (!platform::execBound(m_db, u"SELECT 1 FROM \"门窗\" WHERE \"编号\" = ?"_s, {typeId}, &error, &q))
        return fail(error);
    if (!q.next())
        return fail(u"该门窗已被删除，不能保存它的公式。"_s);
    q.finish();
    for (BillKind kind : allBillKinds())
        if (!exec(u"DELETE FROM "_s + platform::ident(billTableInfo(kind).table) + u" WHERE \"窗号\" = ?"_s, {typeId}))
            return false;
    if (!insertBillRows(typeId, bill))
        return false;
    return tx.commit() || fail(tx.errorText());
}

} // namespace design
