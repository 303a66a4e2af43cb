// Changing many bill rows at once: material replacement of one row or of a group, text find and
// replace in chosen columns, and the design macros replaced by numbers; first on a bill in memory,
// then through the bill editor's commands and the two dialogs.
#include "billeditordata.h"

#include "catalogue/ui/browser.h"
#include "design/billtools.h"
#include "design/ui/billlists.h"
#include "design/ui/frmmcgs.h"
#include "design/ui/replacedialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace design;
using platform::MsgIcon;
using typedata::run;

Q_DECLARE_METATYPE(design::Bill)
Q_DECLARE_METATYPE(design::BillRow)
Q_DECLARE_METATYPE(design::BillKind)

namespace {
Bill makeBill(const QList<BillRow> &profiles, const QList<BillRow> &steel, const QList<BillRow> &panels,
              const QList<BillRow> &fittings)
{
    Bill b;
    b.of(BillKind::Profile) = profiles;
    b.of(BillKind::Steel) = steel;
    b.of(BillKind::Panel) = panels;
    b.of(BillKind::Fitting) = fittings;
    return b;
}

// One row of each kind, with the macro KH1 in every column in some spelling.
Bill sampleBill()
{
    return makeBill({{u"kh1框"_s, u"Kh1-a"_s, u"2"_s, u"b-2*kh1"_s}}, {{u"钢"_s, u"g"_s, u"kH1"_s, u"H-KH2"_s}},
                    {{u"玻璃"_s, u"1"_s, u"B-KH1"_s, u"h"_s}}, {{u"执手"_s, u"zs"_s, u"1"_s, u"kh1 pcs"_s}});
}

bool fillCatalogue() { return billeditordata::fillCatalogue(u"套"_s); }
using billeditordata::chooseMaterial;

// An editor on type 3 of the sample library, with its lists replaced by `bill`.
std::unique_ptr<FrmMCGS> openEditor(const Bill &bill)
{
    auto e = std::make_unique<FrmMCGS>(3);
    appendBillRows(e->lists(), bill);
    e->show();
    return e;
}

void selectRow(FrmMCGS &e, BillKind kind, int row)
{
    QTreeWidget *list = e.list(kind);
    list->setCurrentItem(list->topLevelItem(row));
}

template <typename T> T *child(QWidget *w, const QString &name) { return w->findChild<T *>(name); }
QPushButton *button(QWidget *w, const QString &name) { return child<QPushButton>(w, name); }

// The widget that has the focus inside a window (the offscreen platform may not switch windows).
QString focusName(QWidget *window)
{
    QWidget *f = window->focusWidget();
    return f ? f->objectName() : QString();
}
} // namespace

class TstTypeToolsReplace : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // A bill in memory
    void listKindGivesBillKind_data();
    void listKindGivesBillKind();
    void sameMaterialIsMatchedExactly_data();
    void sameMaterialIsMatchedExactly();
    void materialGoesIntoTheIdentityColumns_data();
    void materialGoesIntoTheIdentityColumns();
    void findReplaceInChosenColumns_data();
    void findReplaceInChosenColumns();
    void macroReplaceInTheFormulas_data();
    void macroReplaceInTheFormulas();

    // The editor and its dialogs
    void materialReplacementRefusals_data();
    void materialReplacementRefusals();
    void singleReplacementTakesTheRowOfTheMaterialsKind();
    void groupReplacementChangesEveryMatchingRow();
    void browserWithoutAKindReplacesNothing();
    void findReplaceDialog();
    void findReplaceDialogClosedUnusedStillMarksChanged();
    void macroReplaceDialog();
    void macroReplaceCancelled();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstTypeToolsReplace::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QVERIFY(typedata::fillLibrary());
    QVERIFY(fillCatalogue());
}

void TstTypeToolsReplace::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmMCGS *>(w))
            delete w;
    m_fx.reset();
}

// --- a bill in memory

void TstTypeToolsReplace::listKindGivesBillKind_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("kind"); // -1: none
    QTest::newRow("profiles") << u"型材名称"_s << int(BillKind::Profile);
    QTest::newRow("steel") << u"型钢"_s << int(BillKind::Steel);
    QTest::newRow("panels") << u"板材名称"_s << int(BillKind::Panel);
    QTest::newRow("fittings") << u"配件名称"_s << int(BillKind::Fitting);
    QTest::newRow("makers") << u"厂家名称"_s << -1;
    QTest::newRow("no columns") << QString() << -1;
}

void TstTypeToolsReplace::listKindGivesBillKind()
{
    QFETCH(QString, header);
    QFETCH(int, kind);
    const std::optional<BillKind> k = billKindOfListKind(header.left(2));
    QCOMPARE(k ? int(*k) : -1, kind);
}

void TstTypeToolsReplace::sameMaterialIsMatchedExactly_data()
{
    QTest::addColumn<BillKind>("kind");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("matches");
    QTest::newRow("profile: name and code") << BillKind::Profile << 0 << QList<int>{0, 3};
    QTest::newRow("steel: the selected row is among them") << BillKind::Steel << 3 << QList<int>{0, 3};
    QTest::newRow("fitting: name and code") << BillKind::Fitting << 1 << QList<int>{1};
    QTest::newRow("panel: the name alone") << BillKind::Panel << 0 << QList<int>{0, 1, 3, 4};
    QTest::newRow("no row selected") << BillKind::Profile << -1 << QList<int>{};
}

void TstTypeToolsReplace::sameMaterialIsMatchedExactly()
{
    QFETCH(BillKind, kind);
    QFETCH(int, selected);
    QFETCH(QList<int>, matches);
    // Row 1 differs in the code, row 2 in the case of the name, row 4 in the case of the code.
    const QList<BillRow> rows = {{u"Frame"_s, u"A-1"_s, u"1"_s, u"B"_s},
                                 {u"Frame"_s, u"A-2"_s, u"1"_s, u"B"_s},
                                 {u"frame"_s, u"A-1"_s, u"1"_s, u"B"_s},
                                 {u"Frame"_s, u"A-1"_s, u"2"_s, u"H"_s},
                                 {u"Frame"_s, u"a-1"_s, u"1"_s, u"B"_s}};
    QCOMPARE(sameMaterialRows(kind, rows, selected), matches);
}

void TstTypeToolsReplace::materialGoesIntoTheIdentityColumns_data()
{
    QTest::addColumn<BillKind>("kind");
    QTest::addColumn<BillRow>("after");
    const BillRow before{u"旧"_s, u"旧规格"_s, u"3"_s, u"旧单位"_s};
    QTest::newRow("profile") << BillKind::Profile << BillRow{u"新"_s, u"新规格"_s, u"3"_s, u"旧单位"_s};
    QTest::newRow("steel") << BillKind::Steel << BillRow{u"新"_s, u"新规格"_s, u"3"_s, u"旧单位"_s};
    QTest::newRow("panel") << BillKind::Panel << BillRow{u"新"_s, u"旧规格"_s, u"3"_s, u"旧单位"_s};
    QTest::newRow("fitting") << BillKind::Fitting << BillRow{u"新"_s, u"新规格"_s, u"3"_s, u"个"_s};
}

void TstTypeToolsReplace::materialGoesIntoTheIdentityColumns()
{
    QFETCH(BillKind, kind);
    QFETCH(BillRow, after);
    BillRow row{u"旧"_s, u"旧规格"_s, u"3"_s, u"旧单位"_s};
    putMaterial(kind, row, {u"新"_s, u"新规格"_s, u"个"_s});
    QCOMPARE(row, after);
}

void TstTypeToolsReplace::findReplaceInChosenColumns_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("columns"); // "0101": columns 2 and 4
    QTest::addColumn<Bill>("expected");
    const Bill s = sampleBill();
    QTest::newRow("column four: every cell upper-cased, fitting units too")
        << u"KH1"_s << u"55"_s << u"0001"_s
        << makeBill({{s.of(BillKind::Profile)[0][0], s.of(BillKind::Profile)[0][1], u"2"_s, u"B-2*55"_s}},
                    {{u"钢"_s, u"g"_s, u"kH1"_s, u"H-KH2"_s}}, {{u"玻璃"_s, u"1"_s, u"B-KH1"_s, u"H"_s}},
                    {{u"执手"_s, u"zs"_s, u"1"_s, u"55 PCS"_s}});
    QTest::newRow("the find text in any case, the replacement as typed")
        << u"kh1"_s << u"kh"_s << u"0010"_s
        << makeBill({{u"kh1框"_s, u"Kh1-a"_s, u"2"_s, u"b-2*kh1"_s}}, {{u"钢"_s, u"g"_s, u"kh"_s, u"H-KH2"_s}},
                    {{u"玻璃"_s, u"1"_s, u"B-kh"_s, u"h"_s}}, {{u"执手"_s, u"zs"_s, u"1"_s, u"kh1 pcs"_s}});
    QTest::newRow("names and codes")
        << u"KH1"_s << u"X"_s << u"1100"_s
        << makeBill({{u"X框"_s, u"X-A"_s, u"2"_s, u"b-2*kh1"_s}}, {{u"钢"_s, u"G"_s, u"kH1"_s, u"H-KH2"_s}},
                    {{u"玻璃"_s, u"1"_s, u"B-KH1"_s, u"h"_s}}, {{u"执手"_s, u"ZS"_s, u"1"_s, u"kh1 pcs"_s}});
    QTest::newRow("no column ticked") << u"KH1"_s << u"55"_s << u"0000"_s << s;
    QTest::newRow("one pass: the replacement is not searched again")
        << u"H"_s << u"HH"_s << u"0001"_s
        << makeBill({{u"kh1框"_s, u"Kh1-a"_s, u"2"_s, u"B-2*KHH1"_s}}, {{u"钢"_s, u"g"_s, u"kH1"_s, u"HH-KHH2"_s}},
                    {{u"玻璃"_s, u"1"_s, u"B-KH1"_s, u"HH"_s}}, {{u"执手"_s, u"zs"_s, u"1"_s, u"KHH1 PCS"_s}});
}

void TstTypeToolsReplace::findReplaceInChosenColumns()
{
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, columns);
    QFETCH(Bill, expected);
    Bill bill = sampleBill();
    std::array<bool, 4> chosen{};
    for (int c = 0; c < 4; ++c)
        chosen[size_t(c)] = columns[c] == u'1';
    findReplace(bill, find, replacement, chosen);
    QCOMPARE(bill, expected);
}

void TstTypeToolsReplace::macroReplaceInTheFormulas_data()
{
    QTest::addColumn<QStringList>("values"); // twelve boxes
    QTest::addColumn<Bill>("bill");
    QTest::addColumn<Bill>("expected");
    QStringList kh1Only(12);
    kh1Only[0] = u"60"_s;
    const Bill formulas = makeBill({{u"框"_s, u"kh1"_s, u"2*kh1"_s, u"b-2*kh1"_s}, {u"扇"_s, u"s"_s, u"1"_s, u"H-KH2"_s}},
                                   {{u"钢"_s, u"g"_s, u"2"_s, u"b-rhl"_s}}, {{u"玻璃"_s, u"kh1"_s, u"B-KH1"_s, u"h"_s}},
                                   {{u"执手"_s, u"kh1"_s, u"kh1"_s, u"kh1"_s}});
    QTest::newRow("KH1 alone: upper-cased, other macros kept, names, panel counts and fittings untouched")
        << kh1Only << formulas
        << makeBill({{u"框"_s, u"kh1"_s, u"2*60"_s, u"B-2*60"_s}, {u"扇"_s, u"s"_s, u"1"_s, u"H-KH2"_s}},
                    {{u"钢"_s, u"g"_s, u"2"_s, u"B-RHL"_s}}, {{u"玻璃"_s, u"kh1"_s, u"B-60"_s, u"H"_s}},
                    {{u"执手"_s, u"kh1"_s, u"kh1"_s, u"kh1"_s}});
    QTest::newRow("all boxes empty: nothing changes, not even the case") << QStringList(12) << formulas << formulas;
    const QStringList all = {u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s,
                             u"7"_s, u"8"_s, u"9"_s, u"10"_s, u"11"_s, u"12.5"_s};
    QTest::newRow("all twelve")
        << all
        << makeBill({{u"框"_s, u"c"_s, u"kh1+kh2+sh1+sh2"_s, u"zh1+zh2+dz1+dz2+yth+lsh+cjh+rhl"_s}}, {}, {}, {})
        << makeBill({{u"框"_s, u"c"_s, u"1+2+3+4"_s, u"5+6+7+8+9+10+11+12.5"_s}}, {}, {}, {});
    QTest::newRow("every occurrence of each filled macro")
        << QStringList{u"1"_s, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, u"2"_s}
        << makeBill({}, {{u"钢"_s, u"g"_s, u"KH1KH1"_s, u"RHLRHL-KH"_s}}, {}, {})
        << makeBill({}, {{u"钢"_s, u"g"_s, u"11"_s, u"22-KH"_s}}, {}, {});
}

void TstTypeToolsReplace::macroReplaceInTheFormulas()
{
    QFETCH(QStringList, values);
    QFETCH(Bill, bill);
    QFETCH(Bill, expected);
    std::array<QString, kMacroCount> boxes;
    for (int j = 0; j < kMacroCount; ++j)
        boxes[size_t(j)] = values[j];
    macroReplace(bill, boxes);
    QCOMPARE(bill, expected);
}

// --- the editor and its dialogs

void TstTypeToolsReplace::materialReplacementRefusals_data()
{
    QTest::addColumn<QString>("node");       // browser node, "" for none
    QTest::addColumn<BillKind>("emptyList"); // whose selection is cleared
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing picked in the browser") << QString() << BillKind::Profile << u"没有选取所需加入的材料"_s;
    QTest::newRow("no profile row") << u"51"_s << BillKind::Profile << u"没有选中要替换的型材或无可替换的型材！"_s;
    QTest::newRow("no steel row") << u"22"_s << BillKind::Steel << u"没有选中要替换的型钢或无可替换的型钢！"_s;
    QTest::newRow("no panel row") << u"33"_s << BillKind::Panel << u"没有选中要替换的板材或无可替换的板材！"_s;
    QTest::newRow("no fitting row") << u"44"_s << BillKind::Fitting << u"没有选中要替换的配件或无可替换的配件！"_s;
}

void TstTypeToolsReplace::materialReplacementRefusals()
{
    QFETCH(QString, node);
    QFETCH(BillKind, emptyList);
    QFETCH(QString, message);
    for (const QString &command : {u"cmdReplace"_s, u"CmdReplaceAll"_s}) {
        auto e = openEditor(sampleBill());
        if (!node.isEmpty())
            QVERIFY(chooseMaterial(*e, node));
        // Rows selected everywhere except in the list of the material's kind.
        for (BillKind k : allBillKinds())
            selectRow(*e, k, 0);
        e->list(emptyList)->clearSelection();
        m_fx->msgs->clear();
        button(e.get(), command)->click();
        QCOMPARE(m_fx->msgs->texts(), QStringList{message});
        QCOMPARE(m_fx->msgs->shown.first().title, u"提示"_s);
        QCOMPARE(m_fx->msgs->shown.first().icon, MsgIcon::Information);
        QCOMPARE(billFromLists(e->lists()), sampleBill());
        QVERIFY(!e->billChanged());
    }
}

void TstTypeToolsReplace::singleReplacementTakesTheRowOfTheMaterialsKind()
{
    Bill bill = sampleBill();
    bill.of(BillKind::Fitting) << BillRow{u"执手"_s, u"zs"_s, u"2"_s, u"kh1 pcs"_s};
    auto e = openEditor(bill);
    QCOMPARE(button(e.get(), u"cmdReplace"_s)->text(), u"单一替换"_s);
    QVERIFY(chooseMaterial(*e, u"44"_s));
    selectRow(*e, BillKind::Fitting, 1);
    e->findChild<QTabWidget *>(u"SSTab2"_s)->setCurrentIndex(int(BillKind::Profile)); // another tab shown
    e->cmdReplace();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    Bill expected = bill;
    expected.of(BillKind::Fitting)[1] = BillRow{u"执手"_s, u"ZS"_s, u"2"_s, u"套"_s};
    QCOMPARE(billFromLists(e->lists()), expected);
    QVERIFY(e->billChanged());
}

void TstTypeToolsReplace::groupReplacementChangesEveryMatchingRow()
{
    const Bill bill = makeBill({{u"框"_s, u"K"_s, u"2"_s, u"B"_s}, {u"框"_s, u"k"_s, u"2"_s, u"B"_s},
                                {u"扇"_s, u"K"_s, u"4"_s, u"H"_s}, {u"框"_s, u"K"_s, u"1"_s, u"H/2"_s}},
                               {}, {{u"玻"_s, u"1"_s, u"B"_s, u"H"_s}, {u"玻"_s, u"2"_s, u"B/2"_s, u"H"_s}}, {});
    auto e = openEditor(bill);
    QCOMPARE(button(e.get(), u"CmdReplaceAll"_s)->text(), u"同组替换"_s);
    QVERIFY(chooseMaterial(*e, u"51"_s));
    selectRow(*e, BillKind::Profile, 3);
    e->CmdReplaceAll();
    Bill expected = bill;
    expected.of(BillKind::Profile)[0] = {u"框料"_s, u"60-01"_s, u"2"_s, u"B"_s};
    expected.of(BillKind::Profile)[3] = {u"框料"_s, u"60-01"_s, u"1"_s, u"H/2"_s};
    QCOMPARE(billFromLists(e->lists()), expected);
    QVERIFY(e->billChanged());
    // Panels by name alone.
    QVERIFY(chooseMaterial(*e, u"33"_s));
    selectRow(*e, BillKind::Panel, 0);
    e->CmdReplaceAll();
    expected.of(BillKind::Panel)[0][0] = u"白玻"_s;
    expected.of(BillKind::Panel)[1][0] = u"白玻"_s;
    QCOMPARE(billFromLists(e->lists()), expected);
}

void TstTypeToolsReplace::browserWithoutAKindReplacesNothing()
{
    auto e = openEditor(sampleBill());
    // The makers list of the browser: a row, but of no bill kind.
    QTreeWidget *list = e->browser()->list();
    list->clear();
    list->setHeaderLabels({u"厂家名称"_s});
    list->addTopLevelItem(new QTreeWidgetItem(QStringList{u"某厂"_s}));
    list->setCurrentItem(list->topLevelItem(0));
    QVERIFY(e->browser()->selectedRow());
    selectRow(*e, BillKind::Profile, 0);
    e->cmdReplace();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(billFromLists(e->lists()), sampleBill());
    QVERIFY(e->billChanged());
}

void TstTypeToolsReplace::findReplaceDialog()
{
    auto e = openEditor(sampleBill());
    QVERIFY(QTest::qWaitForWindowActive(e.get()));
    bool checked = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        d->activateWindow();
        [&] {
            QVERIFY(QTest::qWaitForWindowActive(d));
            QCOMPARE(d->objectName(), u"frmFindReplace"_s);
            QCOMPARE(d->windowTitle(), u"查找/替换"_s);
            QCOMPARE(child<QLabel>(d, u"Label1"_s)->text(), u"查找内容:"_s);
            QCOMPARE(child<QLabel>(d, u"Label2"_s)->text(), u"替换内容:"_s);
            QCOMPARE(button(d, u"OKButton"_s)->text(), u"&R 替换"_s);
            QCOMPARE(button(d, u"CancelButton"_s)->text(), u"&C 关闭"_s);
            const QStringList captions = {u"查找列一"_s, u"查找列二"_s, u"查找列三"_s, u"查找列四"_s};
            for (int i = 0; i < 4; ++i)
                QCOMPARE(child<QCheckBox>(d, u"Check1%1"_s.arg(i))->text(), captions[i]);
            auto *find = child<QLineEdit>(d, u"Text1"_s);
            auto *replacement = child<QLineEdit>(d, u"Text2"_s);
            QPushButton *ok = button(d, u"OKButton"_s);
            // Empty boxes are refused in order, each with the focus put on it.
            ok->click();
            QCOMPARE(m_fx->msgs->lastText(), u"查找内容不能为空！"_s);
            QCOMPARE(focusName(d), u"Text1"_s);
            find->setText(u"kh1"_s);
            ok->click();
            QCOMPARE(m_fx->msgs->lastText(), u"替换内容不能为空！"_s);
            QCOMPARE(focusName(d), u"Text2"_s);
            QCOMPARE(billFromLists(e->lists()), sampleBill());
            // Only the fourth column.
            for (int i = 0; i < 4; ++i)
                child<QCheckBox>(d, u"Check1%1"_s.arg(i))->setChecked(i == 3);
            replacement->setText(u"55"_s);
            ok->click();
            QVERIFY(d->isVisible()); // stays open, boxes emptied, ready for the next
            QVERIFY(find->text().isEmpty() && replacement->text().isEmpty());
            QCOMPARE(focusName(d), u"Text1"_s);
            Bill expected = sampleBill();
            findReplace(expected, u"KH1"_s, u"55"_s, {false, false, false, true});
            QCOMPARE(billFromLists(e->lists()), expected);
            QCOMPARE(e->list(BillKind::Fitting)->topLevelItem(0)->text(3), u"55 PCS"_s);
            // Enter walks from the find box to the replacement and on to 替换.
            QTest::keyClick(find, Qt::Key_Return);
            QCOMPARE(focusName(d), u"Text2"_s);
            QTest::keyClick(replacement, Qt::Key_Return);
            QCOMPARE(focusName(d), u"OKButton"_s);
            checked = true;
        }();
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    button(e.get(), u"CmdFindReplace"_s)->click();
    QVERIFY(checked);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmFindReplace"_s});
    QVERIFY(e->billChanged());
    QVERIFY(!MCBillLists[0].isNull() && MCBillLists[0] == e->list(BillKind::Profile));
}

void TstTypeToolsReplace::findReplaceDialogClosedUnusedStillMarksChanged()
{
    auto e = openEditor(sampleBill());
    m_fx->msgs->onDialog = [](QDialog *d) {
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    e->CmdFindReplace();
    QCOMPARE(billFromLists(e->lists()), sampleBill());
    QVERIFY(e->billChanged());
}

void TstTypeToolsReplace::macroReplaceDialog()
{
    auto e = openEditor(makeBill({{u"框"_s, u"K"_s, u"2"_s, u"b-2*kh1"_s}}, {{u"钢"_s, u"g"_s, u"1"_s, u"H-KH2"_s}},
                                 {}, {{u"执手"_s, u"kh1"_s, u"1"_s, u"kh1"_s}}));
    QVERIFY(QTest::qWaitForWindowActive(e.get()));
    bool checked = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        d->activateWindow();
        [&] {
            QVERIFY(QTest::qWaitForWindowActive(d));
            QCOMPARE(d->objectName(), u"frmMacroReplace"_s);
            QCOMPARE(d->windowTitle(), u"宏替换----单位为毫米（mm）"_s);
            QCOMPARE(child<QLabel>(d, u"Label1"_s)->text(), u"框厚1         (代号：KH1):"_s);
            QCOMPARE(child<QLabel>(d, u"Label12"_s)->text(), u"熔化量        (代号：RHL):"_s);
            QCOMPARE(button(d, u"OKButton"_s)->text(), u"替换"_s);
            QCOMPARE(button(d, u"CancelButton"_s)->text(), u"取消"_s);
            auto *kh1 = child<QLineEdit>(d, u"Text10"_s);
            QCOMPARE(focusName(d), u"Text10"_s);
            // Only digits, "." and Backspace are taken.
            QTest::keyClicks(kh1, u"6a0-,.5x"_s);
            QCOMPARE(kh1->text(), u"60.5"_s);
            QTest::keyClick(kh1, Qt::Key_Backspace);
            QTest::keyClick(kh1, Qt::Key_Backspace);
            QCOMPARE(kh1->text(), u"60"_s);
            // Enter walks the boxes and ends on 替换.
            QTest::keyClick(kh1, Qt::Key_Return);
            QCOMPARE(focusName(d), u"Text11"_s);
            auto *last = child<QLineEdit>(d, u"Text111"_s);
            last->setFocus();
            QTest::keyClick(last, Qt::Key_Return);
            QCOMPARE(focusName(d), u"OKButton"_s);
            checked = true;
        }();
        button(d, u"OKButton"_s)->click();
        return d->result();
    };
    button(e.get(), u"CmdMacroReplace"_s)->click();
    QVERIFY(checked);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmMacroReplace"_s});
    QCOMPARE(billFromLists(e->lists()),
             makeBill({{u"框"_s, u"K"_s, u"2"_s, u"B-2*60"_s}}, {{u"钢"_s, u"g"_s, u"1"_s, u"H-KH2"_s}}, {},
                      {{u"执手"_s, u"kh1"_s, u"1"_s, u"kh1"_s}}));
    QVERIFY(e->billChanged());
}

void TstTypeToolsReplace::macroReplaceCancelled()
{
    auto e = openEditor(sampleBill());
    m_fx->msgs->onDialog = [](QDialog *d) {
        d->findChild<QLineEdit *>(u"Text10"_s)->setText(u"60"_s);
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    e->CmdMacroReplace();
    QCOMPARE(billFromLists(e->lists()), sampleBill());
    QVERIFY(e->billChanged());
}

QTEST_MAIN(TstTypeToolsReplace)
#include "tst_typetools_replace.moc"
