#pragma once
// Receipt and issue bills with their stock booking, the stock lists of the issue picker and the
// queries of the query window, all on the warehouse connection.
#include "billtypes.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace warehouse {

// Sum of Val(数量) × Val(单价) over the lines, in double precision (money keeps its cents).
double SumReceiptAmount(const QList<ReceiptLine> &lines);
// The amount as the bill shows and stores it ("40", "12.5").
QString amountText(double amount);

// Stores the header with the computed amount, the lines, and adds every line to stock (a new stock
// row per unknown 规格, 厂家 = 来料来源); all in one transaction: on failure nothing is written
// and *error holds the reason. *amount receives the stored amount.
bool SaveReceiptBill(const ReceiptBill &bill, double *amount, QString *error);

// Stores the header and the lines and takes every line from 库存量, in one transaction. Refused
// (nothing written) when a line's 规格 has no stock row or its stock would fall below zero.
bool SaveIssueBill(const IssueBill &bill, QString *error);

// The kinds present in stock (one each), and the stock rows of one kind in table order.
std::optional<QStringList> StockKinds(QString *error);
std::optional<QList<StockItem>> StockItems(const QString &kind, QString *error);

// What may still be issued of one 规格: its stock less the quantities already on the issue.
double RemainingStock(double stock, const QString &spec, const QList<IssueLine> &onIssue);

// --- query window

// The three tables of the query window, by tab.
const QStringList &queryTables();

// Columns of a query table in stored order, with how a value for each is checked and compared.
std::optional<QList<QueryField>> QueryFields(const QString &table, QString *error);

// Why a typed value cannot be compared with a field of that kind: "数据是数值类型,请正确输入!",
// "数据是日期类型(2002-03-04),请正确输入!", or "" when it can.
QString queryValueProblem(FieldKind kind, const QString &value);

// A typed date value ("2002-03-04", "2002-3-4", "2002/3/4"); nullopt when it is no date.
std::optional<QDate> parseDateValue(const QString &text);

// The whole table, or its rows whose field equals the value (numbers as numbers, dates by their
// date, texts as texts; the value is always bound, never joined into the statement).
std::optional<QueryResult> RunQuery(const QString &table, const std::optional<QueryCondition> &condition,
                                    QString *error);

// Line rows of a stored bill without the bill number column, as the bill window lists them.
std::optional<QList<QStringList>> ReceiptLineRows(const QString &billNo, QString *error);
std::optional<QList<QStringList>> IssueLineRows(const QString &billNo, QString *error);

// A field value as the lists show it: numbers in the general form, empty for no value.
QString fieldText(const QVariant &value);

} // namespace warehouse
