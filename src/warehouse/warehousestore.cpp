#include "warehousestore.h"

#include "app/schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/numtext.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <limits>

using namespace Qt::StringLiterals;

namespace warehouse {

QString CurInBillNo;
QString CurOutBillNo;

namespace {
void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

bool ensureOpen(QString *error)
{
    if (ckDb().isOpen())
        return true;
    setError(error, u"仓库数据库未打开"_s);
    return false;
}

std::optional<QString> nextBillNo(const QString &table, QString *error)
{
    if (!ensureOpen(error))
        return std::nullopt;
    QSqlQuery q(ckDb());
    if (!q.exec(u"SELECT max(\"单据编号\") FROM "_s + platform::ident(table)) || !q.next()) {
        setError(error, q.lastError().text());
        return std::nullopt;
    }
    const QVariant v = q.value(0);
    bool isNumber = false;
    const double largest = v.isNull() ? 0.0 : v.toDouble(&isNumber);
    if (!isNumber || largest == 0.0)
        return u"1"_s;
    // The number column is 32-bit: one past its largest value cannot be stored.
    if (largest >= double(std::numeric_limits<qint32>::max())) {
        setError(error, u"单据编号已超出范围"_s);
        return std::nullopt;
    }
    return platform::generalDouble(largest + 1);
}
} // namespace

QSqlDatabase ckDb() { return QSqlDatabase::database(kCKConn, false); }

CKOpenResult OpenCKDatabase()
{
    CKOpenResult r;
    r.path = platform::dataFile(app::kWarehouseFile);
    platform::closeConnection(kCKConn);
    if (!QFileInfo::exists(r.path)) {
        r.status = app::OpenStatus::Missing;
        return r;
    }
    if (!platform::openSqlite(kCKConn, r.path, &r.error)) {
        r.status = app::OpenStatus::Failed;
        return r;
    }
    if (!app::applySchema(ckDb(), app::kWarehouseFile, &r.error)) {
        platform::closeConnection(kCKConn);
        r.status = app::OpenStatus::Failed;
        return r;
    }
    r.status = app::OpenStatus::Opened;
    return r;
}

std::optional<QString> GetNextInBillNo(QString *error) { return nextBillNo(u"入库单"_s, error); }

std::optional<QString> GetNextOutBillNo(QString *error) { return nextBillNo(u"出库单"_s, error); }

bool ClearWarehouse(QString *error)
{
    if (!ensureOpen(error))
        return false;
    QSqlDatabase db = ckDb();
    platform::TransactionGuard tx(db);
    if (!tx.isActive()) {
        setError(error, tx.errorText());
        return false;
    }
    for (const QString &table : {u"入库单"_s, u"出库单"_s, u"入库单子表"_s, u"出库单子表"_s, u"库存表"_s}) {
        if (!platform::execBound(db, u"DELETE FROM "_s + platform::ident(table), {}, error))
            return false;
    }
    if (!tx.commit()) {
        setError(error, tx.errorText());
        return false;
    }
    return true;
}

} // namespace warehouse
