#include "frmquery.h"

#include "billwidgets.h"
#include "frmenter.h"
#include "frmpost.h"

#include "platform/messages.h"
#include "platform/reportview.h"
#include "warehouse/warehousereports.h"
#include "warehouse/warehousestore.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace warehouse::ui {

FrmQuery::FrmQuery(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"FrmQuery"_s);
    setWindowTitle(u"查寻"_s);
    setModal(true);
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(u"TabStrip1"_s);
    TabStrip1->addTab(u"&R 入库单查寻"_s); // &A is 全部's
    TabStrip1->addTab(u"&B 出库单查寻"_s);
    TabStrip1->addTab(u"&C 库存查寻"_s);
    auto *label1 = new QLabel(u"查寻字段:"_s, this);
    label1->setObjectName(u"Label1"_s);
    CmbZD = new QComboBox(this);
    CmbZD->setObjectName(u"CmbZD"_s);
    CmbZD->setMinimumContentsLength(10);
    auto *label2 = new QLabel(u"值等于:"_s, this);
    label2->setObjectName(u"Label2"_s);
    TxtZDZ = new QLineEdit(this);
    TxtZDZ->setObjectName(u"TxtZDZ"_s);
    TxtZDZ->setToolTip(u"按回车键以确认条件查寻的有效性."_s);
    CmdQuery = makeButton(this, u"CmdQuery"_s, u"&Q 条件查寻"_s);
    CmdAll = makeButton(this, u"CmdAll"_s, u"&A 全部"_s);
    CmdKCPrint = makeButton(this, u"CmdKCPrint"_s, u"&P 打印库存表"_s);
    CmdExit = makeButton(this, u"CmdExit"_s, u"&E 返 回"_s);
    lvw = makeLineList(this, u"lvw"_s, {});
    lvw->setToolTip(u"双击这里可查看具体信息"_s);
    lvw->header()->setSectionResizeMode(QHeaderView::Interactive);

    auto *condition = new QHBoxLayout;
    condition->addWidget(label1);
    condition->addWidget(CmbZD);
    condition->addWidget(label2);
    condition->addWidget(TxtZDZ, 1);
    condition->addWidget(CmdQuery);
    condition->addWidget(CmdAll);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdKCPrint);
    buttons->addWidget(CmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    layout->addLayout(condition);
    layout->addWidget(lvw, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    // Enter in the value box only moves to the query button; the query runs when it is pressed.
    new EnterChain(this, {TxtZDZ, CmdQuery});
    connect(TabStrip1, &QTabBar::currentChanged, this, &FrmQuery::tabChanged);
    connect(CmbZD, &QComboBox::activated, this, [this] {
        TxtZDZ->clear();
        TxtZDZ->setFocus();
    });
    connect(CmdQuery, &QPushButton::clicked, this, &FrmQuery::queryClicked);
    connect(CmdAll, &QPushButton::clicked, this, [this] { RunQuery(false); });
    connect(CmdKCPrint, &QPushButton::clicked, this, &FrmQuery::printStock);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);
    lvw->viewport()->installEventFilter(this);

    LoadQueryFields();
}

bool FrmQuery::eventFilter(QObject *watched, QEvent *event)
{
    // Any double-click in the list previews the selected bill (the first press selected it).
    if (watched == lvw->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        previewBill();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString FrmQuery::currentTable() const { return queryTables().value(TabStrip1->currentIndex()); }

void FrmQuery::LoadQueryFields()
{
    CmbZD->clear();
    m_fields.clear();
    QString err;
    const auto fields = QueryFields(currentTable(), &err);
    if (!fields) {
        platform::showError(this, u"无法读取表“%1”的字段：\n"_s.arg(currentTable()) + err);
        return;
    }
    m_fields = *fields;
    for (const QueryField &f : m_fields)
        CmbZD->addItem(f.name);
    CmbZD->setCurrentIndex(-1);
}

void FrmQuery::tabChanged()
{
    LoadQueryFields();
    lvw->clear();
    lvw->setColumnCount(0);
    lvw->setHeaderLabels({});
}

void FrmQuery::queryClicked()
{
    if (CmbZD->currentText().isEmpty()) {
        platform::inform(this, u"字段名不能为空!"_s);
        return;
    }
    if (TxtZDZ->text().isEmpty()) {
        platform::inform(this, u"字段值不能为空!"_s);
        return;
    }
    const QString problem = queryValueProblem(m_fields.value(CmbZD->currentIndex()).kind, TxtZDZ->text());
    if (!problem.isEmpty()) {
        platform::inform(this, problem);
        TxtZDZ->setSelection(0, 100);
        TxtZDZ->setFocus();
        return;
    }
    RunQuery(true);
}

void FrmQuery::RunQuery(bool withCondition)
{
    std::optional<QueryCondition> condition;
    if (withCondition)
        condition = QueryCondition{CmbZD->currentText(), TxtZDZ->text()};
    QString err;
    const auto result = warehouse::RunQuery(currentTable(), condition, &err);
    if (!result) {
        platform::showError(this, u"查寻出错：\n"_s + err);
        return;
    }
    FillQueryList(*result);
}

void FrmQuery::FillQueryList(const QueryResult &result)
{
    lvw->clear();
    lvw->setColumnCount(int(result.columns.size()));
    lvw->setHeaderLabels(result.columns);
    for (const QStringList &row : result.rows)
        appendRow(lvw, row);
}

void FrmQuery::previewBill()
{
    const int tab = TabStrip1->currentIndex();
    if (tab == 2)
        return;
    QTreeWidgetItem *item = selectedRowOrInform(this, lvw, u"无选取对象,不能预览更多的信息!"_s);
    if (!item)
        return;
    const QStringList head = rowTexts(item, lvw->columnCount());
    QString err;
    if (tab == 0) {
        const auto lines = ReceiptLineRows(head.value(0), &err);
        if (!lines) {
            platform::showError(this, u"无法读取入库单：\n"_s + err);
            return;
        }
        CurInBillNo = head.value(0);
        FrmEnter bill(this);
        bill.setPreview(head, *lines);
        platform::execDialog(&bill);
    } else {
        const auto lines = IssueLineRows(head.value(0), &err);
        if (!lines) {
            platform::showError(this, u"无法读取出库单：\n"_s + err);
            return;
        }
        CurOutBillNo = head.value(0);
        FrmPost bill(this);
        bill.setPreview(head, *lines);
        platform::execDialog(&bill);
    }
}

void FrmQuery::printStock()
{
    QString err;
    const auto report = StockReport(QDate::currentDate(), &err);
    if (!report) {
        platform::showError(this, u"无法打印库存表：\n"_s + err);
        return;
    }
    platform::previewReport(this, *report, u"库存表"_s);
}

} // namespace warehouse::ui
