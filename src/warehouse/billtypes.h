#pragma once
// The warehouse's values as its windows hold them: receipts and issues with their lines, stock rows
// of the issue picker, and the fields, condition and result of a query.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace warehouse {

// A receipt line as the bill window lists it (texts as typed).
struct ReceiptLine
{
    QString name, spec, unit, price, quantity, kind;
    QStringList texts() const { return {name, spec, unit, price, quantity, kind}; }
    static ReceiptLine fromTexts(const QStringList &t);
};

struct ReceiptBill
{
    QString billNo; // the number shown in the window
    QString source, purpose, note, buyer;
    QDate date;
    QList<ReceiptLine> lines;
};

// An issue line as the bill window lists it.
struct IssueLine
{
    QString name, spec, unit, quantity, kind;
    QStringList texts() const { return {name, spec, unit, quantity, kind}; }
    static IssueLine fromTexts(const QStringList &t);
};

struct IssueBill
{
    QString billNo;
    QString purpose, note, keeper;
    QDate date;
    QList<IssueLine> lines;
};

// A stock row as the issue picker lists it.
struct StockItem
{
    QString name, spec, unit, kind;
    QString stockText; // 库存量 in the list's form, "" when empty
    double stock = 0;  // 库存量, 0 when empty
};

enum class FieldKind { Number, Date, Text };
struct QueryField
{
    QString name;
    FieldKind kind = FieldKind::Text;
};

struct QueryCondition
{
    QString field;
    QString value; // already checked against the field's kind
};

struct QueryResult
{
    QStringList columns;
    QList<QStringList> rows; // field texts in column order
};

} // namespace warehouse
