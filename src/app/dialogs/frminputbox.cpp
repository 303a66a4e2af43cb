#include "frminputbox.h"

#include "platform/messages.h"

#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

namespace {
bool allDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}
} // namespace

FrmInputBox::FrmInputBox(QWidget *parent, const QString &defaultCount) : QDialog(parent)
{
    setObjectName(u"frmInputBox"_s);
    setWindowTitle(u"输入框"_s);
    setModal(true);

    m_count = new QLineEdit(this);
    m_count->setObjectName(u"TxtCount"_s);
    m_count->installEventFilter(this);

    auto *ok = new QPushButton(u"确定"_s, this);
    ok->setObjectName(u"OKButton"_s);
    auto *cancel = new QPushButton(u"取消"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    // Enter is handled by the box itself; no button may catch it as the default.
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"输入门窗的樘数："_s, this));
    layout->addWidget(m_count);
    layout->addLayout(buttons);

    m_count->setText(defaultCount.isEmpty() ? u"1"_s : defaultCount);

    connect(ok, &QPushButton::clicked, this, &FrmInputBox::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmInputBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Typing replaces the default.
    m_count->setSelection(0, 50);
    m_count->setFocus();
}

bool FrmInputBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_count) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                onOk();
                return true;
            }
            // Typed characters other than digits are dropped, and so is the paste shortcut; Backspace,
            // editing and navigation keys pass.
            if (key->matches(QKeySequence::Paste))
                return true;
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).category() != QChar::Other_Control && !allDigits(text))
                return true;
        } else if (event->type() == QEvent::InputMethod) {
            auto *im = static_cast<QInputMethodEvent *>(event);
            if (!allDigits(im->commitString()) || !im->preeditString().isEmpty())
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmInputBox::onOk()
{
    if (m_count->text().isEmpty()) {
        platform::inform(this, u"樘数不能为空！"_s, u"提示！"_s);
        return;
    }
    m_entered = m_count->text();
    accept();
}

QString InputBoxText(const QString &title, const QString &prompt, const QString &defaultText, QWidget *parent)
{
    Q_UNUSED(title);
    Q_UNUSED(prompt);
    return FrmInputBox::ask(parent, defaultText).value_or(defaultText);
}

std::optional<QString> FrmInputBox::ask(QWidget *parent, const QString &defaultCount)
{
    FrmInputBox dialog(parent, defaultCount);
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace app
