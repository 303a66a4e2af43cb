#include "frminputmc.h"

#include "drawing/ui/frmopenpicture.h"
#include "drawing/ui/showpicture.h"
#include "platform/messages.h"
#include "platform/surface_widget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace design {

FrmInputMC::FrmInputMC(QWidget *parent) : catalogue::InputDialogBase(parent)
{
    setObjectName(u"frmInputMC"_s);
    setWindowTitle(u"门窗"_s);

    m_label = new QLabel(u"门窗名称:"_s, this);
    m_label->setObjectName(u"Label1"_s);
    m_name = new QLineEdit(this);
    m_name->setObjectName(u"Text10"_s);
    auto *label2 = new QLabel(u"门窗图位置:"_s, this);
    label2->setObjectName(u"Label2"_s);
    m_drawing = new QLineEdit(this);
    m_drawing->setObjectName(u"Text11"_s);
    m_drawing->setEnabled(false); // filled only by choosing a drawing
    m_load = makeButton(u"CmdLoadMC"_s, u"打开门窗图 &O"_s);
    m_preview = new platform::WidgetSurface(this);
    m_preview->setObjectName(u"PicMC"_s);
    m_preview->setMinimumSize(240, 200);
    auto *ok = makeButton(u"OKButton"_s, u"确定 &Y"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消 &C"_s);

    auto *fields = new QVBoxLayout;
    fields->addWidget(m_label);
    fields->addWidget(m_name);
    fields->addWidget(label2);
    fields->addWidget(m_drawing);
    fields->addWidget(m_load);
    fields->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(fields);
    top->addWidget(m_preview, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    chainEnter(m_name, ok);
    setFirstFocus(m_name);
    connect(m_load, &QPushButton::clicked, this, &FrmInputMC::CmdLoadMC);
    connect(ok, &QPushButton::clicked, this, &FrmInputMC::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_preview, &platform::WidgetSurface::resized, this, &FrmInputMC::redraw);
}

void FrmInputMC::setLabelCaption(const QString &caption) { m_label->setText(caption); }

void FrmInputMC::setTypeName(const QString &name) { m_name->setText(name); }

void FrmInputMC::setDrawingNumber(const QString &number)
{
    m_drawing->setText(number);
    redraw();
}

void FrmInputMC::redraw()
{
    if (m_drawing->text().isEmpty())
        m_preview->clear();
    else
        drawing::ui::ShowMCPicture(m_preview, m_drawing->text());
}

void FrmInputMC::CmdLoadMC()
{
    if (const std::optional<drawing::ui::PictureChoice> chosen = drawing::ui::frmOpenPicture::choose(this))
        setDrawingNumber(chosen->number);
}

void FrmInputMC::onOk()
{
    if (m_name->text().isEmpty())
        return refuse(m_name, u"数据不能为空！"_s);
    if (m_drawing->text().isEmpty())
        return refuse(m_load, u"数据不能为空！"_s);
    m_entered = Result{m_name->text(), m_drawing->text()};
    accept();
}

std::optional<FrmInputMC::Result> FrmInputMC::ask(QWidget *parent, const QString &caption, const QString &name,
                                                  const QString &drawingNumber, const QString &labelCaption)
{
    FrmInputMC dialog(parent);
    dialog.setWindowTitle(caption);
    if (!labelCaption.isEmpty())
        dialog.setLabelCaption(labelCaption);
    dialog.setTypeName(name);
    dialog.setDrawingNumber(drawingNumber);
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace design
