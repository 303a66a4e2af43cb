#include "frmopenpicture.h"

#include "showpicture.h"
#include "platform/lists.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace drawing::ui {

frmOpenPicture::frmOpenPicture(QWidget *parent) : QDialog(parent)
{
    installNotices();
    setObjectName(u"frmOpenPicture"_s);
    setWindowTitle(u"打开门窗图"_s);

    lvw = new QTreeWidget(this);
    lvw->setObjectName(u"lvw"_s);
    lvw->setColumnCount(2);
    lvw->setHeaderLabels({u"图名"_s, u"编号"_s});
    lvw->setRootIsDecorated(false);
    lvw->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(lvw);
    lvw->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto *numberBox = new QGroupBox(u"窗编号"_s, this);
    txtCBN = new QLineEdit(numberBox);
    txtCBN->setObjectName(u"txtCBN"_s);
    auto *numberLayout = new QHBoxLayout(numberBox);
    numberLayout->addWidget(txtCBN);

    PicMC = new platform::WidgetSurface(this);
    PicMC->setObjectName(u"PicMC"_s);
    PicMC->setFixedSize(320, 267);

    CmdDel = new QPushButton(u"删除"_s, this);
    CmdDel->setObjectName(u"CmdDel"_s);
    OKButton = new QPushButton(u"确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    CancelButton = new QPushButton(u"取消"_s, this);
    CancelButton->setObjectName(u"CancelButton"_s);

    auto *left = new QVBoxLayout;
    left->addWidget(lvw);
    left->addWidget(numberBox);
    auto *right = new QVBoxLayout;
    right->addWidget(PicMC);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CmdDel);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    right->addStretch();
    right->addLayout(buttons);
    auto *main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(right);

    new platform::EnterChain(this, {txtCBN, OKButton});
    connect(lvw, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { itemSelected(item); });
    connect(txtCBN, &QLineEdit::textChanged, this, &frmOpenPicture::numberTyped);
    connect(CmdDel, &QPushButton::clicked, this, &frmOpenPicture::deleteSelected);
    connect(OKButton, &QPushButton::clicked, this, &frmOpenPicture::accepted);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    LoadPictureList();
}

void frmOpenPicture::LoadPictureList()
{
    QList<LibraryEntry> entries;
    QString err;
    if (!m_store.list(&entries, &err)) {
        platform::showError(this, u"图库读取出错！\n"_s + err);
        return;
    }
    for (const LibraryEntry &e : std::as_const(entries))
        new QTreeWidgetItem(lvw, {e.name, QString::number(e.number)});
}

void frmOpenPicture::itemSelected(QTreeWidgetItem *item)
{
    // With nothing selected (after a delete) no drawing may look chosen.
    PicMC->clear();
    if (!item)
        return;
    {
        const QSignalBlocker block(txtCBN);
        txtCBN->setText(item->text(1));
    }
    QString err;
    if (m_preview.OpenFileEX(item->text(1), &err))
        m_preview.PrintPic(*PicMC, 0, 0, kAreaWidth, kAreaHeight, 0, 0, float(PicMC->width()),
                           float(PicMC->height()));
    m_preview.ClearData();
}

void frmOpenPicture::numberTyped(const QString &text)
{
    for (int i = 0; i < lvw->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvw->topLevelItem(i);
        if (item->text(1) == text) {
            lvw->setCurrentItem(item);
            return;
        }
    }
}

void frmOpenPicture::deleteSelected()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无选取图形！"_s);
        return;
    }
    const platform::MsgAnswer answer = platform::messages().message(
        this, u"确定要删除吗？("_s + item->text(0) + u")"_s, u"提示"_s, platform::MsgIcon::Information,
        platform::MsgButtons::YesNo);
    if (answer != platform::MsgAnswer::Yes)
        return;
    QString err;
    if (!m_store.remove(item->text(1).toLongLong(), &err)) {
        platform::showError(this, u"删除图形出错！\n"_s + err);
        return;
    }
    delete item;
    lvw->setCurrentItem(nullptr);
}

void frmOpenPicture::accepted()
{
    QTreeWidgetItem *item = platform::selectedItem(lvw);
    if (!item) {
        platform::inform(this, u"无选取图形！"_s);
        return;
    }
    m_choice = PictureChoice{item->text(1), item->text(0)};
    accept();
}

std::optional<PictureChoice> frmOpenPicture::choose(QWidget *parent, bool canDelete)
{
    frmOpenPicture dialog(parent);
    if (!canDelete)
        dialog.CmdDel->hide();
    platform::execDialog(&dialog);
    return dialog.choice();
}

} // namespace drawing::ui
