#include "frmcreate.h"

#include "frmresult.h"
#include "optimise/yhgather.h"
#include "optimise/yhoption.h"
#include "optimise/yhrun.h"
#include "optimise/yhstore.h"
#include "platform/messages.h"
#include "yhlists.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

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

const QStringList kWindowHeaders = {u"门窗名称"_s, u"门窗类型"_s, u"制作尺寸"_s, u"樘数"_s, u"门窗编号"_s, u"编号"_s};

// The two lists with the four movers between them, and Next and Exit below.
void layoutPicker(QDialog *dialog, QTreeWidget *available, QTreeWidget *chosen, const QStringList &moverCaptions,
                  QPushButton *nextButton, QPushButton *exitButton, QWidget *extra = nullptr)
{
    auto *move = button(u"CmdMove"_s, moverCaptions.at(0), dialog);
    auto *moveAll = button(u"CmdMoveAll"_s, moverCaptions.at(1), dialog);
    auto *remove = button(u"CmdRemove"_s, moverCaptions.at(2), dialog);
    auto *removeAll = button(u"CmdRemoveAll"_s, moverCaptions.at(3), dialog);
    QObject::connect(move, &QPushButton::clicked, dialog, [=] { MoveListItem(available, chosen); });
    QObject::connect(moveAll, &QPushButton::clicked, dialog, [=] { MoveAllListItems(available, chosen); });
    QObject::connect(remove, &QPushButton::clicked, dialog, [=] { RemoveListItem(available, chosen); });
    QObject::connect(removeAll, &QPushButton::clicked, dialog, [=] { RemoveAllListItems(available, chosen); });

    auto *movers = new QVBoxLayout;
    movers->addStretch();
    for (QPushButton *b : {move, moveAll, remove, removeAll})
        movers->addWidget(b);
    movers->addStretch();
    auto *lists = new QHBoxLayout;
    lists->addWidget(available, 1);
    lists->addLayout(movers);
    lists->addWidget(chosen, 1);
    auto *buttons = new QHBoxLayout;
    if (extra)
        buttons->addWidget(extra, 1);
    // Takes the room of a hidden extra, so the buttons keep their size.
    buttons->addStretch();
    buttons->addWidget(nextButton);
    buttons->addWidget(exitButton);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
}
} // namespace

// ---- Step one -------------------------------------------------------------------------------

FrmCreate01::FrmCreate01(const CutSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(u"frmCreate01"_s);
    setWindowTitle(u"创建优化之步骤1---->选择工程"_s);
    resize(640, 420);
    m_list = makeList(u"lvw"_s, this);
    auto *next = button(u"CmdNext"_s, u"&N 下一步"_s, this);
    auto *exit = button(u"Command1"_s, u"&E 退出"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, &FrmCreate01::next);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    load();
}

void FrmCreate01::load()
{
    setHeaders(m_list, {u"工程名称"_s, u"工程地点"_s, u"甲方单位"_s, u"编号"_s, u"合同编号"_s});
    YHStore store;
    const auto jobs = store.jobs();
    if (!jobs)
        return;
    for (const QStringList &f : *jobs)
        addItem(m_list, {f.value(2), f.value(3), f.value(4), f.value(0), f.value(1)});
}

void FrmCreate01::next()
{
    QTreeWidgetItem *item = selectedItem(m_list);
    if (!item) {
        platform::inform(this, u"无选择的工程"_s);
        return;
    }
    YHGCName = item->text(0);
    FrmCreate02 step(item->text(3), m_settings, this);
    platform::execDialog(&step);
}

// ---- Step two -------------------------------------------------------------------------------

FrmCreate02::FrmCreate02(const QString &tag, const CutSettings &settings, QWidget *parent)
    : QDialog(parent), m_tag(tag), m_settings(settings)
{
    setObjectName(u"frmCreate02"_s);
    setWindowTitle(u"创建优化之步骤2---->选择门窗"_s);
    resize(820, 460);
    m_available = makeList(u"LvwR"_s, this);
    m_chosen = makeList(u"LvwD"_s, this);
    auto *next = button(u"CmdNext"_s, u"&N 下一步"_s, this);
    auto *exit = button(u"CmdExit"_s, u"&E 退出"_s, this);
    layoutPicker(this, m_available, m_chosen, {u"选入->"_s, u"全选>>"_s, u"<-移出"_s, u"<<清空"_s}, next, exit);
    connect(next, &QPushButton::clicked, this, &FrmCreate02::next);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    refill();
}

void FrmCreate02::refill()
{
    setHeaders(m_available, kWindowHeaders);
    setHeaders(m_chosen, kWindowHeaders);
    bool whole = false;
    const qint64 jobId = m_tag.trimmed().toLongLong(&whole);
    if (!whole)
        return;
    YHStore store;
    const auto windows = store.jobWindows(jobId);
    if (!windows)
        return;
    for (const QStringList &f : *windows)
        addItem(m_available, {f.value(3), f.value(4), f.value(7), f.value(8), f.value(1), f.value(2)},
                f.value(2).trimmed());
}

void FrmCreate02::next()
{
    if (m_chosen->topLevelItemCount() == 0) {
        platform::inform(this, u"无选择所需优化门窗"_s);
        return;
    }
    QList<ChosenWindow> windows;
    for (int i = 0; i < m_chosen->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = m_chosen->topLevelItem(i);
        windows.append({itemTag(item), item->text(3), item->text(4), item->text(5)});
    }
    YHStore store;
    QString err;
    if (!BuildYHData(store, windows, &err)) {
        platform::showError(this, err);
        return;
    }
    {
        FrmCreate03 step(m_settings, this);
        platform::execDialog(&step);
    }
    refill();
}

// ---- Step three -----------------------------------------------------------------------------

FrmCreate03::FrmCreate03(const CutSettings &settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(u"frmCreate03"_s);
    setWindowTitle(u"创建优化之步骤3---->选择材料"_s);
    resize(560, 420);
    m_available = makeList(u"LvwR"_s, this);
    m_chosen = makeList(u"LvwD"_s, this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"ProgressBar"_s);
    m_progress->setVisible(false);
    auto *next = button(u"CmdNext"_s, u"&Y 优化"_s, this);
    auto *exit = button(u"CmdExit"_s, u"&E 退出"_s, this);
    layoutPicker(this, m_available, m_chosen, {u"->"_s, u">>"_s, u"<-"_s, u"<<"_s}, next, exit, m_progress);
    connect(next, &QPushButton::clicked, this, &FrmCreate03::optimise);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    load();
}

void FrmCreate03::load()
{
    setHeaders(m_available, {u"规格"_s});
    setHeaders(m_chosen, {u"规格"_s});
    YHStore store;
    const auto codes = store.materialCodes();
    if (!codes)
        return;
    for (const QString &code : *codes)
        addItem(m_available, {code});
}

bool FrmCreate03::RunYH()
{
    QStringList codes;
    for (int i = 0; i < m_chosen->topLevelItemCount(); ++i)
        codes << m_chosen->topLevelItem(i)->text(0);
    m_progress->setRange(1, int(codes.size()) + 1);
    m_progress->setValue(1);
    m_progress->setVisible(true);
    YHStore store;
    const RunOutcome r = optimise::RunYH(store, codes, m_settings, [this](int i) {
        m_progress->setValue(i + 2);
        QTreeWidgetItem *item = m_chosen->topLevelItem(i);
        m_chosen->setCurrentItem(item);
        item->setSelected(true);
    });
    m_progress->setVisible(false);
    showCutNotices(this, r.notices);
    if (!r.ok)
        platform::showError(this, r.error);
    return r.ok;
}

void FrmCreate03::optimise()
{
    if (const QString notice = barLengthNotice(m_settings); !notice.isEmpty()) {
        platform::inform(this, notice);
        return;
    }
    // After a failed run the old plan is still stored: showing it would pass it off as this run's.
    if (m_chosen->topLevelItemCount() > 0 && !RunYH())
        return;
    FrmResult result(this);
    platform::execDialog(&result);
}

} // namespace optimise::ui
