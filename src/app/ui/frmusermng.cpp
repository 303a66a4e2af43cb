#include "frmusermng.h"

#include "platform/lists.h"
#include "platform/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

namespace {
const QString kTitle = u"提示！"_s;
const QString kSaveErrorTitle = u"出错了"_s;
enum { Add, Edit, Delete, Save, Cancel };
} // namespace

const std::array<QString, kRightsCount> &FrmUserMng::authCaptions()
{
    static const std::array<QString, kRightsCount> captions = {
        u"材料库"_s,    u"绘制图"_s, u"窗型设计"_s, u"工程管理"_s, u"材料优化"_s, u"风压校核"_s,
        u"备份/恢复"_s, u"设置"_s,   u"更改背景"_s, u"用户管理"_s, u"更改密码"_s, u"仓库管理"_s};
    return captions;
}

FrmUserMng::FrmUserMng(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmUserMng"_s);
    setWindowTitle(u"用户管理"_s);
    setModal(true);

    auto *listFrame = new QGroupBox(u"表视图："_s, this);
    lvw = new QTreeWidget(listFrame);
    lvw->setObjectName(u"lvw"_s);
    lvw->setColumnCount(1);
    lvw->setHeaderLabels({u"用户名"_s});
    lvw->setRootIsDecorated(false);
    lvw->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(lvw);
    (new QVBoxLayout(listFrame))->addWidget(lvw);

    Frame2 = new QGroupBox(u"编辑视图："_s, this);
    Frame2->setObjectName(u"Frame2"_s);
    txtUsrNm = new QLineEdit(Frame2);
    txtUsrNm->setObjectName(u"txtUsrNm"_s);
    txtUsrPwd = new QLineEdit(Frame2);
    txtUsrPwd->setObjectName(u"txtUsrPwd"_s);
    txtUsrPwd->setEchoMode(QLineEdit::Password);
    auto *authFrame = new QGroupBox(u"权限："_s, Frame2);
    auto *authGrid = new QGridLayout(authFrame);
    for (int i = 0; i < kRightsCount; ++i) {
        chkAuth[size_t(i)] = new QCheckBox(authCaptions()[size_t(i)], authFrame);
        chkAuth[size_t(i)]->setObjectName(u"chkAuth%1"_s.arg(i));
        authGrid->addWidget(chkAuth[size_t(i)], i / 3, i % 3);
    }
    auto *editGrid = new QGridLayout(Frame2);
    editGrid->addWidget(new QLabel(u"用户名："_s, Frame2), 0, 0);
    editGrid->addWidget(txtUsrNm, 0, 1);
    editGrid->addWidget(new QLabel(u"密码："_s, Frame2), 1, 0);
    editGrid->addWidget(txtUsrPwd, 1, 1);
    editGrid->addWidget(authFrame, 2, 0, 1, 2);
    Frame2->setEnabled(false);

    const QStringList captions = {u"添加"_s, u"修改"_s, u"删除"_s, u"保存"_s, u"取消"_s};
    auto *buttons = new QHBoxLayout;
    for (int i = 0; i < int(cmdOpr.size()); ++i) {
        auto *b = new QPushButton(captions.at(i), this);
        b->setObjectName(u"cmdOpr%1"_s.arg(i));
        b->setAutoDefault(false);
        b->setEnabled(i < Save);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOprClick(i); });
        buttons->addWidget(b);
        cmdOpr[size_t(i)] = b;
    }
    OKButton = new QPushButton(u"关闭"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    OKButton->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->addWidget(listFrame);
    top->addWidget(Frame2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // A click loads the account even when its item is already current; the arrow keys load the
    // item they move to. A click that moves the current item loads once, on release.
    connect(lvw, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            loadAccount(item->text(0));
    });
    connect(lvw, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && QApplication::mouseButtons() == Qt::NoButton)
            loadAccount(item->text(0));
    });

    QString err;
    if (!m_store.open(&err)) {
        platform::showError(this, err);
        return;
    }
    LoadUserNames();
}

void FrmUserMng::LoadUserNames()
{
    QString err;
    const auto names = m_store.userNames(&err);
    if (!names) {
        platform::showError(this, err);
        return;
    }
    // The first account starts selected, without loading it into the fields.
    const QSignalBlocker block(lvw);
    for (const QString &n : *names)
        lvw->addTopLevelItem(new QTreeWidgetItem(QStringList{n}));
    if (lvw->topLevelItemCount() > 0)
        lvw->setCurrentItem(lvw->topLevelItem(0));
}

Lookup FrmUserMng::loadAccount(const QString &name)
{
    Account a;
    QString err;
    const Lookup found = m_store.loadAccount(name, &a, &err);
    if (found == Lookup::Failed)
        platform::showError(this, err);
    if (found != Lookup::Found)
        return found;
    txtUsrNm->setText(a.name);
    txtUsrPwd->setText(a.password);
    RightsBoxes b = boxes();
    rightsToBoxes(a.rights, b);
    setBoxes(b);
    return found;
}

QTreeWidgetItem *FrmUserMng::selectedItem() const
{
    return platform::selectedItem(lvw);
}

RightsBoxes FrmUserMng::boxes() const
{
    RightsBoxes b{};
    for (int i = 0; i < kRightsCount; ++i)
        b[size_t(i)] = chkAuth[size_t(i)]->isChecked();
    return b;
}

void FrmUserMng::setBoxes(const RightsBoxes &b)
{
    for (int i = 0; i < kRightsCount; ++i)
        chkAuth[size_t(i)]->setChecked(b[size_t(i)]);
}

void FrmUserMng::toggleEditState()
{
    for (QPushButton *b : cmdOpr)
        b->setEnabled(!b->isEnabled());
    Frame2->setEnabled(!Frame2->isEnabled());
}

void FrmUserMng::cmdOprClick(int index)
{
    switch (index) {
    case Add:
        m_editing = false;
        txtUsrNm->clear();
        txtUsrPwd->clear();
        setBoxes(RightsBoxes{});
        toggleEditState();
        txtUsrNm->setFocus();
        break;
    case Edit:
        if (lvw->topLevelItemCount() == 0) {
            platform::inform(this, u"没有可编辑的用户！"_s, kTitle);
            return;
        }
        if (txtUsrNm->text().isEmpty()) {
            QTreeWidgetItem *item = selectedItem();
            if (!item) {
                platform::inform(this, u"请选择要修改的用户！"_s, kTitle);
                return;
            }
            if (loadAccount(item->text(0)) == Lookup::Failed)
                return;
        }
        m_editing = true;
        // An edit changes only the rights.
        txtUsrNm->setEnabled(false);
        txtUsrPwd->setEnabled(false);
        toggleEditState();
        break;
    case Delete:
        deleteSelected();
        break;
    case Save:
        if (txtUsrNm->text().isEmpty()) {
            platform::inform(this, u"用户名不能为空！"_s, kTitle);
            txtUsrNm->setFocus();
            return;
        }
        if (txtUsrPwd->text().isEmpty()) {
            platform::inform(this, u"用户名密码不能为空！"_s, kTitle);
            txtUsrPwd->setFocus();
            return;
        }
        if (!m_editing && !passwordAcceptable(txtUsrPwd->text())) {
            platform::inform(this, kPasswordTooShort, kTitle);
            txtUsrPwd->setFocus();
            return;
        }
        if (save()) {
            txtUsrNm->setEnabled(true);
            txtUsrPwd->setEnabled(true);
            toggleEditState();
        }
        break;
    case Cancel:
        txtUsrNm->setEnabled(true);
        txtUsrPwd->setEnabled(true);
        toggleEditState();
        break;
    default:
        break;
    }
}

bool FrmUserMng::save()
{
    const QString rights = boxesToRights(boxes());
    const QString name = txtUsrNm->text();
    QString err;
    if (m_editing) {
        if (!m_store.updateRights(name, rights, &err)) {
            platform::showError(this, err, kSaveErrorTitle);
            return false;
        }
        return true;
    }
    switch (m_store.add(name, txtUsrPwd->text(), rights, &err)) {
    case AddResult::Exists:
        platform::inform(this, u"用户名已存在，不能添加重复的项！"_s, kTitle);
        return false;
    case AddResult::Failed:
        platform::showError(this, err, kSaveErrorTitle);
        return false;
    case AddResult::Added:
        break;
    }
    const QSignalBlocker block(lvw);
    lvw->addTopLevelItem(new QTreeWidgetItem(QStringList{name}));
    return true;
}

void FrmUserMng::deleteSelected()
{
    if (lvw->topLevelItemCount() == 0) {
        platform::inform(this, u"没有可删除的用户！"_s, kTitle);
        return;
    }
    QTreeWidgetItem *item = selectedItem();
    if (!item) {
        platform::inform(this, u"请选择要删除的用户！"_s, kTitle);
        return;
    }
    const QString name = item->text(0);
    if (name == u"Admin"_s) {
        platform::inform(this, u"系统管理员不能删除！"_s, kTitle);
        return;
    }
    if (platform::messages().message(this, u"确认要删除该用户吗？"_s + name, kTitle, platform::MsgIcon::Question,
                                     platform::MsgButtons::OkCancel)
        != platform::MsgAnswer::Ok)
        return;
    QString err;
    if (!m_store.remove(name, &err)) {
        platform::showError(this, err);
        return;
    }
    {
        // The next item must not be loaded over the fields while the list shrinks.
        const QSignalBlocker block(lvw);
        delete item;
    }
    // Fields still showing the deleted account would let 修改 edit an account that is gone.
    if (txtUsrNm->text() == name) {
        txtUsrNm->clear();
        txtUsrPwd->clear();
        setBoxes(RightsBoxes{});
    }
}

} // namespace app
