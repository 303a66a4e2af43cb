#include "store.h"

#include "app/maindb.h"
#include "platform/database.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;
using platform::ident;

namespace catalogue {

namespace {
const QString kMakers = u"材料厂家"_s;
const QString kSeries = u"型材系列"_s;
const QString kGone = u"该记录已不存在！"_s;

QString makerColumns()
{
    return u"\"编号\", \"厂家名称\", \"联系电话\", \"厂址\", \"传真\", \"厂家类别\""_s;
}

QString itemColumns(const ItemKindInfo &info)
{
    QStringList cols{ident(info.ownerColumn), ident(u"编号"_s)};
    for (const ItemField &f : info.fields)
        cols << ident(f.column);
    return cols.join(u", "_s);
}

Maker makerFrom(const QSqlQuery &q)
{
    return {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
            q.value(4).toString(), q.value(5).toInt()};
}

Item itemFrom(const ItemKindInfo &info, const QSqlQuery &q)
{
    Item item{info.kind, q.value(0).toLongLong(), q.value(1).toLongLong(), {}};
    for (int i = 0; i < info.fields.size(); ++i) {
        const QVariant v = q.value(i + 2);
        if (v.isNull())
            item.values << QVariant();
        else if (!info.fields.at(i).numeric)
            item.values << QVariant(v.toString());
        else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong
                 || v.typeId() == QMetaType::Int)
            item.values << QVariant(v.toDouble());
        else
            item.values << v; // a text in a number column shows as it is stored
    }
    return item;
}
} // namespace

CatalogueStore::CatalogueStore() : m_db(app::mainDb()) {}

CatalogueStore::CatalogueStore(QSqlDatabase db) : m_db(db) {}

bool CatalogueStore::isOpen() const { return m_db.isValid() && m_db.isOpen(); }

bool CatalogueStore::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool CatalogueStore::ready() { return isOpen() || fail(u"数据库未打开"_s); }

bool CatalogueStore::select(const QString &sql, const QVariantList &values, QSqlQuery *query)
{
    query->setForwardOnly(true);
    return ready() && platform::execBound(m_db, sql, values, &m_error, query);
}

bool CatalogueStore::run(const QString &sql, const QVariantList &values, int *affected)
{
    if (!ready())
        return false;
    QSqlQuery q(m_db);
    if (!platform::execBound(m_db, sql, values, &m_error, &q))
        return false;
    if (affected)
        *affected = q.numRowsAffected();
    return true;
}

std::optional<QList<Maker>> CatalogueStore::makers()
{
    QSqlQuery q(m_db);
    if (!select(u"SELECT "_s + makerColumns() + u" FROM "_s + ident(kMakers) + u" ORDER BY rowid"_s, {}, &q))
        return std::nullopt;
    QList<Maker> list;
    while (q.next())
        list << makerFrom(q);
    return list;
}

std::optional<QList<Series>> CatalogueStore::seriesOf(qint64 makerId)
{
    QSqlQuery q(m_db);
    if (!select(u"SELECT \"厂家编号\", \"编号\", \"系列名称\" FROM "_s + ident(kSeries)
                                 + u" WHERE \"厂家编号\" = ? ORDER BY rowid"_s, {makerId}, &q))
        return std::nullopt;
    QList<Series> list;
    while (q.next())
        list << Series{q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()};
    return list;
}

std::optional<QList<Item>> CatalogueStore::items(ItemKind kind, qint64 ownerId)
{
    const ItemKindInfo &info = itemKindInfo(kind);
    QSqlQuery q(m_db);
    if (!select(u"SELECT "_s + itemColumns(info) + u" FROM "_s + ident(info.table) + u" WHERE "_s
                                 + ident(info.ownerColumn) + u" = ? ORDER BY rowid"_s, {ownerId}, &q))
        return std::nullopt;
    QList<Item> list;
    while (q.next())
        list << itemFrom(info, q);
    return list;
}

std::optional<Maker> CatalogueStore::maker(qint64 id)
{
    QSqlQuery q(m_db);
    if (!select(u"SELECT "_s + makerColumns() + u" FROM "_s + ident(kMakers) + u" WHERE \"编号\" = ?"_s, {id}, &q))
        return std::nullopt;
    if (!q.next()) {
        fail(kGone);
        return std::nullopt;
    }
    return makerFrom(q);
}

std::optional<Series> CatalogueStore::series(qint64 id)
{
    QSqlQuery q(m_db);
    if (!select(u"SELECT \"厂家编号\", \"编号\", \"系列名称\" FROM "_s + ident(kSeries)
                                 + u" WHERE \"编号\" = ?"_s, {id}, &q))
        return std::nullopt;
    if (!q.next()) {
        fail(kGone);
        return std::nullopt;
    }
    return Series{q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()};
}

std::optional<Item> CatalogueStore::item(ItemKind kind, qint64 id)
{
    const ItemKindInfo &info = itemKindInfo(kind);
    QSqlQuery q(m_db);
    if (!select(u"SELECT "_s + itemColumns(info) + u" FROM "_s + ident(info.table)
                                 + u" WHERE \"编号\" = ?"_s, {id}, &q))
        return std::nullopt;
    if (!q.next()) {
        fail(kGone);
        return std::nullopt;
    }
    return itemFrom(info, q);
}

std::optional<qint64> CatalogueStore::insertNumbered(const QString &table, const QString &insertSql,
                                                     QVariantList values, qsizetype idAt)
{
    if (!ready())
        return std::nullopt;
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    const auto id = app::GetNextId(m_db, table, &m_error);
    if (!id)
        return std::nullopt;
    values.insert(idAt, *id);
    if (!run(insertSql, values))
        return std::nullopt;
    if (!tx.commit()) {
        fail(tx.errorText());
        return std::nullopt;
    }
    return id;
}

std::optional<qint64> CatalogueStore::addMaker(const Maker &maker)
{
    return insertNumbered(kMakers,
                          u"INSERT INTO "_s + ident(kMakers) + u" ("_s + makerColumns()
                              + u") VALUES (?, ?, ?, ?, ?, ?)"_s,
                          {maker.name, maker.phone, maker.address, maker.fax, maker.kind}, 0);
}

bool CatalogueStore::updateMaker(const Maker &maker)
{
    int affected = 0;
    if (!run(u"UPDATE "_s + ident(kMakers)
                 + u" SET \"厂家名称\" = ?, \"联系电话\" = ?, \"厂址\" = ?, \"传真\" = ? WHERE \"编号\" = ?"_s,
             {maker.name, maker.phone, maker.address, maker.fax, maker.id}, &affected))
        return false;
    return affected > 0 || fail(kGone);
}

std::optional<qint64> CatalogueStore::addSeries(qint64 makerId, const QString &name)
{
    return insertNumbered(kSeries,
                          u"INSERT INTO "_s + ident(kSeries)
                              + u" (\"厂家编号\", \"编号\", \"系列名称\") VALUES (?, ?, ?)"_s,
                          {makerId, name}, 1);
}

bool CatalogueStore::renameSeries(qint64 id, const QString &name)
{
    int affected = 0;
    if (!run(u"UPDATE "_s + ident(kSeries) + u" SET \"系列名称\" = ? WHERE \"编号\" = ?"_s, {name, id}, &affected))
        return false;
    return affected > 0 || fail(kGone);
}

bool CatalogueStore::deleteMaker(qint64 id, int kind)
{
    if (!ready())
        return false;
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    switch (kind) {
    case int(MakerKind::Profile):
        if (!run(u"DELETE FROM "_s + ident(itemKindInfo(ItemKind::Profile).table)
                     + u" WHERE \"系列编号\" IN (SELECT \"编号\" FROM "_s + ident(kSeries)
                     + u" WHERE \"厂家编号\" = ?)"_s,
                 {id})
            || !run(u"DELETE FROM "_s + ident(kSeries) + u" WHERE \"厂家编号\" = ?"_s, {id}))
            return false;
        break;
    case int(MakerKind::Steel):
    case int(MakerKind::Panel):
    case int(MakerKind::Fitting): {
        const ItemKind items = kind == int(MakerKind::Steel)   ? ItemKind::Steel
                               : kind == int(MakerKind::Panel) ? ItemKind::Panel
                                                               : ItemKind::Fitting;
        if (!run(u"DELETE FROM "_s + ident(itemKindInfo(items).table) + u" WHERE \"厂家编号\" = ?"_s, {id}))
            return false;
        break;
    }
    default:
        break; // a maker of an unknown kind owns nothing this program knows of
    }
    if (!run(u"DELETE FROM "_s + ident(kMakers) + u" WHERE \"编号\" = ?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

bool CatalogueStore::deleteSeries(qint64 id)
{
    if (!ready())
        return false;
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive())
        return fail(tx.errorText());
    if (!run(u"DELETE FROM "_s + ident(itemKindInfo(ItemKind::Profile).table) + u" WHERE \"系列编号\" = ?"_s, {id})
        || !run(u"DELETE FROM "_s + ident(kSeries) + u" WHERE \"编号\" = ?"_s, {id}))
        return false;
    return tx.commit() || fail(tx.errorText());
}

std::optional<qint64> CatalogueStore::addItem(ItemKind kind, qint64 ownerId, const QVariantList &values)
{
    const ItemKindInfo &info = itemKindInfo(kind);
    if (values.size() != info.fields.size()) {
        fail(u"字段数目不符"_s);
        return std::nullopt;
    }
    const QString marks = QStringList(int(values.size()) + 2, u"?"_s).join(u", "_s);
    return insertNumbered(info.table,
                          u"INSERT INTO "_s + ident(info.table) + u" ("_s + itemColumns(info) + u") VALUES ("_s
                              + marks + u')',
                          QVariantList{ownerId} + values, 1);
}

bool CatalogueStore::updateItem(ItemKind kind, qint64 id, const QVariantList &values)
{
    const ItemKindInfo &info = itemKindInfo(kind);
    if (values.size() != info.fields.size())
        return fail(u"字段数目不符"_s);
    QStringList sets;
    for (const ItemField &f : info.fields)
        sets << ident(f.column) + u" = ?"_s;
    int affected = 0;
    if (!run(u"UPDATE "_s + ident(info.table) + u" SET "_s + sets.join(u", "_s) + u" WHERE \"编号\" = ?"_s,
             values + QVariantList{id}, &affected))
        return false;
    return affected > 0 || fail(kGone);
}

bool CatalogueStore::deleteItem(ItemKind kind, qint64 id)
{
    return run(u"DELETE FROM "_s + ident(itemKindInfo(kind).table) + u" WHERE \"编号\" = ?"_s, {id});
}

bool CatalogueStore::setPrices(ItemKind kind, qint64 ownerId, double price)
{
    const ItemKindInfo &info = itemKindInfo(kind);
    return run(u"UPDATE "_s + ident(info.table) + u" SET "_s + ident(info.fields.at(info.priceField).column)
                   + u" = ? WHERE "_s + ident(info.ownerColumn) + u" = ?"_s,
               {price, ownerId});
}

} // namespace catalogue
