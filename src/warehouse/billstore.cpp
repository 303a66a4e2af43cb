#include "billstore.h"

#include "warehousestore.h"

#include "platform/database.h"
#include "platform/numtext.h"

#include <QMetaType>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace warehouse {

namespace {
const QString kDateFormat = u"yyyy-MM-dd"_s;

// Every call starts here, so the error is the reason of this call's failure.
bool ensureOpen(const QSqlDatabase &db, QString *error)
{
    if (db.isOpen()) {
        platform::setError(error, QString());
        return true;
    }
    platform::setError(error, u"仓库数据库未打开"_s);
    return false;
}

std::optional<qint64> billNumber(const QString &text, QString *error)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 0 || n > std::numeric_limits<qint32>::max()) {
        platform::setError(error, u"单据编号“%1”无效"_s.arg(text));
        return std::nullopt;
    }
    return n;
}

QString textAt(const QStringList &t, int i) { return i < t.size() ? t.at(i) : QString(); }

// First stock row of a 规格: its rowid, 入库量 and 库存量.
struct StockRow
{
    qint64 rowid = 0;
    double received = 0;
    double stock = 0;
};

std::optional<std::optional<StockRow>> findStockRow(QSqlDatabase db, const QString &spec, QString *error)
{
    QSqlQuery q(db);
    if (!platform::execBound(db, u"SELECT rowid, 入库量, 库存量 FROM 库存表 WHERE 规格 = ? ORDER BY rowid LIMIT 1"_s,
                             {spec}, error, &q))
        return std::nullopt;
    if (!q.next())
        return std::optional<StockRow>();
    return std::optional<StockRow>(StockRow{q.value(0).toLongLong(), q.value(1).toDouble(), q.value(2).toDouble()});
}

std::optional<QList<QStringList>> lineRows(QSqlDatabase db, const QString &table, const QString &billNo,
                                           QString *error)
{
    if (!ensureOpen(db, error))
        return std::nullopt;
    const auto no = billNumber(billNo, error);
    if (!no)
        return std::nullopt;
    QSqlQuery q(db);
    if (!platform::execBound(db, u"SELECT * FROM "_s + platform::ident(table) + u" WHERE 单据编号 = ? ORDER BY rowid"_s,
                             {*no}, error, &q))
        return std::nullopt;
    QList<QStringList> rows;
    while (q.next()) {
        QStringList row;
        for (int k = 1; k < q.record().count(); ++k)
            row << fieldText(q.value(k));
        rows << row;
    }
    return rows;
}

std::optional<QString> nextBillNo(QSqlDatabase db, const QString &table, QString *error)
{
    if (!ensureOpen(db, error))
        return std::nullopt;
    QSqlQuery q(db);
    if (!q.exec(u"SELECT max(\"单据编号\") FROM "_s + platform::ident(table)) || !q.next()) {
        platform::setError(error, q.lastError().text());
        return std::nullopt;
    }
    const QVariant v = q.value(0);
    bool isNumber = false;
    const double largest = v.isNull() ? 0.0 : v.toDouble(&isNumber);
    if (!isNumber || largest == 0.0)
        return u"1"_s;
    // The number column is 32-bit: one past its largest value cannot be stored.
    if (largest >= double(std::numeric_limits<qint32>::max())) {
        platform::setError(error, u"单据编号已超出范围"_s);
        return std::nullopt;
    }
    return platform::generalDouble(largest + 1);
}
} // namespace

BillStore::BillStore() : m_db(ckDb()) {}

BillStore::BillStore(QSqlDatabase db) : m_db(db) {}

ReceiptLine ReceiptLine::fromTexts(const QStringList &t)
{
    return {textAt(t, 0), textAt(t, 1), textAt(t, 2), textAt(t, 3), textAt(t, 4), textAt(t, 5)};
}

IssueLine IssueLine::fromTexts(const QStringList &t)
{
    return {textAt(t, 0), textAt(t, 1), textAt(t, 2), textAt(t, 3), textAt(t, 4)};
}

QString fieldText(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return platform::generalDouble(value.toDouble());
    default:
        return value.toString();
    }
}

double SumReceiptAmount(const QList<ReceiptLine> &lines)
{
    double total = 0;
    for (const ReceiptLine &l : lines)
        total += platform::val(l.quantity) * platform::val(l.price);
    return total;
}

QString amountText(double amount) { return platform::generalDouble(amount); }

bool BillStore::SaveReceiptBill(const ReceiptBill &bill, double *amount)
{
    if (!ensureOpen(m_db, &m_error))
        return false;
    const auto no = billNumber(bill.billNo, &m_error);
    if (!no)
        return false;
    if (!bill.date.isValid()) {
        m_error = u"采购日期无效"_s;
        return false;
    }
    const double total = SumReceiptAmount(bill.lines);
    if (!std::isfinite(total)) {
        m_error = u"采购金额超出可计算的范围（单价乘数量过大），入库单没有保存。"_s;
        return false;
    }
    QSqlDatabase db = m_db;
    platform::TransactionGuard tx(db);
    if (!tx.isActive()) {
        m_error = tx.errorText();
        return false;
    }
    if (!platform::execBound(db,
                             u"INSERT INTO 入库单 (单据编号, 来料来源, 采购金额, 用途, 说明, 采购员, 采购日期) "
                             u"VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                             {*no, bill.source, total, bill.purpose, bill.note, bill.buyer, bill.date.toString(kDateFormat)}, &m_error))
        return false;
    for (const ReceiptLine &l : bill.lines) {
        const double quantity = platform::val(l.quantity);
        if (!platform::execBound(db,
                                 u"INSERT INTO 入库单子表 (单据编号, 名称, 规格, 单位, 单价, 数量, 种类) "
                                 u"VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                                 {*no, l.name, l.spec, l.unit, platform::val(l.price), quantity, l.kind}, &m_error))
            return false;
        const auto found = findStockRow(db, l.spec, &m_error);
        if (!found)
            return false;
        if (*found) {
            // The total received keeps its fractions, like the stock itself.
            if (!platform::execBound(db, u"UPDATE 库存表 SET 入库量 = ?, 库存量 = ? WHERE rowid = ?"_s,
                                     {(*found)->received + quantity, (*found)->stock + quantity, (*found)->rowid}, &m_error))
                return false;
        } else if (!platform::execBound(db,
                                        u"INSERT INTO 库存表 (名称, 规格, 厂家, 单位, 种类, 入库量, 库存量) "
                                        u"VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                                        {l.name, l.spec, bill.source, l.unit, l.kind, quantity, quantity}, &m_error)) {
            return false;
        }
    }
    if (!tx.commit()) {
        m_error = tx.errorText();
        return false;
    }
    if (amount)
        *amount = total;
    return true;
}

bool BillStore::SaveIssueBill(const IssueBill &bill)
{
    if (!ensureOpen(m_db, &m_error))
        return false;
    const auto no = billNumber(bill.billNo, &m_error);
    if (!no)
        return false;
    if (!bill.date.isValid()) {
        m_error = u"出库日期无效"_s;
        return false;
    }
    QSqlDatabase db = m_db;
    platform::TransactionGuard tx(db);
    if (!tx.isActive()) {
        m_error = tx.errorText();
        return false;
    }
    if (!platform::execBound(db,
                             u"INSERT INTO 出库单 (单据编号, 用途, 说明, 仓管员, 出库日期) VALUES (?, ?, ?, ?, ?)"_s,
                             {*no, bill.purpose, bill.note, bill.keeper, bill.date.toString(kDateFormat)}, &m_error))
        return false;
    for (const IssueLine &l : bill.lines) {
        const double quantity = platform::val(l.quantity);
        if (!platform::execBound(db,
                                 u"INSERT INTO 出库单子表 (单据编号, 名称, 规格, 单位, 数量, 种类) VALUES (?, ?, ?, ?, ?, ?)"_s,
                                 {*no, l.name, l.spec, l.unit, quantity, l.kind}, &m_error))
            return false;
        const auto found = findStockRow(db, l.spec, &m_error);
        if (!found)
            return false;
        if (!*found) {
            m_error = u"库存表中没有规格为“%1”的材料，不能出库。"_s.arg(l.spec);
            return false;
        }
        const double left = (*found)->stock - quantity;
        if (left < 0) {
            m_error = u"规格为“%1”的材料库存量只有%2，不能出库%3。"_s.arg(
                l.spec, platform::generalDouble((*found)->stock), platform::generalDouble(quantity));
            return false;
        }
        if (!platform::execBound(db, u"UPDATE 库存表 SET 库存量 = ? WHERE rowid = ?"_s, {left, (*found)->rowid}, &m_error))
            return false;
    }
    if (!tx.commit()) {
        m_error = tx.errorText();
        return false;
    }
    return true;
}

std::optional<QString> BillStore::GetNextInBillNo() { return nextBillNo(m_db, u"入库单"_s, &m_error); }

std::optional<QString> BillStore::GetNextOutBillNo() { return nextBillNo(m_db, u"出库单"_s, &m_error); }

bool BillStore::ClearWarehouse()
{
    if (!ensureOpen(m_db, &m_error))
        return false;
    platform::TransactionGuard tx(m_db);
    if (!tx.isActive()) {
        m_error = tx.errorText();
        return false;
    }
    for (const QString &table : {u"入库单"_s, u"出库单"_s, u"入库单子表"_s, u"出库单子表"_s, u"库存表"_s}) {
        if (!platform::execBound(m_db, u"DELETE FROM "_s + platform::ident(table), {}, &m_error))
            return false;
    }
    if (!tx.commit()) {
        m_error = tx.errorText();
        return false;
    }
    return true;
}

std::optional<QStringList> BillStore::StockKinds()
{
    if (!ensureOpen(m_db, &m_error))
        return std::nullopt;
    QSqlQuery q(m_db);
    if (!platform::execBound(m_db, u"SELECT 种类 FROM 库存表 GROUP BY 种类"_s, {}, &m_error, &q))
        return std::nullopt;
    QStringList kinds;
    while (q.next())
        kinds << fieldText(q.value(0));
    return kinds;
}

std::optional<QList<StockItem>> BillStore::StockItems(const QString &kind)
{
    if (!ensureOpen(m_db, &m_error))
        return std::nullopt;
    QSqlQuery q(m_db);
    if (!platform::execBound(m_db, u"SELECT 名称, 规格, 单位, 库存量 FROM 库存表 WHERE 种类 = ? ORDER BY rowid"_s, {kind}, &m_error, &q))
        return std::nullopt;
    QList<StockItem> items;
    while (q.next()) {
        StockItem it;
        it.name = fieldText(q.value(0));
        it.spec = fieldText(q.value(1));
        it.unit = fieldText(q.value(2));
        it.stockText = fieldText(q.value(3));
        it.stock = q.value(3).toDouble();
        items << it;
    }
    return items;
}

double RemainingStock(double stock, const QString &spec, const QList<IssueLine> &onIssue)
{
    double left = stock;
    for (const IssueLine &l : onIssue) {
        // The stock table matches 规格 without regard to case.
        if (l.spec.compare(spec, Qt::CaseInsensitive) == 0)
            left -= platform::val(l.quantity);
    }
    return left;
}

const QStringList &queryTables()
{
    static const QStringList tables = {u"入库单"_s, u"出库单"_s, u"库存表"_s};
    return tables;
}

std::optional<QList<QueryField>> BillStore::QueryFields(const QString &table)
{
    if (!ensureOpen(m_db, &m_error))
        return std::nullopt;
    if (!queryTables().contains(table)) {
        m_error = u"没有表“%1”"_s.arg(table);
        return std::nullopt;
    }
    const QSqlRecord rec = m_db.record(table);
    if (rec.isEmpty()) {
        m_error = u"无法读取表“%1”"_s.arg(table);
        return std::nullopt;
    }
    // Dates are stored as texts; the columns that hold them are known by name.
    static const QStringList dateColumns = {u"采购日期"_s, u"出库日期"_s};
    QList<QueryField> fields;
    for (int i = 0; i < rec.count(); ++i) {
        const QSqlField f = rec.field(i);
        QueryField qf{f.name(), FieldKind::Text};
        if (dateColumns.contains(f.name()))
            qf.kind = FieldKind::Date;
        else if (f.metaType().id() == QMetaType::Double || f.metaType().id() == QMetaType::Int
                 || f.metaType().id() == QMetaType::LongLong)
            qf.kind = FieldKind::Number;
        fields << qf;
    }
    return fields;
}

std::optional<QDate> parseDateValue(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &format : {u"yyyy-M-d"_s, u"yyyy/M/d"_s, u"yyyy.M.d"_s}) {
        const QDate d = QDate::fromString(t, format);
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

QString queryValueProblem(FieldKind kind, const QString &value)
{
    if (kind == FieldKind::Number && !platform::isNumeric(value))
        return u"数据是数值类型,请正确输入!"_s;
    if (kind == FieldKind::Date && !parseDateValue(value))
        return u"数据是日期类型(2002-03-04),请正确输入!"_s;
    return {};
}

std::optional<QueryResult> BillStore::RunQuery(const QString &table, const std::optional<QueryCondition> &condition)
{
    const auto fields = QueryFields(table);
    if (!fields)
        return std::nullopt;
    QString sql = u"SELECT * FROM "_s + platform::ident(table);
    QVariantList values;
    if (condition) {
        const auto it = std::find_if(fields->begin(), fields->end(),
                                     [&](const QueryField &f) { return f.name == condition->field; });
        if (it == fields->end()) {
            m_error = u"表“%1”中没有字段“%2”"_s.arg(table, condition->field);
            return std::nullopt;
        }
        const QString problem = queryValueProblem(it->kind, condition->value);
        if (!problem.isEmpty()) {
            m_error = problem;
            return std::nullopt;
        }
        switch (it->kind) {
        case FieldKind::Number: values << platform::val(condition->value); break;
        case FieldKind::Date: values << parseDateValue(condition->value)->toString(kDateFormat); break;
        case FieldKind::Text: values << condition->value; break;
        }
        sql += u" WHERE "_s + platform::ident(it->name) + u" = ?"_s;
    }
    sql += u" ORDER BY rowid"_s;
    QSqlQuery q(m_db);
    if (!platform::execBound(m_db, sql, values, &m_error, &q))
        return std::nullopt;
    QueryResult r;
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        r.columns << rec.fieldName(i);
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < rec.count(); ++i)
            row << fieldText(q.value(i));
        r.rows << row;
    }
    return r;
}

std::optional<QList<QStringList>> BillStore::ReceiptLineRows(const QString &billNo)
{
    return lineRows(m_db, u"入库单子表"_s, billNo, &m_error);
}

std::optional<QList<QStringList>> BillStore::IssueLineRows(const QString &billNo)
{
    return lineRows(m_db, u"出库单子表"_s, billNo, &m_error);
}

} // namespace warehouse
