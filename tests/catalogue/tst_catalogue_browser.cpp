#include "helpers.h"

#include <QAbstractButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace catalogue;
using namespace cattest;

Q_DECLARE_METATYPE(catalogue::ItemKind)

class TstCatalogueBrowser : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void treeHoldsMakersAndTheirSeries();
    void emptyCatalogueHasNoKind();
    void noMainDatabaseGivesAnEmptyTree();
    void listHeadersAndRows_data();
    void listHeadersAndRows();
    void kindFromFirstHeader_data();
    void kindFromFirstHeader();
    void nodeDispatchByTag_data();
    void nodeDispatchByTag();
    void mouseClickShowsTheListAndAgainRereads();
    void keyboardMoveShowsTheList();
    void doubleClickNeedsASelectedRow();
    void refillOnActivation();
    void refillOnMdiActivation();
    void failingListQueryLeavesNoKind();
    void resizeRule();

private:
    CatalogueBrowser *makeBrowser();
    std::unique_ptr<testfixture::DataFolder> m_fx;
    std::unique_ptr<QWidget> m_host;
};

void TstCatalogueBrowser::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstCatalogueBrowser::cleanup()
{
    m_host.reset();
    m_fx.reset();
}

CatalogueBrowser *TstCatalogueBrowser::makeBrowser()
{
    m_host = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_host.get());
    auto *browser = new CatalogueBrowser(m_host.get());
    layout->addWidget(browser);
    m_host->resize(800, 500);
    return browser;
}

void TstCatalogueBrowser::treeHoldsMakersAndTheirSeries()
{
    const qint64 steel = addMaker(u"钢厂"_s, 2);
    const qint64 profiles = addMaker(u"型材厂"_s, 1);
    const qint64 bare = addMaker(u"空型材厂"_s, 1);
    const qint64 s1 = addSeries(profiles, u"60系列"_s);
    const qint64 s2 = addSeries(profiles, u"80系列"_s);
    // A series row that points at a steel maker never shows.
    addSeries(steel, u"错挂系列"_s);
    QCOMPARE(s1, steel); // a maker and a series with the same number

    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    QTreeWidget *tree = b->tree();
    QCOMPARE(tree->topLevelItemCount(), 3);
    const QList<std::tuple<qint64, QString, QString>> makers = {
        {steel, u"钢厂"_s, u"2"_s}, {profiles, u"型材厂"_s, u"1"_s}, {bare, u"空型材厂"_s, u"1"_s}};
    for (int i = 0; i < 3; ++i) {
        const auto [id, name, kind] = makers[i];
        QTreeWidgetItem *n = tree->topLevelItem(i);
        QCOMPARE(n->text(0), name);
        QCOMPARE(CatalogueBrowser::nodeTag(n), kind + QString::number(id));
        QCOMPARE(CatalogueBrowser::nodeKey(n), u"Node1"_s + QString::number(id));
        QVERIFY(!n->isExpanded());
    }
    QCOMPARE(tree->topLevelItem(0)->childCount(), 0);
    QCOMPARE(tree->topLevelItem(2)->childCount(), 0);
    QTreeWidgetItem *withSeries = tree->topLevelItem(1);
    QCOMPARE(withSeries->childCount(), 2);
    QCOMPARE(withSeries->child(0)->text(0), u"60系列"_s);
    QCOMPARE(CatalogueBrowser::nodeTag(withSeries->child(0)), u"5"_s + QString::number(s1));
    QCOMPARE(CatalogueBrowser::nodeKey(withSeries->child(1)), u"Node2"_s + QString::number(s2));
    QCOMPARE(b->nodeByKey(u"Node1"_s + QString::number(steel)), tree->topLevelItem(0));
    QCOMPARE(b->nodeByKey(u"Node2"_s + QString::number(s1)), withSeries->child(0));
    QVERIFY(!withSeries->icon(0).isNull());
    // The list stays empty until a node is clicked.
    QVERIFY(!b->hasColumns());
}

void TstCatalogueBrowser::emptyCatalogueHasNoKind()
{
    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    QCOMPARE(b->tree()->topLevelItemCount(), 0);
    QVERIFY(!b->hasColumns());
    QCOMPARE(b->list()->columnCount(), 0);
    QCOMPARE(b->listKind(), QString());
    QVERIFY(!b->listItemKind());
    QVERIFY(!b->selectedRow());
    QVERIFY(!b->selectedNode());
    b->Tvw_NodeClick(); // nothing selected: nothing happens
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstCatalogueBrowser::noMainDatabaseGivesAnEmptyTree()
{
    addMaker(u"钢厂"_s, 2);
    platform::closeConnection(app::kMainConn);
    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    QCOMPARE(b->tree()->topLevelItemCount(), 0);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstCatalogueBrowser::listHeadersAndRows_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("idColumn");
    QTest::addColumn<QString>("listKind");
    QTest::newRow("profiles") << ItemKind::Profile
                              << QStringList{u"型材名称"_s, u"型材规格"_s, u"型材长度mm"_s, u"型材厚度mm"_s,
                                             u"型材颜色"_s, u"型材线密度"_s, u"型材吨价格(元)"_s, u"系列编号"_s,
                                             u"编号"_s, QString()}
                              << QStringList{u"框'料"_s, u"X60"_s, u"6000"_s, u"2"_s, u"白"_s, u"1.25"_s, u"9000"_s}
                              << 8 << u"型材"_s;
    QTest::newRow("steel") << ItemKind::Steel
                           << QStringList{u"型钢名称"_s, u"型钢规格"_s, u"型钢长度mm"_s, u"型钢厚度mm"_s, u"型钢颜色"_s,
                                          u"型钢线密度"_s, u"型钢吨价格(元)"_s, u"厂家编号"_s, u"编号"_s, QString()}
                           << QStringList{u"框'料"_s, u"G20"_s, u"6000"_s, u"1.5"_s, u"-"_s, u"0.85"_s, u"5200"_s}
                           << 8 << u"型钢"_s;
    QTest::newRow("panels") << ItemKind::Panel
                            << QStringList{u"板材名称"_s, u"板材长mm"_s, u"板材宽mm"_s, u"板材厚度mm"_s, u"板材颜色"_s,
                                           u"板材平方单价"_s, u"厂家编号"_s, u"编号"_s, QString()}
                            << QStringList{u"框'料"_s, u"2000"_s, u"1500"_s, u"5"_s, u"白"_s, u"45.5"_s} << 7
                            << u"板材"_s;
    QTest::newRow("fittings") << ItemKind::Fitting
                              << QStringList{u"配件名称"_s, u"配件规格"_s, u"配件单位"_s, u"配件单价"_s, u"厂家编号"_s,
                                             u"编号"_s, QString()}
                              << QStringList{u"框'料"_s, u"P1"_s, u"只"_s, u"3.5"_s} << 5 << u"配件"_s;
}

void TstCatalogueBrowser::listHeadersAndRows()
{
    QFETCH(ItemKind, kind);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, fields);
    QFETCH(int, idColumn);
    QFETCH(QString, listKind);
    const qint64 maker = addMaker(u"厂"_s, int(kind) + 1);
    // Numbers that differ between owner and record, so their columns cannot be confused.
    for (int i = 0; i < 3; ++i)
        addItem(kind, 999, u"别家"_s);
    const qint64 owner = kind == ItemKind::Profile ? addSeries(addMaker(u"型材厂"_s, 1), u"系列"_s) : maker;
    const qint64 first = addItem(kind, owner, u"框'料"_s);
    const qint64 second = addItem(kind, owner, u"第二"_s);

    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    b->loadItemList(kind, owner);
    QTreeWidget *list = b->list();
    QCOMPARE(cattest::headers(list), headers);
    QCOMPARE(list->topLevelItemCount(), 2);
    const QStringList expected = fields + QStringList{QString::number(owner), QString::number(first), QString()};
    QCOMPARE(rowTexts(list->topLevelItem(0)), expected);
    QCOMPARE(list->topLevelItem(1)->text(0), u"第二"_s);
    QCOMPARE(list->topLevelItem(1)->text(idColumn), QString::number(second));
    QCOMPARE(list->topLevelItem(1)->text(idColumn - 1), QString::number(owner));
    QCOMPARE(b->listKind(), listKind);
    QCOMPARE(b->listItemKind(), std::optional<ItemKind>(kind));
    QCOMPARE(itemKindInfo(kind).idColumn(), idColumn);
    // A list is rebuilt, not appended to.
    b->loadItemList(kind, owner);
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->columnCount(), headers.size());
}

void TstCatalogueBrowser::kindFromFirstHeader_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("kind"); // -1: none
    QTest::newRow("profiles") << u"型材名称"_s << int(ItemKind::Profile);
    QTest::newRow("steel") << u"型钢名称"_s << int(ItemKind::Steel);
    QTest::newRow("panels are 板材") << u"板材名称"_s << int(ItemKind::Panel);
    QTest::newRow("the table name is not a kind") << u"玻璃名称"_s << -1;
    QTest::newRow("fittings") << u"配件名称"_s << int(ItemKind::Fitting);
    QTest::newRow("two characters are enough") << u"配件"_s << int(ItemKind::Fitting);
    QTest::newRow("one character is not") << u"配"_s << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TstCatalogueBrowser::kindFromFirstHeader()
{
    QFETCH(QString, header);
    QFETCH(int, kind);
    const auto found = itemKindFromHeader(header);
    QCOMPARE(found ? int(*found) : -1, kind);
}

void TstCatalogueBrowser::nodeDispatchByTag_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedListKind"); // "=" : the list stays as it was
    QTest::addColumn<int>("rows");
    QTest::newRow("profile maker empties the list") << u"1"_s << QString() << 0;
    QTest::newRow("steel maker") << u"2"_s << u"型钢"_s << 1;
    QTest::newRow("panel maker") << u"3"_s << u"板材"_s << 1;
    QTest::newRow("fitting maker") << u"4"_s << u"配件"_s << 1;
    QTest::newRow("series") << u"5"_s << u"型材"_s << 1;
    QTest::newRow("unknown kind leaves the list") << u"7"_s << u"="_s << 2;
}

void TstCatalogueBrowser::nodeDispatchByTag()
{
    QFETCH(QString, kind);
    QFETCH(QString, expectedListKind);
    QFETCH(int, rows);
    // Every table holds one row owned by number 7 (a panel maker's list of two is shown first).
    for (const ItemKind k : allItemKinds())
        addItem(k, 7, u"料"_s);
    addItem(ItemKind::Panel, 8, u"甲"_s);
    addItem(ItemKind::Panel, 8, u"乙"_s);

    CatalogueBrowser *b = makeBrowser();
    b->LoadPCList(8);
    QCOMPARE(b->list()->topLevelItemCount(), 2);
    QTreeWidgetItem *n = b->makeNode(u"节点"_s, kind + u"7"_s, u"Node17"_s);
    b->insertNodeAfter(n, nullptr);
    b->tree()->setCurrentItem(n);
    b->Tvw_NodeClick();
    if (expectedListKind == u"=") {
        QCOMPARE(b->listKind(), u"板材"_s);
    } else {
        QCOMPARE(b->listKind(), expectedListKind);
        QCOMPARE(b->hasColumns(), !expectedListKind.isEmpty());
    }
    QCOMPARE(b->list()->topLevelItemCount(), rows);
}

void TstCatalogueBrowser::mouseClickShowsTheListAndAgainRereads()
{
    const qint64 maker = addMaker(u"配件厂"_s, 4);
    addItem(ItemKind::Fitting, maker, u"执手"_s);
    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    QTreeWidgetItem *n = b->tree()->topLevelItem(0);
    const QPoint at = b->tree()->visualItemRect(n).center();
    QTest::mouseClick(b->tree()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(b->selectedNode(), n);
    QCOMPARE(b->listKind(), u"配件"_s);
    QCOMPARE(b->list()->topLevelItemCount(), 1);
    // Nothing is cached: a second click on the same node reads the table again.
    addItem(ItemKind::Fitting, maker, u"合页"_s);
    QTest::mouseClick(b->tree()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(b->list()->topLevelItemCount(), 2);
}

void TstCatalogueBrowser::keyboardMoveShowsTheList()
{
    const qint64 steel = addMaker(u"钢厂"_s, 2);
    const qint64 glass = addMaker(u"玻璃厂"_s, 3);
    addItem(ItemKind::Steel, steel, u"钢"_s);
    addItem(ItemKind::Panel, glass, u"玻璃"_s);
    CatalogueBrowser *b = makeBrowser();
    b->LoadCJTree();
    b->tree()->setCurrentItem(b->tree()->topLevelItem(0));
    QCOMPARE(b->listKind(), u"型钢"_s);
    QTest::keyClick(b->tree(), Qt::Key_Down);
    QCOMPARE(b->selectedNode(), b->tree()->topLevelItem(1));
    QCOMPARE(b->listKind(), u"板材"_s);
    QCOMPARE(b->list()->topLevelItem(0)->text(0), u"玻璃"_s);
}

void TstCatalogueBrowser::doubleClickNeedsASelectedRow()
{
    const qint64 maker = addMaker(u"钢厂"_s, 2);
    addItem(ItemKind::Steel, maker, u"钢"_s);
    CatalogueBrowser *b = makeBrowser();
    QSignalSpy spy(b, &CatalogueBrowser::itemCommand);
    b->lvw_DblClick(); // no list at all
    QCOMPARE(spy.count(), 0);
    b->LoadXGList(maker);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    QWidget *viewport = b->list()->viewport();
    // Below the last row, with nothing selected.
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(20, viewport->height() - 5));
    QCOMPARE(spy.count(), 0);
    QVERIFY(!b->selectedRow());
    const QPoint row(20, b->list()->visualItemRect(b->list()->topLevelItem(0)).center().y());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, row);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(b->selectedRow(), b->list()->topLevelItem(0));
}

void TstCatalogueBrowser::refillOnActivation()
{
    const qint64 maker = addMaker(u"钢厂"_s, 2);
    addItem(ItemKind::Steel, maker, u"钢"_s);
    CatalogueBrowser *b = makeBrowser();
    b->refillTree();
    b->LoadXGList(maker);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));

    addMaker(u"新厂"_s, 3);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_host.get(), &activate);
    QCOMPARE(b->tree()->topLevelItemCount(), 1); // not asked for: the tree stays

    b->setRefillOnActivation(true);
    QCoreApplication::sendEvent(m_host.get(), &activate);
    QCOMPARE(b->tree()->topLevelItemCount(), 2);
    QCOMPARE(b->tree()->topLevelItem(1)->text(0), u"新厂"_s);
    // The list keeps what it showed.
    QCOMPARE(b->listKind(), u"型钢"_s);
    QCOMPARE(b->list()->topLevelItemCount(), 1);
    // A refill removes every node first rather than adding the makers again.
    QCoreApplication::sendEvent(m_host.get(), &activate);
    QCOMPARE(b->tree()->topLevelItemCount(), 2);
}

void TstCatalogueBrowser::refillOnMdiActivation()
{
    QMdiArea area;
    area.resize(900, 700);
    auto *browser = new CatalogueBrowser;
    browser->setRefillOnActivation(true);
    QMdiSubWindow *mine = area.addSubWindow(browser);
    QMdiSubWindow *other = area.addSubWindow(new QWidget);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    mine->show();
    other->show();
    area.setActiveSubWindow(other);
    QCOMPARE(browser->tree()->topLevelItemCount(), 0);

    addMaker(u"新厂"_s, 4);
    area.setActiveSubWindow(mine);
    QCOMPARE(browser->tree()->topLevelItemCount(), 1);
    QCOMPARE(browser->tree()->topLevelItem(0)->text(0), u"新厂"_s);
}

void TstCatalogueBrowser::failingListQueryLeavesNoKind()
{
    const qint64 maker = addMaker(u"钢厂"_s, 2);
    addItem(ItemKind::Steel, maker, u"钢"_s);
    CatalogueBrowser *b = makeBrowser();
    b->LoadPJList(maker); // a list with columns
    QVERIFY(b->hasColumns());
    QVERIFY(testfixture::exec(app::mainDb(), u"ALTER TABLE \"型钢\" RENAME TO \"型钢_\""_s));
    b->LoadXGList(maker);
    QVERIFY(!b->hasColumns());
    QCOMPARE(b->list()->topLevelItemCount(), 0);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown.first().title, u"出错"_s);
    QVERIFY(testfixture::exec(app::mainDb(), u"ALTER TABLE \"型钢_\" RENAME TO \"型钢\""_s));
}

void TstCatalogueBrowser::resizeRule()
{
    CatalogueBrowser b;
    b.setTreePanelWidth(250);
    b.addTreeButton(new QPushButton(u"添加 &T"_s));
    b.addListButton(new QPushButton(u"添加 &A"_s));
    b.resize(800, 500);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    // 350, 720 and 120 twips at 15 twips a pixel.
    QCOMPARE(b.treePanel()->height(), 500 - 23);
    QCOMPARE(b.treePanel()->width(), 250);
    QCOMPARE(b.tree()->height(), b.treePanel()->height() - 48);
    QCOMPARE(b.listPanel()->height(), 500 - 23);
    QCOMPARE(b.listPanel()->width(), 800 - 250 - 23);
    QCOMPARE(b.list()->width(), b.listPanel()->width() - 8);
    QCOMPARE(b.list()->height(), b.listPanel()->height() - 48);
    QVERIFY(b.listPanel()->x() >= b.treePanel()->geometry().right());
    // The buttons sit in the strip under their view.
    const auto *button = b.listPanel()->findChild<QPushButton *>();
    QVERIFY(button->y() >= b.list()->geometry().bottom());
    QVERIFY(button->geometry().bottom() <= b.listPanel()->height());

    // Too small a window: nothing negative, nothing thrown.
    b.resize(100, 10);
    QCOMPARE(b.listPanel()->width(), 0);
    QCOMPARE(b.list()->height(), 0);
    QCOMPARE(b.tree()->height(), 0);
}

QTEST_MAIN(TstCatalogueBrowser)
#include "tst_catalogue_browser.moc"
