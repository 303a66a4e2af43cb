#include "helpers.h"

#include "catalogue/numbers.h"

using namespace Qt::StringLiterals;
using namespace catalogue;
using namespace cattest;

Q_DECLARE_METATYPE(catalogue::ItemKind)

class TstCatalogueStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void catalogueNumbers_data();
    void catalogueNumbers();
    void fieldChecksStopAtTheFirstBadBox_data();
    void fieldChecksStopAtTheFirstBadBox();
    void itemValuesKeepTextsAsTyped();

    void rowsComeBackInTableOrderAndGeneralForm();
    void numbersFollowTheLargest();
    void failedNumberingInsertsNothing();
    void quotesRoundTrip();
    void makerKindNeverChanges();
    void vanishedRecordsAreReported();
    void closedDatabaseFailsCleanly();

    void deleteMakerTakesEverythingUnderIt_data();
    void deleteMakerTakesEverythingUnderIt();
    void deleteSeriesTakesItsProfiles();
    void failedCascadeDeletesNothing_data();
    void failedCascadeDeletesNothing();

    void setPricesSetsTheWholeGroup_data();
    void setPricesSetsTheWholeGroup();

private:
    QSqlDatabase db() const { return app::mainDb(); }
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstCatalogueStore::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstCatalogueStore::catalogueNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << u"6000"_s << true << 6000.0;
    QTest::newRow("decimal") << u"0.85"_s << true << 0.85;
    QTest::newRow("leading point") << u".5"_s << true << 0.5;
    QTest::newRow("trailing point") << u"12."_s << true << 12.0;
    QTest::newRow("blanks around") << u" 12 "_s << true << 12.0;
    QTest::newRow("two points") << u"1.2.3"_s << false << 0.0;
    QTest::newRow("lone point") << u"."_s << false << 0.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("blank") << u"  "_s << false << 0.0;
    QTest::newRow("word") << u"abc"_s << false << 0.0;
    QTest::newRow("number then word") << u"12abc"_s << false << 0.0;
    QTest::newRow("pasted sentence") << u"价格 6000 元"_s << false << 0.0;
    QTest::newRow("sign") << u"-5"_s << false << 0.0;
    QTest::newRow("exponent") << u"1E3"_s << false << 0.0;
    QTest::newRow("full-width digits") << u"１２"_s << false << 0.0;
    QTest::newRow("too large to be finite") << QString(400, u'9') << false << 0.0;
}

void TstCatalogueStore::catalogueNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QCOMPARE(isCatalogueNumber(text), ok);
    const auto read = catalogueNumber(text);
    QCOMPARE(read.has_value(), ok);
    if (ok)
        QCOMPARE(*read, value);
}

void TstCatalogueStore::fieldChecksStopAtTheFirstBadBox_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("problem");
    const int none = int(FieldProblem::None), empty = int(FieldProblem::Empty), nan = int(FieldProblem::NotANumber);
    QTest::newRow("profile complete") << ItemKind::Profile
                                      << QStringList{u"框"_s, u"X"_s, u"6000"_s, u"2"_s, u"-"_s, u"1.2"_s, u"9000"_s} << -1
                                      << none;
    QTest::newRow("first box empty before a bad number")
        << ItemKind::Profile << QStringList{QString(), u"X"_s, u"abc"_s, u"2"_s, u"-"_s, u"1"_s, u"1"_s} << 0 << empty;
    QTest::newRow("bad number before a later empty box")
        << ItemKind::Profile << QStringList{u"框"_s, u"X"_s, u"1.2.3"_s, QString(), u"-"_s, u"1"_s, u"1"_s} << 2 << nan;
    QTest::newRow("empty number box")
        << ItemKind::Profile << QStringList{u"框"_s, u"X"_s, u"6000"_s, QString(), u"-"_s, u"1"_s, u"1"_s} << 3 << empty;
    QTest::newRow("lone point in density")
        << ItemKind::Steel << QStringList{u"钢"_s, u"G"_s, u"6000"_s, u"2"_s, u"-"_s, u"."_s, u"1"_s} << 5 << nan;
    QTest::newRow("letters in a text box pass")
        << ItemKind::Panel << QStringList{u"abc"_s, u"2000"_s, u"2000"_s, u"5"_s, u"xyz"_s, u"45"_s} << -1 << none;
    QTest::newRow("panel price pasted text")
        << ItemKind::Panel << QStringList{u"玻"_s, u"2000"_s, u"2000"_s, u"5"_s, u"白"_s, u"四十"_s} << 5 << nan;
    QTest::newRow("fitting unit empty")
        << ItemKind::Fitting << QStringList{u"铰链"_s, u"P"_s, QString(), u"3"_s} << 2 << empty;
    QTest::newRow("a fitting's 规格 may look like anything")
        << ItemKind::Fitting << QStringList{u"铰链"_s, u"1.2.3"_s, u"只"_s, u"3"_s} << -1 << none;
}

void TstCatalogueStore::fieldChecksStopAtTheFirstBadBox()
{
    QFETCH(ItemKind, kind);
    QFETCH(QStringList, texts);
    QFETCH(int, index);
    QFETCH(int, problem);
    const FieldCheck check = checkFields(texts, numericFields(kind));
    QCOMPARE(check.index, index);
    QCOMPARE(int(check.problem), problem);
    FieldCheck viaValues;
    QCOMPARE(itemValues(kind, texts, &viaValues).has_value(), index < 0);
    QCOMPARE(viaValues.index, index);
}

void TstCatalogueStore::itemValuesKeepTextsAsTyped()
{
    const auto values = itemValues(ItemKind::Profile,
                                   {u" 框 '60' "_s, u"X60"_s, u"6000.0"_s, u" 2 "_s, u"-"_s, u".85"_s, u"9000"_s});
    QVERIFY(values);
    QCOMPARE(*values, (QVariantList{u" 框 '60' "_s, u"X60"_s, 6000.0, 2.0, u"-"_s, 0.85, 9000.0}));
    // A wrong number of texts is refused rather than written short.
    QVERIFY(!itemValues(ItemKind::Fitting, {u"a"_s, u"b"_s, u"c"_s}));
}

void TstCatalogueStore::rowsComeBackInTableOrderAndGeneralForm()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    const qint64 b = addSeries(maker, u"B系列"_s);
    const qint64 a = addSeries(maker, u"A系列"_s);
    CatalogueStore store;
    const auto series = store.seriesOf(maker);
    QVERIFY(series);
    QCOMPARE(series->size(), 2);
    QCOMPARE(series->at(0).id, b); // table order, not by name
    QCOMPARE(series->at(1).id, a);

    for (const ItemKind kind : allItemKinds()) {
        const qint64 owner = kind == ItemKind::Profile ? b : addMaker(u"厂"_s, int(kind) + 1);
        const qint64 second = addItem(kind, owner, u"乙"_s);
        addItem(kind, owner, u"甲"_s);
        const auto items = store.items(kind, owner);
        QVERIFY(items);
        QCOMPARE(items->size(), 2);
        QCOMPARE(items->first().id, second);
        const QStringList texts = itemRowTexts(items->first());
        QCOMPARE(texts.size(), itemKindInfo(kind).idColumn() + 1);
        QCOMPARE(texts.last(), QString::number(second));
        QCOMPARE(texts.at(texts.size() - 2), QString::number(owner));
        QCOMPARE(texts.first(), u"乙"_s);
    }
    const auto profile = store.items(ItemKind::Profile, b)->first();
    QCOMPARE(itemRowTexts(profile).mid(0, 7),
             (QStringList{u"乙"_s, u"X60"_s, u"6000"_s, u"2"_s, u"白"_s, u"1.25"_s, u"9000"_s}));
}

void TstCatalogueStore::numbersFollowTheLargest()
{
    QVERIFY(testfixture::exec(db(), u"INSERT INTO \"材料厂家\" (\"编号\", \"厂家名称\", \"厂家类别\") VALUES (41, 'x', 2)"_s));
    QCOMPARE(addMaker(u"新"_s, 2), 42);
    QCOMPARE(addItem(ItemKind::Steel, 42, u"钢"_s), 1);
    QCOMPARE(addItem(ItemKind::Steel, 42, u"钢"_s), 2);
}

void TstCatalogueStore::failedNumberingInsertsNothing()
{
    // The largest number a maker can have: no next one.
    QVERIFY(testfixture::exec(db(),
                              u"INSERT INTO \"材料厂家\" (\"编号\", \"厂家名称\", \"厂家类别\") VALUES (2147483647, 'x', 1)"_s));
    CatalogueStore store;
    QVERIFY(!store.addMaker({0, u"新"_s, u"-"_s, u"-"_s, u"-"_s, 1}));
    QVERIFY(!store.lastError().isEmpty());
    QCOMPARE(testfixture::rowCount(db(), u"材料厂家"_s), 1);
}

void TstCatalogueStore::quotesRoundTrip()
{
    const QString odd = u"O'Neil's \"塑钢\" -- ; DROP TABLE 型材; '"_s;
    CatalogueStore store;
    const auto maker = store.addMaker({0, odd, odd, odd, odd, 1});
    QVERIFY(maker);
    const auto series = store.addSeries(*maker, odd);
    QVERIFY(series);
    const auto item = store.addItem(ItemKind::Profile, *series, {odd, odd, 1.0, 2.0, odd, 3.0, 4.0});
    QVERIFY(item);
    QCOMPARE(store.maker(*maker)->name, odd);
    QCOMPARE(store.maker(*maker)->fax, odd);
    QCOMPARE(store.series(*series)->name, odd);
    QCOMPARE(store.item(ItemKind::Profile, *item)->values.at(4).toString(), odd);
    QVERIFY(store.renameSeries(*series, odd + u"'"_s));
    QCOMPARE(store.series(*series)->name, odd + u"'"_s);
    QCOMPARE(testfixture::rowCount(db(), u"型材"_s), 1);
}

void TstCatalogueStore::makerKindNeverChanges()
{
    const qint64 id = addMaker(u"钢厂"_s, 2);
    CatalogueStore store;
    QVERIFY(store.updateMaker({id, u"新名"_s, u"电话"_s, u"地址"_s, u"传真"_s, 4}));
    const auto m = store.maker(id);
    QCOMPARE(m->name, u"新名"_s);
    QCOMPARE(m->phone, u"电话"_s);
    QCOMPARE(m->address, u"地址"_s);
    QCOMPARE(m->fax, u"传真"_s);
    QCOMPARE(m->kind, 2);
}

void TstCatalogueStore::vanishedRecordsAreReported()
{
    CatalogueStore store;
    QVERIFY(!store.maker(99));
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.series(99));
    QVERIFY(!store.item(ItemKind::Panel, 99));
    QVERIFY(!store.updateMaker({99, u"a"_s, u"b"_s, u"c"_s, u"d"_s, 1}));
    QVERIFY(!store.renameSeries(99, u"a"_s));
    QVERIFY(!store.updateItem(ItemKind::Fitting, 99, sampleValues(ItemKind::Fitting, u"a"_s)));
    QCOMPARE(testfixture::rowCount(db(), u"配件"_s), 0);
}

void TstCatalogueStore::closedDatabaseFailsCleanly()
{
    platform::closeConnection(app::kMainConn);
    CatalogueStore store;
    QVERIFY(!store.isOpen());
    QVERIFY(!store.makers());
    QVERIFY(!store.addMaker({0, u"a"_s, u"-"_s, u"-"_s, u"-"_s, 1}));
    QVERIFY(!store.deleteMaker(1, 1));
    QVERIFY(!store.setPrices(ItemKind::Profile, 1, 1.0));
    QVERIFY(!store.lastError().isEmpty());
}

void TstCatalogueStore::deleteMakerTakesEverythingUnderIt_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("profile maker") << 1;
    QTest::newRow("steel maker") << 2;
    QTest::newRow("panel maker") << 3;
    QTest::newRow("fitting maker") << 4;
}

void TstCatalogueStore::deleteMakerTakesEverythingUnderIt()
{
    QFETCH(int, kind);
    // Two makers of the kind, each with children; only the first goes.
    QList<qint64> makers;
    for (int m = 0; m < 2; ++m) {
        const qint64 maker = addMaker(u"厂%1"_s.arg(m), kind);
        makers << maker;
        if (kind == 1) {
            for (int s = 0; s < 2; ++s) {
                const qint64 series = addSeries(maker, u"系列"_s);
                addItem(ItemKind::Profile, series, u"型材"_s);
                addItem(ItemKind::Profile, series, u"型材"_s);
            }
        } else {
            addItem(ItemKind(kind - 1), maker, u"料"_s);
            addItem(ItemKind(kind - 1), maker, u"料"_s);
        }
    }
    const QString table = itemKindInfo(kind == 1 ? ItemKind::Profile : ItemKind(kind - 1)).table;
    CatalogueStore store;
    QVERIFY2(store.deleteMaker(makers[0], kind), qPrintable(store.lastError()));
    QVERIFY(!store.maker(makers[0]));
    QVERIFY(store.maker(makers[1]));
    QCOMPARE(testfixture::rowCount(db(), u"材料厂家"_s), 1);
    QCOMPARE(testfixture::rowCount(db(), table), kind == 1 ? 4 : 2);
    if (kind == 1) {
        QCOMPARE(testfixture::rowCount(db(), u"型材系列"_s), 2);
        QCOMPARE(store.seriesOf(makers[1])->size(), 2);
        QCOMPARE(store.seriesOf(makers[0])->size(), 0);
    } else {
        QCOMPARE(store.items(ItemKind(kind - 1), makers[1])->size(), 2);
    }
}

void TstCatalogueStore::deleteSeriesTakesItsProfiles()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    const qint64 gone = addSeries(maker, u"去"_s);
    const qint64 kept = addSeries(maker, u"留"_s);
    addItem(ItemKind::Profile, gone, u"a"_s);
    addItem(ItemKind::Profile, gone, u"b"_s);
    addItem(ItemKind::Profile, kept, u"c"_s);
    CatalogueStore store;
    QVERIFY(store.deleteSeries(gone));
    QCOMPARE(store.items(ItemKind::Profile, gone)->size(), 0);
    QCOMPARE(store.items(ItemKind::Profile, kept)->size(), 1);
    QVERIFY(!store.series(gone));
    QVERIFY(store.maker(maker));
}

void TstCatalogueStore::failedCascadeDeletesNothing_data()
{
    QTest::addColumn<int>("kind"); // 1-4 a maker, 5 a series
    QTest::addColumn<QString>("refusingTable");
    // The last statement of each cascade fails, after the children were already deleted.
    QTest::newRow("profile maker, maker row refused") << 1 << u"材料厂家"_s;
    QTest::newRow("profile maker, series refused") << 1 << u"型材系列"_s;
    QTest::newRow("steel maker") << 2 << u"材料厂家"_s;
    QTest::newRow("panel maker") << 3 << u"材料厂家"_s;
    QTest::newRow("fitting maker") << 4 << u"材料厂家"_s;
    QTest::newRow("series") << 5 << u"型材系列"_s;
}

void TstCatalogueStore::failedCascadeDeletesNothing()
{
    QFETCH(int, kind);
    QFETCH(QString, refusingTable);
    const qint64 maker = addMaker(u"厂"_s, kind == 5 ? 1 : kind);
    qint64 series = 0;
    if (kind == 1 || kind == 5) {
        series = addSeries(maker, u"系列"_s);
        addItem(ItemKind::Profile, series, u"a"_s);
        addItem(ItemKind::Profile, addSeries(maker, u"系列2"_s), u"b"_s);
    } else {
        addItem(ItemKind(kind - 1), maker, u"a"_s);
    }
    const auto counts = [this] {
        QList<int> c;
        for (const QString &t : {u"材料厂家"_s, u"型材系列"_s, u"型材"_s, u"型钢"_s, u"玻璃"_s, u"配件"_s})
            c << testfixture::rowCount(db(), t);
        return c;
    };
    const QList<int> before = counts();
    QVERIFY(testfixture::exec(db(), u"CREATE TEMP TRIGGER refuse BEFORE DELETE ON "_s + platform::ident(refusingTable)
                                        + u" BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    CatalogueStore store;
    QVERIFY(!(kind == 5 ? store.deleteSeries(series) : store.deleteMaker(maker, kind)));
    QVERIFY(store.lastError().contains(u"refused"_s));
    QCOMPARE(counts(), before);
    // Nothing is left open: the next change commits normally.
    QVERIFY(testfixture::exec(db(), u"DROP TRIGGER refuse"_s));
    QVERIFY(kind == 5 ? store.deleteSeries(series) : store.deleteMaker(maker, kind));
    QCOMPARE(testfixture::rowCount(db(), u"材料厂家"_s), kind == 5 ? 1 : 0);
}

void TstCatalogueStore::setPricesSetsTheWholeGroup_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::newRow("profiles of a series") << ItemKind::Profile;
    QTest::newRow("steel of a maker") << ItemKind::Steel;
    QTest::newRow("panels of a maker") << ItemKind::Panel;
    QTest::newRow("fittings of a maker") << ItemKind::Fitting;
}

void TstCatalogueStore::setPricesSetsTheWholeGroup()
{
    QFETCH(ItemKind, kind);
    const auto owner = [kind] {
        const qint64 maker = addMaker(u"厂"_s, int(kind) + 1);
        return kind == ItemKind::Profile ? addSeries(maker, u"系列"_s) : maker;
    };
    const qint64 group = owner();
    const qint64 other = owner();
    addItem(kind, group, u"a"_s);
    addItem(kind, group, u"b"_s);
    addItem(kind, other, u"c"_s);
    const int price = itemKindInfo(kind).priceField;
    const double otherPrice = sampleValues(kind, {}).at(price).toDouble();
    CatalogueStore store;
    QVERIFY(store.setPrices(kind, group, 10000));
    const auto items = store.items(kind, group);
    QVERIFY(items);
    for (const Item &item : *items)
        QCOMPARE(item.values.at(price).toDouble(), 10000.0);
    QCOMPARE(store.items(kind, other)->first().values.at(price).toDouble(), otherPrice);
    // The other fields stay.
    QCOMPARE(store.items(kind, group)->first().values.at(0).toString(), u"a"_s);
}

QTEST_MAIN(TstCatalogueStore)
#include "tst_catalogue_store.moc"
