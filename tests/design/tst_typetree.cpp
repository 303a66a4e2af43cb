#include "typedata.h"

#include "design/ui/frmdesign.h"
#include "design/ui/frminputmc.h"
#include "design/ui/frmmcgs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

using namespace Qt::StringLiterals;
using namespace design;
using platform::MsgAnswer;
using platform::MsgIcon;
using typedata::run;

namespace {
const QStringList kTreeButtons = {u"CmdAddCJ"_s,  u"CmdEditCJ"_s, u"cmdDelCJ"_s,  u"CmdAddXL"_s,  u"CmdEditXL"_s,
                                  u"CmdDelXL"_s,  u"CmdAddMC"_s,  u"CmdEditMC"_s, u"CmdDelMC"_s,  u"CmdDesignMC"_s};
// Enabled states of the ten buttons for each level.
const QString kLevel0 = u"1000000000"_s;
const QString kLevel1 = u"1111000000"_s;
const QString kLevel2 = u"0001111000"_s;
const QString kLevel3 = u"0000001111"_s;

QString buttonState(const FrmDesign &w)
{
    QString s;
    for (const QString &name : kTreeButtons)
        s += w.findChild<QPushButton *>(name)->isEnabled() ? u'1' : u'0';
    return s;
}

bool select(FrmDesign &w, const QString &tag)
{
    QTreeWidgetItem *node = w.nodeByTag(tag);
    if (!node)
        return false;
    w.tree()->setCurrentItem(node);
    return w.selectedNode() == node;
}

// Children of a node (or the top level) as "text=tag" in tree order.
QStringList nodesUnder(const FrmDesign &w, const QTreeWidgetItem *parent)
{
    QStringList out;
    const int n = parent ? parent->childCount() : w.tree()->topLevelItemCount();
    for (int i = 0; i < n; ++i) {
        const QTreeWidgetItem *c = parent ? parent->child(i) : w.tree()->topLevelItem(i);
        out << c->text(0) + u'=' + FrmDesign::nodeTag(c);
    }
    return out;
}

struct SeenDialog
{
    QString name;
    QString title;
    QString label;
    QString text;
    QString drawing;
};

// Answers the name or type dialog: fills the name (and the drawing number of the type dialog),
// records what it showed, and confirms.
std::function<int(QDialog *)> answer(SeenDialog *seen, const QString &name, const QString &drawing = QString())
{
    return [=](QDialog *d) {
        auto *box = d->findChild<QLineEdit *>(u"Text10"_s);
        *seen = {d->objectName(), d->windowTitle(), d->findChild<QLabel *>(u"Label1"_s)->text(), box->text(), {}};
        if (auto *mc = qobject_cast<FrmInputMC *>(d)) {
            seen->drawing = mc->drawingBox()->text();
            if (!drawing.isEmpty())
                mc->setDrawingNumber(drawing);
        }
        box->setText(name);
        d->findChild<QPushButton *>(u"OKButton"_s)->click();
        return d->result();
    };
}

using Command = std::function<void(FrmDesign &)>;
const QHash<QString, Command> &commands()
{
    static const QHash<QString, Command> c = {
        {u"CmdAddCJ"_s, &FrmDesign::CmdAddCJ},   {u"CmdEditCJ"_s, &FrmDesign::CmdEditCJ},
        {u"cmdDelCJ"_s, &FrmDesign::cmdDelCJ},   {u"CmdAddXL"_s, &FrmDesign::CmdAddXL},
        {u"CmdEditXL"_s, &FrmDesign::CmdEditXL}, {u"CmdDelXL"_s, &FrmDesign::CmdDelXL},
        {u"CmdAddMC"_s, &FrmDesign::CmdAddMC},   {u"CmdEditMC"_s, &FrmDesign::CmdEditMC},
        {u"CmdDelMC"_s, &FrmDesign::CmdDelMC},   {u"CmdDesignMC"_s, [](FrmDesign &w) { w.CmdDesignMC(); }},
    };
    return c;
}

void closeEditors()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmMCGS *>(w))
            delete w;
}
} // namespace

class TstTypeTree : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadsTreeWithTagsKeysAndOrder();
    void emptyTreeAndFirstMaker();
    void buttonsFollowSelection_data();
    void buttonsFollowSelection();
    void addsSeriesAndTypesWhereSelected_data();
    void addsSeriesAndTypesWhereSelected();
    void typeDialogRefusesMissingFields_data();
    void typeDialogRefusesMissingFields();
    void cancelledDialogChangesNothing();
    void renamesAtEachLevel_data();
    void renamesAtEachLevel();
    void deletesAtEachLevelWithEverythingBelow_data();
    void deletesAtEachLevelWithEverythingBelow();
    void deleteAnsweredNoChangesNothing();
    void handlersRefuseNodesOfOtherLevels_data();
    void handlersRefuseNodesOfOtherLevels();
    void deleteLeavesNoStaleSelection();
    void failedDeleteKeepsTreeAndTables();
    void failedAddLeavesTree();
    void designOpensANewEditorEveryTime();
    void unreadableBillOpensNoEditor();
    void windowsLiveInTheMdiArea();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstTypeTree::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstTypeTree::cleanup()
{
    closeEditors();
    m_fx.reset();
}

void TstTypeTree::loadsTreeWithTagsKeysAndOrder()
{
    QVERIFY(typedata::fillLibrary());
    // A later type whose name sorts first, and a maker with a smaller number added last.
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称) VALUES (1, 9, 'A-first')"_s));
    QVERIFY(run(u"INSERT INTO 门窗厂家 (编号, 名称) VALUES (0, 'M0')"_s));
    FrmDesign w;
    QCOMPARE(w.windowTitle(), u"门窗设计"_s);
    QCOMPARE(nodesUnder(w, nullptr), (QStringList{u"M0=10"_s, u"M1=11"_s, u"M2=12"_s}));
    QTreeWidgetItem *m1 = w.nodeByTag(u"11"_s);
    QCOMPARE(FrmDesign::nodeKey(m1), u"Node11"_s);
    QCOMPARE(nodesUnder(w, m1), (QStringList{u"S1=21"_s, u"S2=22"_s}));
    QCOMPARE(FrmDesign::nodeKey(m1->child(1)), u"Node22"_s);
    QCOMPARE(nodesUnder(w, m1->child(0)), (QStringList{u"A-first=39"_s, u"T1=31"_s, u"T2=32"_s}));
    QCOMPARE(FrmDesign::nodeKey(m1->child(0)->child(0)), u"Node39"_s);
    QCOMPARE(nodesUnder(w, w.nodeByTag(u"24"_s)), (QStringList{u"T7=37"_s, u"T8=38"_s}));
    QCOMPARE(buttonState(w), kLevel1);
}

void TstTypeTree::emptyTreeAndFirstMaker()
{
    FrmDesign w;
    QCOMPARE(w.tree()->topLevelItemCount(), 0);
    QCOMPARE(buttonState(w), kLevel0);
    SeenDialog seen;
    m_fx->msgs->onDialog = answer(&seen, u"O'Brien门窗"_s);
    w.findChild<QPushButton *>(u"CmdAddCJ"_s)->click();
    QCOMPARE(seen.name, u"frmInputXL"_s);
    QCOMPARE(seen.title, u"添加->门窗厂家"_s);
    QCOMPARE(seen.label, u"厂家名称"_s);
    QCOMPARE(nodesUnder(w, nullptr), QStringList{u"O'Brien门窗=11"_s});
    QCOMPARE(FrmDesign::nodeKey(w.tree()->topLevelItem(0)), u"Node11"_s);
    QCOMPARE(typedata::rows(u"门窗厂家"_s), QStringList{u"1|O'Brien门窗"_s});
    QCOMPARE(buttonState(w), kLevel1);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstTypeTree::buttonsFollowSelection_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("state");
    QTest::newRow("maker") << u"12"_s << kLevel1;
    QTest::newRow("series") << u"23"_s << kLevel2;
    QTest::newRow("type") << u"35"_s << kLevel3;
}

void TstTypeTree::buttonsFollowSelection()
{
    QFETCH(QString, tag);
    QFETCH(QString, state);
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    QVERIFY(select(w, u"38"_s));
    QVERIFY(select(w, tag));
    QCOMPARE(buttonState(w), state);
    w.tree()->clearSelection();
    QCOMPARE(buttonState(w), kLevel1);
}

void TstTypeTree::addsSeriesAndTypesWhereSelected_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("parentTag");
    QTest::addColumn<QStringList>("children");
    QTest::addColumn<QString>("row");
    QTest::newRow("series under maker") << u"11"_s << u"CmdAddXL"_s << u"11"_s
                                        << QStringList{u"S1=21"_s, u"S2=22"_s, u"新'名=25"_s} << u"1|5|新'名"_s;
    QTest::newRow("series after series") << u"21"_s << u"CmdAddXL"_s << u"11"_s
                                         << QStringList{u"S1=21"_s, u"新'名=25"_s, u"S2=22"_s} << u"1|5|新'名"_s;
    QTest::newRow("type under series") << u"22"_s << u"CmdAddMC"_s << u"22"_s
                                       << QStringList{u"T3=33"_s, u"T4=34"_s, u"新'名=39"_s} << u"2|9|新'名||55"_s;
    QTest::newRow("type after type") << u"33"_s << u"CmdAddMC"_s << u"22"_s
                                     << QStringList{u"T3=33"_s, u"新'名=39"_s, u"T4=34"_s} << u"2|9|新'名||55"_s;
}

void TstTypeTree::addsSeriesAndTypesWhereSelected()
{
    QFETCH(QString, selected);
    QFETCH(QString, button);
    QFETCH(QString, parentTag);
    QFETCH(QStringList, children);
    QFETCH(QString, row);
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    QVERIFY(select(w, selected));
    const QString before = buttonState(w);
    SeenDialog seen;
    m_fx->msgs->onDialog = answer(&seen, u"新'名"_s, u"55"_s);
    w.findChild<QPushButton *>(button)->click();
    const bool series = button == u"CmdAddXL";
    QCOMPARE(seen.name, series ? u"frmInputXL"_s : u"frmInputMC"_s);
    QCOMPARE(seen.title, series ? u"添加->门窗系列"_s : u"添加->门窗"_s);
    QCOMPARE(seen.label, series ? u"系列名称"_s : u"门窗名称:"_s);
    QCOMPARE(seen.text, QString());
    QCOMPARE(nodesUnder(w, w.nodeByTag(parentTag)), children);
    QCOMPARE(typedata::rows(series ? u"门窗系列"_s : u"门窗"_s).constLast(), row);
    // The selection, and so the buttons, stay.
    QCOMPARE(FrmDesign::nodeTag(w.selectedNode()), selected);
    QCOMPARE(buttonState(w), before);
}

void TstTypeTree::typeDialogRefusesMissingFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("drawing");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no name") << QString() << u"5"_s << u"Text10"_s;
    QTest::newRow("no drawing") << u"窗"_s << QString() << u"CmdLoadMC"_s;
}

void TstTypeTree::typeDialogRefusesMissingFields()
{
    QFETCH(QString, name);
    QFETCH(QString, drawing);
    QFETCH(QString, focus);
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"21"_s));
    bool stayedOpen = false;
    QString focused;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        auto *mc = qobject_cast<FrmInputMC *>(d);
        mc->nameBox()->setText(name);
        mc->setDrawingNumber(drawing);
        d->findChild<QPushButton *>(u"OKButton"_s)->click();
        stayedOpen = d->result() == QDialog::Rejected && d->isVisible();
        focused = d->focusWidget() ? d->focusWidget()->objectName() : QString();
        d->findChild<QPushButton *>(u"CancelButton"_s)->click();
        return d->result();
    };
    w.CmdAddMC();
    QVERIFY(stayedOpen);
    QCOMPARE(focused, focus);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"数据不能为空！"_s});
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(nodesUnder(w, w.nodeByTag(u"21"_s)).size(), 2);
}

void TstTypeTree::cancelledDialogChangesNothing()
{
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    for (const QString &tag : {u"11"_s, u"21"_s, u"31"_s}) {
        QVERIFY(select(w, tag));
        // No handler: every dialog is rejected unseen.
        for (const QString &cmd : {u"CmdAddCJ"_s, u"CmdEditCJ"_s, u"CmdAddXL"_s, u"CmdEditXL"_s, u"CmdAddMC"_s,
                                   u"CmdEditMC"_s})
            commands().value(cmd)(w);
    }
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(w.tree()->topLevelItemCount(), 2);
    QCOMPARE(w.nodeByTag(u"11"_s)->text(0), u"M1"_s);
}

void TstTypeTree::renamesAtEachLevel_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("row");
    QTest::newRow("maker") << u"12"_s << u"CmdEditCJ"_s << u"编辑->门窗厂家"_s << u"厂家名称"_s << u"门窗厂家"_s << 1
                           << u"2|改'名"_s;
    QTest::newRow("series") << u"23"_s << u"CmdEditXL"_s << u"编辑->门窗系列"_s << u"系列名称"_s << u"门窗系列"_s << 2
                            << u"2|3|改'名"_s;
    // The type keeps its drawing unless another is chosen.
    QTest::newRow("type") << u"36"_s << u"CmdEditMC"_s << u"编辑->门窗"_s << u"门窗名称"_s << u"门窗"_s << 5
                          << u"3|6|改'名||106"_s;
}

void TstTypeTree::renamesAtEachLevel()
{
    QFETCH(QString, tag);
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QString, label);
    QFETCH(QString, table);
    QFETCH(int, index);
    QFETCH(QString, row);
    QVERIFY(typedata::fillLibrary());
    const QStringList billBefore = typedata::rows(u"窗型材"_s);
    FrmDesign w;
    QVERIFY(select(w, tag));
    const QString oldText = w.selectedNode()->text(0);
    SeenDialog seen;
    m_fx->msgs->onDialog = answer(&seen, u"改'名"_s);
    w.findChild<QPushButton *>(button)->click();
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.label, label);
    QCOMPARE(seen.text, oldText);
    if (button == u"CmdEditMC")
        QCOMPARE(seen.drawing, u"106"_s);
    QCOMPARE(w.nodeByTag(tag)->text(0), u"改'名"_s);
    QCOMPARE(typedata::rows(table).at(index), row);
    QCOMPARE(typedata::rows(u"窗型材"_s), billBefore);
}

void TstTypeTree::deletesAtEachLevelWithEverythingBelow_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("gone"); // tags of the nodes removed
    QTest::addColumn<int>("typesLeft");
    QTest::newRow("maker") << u"12"_s << u"cmdDelCJ"_s << u"确定要删除该门窗厂家吗？M2（编号 2）"_s
                           << QStringList{u"12"_s, u"23"_s, u"24"_s, u"35"_s, u"36"_s, u"37"_s, u"38"_s} << 4;
    QTest::newRow("series") << u"21"_s << u"CmdDelXL"_s << u"确定要删除该门窗系列吗？S1（编号 1）"_s
                            << QStringList{u"21"_s, u"31"_s, u"32"_s} << 6;
    QTest::newRow("type") << u"37"_s << u"CmdDelMC"_s << u"确定要删除该门窗吗？T7（编号 7）"_s << QStringList{u"37"_s} << 7;
}

void TstTypeTree::deletesAtEachLevelWithEverythingBelow()
{
    QFETCH(QString, tag);
    QFETCH(QString, button);
    QFETCH(QString, question);
    QFETCH(QStringList, gone);
    QFETCH(int, typesLeft);
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    QVERIFY(select(w, tag));
    m_fx->msgs->answers << MsgAnswer::Yes;
    w.findChild<QPushButton *>(button)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{question});
    QCOMPARE(m_fx->msgs->shown.first().title, u"提示"_s);
    QVERIFY(m_fx->msgs->shown.first().icon == MsgIcon::Information);
    QVERIFY(m_fx->msgs->shown.first().defaultButton == platform::MsgDefault::No);
    for (const QString &t : gone)
        QVERIFY2(!w.nodeByTag(t), qPrintable(t));
    QVERIFY(w.nodeByTag(u"11"_s) && w.nodeByTag(u"22"_s) && w.nodeByTag(u"34"_s));
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"门窗"_s), typesLeft);
    for (const QString &t : typedata::kBillTables)
        QCOMPARE(testfixture::rowCount(app::mainDb(), t), typesLeft);
}

void TstTypeTree::deleteAnsweredNoChangesNothing()
{
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"11"_s));
    m_fx->msgs->answers << MsgAnswer::No;
    w.cmdDelCJ();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(typedata::dump(), before);
    QVERIFY(w.nodeByTag(u"31"_s));
    QCOMPARE(w.selectedNode(), w.nodeByTag(u"11"_s));
}

void TstTypeTree::handlersRefuseNodesOfOtherLevels_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("message");
    // Numbers shared across levels: maker 2, series 2 and type 2 all exist, so acting on the
    // wrong table would change a row.
    const QString noEdit = u"无选取所要编辑的对象！"_s;
    const QString noDelete = u"无选取所要删除的对象！"_s;
    for (const QString &tag : {u"22"_s, u"32"_s}) {
        QTest::addRow("CmdEditCJ on %s", qPrintable(tag)) << u"CmdEditCJ"_s << tag << noEdit;
        QTest::addRow("cmdDelCJ on %s", qPrintable(tag)) << u"cmdDelCJ"_s << tag << noDelete;
    }
    for (const QString &tag : {u"12"_s, u"32"_s}) {
        QTest::addRow("CmdEditXL on %s", qPrintable(tag)) << u"CmdEditXL"_s << tag << noEdit;
        QTest::addRow("CmdDelXL on %s", qPrintable(tag)) << u"CmdDelXL"_s << tag << noDelete;
    }
    for (const QString &tag : {u"12"_s, u"22"_s}) {
        QTest::addRow("CmdEditMC on %s", qPrintable(tag)) << u"CmdEditMC"_s << tag << noEdit;
        QTest::addRow("CmdDelMC on %s", qPrintable(tag)) << u"CmdDelMC"_s << tag << noDelete;
        QTest::addRow("CmdDesignMC on %s", qPrintable(tag)) << u"CmdDesignMC"_s << tag << QString();
    }
    QTest::newRow("CmdAddXL on a type") << u"CmdAddXL"_s << u"32"_s << u"无法添加对象！"_s;
    QTest::newRow("CmdAddMC on a maker") << u"CmdAddMC"_s << u"12"_s << u"无法在当前状态下添加！"_s;
    QTest::newRow("CmdAddXL on nothing") << u"CmdAddXL"_s << QString() << u"无法添加对象！"_s;
    QTest::newRow("CmdAddMC on nothing") << u"CmdAddMC"_s << QString() << u"无法在当前状态下添加！"_s;
    QTest::newRow("cmdDelCJ on nothing") << u"cmdDelCJ"_s << QString() << noDelete;
    QTest::newRow("CmdEditCJ on nothing") << u"CmdEditCJ"_s << QString() << noEdit;
}

void TstTypeTree::handlersRefuseNodesOfOtherLevels()
{
    QFETCH(QString, command);
    QFETCH(QString, tag);
    QFETCH(QString, message);
    QVERIFY(typedata::fillLibrary());
    const QStringList before = typedata::dump();
    FrmDesign w;
    if (!tag.isEmpty())
        QVERIFY(select(w, tag));
    m_fx->msgs->answers << MsgAnswer::Yes << MsgAnswer::Yes;
    bool editorOpened = false;
    connect(&w, &FrmDesign::billEditorOpened, this, [&] { editorOpened = true; });
    commands().value(command)(w);
    QCOMPARE(m_fx->msgs->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    QVERIFY(!editorOpened);
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(w.tree()->topLevelItemCount(), 2);
}

void TstTypeTree::deleteLeavesNoStaleSelection()
{
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    w.show();
    QVERIFY(select(w, u"32"_s));
    m_fx->msgs->answers << MsgAnswer::Yes;
    w.findChild<QPushButton *>(u"CmdDelMC"_s)->click();
    QVERIFY(!w.nodeByTag(u"32"_s));
    // Whatever the view chose, the buttons fit what is selected now.
    QCOMPARE(w.selectedNode(), nullptr);
    QCOMPARE(buttonState(w), kLevel1);
    // Series 2 selected afterwards: 删除门窗 is off, and the handler refuses it anyway.
    QVERIFY(select(w, u"22"_s));
    QVERIFY(!w.findChild<QPushButton *>(u"CmdDelMC"_s)->isEnabled());
    m_fx->msgs->answers << MsgAnswer::Yes;
    const QStringList before = typedata::dump();
    w.CmdDelMC();
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(typedata::ids(u"门窗"_s, u"系列编号"_s, 2), (QList<qint64>{3, 4}));
}

void TstTypeTree::failedDeleteKeepsTreeAndTables()
{
    QVERIFY(typedata::fillLibrary());
    // The bill of the series' second type fails to go.
    QVERIFY(typedata::breakTable(u"窗配件"_s, u"DELETE"_s));
    const QStringList before = typedata::dump();
    FrmDesign w;
    QVERIFY(select(w, u"21"_s));
    m_fx->msgs->answers << MsgAnswer::Yes;
    w.CmdDelXL();
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(m_fx->msgs->shown.size(), 2);
    QVERIFY(m_fx->msgs->shown.at(1).icon == MsgIcon::Critical);
    QVERIFY(m_fx->msgs->shown.at(1).text.contains(u"forced failure"_s));
    QCOMPARE(nodesUnder(w, w.nodeByTag(u"21"_s)), (QStringList{u"T1=31"_s, u"T2=32"_s}));
    QCOMPARE(w.selectedNode(), w.nodeByTag(u"21"_s));
    QCOMPARE(buttonState(w), kLevel2);
}

void TstTypeTree::failedAddLeavesTree()
{
    QVERIFY(typedata::fillLibrary());
    QVERIFY(typedata::breakTable(u"门窗"_s, u"INSERT"_s));
    QVERIFY(typedata::breakTable(u"门窗系列"_s, u"UPDATE"_s));
    FrmDesign w;
    QVERIFY(select(w, u"21"_s));
    SeenDialog seen;
    m_fx->msgs->onDialog = answer(&seen, u"新"_s, u"3"_s);
    w.CmdAddMC();
    w.CmdEditXL();
    QCOMPARE(m_fx->msgs->shown.size(), 2);
    QCOMPARE(nodesUnder(w, w.nodeByTag(u"21"_s)), (QStringList{u"T1=31"_s, u"T2=32"_s}));
    QCOMPARE(w.nodeByTag(u"21"_s)->text(0), u"S1"_s);
}

void TstTypeTree::designOpensANewEditorEveryTime()
{
    QVERIFY(typedata::fillLibrary());
    FrmDesign w;
    QVERIFY(select(w, u"33"_s));
    QList<FrmMCGS *> opened;
    connect(&w, &FrmDesign::billEditorOpened, this, [&](FrmMCGS *e) { opened << e; });
    w.findChild<QPushButton *>(u"CmdDesignMC"_s)->click();
    w.findChild<QPushButton *>(u"CmdDesignMC"_s)->click();
    QCOMPARE(opened.size(), 2);
    QVERIFY(opened[0] != opened[1]);
    for (FrmMCGS *e : opened) {
        QCOMPARE(e->typeId(), qint64(3));
        QCOMPARE(e->windowTitle(), u"门窗公式设计"_s);
        QVERIFY(e->isVisible());
        QCOMPARE(e->list(BillKind::Profile)->topLevelItem(0)->text(0), u"型材3"_s);
        QCOMPARE(e->list(BillKind::Fitting)->topLevelItem(0)->text(2), u"4"_s);
        QVERIFY(!e->billChanged());
    }
    // A double click on a type opens one more.
    emit w.tree()->itemDoubleClicked(w.selectedNode(), 0);
    QCOMPARE(opened.size(), 3);
}

void TstTypeTree::unreadableBillOpensNoEditor()
{
    QVERIFY(typedata::fillLibrary());
    QVERIFY(run(u"ALTER TABLE 窗板材 RENAME TO 窗板材_gone"_s));
    FrmDesign w;
    QVERIFY(select(w, u"33"_s));
    QCOMPARE(w.CmdDesignMC(), nullptr);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->shown.first().text.startsWith(u"读取门窗公式出错！"_s));
    for (QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<FrmMCGS *>(top));
}

void TstTypeTree::windowsLiveInTheMdiArea()
{
    QVERIFY(typedata::fillLibrary());
    QMdiArea area;
    area.show();
    FrmDesign *w = showDesignWindow(&area);
    QCOMPARE(showDesignWindow(&area), w);
    QCOMPARE(area.subWindowList().size(), 1);
    QVERIFY(select(*w, u"31"_s));
    FrmMCGS *first = w->CmdDesignMC();
    FrmMCGS *second = w->CmdDesignMC();
    QVERIFY(first && second && first != second);
    QCOMPARE(area.subWindowList().size(), 3);
    // The editors outlive the tree window.
    w->findChild<QPushButton *>(u"CmdExit"_s)->click();
    QCOMPARE(area.subWindowList().size(), 2);
    QVERIFY(first->isVisible());
    // 退出 asks about the change and closes the editor's sub-window.
    first->setBillChanged();
    m_fx->msgs->answers << MsgAnswer::No;
    first->findChild<QPushButton *>(u"CmdExit"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"是否要保存？"_s});
    QCOMPARE(area.subWindowList().size(), 1);
    // A refused close keeps the sub-window.
    second->setBillChanged();
    QVERIFY(typedata::breakTable(u"窗型材"_s, u"INSERT"_s));
    m_fx->msgs->answers << MsgAnswer::Yes;
    area.closeAllSubWindows();
    QCOMPARE(area.subWindowList().size(), 1);
    QVERIFY(second->isVisible());
    QVERIFY(m_fx->msgs->lastText().startsWith(u"系统保存时出错！"_s));
    // A new tree window after the first was closed.
    FrmDesign *again = showDesignWindow(&area);
    QVERIFY(again);
    QCOMPARE(area.subWindowList().size(), 2);
}

QTEST_MAIN(TstTypeTree)
#include "tst_typetree.moc"
