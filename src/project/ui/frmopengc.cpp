#include "frmopengc.h"

#include "app/shared.h"
#include "common.h"
#include "frmaddgcmc.h"
#include "frmaddgczhmc.h"
#include "platform/faces.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "platform/settings.h"
#include "project/projectstate.h"

#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
QList<FrmOpenGC *> &openWindows()
{
    static QList<FrmOpenGC *> windows;
    return windows;
}
} // namespace

JobWindowHooks &jobWindowHooks()
{
    static JobWindowHooks hooks;
    return hooks;
}

FrmOpenGC::FrmOpenGC(const QString &jobId, const QString &jobName, QWidget *parent)
    : QWidget(parent), m_jobId(jobId), m_jobName(jobName)
{
    setObjectName(u"frmOpenGC"_s);
    setWindowTitle(u"工程名称->"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    lvw = new QTreeWidget(this);
    lvw->setObjectName(u"lvw"_s);
    setupLineList(lvw);

    auto *panel = new QWidget(this);
    panel->setObjectName(u"Picture2"_s);
    auto *buttons = new QVBoxLayout(panel);
    const QFont font = platform::faceFont(u"宋体"_s, 10.5);
    auto add = [&](QPushButton *&b, const QString &name, const QString &caption) {
        b = new QPushButton(caption, panel);
        b->setObjectName(name);
        b->setFont(font);
        b->setMinimumSize(129, 33);
        buttons->addWidget(b);
    };
    add(CmdAdd, u"CmdAdd"_s, u"添加门窗"_s);
    add(CmcZHMC, u"CmcZHMC"_s, u"添加组合门窗"_s);
    add(CmdEdit, u"CmdEdit"_s, u"编辑门窗"_s);
    add(CmdDel, u"CmdDel"_s, u"删除门窗"_s);
    buttons->addSpacing(30);
    add(CmdPrint, u"CmdPrint"_s, u"构件表&O"_s);
    add(CmdTotal, u"CmdTotal"_s, u"统计决算"_s);
    add(cmdYH, u"cmdYH"_s, u"优化"_s);
    add(CmdAutoNum, u"CmdAutoNum"_s, u"设置构件表号"_s);
    buttons->addSpacing(50);
    add(CmdExit, u"CmdExit"_s, u"退出"_s);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvw, 1);
    layout->addWidget(panel);
    resize(668, 457);

    connect(CmdAdd, &QPushButton::clicked, this, &FrmOpenGC::CmdAdd_Click);
    connect(CmcZHMC, &QPushButton::clicked, this, &FrmOpenGC::CmcZHMC_Click);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmOpenGC::CmdEdit_Click);
    connect(CmdDel, &QPushButton::clicked, this, &FrmOpenGC::CmdDel_Click);
    connect(CmdPrint, &QPushButton::clicked, this, &FrmOpenGC::CmdPrint_Click);
    connect(CmdTotal, &QPushButton::clicked, this, &FrmOpenGC::CmdTotal_Click);
    connect(cmdYH, &QPushButton::clicked, this, &FrmOpenGC::cmdYH_Click);
    connect(CmdAutoNum, &QPushButton::clicked, this, &FrmOpenGC::CmdAutoNum_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { closeWorkWindow(this); });
    openWindows().append(this);
}

FrmOpenGC::~FrmOpenGC()
{
    openWindows().removeAll(this);
}

void FrmOpenGC::linesAdded(const QString &jobId, const QList<JobLine> &lines)
{
    for (FrmOpenGC *window : std::as_const(openWindows()))
        if (window->m_jobId == jobId)
            for (const JobLine &line : lines)
                window->lvw->addTopLevelItem(lineItem(line));
}

QList<JobLine> FrmOpenGC::lines() const
{
    return listLines(lvw);
}

bool FrmOpenGC::LoadGCMCList(QString *error)
{
    ProjectStore store;
    const std::optional<QList<JobLine>> lines = store.loadLines(m_jobId.toLongLong());
    if (!lines) {
        if (error)
            *error = store.lastError();
        return false;
    }
    QList<QTreeWidgetItem *> items;
    for (const JobLine &line : *lines)
        items << lineItem(line);
    lvw->addTopLevelItems(items);
    return true;
}

void FrmOpenGC::makeCurrent()
{
    setCurrentJob(m_jobId, m_jobName);
}

void FrmOpenGC::CmdAdd_Click()
{
    makeCurrent();
    FrmAddGCMC dialog(this);
    QString error;
    if (!dialog.prepareAdd(m_jobId, lvw, &error)) {
        reportFailure(this, u"读取门窗数据出错！"_s, error);
        return;
    }
    platform::execDialog(&dialog);
}

void FrmOpenGC::CmcZHMC_Click()
{
    makeCurrent();
    FrmAddGCZHMC dialog(this);
    QString error;
    if (!dialog.prepareAdd(m_jobId, lvw, &error)) {
        reportFailure(this, u"读取门窗数据出错！"_s, error);
        return;
    }
    platform::execDialog(&dialog);
}

void FrmOpenGC::CmdEdit_Click()
{
    QTreeWidgetItem *row = platform::selectedItem(lvw);
    if (!row) {
        platform::inform(this, u"无选取所要编辑的门窗！"_s);
        return;
    }
    makeCurrent();
    CurMCNum = row->text(8);
    QString error;
    if (!itemLine(row).isCombined()) {
        FrmAddGCMC dialog(this);
        if (!dialog.prepareEdit(lvw, row, &error)) {
            reportFailure(this, u"读取门窗数据出错！"_s, error);
            return;
        }
        platform::execDialog(&dialog);
        return;
    }
    FrmAddGCZHMC dialog(this);
    if (!dialog.prepareEdit(lvw, row, &error)) {
        reportFailure(this, u"读取门窗数据出错！"_s, error);
        return;
    }
    platform::execDialog(&dialog);
}

void FrmOpenGC::CmdDel_Click()
{
    QTreeWidgetItem *row = platform::selectedItem(lvw);
    if (!row) {
        platform::inform(this, u"在当前工程中无删除的门窗！"_s);
        return;
    }
    if (!platform::confirmDelete(this, u"确认要删除门窗："_s + platform::deletedName(row->text(0), row->text(8)) + u"吗？"_s))
        return;
    ProjectStore store;
    if (!store.deleteLine(row->text(8).toLongLong())) {
        reportFailure(this, u"删除门窗出错！"_s, store.lastError());
        return;
    }
    delete row;
}

void FrmOpenGC::CmdAutoNum_Click()
{
    const QString stored = platform::SettingsStore::get(app::kSettingsGeneral, u"AUTONUM"_s, u"1"_s);
    // A cancel keeps the stored number.
    const std::optional<QString> typed = platform::askText(this, u"输入"_s, u"输入构件表的起始号码："_s, stored);
    if (!typed)
        return;
    QString error;
    if (!platform::SettingsStore::set(app::kSettingsGeneral, u"AUTONUM"_s, *typed, &error))
        platform::showError(this, error);
}

void FrmOpenGC::CmdPrint_Click()
{
    QTreeWidgetItem *row = platform::selectedItem(lvw);
    if (!row) {
        platform::inform(this, u"当前工程中没有可打印的门窗！"_s);
        return;
    }
    makeCurrent();
    if (jobWindowHooks().openSheets)
        jobWindowHooks().openSheets(this, {m_jobId, m_jobName}, lines(), lvw->indexOfTopLevelItem(row));
}

void FrmOpenGC::CmdTotal_Click()
{
    if (lvw->topLevelItemCount() == 0) {
        platform::inform(this, u"当前工程中无门窗！"_s);
        return;
    }
    makeCurrent();
    if (jobWindowHooks().openStatistics)
        jobWindowHooks().openStatistics(this, {m_jobId, m_jobName}, lines());
}

void FrmOpenGC::cmdYH_Click()
{
    makeCurrent();
    if (jobWindowHooks().openOptimisation)
        jobWindowHooks().openOptimisation(this, m_jobId, m_jobName);
}

} // namespace project::ui
