#include "keys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

namespace platform {

namespace {
const char *const kCancelOnEscape = "cancelOnEscape";
const char *const kPressOnEnter = "pressOnEnter";

bool isPlainEnter(const QKeyEvent *key)
{
    const int k = key->key();
    return (k == Qt::Key_Return || k == Qt::Key_Enter) && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Qt's own dialogs are not namespaced; ours all are.
bool isQtDialog(const QDialog *dialog)
{
    const QByteArray name = dialog->metaObject()->className();
    return name.startsWith('Q') && !name.contains("::");
}

class KeyRules : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (isPlainEnter(key)) {
            if (qobject_cast<QPushButton *>(watched) || qobject_cast<QToolButton *>(watched)) {
                auto *button = static_cast<QAbstractButton *>(watched);
                if (button->isEnabled())
                    button->click();
                return true;
            }
            // Reaches the dialog only when no control inside took it.
            auto *dialog = qobject_cast<QDialog *>(watched);
            return dialog && !isQtDialog(dialog) && !dialog->property(kPressOnEnter).toBool();
        }
        if (key->matches(QKeySequence::Cancel)) {
            // Reaches the dialog only when no control inside took it.
            auto *dialog = qobject_cast<QDialog *>(watched);
            return dialog && !isQtDialog(dialog) && !dialog->property(kCancelOnEscape).toBool();
        }
        return false;
    }
};
} // namespace

void installKeyRules()
{
    // The application object, whatever its class: qApp would cast a core application (as the
    // core tests run under) to a QApplication it is not.
    QCoreApplication *app = QCoreApplication::instance();
    static QPointer<KeyRules> rules;
    if (!rules && app)
        app->installEventFilter(rules = new KeyRules(app));
}

void cancelOnEscape(QDialog *dialog) { dialog->setProperty(kCancelOnEscape, true); }

void pressOnEnter(QDialog *dialog, QPushButton *button)
{
    button->setDefault(true);
    dialog->setProperty(kPressOnEnter, true);
}

void focusAndSelect(QWidget *widget)
{
    widget->setFocus(Qt::TabFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget))
        spin->selectAll();
}

EnterChain::EnterChain(QObject *parent, const QList<QWidget *> &chain) : QObject(parent), m_chain(chain)
{
    for (QWidget *w : chain) {
        w->installEventFilter(this);
        // An editable combo box takes its keys in its own line edit.
        if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
}

bool EnterChain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !isPlainEnter(static_cast<QKeyEvent *>(event)))
        return false;
    auto *w = static_cast<QWidget *>(watched);
    qsizetype i = m_chain.indexOf(w);
    if (i < 0 && w->parentWidget())
        i = m_chain.indexOf(w->parentWidget());
    if (i < 0 || i + 1 >= m_chain.size())
        return false;
    // A control switched off or hidden for this use of the window is passed over.
    for (qsizetype j = i + 1; j < m_chain.size(); ++j)
        if (m_chain.at(j)->isEnabled() && !m_chain.at(j)->isHidden()) {
            focusAndSelect(m_chain.at(j));
            break;
        }
    return true;
}

OkCancelRow okCancelRow(QDialog *dialog, const QString &okName, const QString &cancelName,
                        const QList<QWidget *> &boxes)
{
    OkCancelRow row;
    row.ok = new QPushButton(QStringLiteral("确定"), dialog);
    row.ok->setObjectName(okName);
    row.cancel = new QPushButton(QStringLiteral("取消"), dialog);
    row.cancel->setObjectName(cancelName);
    row.layout = new QHBoxLayout;
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    new EnterChain(dialog, QList<QWidget *>(boxes) << row.ok);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

QLineEdit *namedLineEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

} // namespace platform
