#include "../app/fixture.h"

#include "warehouse/billstore.h"
#include "warehouse/warehousestore.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace warehouse;
using testfixture::rowCount;

namespace {
const QStringList kTables = {u"入库单"_s, u"出库单"_s, u"入库单子表"_s, u"出库单子表"_s, u"库存表"_s};

bool addReceipt(qint64 no)
{
    return testfixture::exec(ckDb(), u"INSERT INTO 入库单 (单据编号, 来料来源) VALUES (?, ?)"_s, {no, u"供方"_s});
}

bool addIssue(qint64 no)
{
    return testfixture::exec(ckDb(), u"INSERT INTO 出库单 (单据编号, 用途) VALUES (?, ?)"_s, {no, u"用"_s});
}

// One bill of each kind with a line, and one stock row.
bool fillWarehouse()
{
    return addReceipt(3) && addIssue(5)
        && testfixture::exec(ckDb(), u"INSERT INTO 入库单子表 (单据编号, 规格, 数量) VALUES (3, ?, 2)"_s, {u"60系列"_s})
        && testfixture::exec(ckDb(), u"INSERT INTO 出库单子表 (单据编号, 规格, 数量) VALUES (5, ?, 1)"_s, {u"60系列"_s})
        && testfixture::exec(ckDb(), u"INSERT INTO 库存表 (规格, 入库量, 库存量) VALUES (?, 2, 1)"_s, {u"60系列"_s});
}
// A bill number as text, or a marker for a failed query.
QString no(const std::optional<QString> &n) { return n.value_or(u"<failed>"_s); }
} // namespace

class TstWarehouseStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openFindsFileInDataFolder();
    void openReportsMissingAndDamagedFile_data();
    void openReportsMissingAndDamagedFile();
    void nextBillNumbers_data();
    void nextBillNumbers();
    void nextBillNumberFailureIsReported();
    void clearEmptiesEverything();
    void clearFailingHalfWayKeepsEverything_data();
    void clearFailingHalfWayKeepsEverything();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstWarehouseStore::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    const CKOpenResult r = OpenCKDatabase();
    QCOMPARE(int(r.status), int(app::OpenStatus::Opened));
}

void TstWarehouseStore::cleanup()
{
    platform::closeConnection(kCKConn);
    m_fx.reset();
}

void TstWarehouseStore::openFindsFileInDataFolder()
{
    const CKOpenResult r = OpenCKDatabase();
    QCOMPARE(int(r.status), int(app::OpenStatus::Opened));
    QCOMPARE(r.path, platform::dataFolder() + u"/CangKu.mdb"_s);
    QVERIFY(ckDb().isOpen());
    for (const QString &t : kTables)
        QVERIFY2(platform::tableNames(ckDb()).contains(t), qPrintable(t));
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstWarehouseStore::openReportsMissingAndDamagedFile_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<int>("status");
    QTest::newRow("missing") << false << int(app::OpenStatus::Missing);
    QTest::newRow("not a database") << true << int(app::OpenStatus::Failed);
}

void TstWarehouseStore::openReportsMissingAndDamagedFile()
{
    QFETCH(bool, damaged);
    QFETCH(int, status);
    platform::closeConnection(kCKConn);
    const QString path = platform::dataFile(u"CangKu.mdb"_s);
    QVERIFY(QFile::remove(path));
    if (damaged) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }

    const CKOpenResult r = OpenCKDatabase();
    QCOMPARE(int(r.status), status);
    QCOMPARE(r.path, path);
    QCOMPARE(r.error.isEmpty(), !damaged);
    QVERIFY(!ckDb().isOpen());
    QVERIFY(m_fx->msgs->shown.isEmpty()); // the caller shows the message

    // Without the warehouse nothing pretends to work.
    BillStore numbers;
    QCOMPARE(no(numbers.GetNextInBillNo()), u"<failed>"_s);
    QVERIFY(!numbers.lastError().isEmpty());
    BillStore clearing;
    QVERIFY(!clearing.ClearWarehouse());
    QVERIFY(!clearing.lastError().isEmpty());
}

void TstWarehouseStore::nextBillNumbers_data()
{
    QTest::addColumn<QList<qint64>>("receipts");
    QTest::addColumn<QList<qint64>>("issues");
    QTest::addColumn<QString>("nextIn");
    QTest::addColumn<QString>("nextOut");

    QTest::newRow("empty") << QList<qint64>{} << QList<qint64>{} << u"1"_s << u"1"_s;
    QTest::newRow("receipts only") << QList<qint64>{41, 7} << QList<qint64>{} << u"42"_s << u"1"_s;
    QTest::newRow("issues only") << QList<qint64>{} << QList<qint64>{7, 41} << u"1"_s << u"42"_s;
    QTest::newRow("tables independent") << QList<qint64>{3} << QList<qint64>{10} << u"4"_s << u"11"_s;
    QTest::newRow("largest zero") << QList<qint64>{0} << QList<qint64>{0} << u"1"_s << u"1"_s;
    QTest::newRow("large number, no grouping") << QList<qint64>{1234567} << QList<qint64>{99999} << u"1234568"_s
                                               << u"100000"_s;
}

void TstWarehouseStore::nextBillNumbers()
{
    QFETCH(QList<qint64>, receipts);
    QFETCH(QList<qint64>, issues);
    QFETCH(QString, nextIn);
    QFETCH(QString, nextOut);
    for (qint64 n : receipts)
        QVERIFY(addReceipt(n));
    for (qint64 n : issues)
        QVERIFY(addIssue(n));
    BillStore store;
    QCOMPARE(no(store.GetNextInBillNo()), nextIn);
    QCOMPARE(no(store.GetNextOutBillNo()), nextOut);
}

void TstWarehouseStore::nextBillNumberFailureIsReported()
{
    QVERIFY(addIssue(8));
    QVERIFY(testfixture::exec(ckDb(), u"DROP TABLE 入库单"_s));
    BillStore store;
    QCOMPARE(no(store.GetNextInBillNo()), u"<failed>"_s);
    QVERIFY(!store.lastError().isEmpty());
    QCOMPARE(no(store.GetNextOutBillNo()), u"9"_s);
}

void TstWarehouseStore::clearEmptiesEverything()
{
    QVERIFY(fillWarehouse());
    BillStore store;
    QCOMPARE(no(store.GetNextInBillNo()), u"4"_s);
    QVERIFY2(store.ClearWarehouse(), qPrintable(store.lastError()));
    for (const QString &t : kTables)
        QCOMPARE(rowCount(ckDb(), t), 0);
    QCOMPARE(no(store.GetNextInBillNo()), u"1"_s);
    QCOMPARE(no(store.GetNextOutBillNo()), u"1"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty()); // no question before, no message from the store
}

void TstWarehouseStore::clearFailingHalfWayKeepsEverything_data()
{
    QTest::addColumn<QString>("sabotage");
    QTest::addColumn<QStringList>("survivors");
    const QStringList others = {u"入库单"_s, u"出库单"_s, u"入库单子表"_s, u"库存表"_s};
    QTest::newRow("fourth table missing") << u"DROP TABLE 出库单子表"_s << others;
    QTest::newRow("last delete refused")
        << u"CREATE TRIGGER keep_stock BEFORE DELETE ON 库存表 BEGIN SELECT RAISE(ABORT, 'kept'); END"_s << kTables;
}

void TstWarehouseStore::clearFailingHalfWayKeepsEverything()
{
    QFETCH(QString, sabotage);
    QFETCH(QStringList, survivors);
    QVERIFY(fillWarehouse());
    QVERIFY(testfixture::exec(ckDb(), sabotage));

    BillStore store;
    QVERIFY(!store.ClearWarehouse());
    QVERIFY(!store.lastError().isEmpty());
    for (const QString &t : survivors)
        QCOMPARE(rowCount(ckDb(), t), 1);
    QCOMPARE(no(store.GetNextInBillNo()), u"4"_s);
    QCOMPARE(no(store.GetNextOutBillNo()), u"6"_s);
    // The connection is usable again afterwards: no transaction was left open.
    QVERIFY(addReceipt(9));
    QCOMPARE(no(store.GetNextInBillNo()), u"10"_s);
}

QTEST_MAIN(TstWarehouseStore)
#include "tst_warehousestore.moc"
