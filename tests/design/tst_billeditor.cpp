#include "billeditordata.h"

#include "catalogue/ui/browser.h"
#include "design/formula.h"
#include "design/ui/billlists.h"
#include "design/ui/frmdesign.h"
#include "design/ui/frminputmc.h"
#include "design/ui/frmmcgs.h"
#include "drawing/mcpicture.h"
#include "drawing/store.h"
#include "platform/surface_widget.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace design;
using platform::MsgAnswer;
using platform::MsgIcon;
using typedata::run;

Q_DECLARE_METATYPE(design::BillRow)

namespace {
bool fillCatalogue() { return billeditordata::fillCatalogue(u"个"_s); }
using billeditordata::chooseMaterial;

std::unique_ptr<FrmMCGS> openEditor(qint64 typeId)
{
    auto e = std::make_unique<FrmMCGS>(typeId);
    if (!LoadMCBillLists(e->lists(), typeId))
        return nullptr;
    e->show();
    return e;
}

QLineEdit *box(FrmMCGS &e, int i) { return e.findChild<QLineEdit *>(u"Text1%1"_s.arg(i)); }
QPushButton *button(QWidget &w, const QString &name) { return w.findChild<QPushButton *>(name); }

BillRow rowTexts(const QTreeWidgetItem *item)
{
    return {item->text(0), item->text(1), item->text(2), item->text(3)};
}

QString focusName()
{
    QWidget *f = QApplication::focusWidget();
    return f ? f->objectName() : QString();
}

bool hasInk(platform::WidgetSurface *s)
{
    const QImage img = s->snapshot().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

Bill storedBill(qint64 typeId) { return TypeStore().loadBill(typeId).value_or(Bill{}); }
} // namespace

class TstBillEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensWithTheStoredBill();
    void picksEachKindFromTheBrowser_data();
    void picksEachKindFromTheBrowser();
    void pickWithoutSelectionOnlyTellsSo();
    void rowEditorShowsTheRowAndItsKeyBoxes_data();
    void rowEditorShowsTheRowAndItsKeyBoxes();
    void rowEditorKeys();
    void confirmWritesBackAndMarksChanged();
    void removesOneOrAll();
    void saveAndReloadGiveTheSameLists();
    void formulasReadInPartAreListedBeforeSaving();
    void namesThatRunOnAndLengthsOfZeroAreListed_data();
    void namesThatRunOnAndLengthsOfZeroAreListed();
    void countThatIsNotANumberIsRefusedAndKeepsStoredBill();
    void failedSaveKeepsWindowAndStoredBill();
    void closeAsksAboutUnsavedChanges_data();
    void closeAsksAboutUnsavedChanges();
    void saveOfADeletedTypeIsRefused();
    void drawingLabelsEvaluateTheStoredFormula();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstBillEditor::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QVERIFY(typedata::fillLibrary());
    QVERIFY(fillCatalogue());
    // Type 3's drawing, labelled as its formulas need.
    drawing::DrawingLists lists;
    lists.StringArr[0] = {{4000, 300}, u"B"_s};
    lists.StringArr[1] = {{300, 4000}, u"H"_s};
    lists.StringLast = 1;
    QString error;
    QVERIFY2(drawing::DrawingStore().saveNew(103, u"T3图"_s, lists, &error), qPrintable(error));
}

void TstBillEditor::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmMCGS *>(w) || qobject_cast<FrmDesign *>(w))
            delete w;
    m_fx.reset();
}

void TstBillEditor::opensWithTheStoredBill()
{
    auto e = openEditor(3);
    QVERIFY(e);
    QCOMPARE(e->windowTitle(), u"门窗公式设计"_s);
    const QStringList tabs = {u"门窗型材"_s, u"门窗型钢"_s, u"门窗板材"_s, u"门窗配件"_s};
    auto *billTabs = e->findChild<QTabWidget *>(u"SSTab2"_s);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(billTabs->tabText(i), tabs[i]);
    QCOMPARE(e->list(BillKind::Panel)->headerItem()->text(0), u"板材名称"_s);
    QCOMPARE(billFromLists(e->lists()), storedBill(3));
    QCOMPARE(rowTexts(e->list(BillKind::Panel)->topLevelItem(0)), (BillRow{u"玻璃3"_s, u"1"_s, u"B/2"_s, u"H/2"_s}));
    // Loading appends to what the lists hold.
    QVERIFY(LoadMCBillLists(e->lists(), 4));
    QCOMPARE(e->list(BillKind::Steel)->topLevelItemCount(), 2);
    QVERIFY(!e->billChanged());
    // Idle: the row editor is off.
    QVERIFY(!box(*e, 0)->isEnabled() && !button(*e, u"cmdOK"_s)->isEnabled());
    QVERIFY(button(*e, u"CmdSelect"_s)->isEnabled());
}

void TstBillEditor::picksEachKindFromTheBrowser_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("kind");
    QTest::addColumn<BillRow>("row");
    QTest::newRow("profile") << u"51"_s << int(BillKind::Profile) << BillRow{u"框料"_s, u"60-01"_s, {}, {}};
    QTest::newRow("steel") << u"22"_s << int(BillKind::Steel) << BillRow{u"钢衬"_s, u"G-20"_s, {}, {}};
    QTest::newRow("panel") << u"33"_s << int(BillKind::Panel) << BillRow{u"白玻"_s, u"0"_s, {}, {}};
    QTest::newRow("fitting") << u"44"_s << int(BillKind::Fitting) << BillRow{u"执手"_s, u"ZS"_s, u"0"_s, u"个"_s};
}

void TstBillEditor::picksEachKindFromTheBrowser()
{
    QFETCH(QString, node);
    QFETCH(int, kind);
    QFETCH(BillRow, row);
    auto e = openEditor(3);
    QVERIFY(chooseMaterial(*e, node));
    button(*e, u"CmdSelect"_s)->click();
    // A double click on the browser's list picks too.
    e->browser()->lvw_DblClick();
    for (BillKind k : allBillKinds()) {
        QTreeWidget *list = e->list(k);
        QCOMPARE(list->topLevelItemCount(), int(k) == kind ? 3 : 1);
    }
    QTreeWidget *list = e->list(BillKind(kind));
    QCOMPARE(rowTexts(list->topLevelItem(1)), row);
    QCOMPARE(rowTexts(list->topLevelItem(2)), row);
    QCOMPARE(e->findChild<QTabWidget *>(u"SSTab2"_s)->currentIndex(), kind);
    QVERIFY(e->billChanged());
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstBillEditor::pickWithoutSelectionOnlyTellsSo()
{
    auto e = openEditor(3);
    const Bill before = billFromLists(e->lists());
    e->CmdSelect();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"没有选取所需加入的材料"_s});
    QCOMPARE(m_fx->msgs->shown.first().title, u"提示"_s);
    QVERIFY(m_fx->msgs->shown.first().icon == MsgIcon::Information);
    QCOMPARE(billFromLists(e->lists()), before);
    QVERIFY(!e->billChanged());
}

void TstBillEditor::rowEditorShowsTheRowAndItsKeyBoxes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("yellow");
    QTest::addColumn<QString>("focus");
    QTest::newRow("profile") << int(BillKind::Profile)
                             << QStringList{u"型材名称"_s, u"型材规格"_s, u"数量公式"_s, u"长度公式"_s} << u"0100"_s
                             << u"Text10"_s;
    QTest::newRow("steel") << int(BillKind::Steel)
                           << QStringList{u"型钢名称"_s, u"型钢规格"_s, u"数量公式"_s, u"长度公式"_s} << u"0100"_s
                           << u"Text10"_s;
    QTest::newRow("panel") << int(BillKind::Panel) << QStringList{u"板材名称"_s, u"板材数量"_s, u"长公式"_s, u"宽公式"_s}
                           << u"1000"_s << u"Text11"_s;
    QTest::newRow("fitting") << int(BillKind::Fitting) << QStringList{u"配件名称"_s, u"配件规格"_s, u"数量"_s, u"单位"_s}
                             << u"1100"_s << u"Text12"_s;
}

void TstBillEditor::rowEditorShowsTheRowAndItsKeyBoxes()
{
    QFETCH(int, kind);
    QFETCH(QStringList, labels);
    QFETCH(QString, yellow);
    QFETCH(QString, focus);
    auto e = openEditor(3);
    QVERIFY(QTest::qWaitForWindowActive(e.get()));
    QTreeWidget *list = e->list(BillKind(kind));
    QTreeWidgetItem *item = list->topLevelItem(0);
    list->setCurrentItem(item);
    emit list->itemDoubleClicked(item, 0);
    QCOMPARE(e->editedBillRow(), item);
    QString seenYellow;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(e->findChild<QLabel *>(u"Label%1"_s.arg(i + 5))->text(), labels[i]);
        QCOMPARE(box(*e, i)->text(), item->text(i));
        QVERIFY(box(*e, i)->isEnabled());
        const bool isYellow = box(*e, i)->palette().color(QPalette::Base) == QColor(255, 255, 0);
        seenYellow += isYellow ? u'1' : u'0';
        QCOMPARE(box(*e, i)->toolTip(), isYellow ? u"最好不要更改此值！"_s : QString());
    }
    QCOMPARE(seenYellow, yellow);
    QCOMPARE(focusName(), focus);
    QVERIFY(button(*e, u"cmdOK"_s)->isEnabled() && button(*e, u"cmdCancel"_s)->isEnabled());
    QVERIFY(!button(*e, u"CmdSelect"_s)->isEnabled() && !button(*e, u"CmdRemove"_s)->isEnabled()
            && !button(*e, u"CmdRemoveAll"_s)->isEnabled());
    // A click into a key box passes the focus on.
    if (yellow.startsWith(u'1')) {
        box(*e, 0)->setFocus();
        QCOMPARE(focusName(), focus);
    }
}

void TstBillEditor::rowEditorKeys()
{
    auto e = openEditor(3);
    QVERIFY(QTest::qWaitForWindowActive(e.get()));
    QTreeWidget *fittings = e->list(BillKind::Fitting);
    // Ctrl+Enter before any row was clicked empties the box.
    fittings->setCurrentItem(fittings->topLevelItem(0));
    e->editSelectedRow(fittings);
    QCOMPARE(focusName(), u"Text12"_s);
    QTest::keyClick(box(*e, 2), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(box(*e, 2)->text(), QString());
    // Enter walks the boxes and ends on 确定.
    QTest::keyClick(box(*e, 2), Qt::Key_Return);
    QCOMPARE(focusName(), u"Text13"_s);
    QTest::keyClick(box(*e, 3), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(focusName(), u"cmdOK"_s);
    // Enter on 确定, where the chain ends, confirms the row.
    QTest::keyClick(button(*e, u"cmdOK"_s), Qt::Key_Return);
    QCOMPARE(fittings->topLevelItem(0)->text(2), QString());
    QVERIFY(!button(*e, u"cmdOK"_s)->isEnabled());
    QVERIFY(e->billChanged());
    e->cmdCancel();
    // Ctrl+Enter copies the fourth column of the last clicked row, of whichever list.
    QTreeWidget *profiles = e->list(BillKind::Profile);
    emit profiles->itemClicked(profiles->topLevelItem(0), 0);
    QCOMPARE(e->clickedRowTexts()[3], u"B-10"_s);
    QTreeWidget *panels = e->list(BillKind::Panel);
    panels->setCurrentItem(panels->topLevelItem(0));
    e->editSelectedRow(panels);
    QTest::keyClick(box(*e, 1), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(box(*e, 1)->text(), u"B-10"_s);
    QTest::keyClick(box(*e, 1), Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(box(*e, 1)->text(), u"B-10"_s); // another modifier: not the copy key
}

void TstBillEditor::confirmWritesBackAndMarksChanged()
{
    auto e = openEditor(3);
    QTreeWidget *list = e->list(BillKind::Steel);
    list->setCurrentItem(list->topLevelItem(0));
    e->editSelectedRow(list);
    box(*e, 2)->setText(u"4"_s);
    e->cmdCancel();
    QCOMPARE(list->topLevelItem(0)->text(2), u"2"_s);
    QVERIFY(!e->billChanged());
    QVERIFY(!box(*e, 0)->isEnabled() && box(*e, 2)->text().isEmpty());
    e->editSelectedRow(list);
    box(*e, 2)->setText(u"4"_s);
    box(*e, 3)->setText(u"(B-2*KH1)/2"_s);
    button(*e, u"cmdOK"_s)->click();
    QCOMPARE(rowTexts(list->topLevelItem(0)), (BillRow{u"型钢3"_s, u"XG"_s, u"4"_s, u"(B-2*KH1)/2"_s}));
    QVERIFY(e->billChanged());
    QVERIFY(!button(*e, u"cmdOK"_s)->isEnabled() && button(*e, u"CmdSelect"_s)->isEnabled());
    QCOMPARE(e->editedBillRow(), nullptr);
}

void TstBillEditor::removesOneOrAll()
{
    auto e = openEditor(3);
    QVERIFY(LoadMCBillLists(e->lists(), 4));
    auto *tabs = e->findChild<QTabWidget *>(u"SSTab2"_s);
    tabs->setCurrentIndex(int(BillKind::Panel));
    // Nothing selected in the shown tab: a message, and the bill counts as changed.
    e->list(BillKind::Panel)->clearSelection();
    button(*e, u"CmdRemove"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"没有选取所要移除数据"_s});
    QVERIFY(e->billChanged());
    QCOMPARE(e->list(BillKind::Panel)->topLevelItemCount(), 2);
    // The selection of another tab's list does not count.
    e->list(BillKind::Profile)->setCurrentItem(e->list(BillKind::Profile)->topLevelItem(0));
    e->list(BillKind::Panel)->setCurrentItem(e->list(BillKind::Panel)->topLevelItem(0));
    button(*e, u"CmdRemove"_s)->click();
    QCOMPARE(e->list(BillKind::Panel)->topLevelItemCount(), 1);
    QCOMPARE(e->list(BillKind::Panel)->topLevelItem(0)->text(0), u"玻璃4"_s);
    QCOMPARE(e->list(BillKind::Profile)->topLevelItemCount(), 2);
    button(*e, u"CmdRemoveAll"_s)->click();
    QVERIFY(billFromLists(e->lists()).isEmpty());
    QCOMPARE(m_fx->msgs->shown.size(), 1);
}

void TstBillEditor::saveAndReloadGiveTheSameLists()
{
    auto e = openEditor(3);
    for (const QString &node : {u"51"_s, u"22"_s, u"33"_s, u"44"_s}) {
        QVERIFY(chooseMaterial(*e, node));
        e->CmdSelect();
    }
    // A quote in a name and in a formula, typed in the row editor.
    QTreeWidget *profiles = e->list(BillKind::Profile);
    profiles->setCurrentItem(profiles->topLevelItem(1));
    e->editSelectedRow(profiles);
    box(*e, 0)->setText(u"框'料"_s);
    box(*e, 2)->setText(u"2"_s);
    box(*e, 3)->setText(u"B-'2"_s);
    e->cmdOK();
    QTreeWidget *panels = e->list(BillKind::Panel);
    panels->setCurrentItem(panels->topLevelItem(1));
    e->editSelectedRow(panels);
    box(*e, 1)->setText(u"1.5"_s);
    e->cmdOK();
    const Bill edited = billFromLists(e->lists());
    const QStringList otherTypes = typedata::rows(u"窗型材"_s).filter(QRegularExpression(u"^[^3]\\|"_s));
    button(*e, u"CmdSave"_s)->click();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QVERIFY(!e->isVisible());
    QCOMPARE(storedBill(3), edited);
    auto again = openEditor(3);
    QCOMPARE(billFromLists(again->lists()), edited);
    QCOMPARE(rowTexts(again->list(BillKind::Profile)->topLevelItem(1)),
             (BillRow{u"框'料"_s, u"60-01"_s, u"2"_s, u"B-'2"_s}));
    QCOMPARE(typedata::rows(u"窗型材"_s).filter(QRegularExpression(u"^[^3]\\|"_s)), otherTypes);
}

void TstBillEditor::formulasReadInPartAreListedBeforeSaving()
{
    auto e = openEditor(3);
    const QList<std::pair<int, BillRow>> edits = {
        {0, {u"框"_s, u"K60"_s, u"2"_s, u"(H-100"_s}},   // unbalanced
        {1, {u"扇"_s, u"S60"_s, u"X+5"_s, u"B-20"_s}},   // X is no label
        {2, {u"中梃"_s, u"Z60"_s, u"2"_s, u"1"_s + QString(40, u'9')}}, // no finite result
        {3, {u"压线"_s, u"Y60"_s, u"SQR(B*H)"_s, u"b/2+h"_s}}, // whole
    };
    QTreeWidget *profiles = e->list(BillKind::Profile);
    for (const auto &[row, texts] : edits) {
        if (row >= profiles->topLevelItemCount())
            profiles->addTopLevelItem(new QTreeWidgetItem);
        for (int c = 0; c < 4; ++c)
            profiles->topLevelItem(row)->setText(c, texts[size_t(c)]);
    }
    const QStringList before = typedata::dump();

    // Not saved: the question lists each row; the window stays on the first.
    m_fx->msgs->answers = {MsgAnswer::No};
    button(*e, u"CmdSave"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    const QString text = m_fx->msgs->lastText();
    QVERIFY2(text.contains(u"门窗型材\t第1行\t(H-100\t括号不成对"_s), qPrintable(text));
    QVERIFY2(text.contains(u"门窗型材\t第2行\tX+5\t“X”既不是函数也不是图中的标注"_s), qPrintable(text));
    QVERIFY2(text.contains(u"门窗型材\t第3行\t1"_s + QString(40, u'9') + u"\t计算结果不是有限数"_s), qPrintable(text));
    QVERIFY2(!text.contains(u"第4行"_s), qPrintable(text));
    QVERIFY(text.endsWith(u"是否仍然保存？"_s));
    QCOMPARE(m_fx->msgs->shown.first().buttons, platform::MsgButtons::YesNo);
    QCOMPARE(typedata::dump(), before);
    QVERIFY(e->isVisible());
    QCOMPARE(profiles->currentItem(), profiles->topLevelItem(0));

    // Saved anyway: the bill is stored as it stands.
    const Bill edited = billFromLists(e->lists());
    m_fx->msgs->clear();
    m_fx->msgs->answers = {MsgAnswer::Yes};
    button(*e, u"CmdSave"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(storedBill(3), edited);
    QVERIFY(!e->isVisible());
}

void TstBillEditor::namesThatRunOnAndLengthsOfZeroAreListed_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("problem"); // "" when the bill saves without a question
    const int profile = int(BillKind::Profile), panel = int(BillKind::Panel);
    const QString runOn = u"“%1”不是图中的标注，其中的“%2”会被换成它的值"_s;
    // B2 is no label: the evaluator reads B's value followed by 2.
    QTest::newRow("label runs on into a digit") << profile << 3 << u"B-B2-50"_s << runOn.arg(u"B2"_s, u"B"_s);
    QTest::newRow("lower case") << profile << 3 << u"b-b2-50"_s << runOn.arg(u"B2"_s, u"B"_s);
    QTest::newRow("digit before a label") << profile << 3 << u"2B-100"_s << runOn.arg(u"2B"_s, u"B"_s);
    QTest::newRow("two labels run together") << profile << 2 << u"BH"_s << runOn.arg(u"BH"_s, u"B"_s);
    QTest::newRow("longer label runs on") << profile << 3 << u"H-KH12"_s << runOn.arg(u"KH12"_s, u"KH1"_s);
    QTest::newRow("label then a point") << panel << 2 << u"B.5"_s << runOn.arg(u"B.5"_s, u"B"_s);
    // B and H stand on dimensions of 6000; KH1 stands on none.
    QTest::newRow("length below zero") << profile << 3 << u"B-6100"_s << u"按图中尺寸B=6000，长度为-100，不大于0"_s;
    QTest::newRow("panel width zero") << panel << 3 << u"h-H"_s << u"按图中尺寸H=6000，长度为0，不大于0"_s;
    QTest::newRow("constant length zero") << profile << 3 << u"0"_s << u"长度为0，不大于0"_s;
    QTest::newRow("a count is no length") << profile << 2 << u"B-6100"_s << QString();
    QTest::newRow("label without a dimension") << profile << 3 << u"KH1-100"_s << QString();
    QTest::newRow("whole formula") << profile << 3 << u"(B-2*KH1)/2"_s << QString();
}

void TstBillEditor::namesThatRunOnAndLengthsOfZeroAreListed()
{
    QFETCH(int, kind);
    QFETCH(int, column);
    QFETCH(QString, formula);
    QFETCH(QString, problem);
    // Type 3's drawing: B over a width of 6000, H beside a height of 6000, KH1 apart from both.
    drawing::DrawingLists lists;
    lists.DimArr[0] = {{1000, 500}, {7000, 500}, {4000, 400}};
    lists.DimArr[1] = {{1000, 1000}, {1000, 7000}, {600, 4000}};
    lists.DimLast = 1;
    lists.StringArr[0] = {{3900, 250}, u"B"_s};
    lists.StringArr[1] = {{250, 4000}, u"H"_s};
    lists.StringArr[2] = {{9000, 7500}, u"KH1"_s};
    lists.StringLast = 2;
    QString error;
    QVERIFY2(drawing::DrawingStore().save(103, lists, &error), qPrintable(error));

    auto e = openEditor(3);
    QTreeWidget *list = e->list(BillKind(kind));
    list->topLevelItem(0)->setText(column, formula);
    const QStringList before = typedata::dump();
    m_fx->msgs->answers = {MsgAnswer::No};
    button(*e, u"CmdSave"_s)->click();
    if (problem.isEmpty()) {
        QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
        QVERIFY(!e->isVisible());
        return;
    }
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    const QString line = u"%1\t第1行\t%2\t%3"_s.arg(billTableInfo(BillKind(kind)).caption, formula, problem);
    const QString text = m_fx->msgs->lastText();
    QVERIFY2(text.startsWith(u"以下公式无法完整计算：\n"_s + line + u"\n\n是否仍然保存？"_s), qPrintable(text));
    QCOMPARE(m_fx->msgs->shown.first().buttons, platform::MsgButtons::YesNo);
    QCOMPARE(typedata::dump(), before);
    QVERIFY(e->isVisible());
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
}

void TstBillEditor::countThatIsNotANumberIsRefusedAndKeepsStoredBill()
{
    auto e = openEditor(3);
    QVERIFY(LoadMCBillLists(e->lists(), 5)); // a second row in every list
    const QStringList before = typedata::dump();
    QTreeWidget *fittings = e->list(BillKind::Fitting);
    fittings->setCurrentItem(fittings->topLevelItem(1));
    e->editSelectedRow(fittings);
    box(*e, 2)->setText(u"两个"_s);
    e->cmdOK();
    e->findChild<QTabWidget *>(u"SSTab2"_s)->setCurrentIndex(0);
    button(*e, u"CmdSave"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->lastText().contains(u"门窗配件第2行"_s));
    QVERIFY(m_fx->msgs->shown.first().icon == MsgIcon::Information);
    QCOMPARE(typedata::dump(), before);
    // The window stays, showing the offending row.
    QVERIFY(e->isVisible());
    QCOMPARE(e->findChild<QTabWidget *>(u"SSTab2"_s)->currentIndex(), int(BillKind::Fitting));
    QCOMPARE(fittings->currentItem(), fittings->topLevelItem(1));
    QVERIFY(e->billChanged());
}

void TstBillEditor::failedSaveKeepsWindowAndStoredBill()
{
    auto e = openEditor(3);
    QVERIFY(chooseMaterial(*e, u"44"_s));
    e->CmdSelect();
    QVERIFY(typedata::breakTable(u"窗配件"_s, u"INSERT"_s));
    const QStringList before = typedata::dump();
    e->CmdSave();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->lastText().startsWith(u"系统保存时出错！"_s));
    QVERIFY(m_fx->msgs->shown.first().icon == MsgIcon::Critical);
    QCOMPARE(typedata::dump(), before);
    QVERIFY(e->isVisible());
    QCOMPARE(e->list(BillKind::Fitting)->topLevelItemCount(), 2);
}

void TstBillEditor::closeAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("viaExit"); // 退出, or closing the window
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("breakSave");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    const int yes = int(MsgAnswer::Yes);
    const int no = int(MsgAnswer::No);
    QTest::newRow("unchanged") << u"none"_s << true << yes << false << false << true << false;
    QTest::newRow("picked, yes") << u"pick"_s << true << yes << false << true << true << true;
    QTest::newRow("picked, no") << u"pick"_s << true << no << false << true << true << false;
    QTest::newRow("picked, window closed, yes") << u"pick"_s << false << yes << false << true << true << true;
    QTest::newRow("picked, window closed, no") << u"pick"_s << false << no << false << true << true << false;
    QTest::newRow("row confirmed, yes") << u"confirmed"_s << true << yes << false << true << true << true;
    QTest::newRow("row confirmed, no") << u"confirmed"_s << false << no << false << true << true << false;
    QTest::newRow("row still in editor, yes") << u"pending"_s << true << yes << false << true << true << true;
    QTest::newRow("row opened, unchanged") << u"opened"_s << true << yes << false << false << true << false;
    QTest::newRow("yes, save fails") << u"pick"_s << true << yes << true << true << false << false;
}

void TstBillEditor::closeAsksAboutUnsavedChanges()
{
    QFETCH(QString, change);
    QFETCH(bool, viaExit);
    QFETCH(int, answer);
    QFETCH(bool, breakSave);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    auto e = openEditor(3);
    const Bill original = billFromLists(e->lists());
    QTreeWidget *profiles = e->list(BillKind::Profile);
    if (change == u"pick") {
        QVERIFY(chooseMaterial(*e, u"51"_s));
        e->CmdSelect();
    } else if (change != u"none") {
        profiles->setCurrentItem(profiles->topLevelItem(0));
        e->editSelectedRow(profiles);
        if (change != u"opened")
            box(*e, 3)->setText(u"B-2*KH1"_s);
        if (change == u"confirmed")
            e->cmdOK();
    }
    Bill shown = billFromLists(e->lists());
    if (change == u"pending")
        shown.of(BillKind::Profile)[0][3] = u"B-2*KH1"_s;
    if (breakSave)
        QVERIFY(typedata::breakTable(u"窗型材"_s, u"INSERT"_s));
    m_fx->msgs->answers << MsgAnswer(answer);
    if (viaExit)
        button(*e, u"CmdExit"_s)->click();
    else
        e->close();
    if (asked) {
        QVERIFY(!m_fx->msgs->shown.isEmpty());
        const platform::ShownMessage &q = m_fx->msgs->shown.first();
        QCOMPARE(q.text, u"是否要保存？"_s);
        QCOMPARE(q.title, u"提示？"_s);
        QVERIFY(q.icon == MsgIcon::Question && q.buttons == platform::MsgButtons::YesNo);
    } else {
        QVERIFY(m_fx->msgs->shown.isEmpty());
    }
    if (breakSave)
        QVERIFY(m_fx->msgs->lastText().startsWith(u"系统保存时出错！"_s));
    QCOMPARE(!e->isVisible(), closed);
    QCOMPARE(storedBill(3), saved ? shown : original);
}

void TstBillEditor::saveOfADeletedTypeIsRefused()
{
    auto e = openEditor(8);
    QVERIFY(TypeStore().deleteType(8));
    QVERIFY(chooseMaterial(*e, u"51"_s));
    e->CmdSelect();
    e->CmdSave();
    QVERIFY(m_fx->msgs->lastText().startsWith(u"系统保存时出错！"_s));
    QVERIFY(e->isVisible());
    for (const QString &t : typedata::kBillTables)
        QVERIFY(typedata::ids(t, u"窗号"_s, 8).isEmpty());
}

// A drawing labelled B, H and KH1 becomes a new type's drawing through the type dialog and the
// drawing chooser; the editor stores a profile cut to B-2*KH1; the formula engine evaluates the
// stored formula with the drawing's labels as named dimensions.
void TstBillEditor::drawingLabelsEvaluateTheStoredFormula()
{
    drawing::DrawingLists lists;
    lists.LineArr[0] = {{500, 500}, {8000, 500}};
    lists.LineLast = 0;
    lists.StringArr[0] = {{4000, 300}, u"B"_s};
    lists.StringArr[1] = {{300, 4000}, u"H"_s};
    lists.StringArr[2] = {{1000, 1000}, u"KH1"_s};
    lists.StringLast = 2;
    QString error;
    QVERIFY2(drawing::DrawingStore().saveNew(77, u"平开窗图"_s, lists, &error), qPrintable(error));

    auto *w = new FrmDesign;
    w->show();
    w->tree()->setCurrentItem(w->nodeByTag(u"21"_s));
    m_fx->msgs->onDialog = [](QDialog *d) {
        if (d->objectName() == u"frmOpenPicture") {
            d->findChild<QLineEdit *>(u"txtCBN"_s)->setText(u"77"_s);
            d->findChild<QPushButton *>(u"OKButton"_s)->click();
        } else {
            d->show();
            d->findChild<QLineEdit *>(u"Text10"_s)->setText(u"平开窗"_s);
            d->findChild<QPushButton *>(u"CmdLoadMC"_s)->click();
            if (!hasInk(qobject_cast<FrmInputMC *>(d)->preview()))
                return int(QDialog::Rejected);
            d->findChild<QPushButton *>(u"OKButton"_s)->click();
        }
        return d->result();
    };
    w->CmdAddMC();
    QCOMPARE(m_fx->msgs->dialogNames, (QStringList{u"frmInputMC"_s, u"frmOpenPicture"_s}));
    QTreeWidgetItem *node = w->nodeByTag(u"39"_s);
    QVERIFY(node);
    QCOMPARE(typedata::rows(u"门窗"_s).constLast(), u"1|9|平开窗||77"_s);
    w->tree()->setCurrentItem(node);
    QVERIFY(hasInk(w->preview()));

    FrmMCGS *e = w->CmdDesignMC();
    QVERIFY(e);
    QVERIFY(billFromLists(e->lists()).isEmpty());
    QVERIFY(hasInk(e->picture()));
    QVERIFY(chooseMaterial(*e, u"51"_s));
    e->CmdSelect();
    QTreeWidget *profiles = e->list(BillKind::Profile);
    e->editSelectedRow(profiles);
    box(*e, 2)->setText(u"2"_s);
    box(*e, 3)->setText(u"B-2*KH1"_s);
    e->cmdOK();
    e->CmdSave();
    QVERIFY(!e->isVisible());
    QVERIFY(m_fx->msgs->shown.isEmpty());

    // What a job window does with the type: the labels of its drawing, their values, the bill.
    const std::optional<DoorType> type = TypeStore().type(9);
    QVERIFY(type);
    drawing::MCPicture pic;
    QVERIFY(pic.OpenFileEX(type->drawingNumber));
    QList<float> x, y;
    QStringList labels;
    pic.GetStrings(x, y, labels);
    pic.ClearData();
    QCOMPARE(labels, (QStringList{u"B"_s, u"H"_s, u"KH1"_s}));
    const QHash<QString, QString> values = {{u"B"_s, u"1500"_s}, {u"H"_s, u"1400"_s}, {u"KH1"_s, u"60"_s}};
    MacroTable table;
    for (int i = 0; i < labels.size(); ++i)
        table.append(labels[i], values.value(labels[i]), x[i], y[i]);
    SortMacrosByNameLength(table);
    const Bill bill = storedBill(9);
    QCOMPARE(bill.of(BillKind::Profile).size(), 1);
    QCOMPARE(bill.of(BillKind::Profile)[0][0], u"框料"_s);
    QCOMPARE(EvalFormula(bill.of(BillKind::Profile)[0][3], table), 1380.0f);
    QCOMPARE(EvalFormula(bill.of(BillKind::Profile)[0][2], table), 2.0f);
}

QTEST_MAIN(TstBillEditor)
#include "tst_billeditor.moc"
