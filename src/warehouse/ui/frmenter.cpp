#include "frmenter.h"

#include "billwidgets.h"
#include "warehouse/billstore.h"

#include "platform/messages.h"
#include "platform/reportview.h"
#include "warehouse/warehousereports.h"
#include "warehouse/warehousestore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace warehouse::ui {

// --- line dialog

FrmEnterData::FrmEnterData(const QStringList &values, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmEnterData"_s);
    setWindowTitle(u"录入数据"_s);
    setModal(true);
    TxtMC = makeBox(this, u"TxtMC"_s);
    TxtGG = makeBox(this, u"TxtGG"_s);
    TxtDW = makeBox(this, u"TxtDW"_s);
    TxtDJ = makeBox(this, u"TxtDJ"_s);
    TxtSL = makeBox(this, u"TxtSL"_s);
    // Unit price: digits and one point; quantity: digits only.
    TxtDJ->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*\\.?[0-9]*"_s), TxtDJ));
    TxtSL->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), TxtSL));
    CmbZL = new QComboBox(this);
    CmbZL->setObjectName(u"CmbZL"_s);
    CmbZL->setEditable(true);
    CmbZL->setInsertPolicy(QComboBox::NoInsert);
    CmbZL->addItems({u"型材"_s, u"型钢"_s, u"板材"_s, u"五金件"_s});
    OKButton = makeButton(this, u"OKButton"_s, u"确定"_s);
    CancelButton = makeButton(this, u"CancelButton"_s, u"取消"_s);

    auto *grid = new QGridLayout;
    addField(grid, 0, 0, u"名称:"_s, TxtMC);
    addField(grid, 1, 0, u"规格:"_s, TxtGG);
    addField(grid, 2, 0, u"单位:"_s, TxtDW);
    addField(grid, 3, 0, u"单价:"_s, TxtDJ);
    addField(grid, 4, 0, u"数量:"_s, TxtSL);
    addField(grid, 5, 0, u"种类:"_s, CmbZL);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    new EnterChain(this, {TxtMC, TxtGG, TxtDW, TxtDJ, TxtSL, CmbZL, OKButton});
    connect(OKButton, &QPushButton::clicked, this, [this] {
        if (CheckReceiptLine()) {
            m_values = {TxtMC->text(), TxtGG->text(), TxtDW->text(), TxtDJ->text(), TxtSL->text(), CmbZL->currentText()};
            accept();
        }
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ShowReceiptLine(values);
}

void FrmEnterData::ShowReceiptLine(const QStringList &values)
{
    const QList<QLineEdit *> boxes = {TxtMC, TxtGG, TxtDW, TxtDJ, TxtSL};
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(i < values.size() ? values.at(i) : QString());
    CmbZL->setCurrentIndex(-1);
    CmbZL->setEditText(values.size() > 5 ? values.at(5) : QString());
}

bool FrmEnterData::CheckReceiptLine()
{
    const QList<QWidget *> fields = {TxtMC, TxtGG, TxtDW, TxtDJ, TxtSL, CmbZL};
    const QStringList texts = {TxtMC->text(), TxtGG->text(), TxtDW->text(), TxtDJ->text(), TxtSL->text(),
                               CmbZL->currentText()};
    for (int i = 0; i < fields.size(); ++i) {
        if (texts.at(i).isEmpty())
            return refuseIncomplete(this, fields.at(i));
    }
    return true;
}

void FrmEnterData::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    TxtMC->setFocus();
}

// --- receipt window

FrmEnter::FrmEnter(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"FrmEnter"_s);
    setWindowTitle(u"入库单填写"_s);
    setModal(true);
    TxtDJBH = makeBox(this, u"TxtDJBH"_s, true);
    TxtLLLY = makeBox(this, u"TxtLLLY"_s);
    TxtCGJE = makeBox(this, u"TxtCGJE"_s, true);
    TxtYT = makeBox(this, u"TxtYT"_s);
    TxtSM = makeBox(this, u"TxtSM"_s);
    TxtCGY = makeBox(this, u"TxtCGY"_s);
    TxtRQ = new BillDateEdit(this);
    TxtRQ->setObjectName(u"TxtRQ"_s);
    lvw = makeLineList(this, u"lvw"_s, {u"名称"_s, u"规格"_s, u"单位"_s, u"单价"_s, u"数量"_s, u"种类"_s});
    CmdAdd = makeButton(this, u"CmdAdd"_s, u"&A 添加"_s);
    CmdEdit = makeButton(this, u"CmdEdit"_s, u"&E 编辑"_s);
    CmdDel = makeButton(this, u"CmdDel"_s, u"&D 删除"_s);
    CmdPrint = makeButton(this, u"CmdPrint"_s, u"&P 打印"_s);
    OKButton = makeButton(this, u"OKButton"_s, u"&Y 确定"_s);
    CancelButton = makeButton(this, u"CancelButton"_s, u"&C 取消"_s);

    auto *grid = new QGridLayout;
    addField(grid, 0, 0, u"自动编号:"_s, TxtDJBH);
    addField(grid, 0, 1, u"来料来源:"_s, TxtLLLY);
    auto *amount = new QHBoxLayout;
    amount->addWidget(TxtCGJE);
    amount->addWidget(new QLabel(u"元"_s, this));
    grid->addWidget(new QLabel(u"采购金额:"_s, this), 1, 0);
    grid->addLayout(amount, 1, 1);
    addField(grid, 1, 1, u"用    途:"_s, TxtYT);
    addField(grid, 2, 0, u"单据编号:"_s, TxtSM);
    addField(grid, 2, 1, u"采购员:"_s, TxtCGY);
    addField(grid, 3, 0, u"采购日期:"_s, TxtRQ);
    layOutBill(this, grid, lvw, {CmdAdd, CmdEdit, CmdDel, CmdPrint, OKButton, CancelButton});
    resize(640, 420);

    new EnterChain(this, {TxtLLLY, TxtYT, TxtSM, TxtCGY, TxtRQ, OKButton});
    connect(CmdAdd, &QPushButton::clicked, this, &FrmEnter::addLine);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmEnter::editLine);
    connect(CmdDel, &QPushButton::clicked, this, &FrmEnter::deleteLine);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmEnter::printClicked);
    connect(OKButton, &QPushButton::clicked, this, &FrmEnter::okClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    TxtDJBH->setText(CurInBillNo);
}

void FrmEnter::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (TxtLLLY->isEnabled())
        TxtLLLY->setFocus();
}

void FrmEnter::setPrintEnabled(bool enabled) { CmdPrint->setEnabled(enabled); }

void FrmEnter::setPreview(const QStringList &head, const QList<QStringList> &lines)
{
    const auto at = [&](int i) { return i < head.size() ? head.at(i) : QString(); };
    TxtLLLY->setText(at(1));
    TxtCGJE->setText(at(2));
    TxtYT->setText(at(3));
    TxtSM->setText(at(4));
    TxtCGY->setText(at(5));
    TxtRQ->setBillDate(parseDateValue(at(6)).value_or(QDate()));
    showPreviewLines(lvw, lines, {CmdAdd, CmdEdit, CmdDel, OKButton, TxtCGJE, TxtCGY, TxtLLLY, TxtRQ, TxtSM, TxtYT});
    setWindowTitle(u"入库单预览"_s);
}

ReceiptBill FrmEnter::bill() const
{
    ReceiptBill b{TxtDJBH->text(), TxtLLLY->text(), TxtYT->text(), TxtSM->text(), TxtCGY->text(),
                  TxtRQ->billDate(), {}};
    for (const QStringList &row : allRows(lvw))
        b.lines << ReceiptLine::fromTexts(row);
    return b;
}

void FrmEnter::PutLineIntoList(const QStringList &values, bool newRow)
{
    if (newRow) {
        appendRow(lvw, values);
    } else if (QTreeWidgetItem *item = selectedRow(lvw)) {
        setRow(item, values);
    }
}

void FrmEnter::addLine()
{
    FrmEnterData dlg(QStringList(6, QString()), this);
    if (platform::execDialog(&dlg) == QDialog::Accepted)
        PutLineIntoList(dlg.values(), true);
}

void FrmEnter::editLine()
{
    QTreeWidgetItem *item = selectedRowOrInform(this, lvw, u"无选取所需编辑数据!"_s, CmdAdd);
    if (!item)
        return;
    FrmEnterData dlg(rowTexts(item, lvw->columnCount()), this);
    if (platform::execDialog(&dlg) == QDialog::Accepted)
        PutLineIntoList(dlg.values(), false);
}

void FrmEnter::deleteLine()
{
    if (QTreeWidgetItem *item = selectedRowOrInform(this, lvw, u"无选取您要删除的记录!"_s, CmdAdd))
        delete item;
}

bool FrmEnter::CheckReceiptBill()
{
    const QList<QLineEdit *> required = {TxtLLLY, TxtYT, TxtSM, TxtCGY};
    for (QLineEdit *e : required) {
        if (e->text().isEmpty())
            return refuseIncomplete(this, e);
    }
    if (!TxtRQ->hasDate())
        return refuseIncomplete(this, TxtRQ);
    if (lvw->topLevelItemCount() == 0)
        return refuseIncomplete(this, CmdAdd);
    return true;
}

void FrmEnter::okClicked()
{
    if (!CheckReceiptBill())
        return;
    double amount = 0;
    BillStore store;
    if (!store.SaveReceiptBill(bill(), &amount)) {
        platform::showError(this, u"入库单保存出错，没有保存任何数据：\n"_s + store.lastError());
        return;
    }
    TxtCGJE->setText(amountText(amount));
    accept();
}

void FrmEnter::printClicked()
{
    QString err;
    const auto report = ReceiptBillReport(TxtDJBH->text(), &err);
    if (!report) {
        platform::showError(this, u"无法打印入库单：\n"_s + err);
        return;
    }
    platform::previewReport(this, *report, u"入库单报表"_s);
}

} // namespace warehouse::ui
