#include "frmresult.h"

#include "app/reportcommands.h"
#include "app/shared.h"
#include "optimise/yhexport.h"
#include "optimise/yhoption.h"
#include "optimise/yhstore.h"
#include "platform/messages.h"
#include "platform/reportview.h"
#include "platform/showworkbook.h"
#include "yhlists.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace optimise::ui {

namespace {
QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

FrmResult::FrmResult(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmResult"_s);
    setWindowTitle(u"优化结果"_s);
    resize(760, 560);

    auto *frame1 = new QGroupBox(u"材料切割表"_s, this);
    frame1->setObjectName(u"Frame1"_s);
    m_plan = makeList(u"Lvw1"_s, frame1);
    (new QVBoxLayout(frame1))->addWidget(m_plan);
    auto *frame2 = new QGroupBox(u"材料统计表"_s, this);
    frame2->setObjectName(u"Frame2"_s);
    m_summary = makeList(u"Lvw2"_s, frame2);
    (new QVBoxLayout(frame2))->addWidget(m_summary);

    auto *print = button(u"CmdPrint"_s, u"&P 打印切割"_s, this);
    auto *print1 = button(u"cmdPrint1"_s, u"&T 打印统计"_s, this); // &P is 打印切割's
    auto *save = button(u"CmdSave"_s, u"&S 输出"_s, this);
    auto *exit = button(u"CmdExit"_s, u"&E 返回"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {print, print1, save, exit})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame1, 3);
    layout->addWidget(frame2, 2);
    layout->addLayout(buttons);

    connect(print, &QPushButton::clicked, this, &FrmResult::printPlan);
    connect(print1, &QPushButton::clicked, this, &FrmResult::printSummary);
    connect(save, &QPushButton::clicked, this, &FrmResult::exportResult);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    load();
}

void FrmResult::load()
{
    setHeaders(m_plan, {u"材料名称"_s, u"切割规格"_s, u"数量"_s, u"优化比率"_s, u"剩余料长"_s});
    setHeaders(m_summary, {u"材料名称"_s, u"数量"_s, u"优化比率"_s});
    YHStore store;
    // A failing query leaves the lists empty, as an empty plan does.
    const auto groups = store.planGroups();
    if (!groups || groups->isEmpty())
        return;
    for (const QStringList &row : planListRows(*groups))
        addItem(m_plan, row);
    if (const auto summary = store.planSummary())
        for (const QStringList &row : summaryListRows(*summary))
            addItem(m_summary, row);
    // Every figure shown whole: a ratio of fifteen digits must not end in "…".
    for (QTreeWidget *list : {m_plan, m_summary})
        for (int c = 0; c < list->columnCount(); ++c)
            list->resizeColumnToContents(c);
}

QList<QStringList> FrmResult::listRows(QTreeWidget *list) const
{
    QList<QStringList> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QStringList row;
        for (int c = 0; c < list->columnCount(); ++c)
            row << list->topLevelItem(i)->text(c);
        rows << row;
    }
    return rows;
}

void FrmResult::printPlan()
{
    QString err;
    const auto rows = app::runReportCommand(u"CmdYH"_s, {}, &err);
    if (!rows) {
        platform::showError(this, err);
        return;
    }
    platform::previewReport(this, yhPlanReport(*rows, YHGCName, QDateTime::currentDateTime()), u"材料优化表"_s);
}

void FrmResult::printSummary()
{
    QString err;
    const auto rows = app::runReportCommand(u"CmdYHT"_s, {}, &err);
    if (!rows) {
        platform::showError(this, err);
        return;
    }
    platform::previewReport(this, yhSummaryReport(*rows, YHGCName, QDateTime::currentDateTime()),
                            u"材料优化统计表"_s);
}

void FrmResult::exportResult()
{
    const QList<QStringList> plan = listRows(m_plan);
    const QList<QStringList> summary = listRows(m_summary);
    const QDate today = QDate::currentDate();
    if (app::OutPutFileTypeFlag == 0) {
        platform::showWorkbook(this, yhResultWorkbook(plan, summary, YHGCName, today), u"材料优化"_s);
        return;
    }
    QString name = platform::messages().saveFileName(this, QString(), m_lastTextFile, u"*.txt (*.txt)"_s);
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += u".txt"_s;
    m_lastTextFile = name;
    if (QString error; !ExportYHText(name, plan, summary, YHGCName, shortDateText(today), &error))
        platform::messages().message(this, u"输出出错！\n"_s + error, QCoreApplication::applicationName(),
                                     platform::MsgIcon::None, platform::MsgButtons::Ok);
}

} // namespace optimise::ui
