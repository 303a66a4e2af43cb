#include "frmtjjs.h"

#include "pricedialogs.h"

#include "app/generalsettings.h"
#include "app/maindb.h"
#include "app/reportcommands.h"
#include "app/shared.h"
#include "platform/database.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "platform/reportview.h"
#include "platform/settings.h"
#include "platform/showworkbook.h"
#include "stats/expansion.h"
#include "stats/numbers.h"
#include "stats/settlement.h"
#include "stats/statsreports.h"
#include "stats/statsstore.h"

#include "sheets/ui/sheetwindows.h"

#include <QCheckBox>
#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace stats::ui {

namespace {
QTreeWidget *makeList(QWidget *parent, const QString &name)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    // Every row has one line of text; thousands of rows are laid out without measuring each.
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setHeaderLabels({u"门窗名称"_s, u"门窗类型"_s, u"洞口宽"_s, u"洞口高"_s, u"樘数"_s, u"说明"_s,
                           u"工程编号"_s, u"门窗编号"_s, u"编号"_s});
    list->header()->setDefaultSectionSize(72);
    return list;
}

QStringList lineTexts(const project::JobLine &l)
{
    return {l.fields.name, l.fields.position, l.fields.width, l.fields.height, l.fields.count,
            l.fields.remark, l.jobId, l.typeNo, l.id};
}

project::JobLine itemLine(const QTreeWidgetItem *item)
{
    project::JobLine l;
    l.fields = {item->text(0), item->text(1), item->text(2), item->text(3), item->text(4), item->text(5)};
    l.jobId = item->text(6);
    l.typeNo = item->text(7);
    l.id = item->text(8);
    return l;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QCheckBox *makeCheck(QWidget *parent, const QString &name, const QString &caption)
{
    auto *c = new QCheckBox(caption, parent);
    c->setObjectName(name);
    c->setChecked(true);
    return c;
}

QString company(const QString &fallback)
{
    return platform::SettingsStore::get(app::kSettingsGeneral, app::kKeyCompany, fallback);
}
} // namespace

FrmTJJS::FrmTJJS(const project::JobRef &job, QWidget *parent) : QDialog(parent), m_job(job)
{
    setObjectName(u"frmTJJS"_s);
    setWindowTitle(u"统计决算"_s);

    LvwR = makeList(this, u"LvwR"_s);
    LvwD = makeList(this, u"LvwD"_s);
    auto *available = new QGroupBox(u"可选用门窗"_s, this);
    (new QVBoxLayout(available))->addWidget(LvwR);
    auto *chosen = new QGroupBox(u"已选用门窗"_s, this);
    (new QVBoxLayout(chosen))->addWidget(LvwD);

    CmdSelect = makeButton(this, u"CmdSelect"_s, u"选入->"_s);
    CmdSelectAll = makeButton(this, u"CmdSelectAll"_s, u"全选>>"_s);
    CmdRemove = makeButton(this, u"CmdRemove"_s, u"<-移除"_s);
    CmdRemoveAll = makeButton(this, u"CmdRemoveAll"_s, u"<<全移除"_s);
    CmdGJB = makeButton(this, u"CmdGJB"_s, u"构件简表"_s);
    CmdExit = makeButton(this, u"CmdExit"_s, u"退出&E"_s);
    auto *movers = new QVBoxLayout;
    movers->addStretch();
    for (QPushButton *b : {CmdSelect, CmdSelectAll, CmdRemove, CmdRemoveAll})
        movers->addWidget(b);
    movers->addSpacing(20);
    movers->addWidget(CmdGJB);
    movers->addWidget(CmdExit);
    movers->addStretch();

    auto *statsFrame = new QGroupBox(u"统计"_s, this);
    chkXC = makeCheck(statsFrame, u"chkXC"_s, u" 型  材"_s);
    chkXG = makeCheck(statsFrame, u"chkXG"_s, u" 型  钢"_s);
    chkPC = makeCheck(statsFrame, u"chkPC"_s, u" 板  材"_s);
    chkPJ = makeCheck(statsFrame, u"chkPJ"_s, u" 配  件"_s);
    CmdTJ = makeButton(statsFrame, u"CmdTJ"_s, u"归总"_s);
    CmdTJ01 = makeButton(statsFrame, u"CmdTJ01"_s, u"统计表 "_s);
    CmdTJ02 = makeButton(statsFrame, u"CmdTJ02"_s, u"造价表"_s);
    CmdTJ03 = makeButton(statsFrame, u"CmdTJ03"_s, u"明细表"_s);
    CmdOut1 = makeButton(statsFrame, u"CmdOut1"_s, u"输出>"_s);
    cmdOut2 = makeButton(statsFrame, u"cmdOut2"_s, u"输出>"_s);
    cmdOut3 = makeButton(statsFrame, u"cmdOut3"_s, u"输出>"_s);
    auto *statsGrid = new QGridLayout(statsFrame);
    statsGrid->addWidget(chkXC, 0, 0);
    statsGrid->addWidget(chkXG, 1, 0);
    statsGrid->addWidget(chkPC, 2, 0);
    statsGrid->addWidget(chkPJ, 3, 0);
    statsGrid->addWidget(CmdTJ, 0, 1);
    statsGrid->addWidget(CmdTJ01, 1, 1);
    statsGrid->addWidget(CmdOut1, 1, 2);
    statsGrid->addWidget(CmdTJ02, 2, 1);
    statsGrid->addWidget(cmdOut2, 2, 2);
    statsGrid->addWidget(CmdTJ03, 3, 1);
    statsGrid->addWidget(cmdOut3, 3, 2);

    auto *settleFrame = new QGroupBox(u"决算"_s, this);
    CmdJS = makeButton(settleFrame, u"CmdJS"_s, u"归总"_s);
    CmdJS01 = makeButton(settleFrame, u"CmdJS01"_s, u"面积统计表"_s);
    CmdJS02 = makeButton(settleFrame, u"CmdJS02"_s, u"门窗决算表"_s);
    cmdOutTJB = makeButton(settleFrame, u"cmdOutTJB"_s, u"输出>"_s);
    cmdOutZJB = makeButton(settleFrame, u"cmdOutZJB"_s, u"输出>"_s);
    auto *settleGrid = new QGridLayout(settleFrame);
    settleGrid->addWidget(CmdJS, 0, 0);
    settleGrid->addWidget(CmdJS01, 1, 0);
    settleGrid->addWidget(cmdOutTJB, 1, 1);
    settleGrid->addWidget(CmdJS02, 2, 0);
    settleGrid->addWidget(cmdOutZJB, 2, 1);

    for (QPushButton *b : {CmdTJ01, CmdTJ02, CmdTJ03, CmdJS01, CmdJS02})
        b->setEnabled(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(available, 0, 0);
    grid->addLayout(movers, 0, 1, 2, 1);
    grid->addWidget(chosen, 0, 2);
    grid->addWidget(statsFrame, 1, 0);
    grid->addWidget(settleFrame, 1, 2);
    grid->setRowStretch(0, 1);
    resize(900, 560);

    connect(CmdSelect, &QPushButton::clicked, this, &FrmTJJS::CmdSelect_Click);
    connect(CmdSelectAll, &QPushButton::clicked, this, &FrmTJJS::CmdSelectAll_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmTJJS::CmdRemove_Click);
    connect(CmdRemoveAll, &QPushButton::clicked, this, &FrmTJJS::CmdRemoveAll_Click);
    connect(CmdGJB, &QPushButton::clicked, this, &FrmTJJS::CmdGJB_Click);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::close);
    connect(CmdTJ, &QPushButton::clicked, this, &FrmTJJS::CmdTJ_Click);
    connect(CmdTJ01, &QPushButton::clicked, this, &FrmTJJS::CmdTJ01_Click);
    connect(CmdTJ02, &QPushButton::clicked, this, &FrmTJJS::CmdTJ02_Click);
    connect(CmdTJ03, &QPushButton::clicked, this, &FrmTJJS::CmdTJ03_Click);
    connect(CmdOut1, &QPushButton::clicked, this, &FrmTJJS::CmdOut1_Click);
    connect(cmdOut2, &QPushButton::clicked, this, &FrmTJJS::cmdOut2_Click);
    connect(cmdOut3, &QPushButton::clicked, this, &FrmTJJS::cmdOut3_Click);
    connect(CmdJS, &QPushButton::clicked, this, &FrmTJJS::CmdJS_Click);
    connect(CmdJS01, &QPushButton::clicked, this, &FrmTJJS::CmdJS01_Click);
    connect(CmdJS02, &QPushButton::clicked, this, &FrmTJJS::CmdJS02_Click);
    connect(cmdOutTJB, &QPushButton::clicked, this, &FrmTJJS::cmdOutTJB_Click);
    connect(cmdOutZJB, &QPushButton::clicked, this, &FrmTJJS::cmdOutZJB_Click);
}

void FrmTJJS::setWindows(const QList<project::JobLine> &lines)
{
    for (const project::JobLine &l : lines)
        LvwR->addTopLevelItem(new QTreeWidgetItem(lineTexts(l)));
}

QList<project::JobLine> FrmTJJS::chosenLines() const
{
    QList<project::JobLine> lines;
    for (int i = 0; i < LvwD->topLevelItemCount(); ++i)
        lines << itemLine(LvwD->topLevelItem(i));
    return lines;
}

void FrmTJJS::moveItem(QTreeWidgetItem *item, QTreeWidget *to)
{
    QStringList texts;
    for (int c = 0; c < 9; ++c)
        texts << item->text(c);
    to->addTopLevelItem(new QTreeWidgetItem(texts));
    delete item;
}

void FrmTJJS::moveSelected(QTreeWidget *from, QTreeWidget *to, const QString &none)
{
    const QList<QTreeWidgetItem *> selected = from->selectedItems();
    if (selected.isEmpty()) {
        platform::inform(this, none);
        return;
    }
    moveItem(selected.first(), to);
}

void FrmTJJS::moveAll(QTreeWidget *from, QTreeWidget *to, const QString &none)
{
    if (from->topLevelItemCount() == 0) {
        platform::inform(this, none);
        return;
    }
    platform::moveAllItems(from, to);
}

void FrmTJJS::CmdSelect_Click()
{
    moveSelected(LvwR, LvwD, u"无可选入对象！"_s);
}

void FrmTJJS::CmdSelectAll_Click()
{
    moveAll(LvwR, LvwD, u"无可选入对象！"_s);
}

void FrmTJJS::CmdRemove_Click()
{
    moveSelected(LvwD, LvwR, u"无可移除对象！"_s);
}

void FrmTJJS::CmdRemoveAll_Click()
{
    moveAll(LvwD, LvwR, u"无可选入对象！"_s);
}

FrmTJJS::~FrmTJJS() = default;

StatsStore &FrmTJJS::store()
{
    const QSqlDatabase db = app::mainDb();
    if (!m_store || m_store->db().driver() != db.driver())
        m_store = std::make_unique<StatsStore>(db);
    return *m_store;
}

KindChoice FrmTJJS::kinds() const
{
    return {chkXC->isChecked(), chkXG->isChecked(), chkPC->isChecked(), chkPJ->isChecked()};
}

void FrmTJJS::failed(const QString &heading, const QString &error)
{
    platform::showError(this, error.isEmpty() ? heading : heading + u"\n"_s + error);
}

void FrmTJJS::preview(const platform::Report &report, const QString &caption)
{
    m_lastReport = report;
    platform::previewReport(this, report, caption);
}

void FrmTJJS::CmdTJ_Click()
{
    const QList<project::JobLine> lines = chosenLines();
    if (lines.isEmpty()) {
        platform::inform(this, u"统计门窗为空！"_s);
        return;
    }
    StatsStore &store = this->store();
    QString error;
    if (!GatherTJ(store, lines, &error)) {
        failed(u"统计出错！"_s, error);
        return;
    }
    for (QPushButton *b : {CmdTJ01, CmdTJ02, CmdTJ03})
        b->setEnabled(true);
}

bool FrmTJJS::priceBySpec()
{
    StatsStore &store = this->store();
    QString error;
    if (!BuildTJBySpec(store, kinds(), &TJTotals, &error)) {
        failed(u"统计出错！"_s, error);
        return false;
    }
    return true;
}

bool FrmTJJS::priceBySpecLength()
{
    StatsStore &store = this->store();
    QString error;
    if (!BuildTJBySpecLength(store, kinds(), &error)) {
        failed(u"统计出错！"_s, error);
        return false;
    }
    return true;
}

std::optional<QList<QStringList>> FrmTJJS::statsRows()
{
    QString error;
    auto rows = app::runReportCommand(u"CmdTJ"_s, {}, &error);
    if (!rows)
        failed(u"统计出错！"_s, error);
    return rows;
}

void FrmTJJS::CmdTJ01_Click()
{
    if (!priceBySpec())
        return;
    const auto rows = statsRows();
    if (!rows)
        return;
    const KindChoice k = kinds();
    preview(materialListReport(company(QString()) + u"材料统计表"_s, m_job.name, QDate::currentDate(), *rows,
                               materialTotals(k.profiles, k.steel, k.panels, TJTotals.ProfileWeight,
                                              TJTotals.SteelWeight, TJTotals.PanelArea)),
            u"材料统计表"_s);
}

void FrmTJJS::CmdTJ02_Click()
{
    if (!priceBySpec())
        return;
    const FrmSZZJ::Fees rates = FrmSZZJ::ask(this);
    const double area = GetTJTotalArea(chosenLines());
    StatsStore &store = this->store();
    QString error;
    const auto rows = app::runReportCommand(u"CmdTJ"_s, {}, &error);
    const auto amount = rows ? GetTJTotalAmount(store, &error) : std::nullopt;
    if (!rows || !amount) {
        failed(u"统计出错！"_s, error);
        return;
    }
    preview(costReport(company(QString()) + u"门窗造价表"_s, m_job.name, QDate::currentDate(), *rows,
                       costFigures(area, rates, *amount)),
            u"门窗造价表"_s);
}

void FrmTJJS::CmdTJ03_Click()
{
    if (!priceBySpecLength())
        return;
    const auto rows = statsRows();
    if (!rows)
        return;
    preview(materialListReport(u"门 窗 材 料 统 计 表"_s, m_job.name, QDate::currentDate(), *rows, {}),
            u"材料统计表"_s);
}

void FrmTJJS::exportTable(ExportTable table)
{
    const ExportSpec &spec = exportSpec(table);
    StatsStore &store = this->store();
    const auto rows = store.exportRows(spec.query);
    if (!rows) {
        failed(u"输出出错！"_s, store.lastError());
        return;
    }
    if (rows->isEmpty())
        return;
    QString error;
    if (app::OutPutFileTypeFlag != 0) {
        QString name = platform::messages().saveFileName(this, QString(), QString(), u"文本文件 (*.txt)"_s);
        if (name.isEmpty())
            return;
        if (QFileInfo(name).suffix().isEmpty())
            name += u".txt"_s;
        if (!writeExportText(name, spec, *rows, &error))
            failed(u"输出出错！"_s, error);
        return;
    }
    platform::showWorkbook(this, exportWorkbook(spec, *rows), spec.title);
}

void FrmTJJS::CmdOut1_Click()
{
    if (priceBySpec())
        exportTable(ExportTable::MaterialList);
}

void FrmTJJS::cmdOut2_Click()
{
    if (priceBySpec())
        exportTable(ExportTable::MaterialCost);
}

void FrmTJJS::cmdOut3_Click()
{
    if (priceBySpecLength())
        exportTable(ExportTable::MaterialByLength);
}

void FrmTJJS::CmdGJB_Click()
{
    if (LvwD->topLevelItemCount() == 0) {
        platform::inform(this, u"构件门窗为空！"_s);
        return;
    }
    sheets::ui::showSimpleCutList(this, chosenLines(), m_job.name);
}

void FrmTJJS::CmdJS_Click()
{
    const QList<project::JobLine> lines = chosenLines();
    if (lines.isEmpty()) {
        platform::inform(this, u"决算门窗为空！"_s);
        return;
    }
    StatsStore &store = this->store();
    QString error;
    // Emptied first: a cancelled settlement must not leave an earlier job's rows to print.
    if (!ClearJSTable(store, &error)) {
        failed(u"决算出错！"_s, error);
        return;
    }
    const std::optional<SettlementPrices> prices = FrmJSJE::ask(this);
    if (!prices)
        return;
    const QList<SettlementRow> rows = settlementRows(lines, num(prices->door), num(prices->window));
    if (!WriteSettlement(store, rows, &error)) {
        failed(u"决算出错！"_s, error);
        return;
    }
    CmdJS01->setEnabled(true);
    CmdJS02->setEnabled(true);
}

void FrmTJJS::showSettlementReport(bool withPrices)
{
    QString error;
    const auto rows = app::runReportCommand(u"CmdJS"_s, {}, &error);
    StatsStore &store = this->store();
    const auto client = rows ? store.jobClient(platform::numberParam(m_job.id)) : std::nullopt;
    if (!rows || !client) {
        failed(u"决算出错！"_s, rows ? store.lastError() : error);
        return;
    }
    const QString dw = company(u"塑钢公司"_s);
    const QDate today = QDate::currentDate();
    if (withPrices)
        preview(settlementReport(m_job.name, today, *rows, *client, dw), u"门窗决算表"_s);
    else
        preview(areaReport(m_job.name, today, *rows, *client, dw), u"面积统计表"_s);
}

void FrmTJJS::CmdJS01_Click()
{
    showSettlementReport(false);
}

void FrmTJJS::CmdJS02_Click()
{
    showSettlementReport(true);
}

void FrmTJJS::cmdOutTJB_Click()
{
    exportTable(ExportTable::AreaList);
}

void FrmTJJS::cmdOutZJB_Click()
{
    exportTable(ExportTable::Settlement);
}

} // namespace stats::ui
