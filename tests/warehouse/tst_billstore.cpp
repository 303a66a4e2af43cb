#include "../app/fixture.h"
#include "../platform/pagecheck.h"

#include "warehouse/billstore.h"
#include "warehouse/warehousereports.h"
#include "warehouse/warehousestore.h"

#include <QSqlRecord>

using namespace Qt::StringLiterals;
using namespace warehouse;
using testfixture::rowCount;

namespace {
// Rows of a query as "a|b|c", in table order.
QStringList rows(const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(ckDb());
    QString err;
    if (!platform::execBound(ckDb(), sql, values, &err, &q))
        qWarning("%s", qPrintable(err));
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << fieldText(q.value(i));
        out << cells.join(u'|');
    }
    return out;
}

QStringList stockRows() { return rows(u"SELECT 名称, 规格, 厂家, 单位, 种类, 入库量, 库存量 FROM 库存表 ORDER BY rowid"_s); }

bool addStock(const QString &name, const QString &spec, const QString &kind, double received, const QVariant &stock)
{
    return testfixture::exec(ckDb(),
                             u"INSERT INTO 库存表 (名称, 规格, 厂家, 单位, 种类, 入库量, 库存量) VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                             {name, spec, u"老厂"_s, u"支"_s, kind, received, stock});
}

ReceiptBill receipt(const QString &no, const QList<ReceiptLine> &lines)
{
    return {no, u"O'Brien型材厂"_s, u"二号楼"_s, u"A-7"_s, u"李工"_s, QDate(2002, 3, 4), lines};
}

IssueBill issue(const QString &no, const QList<IssueLine> &lines)
{
    return {no, u"二号楼"_s, u"王五"_s, u"赵六"_s, QDate(2002, 3, 5), lines};
}

// Every text of every page of a report, in order.
QStringList reportTexts(const platform::Report &r)
{
    QStringList all;
    for (const QStringList &page : platform::reportPageTexts(r))
        all << page;
    return all;
}

const QStringList kTables = {u"入库单"_s, u"出库单"_s, u"入库单子表"_s, u"出库单子表"_s, u"库存表"_s};
} // namespace

class TstBillStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // receipts
    void receiptAmount_data();
    void receiptAmount();
    void receiptSaveStoresBillAndBooksStock();
    void receiptBookingOfKnownSpec();
    void receiptFailingHalfWayWritesNothing_data();
    void receiptFailingHalfWayWritesNothing();
    void receiptOfInfiniteValuesIsRefused_data();
    void receiptOfInfiniteValuesIsRefused();

    // issues
    void issueSaveLowersOnlyStock();
    void issueRefusedWritesNothing_data();
    void issueRefusedWritesNothing();
    void stockKindsAndItems();
    void remainingStockCountsLinesOnTheIssue();

    // query window
    void queryFieldsKnowTheirKind();
    void queryByCondition_data();
    void queryByCondition();
    void queryRefusesBadValues_data();
    void queryRefusesBadValues();
    void billLineRows();

    // printing
    void receiptBillReport();
    void issueBillReport();
    void stockReport();
    void reportOfMissingBillFails();
    void reportsOnPaper();

    void withoutWarehouseNothingPretends();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstBillStore::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    QCOMPARE(int(OpenCKDatabase().status), int(app::OpenStatus::Opened));
}

void TstBillStore::cleanup()
{
    platform::closeConnection(kCKConn);
    m_fx.reset();
}

void TstBillStore::receiptAmount_data()
{
    QTest::addColumn<QList<QStringList>>("priceQuantity");
    QTest::addColumn<QString>("amount");
    QTest::newRow("two lines") << QList<QStringList>{{u"2.5"_s, u"4"_s}, {u"10"_s, u"3"_s}} << u"40"_s;
    QTest::newRow("no lines") << QList<QStringList>{} << u"0"_s;
    QTest::newRow("empty and odd texts read as leading numbers")
        << QList<QStringList>{{u""_s, u"4"_s}, {u"1.5."_s, u"2"_s}} << u"3"_s;
    QTest::newRow("decimal sums keep their cents") << QList<QStringList>{{u"0.1"_s, u"1"_s}, {u"0.2"_s, u"1"_s}}
                                                  << u"0.3"_s;
    // A large bill still shows its cents (single precision would print 1234568).
    QTest::newRow("large amount") << QList<QStringList>{{u"12345.67"_s, u"100"_s}, {u"0.01"_s, u"1"_s}}
                                  << u"1234567.01"_s;
}

void TstBillStore::receiptAmount()
{
    QFETCH(QList<QStringList>, priceQuantity);
    QFETCH(QString, amount);
    QList<ReceiptLine> lines;
    for (const QStringList &pq : priceQuantity)
        lines << ReceiptLine{u"型材"_s, u"A60"_s, u"支"_s, pq[0], pq[1], u"型材"_s};
    QCOMPARE(amountText(SumReceiptAmount(lines)), amount);
}

void TstBillStore::receiptSaveStoresBillAndBooksStock()
{
    // Two lines of the same new 规格 and one of another; quotes in texts are stored as typed.
    const ReceiptBill bill = receipt(u"7"_s,
                                     {{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s},
                                      {u"扇料"_s, u"A60"_s, u"根"_s, u"10"_s, u"3"_s, u"五金件"_s},
                                      {u"钢'衬"_s, u"G'1"_s, u"支"_s, u"1"_s, u"2"_s, u"型钢"_s}});
    double amount = -1;
    BillStore store;
    QVERIFY2(store.SaveReceiptBill(bill, &amount), qPrintable(store.lastError()));
    QCOMPARE(amount, 42.0);
    QCOMPARE(rows(u"SELECT * FROM 入库单"_s), QStringList{u"7|O'Brien型材厂|42|二号楼|A-7|李工|2002-03-04"_s});
    QCOMPARE(rows(u"SELECT * FROM 入库单子表 ORDER BY rowid"_s),
             (QStringList{u"7|框料|A60|支|2.5|4|型材"_s, u"7|扇料|A60|根|10|3|五金件"_s, u"7|钢'衬|G'1|支|1|2|型钢"_s}));
    // The first line makes the stock row (maker = the bill's source); the second adds to it.
    QCOMPARE(stockRows(), (QStringList{u"框料|A60|O'Brien型材厂|支|型材|7|7"_s, u"钢'衬|G'1|O'Brien型材厂|支|型钢|2|2"_s}));
    QCOMPARE(store.GetNextInBillNo().value_or(QString()), u"8"_s);
}

void TstBillStore::receiptBookingOfKnownSpec()
{
    // 规格 alone finds the row, whatever the name or its case; the row keeps its first texts, and
    // the total received keeps its fraction.
    QVERIFY(addStock(u"旧名"_s, u"a60"_s, u"型材"_s, 12.5, 12.5));
    BillStore store;
    QVERIFY2(store.SaveReceiptBill(receipt(u"1"_s, {{u"新名"_s, u"A60"_s, u"根"_s, u"1"_s, u"3"_s, u"型钢"_s}}), nullptr),
             qPrintable(store.lastError()));
    QCOMPARE(stockRows(), QStringList{u"旧名|a60|老厂|支|型材|15.5|15.5"_s});
}

void TstBillStore::receiptFailingHalfWayWritesNothing_data()
{
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QString>("billNo");
    QTest::newRow("stock insert refused")
        << u"CREATE TRIGGER t BEFORE INSERT ON 库存表 BEGIN SELECT RAISE(ABORT, 'no'); END"_s << u"3"_s;
    QTest::newRow("stock update refused")
        << u"CREATE TRIGGER t BEFORE UPDATE ON 库存表 BEGIN SELECT RAISE(ABORT, 'no'); END"_s << u"3"_s;
    QTest::newRow("line table missing") << u"DROP TABLE 入库单子表"_s << u"3"_s;
    QTest::newRow("bill number not a number") << u"SELECT 1"_s << u"3x"_s;
}

void TstBillStore::receiptFailingHalfWayWritesNothing()
{
    QFETCH(QString, sabotage);
    QFETCH(QString, billNo);
    QVERIFY(addStock(u"旧"_s, u"OLD"_s, u"型材"_s, 5, 5));
    QVERIFY(testfixture::exec(ckDb(), sabotage));
    const ReceiptBill bill = receipt(billNo, {{u"旧"_s, u"OLD"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s},
                                              {u"新"_s, u"NEW"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}});
    double amount = -1;
    BillStore store;
    QVERIFY(!store.SaveReceiptBill(bill, &amount));
    QVERIFY(!store.lastError().isEmpty());
    QCOMPARE(amount, -1.0);
    QCOMPARE(rowCount(ckDb(), u"入库单"_s), 0);
    QCOMPARE(stockRows(), QStringList{u"旧|OLD|老厂|支|型材|5|5"_s});
    // The connection is usable afterwards.
    QVERIFY(testfixture::exec(ckDb(), u"INSERT INTO 入库单 (单据编号) VALUES (1)"_s));
}

void TstBillStore::receiptOfInfiniteValuesIsRefused_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("message");
    QTest::newRow("amount beyond the double range") << u"1E+308"_s << u"1E+308"_s << u"采购金额超出可计算的范围"_s;
    // The amount is 0, but the stock of OLD would pass the range.
    QTest::newRow("stock beyond the double range") << u"0"_s << u"1.7E+308"_s << u"超出可保存的范围"_s;
}

void TstBillStore::receiptOfInfiniteValuesIsRefused()
{
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, message);
    QVERIFY(addStock(u"旧"_s, u"OLD"_s, u"型材"_s, 1.7e308, 1.7e308));
    const QStringList stock = stockRows();
    double amount = -1;
    BillStore store;
    QVERIFY(!store.SaveReceiptBill(receipt(u"3"_s, {{u"旧"_s, u"OLD"_s, u"支"_s, price, quantity, u"型材"_s}}), &amount));
    QVERIFY2(store.lastError().contains(message), qPrintable(store.lastError()));
    QCOMPARE(amount, -1.0);
    QCOMPARE(rowCount(ckDb(), u"入库单"_s), 0);
    QCOMPARE(rowCount(ckDb(), u"入库单子表"_s), 0);
    QCOMPARE(stockRows(), stock);
}

void TstBillStore::issueSaveLowersOnlyStock()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 20, 12));
    QVERIFY(addStock(u"钢"_s, u"G1"_s, u"型钢"_s, 5, 5));
    const IssueBill bill = issue(u"4"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s},
                                          {u"框料"_s, u"a60"_s, u"支"_s, u"7"_s, u"型材"_s},
                                          {u"钢"_s, u"G1"_s, u"支"_s, u"2"_s, u"型钢"_s}});
    BillStore store;
    QVERIFY2(store.SaveIssueBill(bill), qPrintable(store.lastError()));
    QCOMPARE(rows(u"SELECT * FROM 出库单"_s), QStringList{u"4|二号楼|王五|赵六|2002-03-05"_s});
    QCOMPARE(rows(u"SELECT * FROM 出库单子表 ORDER BY rowid"_s),
             (QStringList{u"4|框料|A60|支|5|型材"_s, u"4|框料|a60|支|7|型材"_s, u"4|钢|G1|支|2|型钢"_s}));
    // Both lines of A60 come off its stock, down to exactly zero; 入库量 stays.
    QCOMPARE(stockRows(), (QStringList{u"框料|A60|老厂|支|型材|20|0"_s, u"钢|G1|老厂|支|型钢|5|3"_s}));
    QCOMPARE(store.GetNextOutBillNo().value_or(QString()), u"5"_s);
}

void TstBillStore::issueRefusedWritesNothing_data()
{
    QTest::addColumn<QList<QStringList>>("lines");
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QString>("message");
    const QStringList ok = {u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s};
    // The warehouse was emptied of this 规格 since it was picked.
    QTest::newRow("spec not in stock")
        << QList<QStringList>{ok, {u"玻璃"_s, u"5mm"_s, u"片"_s, u"1"_s, u"板材"_s}} << QString() << u"5mm"_s;
    // Two picks of the same row that together exceed the stock.
    QTest::newRow("more than in stock") << QList<QStringList>{ok, {u"框料"_s, u"A60"_s, u"支"_s, u"8"_s, u"型材"_s}}
                                        << QString() << u"A60"_s;
    QTest::newRow("stock update refused")
        << QList<QStringList>{ok} << u"CREATE TRIGGER t BEFORE UPDATE ON 库存表 BEGIN SELECT RAISE(ABORT, 'no'); END"_s
        << u"no"_s;
}

void TstBillStore::issueRefusedWritesNothing()
{
    QFETCH(QList<QStringList>, lines);
    QFETCH(QString, sabotage);
    QFETCH(QString, message);
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 20, 12));
    if (!sabotage.isEmpty())
        QVERIFY(testfixture::exec(ckDb(), sabotage));
    QList<IssueLine> issueLines;
    for (const QStringList &l : lines)
        issueLines << IssueLine::fromTexts(l);
    BillStore store;
    QVERIFY(!store.SaveIssueBill(issue(u"1"_s, issueLines)));
    QVERIFY2(store.lastError().contains(message), qPrintable(store.lastError()));
    QCOMPARE(rowCount(ckDb(), u"出库单"_s), 0);
    QCOMPARE(rowCount(ckDb(), u"出库单子表"_s), 0);
    QCOMPARE(stockRows(), QStringList{u"框料|A60|老厂|支|型材|20|12"_s});
}

void TstBillStore::stockKindsAndItems()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 20, 12));
    QVERIFY(addStock(u"钢"_s, u"G1"_s, u"型钢"_s, 5, 2.5));
    QVERIFY(addStock(u"扇料"_s, u"B70"_s, u"型材"_s, 3, QVariant()));
    BillStore store;
    const auto kinds = store.StockKinds();
    QVERIFY2(kinds, qPrintable(store.lastError()));
    QCOMPARE(QSet<QString>(kinds->begin(), kinds->end()), (QSet<QString>{u"型材"_s, u"型钢"_s}));
    QCOMPARE(kinds->size(), 2);

    const auto items = store.StockItems(u"型材"_s);
    QVERIFY2(items, qPrintable(store.lastError()));
    QCOMPARE(items->size(), 2);
    QCOMPARE(items->at(0).name, u"框料"_s);
    QCOMPARE(items->at(0).spec, u"A60"_s);
    QCOMPARE(items->at(0).unit, u"支"_s);
    QCOMPARE(items->at(0).stockText, u"12"_s);
    QCOMPARE(items->at(0).stock, 12.0);
    // An empty stock reads as nothing to issue.
    QCOMPARE(items->at(1).stockText, QString());
    QCOMPARE(items->at(1).stock, 0.0);
    QCOMPARE(store.StockItems(u"型钢"_s)->at(0).stockText, u"2.5"_s);
    QVERIFY(store.StockItems(u"没有"_s)->isEmpty());
}

void TstBillStore::remainingStockCountsLinesOnTheIssue()
{
    const QList<IssueLine> lines = {{u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s},
                                    {u"钢"_s, u"G1"_s, u"支"_s, u"2"_s, u"型钢"_s},
                                    {u"框料"_s, u"a60"_s, u"支"_s, u"4"_s, u"型材"_s}};
    QCOMPARE(RemainingStock(12, u"A60"_s, lines), 3.0);
    QCOMPARE(RemainingStock(12, u"B70"_s, lines), 12.0);
    QCOMPARE(RemainingStock(12, u"A60"_s, {}), 12.0);
}

void TstBillStore::queryFieldsKnowTheirKind()
{
    BillStore store;
    const auto fields = store.QueryFields(u"入库单"_s);
    QVERIFY2(fields, qPrintable(store.lastError()));
    QStringList described;
    for (const QueryField &f : *fields)
        described << f.name + u':' + QString::number(int(f.kind));
    const QString n = QString::number(int(FieldKind::Number)), d = QString::number(int(FieldKind::Date)),
                  t = QString::number(int(FieldKind::Text));
    QCOMPARE(described, (QStringList{u"单据编号:"_s + n, u"来料来源:"_s + t, u"采购金额:"_s + n, u"用途:"_s + t,
                                     u"说明:"_s + t, u"采购员:"_s + t, u"采购日期:"_s + d}));
    QCOMPARE(store.QueryFields(u"出库单"_s)->last().kind, FieldKind::Date);
    QCOMPARE(store.QueryFields(u"库存表"_s)->size(), 7);
    QVERIFY(!store.QueryFields(u"User"_s));
}

void TstBillStore::queryByCondition_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("firstColumn");
    QTest::newRow("date") << u"入库单"_s << u"采购日期"_s << u"2002-03-04"_s << QStringList{u"1"_s, u"3"_s};
    QTest::newRow("date without leading zeros") << u"入库单"_s << u"采购日期"_s << u"2002-3-4"_s
                                                << QStringList{u"1"_s, u"3"_s};
    QTest::newRow("number") << u"出库单"_s << u"单据编号"_s << u"12"_s << QStringList{u"12"_s};
    QTest::newRow("number as decimal") << u"入库单"_s << u"采购金额"_s << u"40.0"_s << QStringList{u"3"_s};
    QTest::newRow("text") << u"库存表"_s << u"规格"_s << u"A60"_s << QStringList{u"框料"_s};
    QTest::newRow("text with quote") << u"库存表"_s << u"规格"_s << u"G'1"_s << QStringList{u"钢"_s};
    QTest::newRow("text matching nothing") << u"库存表"_s << u"规格"_s << u"' OR 1=1 --"_s << QStringList{};
    QTest::newRow("whole table") << u"库存表"_s << QString() << QString() << QStringList{u"框料"_s, u"钢"_s};
}

void TstBillStore::queryByCondition()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, firstColumn);
    BillStore store;
    QVERIFY(store.SaveReceiptBill(receipt(u"1"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}}), nullptr));
    ReceiptBill other = receipt(u"2"_s, {{u"钢"_s, u"G'1"_s, u"支"_s, u"1"_s, u"1"_s, u"型钢"_s}});
    other.date = QDate(2002, 3, 5);
    QVERIFY(store.SaveReceiptBill(other, nullptr));
    QVERIFY(store.SaveReceiptBill(receipt(u"3"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"10"_s, u"4"_s, u"型材"_s}}), nullptr));
    QVERIFY(store.SaveIssueBill(issue(u"12"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"1"_s, u"型材"_s}})));

    std::optional<QueryCondition> condition;
    if (!field.isEmpty())
        condition = QueryCondition{field, value};
    const auto r = store.RunQuery(table, condition);
    QVERIFY2(r, qPrintable(store.lastError()));
    QStringList expectedColumns;
    const auto fields = store.QueryFields(table);
    QVERIFY(fields);
    for (const QueryField &f : *fields)
        expectedColumns << f.name;
    QCOMPARE(r->columns, expectedColumns);
    QStringList first;
    for (const QStringList &row : r->rows) {
        QCOMPARE(row.size(), r->columns.size());
        first << row.first();
    }
    QCOMPARE(first, firstColumn);
    if (table == u"入库单"_s && !first.isEmpty() && first.first() == u"1"_s)
        QCOMPARE(r->rows.first(), (QStringList{u"1"_s, u"O'Brien型材厂"_s, u"1"_s, u"二号楼"_s, u"A-7"_s, u"李工"_s,
                                               u"2002-03-04"_s}));
}

void TstBillStore::queryRefusesBadValues_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("number with letters") << u"出库单"_s << u"单据编号"_s << u"1a"_s << u"数据是数值类型,请正确输入!"_s;
    QTest::newRow("impossible date") << u"入库单"_s << u"采购日期"_s << u"2002-13-45"_s
                                     << u"数据是日期类型(2002-03-04),请正确输入!"_s;
    QTest::newRow("unknown field") << u"库存表"_s << u"规格='x' OR 1"_s << u"x"_s << u"没有字段"_s;
}

void TstBillStore::queryRefusesBadValues()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    BillStore store;
    QVERIFY(!store.RunQuery(table, QueryCondition{field, value}));
    QVERIFY2(store.lastError().contains(message), qPrintable(store.lastError()));
}

void TstBillStore::billLineRows()
{
    BillStore store;
    QVERIFY(store.SaveReceiptBill(receipt(u"5"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s},
                                             {u"钢"_s, u"G1"_s, u"支"_s, u"1"_s, u"2"_s, u"型钢"_s}}),
                            nullptr));
    QVERIFY(store.SaveReceiptBill(receipt(u"6"_s, {{u"玻璃"_s, u"5mm"_s, u"片"_s, u"1"_s, u"1"_s, u"板材"_s}}), nullptr));
    QVERIFY(store.SaveIssueBill(issue(u"2"_s, {{u"钢"_s, u"G1"_s, u"支"_s, u"2"_s, u"型钢"_s}})));
    QCOMPARE(*store.ReceiptLineRows(u"5"_s), (QList<QStringList>{{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s},
                                                                {u"钢"_s, u"G1"_s, u"支"_s, u"1"_s, u"2"_s, u"型钢"_s}}));
    QCOMPARE(*store.IssueLineRows(u"2"_s), (QList<QStringList>{{u"钢"_s, u"G1"_s, u"支"_s, u"2"_s, u"型钢"_s}}));
    QVERIFY(store.ReceiptLineRows(u"9"_s)->isEmpty());
    QVERIFY(!store.ReceiptLineRows(u"5 or 1"_s));
}

void TstBillStore::receiptBillReport()
{
    QString err;
    BillStore store;
    QVERIFY(store.SaveReceiptBill(receipt(u"5"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s},
                                             {u"钢"_s, u"G1"_s, u"支"_s, u"10"_s, u"3"_s, u"型钢"_s}}),
                            nullptr));
    QVERIFY(store.SaveReceiptBill(receipt(u"6"_s, {{u"玻璃"_s, u"5mm"_s, u"片"_s, u"1"_s, u"1"_s, u"板材"_s}}), nullptr));
    const auto r = ReceiptBillReport(u"5"_s, &err);
    QVERIFY2(r, qPrintable(err));
    QCOMPARE(r->title, u"入   库   单"_s);
    const QStringList texts = reportTexts(*r);
    for (const QString &t : {u"入   库   单"_s, u"单据编号: 5"_s, u"购料来源: O'Brien型材厂"_s, u"应用项目: 二号楼"_s,
                             u"说    明: A-7"_s, u"采购金额(元): 40"_s, u"采 购 员: 李工"_s, u"采购日期: 2002-03-04"_s,
                             u"名    称"_s, u"单位单价"_s, u"种  类"_s, u"框料"_s, u"A60"_s, u"2.5"_s, u"型钢"_s})
        QVERIFY2(texts.contains(t), qPrintable(t));
    // Only this bill's lines.
    QVERIFY(!texts.contains(u"玻璃"_s));
    QVERIFY(texts.indexOf(u"框料"_s) < texts.indexOf(u"钢"_s));
}

void TstBillStore::issueBillReport()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 20, 12));
    QString err;
    BillStore store;
    QVERIFY(store.SaveIssueBill(issue(u"3"_s, {{u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s}})));
    const auto r = IssueBillReport(u"3"_s, &err);
    QVERIFY2(r, qPrintable(err));
    const QStringList texts = reportTexts(*r);
    for (const QString &t : {u"出   库   单"_s, u"单据编号: 3"_s, u"应用项目: 二号楼"_s, u"说    明: 王五"_s,
                             u"仓 管 员: 赵六"_s, u"出库日期: 2002-03-05"_s, u"数  量"_s, u"框料"_s, u"5"_s})
        QVERIFY2(texts.contains(t), qPrintable(t));
}

void TstBillStore::stockReport()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 20, 12.5));
    QVERIFY(addStock(u"钢"_s, u"G1"_s, u"型钢"_s, 5, 5));
    QString err;
    const auto r = StockReport(QDate(2026, 12, 10), &err);
    QVERIFY2(r, qPrintable(err));
    QCOMPARE(r->title, u"库   存   表"_s);
    const QStringList texts = reportTexts(*r);
    const QStringList expected = {u"日    期:2026-12-10"_s, u"名    称"_s, u"规    格"_s, u"厂    家"_s, u"单位"_s,
                                  u"入库量"_s, u"库存量"_s, u"种  类"_s, u"框料"_s, u"A60"_s, u"老厂"_s, u"支"_s,
                                  u"20"_s, u"12.5"_s, u"型材"_s, u"钢"_s};
    int from = 0;
    for (const QString &t : expected) {
        const int at = texts.indexOf(t, from);
        QVERIFY2(at >= 0, qPrintable(t + u" in order"_s));
        from = at + 1;
    }
}

void TstBillStore::reportOfMissingBillFails()
{
    QString err;
    QVERIFY(!ReceiptBillReport(u"99"_s, &err));
    QVERIFY(!err.isEmpty());
    err.clear();
    QVERIFY(!IssueBillReport(u"x"_s, &err));
    QVERIFY(!err.isEmpty());
}

// Bills and the stock list with 60-character names and 规格 texts keep to their cells and the
// sheet.
void TstBillStore::reportsOnPaper()
{
    const QString name60 = QString(u"5+9+5中空钢化玻璃加厚型"_s).repeated(5).left(60);
    const QString spec = u"5+9+5-1200*1800-Low-E-0123456789"_s;
    QList<ReceiptLine> in;
    QList<IssueLine> out;
    for (int i = 0; i < 40; ++i) {
        in << ReceiptLine{name60, spec + QString::number(i), u"平方米"_s, u"12345.67"_s, u"100.025"_s, name60};
        out << IssueLine{name60, spec + QString::number(i), u"平方米"_s, u"100.025"_s, name60};
    }
    ReceiptBill r = receipt(u"5"_s, in);
    r.source = r.purpose = r.note = r.buyer = name60;
    IssueBill o = issue(u"6"_s, out);
    o.purpose = o.note = o.keeper = name60;
    QString err;
    BillStore store;
    QVERIFY2(store.SaveReceiptBill(r, nullptr), qPrintable(store.lastError()));
    QVERIFY2(store.SaveIssueBill(o), qPrintable(store.lastError()));
    for (const auto &report : {ReceiptBillReport(u"5"_s, &err), IssueBillReport(u"6"_s, &err),
                               StockReport(QDate(2026, 12, 10), &err)}) {
        QVERIFY2(report, qPrintable(err));
        const QStringList faults = pagecheck::reportFaults(*report);
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
    }
}

void TstBillStore::withoutWarehouseNothingPretends()
{
    platform::closeConnection(kCKConn);
    QString err;
    BillStore store;
    QVERIFY(!store.SaveReceiptBill(receipt(u"1"_s, {}), nullptr));
    QVERIFY(!store.lastError().isEmpty());
    BillStore issues;
    QVERIFY(!issues.SaveIssueBill(issue(u"1"_s, {})));
    QVERIFY(!issues.lastError().isEmpty());
    QVERIFY(!store.StockKinds());
    QVERIFY(!store.RunQuery(u"库存表"_s, std::nullopt));
    QVERIFY(!StockReport(QDate::currentDate(), &err));
}

QTEST_MAIN(TstBillStore)
#include "tst_billstore.moc"
