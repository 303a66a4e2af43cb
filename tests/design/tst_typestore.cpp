#include "typedata.h"

#include "design/typestore.h"

using namespace Qt::StringLiterals;
using namespace design;
using testfixture::rowCount;
using typedata::run;

namespace {
// The tree as "maker[series[type type] series[]]" with 编号 after each name.
QString treeText(const QList<TypeTreeMaker> &tree)
{
    QStringList makers;
    for (const TypeTreeMaker &m : tree) {
        QStringList series;
        for (const TypeTreeSeries &s : m.series) {
            QStringList types;
            for (const DoorType &t : s.types)
                types << t.name + QString::number(t.id);
            series << s.series.name + QString::number(s.series.id) + u'[' + types.join(u' ') + u']';
        }
        makers << m.maker.name + QString::number(m.maker.id) + u'[' + series.join(u' ') + u']';
    }
    return makers.join(u' ');
}

Bill sampleBill()
{
    Bill bill;
    bill.of(BillKind::Profile) << BillRow{u"框'料"_s, u"60-01"_s, u"2"_s, u"B-2*KH1"_s}
                               << BillRow{u"扇料"_s, u"60-02"_s, u"4"_s, u"H-KH2"_s};
    bill.of(BillKind::Steel) << BillRow{u"钢衬"_s, u"20x1.5"_s, u"2"_s, u"B-100"_s};
    bill.of(BillKind::Panel) << BillRow{u"5mm白玻"_s, u"1.5"_s, u"B/2-30"_s, u"H-60"_s};
    bill.of(BillKind::Fitting) << BillRow{u"执手"_s, u"ZS-1"_s, u"2"_s, u"个"_s}
                               << BillRow{u"密封条"_s, u""_s, u"12.5"_s, u"米"_s};
    return bill;
}
} // namespace

class TstTypeStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void treeOrdersMakersAndSeriesByNumberAndTypesByName();
    void addsTakeNextNumbersAndKeepQuotes();
    void renameAndUpdateChangeOneRow();
    void renamingAMissingRowFails();
    void deleteCascades_data();
    void deleteCascades();
    void failingCascadeChangesNothing_data();
    void failingCascadeChangesNothing();
    void billRoundTrip();
    void saveRenewsRowNumbers();
    void countThatIsNotANumberIsRefused_data();
    void countThatIsNotANumberIsRefused();
    void failingSaveKeepsStoredBill();
    void saveForDeletedTypeIsRefused();
    void copyTypeCopiesBillUnderNewNumbers();
    void failingCopyLeavesNothing();
    void moveTypeChangesOnlyItsSeries();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstTypeStore::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstTypeStore::cleanup() { m_fx.reset(); }

void TstTypeStore::treeOrdersMakersAndSeriesByNumberAndTypesByName()
{
    QVERIFY(run(u"INSERT INTO 门窗厂家 VALUES (5, 'A'), (2, 'Z')"_s));
    QVERIFY(run(u"INSERT INTO 门窗系列 VALUES (5, 9, 'a'), (5, 3, 'b'), (2, 4, 'c'), (77, 8, 'orphan')"_s));
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES "
                u"(9, 1, 'ccc', 1), (9, 2, 'aaa', 1), (9, 3, 'BBB', NULL), (3, 4, 'x', 7)"_s));
    TypeStore store;
    const auto tree = store.loadTree();
    QVERIFY2(tree, qPrintable(store.lastError()));
    QCOMPARE(treeText(*tree), u"Z2[c4[]] A5[b3[x4] a9[aaa2 BBB3 ccc1]]"_s);
    QCOMPARE(tree->at(1).series.at(0).types.at(0).drawingNumber, u"7"_s);
    QCOMPARE(tree->at(1).series.at(1).types.at(1).drawingNumber, QString()); // null 图号
}

void TstTypeStore::addsTakeNextNumbersAndKeepQuotes()
{
    TypeStore store;
    QCOMPARE(store.addMaker(u"O'Neil"_s), std::optional<qint64>(1));
    QCOMPARE(store.addMaker(u"二"_s), std::optional<qint64>(2));
    QCOMPARE(store.addSeries(2, u"60'系列"_s), std::optional<qint64>(1));
    QCOMPARE(store.addType(1, u"平开'窗"_s, 12), std::optional<qint64>(1));
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称) VALUES (1, 40, 'x')"_s));
    QCOMPARE(store.addType(1, u"推拉窗"_s, 3), std::optional<qint64>(41));
    QCOMPARE(typedata::rows(u"门窗厂家"_s), (QStringList{u"1|O'Neil"_s, u"2|二"_s}));
    QCOMPARE(typedata::rows(u"门窗系列"_s), (QStringList{u"2|1|60'系列"_s}));
    // The drawing-file column stays empty.
    QCOMPARE(typedata::rows(u"门窗"_s), (QStringList{u"1|1|平开'窗||12"_s, u"1|40|x||"_s, u"1|41|推拉窗||3"_s}));
    QCOMPARE(rowCount(app::mainDb(), u"窗型材"_s), 0);
}

void TstTypeStore::renameAndUpdateChangeOneRow()
{
    QVERIFY(typedata::fillLibrary());
    TypeStore store;
    QVERIFY(store.renameMaker(2, u"新'厂"_s));
    QVERIFY(store.renameSeries(3, u"新系列"_s));
    QVERIFY(store.updateType(5, u"新门窗"_s, 77));
    QCOMPARE(typedata::rows(u"门窗厂家"_s), (QStringList{u"1|M1"_s, u"2|新'厂"_s}));
    QCOMPARE(typedata::rows(u"门窗系列"_s).at(2), u"2|3|新系列"_s);
    QCOMPARE(typedata::rows(u"门窗"_s).at(4), u"3|5|新门窗||77"_s);
    // The bill of an edited type is untouched.
    QCOMPARE(typedata::rows(u"窗型材"_s).at(4), u"5|5|型材5|XC|2|B-10"_s);
}

void TstTypeStore::renamingAMissingRowFails()
{
    TypeStore store;
    QVERIFY(!store.renameMaker(3, u"x"_s));
    QVERIFY(!store.renameSeries(3, u"x"_s));
    QVERIFY(!store.updateType(3, u"x"_s, 1));
    QVERIFY(!store.lastError().isEmpty());
}

void TstTypeStore::deleteCascades_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QList<qint64>>("typesLeft");
    QTest::addColumn<int>("seriesLeft");
    QTest::addColumn<int>("makersLeft");
    QTest::newRow("maker") << 1 << qint64(1) << QList<qint64>{5, 6, 7, 8} << 2 << 1;
    QTest::newRow("series") << 2 << qint64(3) << QList<qint64>{1, 2, 3, 4, 7, 8} << 3 << 2;
    QTest::newRow("type") << 3 << qint64(6) << QList<qint64>{1, 2, 3, 4, 5, 7, 8} << 4 << 2;
}

void TstTypeStore::deleteCascades()
{
    QFETCH(int, level);
    QFETCH(qint64, id);
    QFETCH(QList<qint64>, typesLeft);
    QFETCH(int, seriesLeft);
    QFETCH(int, makersLeft);
    QVERIFY(typedata::fillLibrary());
    TypeStore store;
    const bool ok = level == 1 ? store.deleteMaker(id) : level == 2 ? store.deleteSeries(id) : store.deleteType(id);
    QVERIFY2(ok, qPrintable(store.lastError()));
    QCOMPARE(rowCount(app::mainDb(), u"门窗厂家"_s), makersLeft);
    QCOMPARE(rowCount(app::mainDb(), u"门窗系列"_s), seriesLeft);
    QList<qint64> types;
    for (const QString &row : typedata::rows(u"门窗"_s))
        types << row.section(u'|', 1, 1).toLongLong();
    QCOMPARE(types, typesLeft);
    // Each bill row in the fixture carries its type's number: exactly the kept types' rows remain.
    for (const QString &table : typedata::kBillTables) {
        QList<qint64> owners;
        for (const QString &row : typedata::rows(table))
            owners << row.section(u'|', 0, 0).toLongLong();
        QCOMPARE(owners, typesLeft);
    }
}

void TstTypeStore::failingCascadeChangesNothing_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("brokenTable");
    // The failure at every step of each cascade, the last statement included.
    const QList<std::pair<int, QStringList>> cascades = {
        {1, typedata::kTypeTables}, {2, typedata::kTypeTables.mid(1)}, {3, typedata::kTypeTables.mid(2)}};
    for (const auto &[level, tables] : cascades)
        for (const QString &t : tables)
            QTest::addRow("level %d, %s", level, qPrintable(t)) << level << t;
}

void TstTypeStore::failingCascadeChangesNothing()
{
    QFETCH(int, level);
    QFETCH(QString, brokenTable);
    QVERIFY(typedata::fillLibrary());
    QVERIFY(typedata::breakTable(brokenTable, u"DELETE"_s));
    const QStringList before = typedata::dump();
    TypeStore store;
    const bool ok = level == 1 ? store.deleteMaker(1) : level == 2 ? store.deleteSeries(1) : store.deleteType(1);
    QVERIFY(!ok);
    QVERIFY(store.lastError().contains(u"forced failure"_s));
    QCOMPARE(typedata::dump(), before);
}

void TstTypeStore::billRoundTrip()
{
    QVERIFY(typedata::fillLibrary());
    TypeStore store;
    const Bill bill = sampleBill();
    QVERIFY2(store.saveBill(3, bill), qPrintable(store.lastError()));
    const auto loaded = store.loadBill(3);
    QVERIFY(loaded);
    QCOMPARE(*loaded, bill);
    // Other types' bills are untouched.
    QCOMPARE(store.loadBill(4)->of(BillKind::Profile), (QList<BillRow>{{u"型材4"_s, u"XC"_s, u"2"_s, u"B-10"_s}}));
    // Counts of panels and fittings are stored as numbers.
    QSqlQuery q(app::mainDb());
    QVERIFY(q.exec(u"SELECT typeof(数量) FROM 窗配件 WHERE 窗号 = 3"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), u"real"_s);
    // An empty bill empties the stored one.
    QVERIFY(store.saveBill(3, Bill{}));
    QVERIFY(store.loadBill(3)->isEmpty());
}

void TstTypeStore::saveRenewsRowNumbers()
{
    QVERIFY(typedata::fillLibrary()); // rows 1..8 of each bill table, 编号 = 窗号
    TypeStore store;
    Bill bill = sampleBill();
    QVERIFY(store.saveBill(3, bill));
    // Type 3's old row (编号 3) is gone; new rows count on from the largest 编号 left (8).
    QCOMPARE(typedata::ids(u"窗型材"_s, u"窗号"_s, 3), (QList<qint64>{9, 10}));
    QCOMPARE(typedata::ids(u"窗配件"_s, u"窗号"_s, 3), (QList<qint64>{9, 10}));
    QVERIFY(store.saveBill(3, bill));
    // Saved again: 9 and 10 were deleted first, so the largest left is 8 again.
    QCOMPARE(typedata::ids(u"窗型材"_s, u"窗号"_s, 3), (QList<qint64>{9, 10}));
    QVERIFY(store.saveBill(8, bill));
    QCOMPARE(typedata::ids(u"窗型材"_s, u"窗号"_s, 8), (QList<qint64>{11, 12}));
}

void TstTypeStore::countThatIsNotANumberIsRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("count");
    QTest::newRow("panel text") << int(BillKind::Panel) << 0 << u"abc"_s;
    QTest::newRow("panel empty") << int(BillKind::Panel) << 0 << QString();
    QTest::newRow("panel comma") << int(BillKind::Panel) << 0 << u"1,5"_s;
    QTest::newRow("fitting formula") << int(BillKind::Fitting) << 1 << u"B/1000"_s;
    QTest::newRow("fitting quote") << int(BillKind::Fitting) << 1 << u"2'"_s;
}

void TstTypeStore::countThatIsNotANumberIsRefused()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, count);
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    Bill bill = sampleBill();
    const BillKind k = BillKind(kind);
    bill.of(k)[row][size_t(billTableInfo(k).countColumn)] = count;
    TypeStore store;
    std::optional<BillProblem> problem;
    QVERIFY(!store.saveBill(3, bill, &problem));
    QVERIFY(problem);
    QCOMPARE(int(problem->kind), kind);
    QCOMPARE(problem->row, row);
    QVERIFY(problem->message.contains(billTableInfo(k).caption));
    QVERIFY(problem->message.contains(u"第%1行"_s.arg(row + 1)));
    QCOMPARE(typedata::dump(), before);
}

void TstTypeStore::failingSaveKeepsStoredBill()
{
    QVERIFY(typedata::fillLibrary());
    // The last table written fails: everything before it must be undone.
    QVERIFY(typedata::breakTable(u"窗配件"_s, u"INSERT"_s));
    const QStringList before = typedata::dump();
    TypeStore store;
    QVERIFY(!store.saveBill(3, sampleBill()));
    QVERIFY(store.lastError().contains(u"forced failure"_s));
    QCOMPARE(typedata::dump(), before);
}

void TstTypeStore::saveForDeletedTypeIsRefused()
{
    QVERIFY(typedata::fillLibrary());
    TypeStore store;
    QVERIFY(store.deleteType(8));
    const QStringList before = typedata::dump();
    // Rows left under 8 would become the bill of the next type added (编号 8 again).
    QVERIFY(!store.saveBill(8, sampleBill()));
    QCOMPARE(typedata::dump(), before);
}

void TstTypeStore::copyTypeCopiesBillUnderNewNumbers()
{
    QVERIFY(typedata::fillLibrary());
    TypeStore store;
    QVERIFY(store.saveBill(2, sampleBill()));
    const QStringList sourceRows = typedata::rows(u"窗型材"_s);
    const auto newId = store.copyType(2, 4);
    QVERIFY2(newId, qPrintable(store.lastError()));
    QCOMPARE(*newId, qint64(9));
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"4|9|T2||102"_s);
    QCOMPARE(*store.loadBill(9), sampleBill());
    QCOMPARE(typedata::ids(u"窗型材"_s, u"窗号"_s, 9), (QList<qint64>{11, 12}));
    // The source keeps its rows.
    QCOMPARE(*store.loadBill(2), sampleBill());
    QCOMPARE(typedata::rows(u"窗型材"_s).mid(0, sourceRows.size()), sourceRows);
}

void TstTypeStore::failingCopyLeavesNothing()
{
    QVERIFY(typedata::fillLibrary());
    QVERIFY(typedata::breakTable(u"窗配件"_s, u"INSERT"_s));
    const QStringList before = typedata::dump();
    TypeStore store;
    QVERIFY(!store.copyType(2, 4));
    QCOMPARE(typedata::dump(), before);
}

void TstTypeStore::moveTypeChangesOnlyItsSeries()
{
    QVERIFY(typedata::fillLibrary());
    QStringList expected = typedata::dump();
    expected[2].replace(u"1|2|T2||102"_s, u"4|2|T2||102"_s);
    TypeStore store;
    QVERIFY(store.moveType(2, 4));
    QCOMPARE(typedata::dump(), expected);
    QVERIFY(!store.moveType(99, 4));
}

QTEST_GUILESS_MAIN(TstTypeStore)
#include "tst_typestore.moc"
