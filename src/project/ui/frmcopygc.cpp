#include "frmcopygc.h"

#include "common.h"
#include "frmopengc.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "project/projectstore.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
QTreeWidget *framedList(QWidget *parent, const QString &name, const QString &caption, QGroupBox **frame)
{
    *frame = new QGroupBox(caption, parent);
    auto *list = new QTreeWidget(*frame);
    list->setObjectName(name);
    platform::currentIsSelected(list);
    auto *layout = new QVBoxLayout(*frame);
    layout->addWidget(list);
    return list;
}
} // namespace

FrmCopyGC::FrmCopyGC(const QString &targetJobId, QWidget *parent) : QDialog(parent), m_target(targetJobId)
{
    setObjectName(u"frmCopyGC"_s);
    setWindowTitle(u"复制工程门窗"_s);

    QGroupBox *jobsFrame = nullptr;
    QGroupBox *linesFrame = nullptr;
    QGroupBox *chosenFrame = nullptr;
    Lvw1 = framedList(this, u"Lvw1"_s, u"可选工程"_s, &jobsFrame);
    Lvw2 = framedList(this, u"Lvw2"_s, u"可选工程->门窗"_s, &linesFrame);
    Lvw3 = framedList(this, u"Lvw3"_s, u"已选入门窗"_s, &chosenFrame);
    Lvw1->setHeaderLabels(jobHeaders());
    Lvw1->setRootIsDecorated(false);
    Lvw1->setAllColumnsShowFocus(true);
    setupLineList(Lvw2);
    setupLineList(Lvw3);

    auto *buttons = new QVBoxLayout;
    auto add = [&](QPushButton *&b, const QString &name, const QString &caption) {
        b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    };
    buttons->addStretch();
    add(CmdSelect, u"CmdSelect"_s, u"选入->"_s);
    add(CmdRemove, u"CmdRemove"_s, u"移除<-"_s);
    add(CmdSelectAll, u"CmdSelectAll"_s, u"全选入>>"_s);
    add(CmdRemoveAll, u"CmdRemoveAll"_s, u"全删除<<"_s);
    add(CmdSave, u"CmdSave"_s, u"保存返回"_s);
    add(CmdExit, u"CmdExit"_s, u"返回"_s);
    buttons->addStretch();

    auto *left = new QVBoxLayout;
    left->addWidget(jobsFrame, 2);
    left->addWidget(linesFrame, 3);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 5);
    layout->addLayout(buttons);
    layout->addWidget(chosenFrame, 5);
    resize(788, 531);

    connect(Lvw1, &QTreeWidget::itemClicked, this, &FrmCopyGC::Lvw1_ItemClick);
    connect(CmdSelect, &QPushButton::clicked, this, &FrmCopyGC::CmdSelect_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmCopyGC::CmdRemove_Click);
    connect(CmdSelectAll, &QPushButton::clicked, this, &FrmCopyGC::CmdSelectAll_Click);
    connect(CmdRemoveAll, &QPushButton::clicked, this, &FrmCopyGC::CmdRemoveAll_Click);
    connect(CmdSave, &QPushButton::clicked, this, &FrmCopyGC::CmdSave_Click);
    connect(CmdExit, &QPushButton::clicked, this, &QDialog::reject);

    QString error;
    if (!fillJobList(Lvw1, &error))
        reportFailure(this, u"读取工程数据出错！"_s, error);
}

void FrmCopyGC::Lvw1_ItemClick()
{
    QTreeWidgetItem *job = platform::selectedItem(Lvw1);
    if (!job)
        return;
    ProjectStore store;
    const std::optional<QList<JobLine>> lines = store.loadLines(job->text(4).toLongLong());
    if (!lines) {
        reportFailure(this, u"读取工程门窗出错！"_s, store.lastError());
        return;
    }
    Lvw2->clear();
    QList<QTreeWidgetItem *> items;
    for (const JobLine &line : *lines)
        items << lineItem(line);
    Lvw2->addTopLevelItems(items);
}

void FrmCopyGC::CmdSelect_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(Lvw2);
    if (!item) {
        platform::inform(this, u"无可选入对象！"_s);
        return;
    }
    Lvw3->addTopLevelItem(lineItem(itemLine(item)));
}

void FrmCopyGC::CmdSelectAll_Click()
{
    if (Lvw2->topLevelItemCount() == 0) {
        platform::inform(this, u"无可选入对象！"_s);
        return;
    }
    QList<QTreeWidgetItem *> items;
    for (const JobLine &line : listLines(Lvw2))
        items << lineItem(line);
    Lvw3->addTopLevelItems(items);
}

void FrmCopyGC::CmdRemove_Click()
{
    QTreeWidgetItem *item = platform::selectedItem(Lvw3);
    if (!item) {
        platform::inform(this, u"无可移除对象！"_s);
        return;
    }
    delete item;
}

void FrmCopyGC::CmdRemoveAll_Click()
{
    if (Lvw3->topLevelItemCount() == 0) {
        platform::inform(this, u"无可选入对象！"_s);
        return;
    }
    Lvw3->clear();
}

void FrmCopyGC::CmdSave_Click()
{
    if (Lvw3->topLevelItemCount() == 0) {
        platform::inform(this, u"无当前工程的门窗！"_s, u"提示"_s, platform::MsgIcon::Critical);
        return;
    }
    ProjectStore store;
    const QList<JobLine> chosen = listLines(Lvw3);
    const std::optional<QList<qint64>> ids = store.copyLines(m_target.toLongLong(), chosen);
    if (!ids) {
        // Nothing was copied; the chosen list stays for another try.
        reportFailure(this, u"复制工程门窗出错！"_s, store.lastError());
        return;
    }
    // Open windows of the target job show the copies too.
    QList<JobLine> copies;
    for (int i = 0; i < chosen.size(); ++i) {
        JobLine copy = chosen.at(i);
        copy.jobId = m_target;
        copy.id = QString::number(ids->at(i));
        copies << copy;
    }
    FrmOpenGC::linesAdded(m_target, copies);
    accept();
}

} // namespace project::ui
