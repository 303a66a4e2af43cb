#include "../app/fixture.h"
#include "app/reportcommands.h"
#include "optimise/yhexport.h"
#include "optimise/yhgather.h"
#include "optimise/yhrun.h"
#include "optimise/yhstore.h"

#include <QMap>
#include <QSqlQuery>

using namespace Qt::StringLiterals;
using namespace optimise;
using testfixture::exec;

namespace {
QSqlDatabase db()
{
    return app::mainDb();
}

// 优化数据 rows as "编号|名称|规格|长度|数量".
QStringList pieceRows()
{
    QSqlQuery q(db());
    q.exec(u"SELECT \"编号\", \"名称\", \"规格\", \"长度\", \"数量\" FROM \"优化数据\" ORDER BY rowid"_s);
    QStringList out;
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < 5; ++i)
            f << app::fieldText(q.value(i));
        out << f.join(u'|');
    }
    return out;
}

QStringList planRowsStored()
{
    QSqlQuery q(db());
    q.exec(u"SELECT \"材料名称\", \"切割规格\", \"数量\", \"优化比率\", \"剩余料长\" FROM \"优化结果\" ORDER BY rowid"_s);
    QStringList out;
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < 5; ++i)
            f << app::fieldText(q.value(i));
        out << f.join(u'|');
    }
    return out;
}

void addBill(const QString &table, int typeNo, int id, const QString &name, const QString &code, const QString &count,
             const QString &length)
{
    QVERIFY(exec(db(),
                 u"INSERT INTO "_s + platform::ident(table)
                     + u" (\"窗号\", \"编号\", \"名称\", \"规格\", \"数量\", \"计算公式\") VALUES (?, ?, ?, ?, ?, ?)"_s,
                 {typeNo, id, name, code, count, length}));
}

void addLabel(int windowId, const QString &name, const QString &value)
{
    QVERIFY(exec(db(), u"INSERT INTO \"标注\" (\"Px\", \"Py\", \"schar\", \"MCNUM\", \"MC\") VALUES (0, 0, ?, ?, ?)"_s,
                 {value, windowId, name}));
}

void addComponentLabel(int windowId, int cbn, const QString &cmc, const QString &name, const QString &value, int count)
{
    QVERIFY(exec(db(),
                 u"INSERT INTO \"标注2\" (\"MCBN\", \"CBN\", \"MC\", \"MCZ\", \"CMC\", \"Px\", \"Py\", \"Count\") "
                 "VALUES (?, ?, ?, ?, ?, 0, 0, ?)"_s,
                 {windowId, cbn, name, value, cmc, count}));
}

void addPlan(const QString &material, const QString &pattern, int bars, double ratio, double remain)
{
    QVERIFY(exec(db(),
                 u"INSERT INTO \"优化结果\" (\"材料名称\", \"切割规格\", \"数量\", \"优化比率\", \"剩余料长\") "
                 "VALUES (?, ?, ?, ?, ?)"_s,
                 {material, pattern, bars, ratio, remain}));
}

void addPiece(const QString &code, double length, double quantity)
{
    QVERIFY(exec(db(), u"INSERT INTO \"优化数据\" (\"规格\", \"长度\", \"数量\") VALUES (?, ?, ?)"_s,
                 {code, length, quantity}));
}

QStringList joined(const QList<QStringList> &rows)
{
    QStringList out;
    for (const QStringList &r : rows)
        out << r.join(u'|');
    return out;
}
} // namespace

class TstYHStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void plainWindowPieces_data();
    void plainWindowPieces();
    void combinedCountsRoundDown();
    void gatheringOrder();
    void gatheringReplacesAndClearsPlan();
    void quotesInNamesAreData();
    void failedGatheringWritesNothing();

    void runCutsChosenCodes_data();
    void runCutsChosenCodes();
    void failingRunKeepsPlan();
    void planWrittenInBlocks_data();
    void planWrittenInBlocks();
    void codeReadsAgreeWithAQueryPerCode_data();
    void codeReadsAgreeWithAQueryPerCode();
    void codeReadsFollowEveryChange_data();
    void codeReadsFollowEveryChange();

    void planListGroupsAndBlanks();
    void summaryMean_data();
    void summaryMean();

    void pieceListRun_data();
    void pieceListRun();
    void pieceListRefusesNonNumbers();
    void percentStoredWithTwoDecimals_data();
    void percentStoredWithTwoDecimals();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstYHStore::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstYHStore::cleanup()
{
    m_fx.reset();
}

void TstYHStore::plainWindowPieces_data()
{
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("piece");
    QTest::newRow("length from a label") << u"3"_s << u"2"_s << u"B-50"_s << u"11|框|K60|1450|6"_s;
    QTest::newRow("fractional count kept") << u"3"_s << u" 1.5 "_s << u"B/3"_s << u"11|框|K60|500|4.5"_s;
    QTest::newRow("units half to even") << u"2.5"_s << u"1"_s << u"b"_s << u"11|框|K60|1500|2"_s;
    QTest::newRow("longer name first") << u"1"_s << u"1"_s << u"BB+B"_s << u"11|框|K60|1700|1"_s;
}

void TstYHStore::plainWindowPieces()
{
    QFETCH(QString, units);
    QFETCH(QString, count);
    QFETCH(QString, length);
    QFETCH(QString, piece);
    addBill(u"窗型材"_s, 7, 11, u"框"_s, u"K60"_s, count, length);
    addLabel(100, u"B"_s, u"1500"_s);
    addLabel(100, u"BB"_s, u"200"_s);
    YHStore store;
    QString err;
    QVERIFY2(BuildYHData(store, {{u"100"_s, units, u"7"_s, u"100"_s}}, &err), qPrintable(err));
    QCOMPARE(pieceRows(), QStringList{piece});
}

void TstYHStore::combinedCountsRoundDown()
{
    // The same bill row: a plain window keeps the fraction, a combined one rounds it down and
    // multiplies by the window's and the component's units.
    addBill(u"窗型材"_s, 7, 11, u"框"_s, u"K60"_s, u"1.5"_s, u"W"_s);
    addComponentLabel(200, 7, u"c1"_s, u"W"_s, u"900"_s, 1);
    addComponentLabel(200, 7, u"c2"_s, u"W"_s, u"700"_s, 2);
    YHStore store;
    QString err;
    QVERIFY2(BuildYHData(store, {{u"200"_s, u"3"_s, u"-4"_s, u"200"_s}}, &err), qPrintable(err));
    QCOMPARE(pieceRows(), (QStringList{u"|框|K60|900|3"_s, u"|框|K60|700|6"_s}));
}

void TstYHStore::gatheringOrder()
{
    addBill(u"窗型材"_s, 0, 1, u"P0"_s, u"X1"_s, u"1"_s, u"100"_s);
    addBill(u"窗型钢"_s, 0, 2, u"S0"_s, u"G1"_s, u"1"_s, u"200"_s);
    addBill(u"窗型钢"_s, 8, 3, u"S8"_s, u"G2"_s, u"1"_s, u"300"_s);
    addBill(u"窗型材"_s, 8, 4, u"P8"_s, u"X2"_s, u"1"_s, u"400"_s);
    addComponentLabel(300, 8, u"k"_s, u"H"_s, u"1"_s, 1);
    YHStore store;
    QString err;
    // A type number of 0 counts as plain.
    QVERIFY2(BuildYHData(store, {{u"301"_s, u"1"_s, u"0"_s, u"301"_s}, {u"300"_s, u"1"_s, u"-1"_s, u"300"_s}}, &err),
             qPrintable(err));
    QCOMPARE(pieceRows(),
             (QStringList{u"1|P0|X1|100|1"_s, u"2|S0|G1|200|1"_s, u"|P8|X2|400|1"_s, u"|S8|G2|300|1"_s}));
}

void TstYHStore::gatheringReplacesAndClearsPlan()
{
    addBill(u"窗型材"_s, 7, 11, u"框"_s, u"K60"_s, u"1"_s, u"1000"_s);
    addBill(u"窗型材"_s, 9, 12, u"扇"_s, u"S50"_s, u"1"_s, u"800"_s);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    YHStore store;
    QString err;
    QVERIFY(BuildYHData(store, {{u"1"_s, u"1"_s, u"7"_s, u"1"_s}}, &err));
    QVERIFY(BuildYHData(store, {{u"2"_s, u"1"_s, u"9"_s, u"2"_s}}, &err));
    QCOMPARE(pieceRows(), QStringList{u"12|扇|S50|800|1"_s});
    QVERIFY(planRowsStored().isEmpty());
    QCOMPARE(*store.materialCodes(), QStringList{u"S50"_s});
}

void TstYHStore::quotesInNamesAreData()
{
    addBill(u"窗型材"_s, 7, 11, u"O'Neil"_s, u"K'60"_s, u"1"_s, u"1000"_s);
    YHStore store;
    QString err;
    QVERIFY2(BuildYHData(store, {{u"1"_s, u"1"_s, u"7"_s, u"1"_s}}, &err), qPrintable(err));
    QCOMPARE(pieceRows(), QStringList{u"11|O'Neil|K'60|1000|1"_s});
    const RunOutcome r = RunYH(store, {u"K'60"_s}, {6000, 0, 0, 1.0f});
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(planRowsStored(), QStringList{u"K'60|1000|1|0.166666666666667|5000"_s});
}

void TstYHStore::failedGatheringWritesNothing()
{
    addPiece(u"OLD"_s, 1, 1);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    addBill(u"窗型材"_s, 7, 11, u"框"_s, u"K60"_s, u"1"_s, u"1000"_s);
    YHStore store;
    QString err;
    // A first window that gathers, then one whose number of units does not fit.
    QVERIFY(!BuildYHData(store, {{u"1"_s, u"1"_s, u"7"_s, u"1"_s}, {u"2"_s, u"40000"_s, u"7"_s, u"2"_s}}, &err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(pieceRows(), QStringList{u"||OLD|1|1"_s});
    QCOMPARE(planRowsStored().size(), 1);
}

void TstYHStore::runCutsChosenCodes_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QStringList>("plan");
    QTest::newRow("scheme one") << 0
                                << QStringList{u"A|2500*2+1000|1|1|0"_s, u"A|2500+1000|1|0.583333333333333|2500"_s};
    QTest::newRow("scheme two") << 1
                                << QStringList{u"A|1000+2500*2|1|100|0"_s, u"A|1000+2500|1|58.33|2500"_s};
}

void TstYHStore::runCutsChosenCodes()
{
    QFETCH(int, scheme);
    QFETCH(QStringList, plan);
    addPiece(u"A"_s, 2500, 2);
    addPiece(u"A"_s, 1000, 2);
    addPiece(u"A"_s, 2500, 1);
    addPiece(u"B"_s, 500, 1);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    YHStore store;
    QList<int> progress;
    const RunOutcome r = RunYH(store, {u"A"_s}, {6000, 0, 0, 1.0f, qint16(scheme)}, [&](int i) { progress << i; });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(progress, QList<int>{0});
    QCOMPARE(planRowsStored(), plan);
}

void TstYHStore::failingRunKeepsPlan()
{
    addPiece(u"A"_s, 1000, 1);
    addPiece(u"BAD"_s, 1000, 1);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    QVERIFY(exec(db(), u"CREATE TEMP TRIGGER refuse BEFORE INSERT ON \"优化结果\" WHEN NEW.\"材料名称\" = 'BAD' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    YHStore store;
    const RunOutcome r = RunYH(store, {u"A"_s, u"BAD"_s}, {6000, 0, 0, 1.0f});
    QVERIFY(!r.ok);
    QVERIFY(r.error.contains(u"refused"_s));
    QCOMPARE(planRowsStored(), QStringList{u"old|1|1|1|0"_s});
}

void TstYHStore::planWrittenInBlocks_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("refused"); // the row whose ratio is not a number; -1 for none
    QTest::newRow("one row") << 1 << -1;
    QTest::newRow("short of blocks") << 1023 << -1;
    QTest::newRow("blocks only") << 1024 << -1;
    QTest::newRow("blocks and rows after them") << 1090 << -1;
    QTest::newRow("refused inside a block") << 1090 << 70;
    QTest::newRow("refused after the blocks") << 1090 << 1089;
}

// A long plan's rows go in by blocks of rows: each row as given, in order; a refused row fails the
// write, and the caller's rollback leaves the old plan.
void TstYHStore::planWrittenInBlocks()
{
    QFETCH(int, rows);
    QFETCH(int, refused);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    QList<PlanRow> plan;
    QStringList expected;
    for (int i = 0; i < rows; ++i) {
        const double ratio = i == refused ? qQNaN() : i / 8.0;
        plan.append({u"M%1"_s.arg(i % 3), u"%1*2"_s.arg(1000 + i), i + 1, ratio, i * 1.5});
        expected << u"M%1|%2*2|%3|%4|%5"_s.arg(i % 3).arg(1000 + i).arg(i + 1).arg(i / 8.0).arg(i * 1.5);
    }
    YHStore store;
    {
        platform::TransactionGuard tx(db());
        QVERIFY(store.clearPlan());
        const bool written = store.appendPlan(plan);
        QCOMPARE(written, refused < 0);
        if (!written) {
            QVERIFY(!store.lastError().isEmpty());
        } else {
            QVERIFY(tx.commit());
        }
    }
    QCOMPARE(planRowsStored(), refused < 0 ? expected : QStringList{u"old|1|1|1|0"_s});
}

namespace {
// A code's rows as the read of that code alone gives them, through an index on 规格 as the table
// once had; each number exactly.
QStringList perCodeQuery(const QString &sql, const QString &code)
{
    QSqlQuery q(db());
    q.prepare(sql);
    q.addBindValue(code);
    q.exec();
    QStringList out;
    while (q.next())
        out << QString::asprintf("%a %a", q.value(0).toDouble(), q.value(1).toDouble());
    return out;
}

QStringList exactly(const std::optional<QList<LengthQty>> &rows)
{
    QStringList out;
    if (!rows)
        return {u"failed"_s};
    for (const LengthQty &r : *rows)
        out << QString::asprintf("%a %a", r.length, r.quantity);
    return out;
}

using Pieces = QList<QVariantList>; // 规格, 长度, 数量
} // namespace

void TstYHStore::codeReadsAgreeWithAQueryPerCode_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QStringList>("asked");
    const QString nul = QString(u"a\0b"_s);
    QTest::newRow("quantities summed in stored order")
        << Pieces{{u"A"_s, 1000, 0.1}, {u"B"_s, 1000, 5}, {u"A"_s, 1000, 1e16}, {u"A"_s, 900, 1}, {u"A"_s, 1000, 0.2},
                  {u"A"_s, 1000, -1e16}, {u"A"_s, 1000, 0.3}}
        << QStringList{u"A"_s, u"B"_s};
    // Whole quantities are summed without the engine; sums that a double might not hold go to it.
    QTest::newRow("whole quantities")
        << Pieces{{u"A"_s, 1000, 2}, {u"A"_s, 900, 1}, {u"B"_s, 900, 4}, {u"A"_s, 1000, -3}, {u"A"_s, 1000.25, 7},
                  {u"A"_s, 900, 0}, {u"A"_s, 1000, 1}}
        << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("whole quantities beyond an exact double")
        << Pieces{{u"A"_s, 1000, 9007199254740990.0}, {u"A"_s, 1000, 3}, {u"A"_s, 1000, -2}, {u"B"_s, 1000, 3},
                  {u"B"_s, 1000, 9007199254740990.0}, {u"B"_s, 1000, 1}}
        << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("lengths of zero and below")
        << Pieces{{u"A"_s, 0.0, 1}, {u"A"_s, -0.0, 2}, {u"A"_s, -5, 1}, {u"B"_s, -5, 1}, {u"B"_s, -5.0, 2}}
        << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("codes differing in ASCII case meet")
        << Pieces{{u"xc1"_s, 1000, 0.1}, {u"XC1"_s, 1000, 0.7}, {u"Xc1"_s, 800, 2}, {u"xc10"_s, 1000, 1}}
        << QStringList{u"xc1"_s, u"XC1"_s, u"xC1"_s, u"xc10"_s};
    QTest::newRow("other letters keep their case")
        << Pieces{{u"É1"_s, 1000, 1}, {u"é1"_s, 1000, 2}, {u"Ä"_s, 500, 1}} << QStringList{u"É1"_s, u"é1"_s, u"ä"_s};
    QTest::newRow("a NUL ends the compared part")
        << Pieces{{nul, 1000, 1}, {QString(u"A\0c"_s), 1000, 2}, {QString(u"a\0bc"_s), 1000, 4}, {u"a"_s, 1000, 8}}
        << QStringList{nul, QString(u"a\0z"_s), QString(u"a\0bc"_s), u"a"_s};
    QTest::newRow("whole, fractional and text lengths")
        << Pieces{{u"A"_s, 1000, 1}, {u"A"_s, 1000.0, 2}, {u"A"_s, u"1000"_s, 4}, {u"A"_s, 999.5, 1}, {u"A"_s, u"长"_s, 3},
                  {u"A"_s, QVariant(), 5}, {u"A"_s, 999.5, u"x"_s}}
        << QStringList{u"A"_s};
    QTest::newRow("codes that are not texts, empty codes, codes not there")
        << Pieces{{QVariant(), 1000, 1}, {QByteArray("A"), 1000, 2}, {u""_s, 700, 3}, {u"A"_s, 600, 4}}
        << QStringList{u""_s, u"A"_s, u"ZZ"_s};
}

// Each code's rows come from one pass over every code; they must be what the query of that code
// alone gives, to the last bit of every sum and in the same order.
void TstYHStore::codeReadsAgreeWithAQueryPerCode()
{
    QFETCH(Pieces, pieces);
    QFETCH(QStringList, asked);
    for (const QVariantList &p : pieces)
        QVERIFY(exec(db(), u"INSERT INTO \"优化数据\" (\"规格\", \"长度\", \"数量\") VALUES (?, ?, ?)"_s, p));
    QVERIFY(exec(db(), u"CREATE INDEX \"by_code\" ON \"优化数据\" (\"规格\")"_s));
    QMap<QString, QStringList> grouped, stored;
    for (const QString &code : asked) {
        grouped[code] = perCodeQuery(u"SELECT \"长度\", sum(\"数量\") FROM \"优化数据\" WHERE \"规格\" = ? "
                                     "GROUP BY \"长度\" ORDER BY \"长度\" DESC"_s,
                                     code);
        stored[code] =
            perCodeQuery(u"SELECT \"长度\", \"数量\" FROM \"优化数据\" WHERE \"规格\" = ? ORDER BY rowid"_s, code);
    }
    QVERIFY(exec(db(), u"DROP INDEX \"by_code\""_s));
    YHStore store;
    for (const QString &code : asked) {
        QCOMPARE(exactly(store.groupedLengthsDesc(code)), grouped.value(code));
        QCOMPARE(exactly(store.pieceRows(code)), stored.value(code));
    }
}

void TstYHStore::codeReadsFollowEveryChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<double>("expected"); // the length of code A read after the change
    QTest::newRow("pieces written by another store") << u"other store"_s << 700.0;
    QTest::newRow("pieces written, read, rolled back") << u"rolled back"_s << 1000.0;
    QTest::newRow("the same inside a transaction that goes on") << u"savepoint rolled back"_s << 1000.0;
    QTest::newRow("a commit of another connection") << u"other connection"_s << 700.0;
    QTest::newRow("the same between two transactions") << u"other connection between transactions"_s << 700.0;
    QTest::newRow("the plan written by the same store") << u"own plan"_s << 1000.0;
}

// The pieces read in one pass are kept between reads only while nothing could have changed them.
void TstYHStore::codeReadsFollowEveryChange()
{
    QFETCH(QString, change);
    QFETCH(double, expected);
    addPiece(u"A"_s, 1000, 1);
    YHStore store;
    // Read first inside a transaction of its own: the later read is made inside another one.
    const bool inTransactions = change == u"other connection between transactions"_s;
    std::optional<platform::TransactionGuard> first;
    if (inTransactions)
        first.emplace(db());
    QCOMPARE(exactly(store.groupedLengthsDesc(u"A"_s)), QStringList{QString::asprintf("%a %a", 1000.0, 1.0)});
    if (inTransactions) {
        QVERIFY(first->commit());
        change = u"other connection"_s;
    }
    const QList<PieceRow> replacement{{QVariant(), u"框"_s, u"A"_s, 700, 1}};
    std::optional<platform::TransactionGuard> outer;
    if (change == u"savepoint rolled back") {
        outer.emplace(db());
        change = u"rolled back"_s;
    }
    if (change == u"other store") {
        YHStore other;
        QVERIFY(other.replacePieces(replacement, false));
    } else if (change == u"rolled back") {
        platform::TransactionGuard tx(db());
        QVERIFY(store.replacePieces(replacement, false));
        QCOMPARE(store.groupedLengthsDesc(u"A"_s)->value(0).length, 700.0);
        QCOMPARE(store.pieceRows(u"A"_s)->value(0).length, 700.0);
    } else if (change == u"other connection") {
        QString err;
        QVERIFY(platform::openSqlite(u"other"_s, db().databaseName(), &err));
        QVERIFY(exec(QSqlDatabase::database(u"other"_s, false), u"UPDATE \"优化数据\" SET \"长度\" = 700"_s));
        platform::closeConnection(u"other"_s);
    } else {
        QVERIFY(store.clearPlan());
        QVERIFY(store.appendPlan({{u"A"_s, u"1000"_s, 1, 1, 0}}));
    }
    std::optional<platform::TransactionGuard> second;
    if (inTransactions)
        second.emplace(db());
    QCOMPARE(store.groupedLengthsDesc(u"A"_s)->value(0).length, expected);
    QCOMPARE(store.pieceRows(u"A"_s)->value(0).length, expected);
}

void TstYHStore::planListGroupsAndBlanks()
{
    // Scheme one writes one row per bar; equal bars become one line with their count.
    for (int i = 0; i < 3; ++i)
        addPlan(u"A"_s, u"1200*2+800"_s, 1, 0.8, 1200);
    addPlan(u"B"_s, u"3000"_s, 5, 0.5, 3000);
    addPlan(u"A"_s, u"2000"_s, 1, 0.33, 4000);
    addPlan(u"B"_s, u"3000"_s, 1, 0.5, 3000);
    YHStore store;
    const auto groups = store.planGroups();
    QVERIFY(groups);
    QCOMPARE(joined(planListRows(*groups)),
             (QStringList{u"A|1200*2+800|3|0.8|1200"_s, u"|2000|1|0.33|4000"_s, u"B|3000|6|0.5|3000"_s}));
    const auto summary = store.planSummary();
    QVERIFY(summary);
    QCOMPARE(summary->size(), 2);
    QCOMPARE(summary->at(0).material, u"A"_s);
    QCOMPARE(summary->at(0).bars, u"4"_s);
    QCOMPARE(summary->at(1).bars, u"6"_s);
    // The report commands see the same groups.
    QString err;
    const auto cmd = app::runReportCommand(u"CmdYH"_s, {}, &err);
    QVERIFY2(cmd, qPrintable(err));
    QCOMPARE(cmd->size(), 3);
}

void TstYHStore::summaryMean_data()
{
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("low");
    QTest::addColumn<QString>("mean");
    QTest::newRow("percentages of scheme two") << 96.0 << 90.0 << u"94.5"_s;
    QTest::newRow("fractions of scheme one") << 0.96 << 0.90 << u"0.945"_s;
}

void TstYHStore::summaryMean()
{
    QFETCH(double, high);
    QFETCH(double, low);
    QFETCH(QString, mean);
    addPlan(u"A"_s, u"x"_s, 3, high, 0);
    addPlan(u"A"_s, u"y"_s, 1, low, 0);
    YHStore store;
    const auto summary = store.planSummary();
    QVERIFY(summary);
    QCOMPARE(joined(summaryListRows(*summary)), QStringList{u"A|4|"_s + mean});
}

void TstYHStore::pieceListRun_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QStringList>("plan");
    QTest::newRow("scheme one") << 0 << QStringList{u"料|1200*5|1|1|0"_s, u"料|800*2|1|0.266666666666667|4400"_s};
    QTest::newRow("scheme two") << 1 << QStringList{u"料|1200*5|1|100|0"_s, u"料|800*2|1|26.67|4400"_s};
}

void TstYHStore::pieceListRun()
{
    QFETCH(int, scheme);
    QFETCH(QStringList, plan);
    addPiece(u"OLD"_s, 1, 1);
    addPlan(u"old"_s, u"1"_s, 1, 1, 0);
    YHStore store;
    // The same length typed twice reaches the scheme as one length.
    const RunOutcome r = runPieceList(store, u"料"_s, {{u"1200"_s, u"2"_s}, {u"800"_s, u"2"_s}, {u"1200"_s, u"3"_s}},
                                      {6000, 0, 0, 1.0f, qint16(scheme)});
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(pieceRows(), (QStringList{u"|||1200|2"_s, u"|||800|2"_s, u"|||1200|3"_s}));
    QCOMPARE(planRowsStored(), plan);
}

void TstYHStore::pieceListRefusesNonNumbers()
{
    addPiece(u"OLD"_s, 1, 1);
    YHStore store;
    const RunOutcome r = runPieceList(store, u"料"_s, {{u"1200"_s, u"2"_s}, {u"."_s, u"2"_s}}, {6000, 0, 0, 1.0f});
    QVERIFY(!r.ok);
    QCOMPARE(pieceRows(), QStringList{u"||OLD|1|1"_s});
}

void TstYHStore::percentStoredWithTwoDecimals_data()
{
    QTest::addColumn<bool>("pieceList");
    QTest::newRow("wizard") << false;
    QTest::newRow("piece list") << true;
}

void TstYHStore::percentStoredWithTwoDecimals()
{
    QFETCH(bool, pieceList);
    // 5870 of 6000 is 97.83 %, which single precision would store as 97.8299942016602.
    YHStore store;
    RunOutcome r;
    if (pieceList) {
        r = runPieceList(store, u"A"_s, {{u"5870"_s, u"1"_s}}, {6000, 0, 0, 1.0f, 1});
    } else {
        addPiece(u"A"_s, 5870, 1);
        r = RunYH(store, {u"A"_s}, {6000, 0, 0, 1.0f, 1});
    }
    QVERIFY2(r.ok, qPrintable(r.error));
    QSqlQuery q(db());
    QVERIFY(q.exec(u"SELECT \"优化比率\" FROM \"优化结果\""_s));
    QVERIFY(q.next());
    QVERIFY2(q.value(0).toDouble() == 97.83, qPrintable(QString::number(q.value(0).toDouble(), 'g', 17)));
    QCOMPARE(planRowsStored(), QStringList{u"A|5870|1|97.83|130"_s});
    const auto groups = store.planGroups();
    QVERIFY(groups);
    QCOMPARE(groups->at(0).ratio, u"97.83"_s);
}

QTEST_MAIN(TstYHStore)
#include "tst_yhstore.moc"
