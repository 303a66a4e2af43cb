#include "dialogs.h"

#include "catalogue/numbers.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace catalogue {

namespace {
bool numericKeys(const QString &text)
{
    for (const QChar c : text)
        if ((c < u'0' || c > u'9') && c != u'.')
            return false;
    return true;
}

// A frame of labels beside boxes, named as the forms name them (Label1 beside Text1(0) ...).
QGroupBox *boxFrame(QWidget *parent, const QString &caption, int count, QList<QLabel *> *labels,
                    QList<QLineEdit *> *boxes)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(u"Frame1"_s);
    auto *grid = new QGridLayout(frame);
    for (int i = 0; i < count; ++i) {
        auto *label = new QLabel(frame);
        label->setObjectName(u"Label%1"_s.arg(i + 1));
        auto *box = new QLineEdit(frame);
        box->setObjectName(u"Text1%1"_s.arg(i));
        box->setMinimumWidth(200);
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        *labels << label;
        *boxes << box;
    }
    return frame;
}

QHBoxLayout *buttonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    if (cancel)
        row->addWidget(cancel);
    return row;
}
} // namespace

// --- shared key handling

InputDialogBase::InputDialogBase(QWidget *parent) : QDialog(parent)
{
    setModal(true);
}

void InputDialogBase::chainEnter(QWidget *from, QWidget *to)
{
    new platform::EnterChain(this, {from, to});
}

void InputDialogBase::setNumericOnly(QLineEdit *box)
{
    m_numeric.insert(box);
    box->installEventFilter(this);
}

void InputDialogBase::setFirstFocus(QWidget *widget)
{
    m_first = widget;
    widget->setFocus();
}

void InputDialogBase::refuse(QWidget *box, const QString &text, const QString &title)
{
    platform::inform(this, text, title);
    box->setFocus();
}

QPushButton *InputDialogBase::makeButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    return button;
}

void InputDialogBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown && m_first) {
        // Only the first time: the focus a refused OK gave must survive the message box.
        m_shown = true;
        m_first->setFocus();
    }
}

bool InputDialogBase::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_numeric.contains(watched)) {
            if (key->matches(QKeySequence::Paste))
                return true;
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).category() != QChar::Other_Control && !numericKeys(text))
                return true;
        }
    } else if (event->type() == QEvent::InputMethod && m_numeric.contains(watched)) {
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (!numericKeys(im->commitString()) || !im->preeditString().isEmpty())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- frmInputCJ

FrmInputCJ::FrmInputCJ(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmInputCJ"_s);
    auto *frame = boxFrame(this, u"输入内容："_s, 4, &m_labels, &m_boxes);
    auto *grid = static_cast<QGridLayout *>(frame->layout());
    auto *kindLabel = new QLabel(frame);
    kindLabel->setObjectName(u"Label5"_s);
    m_labels << kindLabel;
    m_kind = new QComboBox(frame);
    m_kind->setObjectName(u"Combo1"_s);
    m_kind->addItems({u"型材厂家"_s, u"型钢厂家"_s, u"板材厂家"_s, u"配件厂家"_s});
    m_kind->setCurrentIndex(-1);
    kindLabel->setBuddy(m_kind);
    grid->addWidget(kindLabel, 4, 0);
    grid->addWidget(m_kind, 4, 1);

    auto *ok = makeButton(u"OKButton"_s, u"确定 &Y"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消 &C"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow(ok, cancel));

    for (int i = 0; i < 3; ++i)
        chainEnter(m_boxes[i], m_boxes[i + 1]);
    chainEnter(m_boxes[3], m_kind);
    chainEnter(m_kind, ok);
    setFirstFocus(m_boxes[0]);

    connect(ok, &QPushButton::clicked, this, &FrmInputCJ::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmInputCJ::setLabelCaptions(const QStringList &captions)
{
    for (int i = 0; i < m_labels.size() && i < captions.size(); ++i)
        m_labels[i]->setText(captions[i]);
}

void FrmInputCJ::setTexts(const QStringList &texts)
{
    for (int i = 0; i < m_boxes.size() && i < texts.size(); ++i)
        m_boxes[i]->setText(texts[i]);
}

void FrmInputCJ::setKindIndex(int index) { m_kind->setCurrentIndex(index >= 0 && index < m_kind->count() ? index : -1); }

void FrmInputCJ::onOk()
{
    for (QLineEdit *box : std::as_const(m_boxes))
        if (box->text().isEmpty())
            return refuse(box, kEmptyMessage);
    if (m_kind->currentIndex() < 0)
        return refuse(m_kind, kEmptyMessage);
    Maker typed = m_shown;
    typed.name = m_boxes[0]->text();
    typed.phone = m_boxes[1]->text();
    typed.address = m_boxes[2]->text();
    typed.fax = m_boxes[3]->text();
    typed.kind = m_kind->currentIndex() + 1;
    m_entered = typed;
    accept();
}

std::optional<Maker> FrmInputCJ::ask(QWidget *parent, const QString &caption, const QStringList &labels,
                                     const Maker &shown)
{
    FrmInputCJ dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelCaptions(labels);
    dialog.setTexts({shown.name, shown.phone, shown.address, shown.fax});
    dialog.setKindIndex(shown.kind - 1);
    dialog.m_shown = shown;
    platform::execDialog(&dialog);
    return dialog.entered();
}

// --- frmInputXL

FrmInputXL::FrmInputXL(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmInputXL"_s);
    QList<QLabel *> labels;
    QList<QLineEdit *> boxes;
    auto *frame = boxFrame(this, u"输入内容："_s, 1, &labels, &boxes);
    m_label = labels.first();
    m_box = boxes.first();
    auto *ok = makeButton(u"OKButton"_s, u"确定 &Y"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消 &C"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow(ok, cancel));

    chainEnter(m_box, ok);
    setFirstFocus(m_box);
    connect(ok, &QPushButton::clicked, this, &FrmInputXL::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmInputXL::setLabelCaption(const QString &caption) { m_label->setText(caption); }

void FrmInputXL::setText(const QString &text) { m_box->setText(text); }

void FrmInputXL::onOk()
{
    if (m_box->text().isEmpty())
        return refuse(m_box, kEmptyMessage);
    m_entered = m_box->text();
    accept();
}

std::optional<QString> FrmInputXL::ask(QWidget *parent, const QString &caption, const QString &label,
                                       const QString &text)
{
    FrmInputXL dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelCaption(label);
    dialog.setText(text);
    platform::execDialog(&dialog);
    return dialog.entered();
}

// --- frmXLOption

FrmXLOption::FrmXLOption(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmXLOption"_s);
    setWindowTitle(u"选项"_s);
    auto *frame = new QGroupBox(u"选择要添加的结点选项"_s, this);
    frame->setObjectName(u"Frame1"_s);
    m_addMaker = new QRadioButton(u"添加厂家"_s, frame);
    m_addMaker->setObjectName(u"Option1"_s);
    m_addSeries = new QRadioButton(u"添加系列"_s, frame);
    m_addSeries->setObjectName(u"Option2"_s);
    auto *options = new QVBoxLayout(frame);
    options->addWidget(m_addMaker);
    options->addWidget(m_addSeries);
    m_addMaker->setChecked(true);

    auto *ok = makeButton(u"OKButton"_s, u"&Y 确定"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow(ok, nullptr));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void FrmXLOption::showEvent(QShowEvent *event)
{
    InputDialogBase::showEvent(event);
    m_addMaker->setChecked(true);
}

void FrmXLOption::done(int result)
{
    // However the window closes, the choice is what is selected.
    m_choice = m_addMaker->isChecked() ? AddMaker : AddSeries;
    InputDialogBase::done(result);
}

FrmXLOption::Choice FrmXLOption::choose(QWidget *parent)
{
    FrmXLOption option(parent);
    platform::execDialog(&option);
    return option.choice();
}

// --- item dialogs

const ItemDialogTexts &itemDialogTexts(ItemKind kind)
{
    static const QList<ItemDialogTexts> texts = {
        {u"添加->型材"_s, u"编辑->型材"_s,
         {u"型材名称"_s, u"型材型号"_s, u"型材长度mm"_s, u"型材厚度mm"_s, u"型材颜色"_s, u"型材线密度(KG/M)"_s,
          u"型材吨价格(元)"_s},
         {QString(), QString(), u"6000"_s, u"2"_s, u"-"_s, QString(), QString()}},
        {u"添加->型钢"_s, u"编辑->型钢"_s,
         {u"型钢名称"_s, u"型钢型号"_s, u"型钢长度mm"_s, u"型钢厚度mm"_s, u"型钢颜色"_s, u"型钢线密度(KG/M)"_s,
          u"型钢吨价格(元)"_s},
         {QString(), QString(), u"6000"_s, u"2"_s, u"-"_s, QString(), QString()}},
        {u"添加->板材"_s, u"编辑->板材"_s,
         {u"板材名称"_s, u"板材长(mm)"_s, u"板材宽(mm)"_s, u"板材厚度(mm)"_s, u"板材颜色"_s, u"平方单价(元)"_s},
         {QString(), u"2000"_s, u"2000"_s, u"5"_s, u"白"_s, QString()}},
        {u"添加->配件"_s, u"编辑->配件"_s, {u"配件名称"_s, u"配件规格"_s, u"配件单位"_s, u"配件单价(元)"_s},
         {QString(), QString(), u"只"_s, QString()}},
    };
    return texts.at(int(kind));
}

FrmInputItem::FrmInputItem(ItemKind kind, const QString &name, QWidget *parent)
    : InputDialogBase(parent), m_kind(kind)
{
    setObjectName(name);
    const QList<bool> numeric = numericFields(kind);
    auto *frame = boxFrame(this, u"输入内容："_s, int(numeric.size()), &m_labels, &m_boxes);
    auto *ok = makeButton(u"OKButton"_s, u"确定 &Y"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消 &C"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow(ok, cancel));

    for (int i = 0; i < m_boxes.size(); ++i) {
        chainEnter(m_boxes[i], i + 1 < m_boxes.size() ? static_cast<QWidget *>(m_boxes[i + 1]) : ok);
        if (numeric[i])
            setNumericOnly(m_boxes[i]);
    }
    setFirstFocus(m_boxes.first());
    connect(ok, &QPushButton::clicked, this, &FrmInputItem::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList FrmInputItem::texts() const
{
    QStringList list;
    for (const QLineEdit *box : m_boxes)
        list << box->text();
    return list;
}

void FrmInputItem::setLabelCaptions(const QStringList &captions)
{
    for (int i = 0; i < m_labels.size() && i < captions.size(); ++i)
        m_labels[i]->setText(captions[i]);
}

void FrmInputItem::setTexts(const QStringList &texts)
{
    for (int i = 0; i < m_boxes.size() && i < texts.size(); ++i)
        m_boxes[i]->setText(texts[i]);
}

void FrmInputItem::onOk()
{
    const QStringList typed = texts();
    const FieldCheck check = checkFields(typed, numericFields(m_kind));
    if (!check.ok())
        return refuse(m_boxes[check.index], check.problem == FieldProblem::Empty ? kEmptyMessage : kNotANumberMessage);
    m_entered = typed;
    accept();
}

std::optional<QStringList> FrmInputItem::ask(ItemKind kind, QWidget *parent, const QString &caption,
                                             const QStringList &texts)
{
    const auto dialog = makeItemDialog(kind, parent);
    dialog->setWindowTitle(caption);
    dialog->setLabelCaptions(itemDialogTexts(kind).labels);
    dialog->setTexts(texts);
    platform::execDialog(dialog.get());
    return dialog->entered();
}

FrmInputXCXG::FrmInputXCXG(ItemKind kind, QWidget *parent) : FrmInputItem(kind, u"frmInputXCXG"_s, parent) {}

FrmInputPC::FrmInputPC(QWidget *parent) : FrmInputItem(ItemKind::Panel, u"frmInputPC"_s, parent) {}

FrmInputPJ::FrmInputPJ(QWidget *parent) : FrmInputItem(ItemKind::Fitting, u"frmInputPJ"_s, parent) {}

std::unique_ptr<FrmInputItem> makeItemDialog(ItemKind kind, QWidget *parent)
{
    switch (kind) {
    case ItemKind::Panel: return std::make_unique<FrmInputPC>(parent);
    case ItemKind::Fitting: return std::make_unique<FrmInputPJ>(parent);
    case ItemKind::Profile:
    case ItemKind::Steel: break;
    }
    return std::make_unique<FrmInputXCXG>(kind, parent);
}

// --- frmPrice

FrmPrice::FrmPrice(QWidget *parent) : InputDialogBase(parent)
{
    setObjectName(u"frmPrice"_s);
    platform::cancelOnEscape(this); // Enter confirms, Esc cancels
    auto *frame = new QGroupBox(u"价格输入："_s, this);
    frame->setObjectName(u"Frame1"_s);
    m_box = new QLineEdit(u"10000"_s, frame);
    m_box->setObjectName(u"Text1"_s);
    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(m_box);
    auto *ok = makeButton(u"OKButton"_s, u"确定"_s);
    auto *cancel = makeButton(u"CancelButton"_s, u"取消"_s);
    platform::pressOnEnter(this, ok);
    cancel->setAutoDefault(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow(ok, cancel));

    setNumericOnly(m_box);
    setFirstFocus(m_box);
    connect(ok, &QPushButton::clicked, this, &FrmPrice::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmPrice::onOk()
{
    if (m_box->text().isEmpty())
        return refuse(m_box, kEmptyMessage, u"提示！"_s);
    if (!isCatalogueNumber(m_box->text()))
        return refuse(m_box, kNotANumberMessage, u"提示！"_s);
    m_entered = m_box->text();
    accept();
}

std::optional<QString> FrmPrice::ask(QWidget *parent, const QString &caption)
{
    FrmPrice dialog(parent);
    dialog.setWindowTitle(caption);
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace catalogue
