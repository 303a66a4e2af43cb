#include "frmsavepicex.h"

#include "drawing/cpictire.h"
#include "drawing/store.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace drawing::ui {

frmSavePicEX::frmSavePicEX(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmSavePicEX"_s);
    setWindowTitle(u"保存"_s);
    Frame1 = new QGroupBox(u"保存图形"_s, this);
    Frame1->setObjectName(u"Frame1"_s);
    Label2 = new QLabel(u"图形编号："_s, Frame1);
    Label2->setObjectName(u"Label2"_s);
    Text2 = new QLineEdit(Frame1);
    Text2->setObjectName(u"Text2"_s);
    Label1 = new QLabel(u"图形名称："_s, Frame1);
    Label1->setObjectName(u"Label1"_s);
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(u"Text1"_s);
    auto *grid = new QGridLayout(Frame1);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text2, 0, 1);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Text1, 1, 1);

    OKButton = new QPushButton(u"确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    CancelButton = new QPushButton(u"取消"_s, this);
    CancelButton->setObjectName(u"CancelButton"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto *main = new QVBoxLayout(this);
    main->addWidget(Frame1);
    main->addLayout(buttons);

    new platform::EnterChain(this, {Text2, Text1, OKButton});
    connect(OKButton, &QPushButton::clicked, this, &frmSavePicEX::accepted);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    DrawingStore store;
    if (const std::optional<qint64> next = store.nextNumber())
        Text2->setText(QString::number(*next));
    else
        platform::showError(this, u"图库读取出错！\n"_s + store.lastError());
}

void frmSavePicEX::accepted()
{
    const QString typed = Text2->text().trimmed();
    const std::optional<qint64> number = drawingNumber(typed);
    if (!number) {
        platform::inform(this, u"图形编号必须是正整数！"_s);
        Text2->setSelection(0, 10);
        Text2->setFocus();
        return;
    }
    DrawingStore store;
    const std::optional<bool> taken = store.exists(*number);
    if (!taken) {
        platform::showError(this, u"图库读取出错！\n"_s + store.lastError());
        return;
    }
    if (*taken) {
        platform::inform(this, u"该编号已存在，请重新输入新的编号。"_s);
        Text2->setSelection(0, 10);
        Text2->setFocus();
        return;
    }
    if (Text1->text().trimmed().isEmpty()) {
        platform::inform(this, u"图形名称不能为空！"_s);
        Text1->setSelection(0, 50);
        Text1->setFocus();
        return;
    }
    m_entered = NewLibraryPicture{*number, Text1->text()};
    accept();
}

std::optional<NewLibraryPicture> frmSavePicEX::ask(QWidget *parent)
{
    frmSavePicEX dialog(parent);
    dialog.setWindowTitle(u"保存文件名"_s);
    dialog.Label1->setText(u"文件名："_s);
    dialog.Text1->clear();
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace drawing::ui
