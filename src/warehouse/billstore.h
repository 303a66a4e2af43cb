#pragma once
// Every statement on the warehouse database (CangKu.mdb): receipt and issue bills with their stock
// booking, the next bill numbers, the stock lists of the issue picker, the queries of the query
// window, and emptying the warehouse. Values are bound; a change of more than one statement is all
// or nothing.
#include "billtypes.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace warehouse {

// Sum of Val(数量) × Val(单价) over the lines, in double precision (money keeps its cents).
double SumReceiptAmount(const QList<ReceiptLine> &lines);
// The amount as the bill shows and stores it ("40", "12.5").
QString amountText(double amount);

// What may still be issued of one 规格: its stock less the quantities already on the issue.
double RemainingStock(double stock, const QString &spec, const QList<IssueLine> &onIssue);

// The three tables of the query window, by tab.
const QStringList &queryTables();

// Why a typed value cannot be compared with a field of that kind: "数据是数值类型,请正确输入!",
// "数据是日期类型(2002-03-04),请正确输入!", or "" when it can.
QString queryValueProblem(FieldKind kind, const QString &value);

// A typed date value ("2002-03-04", "2002-3-4", "2002/3/4"); nullopt when it is no date.
std::optional<QDate> parseDateValue(const QString &text);

// A field value as the lists show it: numbers in the general form, empty for no value.
QString fieldText(const QVariant &value);

class BillStore
{
public:
    // The warehouse connection as it is now; the next store made sees a later reopen.
    BillStore();
    explicit BillStore(QSqlDatabase db);

    // Why the last call failed, readable by the user; empty after a call that succeeded.
    QString lastError() const { return m_error; }

    // Stores the header with the computed amount, the lines, and adds every line to stock (a new
    // stock row per unknown 规格, 厂家 = 来料来源); all in one transaction: on failure nothing is
    // written. *amount receives the stored amount.
    bool SaveReceiptBill(const ReceiptBill &bill, double *amount = nullptr);
    // Stores the header and the lines and takes every line from 库存量, in one transaction. Refused
    // (nothing written) when a line's 规格 has no stock row or its stock would fall below zero.
    bool SaveIssueBill(const IssueBill &bill);

    // Next free receipt / issue bill number: the largest 单据编号 plus one, "1" when the table is
    // empty or its largest number is 0. nullopt when the query fails or the warehouse is not open,
    // so that no bill is started on a guessed number.
    std::optional<QString> GetNextInBillNo();
    std::optional<QString> GetNextOutBillNo();

    // Deletes every row of the five warehouse tables in one transaction; on failure nothing is
    // deleted. Asks nothing.
    bool ClearWarehouse();

    // The kinds present in stock (one each), and the stock rows of one kind in table order.
    std::optional<QStringList> StockKinds();
    std::optional<QList<StockItem>> StockItems(const QString &kind);

    // Columns of a query table in stored order, with how a value for each is checked and compared.
    std::optional<QList<QueryField>> QueryFields(const QString &table);
    // The whole table, or its rows whose field equals the value (numbers as numbers, dates by their
    // date, texts as texts; the value is always bound, never joined into the statement).
    std::optional<QueryResult> RunQuery(const QString &table, const std::optional<QueryCondition> &condition);

    // Line rows of a stored bill without the bill number column, as the bill window lists them.
    std::optional<QList<QStringList>> ReceiptLineRows(const QString &billNo);
    std::optional<QList<QStringList>> IssueLineRows(const QString &billNo);

private:
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace warehouse
