#include "frmpost.h"

#include "billwidgets.h"

#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "platform/reportview.h"
#include "warehouse/warehousereports.h"
#include "warehouse/warehousestore.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace warehouse::ui {

// --- stock picker

FrmPostData::FrmPostData(FrmPost *issue) : QDialog(issue), m_issue(issue)
{
    setObjectName(u"FrmPostData"_s);
    setWindowTitle(u"选取出库材料"_s);
    setModal(true);
    CmbZL = new QComboBox(this);
    CmbZL->setObjectName(u"CmbZL"_s);
    auto *frame = new QGroupBox(u"库存材料"_s, this);
    LvwR = makeLineList(frame, u"LvwR"_s, {u"名称"_s, u"规格"_s, u"单位"_s, u"库存量"_s});
    (new QVBoxLayout(frame))->addWidget(LvwR);
    TxtMC = makeBox(this, u"TxtMC"_s, true);
    TxtGG = makeBox(this, u"TxtGG"_s, true);
    TxtDW = makeBox(this, u"TxtDW"_s, true);
    TxtSL = makeBox(this, u"TxtSL"_s);
    TxtSL->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), TxtSL));
    TxtZL = makeBox(this, u"TxtZL"_s, true);
    OKButton = makeButton(this, u"OKButton"_s, u"&A 添加"_s);
    CancelButton = makeButton(this, u"CancelButton"_s, u"&E 返回"_s);

    auto *grid = new QGridLayout;
    addField(grid, 0, 0, u"名    称:"_s, TxtMC);
    addField(grid, 1, 0, u"规    格:"_s, TxtGG);
    addField(grid, 2, 0, u"单    位:"_s, TxtDW);
    addField(grid, 3, 0, u"数    量:"_s, TxtSL);
    addField(grid, 4, 0, u"种    类:"_s, TxtZL);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CmbZL);
    layout->addWidget(frame, 1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(480, 460);

    new EnterChain(this, {TxtSL, OKButton});
    LvwR->viewport()->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &FrmPostData::addClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    LoadStockKinds();
    connect(CmbZL, &QComboBox::currentTextChanged, this, &FrmPostData::LoadStockItems);
}

bool FrmPostData::eventFilter(QObject *watched, QEvent *event)
{
    // A double-click anywhere in the list picks the selected row (the first press selected it).
    if (watched == LvwR->viewport() && event->type() == QEvent::MouseButtonDblClick)
        pickSelected();
    return QDialog::eventFilter(watched, event);
}

void FrmPostData::LoadStockKinds()
{
    QString err;
    const auto kinds = StockKinds(&err);
    if (!kinds) {
        platform::showError(this, u"无法读取库存材料：\n"_s + err);
        return;
    }
    CmbZL->addItems(*kinds);
    CmbZL->setCurrentIndex(-1);
}

void FrmPostData::LoadStockItems(const QString &kind)
{
    if (kind.isEmpty())
        return;
    QString err;
    const auto items = StockItems(kind, &err);
    if (!items) {
        platform::showError(this, u"无法读取库存材料：\n"_s + err);
        return;
    }
    LvwR->clear();
    for (const StockItem &it : *items) {
        appendRow(LvwR, {it.name, it.spec, it.unit, it.stockText});
        LvwR->topLevelItem(LvwR->topLevelItemCount() - 1)->setData(0, Qt::UserRole, it.stock);
    }
}

void FrmPostData::pickSelected()
{
    QTreeWidgetItem *item = selectedRowOrInform(this, LvwR, u"无选中记录!"_s);
    if (!item)
        return;
    TxtMC->setText(item->text(0));
    TxtGG->setText(item->text(1));
    TxtDW->setText(item->text(2));
    TxtSL->setText(u"0"_s);
    TxtZL->setText(CmbZL->currentText());
    m_pickedStock = item->data(0, Qt::UserRole).toDouble();
    platform::focusAndSelect(TxtSL); // typing replaces the "0
}

bool FrmPostData::CheckIssuePick()
{
    if (TxtMC->text().isEmpty() || TxtGG->text().isEmpty() || TxtDW->text().isEmpty())
        return refuseIncomplete(this);
    const double quantity = platform::val(TxtSL->text());
    // "00" is as much nothing as "0".
    if (TxtSL->text().isEmpty() || quantity == 0) {
        platform::inform(this, u"数据不能为0!请重新输入。"_s);
        TxtSL->setFocus();
        return false;
    }
    if (TxtZL->text().isEmpty())
        return refuseIncomplete(this);
    // Lines of the same 规格 already on the issue take their share of the stock.
    const double free = RemainingStock(m_pickedStock, TxtGG->text(), m_issue->bill().lines);
    if (free < quantity) {
        platform::inform(this, u"数据不能大于"_s + platform::generalDouble(free) + u",请重新输入!"_s);
        TxtSL->setFocus();
        return false;
    }
    return true;
}

void FrmPostData::addClicked()
{
    if (!CheckIssuePick())
        return;
    m_issue->appendLine({TxtMC->text(), TxtGG->text(), TxtDW->text(), TxtSL->text(), TxtZL->text()});
    for (QLineEdit *e : {TxtGG, TxtDW, TxtSL, TxtZL})
        e->clear();
}

// --- issue window

FrmPost::FrmPost(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"FrmPost"_s);
    setWindowTitle(u"出库单填写"_s);
    setModal(true);
    TxtDJBH = makeBox(this, u"TxtDJBH"_s, true);
    TxtYT = makeBox(this, u"TxtYT"_s);
    TxtSM = makeBox(this, u"TxtSM"_s);
    TxtCGY = makeBox(this, u"TxtCGY"_s);
    TxtRQ = new BillDateEdit(this);
    TxtRQ->setObjectName(u"TxtRQ"_s);
    lvw = makeLineList(this, u"lvw"_s, {u"名称"_s, u"规格"_s, u"单位"_s, u"数量"_s, u"种类"_s});
    CmdAdd = makeButton(this, u"CmdAdd"_s, u"&A 添加"_s);
    CmdDel = makeButton(this, u"CmdDel"_s, u"&D 删除"_s);
    CmdPrint = makeButton(this, u"CmdPrint"_s, u"&P 打印"_s);
    OKButton = makeButton(this, u"OKButton"_s, u"&Y 确定"_s);
    CancelButton = makeButton(this, u"CancelButton"_s, u"&C 取消"_s);

    auto *grid = new QGridLayout;
    addField(grid, 0, 0, u"单据编号:"_s, TxtDJBH);
    addField(grid, 0, 1, u"用    途:"_s, TxtYT);
    addField(grid, 1, 0, u"领 料 人:"_s, TxtSM);
    addField(grid, 1, 1, u"仓管员:"_s, TxtCGY);
    addField(grid, 2, 0, u"出库日期:"_s, TxtRQ);
    layOutBill(this, grid, lvw, {CmdAdd, CmdDel, CmdPrint, OKButton, CancelButton});
    resize(600, 400);

    new EnterChain(this, {TxtYT, TxtSM, TxtCGY, TxtRQ, OKButton});
    connect(CmdAdd, &QPushButton::clicked, this, &FrmPost::addLines);
    connect(CmdDel, &QPushButton::clicked, this, &FrmPost::deleteLine);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmPost::printClicked);
    connect(OKButton, &QPushButton::clicked, this, &FrmPost::okClicked);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    TxtDJBH->setText(CurOutBillNo);
}

void FrmPost::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (TxtYT->isEnabled())
        TxtYT->setFocus();
}

void FrmPost::setPrintEnabled(bool enabled) { CmdPrint->setEnabled(enabled); }

void FrmPost::setPreview(const QStringList &head, const QList<QStringList> &lines)
{
    const auto at = [&](int i) { return i < head.size() ? head.at(i) : QString(); };
    TxtYT->setText(at(1));
    TxtSM->setText(at(2));
    TxtCGY->setText(at(3));
    TxtRQ->setBillDate(parseDateValue(at(4)).value_or(QDate()));
    showPreviewLines(lvw, lines, {TxtCGY, TxtSM, TxtYT, TxtRQ, CmdAdd, CmdDel, OKButton});
    setWindowTitle(u"出库单预览"_s);
}

IssueBill FrmPost::bill() const
{
    IssueBill b{TxtDJBH->text(), TxtYT->text(), TxtSM->text(), TxtCGY->text(), TxtRQ->billDate(), {}};
    for (const QStringList &row : allRows(lvw))
        b.lines << IssueLine::fromTexts(row);
    return b;
}

void FrmPost::appendLine(const IssueLine &line) { appendRow(lvw, line.texts()); }

void FrmPost::addLines()
{
    FrmPostData picker(this);
    platform::execDialog(&picker);
}

void FrmPost::deleteLine()
{
    if (QTreeWidgetItem *item = selectedRowOrInform(this, lvw, u"无选取所要删除的记录!"_s))
        delete item;
}

bool FrmPost::CheckIssueBill()
{
    if (TxtDJBH->text().isEmpty())
        return refuseIncomplete(this);
    for (QLineEdit *e : {TxtYT, TxtSM, TxtCGY}) {
        if (e->text().isEmpty())
            return refuseIncomplete(this, e);
    }
    // A missing issue date is refused without a message.
    if (!TxtRQ->hasDate()) {
        TxtRQ->setFocus();
        return false;
    }
    if (lvw->topLevelItemCount() == 0)
        return refuseIncomplete(this, CmdAdd);
    return true;
}

void FrmPost::okClicked()
{
    if (!CheckIssueBill())
        return;
    QString err;
    if (!SaveIssueBill(bill(), &err)) {
        platform::showError(this, u"出库单保存出错，没有保存任何数据：\n"_s + err);
        return;
    }
    accept();
}

void FrmPost::printClicked()
{
    QString err;
    const auto report = IssueBillReport(TxtDJBH->text(), &err);
    if (!report) {
        platform::showError(this, u"无法打印出库单：\n"_s + err);
        return;
    }
    platform::previewReport(this, *report, u"出库单报表"_s);
}

} // namespace warehouse::ui
