#include "../app/fixture.h"
#include "windowhelpers.h"

#include "warehouse/billstore.h"
#include "warehouse/ui/billwidgets.h"
#include "warehouse/ui/frmenter.h"
#include "warehouse/ui/frmpost.h"
#include "warehouse/ui/warehousewindows.h"
#include "warehouse/warehousestore.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace warehouse;
using namespace warehouse::ui;
using testfixture::rowCount;

namespace {
const QString kIncomplete = u"数据不完整!请重新输入。"_s;

using namespace windowhelpers;
BillDateEdit *dateBox(QWidget *w) { return child<BillDateEdit>(w, u"TxtRQ"_s); }

QStringList rows(const QString &sql)
{
    QSqlQuery q(ckDb());
    q.exec(sql);
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << fieldText(q.value(i));
        out << cells.join(u'|');
    }
    return out;
}

QStringList stockRows() { return rows(u"SELECT 名称, 规格, 入库量, 库存量 FROM 库存表 ORDER BY rowid"_s); }

bool addStock(const QString &name, const QString &spec, const QString &kind, const QVariant &stock)
{
    return testfixture::exec(ckDb(),
                             u"INSERT INTO 库存表 (名称, 规格, 厂家, 单位, 种类, 入库量, 库存量) VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                             {name, spec, u"厂"_s, u"支"_s, kind, 20, stock});
}

// Fills the line dialog and presses OK; returns the dialog's result.
int fillLine(QDialog *d, const QStringList &values)
{
    const QStringList boxes = {u"TxtMC"_s, u"TxtGG"_s, u"TxtDW"_s, u"TxtDJ"_s, u"TxtSL"_s};
    for (int i = 0; i < boxes.size(); ++i)
        edit(d, boxes[i])->setText(values.value(i));
    child<QComboBox>(d, u"CmbZL"_s)->setEditText(values.value(5));
    button(d, u"OKButton"_s)->click();
    return d->result();
}

void fillReceiptHeader(QWidget *w)
{
    edit(w, u"TxtLLLY"_s)->setText(u"型材厂"_s);
    edit(w, u"TxtYT"_s)->setText(u"二号楼"_s);
    edit(w, u"TxtSM"_s)->setText(u"A-7"_s);
    edit(w, u"TxtCGY"_s)->setText(u"李工"_s);
    dateBox(w)->setBillDate(QDate(2002, 3, 4));
}

void fillIssueHeader(QWidget *w)
{
    edit(w, u"TxtYT"_s)->setText(u"二号楼"_s);
    edit(w, u"TxtSM"_s)->setText(u"王五"_s);
    edit(w, u"TxtCGY"_s)->setText(u"赵六"_s);
    dateBox(w)->setBillDate(QDate(2002, 3, 5));
}

} // namespace

class TstBillWindows : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // receipt
    void openReceiptTakesNextNumber();
    void openFailsWithoutWarehouse();
    void receiptLineDialog();
    void receiptEditAndDeleteLines();
    void receiptBillCheck_data();
    void receiptBillCheck();
    void receiptSaveBooksStockAndShowsAmount();
    void receiptSaveFailureKeepsWindow();
    void receiptKeysAndEnter();
    void dateBoxTakesTodayOnFirstFocus();
    void printStoredBills();

    // issue
    void openIssueTakesNextNumber();
    void pickerPicksWithinFreeStock();
    void pickerRefusals_data();
    void pickerRefusals();
    void issueBillCheckAndSave();
    void issueSaveRefusedWhenStockIsGone();
    void issueEnterKeys();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstBillWindows::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    QCOMPARE(int(OpenCKDatabase().status), int(app::OpenStatus::Opened));
}

void TstBillWindows::cleanup()
{
    m_fx->msgs->onDialog = nullptr;
    platform::closeConnection(kCKConn);
    m_fx.reset();
}

void TstBillWindows::openReceiptTakesNextNumber()
{
    QVERIFY(testfixture::exec(ckDb(), u"INSERT INTO 入库单 (单据编号) VALUES (41)"_s));
    bool seen = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        seen = true;
        [&] {
            QCOMPARE(d->objectName(), u"FrmEnter"_s);
            QCOMPARE(d->windowTitle(), u"入库单填写"_s);
            QCOMPARE(edit(d, u"TxtDJBH"_s)->text(), u"42"_s);
            QVERIFY(edit(d, u"TxtDJBH"_s)->isReadOnly());
            QVERIFY(edit(d, u"TxtCGJE"_s)->isReadOnly());
            QVERIFY(!button(d, u"CmdPrint"_s)->isEnabled());
            QVERIFY(button(d, u"OKButton"_s)->isEnabled());
            QCOMPARE(button(d, u"CmdAdd"_s)->text(), u"&A 添加"_s);
            QCOMPARE(button(d, u"CancelButton"_s)->text(), u"&C 取消"_s);
            QCOMPARE(list(d)->headerItem()->text(3), u"单价"_s);
            QVERIFY(!dateBox(d)->hasDate());
        }();
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    openReceiptBill(nullptr);
    QVERIFY(seen);
    QCOMPARE(CurInBillNo, u"42"_s);
    // A cancelled bill uses no number.
    QCOMPARE(GetNextInBillNo().value_or(QString()), u"42"_s);
    QCOMPARE(rowCount(ckDb(), u"入库单"_s), 1);
}

void TstBillWindows::openFailsWithoutWarehouse()
{
    platform::closeConnection(kCKConn);
    openReceiptBill(nullptr);
    openIssueBill(nullptr);
    QVERIFY(m_fx->msgs->dialogNames.isEmpty());
    QCOMPARE(m_fx->msgs->shown.size(), 2);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
    QVERIFY(m_fx->msgs->shown[0].text.contains(u"入库单编号"_s));
    QVERIFY(m_fx->msgs->shown[1].text.contains(u"出库单编号"_s));
}

void TstBillWindows::receiptLineDialog()
{
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    QStringList seenNames;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        seenNames << d->objectName();
        [&] {
            QCOMPARE(d->windowTitle(), u"录入数据"_s);
            auto *kinds = child<QComboBox>(d, u"CmbZL"_s);
            QCOMPARE(kinds->count(), 4);
            QCOMPARE(kinds->itemText(0), u"型材"_s);
            QCOMPARE(kinds->itemText(3), u"五金件"_s);
            QVERIFY(kinds->isEditable());
            QCOMPARE(kinds->currentText(), QString());
            // Each empty field in turn is refused with the focus on it.
            const QStringList full = {u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"铝材"_s};
            const QStringList names = {u"TxtMC"_s, u"TxtGG"_s, u"TxtDW"_s, u"TxtDJ"_s, u"TxtSL"_s, u"CmbZL"_s};
            for (int gap = 0; gap < 6; ++gap) {
                QStringList values = full;
                values[gap].clear();
                m_fx->msgs->shown.clear();
                QCOMPARE(fillLine(d, values), int(QDialog::Rejected));
                QCOMPARE(m_fx->msgs->lastText(), kIncomplete);
                QCOMPARE(focusName(d), names[gap]);
            }
        }();
        // A typed kind that is not in the list is taken as typed.
        return fillLine(d, {u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"铝材"_s});
    };
    button(&w, u"CmdAdd"_s)->click();
    QCOMPARE(seenNames, QStringList{u"frmEnterData"_s});
    QCOMPARE(w.bill().lines.size(), 1);
    QCOMPARE(w.bill().lines[0].texts(), (QStringList{u"框料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"铝材"_s}));

    // Cancel adds nothing.
    m_fx->msgs->onDialog = [](QDialog *d) {
        edit(d, u"TxtMC"_s)->setText(u"不要"_s);
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    button(&w, u"CmdAdd"_s)->click();
    QCOMPARE(list(&w)->topLevelItemCount(), 1);
}

void TstBillWindows::receiptEditAndDeleteLines()
{
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"甲"_s, u"A"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}); };
    button(&w, u"CmdAdd"_s)->click();
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"乙"_s, u"B"_s, u"根"_s, u"2"_s, u"2"_s, u"型钢"_s}); };
    button(&w, u"CmdAdd"_s)->click();
    QTreeWidget *l = list(&w);
    QCOMPARE(l->topLevelItemCount(), 2);

    // Without a selection: a message each, the focus on 添加.
    l->clearSelection();
    m_fx->msgs->shown.clear();
    button(&w, u"CmdEdit"_s)->click();
    button(&w, u"CmdDel"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), (QStringList{u"无选取所需编辑数据!"_s, u"无选取您要删除的记录!"_s}));
    QCOMPARE(focusName(&w), u"CmdAdd"_s);
    QVERIFY(m_fx->msgs->dialogNames.size() == 2);

    // Edit hands the row in; cancel leaves it, OK replaces it.
    l->setCurrentItem(l->topLevelItem(0));
    QStringList handedIn;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        for (const QString &n : {u"TxtMC"_s, u"TxtGG"_s, u"TxtDW"_s, u"TxtDJ"_s, u"TxtSL"_s})
            handedIn << edit(d, n)->text();
        handedIn << child<QComboBox>(d, u"CmbZL"_s)->currentText();
        edit(d, u"TxtMC"_s)->setText(u"改"_s);
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    button(&w, u"CmdEdit"_s)->click();
    QCOMPARE(handedIn, (QStringList{u"甲"_s, u"A"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}));
    QCOMPARE(l->topLevelItem(0)->text(0), u"甲"_s);
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"丙"_s, u"C"_s, u"片"_s, u"3"_s, u"3"_s, u"板材"_s}); };
    button(&w, u"CmdEdit"_s)->click();
    QCOMPARE(w.bill().lines[0].texts(), (QStringList{u"丙"_s, u"C"_s, u"片"_s, u"3"_s, u"3"_s, u"板材"_s}));
    QCOMPARE(w.bill().lines[1].name, u"乙"_s);

    // Delete takes the selected row at once.
    m_fx->msgs->shown.clear();
    l->setCurrentItem(l->topLevelItem(1));
    button(&w, u"CmdDel"_s)->click();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(l->topLevelItemCount(), 1);
    QCOMPARE(l->topLevelItem(0)->text(0), u"丙"_s);
}

void TstBillWindows::receiptBillCheck_data()
{
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<QString>("focus");
    QTest::newRow("source") << u"TxtLLLY"_s << u"TxtLLLY"_s;
    QTest::newRow("purpose") << u"TxtYT"_s << u"TxtYT"_s;
    QTest::newRow("document number") << u"TxtSM"_s << u"TxtSM"_s;
    QTest::newRow("buyer") << u"TxtCGY"_s << u"TxtCGY"_s;
    QTest::newRow("date") << u"TxtRQ"_s << u"TxtRQ"_s;
    QTest::newRow("no lines") << u"lvw"_s << u"CmdAdd"_s;
}

void TstBillWindows::receiptBillCheck()
{
    QFETCH(QString, emptied);
    QFETCH(QString, focus);
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    fillReceiptHeader(&w);
    if (emptied == u"TxtRQ"_s) {
        dateBox(&w)->setDate(dateBox(&w)->minimumDate());
    } else if (emptied != u"lvw"_s) {
        edit(&w, emptied)->clear();
    }
    if (emptied != u"lvw"_s) {
        m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"甲"_s, u"A"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}); };
        button(&w, u"CmdAdd"_s)->click();
    }
    m_fx->msgs->shown.clear();
    button(&w, u"OKButton"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{kIncomplete});
    QCOMPARE(m_fx->msgs->shown[0].title, u"提示"_s);
    QCOMPARE(focusName(&w), focus);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(rowCount(ckDb(), u"入库单"_s), 0);
    QCOMPARE(rowCount(ckDb(), u"库存表"_s), 0);
}

void TstBillWindows::receiptSaveBooksStockAndShowsAmount()
{
    QVERIFY(addStock(u"旧"_s, u"A60"_s, u"型材"_s, 12.5));
    CurInBillNo = u"3"_s;
    FrmEnter w;
    w.show();
    fillReceiptHeader(&w);
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"框'料"_s, u"A60"_s, u"支"_s, u"2.5"_s, u"4"_s, u"型材"_s}); };
    button(&w, u"CmdAdd"_s)->click();
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"钢"_s, u"G1"_s, u"支"_s, u"10"_s, u"3"_s, u"型钢"_s}); };
    button(&w, u"CmdAdd"_s)->click();
    edit(&w, u"TxtCGJE"_s)->setText(u"999"_s); // whatever it showed, the amount is computed
    m_fx->msgs->shown.clear();
    button(&w, u"OKButton"_s)->click();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(edit(&w, u"TxtCGJE"_s)->text(), u"40"_s);
    QCOMPARE(rows(u"SELECT * FROM 入库单"_s), QStringList{u"3|型材厂|40|二号楼|A-7|李工|2002-03-04"_s});
    QCOMPARE(rowCount(ckDb(), u"入库单子表"_s), 2);
    QCOMPARE(stockRows(), (QStringList{u"旧|A60|24|16.5"_s, u"钢|G1|3|3"_s}));
}

void TstBillWindows::receiptSaveFailureKeepsWindow()
{
    QVERIFY(testfixture::exec(ckDb(), u"CREATE TRIGGER t BEFORE INSERT ON 库存表 BEGIN SELECT RAISE(ABORT, 'full'); END"_s));
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    fillReceiptHeader(&w);
    m_fx->msgs->onDialog = [](QDialog *d) { return fillLine(d, {u"甲"_s, u"A"_s, u"支"_s, u"1"_s, u"1"_s, u"型材"_s}); };
    button(&w, u"CmdAdd"_s)->click();
    m_fx->msgs->shown.clear();
    button(&w, u"OKButton"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
    QVERIFY(m_fx->msgs->shown[0].text.contains(u"full"_s));
    QVERIFY(w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(edit(&w, u"TxtCGJE"_s)->text(), QString());
    QCOMPARE(list(&w)->topLevelItemCount(), 1);
    QCOMPARE(rowCount(ckDb(), u"入库单"_s), 0);
    QCOMPARE(rowCount(ckDb(), u"入库单子表"_s), 0);
}

void TstBillWindows::receiptKeysAndEnter()
{
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Enter walks the header to the date box and on to 确定, without saving.
    const QStringList chain = {u"TxtLLLY"_s, u"TxtYT"_s, u"TxtSM"_s, u"TxtCGY"_s, u"TxtRQ"_s, u"OKButton"_s};
    edit(&w, u"TxtLLLY"_s)->setFocus();
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QCOMPARE(focusName(&w), chain[i]);
        QTest::keyClick(w.focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(focusName(&w), u"OKButton"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QVERIFY(dateBox(&w)->hasDate());

    bool checked = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        [&] {
            QVERIFY(QTest::qWaitForWindowActive(d));
            QCOMPARE(focusName(d), u"TxtMC"_s);
            const QStringList order = {u"TxtMC"_s, u"TxtGG"_s, u"TxtDW"_s, u"TxtDJ"_s, u"TxtSL"_s, u"CmbZL"_s};
            for (int i = 0; i + 1 < order.size(); ++i) {
                QCOMPARE(focusName(d), order[i]);
                QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            }
            QCOMPARE(focusName(d), u"CmbZL"_s);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
            QCOMPARE(focusName(d), u"OKButton"_s);
            QVERIFY(m_fx->msgs->shown.isEmpty());
            // Unit price: digits and one point; quantity: digits only.
            QLineEdit *price = edit(d, u"TxtDJ"_s);
            price->clear();
            QTest::keyClicks(price, u"1a2.5.x3"_s);
            QCOMPARE(price->text(), u"12.53"_s);
            QLineEdit *qty = edit(d, u"TxtSL"_s);
            qty->clear();
            QTest::keyClicks(qty, u"4.5-x6"_s);
            QCOMPARE(qty->text(), u"456"_s);
            QTest::keyClick(qty, Qt::Key_Backspace);
            QCOMPARE(qty->text(), u"45"_s);
            checked = true;
        }();
        d->reject();
        return d->result();
    };
    button(&w, u"CmdAdd"_s)->click();
    QVERIFY(checked);
}

void TstBillWindows::dateBoxTakesTodayOnFirstFocus()
{
    CurInBillNo = u"1"_s;
    FrmEnter w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    BillDateEdit *d = dateBox(&w);
    QVERIFY(!d->hasDate());
    d->setFocus();
    QCOMPARE(d->date(), QDate::currentDate());
    // Later focus changes keep what the user set.
    d->setDate(QDate(2001, 2, 3));
    edit(&w, u"TxtYT"_s)->setFocus();
    d->setFocus();
    QCOMPARE(d->date(), QDate(2001, 2, 3));
    QCOMPARE(w.bill().date, QDate(2001, 2, 3));
}

void TstBillWindows::openIssueTakesNextNumber()
{
    QVERIFY(testfixture::exec(ckDb(), u"INSERT INTO 出库单 (单据编号) VALUES (7)"_s));
    bool seen = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        seen = true;
        [&] {
            QCOMPARE(d->objectName(), u"FrmPost"_s);
            QCOMPARE(d->windowTitle(), u"出库单填写"_s);
            QCOMPARE(edit(d, u"TxtDJBH"_s)->text(), u"8"_s);
            QVERIFY(!button(d, u"CmdPrint"_s)->isEnabled());
            QVERIFY(!d->findChild<QPushButton *>(u"CmdEdit"_s));
            QCOMPARE(list(d)->columnCount(), 5);
        }();
        d->reject();
        return d->result();
    };
    openIssueBill(nullptr);
    QVERIFY(seen);
    QCOMPARE(CurOutBillNo, u"8"_s);
}

void TstBillWindows::pickerPicksWithinFreeStock()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 12));
    QVERIFY(addStock(u"扇料"_s, u"B70"_s, u"型材"_s, 5));
    QVERIFY(addStock(u"钢"_s, u"G1"_s, u"型钢"_s, 3));
    CurOutBillNo = u"1"_s;
    FrmPost w;
    w.show();
    bool done = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        [&] {
            QCOMPARE(d->objectName(), u"FrmPostData"_s);
            QCOMPARE(d->windowTitle(), u"选取出库材料"_s);
            auto *kinds = child<QComboBox>(d, u"CmbZL"_s);
            QTreeWidget *stock = list(d, u"LvwR"_s);
            QCOMPARE(kinds->count(), 2);
            QCOMPARE(kinds->currentIndex(), -1);
            QCOMPARE(stock->topLevelItemCount(), 0);
            for (const QString &n : {u"TxtMC"_s, u"TxtGG"_s, u"TxtDW"_s, u"TxtZL"_s})
                QVERIFY(edit(d, n)->isReadOnly());

            kinds->setCurrentIndex(kinds->findText(u"型材"_s));
            QCOMPARE(stock->topLevelItemCount(), 2);
            QCOMPARE(stock->topLevelItem(0)->text(3), u"12"_s);

            // A double-click with nothing selected.
            doubleClick(stock, -1);
            QCOMPARE(m_fx->msgs->lastText(), u"无选中记录!"_s);
            m_fx->msgs->shown.clear();

            doubleClick(stock, 0);
            QCOMPARE(edit(d, u"TxtMC"_s)->text(), u"框料"_s);
            QCOMPARE(edit(d, u"TxtGG"_s)->text(), u"A60"_s);
            QCOMPARE(edit(d, u"TxtDW"_s)->text(), u"支"_s);
            QCOMPARE(edit(d, u"TxtSL"_s)->text(), u"0"_s);
            QCOMPARE(edit(d, u"TxtZL"_s)->text(), u"型材"_s);
            QCOMPARE(focusName(d), u"TxtSL"_s);

            QLineEdit *qty = edit(d, u"TxtSL"_s);
            // The "0" is selected: typing replaces it.
            QTest::keyClicks(qty, u"30"_s);
            QCOMPARE(qty->text(), u"30"_s);
            qty->setText(u"13"_s);
            button(d, u"OKButton"_s)->click();
            QCOMPARE(m_fx->msgs->lastText(), u"数据不能大于12,请重新输入!"_s);
            QCOMPARE(focusName(d), u"TxtSL"_s);
            qty->setText(u"7"_s);
            m_fx->msgs->shown.clear();
            button(d, u"OKButton"_s)->click();
            QVERIFY(m_fx->msgs->shown.isEmpty());
            // The name stays, the rest is emptied; adding again without a pick is refused.
            QCOMPARE(edit(d, u"TxtMC"_s)->text(), u"框料"_s);
            for (const QString &n : {u"TxtGG"_s, u"TxtDW"_s, u"TxtSL"_s, u"TxtZL"_s})
                QCOMPARE(edit(d, n)->text(), QString());
            button(d, u"OKButton"_s)->click();
            QCOMPARE(m_fx->msgs->lastText(), kIncomplete);

            // The same row again: only what the issue leaves of its stock may still go.
            doubleClick(stock, 0);
            qty->setText(u"6"_s);
            button(d, u"OKButton"_s)->click();
            QCOMPARE(m_fx->msgs->lastText(), u"数据不能大于5,请重新输入!"_s);
            qty->setText(u"5"_s);
            m_fx->msgs->shown.clear();
            button(d, u"OKButton"_s)->click();
            QVERIFY(m_fx->msgs->shown.isEmpty());

            // Another kind refills the list; the boxes keep the last pick.
            doubleClick(stock, 1);
            kinds->setCurrentIndex(kinds->findText(u"型钢"_s));
            QCOMPARE(stock->topLevelItemCount(), 1);
            QCOMPARE(stock->topLevelItem(0)->text(0), u"钢"_s);
            QCOMPARE(edit(d, u"TxtGG"_s)->text(), u"B70"_s);
            done = true;
        }();
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    button(&w, u"CmdAdd"_s)->click();
    QVERIFY(done);
    QCOMPARE(w.bill().lines.size(), 2);
    QCOMPARE(w.bill().lines[0].texts(), (QStringList{u"框料"_s, u"A60"_s, u"支"_s, u"7"_s, u"型材"_s}));
    QCOMPARE(w.bill().lines[1].quantity, u"5"_s);
}

void TstBillWindows::pickerRefusals_data()
{
    QTest::addColumn<QVariant>("stock");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero") << QVariant(12) << u"0"_s << u"数据不能为0!请重新输入。"_s;
    QTest::newRow("empty") << QVariant(12) << u""_s << u"数据不能为0!请重新输入。"_s;
    QTest::newRow("zeros") << QVariant(12) << u"00"_s << u"数据不能为0!请重新输入。"_s;
    QTest::newRow("all of it") << QVariant(12) << u"12"_s << QString();
    QTest::newRow("stock empty") << QVariant() << u"1"_s << u"数据不能大于0,请重新输入!"_s;
    QTest::newRow("fractional stock") << QVariant(2.5) << u"3"_s << u"数据不能大于2.5,请重新输入!"_s;
}

void TstBillWindows::pickerRefusals()
{
    QFETCH(QVariant, stock);
    QFETCH(QString, quantity);
    QFETCH(QString, message);
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, stock));
    CurOutBillNo = u"1"_s;
    FrmPost w;
    w.show();
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        child<QComboBox>(d, u"CmbZL"_s)->setCurrentIndex(0);
        doubleClick(list(d, u"LvwR"_s), 0);
        edit(d, u"TxtSL"_s)->setText(quantity);
        m_fx->msgs->shown.clear();
        button(d, u"OKButton"_s)->click();
        button(d, u"CancelButton"_s)->click();
        return d->result();
    };
    button(&w, u"CmdAdd"_s)->click();
    QCOMPARE(m_fx->msgs->lastText(), message);
    QCOMPARE(w.bill().lines.size(), message.isEmpty() ? 1 : 0);
}

void TstBillWindows::issueBillCheckAndSave()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 12));
    CurOutBillNo = u"4"_s;
    FrmPost w;
    w.show();
    QPushButton *ok = button(&w, u"OKButton"_s);
    // Required boxes in order; an empty date is refused without a message.
    const QStringList boxes = {u"TxtYT"_s, u"TxtSM"_s, u"TxtCGY"_s};
    for (const QString &b : boxes) {
        fillIssueHeader(&w);
        edit(&w, b)->clear();
        m_fx->msgs->shown.clear();
        ok->click();
        QCOMPARE(m_fx->msgs->texts(), QStringList{kIncomplete});
        QCOMPARE(focusName(&w), b);
    }
    fillIssueHeader(&w);
    dateBox(&w)->setDate(dateBox(&w)->minimumDate());
    m_fx->msgs->shown.clear();
    ok->click();
    QVERIFY(m_fx->msgs->shown.isEmpty());
    QCOMPARE(focusName(&w), u"TxtRQ"_s);
    fillIssueHeader(&w);
    ok->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{kIncomplete});
    QCOMPARE(focusName(&w), u"CmdAdd"_s);

    // Delete without a selection keeps the focus where it was.
    edit(&w, u"TxtYT"_s)->setFocus();
    m_fx->msgs->shown.clear();
    button(&w, u"CmdDel"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选取所要删除的记录!"_s});
    QCOMPARE(focusName(&w), u"TxtYT"_s);

    w.appendLine({u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s});
    w.appendLine({u"框料"_s, u"A60"_s, u"支"_s, u"1"_s, u"型材"_s});
    list(&w)->setCurrentItem(list(&w)->topLevelItem(1));
    button(&w, u"CmdDel"_s)->click();
    w.appendLine({u"框料"_s, u"A60"_s, u"支"_s, u"7"_s, u"型材"_s});
    QCOMPARE(rowCount(ckDb(), u"出库单"_s), 0);
    m_fx->msgs->shown.clear();
    ok->click();
    QVERIFY2(m_fx->msgs->shown.isEmpty(), qPrintable(m_fx->msgs->lastText()));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(rows(u"SELECT * FROM 出库单"_s), QStringList{u"4|二号楼|王五|赵六|2002-03-05"_s});
    QCOMPARE(rows(u"SELECT 数量 FROM 出库单子表 ORDER BY rowid"_s), (QStringList{u"5"_s, u"7"_s}));
    QCOMPARE(stockRows(), QStringList{u"框料|A60|20|0"_s});
}

void TstBillWindows::issueSaveRefusedWhenStockIsGone()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 12));
    CurOutBillNo = u"1"_s;
    FrmPost w;
    w.show();
    fillIssueHeader(&w);
    w.appendLine({u"框料"_s, u"A60"_s, u"支"_s, u"5"_s, u"型材"_s});
    QString err;
    QVERIFY(ClearWarehouse(&err)); // emptied since the pick
    button(&w, u"OKButton"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
    QVERIFY(m_fx->msgs->lastText().contains(u"A60"_s));
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(rowCount(ckDb(), u"出库单"_s), 0);
    QCOMPARE(rowCount(ckDb(), u"出库单子表"_s), 0);
}

void TstBillWindows::printStoredBills()
{
    QString err;
    QVERIFY(SaveReceiptBill({u"5"_s, u"厂"_s, u"用"_s, u"说"_s, u"员"_s, QDate(2002, 3, 4),
                             {{u"甲"_s, u"A"_s, u"支"_s, u"2"_s, u"3"_s, u"型材"_s}}},
                            nullptr, &err));
    QVERIFY(SaveIssueBill({u"6"_s, u"用"_s, u"领"_s, u"管"_s, QDate(2002, 3, 5), {{u"甲"_s, u"A"_s, u"支"_s, u"1"_s, u"型材"_s}}},
                          &err));
    QStringList previews;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        previews << d->objectName() + u':' + d->windowTitle();
        d->reject();
        return d->result();
    };
    CurInBillNo = u"5"_s;
    FrmEnter receiptWindow;
    button(&receiptWindow, u"CmdPrint"_s)->click();
    CurOutBillNo = u"6"_s;
    FrmPost issueWindow;
    button(&issueWindow, u"CmdPrint"_s)->click();
    QCOMPARE(previews, (QStringList{u"reportPreview:入库单报表"_s, u"reportPreview:出库单报表"_s}));
    QVERIFY(m_fx->msgs->shown.isEmpty());

    // A number without a stored bill prints nothing and says so.
    CurInBillNo = u"77"_s;
    FrmEnter missing;
    button(&missing, u"CmdPrint"_s)->click();
    QCOMPARE(previews.size(), 2);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown[0].title, u"出错"_s);
}

void TstBillWindows::issueEnterKeys()
{
    QVERIFY(addStock(u"框料"_s, u"A60"_s, u"型材"_s, 12));
    CurOutBillNo = u"1"_s;
    FrmPost w;
    w.show();
    QCOMPARE(focusName(&w), u"TxtYT"_s);
    const QStringList chain = {u"TxtYT"_s, u"TxtSM"_s, u"TxtCGY"_s, u"TxtRQ"_s, u"OKButton"_s};
    for (int i = 0; i + 1 < chain.size(); ++i) {
        QCOMPARE(focusName(&w), chain[i]);
        QTest::keyClick(w.focusWidget(), Qt::Key_Return);
    }
    QCOMPARE(focusName(&w), u"OKButton"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    // No key is filtered in the issue window.
    QTest::keyClicks(edit(&w, u"TxtYT"_s), u"-x.1"_s);
    QCOMPARE(edit(&w, u"TxtYT"_s)->text(), u"-x.1"_s);

    bool checked = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        [&] {
            child<QComboBox>(d, u"CmbZL"_s)->setCurrentIndex(0);
            doubleClick(list(d, u"LvwR"_s), 0);
            QLineEdit *qty = edit(d, u"TxtSL"_s);
            qty->clear();
            QTest::keyClicks(qty, u"1.5x"_s);
            QCOMPARE(qty->text(), u"15"_s);
            QTest::keyClick(qty, Qt::Key_Return);
            QCOMPARE(focusName(d), u"OKButton"_s);
            checked = true;
        }();
        d->reject();
        return d->result();
    };
    button(&w, u"CmdAdd"_s)->click();
    QVERIFY(checked);
    QCOMPARE(list(&w)->topLevelItemCount(), 0);
}

QTEST_MAIN(TstBillWindows)
#include "tst_billwindows.moc"
