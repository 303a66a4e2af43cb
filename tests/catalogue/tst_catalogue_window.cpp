#include "helpers.h"

#include "catalogue/ui/dialogs.h"
#include "catalogue/ui/frmdatabase.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace catalogue;
using namespace cattest;

Q_DECLARE_METATYPE(catalogue::ItemKind)

namespace {
// Makes the next dialog choose in frmXLOption.
DialogStep chooseOption(bool series)
{
    return [series](QDialog *dialog) {
        if (series)
            dialog->findChild<QRadioButton *>(u"Option2"_s)->setChecked(true);
        return clickOk(dialog);
    };
}

DialogStep makerDialog(const QStringList &texts, int kindIndex)
{
    return [texts, kindIndex](QDialog *dialog) {
        dialog->findChild<QComboBox *>(u"Combo1"_s)->setCurrentIndex(kindIndex);
        return fillAndOk(texts)(dialog);
    };
}

// The owner a new item of this kind goes under: a series, or a maker of the kind.
qint64 ownerFor(ItemKind kind, const QString &name = u"厂"_s)
{
    const qint64 maker = addMaker(name, int(kind) + 1);
    return kind == ItemKind::Profile ? addSeries(maker, name + u"系列"_s) : maker;
}

QString ownerKey(ItemKind kind, qint64 owner)
{
    return (kind == ItemKind::Profile ? u"Node2"_s : u"Node1"_s) + QString::number(owner);
}

QList<int> tableCounts()
{
    QList<int> counts;
    for (const QString &t : {u"材料厂家"_s, u"型材系列"_s, u"型材"_s, u"型钢"_s, u"玻璃"_s, u"配件"_s})
        counts << testfixture::rowCount(app::mainDb(), t);
    return counts;
}
} // namespace

class TstCatalogueWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowForm();
    void noMainDatabaseShowsAnEmptyTree();
    void buildACatalogueFromNothing();

    void addMakerPlacement_data();
    void addMakerPlacement();
    void addSeriesPlacement();
    void cancelledDialogsWriteNothing();
    void editMakerKeepsItsKind();
    void editSeries();
    void treeCommandsWithoutSelection();
    void deleteNode_data();
    void deleteNode();
    void failedDeleteKeepsTreeAndTables();

    void addItemThroughTheDialog_data();
    void addItemThroughTheDialog();
    void addItemNeedsAListAndANode();
    void refusedNumbersWriteNothing_data();
    void refusedNumbersWriteNothing();
    void editItem_data();
    void editItem();
    void editItemWhoseRecordVanished();
    void deleteItem();
    void failedItemWritesKeepTheList();

    void setPrices_data();
    void setPrices();
    void priceCommandEdges();

    void quotesRoundTripThroughTheWindow();
    void oneWindowInTheMdiArea();

private:
    FrmDatabase *open();
    void click(const QString &button) { m_window->findChild<QPushButton *>(button)->click(); }
    CatalogueBrowser *browser() const { return m_window->browser(); }
    platform::ScriptedMessages *msgs() const { return m_fx->msgs; }

    std::unique_ptr<testfixture::DataFolder> m_fx;
    std::unique_ptr<FrmDatabase> m_window;
};

void TstCatalogueWindow::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstCatalogueWindow::cleanup()
{
    m_window.reset();
    m_fx.reset();
}

FrmDatabase *TstCatalogueWindow::open()
{
    m_window = std::make_unique<FrmDatabase>();
    return m_window.get();
}

void TstCatalogueWindow::windowForm()
{
    addMaker(u"钢厂"_s, 2);
    open();
    QCOMPARE(m_window->objectName(), u"frmDatabase"_s);
    QCOMPARE(m_window->windowTitle(), u"数据库管理"_s);
    const QList<std::tuple<QString, QString, QString>> buttons = {
        {u"CmdAdd1"_s, u"添加 &T"_s, u"Picture1"_s},   {u"CmdEdit1"_s, u"编辑 &B"_s, u"Picture1"_s},
        {u"CmdDel1"_s, u"删除 &S"_s, u"Picture1"_s},   {u"CmdAdd2"_s, u"添加 &A"_s, u"Picture2"_s},
        {u"CmdEdit2"_s, u"编辑 &E"_s, u"Picture2"_s},  {u"CmdDel2"_s, u"删除 &D"_s, u"Picture2"_s},
        {u"cmdPrice"_s, u"调整价格"_s, u"Picture2"_s}};
    for (const auto &[name, caption, panel] : buttons) {
        auto *b = m_window->findChild<QPushButton *>(name);
        QVERIFY2(b, qPrintable(name));
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->parentWidget()->objectName(), panel);
    }
    // Filled once on opening; the list waits for a click.
    QCOMPARE(browser()->tree()->topLevelItemCount(), 1);
    QVERIFY(!browser()->hasColumns());
}

void TstCatalogueWindow::noMainDatabaseShowsAnEmptyTree()
{
    addMaker(u"钢厂"_s, 2);
    platform::closeConnection(app::kMainConn);
    open();
    QCOMPARE(browser()->tree()->topLevelItemCount(), 0);
    QVERIFY(msgs()->shown.isEmpty());
}

void TstCatalogueWindow::buildACatalogueFromNothing()
{
    open();
    QTreeWidget *tree = browser()->tree();
    // A profile maker, from an empty tree.
    answerDialogs(msgs(), {makerDialog({u"型材厂"_s, u"0571-1"_s, u"杭州"_s, u"-"_s}, 0)});
    click(u"CmdAdd1"_s);
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem *profiles = tree->topLevelItem(0);
    // Two series under it: the first through the option dialog, the second on the first series.
    selectNode(browser(), profiles);
    answerDialogs(msgs(), {chooseOption(true), fillAndOk({u"60系列"_s})});
    click(u"CmdAdd1"_s);
    selectNode(browser(), profiles->child(0));
    answerDialogs(msgs(), {fillAndOk({u"80系列"_s})});
    click(u"CmdAdd1"_s);
    QCOMPARE(profiles->childCount(), 2);
    // Profiles in each series.
    for (int s = 0; s < 2; ++s) {
        selectNode(browser(), profiles->child(s));
        for (int p = 0; p < 2; ++p) {
            answerDialogs(msgs(), {fillAndOk({u"型材%1%2"_s.arg(s).arg(p), u"X%1"_s.arg(p), QString(), QString(),
                                              QString(), u"1.2"_s, u"9000"_s})});
            click(u"CmdAdd2"_s);
        }
        QCOMPARE(browser()->list()->topLevelItemCount(), 2);
    }
    // A steel, a glass and a fittings maker, each added after the selected maker.
    selectNode(browser(), profiles);
    answerDialogs(msgs(), {chooseOption(false), makerDialog({u"钢厂"_s, u"-"_s, u"-"_s, u"-"_s}, 1)});
    click(u"CmdAdd1"_s);
    selectNode(browser(), tree->topLevelItem(1));
    answerDialogs(msgs(), {makerDialog({u"玻璃厂"_s, u"-"_s, u"-"_s, u"-"_s}, 2)});
    click(u"CmdAdd1"_s);
    selectNode(browser(), tree->topLevelItem(2));
    answerDialogs(msgs(), {makerDialog({u"五金厂"_s, u"-"_s, u"-"_s, u"-"_s}, 3)});
    click(u"CmdAdd1"_s);
    const QList<QStringList> items = {{u"衬钢"_s, u"G20"_s, QString(), QString(), QString(), u"0.9"_s, u"5200"_s},
                                      {u"白玻"_s, QString(), QString(), QString(), QString(), u"45"_s},
                                      {u"执手"_s, u"Z-1"_s, QString(), u"12"_s}};
    for (int m = 1; m < 4; ++m) {
        selectNode(browser(), tree->topLevelItem(m));
        answerDialogs(msgs(), {fillAndOk(items[m - 1])});
        click(u"CmdAdd2"_s);
        QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    }
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->texts().join(u'|')));
    QCOMPARE(tableCounts(), (QList<int>{4, 2, 4, 1, 1, 1}));

    // A fresh window shows the same tree, in table order.
    FrmDatabase again;
    QTreeWidget *fresh = again.browser()->tree();
    QCOMPARE(fresh->topLevelItemCount(), 4);
    for (int m = 0; m < 4; ++m) {
        QCOMPARE(fresh->topLevelItem(m)->text(0), tree->topLevelItem(m)->text(0));
        QCOMPARE(CatalogueBrowser::nodeTag(fresh->topLevelItem(m)), CatalogueBrowser::nodeTag(tree->topLevelItem(m)));
    }
    QCOMPARE(CatalogueBrowser::nodeTag(fresh->topLevelItem(3)), u"44"_s);
    QCOMPARE(fresh->topLevelItem(0)->child(1)->text(0), u"80系列"_s);
}

void TstCatalogueWindow::addMakerPlacement_data()
{
    QTest::addColumn<QString>("selectKey"); // "" : nothing selected
    QTest::addColumn<bool>("viaOption");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("nothing selected: at the end") << QString() << false << 3;
    QTest::newRow("after a steel maker") << u"Node11"_s << false << 1;
    QTest::newRow("after a profile maker, through the option") << u"Node12"_s << true << 2;
    QTest::newRow("after the last maker") << u"Node13"_s << false << 3;
}

void TstCatalogueWindow::addMakerPlacement()
{
    QFETCH(QString, selectKey);
    QFETCH(bool, viaOption);
    QFETCH(int, expectedIndex);
    addMaker(u"钢厂"_s, 2);
    addSeries(addMaker(u"型材厂"_s, 1), u"系列"_s);
    addMaker(u"五金厂"_s, 4);
    open();
    if (!selectKey.isEmpty())
        selectNode(browser(), browser()->nodeByKey(selectKey));
    SeenDialog seen;
    QList<DialogStep> steps;
    if (viaOption)
        steps << chooseOption(false);
    steps << see(&seen, makerDialog({u"新'厂"_s, QString(), QString(), QString()}, 2));
    answerDialogs(msgs(), steps);
    click(u"CmdAdd1"_s);
    const QStringList dialogs =
        viaOption ? QStringList{u"frmXLOption"_s, u"frmInputCJ"_s} : QStringList{u"frmInputCJ"_s};
    QCOMPARE(msgs()->dialogNames, dialogs);
    QCOMPARE(seen.caption, u"添加->厂家"_s);
    QCOMPARE(seen.labels, (QStringList{u"厂家名称"_s, u"联系电话"_s, u"厂址"_s, u"传真"_s, u"厂家类别"_s}));
    QCOMPARE(seen.texts, (QStringList{QString(), u"-"_s, u"-"_s, u"-"_s}));
    QCOMPARE(seen.focus, u"Text10"_s);

    QTreeWidgetItem *added = browser()->tree()->topLevelItem(expectedIndex);
    QCOMPARE(added->text(0), u"新'厂"_s);
    QCOMPARE(CatalogueBrowser::nodeTag(added), u"34"_s);
    QCOMPARE(CatalogueBrowser::nodeKey(added), u"Node14"_s);
    QCOMPARE(added->childCount(), 0);
    CatalogueStore store;
    const auto stored = store.maker(4);
    QVERIFY(stored);
    QCOMPARE(stored->name, u"新'厂"_s);
    QCOMPARE(stored->phone, u"-"_s);
    QCOMPARE(stored->kind, 3);
    // The series of the profile maker stay under it.
    QCOMPARE(browser()->nodeByKey(u"Node12"_s)->childCount(), 1);
}

void TstCatalogueWindow::addSeriesPlacement()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    addSeries(maker, u"A"_s);
    addSeries(maker, u"B"_s);
    open();
    QTreeWidgetItem *makerNode = browser()->nodeByKey(u"Node1"_s + QString::number(maker));
    // On the maker, through the option: the last child.
    selectNode(browser(), makerNode);
    SeenDialog seen;
    answerDialogs(msgs(), {chooseOption(true), see(&seen, fillAndOk({u"C"_s}))});
    click(u"CmdAdd1"_s);
    QCOMPARE(seen.caption, u"添加->型材厂家系列"_s);
    QCOMPARE(seen.labels, QStringList{u"系列名称"_s});
    QCOMPARE(seen.texts, QStringList{QString()});
    QCOMPARE(makerNode->childCount(), 3);
    QCOMPARE(makerNode->child(2)->text(0), u"C"_s);
    QCOMPARE(CatalogueBrowser::nodeTag(makerNode->child(2)), u"53"_s);
    QCOMPARE(CatalogueBrowser::nodeKey(makerNode->child(2)), u"Node23"_s);
    // On the first series: right after it, under the same maker.
    selectNode(browser(), makerNode->child(0));
    answerDialogs(msgs(), {fillAndOk({u"A2"_s})});
    click(u"CmdAdd1"_s);
    QStringList names;
    for (int i = 0; i < makerNode->childCount(); ++i)
        names << makerNode->child(i)->text(0);
    QCOMPARE(names, (QStringList{u"A"_s, u"A2"_s, u"B"_s, u"C"_s}));
    CatalogueStore store;
    QCOMPARE(store.series(4)->makerId, maker);
    QCOMPARE(store.seriesOf(maker)->size(), 4);
    QCOMPARE(msgs()->dialogNames, (QStringList{u"frmXLOption"_s, u"frmInputXL"_s, u"frmInputXL"_s}));
}

void TstCatalogueWindow::cancelledDialogsWriteNothing()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    addSeries(maker, u"A"_s);
    open();
    const QList<int> before = tableCounts();
    answerDialogs(msgs(), {cancel()});
    click(u"CmdAdd1"_s); // a maker
    selectNode(browser(), browser()->nodeByKey(u"Node11"_s));
    answerDialogs(msgs(), {chooseOption(true), cancel()});
    click(u"CmdAdd1"_s); // a series
    answerDialogs(msgs(), {cancel()});
    click(u"CmdEdit1"_s);
    selectNode(browser(), browser()->nodeByKey(u"Node21"_s));
    answerDialogs(msgs(), {cancel(), cancel()});
    click(u"CmdAdd2"_s); // a profile
    click(u"cmdPrice"_s);
    QCOMPARE(tableCounts(), before);
    QCOMPARE(browser()->tree()->topLevelItemCount(), 1);
    QCOMPARE(browser()->nodeByKey(u"Node11"_s)->childCount(), 1);
    QCOMPARE(browser()->nodeByKey(u"Node11"_s)->text(0), u"型材厂"_s);
    QCOMPARE(browser()->list()->topLevelItemCount(), 0);
    QVERIFY(msgs()->shown.isEmpty());
}

void TstCatalogueWindow::editMakerKeepsItsKind()
{
    catalogue::CatalogueStore store;
    const qint64 id = *store.addMaker({0, u"钢厂"_s, u"123"_s, u"路"_s, u"456"_s, 2});
    open();
    QTreeWidgetItem *n = browser()->nodeByKey(u"Node1"_s + QString::number(id));
    selectNode(browser(), n);
    SeenDialog seen;
    int kindShown = -2;
    answerDialogs(msgs(), {see(&seen, [&kindShown](QDialog *d) {
                               auto *combo = d->findChild<QComboBox *>(u"Combo1"_s);
                               kindShown = combo->currentIndex();
                               combo->setCurrentIndex(3); // another kind: ignored
                               return fillAndOk({u"新钢厂"_s, u"789"_s, u"街"_s, u"0"_s})(d);
                           })});
    click(u"CmdEdit1"_s);
    QCOMPARE(seen.caption, u"编辑->厂家"_s);
    QCOMPARE(seen.labels, (QStringList{u"厂家名称"_s, u"联系电话"_s, u"厂址"_s, u"传真"_s, u"厂家类别"_s}));
    QCOMPARE(seen.texts, (QStringList{u"钢厂"_s, u"123"_s, u"路"_s, u"456"_s}));
    QCOMPARE(kindShown, 1);
    QCOMPARE(n->text(0), u"新钢厂"_s);
    QCOMPARE(CatalogueBrowser::nodeTag(n), u"2"_s + QString::number(id));
    const auto m = store.maker(id);
    QCOMPARE(m->name, u"新钢厂"_s);
    QCOMPARE(m->phone, u"789"_s);
    QCOMPARE(m->address, u"街"_s);
    QCOMPARE(m->fax, u"0"_s);
    QCOMPARE(m->kind, 2);
}

void TstCatalogueWindow::editSeries()
{
    const qint64 series = addSeries(addMaker(u"型材厂"_s, 1), u"旧系列"_s);
    open();
    QTreeWidgetItem *n = browser()->nodeByKey(u"Node2"_s + QString::number(series));
    selectNode(browser(), n);
    SeenDialog seen;
    answerDialogs(msgs(), {see(&seen, fillAndOk({u"新'系列"_s}))});
    click(u"CmdEdit1"_s);
    QCOMPARE(seen.name, u"frmInputXL"_s);
    QCOMPARE(seen.caption, u"编辑->型材厂家系列"_s);
    QCOMPARE(seen.labels, QStringList{u"系列名称"_s});
    QCOMPARE(seen.texts, QStringList{u"旧系列"_s});
    QCOMPARE(n->text(0), u"新'系列"_s);
    CatalogueStore store;
    QCOMPARE(store.series(series)->name, u"新'系列"_s);
}

void TstCatalogueWindow::treeCommandsWithoutSelection()
{
    addMaker(u"钢厂"_s, 2);
    open();
    click(u"CmdEdit1"_s);
    click(u"CmdDel1"_s);
    QCOMPARE(msgs()->texts(), (QStringList{u"无选取所需编辑的对象！"_s, u"无选取所要删除的对象！"_s}));
    for (const auto &m : std::as_const(msgs()->shown)) {
        QCOMPARE(m.title, u"提示"_s);
        QCOMPARE(m.icon, platform::MsgIcon::Information);
    }
    QVERIFY(msgs()->dialogNames.isEmpty());
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"材料厂家"_s), 1);
}

void TstCatalogueWindow::deleteNode_data()
{
    QTest::addColumn<int>("kind"); // 1-4 a maker, 5 a series
    QTest::newRow("profile maker with series") << 1;
    QTest::newRow("steel maker") << 2;
    QTest::newRow("panel maker") << 3;
    QTest::newRow("fitting maker") << 4;
    QTest::newRow("series") << 5;
}

void TstCatalogueWindow::deleteNode()
{
    QFETCH(int, kind);
    const qint64 keep = addMaker(u"留下"_s, 2);
    addItem(ItemKind::Steel, keep, u"留下的钢"_s);
    const qint64 maker = addMaker(u"要删'的"_s, kind == 5 ? 1 : kind);
    qint64 series = 0;
    QString key = u"Node1"_s + QString::number(maker);
    if (kind == 1 || kind == 5) {
        series = addSeries(maker, u"系列'甲"_s);
        addItem(ItemKind::Profile, series, u"a"_s);
        addItem(ItemKind::Profile, addSeries(maker, u"系列乙"_s), u"b"_s);
        if (kind == 5)
            key = u"Node2"_s + QString::number(series);
    } else {
        addItem(ItemKind(kind - 1), maker, u"a"_s);
    }
    open();
    QTreeWidgetItem *n = browser()->nodeByKey(key);
    selectNode(browser(), n);
    const QString name = n->text(0);
    const QList<int> before = tableCounts();

    msgs()->answers = {platform::MsgAnswer::No};
    click(u"CmdDel1"_s);
    QCOMPARE(msgs()->shown.size(), 1);
    const platform::ShownMessage question = msgs()->shown.first();
    QCOMPARE(question.text, u"确认要删除该记录吗？("_s + name + u"（编号 "_s + QString::number(kind == 5 ? series : maker) + u"）)"_s);
    QCOMPARE(question.defaultButton, platform::MsgDefault::No);
    QCOMPARE(question.title, u"提示"_s);
    QCOMPARE(question.icon, platform::MsgIcon::None);
    QCOMPARE(question.buttons, platform::MsgButtons::YesNo);
    QCOMPARE(tableCounts(), before);
    QCOMPARE(browser()->nodeByKey(key), n);

    msgs()->clear();
    msgs()->answers = {platform::MsgAnswer::Yes};
    click(u"CmdDel1"_s);
    QVERIFY(!browser()->nodeByKey(key));
    QVERIFY(!browser()->selectedNode());
    QVERIFY(!browser()->hasColumns());
    QCOMPARE(browser()->list()->topLevelItemCount(), 0);
    CatalogueStore store;
    if (kind == 5) {
        QVERIFY(!store.series(series));
        QCOMPARE(store.items(ItemKind::Profile, series)->size(), 0);
        QCOMPARE(store.seriesOf(maker)->size(), 1); // the other series stays
        QCOMPARE(testfixture::rowCount(app::mainDb(), u"型材"_s), 1);
    } else {
        QVERIFY(!store.maker(maker));
        QCOMPARE(tableCounts(), (QList<int>{1, 0, 0, 1, 0, 0}));
    }
    QVERIFY(browser()->nodeByKey(u"Node1"_s + QString::number(keep)));

    // With the list emptied, the item commands have nothing to act on.
    msgs()->clear();
    click(u"CmdAdd2"_s);
    click(u"cmdPrice"_s);
    click(u"CmdEdit2"_s);
    click(u"CmdDel2"_s);
    QCOMPARE(msgs()->texts(), (QStringList{u"当前状态下不能添加任何数据！"_s, u"当前状态下不能调整任何数据！"_s,
                                           u"无选取选需的编辑对象！"_s, u"无选取所要删除的对象！"_s}));
}

void TstCatalogueWindow::failedDeleteKeepsTreeAndTables()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    const qint64 series = addSeries(maker, u"系列"_s);
    addItem(ItemKind::Profile, series, u"a"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(u"Node2"_s + QString::number(series)));
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    selectNode(browser(), browser()->nodeByKey(u"Node2"_s + QString::number(series)));
    const QList<int> before = tableCounts();
    // The maker's own row refuses to go, after its profiles and series were deleted.
    QVERIFY(testfixture::exec(app::mainDb(), u"CREATE TEMP TRIGGER refuse BEFORE DELETE ON \"材料厂家\" "
                                             u"BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    msgs()->answers = {platform::MsgAnswer::Yes};
    click(u"CmdDel1"_s);
    QCOMPARE(msgs()->shown.size(), 2);
    QCOMPARE(msgs()->shown.last().title, u"出错"_s);
    QVERIFY(msgs()->shown.last().text.contains(u"refused"_s));
    QCOMPARE(tableCounts(), before);
    QTreeWidgetItem *makerNode = browser()->nodeByKey(u"Node1"_s + QString::number(maker));
    QVERIFY(makerNode);
    QCOMPARE(makerNode->childCount(), 1);
    QCOMPARE(browser()->selectedNode(), makerNode);

    // Series: the tree and the list as they were.
    QVERIFY(testfixture::exec(app::mainDb(), u"CREATE TEMP TRIGGER refuse2 BEFORE DELETE ON \"型材系列\" "
                                             u"BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    selectNode(browser(), makerNode->child(0));
    msgs()->clear();
    msgs()->answers = {platform::MsgAnswer::Yes};
    click(u"CmdDel1"_s);
    QCOMPARE(msgs()->shown.last().title, u"出错"_s);
    QCOMPARE(makerNode->childCount(), 1);
    QCOMPARE(browser()->listKind(), u"型材"_s);
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    QCOMPARE(tableCounts(), before);
}

void TstCatalogueWindow::addItemThroughTheDialog_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("defaults");
    QTest::addColumn<QStringList>("typed");   // null: keep the default
    QTest::addColumn<QStringList>("shown");   // the row's fields afterwards
    QTest::newRow("profile") << ItemKind::Profile << u"frmInputXCXG"_s << u"添加->型材"_s
                             << QStringList{u"型材名称"_s, u"型材型号"_s, u"型材长度mm"_s, u"型材厚度mm"_s,
                                            u"型材颜色"_s, u"型材线密度(KG/M)"_s, u"型材吨价格(元)"_s}
                             << QStringList{QString(), QString(), u"6000"_s, u"2"_s, u"-"_s, QString(), QString()}
                             << QStringList{u"框'料"_s, u"X60"_s, QString(), u"2.50"_s, QString(), u".85"_s, u"9000"_s}
                             << QStringList{u"框'料"_s, u"X60"_s, u"6000"_s, u"2.5"_s, u"-"_s, u"0.85"_s, u"9000"_s};
    QTest::newRow("steel") << ItemKind::Steel << u"frmInputXCXG"_s << u"添加->型钢"_s
                           << QStringList{u"型钢名称"_s, u"型钢型号"_s, u"型钢长度mm"_s, u"型钢厚度mm"_s,
                                          u"型钢颜色"_s, u"型钢线密度(KG/M)"_s, u"型钢吨价格(元)"_s}
                           << QStringList{QString(), QString(), u"6000"_s, u"2"_s, u"-"_s, QString(), QString()}
                           << QStringList{u"衬钢"_s, u"G20"_s, u"5800.0"_s, QString(), QString(), u"1"_s, u"5200"_s}
                           << QStringList{u"衬钢"_s, u"G20"_s, u"5800"_s, u"2"_s, u"-"_s, u"1"_s, u"5200"_s};
    QTest::newRow("panel") << ItemKind::Panel << u"frmInputPC"_s << u"添加->板材"_s
                           << QStringList{u"板材名称"_s, u"板材长(mm)"_s, u"板材宽(mm)"_s, u"板材厚度(mm)"_s,
                                          u"板材颜色"_s, u"平方单价(元)"_s}
                           << QStringList{QString(), u"2000"_s, u"2000"_s, u"5"_s, u"白"_s, QString()}
                           << QStringList{u"白玻"_s, QString(), QString(), QString(), QString(), u"45.5"_s}
                           << QStringList{u"白玻"_s, u"2000"_s, u"2000"_s, u"5"_s, u"白"_s, u"45.5"_s};
    QTest::newRow("fitting") << ItemKind::Fitting << u"frmInputPJ"_s << u"添加->配件"_s
                             << QStringList{u"配件名称"_s, u"配件规格"_s, u"配件单位"_s, u"配件单价(元)"_s}
                             << QStringList{QString(), QString(), u"只"_s, QString()}
                             << QStringList{u"执手"_s, u"Z-1"_s, QString(), u"12"_s}
                             << QStringList{u"执手"_s, u"Z-1"_s, u"只"_s, u"12"_s};
}

void TstCatalogueWindow::addItemThroughTheDialog()
{
    QFETCH(ItemKind, kind);
    QFETCH(QString, dialog);
    QFETCH(QString, caption);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, defaults);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    const qint64 owner = ownerFor(kind);
    const qint64 existing = addItem(kind, owner, u"已有"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, owner)));
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    SeenDialog seen;
    answerDialogs(msgs(), {see(&seen, fillAndOk(typed))});
    click(u"CmdAdd2"_s);
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->texts().join(u'|')));
    QCOMPARE(seen.name, dialog);
    QCOMPARE(seen.caption, caption);
    QCOMPARE(seen.labels, labels);
    QCOMPARE(seen.texts, defaults);
    QCOMPARE(seen.focus, u"Text10"_s);

    const qint64 id = existing + 1;
    QCOMPARE(browser()->list()->topLevelItemCount(), 2);
    const QStringList expected = shown + QStringList{QString::number(owner), QString::number(id), QString()};
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(1)), expected);
    // The same as a fresh load of the list shows.
    selectNode(browser(), nullptr);
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, owner)));
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(1)), expected);
}

void TstCatalogueWindow::addItemNeedsAListAndANode()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    const qint64 series = addSeries(maker, u"系列"_s);
    open();
    // A profile maker's list has no columns: that is tested before the node.
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    click(u"CmdAdd2"_s);
    // A list, but no node selected any more.
    selectNode(browser(), browser()->nodeByKey(u"Node2"_s + QString::number(series)));
    browser()->tree()->clearSelection();
    click(u"CmdAdd2"_s);
    QCOMPARE(msgs()->texts(),
             (QStringList{u"当前状态下不能添加任何数据！"_s, u"没有选取系列或厂家对象无法执行该功能！"_s}));
    QVERIFY(msgs()->dialogNames.isEmpty());
}

void TstCatalogueWindow::refusedNumbersWriteNothing_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("focus");
    QTest::newRow("profile length 1.2.3")
        << ItemKind::Profile << QStringList{u"框"_s, u"X"_s, u"1.2.3"_s, u"2"_s, u"-"_s, u"1"_s, u"1"_s} << u"Text12"_s;
    QTest::newRow("steel price lone point")
        << ItemKind::Steel << QStringList{u"钢"_s, u"G"_s, u"6000"_s, u"2"_s, u"-"_s, u"1"_s, u"."_s} << u"Text16"_s;
    QTest::newRow("panel thickness pasted text")
        << ItemKind::Panel << QStringList{u"玻"_s, u"2000"_s, u"2000"_s, u"五毫米"_s, u"白"_s, u"40"_s} << u"Text13"_s;
    QTest::newRow("fitting price pasted text")
        << ItemKind::Fitting << QStringList{u"执手"_s, u"Z"_s, u"只"_s, u"12 元"_s} << u"Text13"_s;
}

void TstCatalogueWindow::refusedNumbersWriteNothing()
{
    QFETCH(ItemKind, kind);
    QFETCH(QStringList, typed);
    QFETCH(QString, focus);
    const qint64 owner = ownerFor(kind);
    addItem(kind, owner, u"已有"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, owner)));
    QString focusAfterRefusal;
    int messagesAtRefusal = 0;
    answerDialogs(msgs(), {[&](QDialog *d) {
                      fillAndOk(typed)(d);
                      focusAfterRefusal = d->focusWidget() ? d->focusWidget()->objectName() : QString();
                      messagesAtRefusal = int(msgs()->shown.size());
                      d->reject(); // the user gives up
                      return int(QDialog::Rejected);
                  }});
    const QList<int> before = tableCounts();
    click(u"CmdAdd2"_s);
    QCOMPARE(messagesAtRefusal, 1);
    QCOMPARE(msgs()->lastText(), u"请输入正确的数字！"_s);
    QCOMPARE(focusAfterRefusal, focus);
    QCOMPARE(tableCounts(), before);
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);

    // The same refusal when editing leaves the record and the row as they were.
    selectRow(browser(), 0);
    const QStringList rowBefore = rowTexts(browser()->list()->topLevelItem(0));
    msgs()->clear();
    answerDialogs(msgs(), {[&](QDialog *d) {
                      fillAndOk(typed)(d);
                      d->reject();
                      return int(QDialog::Rejected);
                  }});
    click(u"CmdEdit2"_s);
    QCOMPARE(msgs()->texts(), QStringList{u"请输入正确的数字！"_s});
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(0)), rowBefore);
    CatalogueStore store;
    QCOMPARE(store.items(kind, owner)->first().values, sampleValues(kind, u"已有"_s));
}

void TstCatalogueWindow::editItem_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("byDoubleClick");
    QTest::newRow("profile") << ItemKind::Profile << u"编辑->型材"_s
                             << QStringList{u"新'框"_s, u"X70"_s, u"5800.0"_s, u"2.8"_s, u"灰"_s, u"1.4"_s, u"9500"_s}
                             << QStringList{u"新'框"_s, u"X70"_s, u"5800"_s, u"2.8"_s, u"灰"_s, u"1.4"_s, u"9500"_s}
                             << false;
    QTest::newRow("steel by double click") << ItemKind::Steel << u"编辑->型钢"_s
                                           << QStringList{u"钢2"_s, QString(), QString(), QString(), QString(),
                                                          QString(), u"6100"_s}
                                           << QStringList{u"钢2"_s, u"G20"_s, u"6000"_s, u"1.5"_s, u"-"_s, u"0.85"_s,
                                                          u"6100"_s}
                                           << true;
    QTest::newRow("panel") << ItemKind::Panel << u"编辑->板材"_s
                           << QStringList{u"中空玻璃"_s, u"1800"_s, QString(), u"6"_s, u"蓝"_s, u"88"_s}
                           << QStringList{u"中空玻璃"_s, u"1800"_s, u"1500"_s, u"6"_s, u"蓝"_s, u"88"_s} << false;
    QTest::newRow("fitting") << ItemKind::Fitting << u"编辑->配件"_s
                             << QStringList{QString(), u"P2"_s, u"套"_s, u"4.25"_s}
                             << QStringList{u"框'料"_s, u"P2"_s, u"套"_s, u"4.25"_s} << false;
}

void TstCatalogueWindow::editItem()
{
    QFETCH(ItemKind, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    QFETCH(bool, byDoubleClick);
    const qint64 owner = ownerFor(kind);
    addItem(kind, owner, u"前"_s);
    const qint64 id = addItem(kind, owner, u"框'料"_s);
    addItem(kind, owner, u"后"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, owner)));
    selectRow(browser(), 1);
    const QStringList before = rowTexts(browser()->list()->topLevelItem(1));
    SeenDialog seen;
    answerDialogs(msgs(), {see(&seen, fillAndOk(typed))});
    if (byDoubleClick)
        browser()->lvw_DblClick();
    else
        click(u"CmdEdit2"_s);
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->texts().join(u'|')));
    QCOMPARE(seen.caption, caption);
    QCOMPARE(seen.labels, itemDialogTexts(kind).labels);
    QCOMPARE(seen.texts, before.mid(0, seen.texts.size())); // what the row showed

    // The row is changed in place; its owner and number stay.
    QCOMPARE(browser()->list()->topLevelItemCount(), 3);
    const QStringList expected = shown + QStringList{QString::number(owner), QString::number(id), QString()};
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(1)), expected);
    QCOMPARE(browser()->list()->topLevelItem(0)->text(0), u"前"_s);
    selectNode(browser(), nullptr);
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, owner)));
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(1)), expected);
}

void TstCatalogueWindow::editItemWhoseRecordVanished()
{
    const qint64 maker = addMaker(u"五金厂"_s, 4);
    const qint64 id = addItem(ItemKind::Fitting, maker, u"执手"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    selectRow(browser(), 0);
    const QStringList before = rowTexts(browser()->list()->topLevelItem(0));
    CatalogueStore store;
    QVERIFY(store.deleteItem(ItemKind::Fitting, id)); // behind the window's back
    click(u"CmdEdit2"_s);
    QVERIFY(msgs()->dialogNames.isEmpty());
    QCOMPARE(msgs()->shown.size(), 1);
    QCOMPARE(msgs()->shown.first().title, u"出错"_s);
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(0)), before);
}

void TstCatalogueWindow::deleteItem()
{
    const qint64 maker = addMaker(u"玻璃厂"_s, 3);
    addItem(ItemKind::Panel, maker, u"甲"_s);
    const qint64 gone = addItem(ItemKind::Panel, maker, u"乙'玻"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    selectRow(browser(), 1);
    msgs()->answers = {platform::MsgAnswer::No};
    click(u"CmdDel2"_s);
    QCOMPARE(msgs()->shown.first().text, u"确认要删除该记录吗？(乙'玻（编号 "_s + QString::number(gone) + u"）)"_s);
    QCOMPARE(msgs()->shown.first().defaultButton, platform::MsgDefault::No);
    QCOMPARE(msgs()->shown.first().icon, platform::MsgIcon::None);
    QCOMPARE(msgs()->shown.first().buttons, platform::MsgButtons::YesNo);
    QCOMPARE(browser()->list()->topLevelItemCount(), 2);
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"玻璃"_s), 2);

    msgs()->answers = {platform::MsgAnswer::Yes};
    click(u"CmdDel2"_s);
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    QCOMPARE(browser()->list()->topLevelItem(0)->text(0), u"甲"_s);
    CatalogueStore store;
    QVERIFY(!store.item(ItemKind::Panel, gone));
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"玻璃"_s), 1);
    QCOMPARE(msgs()->shown.size(), 2);
}

void TstCatalogueWindow::failedItemWritesKeepTheList()
{
    const qint64 maker = addMaker(u"钢厂"_s, 2);
    addItem(ItemKind::Steel, maker, u"钢"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    selectRow(browser(), 0);
    const QStringList before = rowTexts(browser()->list()->topLevelItem(0));
    for (const char *event : {"INSERT", "UPDATE", "DELETE"})
        QVERIFY(testfixture::exec(app::mainDb(), u"CREATE TEMP TRIGGER refuse_%1 BEFORE %1 ON \"型钢\" "
                                                 u"BEGIN SELECT RAISE(ABORT, 'refused'); END"_s.arg(QLatin1String(event))));
    answerDialogs(msgs(), {fillAndOk({u"新钢"_s, u"G"_s, u"1"_s, u"1"_s, u"-"_s, u"1"_s, u"1"_s}),
                           fillAndOk({u"改钢"_s})});
    click(u"CmdAdd2"_s);
    click(u"CmdEdit2"_s);
    msgs()->answers = {platform::MsgAnswer::Yes};
    click(u"CmdDel2"_s);
    answerDialogs(msgs(), {clickOk});
    click(u"cmdPrice"_s);
    // Four failures, each reported, no success message among them.
    QStringList titles;
    for (const auto &m : std::as_const(msgs()->shown))
        titles << m.title;
    QCOMPARE(titles, (QStringList{u"出错"_s, u"出错"_s, u"提示"_s, u"出错"_s, u"出错"_s}));
    QVERIFY(!msgs()->texts().contains(u"已更新完毕。"_s));
    QCOMPARE(browser()->list()->topLevelItemCount(), 1);
    QCOMPARE(rowTexts(browser()->list()->topLevelItem(0)), before);
    CatalogueStore store;
    QCOMPARE(store.items(ItemKind::Steel, maker)->first().values, sampleValues(ItemKind::Steel, u"钢"_s));
}

void TstCatalogueWindow::setPrices_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typed"); // null: confirm the default
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("shown");
    QTest::newRow("profiles of a series") << ItemKind::Profile << u"型材吨价格"_s << QString() << 10000.0 << u"10000"_s;
    QTest::newRow("steel of a maker") << ItemKind::Steel << u"型钢吨价格"_s << u"8800.50"_s << 8800.5 << u"8800.5"_s;
    QTest::newRow("panels of a maker") << ItemKind::Panel << u"板材平方价格"_s << u"66"_s << 66.0 << u"66"_s;
    QTest::newRow("fittings of a maker") << ItemKind::Fitting << u"配件单价"_s << u".5"_s << 0.5 << u"0.5"_s;
}

void TstCatalogueWindow::setPrices()
{
    QFETCH(ItemKind, kind);
    QFETCH(QString, caption);
    QFETCH(QString, typed);
    QFETCH(double, price);
    QFETCH(QString, shown);
    const qint64 group = ownerFor(kind, u"甲"_s);
    const qint64 other = ownerFor(kind, u"乙"_s);
    addItem(kind, group, u"a"_s);
    addItem(kind, group, u"b"_s);
    addItem(kind, other, u"c"_s);
    open();
    selectNode(browser(), browser()->nodeByKey(ownerKey(kind, group)));
    const int priceColumn = itemKindInfo(kind).priceField;

    // Cancelled: nothing changes, nothing is said.
    answerDialogs(msgs(), {cancel()});
    click(u"cmdPrice"_s);
    QVERIFY(msgs()->shown.isEmpty());

    SeenDialog seen;
    QString boxText;
    answerDialogs(msgs(), {see(&seen, [&](QDialog *d) {
                               auto *b = d->findChild<QLineEdit *>(u"Text1"_s);
                               boxText = b->text();
                               if (!typed.isNull())
                                   b->setText(typed);
                               return clickOk(d);
                           })});
    click(u"cmdPrice"_s);
    QCOMPARE(msgs()->dialogNames.last(), u"frmPrice"_s);
    QCOMPARE(seen.caption, caption);
    QCOMPARE(boxText, u"10000"_s);
    QCOMPARE(msgs()->texts(), QStringList{u"已更新完毕。"_s});
    QCOMPARE(msgs()->shown.first().title, u"提示"_s);
    CatalogueStore store;
    const auto items = store.items(kind, group);
    QVERIFY(items);
    for (const Item &item : *items)
        QCOMPARE(item.values.at(priceColumn).toDouble(), price);
    QCOMPARE(store.items(kind, other)->first().values.at(priceColumn), sampleValues(kind, {}).at(priceColumn));
    // The list shows the new prices at once, so an edit that follows cannot write the old one back.
    QCOMPARE(browser()->list()->topLevelItem(0)->text(priceColumn), shown);
    QCOMPARE(browser()->list()->topLevelItem(1)->text(priceColumn), shown);
}

void TstCatalogueWindow::priceCommandEdges()
{
    const qint64 maker = addMaker(u"型材厂"_s, 1);
    const qint64 steel = addMaker(u"钢厂"_s, 2);
    open();
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(maker)));
    click(u"cmdPrice"_s);
    QCOMPARE(msgs()->texts(), QStringList{u"当前状态下不能调整任何数据！"_s});
    QVERIFY(msgs()->dialogNames.isEmpty());
    // A maker without rows: the statement changes nothing and the notice still shows.
    msgs()->clear();
    selectNode(browser(), browser()->nodeByKey(u"Node1"_s + QString::number(steel)));
    answerDialogs(msgs(), {clickOk});
    click(u"cmdPrice"_s);
    QCOMPARE(msgs()->texts(), QStringList{u"已更新完毕。"_s});
}

void TstCatalogueWindow::quotesRoundTripThroughTheWindow()
{
    const QString name = u"O'Neil's \"塑钢\" '); DROP TABLE 材料厂家; --"_s;
    open();
    answerDialogs(msgs(), {makerDialog({name, name, name, name}, 0)});
    click(u"CmdAdd1"_s);
    selectNode(browser(), browser()->tree()->topLevelItem(0));
    answerDialogs(msgs(), {chooseOption(true), fillAndOk({name})});
    click(u"CmdAdd1"_s);
    selectNode(browser(), browser()->tree()->topLevelItem(0)->child(0));
    answerDialogs(msgs(), {fillAndOk({name, name, QString(), QString(), name, u"1"_s, u"1"_s})});
    click(u"CmdAdd2"_s);
    QVERIFY2(msgs()->shown.isEmpty(), qPrintable(msgs()->texts().join(u'|')));

    FrmDatabase fresh;
    CatalogueBrowser *b = fresh.browser();
    QCOMPARE(b->tree()->topLevelItem(0)->text(0), name);
    QCOMPARE(b->tree()->topLevelItem(0)->child(0)->text(0), name);
    selectNode(b, b->tree()->topLevelItem(0)->child(0));
    QCOMPARE(b->list()->topLevelItem(0)->text(0), name);
    QCOMPARE(b->list()->topLevelItem(0)->text(1), name);
    QCOMPARE(b->list()->topLevelItem(0)->text(4), name);
    // And back into the edit dialog as stored.
    selectNode(browser(), browser()->tree()->topLevelItem(0));
    SeenDialog seen;
    answerDialogs(msgs(), {see(&seen, cancel())});
    click(u"CmdEdit1"_s);
    QCOMPARE(seen.texts, (QStringList{name, name, name, name}));
}

void TstCatalogueWindow::oneWindowInTheMdiArea()
{
    QMdiArea area;
    area.resize(1000, 700);
    area.show();
    FrmDatabase *first = showDatabaseWindow(&area);
    QVERIFY(first);
    QCOMPARE(area.subWindowList().size(), 1);
    QCOMPARE(area.activeSubWindow()->widget(), first);
    QCOMPARE(area.activeSubWindow()->windowTitle(), u"数据库管理"_s);
    auto *other = area.addSubWindow(new QWidget);
    other->show();
    area.setActiveSubWindow(other);
    QCOMPARE(showDatabaseWindow(&area), first);
    QCOMPARE(area.subWindowList().size(), 2);
    QCOMPARE(area.activeSubWindow()->widget(), first);
    // Closing releases it; the next opening makes it anew.
    QPointer<FrmDatabase> gone = first;
    area.activeSubWindow()->close();
    QTRY_VERIFY(!gone);
    FrmDatabase *second = showDatabaseWindow(&area);
    QVERIFY(second);
    QCOMPARE(area.subWindowList().size(), 2);
}

QTEST_MAIN(TstCatalogueWindow)
#include "tst_catalogue_window.moc"
