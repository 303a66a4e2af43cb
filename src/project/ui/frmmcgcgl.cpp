#include "frmmcgcgl.h"

#include "common.h"
#include "frmcopygc.h"
#include "frmgcht.h"
#include "frmopengc.h"
#include "platform/keys.h"
#include "platform/lists.h"
#include "platform/mdi.h"
#include "platform/messages.h"
#include "project/projectstate.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

// --- job dialog

FrmInputGC::FrmInputGC(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmInputGC"_s);
    setWindowTitle(u"工程"_s);
    auto *grid = new QGridLayout;
    const QStringList labels = {u"工程名称："_s, u"工程地点："_s, u"甲方单位："_s, u"合同编号："_s};
    for (int i = 0; i < 4; ++i) {
        Text1[size_t(i)] = new QLineEdit(this);
        Text1[size_t(i)]->setObjectName(u"Text1%1"_s.arg(i));
        grid->addWidget(new QLabel(labels.at(i), this), i, 0);
        grid->addWidget(Text1[size_t(i)], i, 1);
    }
    OKButton = makeButton(this, u"OKButton"_s, u"确定"_s);
    CancelButton = makeButton(this, u"CancelButton"_s, u"取消"_s);
    new platform::EnterChain(this, {Text1[0], Text1[1], Text1[2], Text1[3], OKButton});
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(378, 230);

    connect(OKButton, &QPushButton::clicked, this, &FrmInputGC::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmInputGC::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Text1[0]->setFocus();
}

bool FrmInputGC::CheckInput()
{
    for (QLineEdit *box : Text1)
        if (box->text().isEmpty()) {
            platform::inform(this, u"数据不能为空！"_s);
            box->setFocus();
            return false;
        }
    return true;
}

void FrmInputGC::OKButton_Click()
{
    if (!CheckInput())
        return;
    m_confirmed = true;
    accept();
}

std::optional<Job> FrmInputGC::entered() const
{
    if (!m_confirmed)
        return std::nullopt;
    return Job{m_jobId, Text1[3]->text(), Text1[0]->text(), Text1[1]->text(), Text1[2]->text()};
}

std::optional<Job> FrmInputGC::ask(QWidget *parent, const QString &caption, const Job *shown)
{
    FrmInputGC dialog(parent);
    if (shown) {
        dialog.m_jobId = shown->id;
        const QString texts[] = {shown->name, shown->site, shown->client, shown->contractNo};
        for (size_t i = 0; i < dialog.Text1.size(); ++i)
            dialog.Text1[i]->setText(texts[i]);
    }
    dialog.setWindowTitle(caption);
    platform::execDialog(&dialog);
    return dialog.entered();
}

// --- job list

FrmMCGCGL::FrmMCGCGL(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"frmMCGCGL"_s);
    setWindowTitle(u"塑钢工程管理"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    lvw = new QTreeWidget(this);
    lvw->setObjectName(u"lvw"_s);
    lvw->setHeaderLabels(jobHeaders());
    lvw->setRootIsDecorated(false);
    lvw->setAllColumnsShowFocus(true);
    lvw->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(lvw);
    const int widths[] = {163, 163, 163, 96, 96};
    for (int i = 0; i < 5; ++i)
        lvw->setColumnWidth(i, widths[i]);

    CmdAdd = makeButton(this, u"CmdAdd"_s, u"新建工程"_s);
    CmdEdit = makeButton(this, u"CmdEdit"_s, u"编辑工程"_s);
    CmdOpen = makeButton(this, u"CmdOpen"_s, u"打开工程"_s);
    CmdOpenHT = makeButton(this, u"CmdOpenHT"_s, u"打开合同"_s);
    CmdDel = makeButton(this, u"CmdDel"_s, u"删除工程"_s);
    CmdCopyGCMC = makeButton(this, u"CmdCopyGCMC"_s, u"复制工程门窗"_s);
    CmdExit = makeButton(this, u"CmdExit"_s, u"退  出"_s);
    auto *strip = new QWidget(this);
    strip->setObjectName(u"Picture2"_s);
    auto *buttons = new QHBoxLayout(strip);
    for (QPushButton *b : {CmdAdd, CmdEdit, CmdOpen, CmdOpenHT, CmdDel, CmdCopyGCMC, CmdExit})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvw, 1);
    layout->addWidget(strip);
    resize(619, 397);

    connect(CmdAdd, &QPushButton::clicked, this, &FrmMCGCGL::CmdAdd_Click);
    connect(CmdEdit, &QPushButton::clicked, this, &FrmMCGCGL::CmdEdit_Click);
    connect(CmdOpen, &QPushButton::clicked, this, [this] { CmdOpen_Click(); });
    connect(CmdOpenHT, &QPushButton::clicked, this, &FrmMCGCGL::CmdOpenHT_Click);
    connect(CmdDel, &QPushButton::clicked, this, &FrmMCGCGL::CmdDel_Click);
    connect(CmdCopyGCMC, &QPushButton::clicked, this, &FrmMCGCGL::CmdCopyGCMC_Click);
    connect(CmdExit, &QPushButton::clicked, this, [this] { closeWorkWindow(this); });
    connect(lvw, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (platform::selectedItem(lvw))
            CmdOpen_Click();
    });

    LoadGCList();
}

bool FrmMCGCGL::LoadGCList()
{
    QString error;
    if (fillJobList(lvw, &error))
        return true;
    reportFailure(this, u"读取工程数据出错！"_s, error);
    return false;
}

void FrmMCGCGL::Form_Activate()
{
    // 编号 sorts as text, as the list always has: job 10 comes before job 9.
    lvw->sortItems(4, Qt::AscendingOrder);
}

void FrmMCGCGL::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

bool FrmMCGCGL::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void FrmMCGCGL::CmdAdd_Click()
{
    const std::optional<Job> job = FrmInputGC::ask(this, u"添加->工程"_s);
    if (!job)
        return;
    ProjectStore store;
    const std::optional<qint64> id = store.addJob(*job);
    if (!id) {
        reportFailure(this, u"添加工程出错！"_s, store.lastError());
        return;
    }
    Job added = *job;
    added.id = *id;
    lvw->addTopLevelItem(jobItem(added));
    Form_Activate();
}

void FrmMCGCGL::CmdEdit_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无选取所需编辑的对象！"_s);
        return;
    }
    const Job shown = itemJob(item);
    const std::optional<Job> job = FrmInputGC::ask(this, u"编辑->工程"_s, &shown);
    if (!job)
        return;
    ProjectStore store;
    if (!store.updateJob(*job)) {
        reportFailure(this, u"修改工程出错！"_s, store.lastError());
        return;
    }
    setJobItem(item, *job);
}

void FrmMCGCGL::CmdDel_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无选取所需删除的对象！"_s);
        return;
    }
    if (!platform::confirmDelete(this, u"确认要删除工程："_s + platform::deletedName(item->text(0), item->text(4)) + u"吗？"_s))
        return;
    ProjectStore store;
    if (!store.deleteJob(item->text(4).toLongLong())) {
        reportFailure(this, u"删除工程出错！"_s, store.lastError());
        return;
    }
    delete item;
}

FrmOpenGC *FrmMCGCGL::CmdOpen_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无打开的工程！"_s);
        return nullptr;
    }
    auto *window = new FrmOpenGC(item->text(4), item->text(0));
    window->setWindowTitle(u"工程->"_s + item->text(0));
    QString error;
    if (!window->LoadGCMCList(&error)) {
        delete window;
        reportFailure(this, u"读取工程门窗出错！"_s, error);
        return nullptr;
    }
    setCurrentJob(item->text(4), item->text(0));
    if (m_area)
        platform::addSubWindow(m_area, window);
    else
        window->show();
    return window;
}

void FrmMCGCGL::CmdCopyGCMC_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无打开的工程！"_s);
        return;
    }
    FrmCopyGC dialog(item->text(4), this);
    dialog.setWindowTitle(u"复制工程门窗->"_s + item->text(0));
    setCurrentJob(item->text(4), item->text(0));
    platform::execDialog(&dialog);
}

void FrmMCGCGL::CmdOpenHT_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无存在工程无法打开工程合同！"_s);
        return;
    }
    FrmGCHT sheet(item->text(4).toLongLong(), this);
    platform::execDialog(&sheet);
}

FrmMCGCGL *showProjectWindow(QMdiArea *area)
{
    static QPointer<FrmMCGCGL> instance;
    FrmMCGCGL *window = platform::showSingleSubWindow(area, instance);
    window->setMdiArea(area);
    return window;
}
} // namespace project::ui
