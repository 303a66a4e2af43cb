// Moving and copying types in the type tree (the pop-up menu and dragging onto a series), and
// copying another type's formulas into the open bill editor with frmCopyGS.
#include "typedata.h"

#include "design/ui/billlists.h"
#include "design/ui/frmcopygs.h"
#include "design/ui/frmdesign.h"
#include "design/ui/frminputmc.h"
#include "design/ui/frmmcgs.h"
#include "drawing/store.h"
#include "platform/surface_widget.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace design;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using typedata::run;

namespace {
const QStringList kTreeButtons = {u"CmdAddCJ"_s,  u"CmdEditCJ"_s, u"cmdDelCJ"_s,  u"CmdAddXL"_s,  u"CmdEditXL"_s,
                                  u"CmdDelXL"_s,  u"CmdAddMC"_s,  u"CmdEditMC"_s, u"CmdDelMC"_s,  u"CmdDesignMC"_s};
const QString kTypeButtons = u"0000001111"_s;

QString buttonState(const FrmDesign &w)
{
    QString s;
    for (const QString &name : kTreeButtons)
        s += w.findChild<QPushButton *>(name)->isEnabled() ? u'1' : u'0';
    return s;
}

// The whole tree as "tag text" lines in tree order, indented by level.
QStringList treeLines(const FrmDesign &w)
{
    QStringList out;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *node, int depth) {
        out << QString(depth * 2, u' ') + FrmDesign::nodeTag(node) + u' ' + node->text(0);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < w.tree()->topLevelItemCount(); ++i)
        walk(w.tree()->topLevelItem(i), 0);
    return out;
}

QStringList childTags(const QTreeWidgetItem *node)
{
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i)
        out << FrmDesign::nodeTag(node->child(i));
    return out;
}

// The window shown with every node open, so that nodes have places on the screen.
std::unique_ptr<FrmDesign> shownWindow()
{
    auto w = std::make_unique<FrmDesign>();
    w->resize(900, 700);
    w->show();
    w->tree()->expandAll();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    return w;
}

QWidget *viewport(FrmDesign &w) { return w.tree()->viewport(); }

QPoint placeOf(FrmDesign &w, const QString &tag)
{
    QTreeWidgetItem *node = w.nodeByTag(tag);
    return node ? w.tree()->visualItemRect(node).center() : QPoint();
}

// A point below every node.
QPoint emptyPlace(FrmDesign &w) { return QPoint(10, viewport(w)->height() - 5); }

void rightPress(FrmDesign &w, const QPoint &at)
{
    QTest::mousePress(viewport(w), Qt::RightButton, {}, at);
    w.popupMenu()->hide();
    QTest::mouseRelease(viewport(w), Qt::RightButton, {}, at);
}

// Marks a type with a menu entry, chosen from the pop-up menu over the node.
void mark(FrmDesign &w, const QString &tag, const QString &entry)
{
    rightPress(w, placeOf(w, tag));
    w.menuAction(entry)->trigger();
}

void pasteOnto(FrmDesign &w, const QString &tag)
{
    rightPress(w, placeOf(w, tag));
    w.menuAction(u"mnuParse"_s)->trigger();
}

void drag(FrmDesign &w, const QPoint &from, const QPoint &to)
{
    QTest::mousePress(viewport(w), Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport(w), to);
    QTest::mouseRelease(viewport(w), Qt::LeftButton, {}, to);
}

Bill storedBill(qint64 typeId) { return TypeStore().loadBill(typeId).value_or(Bill{}); }

bool hasInk(platform::WidgetSurface *s)
{
    const QImage img = s->snapshot().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

// Answers frmCopyGS: selects the node with the tag (none for "") and presses a button.
std::function<int(QDialog *)> pickInCopyDialog(const QString &tag, const QString &buttonName = u"OKButton"_s)
{
    return [=](QDialog *d) {
        auto *dialog = qobject_cast<FrmCopyGS *>(d);
        if (!dialog)
            return int(QDialog::Rejected);
        if (!tag.isEmpty())
            dialog->tree()->setCurrentItem(dialog->nodeByTag(tag));
        dialog->findChild<QPushButton *>(buttonName)->click();
        return dialog->result();
    };
}
} // namespace

class TstTypeToolsTree : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // The pop-up menu
    void menuHasItsEntries();
    void rightPressSelectsAndOpensTheMenu();
    void cutAndCopyMarkOnlyTypes_data();
    void cutAndCopyMarkOnlyTypes();
    void cutAndPasteMovesTheType();
    void copyAndPasteCopiesIntoTheSeries();
    void pasteOntoOtherNodesDoesNothing_data();
    void pasteOntoOtherNodesDoesNothing();
    void cancelledPasteChangesNothing_data();
    void cancelledPasteChangesNothing();
    void cutBeatsCopy();
    void failedPasteChangesNeitherTablesNorTree_data();
    void failedPasteChangesNeitherTablesNorTree();
    void deletedMarkedTypeIsNotPasted();
    void shortcutsCutCopyAndPaste();

    // Dragging
    void dragOntoASeriesCopies();
    void dropsThatDoNothing_data();
    void dropsThatDoNothing();
    void makersAndSeriesAreNotDragged_data();
    void makersAndSeriesAreNotDragged();

    // Copying formulas
    void copyDialogTreeInStoredOrder();
    void copyDialogRefusesAllButATypeNode_data();
    void copyDialogRefusesAllButATypeNode();
    void copyDialogShowsTheTypesDrawing();
    void copyingAppendsToTheOpenBill();
    void copyingATypeWithoutBillStillMarksChanged();
    void cancelledCopyChangesNothing();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstTypeToolsTree::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QVERIFY(typedata::fillLibrary());
}

void TstTypeToolsTree::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmMCGS *>(w))
            delete w;
    m_fx.reset();
}

// --- the pop-up menu

void TstTypeToolsTree::menuHasItsEntries()
{
    auto w = shownWindow();
    QVERIFY(w);
    QVERIFY(!w->popupMenu()); // made for each showing only
    QTest::mousePress(viewport(*w), Qt::RightButton, {}, placeOf(*w, u"33"_s));
    QMenu *menu = w->popupMenu();
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(menu->objectName(), u"mnuGR"_s);
    QCOMPARE(menu->title(), u"功能"_s);
    struct Entry
    {
        QString name, caption, key;
        bool visible, enabled;
    };
    const QList<Entry> entries = {
        {u"mnuCut"_s, u"剪切"_s, u"Ctrl+X"_s, true, true},      {u"mnuCopy"_s, u"复制"_s, u"Ctrl+C"_s, true, true},
        {u"mnuParse"_s, u"粘贴"_s, u"Ctrl+V"_s, true, false},   {u"mnuMoveNext"_s, u"下移"_s, u"Ctrl+N"_s, false, false},
        {u"mnuMovePrev"_s, u"上移"_s, u"Ctrl+P"_s, false, false},
    };
    QCOMPARE(menu->actions().size(), entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QAction *a = menu->actions()[i];
        QCOMPARE(a->objectName(), entries[i].name);
        QCOMPARE(a->text(), entries[i].caption);
        QCOMPARE(a->shortcut().toString(), entries[i].key);
        QCOMPARE(a->isVisible(), entries[i].visible);
        if (entries[i].visible)
            QCOMPARE(a->isEnabled(), entries[i].enabled);
    }
    QCOMPARE(menu->actions(), w->menuActions());
    menu->hide();
    QTest::mouseRelease(viewport(*w), Qt::RightButton, {}, placeOf(*w, u"33"_s));
    QCOMPARE(w->findChild<QPushButton *>(u"CmdInputGS"_s)->text(), u"导入公式自Excel"_s);
    QCOMPARE(w->findChild<QPushButton *>(u"CmdOutGS"_s)->text(), u"导出公式到Excel"_s);
}

void TstTypeToolsTree::rightPressSelectsAndOpensTheMenu()
{
    auto w = shownWindow();
    QVERIFY(w);
    QTest::mousePress(viewport(*w), Qt::RightButton, {}, placeOf(*w, u"33"_s));
    QVERIFY(w->popupMenu()->isVisible());
    QCOMPARE(w->selectedNode(), w->nodeByTag(u"33"_s));
    QCOMPARE(buttonState(*w), kTypeButtons);
    w->popupMenu()->hide();
    QTest::mouseRelease(viewport(*w), Qt::RightButton, {}, placeOf(*w, u"33"_s));
    // On empty space the selection stays.
    QTest::mousePress(viewport(*w), Qt::RightButton, {}, emptyPlace(*w));
    QVERIFY(w->popupMenu()->isVisible());
    QCOMPARE(w->selectedNode(), w->nodeByTag(u"33"_s));
    w->popupMenu()->hide();
    QTest::mouseRelease(viewport(*w), Qt::RightButton, {}, emptyPlace(*w));
}

void TstTypeToolsTree::cutAndCopyMarkOnlyTypes_data()
{
    QTest::addColumn<QString>("tag"); // "" nothing selected
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("marked");
    QTest::newRow("cut a type") << u"35"_s << u"mnuCut"_s << true;
    QTest::newRow("copy a type") << u"35"_s << u"mnuCopy"_s << true;
    QTest::newRow("cut a series") << u"23"_s << u"mnuCut"_s << false;
    QTest::newRow("copy a maker") << u"12"_s << u"mnuCopy"_s << false;
    QTest::newRow("cut with nothing selected") << QString() << u"mnuCut"_s << false;
}

void TstTypeToolsTree::cutAndCopyMarkOnlyTypes()
{
    QFETCH(QString, tag);
    QFETCH(QString, entry);
    QFETCH(bool, marked);
    FrmDesign w;
    if (!tag.isEmpty())
        w.tree()->setCurrentItem(w.nodeByTag(tag));
    w.menuAction(entry)->trigger();
    QCOMPARE(w.clipNodeTag(), marked ? tag : QString());
    QCOMPARE(w.isCut(), marked && entry == u"mnuCut");
    QCOMPARE(w.isCopy(), marked && entry == u"mnuCopy");
    QCOMPARE(w.menuAction(u"mnuParse"_s)->isEnabled(), marked);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstTypeToolsTree::cutAndPasteMovesTheType()
{
    auto w = shownWindow();
    QVERIFY(w);
    const QStringList before = typedata::dump();
    mark(*w, u"31"_s, u"mnuCut"_s);
    pasteOnto(*w, u"23"_s);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    const platform::ShownMessage &q = m_fx->msgs->shown.first();
    QCOMPARE(q.text, u"确认要移动？"_s);
    QCOMPARE(q.title, u"提示"_s);
    QCOMPARE(q.icon, MsgIcon::Information);
    QVERIFY(q.buttons == MsgButtons::OkCancel);
    // Only the type's series changed; its number and bill stay.
    QStringList expected = before;
    expected[2].replace(u"1|1|T1||101"_s, u"3|1|T1||101"_s);
    QCOMPARE(typedata::dump(), expected);
    // The node, with its tag and key, is the target's last child.
    QCOMPARE(childTags(w->nodeByTag(u"21"_s)), QStringList{u"32"_s});
    QCOMPARE(childTags(w->nodeByTag(u"23"_s)), (QStringList{u"35"_s, u"36"_s, u"31"_s}));
    QCOMPARE(FrmDesign::nodeKey(w->nodeByTag(u"31"_s)), u"Node31"_s);
    QCOMPARE(w->clipNodeTag(), QString());
    QVERIFY(!w->isCut());
    QVERIFY(!w->menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::copyAndPasteCopiesIntoTheSeries()
{
    auto w = shownWindow();
    QVERIFY(w);
    mark(*w, u"31"_s, u"mnuCopy"_s);
    pasteOnto(*w, u"21"_s); // the series it already belongs to
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"确认要复制？"_s});
    QVERIFY(m_fx->msgs->shown.first().buttons == MsgButtons::OkCancel);
    // A new type under the next number with the same name and drawing, and a copy of the bill
    // under new row numbers.
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"1|9|T1||101"_s);
    QCOMPARE(storedBill(9), storedBill(1));
    for (const QString &table : typedata::kBillTables)
        QCOMPARE(typedata::ids(table, u"窗号"_s, 9), QList<qint64>{9});
    QCOMPARE(childTags(w->nodeByTag(u"21"_s)), (QStringList{u"31"_s, u"32"_s, u"39"_s}));
    QTreeWidgetItem *copy = w->nodeByTag(u"39"_s);
    QCOMPARE(copy->text(0), u"T1"_s);
    QCOMPARE(FrmDesign::nodeKey(copy), u"Node39"_s);
    // The mark stays on the source; pasting waits for the next cut or copy.
    QCOMPARE(w->clipNodeTag(), u"31"_s);
    QVERIFY(!w->isCopy());
    QVERIFY(!w->menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::pasteOntoOtherNodesDoesNothing_data()
{
    QTest::addColumn<QString>("target"); // "" nothing selected
    QTest::addColumn<QString>("entry");
    QTest::newRow("the marked type itself") << u"31"_s << u"mnuCut"_s;
    QTest::newRow("another type") << u"35"_s << u"mnuCopy"_s;
    QTest::newRow("a maker") << u"12"_s << u"mnuCut"_s;
    QTest::newRow("nothing selected") << QString() << u"mnuCopy"_s;
}

void TstTypeToolsTree::pasteOntoOtherNodesDoesNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, entry);
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"31"_s));
    w.menuAction(entry)->trigger();
    const QStringList before = typedata::dump();
    const QStringList tree = treeLines(w);
    w.tree()->clearSelection();
    if (!target.isEmpty())
        w.tree()->setCurrentItem(w.nodeByTag(target));
    w.mnuParse();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(treeLines(w), tree);
    QCOMPARE(w.clipNodeTag(), u"31"_s);
    QVERIFY(w.menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::cancelledPasteChangesNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("question");
    QTest::newRow("move") << u"mnuCut"_s << u"确认要移动？"_s;
    QTest::newRow("copy") << u"mnuCopy"_s << u"确认要复制？"_s;
}

void TstTypeToolsTree::cancelledPasteChangesNothing()
{
    QFETCH(QString, entry);
    QFETCH(QString, question);
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"31"_s));
    w.menuAction(entry)->trigger();
    const QStringList before = typedata::dump();
    const QStringList tree = treeLines(w);
    w.tree()->setCurrentItem(w.nodeByTag(u"24"_s));
    m_fx->msgs->answers << MsgAnswer::Cancel;
    w.mnuParse();
    QCOMPARE(m_fx->msgs->texts(), QStringList{question});
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(treeLines(w), tree);
    QCOMPARE(w.clipNodeTag(), u"31"_s);
    QCOMPARE(w.isCut() || w.isCopy(), true);
    QVERIFY(w.menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::cutBeatsCopy()
{
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"31"_s));
    w.mnuCut();
    w.tree()->setCurrentItem(w.nodeByTag(u"33"_s));
    w.mnuCopy();
    QVERIFY(w.isCut() && w.isCopy());
    w.tree()->setCurrentItem(w.nodeByTag(u"24"_s));
    w.mnuParse();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"确认要移动？"_s});
    // The last marked type moved, and no type was copied.
    QCOMPARE(childTags(w.nodeByTag(u"24"_s)), (QStringList{u"37"_s, u"38"_s, u"33"_s}));
    QCOMPARE(childTags(w.nodeByTag(u"21"_s)), (QStringList{u"31"_s, u"32"_s}));
    QCOMPARE(typedata::rows(u"门窗"_s).size(), 8);
    QVERIFY(!w.isCut());
    QVERIFY(w.isCopy());
    QVERIFY(!w.menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::failedPasteChangesNeitherTablesNorTree_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("event");
    QTest::newRow("move") << u"mnuCut"_s << u"门窗"_s << u"UPDATE"_s;
    QTest::newRow("copy failing after the type row") << u"mnuCopy"_s << u"窗配件"_s << u"INSERT"_s;
}

void TstTypeToolsTree::failedPasteChangesNeitherTablesNorTree()
{
    QFETCH(QString, entry);
    QFETCH(QString, table);
    QFETCH(QString, event);
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"31"_s));
    w.menuAction(entry)->trigger();
    QVERIFY(typedata::breakTable(table, event));
    const QStringList before = typedata::dump();
    const QStringList tree = treeLines(w);
    w.tree()->setCurrentItem(w.nodeByTag(u"24"_s));
    w.mnuParse();
    QCOMPARE(m_fx->msgs->shown.size(), 2); // the question, then the failure
    QVERIFY2(m_fx->msgs->lastText().contains(u"数据未作任何改动"_s), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(treeLines(w), tree);
    // Nothing happened, so the paste can be tried again.
    QCOMPARE(w.clipNodeTag(), u"31"_s);
    QVERIFY(w.menuAction(u"mnuParse"_s)->isEnabled());
}

void TstTypeToolsTree::deletedMarkedTypeIsNotPasted()
{
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"38"_s));
    w.mnuCopy();
    m_fx->msgs->answers << MsgAnswer::Yes;
    w.CmdDelMC();
    QVERIFY(!w.nodeByTag(u"38"_s));
    QCOMPARE(w.clipNodeTag(), QString());
    QVERIFY(!w.menuAction(u"mnuParse"_s)->isEnabled());
    // A new type now takes the deleted one's number; the old mark must not reach it.
    w.tree()->setCurrentItem(w.nodeByTag(u"21"_s));
    m_fx->msgs->onDialog = [](QDialog *d) {
        d->findChild<QLineEdit *>(u"Text10"_s)->setText(u"新"_s);
        qobject_cast<FrmInputMC *>(d)->setDrawingNumber(u"1"_s);
        d->findChild<QPushButton *>(u"OKButton"_s)->click();
        return d->result();
    };
    w.CmdAddMC();
    QVERIFY(w.nodeByTag(u"38"_s));
    const QStringList before = typedata::dump();
    w.tree()->setCurrentItem(w.nodeByTag(u"22"_s));
    m_fx->msgs->clear();
    w.mnuParse();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(typedata::dump(), before);
}

void TstTypeToolsTree::shortcutsCutCopyAndPaste()
{
    auto w = shownWindow();
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->tree()->setFocus();
    w->tree()->setCurrentItem(w->nodeByTag(u"32"_s));
    QTest::keyClick(w->tree(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w->isCopy());
    QCOMPARE(w->clipNodeTag(), u"32"_s);
    w->tree()->setCurrentItem(w->nodeByTag(u"24"_s));
    QTest::keyClick(w->tree(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"确认要复制？"_s});
    QCOMPARE(childTags(w->nodeByTag(u"24"_s)), (QStringList{u"37"_s, u"38"_s, u"39"_s}));
    w->tree()->setCurrentItem(w->nodeByTag(u"35"_s));
    QTest::keyClick(w->tree(), Qt::Key_X, Qt::ControlModifier);
    QVERIFY(w->isCut());
    QCOMPARE(w->clipNodeTag(), u"35"_s);
}

// --- dragging

void TstTypeToolsTree::dragOntoASeriesCopies()
{
    auto w = shownWindow();
    QVERIFY(w);
    const QPoint from = placeOf(*w, u"31"_s);
    const QPoint to = placeOf(*w, u"24"_s);
    QTest::mousePress(viewport(*w), Qt::LeftButton, {}, from);
    QCOMPARE(w->dragNodeTag(), u"31"_s);
    QVERIFY(!w->isDragging());
    QTest::mouseMove(viewport(*w), to);
    // Under way: the series is highlighted and the selection stays on the dragged type.
    QVERIFY(w->isDragging());
    QCOMPARE(w->dropHighlight(), w->nodeByTag(u"24"_s));
    QCOMPARE(w->selectedNode(), w->nodeByTag(u"31"_s));
    QCOMPARE(buttonState(*w), kTypeButtons);
    QTest::mouseRelease(viewport(*w), Qt::LeftButton, {}, to);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"确认要复制？"_s});
    QVERIFY(m_fx->msgs->shown.first().buttons == MsgButtons::OkCancel);
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"4|9|T1||101"_s);
    QCOMPARE(storedBill(9), storedBill(1));
    QCOMPARE(childTags(w->nodeByTag(u"24"_s)), (QStringList{u"37"_s, u"38"_s, u"39"_s}));
    QCOMPARE(childTags(w->nodeByTag(u"21"_s)), (QStringList{u"31"_s, u"32"_s})); // a drag never moves
    QVERIFY(!w->isDragging());
    QCOMPARE(w->dragNodeTag(), QString());
    QCOMPARE(w->dropHighlight(), nullptr);
}

void TstTypeToolsTree::dropsThatDoNothing_data()
{
    QTest::addColumn<QString>("target"); // "" empty space
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("dragTagAfter");
    QTest::newRow("on another type") << u"35"_s << false << QString();
    QTest::newRow("on a maker") << u"12"_s << false << QString();
    QTest::newRow("on the dragged type itself") << u"31"_s << false << QString();
    QTest::newRow("on empty space") << QString() << false << u"31"_s;
    QTest::newRow("on a series, cancelled") << u"23"_s << true << QString();
}

void TstTypeToolsTree::dropsThatDoNothing()
{
    QFETCH(QString, target);
    QFETCH(bool, cancel);
    QFETCH(QString, dragTagAfter);
    auto w = shownWindow();
    QVERIFY(w);
    const QStringList before = typedata::dump();
    const QStringList tree = treeLines(*w);
    if (cancel)
        m_fx->msgs->answers << MsgAnswer::Cancel;
    drag(*w, placeOf(*w, u"31"_s), target.isEmpty() ? emptyPlace(*w) : placeOf(*w, target));
    QCOMPARE(m_fx->msgs->texts(), cancel ? QStringList{u"确认要复制？"_s} : QStringList{});
    QCOMPARE(typedata::dump(), before);
    QCOMPARE(treeLines(*w), tree);
    QVERIFY(!w->isDragging());
    QCOMPARE(w->dragNodeTag(), dragTagAfter);
    QCOMPARE(w->dropHighlight(), nullptr);
}

void TstTypeToolsTree::makersAndSeriesAreNotDragged_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("series") << u"22"_s;
    QTest::newRow("maker") << u"11"_s;
}

void TstTypeToolsTree::makersAndSeriesAreNotDragged()
{
    QFETCH(QString, source);
    auto w = shownWindow();
    QVERIFY(w);
    const QStringList before = typedata::dump();
    const QPoint to = placeOf(*w, u"24"_s);
    QTest::mousePress(viewport(*w), Qt::LeftButton, {}, placeOf(*w, source));
    QTest::mouseMove(viewport(*w), to);
    QVERIFY(!w->isDragging());
    QCOMPARE(w->dropHighlight(), nullptr);
    QCOMPARE(w->selectedNode(), w->nodeByTag(source)); // the selection does not follow the pointer
    QTest::mouseRelease(viewport(*w), Qt::LeftButton, {}, to);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(typedata::dump(), before);
}

// --- copying formulas

void TstTypeToolsTree::copyDialogTreeInStoredOrder()
{
    // A maker with a smaller number stored last, and a type whose name sorts first stored last.
    QVERIFY(run(u"INSERT INTO 门窗厂家 (编号, 名称) VALUES (0, 'M0')"_s));
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, 9, 'A-first', 1)"_s));
    FrmCopyGS d;
    QCOMPARE(d.objectName(), u"frmCopyGS"_s);
    QCOMPARE(d.windowTitle(), u"选取所要复制的门窗"_s);
    QCOMPARE(d.findChild<QPushButton *>(u"OKButton"_s)->text(), u"确定"_s);
    QCOMPARE(d.findChild<QPushButton *>(u"CancelButton"_s)->text(), u"取消"_s);
    QStringList top;
    for (int i = 0; i < d.tree()->topLevelItemCount(); ++i)
        top << FrmCopyGS::nodeTag(d.tree()->topLevelItem(i));
    QCOMPARE(top, (QStringList{u"11"_s, u"12"_s, u"10"_s}));
    QTreeWidgetItem *series = d.nodeByTag(u"21"_s);
    QStringList types;
    for (int i = 0; i < series->childCount(); ++i)
        types << series->child(i)->text(0) + u'=' + FrmCopyGS::nodeTag(series->child(i));
    QCOMPARE(types, (QStringList{u"T1=31"_s, u"T2=32"_s, u"A-first=39"_s}));
    QCOMPARE(series->data(0, Qt::UserRole + 1).toString(), u"Node21"_s);
    // Every level shows the same image.
    const qint64 makerIcon = d.nodeByTag(u"11"_s)->icon(0).cacheKey();
    QCOMPARE(series->icon(0).cacheKey(), makerIcon);
    QCOMPARE(series->child(0)->icon(0).cacheKey(), makerIcon);
}

void TstTypeToolsTree::copyDialogRefusesAllButATypeNode_data()
{
    QTest::addColumn<QString>("tag"); // "" nothing selected
    QTest::addColumn<bool>("emptyLibrary");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing selected") << QString() << false << u"你没有选取门窗！请选取门。"_s;
    QTest::newRow("empty library") << QString() << true << u"你没有选取门窗！请选取门。"_s;
    QTest::newRow("series") << u"22"_s << false << u"你所选的不是门窗！请选取门。"_s;
    QTest::newRow("maker") << u"12"_s << false << u"你所选的不是门窗！请选取门。"_s;
}

void TstTypeToolsTree::copyDialogRefusesAllButATypeNode()
{
    QFETCH(QString, tag);
    QFETCH(bool, emptyLibrary);
    QFETCH(QString, message);
    if (emptyLibrary)
        for (const QString &table : typedata::kTypeTables)
            QVERIFY(run(u"DELETE FROM "_s + platform::ident(table)));
    FrmCopyGS d;
    if (emptyLibrary)
        QCOMPARE(d.tree()->topLevelItemCount(), 0);
    if (!tag.isEmpty())
        d.tree()->setCurrentItem(d.nodeByTag(tag));
    d.OKButton_Click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{message});
    QCOMPARE(m_fx->msgs->shown.first().title, u"提示"_s);
    QCOMPARE(m_fx->msgs->shown.first().icon, MsgIcon::Information);
    QCOMPARE(d.result(), int(QDialog::Rejected)); // still open
    QVERIFY(!d.entered());
    // A type is taken.
    if (!emptyLibrary) {
        d.tree()->setCurrentItem(d.nodeByTag(u"37"_s));
        d.OKButton_Click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.entered(), std::optional<qint64>(7));
    }
}

void TstTypeToolsTree::copyDialogShowsTheTypesDrawing()
{
    drawing::DrawingLists lists;
    lists.LineArr[0] = {{500, 500}, {8000, 7000}};
    lists.LineLast = 0;
    QString error;
    QVERIFY2(drawing::DrawingStore().saveNew(103, u"三号图"_s, lists, &error), qPrintable(error));
    FrmCopyGS d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.tree()->setCurrentItem(d.nodeByTag(u"33"_s));
    QVERIFY(hasInk(d.preview()));
    // A series leaves the preview as it is; another type without a stored drawing empties it.
    d.tree()->setCurrentItem(d.nodeByTag(u"22"_s));
    QVERIFY(hasInk(d.preview()));
    d.tree()->setCurrentItem(d.nodeByTag(u"34"_s));
    QVERIFY(!hasInk(d.preview()));
}

void TstTypeToolsTree::copyingAppendsToTheOpenBill()
{
    FrmDesign w;
    w.tree()->setCurrentItem(w.nodeByTag(u"33"_s));
    FrmMCGS *e = w.CmdDesignMC();
    QVERIFY(e);
    QCOMPARE(e->findChild<QPushButton *>(u"CmdCopy"_s)->text(), u"复制公式"_s);
    const QStringList stored = typedata::dump();
    m_fx->msgs->onDialog = pickInCopyDialog(u"35"_s);
    e->findChild<QPushButton *>(u"CmdCopy"_s)->click();
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmCopyGS"_s});
    Bill expected = storedBill(3);
    for (BillKind k : allBillKinds())
        expected.of(k) << storedBill(5).of(k);
    QCOMPARE(billFromLists(e->lists()), expected);
    QVERIFY(e->billChanged());
    // Copying again appends again; copying the type itself doubles its own rows.
    e->CmdCopy();
    e->CmdCopy();
    m_fx->msgs->onDialog = pickInCopyDialog(u"33"_s);
    e->CmdCopy();
    for (BillKind k : allBillKinds())
        expected.of(k) << storedBill(5).of(k) << storedBill(5).of(k) << storedBill(3).of(k);
    QCOMPARE(billFromLists(e->lists()), expected);
    // Nothing reaches the database before the editor saves.
    QCOMPARE(typedata::dump(), stored);
}

void TstTypeToolsTree::copyingATypeWithoutBillStillMarksChanged()
{
    QVERIFY(run(u"INSERT INTO 门窗 (系列编号, 编号, 名称, 图号) VALUES (1, 9, '空', 1)"_s));
    FrmMCGS e(3);
    QVERIFY(LoadMCBillLists(e.lists(), 3));
    m_fx->msgs->onDialog = pickInCopyDialog(u"39"_s);
    e.CmdCopy();
    QCOMPARE(billFromLists(e.lists()), storedBill(3));
    QVERIFY(e.billChanged());
}

void TstTypeToolsTree::cancelledCopyChangesNothing()
{
    FrmMCGS e(3);
    QVERIFY(LoadMCBillLists(e.lists(), 3));
    // A type is selected, but the dialog is cancelled.
    m_fx->msgs->onDialog = pickInCopyDialog(u"35"_s, u"CancelButton"_s);
    e.CmdCopy();
    QCOMPARE(billFromLists(e.lists()), storedBill(3));
    QVERIFY(!e.billChanged());
}

QTEST_MAIN(TstTypeToolsTree)
#include "tst_typetools_tree.moc"
