#include "../app/fixture.h"
#include "windowhelpers.h"

#include "warehouse/billstore.h"
#include "warehouse/ui/billwidgets.h"
#include "warehouse/ui/frmquery.h"
#include "warehouse/ui/warehousewindows.h"
#include "warehouse/warehousestore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace warehouse;
using namespace warehouse::ui;

namespace {
using namespace windowhelpers;
QComboBox *fieldBox(QWidget *w) { return child<QComboBox>(w, u"CmbZD"_s); }
QTabBar *tabs(QWidget *w) { return child<QTabBar>(w, u"TabStrip1"_s); }

QStringList headers(QTreeWidget *l)
{
    QStringList h;
    for (int c = 0; c < l->columnCount(); ++c)
        h << l->headerItem()->text(c);
    return h;
}

QStringList column0(QTreeWidget *l)
{
    QStringList t;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        t << l->topLevelItem(i)->text(0);
    return t;
}

void chooseField(QWidget *w, const QString &name)
{
    QComboBox *c = fieldBox(w);
    const int i = c->findText(name);
    QVERIFY2(i >= 0, qPrintable(name));
    c->setCurrentIndex(i);
    emit c->activated(i);
}


// Three receipts (the third with three lines), two issues, stock from the receipts.
bool fillWarehouse()
{
    QString err;
    const auto rb = [](const QString &no, const QDate &d, const QList<ReceiptLine> &lines) {
        return ReceiptBill{no, u"O'Brien厂"_s, u"二号楼"_s, u"A-"_s + no, u"李工"_s, d, lines};
    };
    const bool ok =
        SaveReceiptBill(rb(u"1"_s, QDate(2002, 3, 4), {{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"20"_s, u"型材"_s}}),
                        nullptr, &err)
        && SaveReceiptBill(rb(u"2"_s, QDate(2002, 3, 5), {{u"钢"_s, u"G'1"_s, u"支"_s, u"3"_s, u"10"_s, u"型钢"_s}}),
                           nullptr, &err)
        && SaveReceiptBill(rb(u"3"_s, QDate(2002, 3, 4),
                              {{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s},
                               {u"玻璃"_s, u"5mm"_s, u"片"_s, u"10"_s, u"3"_s, u"板材"_s},
                               {u"合页"_s, u"H1"_s, u"副"_s, u"1.5"_s, u"8"_s, u"五金件"_s}}),
                           nullptr, &err)
        && SaveIssueBill({u"12"_s, u"三号楼"_s, u"王五"_s, u"赵六"_s, QDate(2002, 4, 1),
                          {{u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s}, {u"钢"_s, u"G'1"_s, u"支"_s, u"2"_s, u"型钢"_s}}},
                         &err)
        && SaveIssueBill({u"13"_s, u"四号楼"_s, u"孙七"_s, u"赵六"_s, QDate(2002, 4, 2), {}}, &err);
    if (!ok)
        qWarning("%s", qPrintable(err));
    return ok;
}
} // namespace

class TstQueryWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensOnReceiptsWithTheirFields();
    void conditionQueries_data();
    void conditionQueries();
    void valueChecks_data();
    void valueChecks();
    void tabChangeReloadsFieldsAndClearsList();
    void allRowsAndEmptyResult();
    void previewReceiptBill();
    void previewIssueBillAndPrintIt();
    void previewWithoutSelection();
    void printStockList();
    void failingQueryKeepsWindowUsable();
    void noQueryWithoutWarehouse();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstQueryWindow::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    QCOMPARE(int(OpenCKDatabase().status), int(app::OpenStatus::Opened));
    QVERIFY(fillWarehouse());
}

void TstQueryWindow::cleanup()
{
    m_fx->msgs->onDialog = nullptr;
    platform::closeConnection(kCKConn);
    m_fx.reset();
}

void TstQueryWindow::opensOnReceiptsWithTheirFields()
{
    bool seen = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        seen = true;
        [&] {
            QCOMPARE(d->objectName(), u"FrmQuery"_s);
            QCOMPARE(d->windowTitle(), u"查寻"_s);
            QCOMPARE(tabs(d)->count(), 3);
            QCOMPARE(tabs(d)->tabText(0), u"&R 入库单查寻"_s);
            QCOMPARE(tabs(d)->tabText(2), u"&C 库存查寻"_s);
            QCOMPARE(tabs(d)->currentIndex(), 0);
            QCOMPARE(child<QLabel>(d, u"Label1"_s)->text(), u"查寻字段:"_s);
            QCOMPARE(child<QLabel>(d, u"Label2"_s)->text(), u"值等于:"_s);
            QStringList names;
            for (int i = 0; i < fieldBox(d)->count(); ++i)
                names << fieldBox(d)->itemText(i);
            QCOMPARE(names, (QStringList{u"单据编号"_s, u"来料来源"_s, u"采购金额"_s, u"用途"_s, u"说明"_s, u"采购员"_s,
                                         u"采购日期"_s}));
            QCOMPARE(fieldBox(d)->currentText(), QString());
            QCOMPARE(list(d)->topLevelItemCount(), 0);
        }();
        button(d, u"CmdExit"_s)->click();
        return d->result();
    };
    openQuery(nullptr);
    QVERIFY(seen);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"FrmQuery"_s});
}

void TstQueryWindow::conditionQueries_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("firstColumn");
    QTest::newRow("receipt date") << 0 << u"采购日期"_s << u"2002-03-04"_s << QStringList{u"1"_s, u"3"_s};
    QTest::newRow("receipt amount") << 0 << u"采购金额"_s << u"30"_s << QStringList{u"2"_s};
    QTest::newRow("issue number") << 1 << u"单据编号"_s << u"12"_s << QStringList{u"12"_s};
    QTest::newRow("issue date") << 1 << u"出库日期"_s << u"2002-4-2"_s << QStringList{u"13"_s};
    QTest::newRow("stock spec") << 2 << u"规格"_s << u"A60"_s << QStringList{u"框料"_s};
    QTest::newRow("stock spec with quote") << 2 << u"规格"_s << u"G'1"_s << QStringList{u"钢"_s};
    QTest::newRow("stock kind") << 2 << u"种类"_s << u"板材"_s << QStringList{u"玻璃"_s};
    QTest::newRow("nothing found") << 2 << u"规格"_s << u"' or '1'='1"_s << QStringList{};
}

void TstQueryWindow::conditionQueries()
{
    QFETCH(int, tab);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QStringList, firstColumn);
    FrmQuery w;
    w.show();
    tabs(&w)->setCurrentIndex(tab);
    chooseField(&w, field);
    QCOMPARE(focusName(&w), u"TxtZDZ"_s);
    edit(&w, u"TxtZDZ"_s)->setText(value);
    button(&w, u"CmdQuery"_s)->click();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(column0(list(&w)), firstColumn);
    const QStringList expectedHeaders = tab == 0 ? QStringList{u"单据编号"_s, u"来料来源"_s, u"采购金额"_s, u"用途"_s,
                                                               u"说明"_s, u"采购员"_s, u"采购日期"_s}
                                        : tab == 1 ? QStringList{u"单据编号"_s, u"用途"_s, u"说明"_s, u"仓管员"_s, u"出库日期"_s}
                                                   : QStringList{u"名称"_s, u"规格"_s, u"厂家"_s, u"单位"_s, u"种类"_s,
                                                                 u"入库量"_s, u"库存量"_s};
    QCOMPARE(headers(list(&w)), expectedHeaders);
}

void TstQueryWindow::valueChecks_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("selected");
    QTest::newRow("no field") << 0 << QString() << u"3"_s << u"字段名不能为空!"_s << false;
    QTest::newRow("no value") << 0 << u"用途"_s << QString() << u"字段值不能为空!"_s << false;
    QTest::newRow("number with letter") << 1 << u"单据编号"_s << u"1a"_s << u"数据是数值类型,请正确输入!"_s << true;
    QTest::newRow("decimal with letter") << 2 << u"库存量"_s << u"2,5"_s << u"数据是数值类型,请正确输入!"_s << true;
    QTest::newRow("impossible date") << 0 << u"采购日期"_s << u"2002-13-45"_s
                                     << u"数据是日期类型(2002-03-04),请正确输入!"_s << true;
}

void TstQueryWindow::valueChecks()
{
    QFETCH(int, tab);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QFETCH(bool, selected);
    FrmQuery w;
    w.show();
    tabs(&w)->setCurrentIndex(tab);
    button(&w, u"CmdAll"_s)->click();
    const int before = list(&w)->topLevelItemCount();
    QVERIFY(before > 0);
    if (!field.isEmpty())
        chooseField(&w, field);
    QLineEdit *v = edit(&w, u"TxtZDZ"_s);
    v->setText(value);
    button(&w, u"CmdAll"_s)->setFocus();
    button(&w, u"CmdQuery"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{message});
    QCOMPARE(m_fx->msgs->shown[0].title, u"提示"_s);
    QCOMPARE(m_fx->msgs->shown[0].icon, platform::MsgIcon::Information);
    // Nothing was queried: the list keeps its rows.
    QCOMPARE(list(&w)->topLevelItemCount(), before);
    if (selected) {
        QCOMPARE(v->selectedText(), value);
        QCOMPARE(focusName(&w), u"TxtZDZ"_s);
    }
}

void TstQueryWindow::tabChangeReloadsFieldsAndClearsList()
{
    FrmQuery w;
    w.show();
    chooseField(&w, u"用途"_s);
    edit(&w, u"TxtZDZ"_s)->setText(u"二号楼"_s);
    button(&w, u"CmdQuery"_s)->click();
    QCOMPARE(list(&w)->topLevelItemCount(), 3);

    tabs(&w)->setCurrentIndex(1);
    QCOMPARE(fieldBox(&w)->count(), 5);
    QCOMPARE(fieldBox(&w)->itemText(3), u"仓管员"_s);
    QCOMPARE(list(&w)->topLevelItemCount(), 0);
    QCOMPARE(list(&w)->columnCount(), 0);
    // The value stays, but no field is chosen any more.
    QCOMPARE(edit(&w, u"TxtZDZ"_s)->text(), u"二号楼"_s);
    button(&w, u"CmdQuery"_s)->click();
    QCOMPARE(m_fx->msgs->lastText(), u"字段名不能为空!"_s);

    // Enter in the value box moves to the query button and queries nothing by itself.
    chooseField(&w, u"仓管员"_s);
    QCOMPARE(edit(&w, u"TxtZDZ"_s)->text(), QString());
    edit(&w, u"TxtZDZ"_s)->setText(u"赵六"_s);
    QTest::keyClick(edit(&w, u"TxtZDZ"_s), Qt::Key_Return);
    QCOMPARE(focusName(&w), u"CmdQuery"_s);
    QCOMPARE(list(&w)->topLevelItemCount(), 0);
    button(&w, u"CmdQuery"_s)->click();
    QCOMPARE(column0(list(&w)), (QStringList{u"12"_s, u"13"_s}));
}

void TstQueryWindow::allRowsAndEmptyResult()
{
    FrmQuery w;
    w.show();
    tabs(&w)->setCurrentIndex(2);
    button(&w, u"CmdAll"_s)->click();
    QTreeWidget *l = list(&w);
    QCOMPARE(column0(l), (QStringList{u"框料"_s, u"钢"_s, u"玻璃"_s, u"合页"_s}));
    QStringList first;
    for (int c = 0; c < l->columnCount(); ++c)
        first << l->topLevelItem(0)->text(c);
    QCOMPARE(first, (QStringList{u"框料"_s, u"A60"_s, u"O'Brien厂"_s, u"支"_s, u"型材"_s, u"24"_s, u"19"_s}));

    chooseField(&w, u"规格"_s);
    edit(&w, u"TxtZDZ"_s)->setText(u"没有"_s);
    button(&w, u"CmdQuery"_s)->click();
    QCOMPARE(l->topLevelItemCount(), 0);
    QCOMPARE(l->columnCount(), 7);
}

void TstQueryWindow::previewReceiptBill()
{
    FrmQuery w;
    w.show();
    button(&w, u"CmdAll"_s)->click();
    CurInBillNo = u"99"_s;
    bool seen = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        seen = true;
        [&] {
            QCOMPARE(d->objectName(), u"FrmEnter"_s);
            QCOMPARE(d->windowTitle(), u"入库单预览"_s);
            QCOMPARE(edit(d, u"TxtDJBH"_s)->text(), u"3"_s);
            QCOMPARE(edit(d, u"TxtLLLY"_s)->text(), u"O'Brien厂"_s);
            QCOMPARE(edit(d, u"TxtCGJE"_s)->text(), u"52"_s);
            QCOMPARE(edit(d, u"TxtYT"_s)->text(), u"二号楼"_s);
            QCOMPARE(edit(d, u"TxtSM"_s)->text(), u"A-3"_s);
            QCOMPARE(edit(d, u"TxtCGY"_s)->text(), u"李工"_s);
            QCOMPARE(child<BillDateEdit>(d, u"TxtRQ"_s)->date(), QDate(2002, 3, 4));
            QTreeWidget *lines = list(d);
            QCOMPARE(lines->topLevelItemCount(), 3);
            QStringList second;
            for (int c = 0; c < lines->columnCount(); ++c)
                second << lines->topLevelItem(1)->text(c);
            QCOMPARE(second, (QStringList{u"玻璃"_s, u"5mm"_s, u"片"_s, u"10"_s, u"3"_s, u"板材"_s}));
            for (const QString &n : {u"CmdAdd"_s, u"CmdEdit"_s, u"CmdDel"_s, u"OKButton"_s})
                QVERIFY2(!button(d, n)->isEnabled(), qPrintable(n));
            for (const QString &n : {u"TxtCGJE"_s, u"TxtCGY"_s, u"TxtLLLY"_s, u"TxtSM"_s, u"TxtYT"_s})
                QVERIFY2(!edit(d, n)->isEnabled(), qPrintable(n));
            QVERIFY(!child<BillDateEdit>(d, u"TxtRQ"_s)->isEnabled());
            QVERIFY(button(d, u"CmdPrint"_s)->isEnabled());
            QVERIFY(button(d, u"CancelButton"_s)->isEnabled());
        }();
        d->reject();
        return d->result();
    };
    doubleClick(list(&w), 2);
    QVERIFY(seen);
    QCOMPARE(CurInBillNo, u"3"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    // Nothing was written by looking.
    QCOMPARE(testfixture::rowCount(ckDb(), u"入库单"_s), 3);
    QCOMPARE(testfixture::rowCount(ckDb(), u"入库单子表"_s), 5);
}

void TstQueryWindow::previewIssueBillAndPrintIt()
{
    FrmQuery w;
    w.show();
    tabs(&w)->setCurrentIndex(1);
    button(&w, u"CmdAll"_s)->click();
    QStringList shownDialogs;
    QStringList printedTitles;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        shownDialogs << d->objectName();
        if (d->objectName() == u"reportPreview"_s) {
            printedTitles << d->windowTitle();
            d->reject();
            return d->result();
        }
        [&] {
            QCOMPARE(d->windowTitle(), u"出库单预览"_s);
            QCOMPARE(edit(d, u"TxtDJBH"_s)->text(), u"12"_s);
            QCOMPARE(edit(d, u"TxtYT"_s)->text(), u"三号楼"_s);
            QCOMPARE(edit(d, u"TxtSM"_s)->text(), u"王五"_s);
            QCOMPARE(edit(d, u"TxtCGY"_s)->text(), u"赵六"_s);
            QCOMPARE(child<BillDateEdit>(d, u"TxtRQ"_s)->date(), QDate(2002, 4, 1));
            QCOMPARE(list(d)->topLevelItemCount(), 2);
            QCOMPARE(list(d)->topLevelItem(1)->text(1), u"G'1"_s);
            QCOMPARE(list(d)->topLevelItem(1)->text(3), u"2"_s);
            for (const QString &n : {u"CmdAdd"_s, u"CmdDel"_s, u"OKButton"_s})
                QVERIFY2(!button(d, n)->isEnabled(), qPrintable(n));
            for (const QString &n : {u"TxtCGY"_s, u"TxtSM"_s, u"TxtYT"_s})
                QVERIFY2(!edit(d, n)->isEnabled(), qPrintable(n));
            QVERIFY(button(d, u"CmdPrint"_s)->isEnabled());
            button(d, u"CmdPrint"_s)->click();
        }();
        d->reject();
        return d->result();
    };
    doubleClick(list(&w), 0);
    QCOMPARE(shownDialogs, (QStringList{u"FrmPost"_s, u"reportPreview"_s}));
    QCOMPARE(printedTitles, QStringList{u"出库单报表"_s});
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(CurOutBillNo, u"12"_s);
}

void TstQueryWindow::previewWithoutSelection()
{
    FrmQuery w;
    w.show();
    button(&w, u"CmdAll"_s)->click();
    doubleClick(list(&w), -1);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选取对象,不能预览更多的信息!"_s});
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    // Stock rows are no bills: nothing happens.
    m_fx->msgs->shown.clear();
    tabs(&w)->setCurrentIndex(2);
    button(&w, u"CmdAll"_s)->click();
    doubleClick(list(&w), 0);
    doubleClick(list(&w), -1);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
}

void TstQueryWindow::printStockList()
{
    FrmQuery w;
    w.show();
    QStringList titles;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        titles << d->objectName() + u':' + d->windowTitle();
        d->reject();
        return d->result();
    };
    button(&w, u"CmdKCPrint"_s)->click();
    QCOMPARE(titles, QStringList{u"reportPreview:库存表"_s});
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstQueryWindow::failingQueryKeepsWindowUsable()
{
    FrmQuery w;
    w.show();
    button(&w, u"CmdAll"_s)->click();
    QCOMPARE(list(&w)->topLevelItemCount(), 3);
    QVERIFY(testfixture::exec(ckDb(), u"DROP TABLE 入库单子表"_s));
    // A bill whose lines cannot be read opens no preview.
    doubleClick(list(&w), 0);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());

    QVERIFY(testfixture::exec(ckDb(), u"ALTER TABLE 入库单 RENAME TO 旧入库单"_s));
    m_fx->msgs->shown.clear();
    button(&w, u"CmdAll"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
    QCOMPARE(list(&w)->topLevelItemCount(), 3); // the last result stays
    QVERIFY(w.isVisible());
    tabs(&w)->setCurrentIndex(2);
    m_fx->msgs->shown.clear();
    button(&w, u"CmdAll"_s)->click();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(list(&w)->topLevelItemCount(), 4);
}

void TstQueryWindow::noQueryWithoutWarehouse()
{
    platform::closeConnection(kCKConn);
    openQuery(nullptr);
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
}

QTEST_MAIN(TstQueryWindow)
#include "tst_querywindow.moc"
