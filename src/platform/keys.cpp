#include "keys.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace platform {

QList<QKeySequence> accessKeys(const QWidget *window)
{
    QList<QKeySequence> keys;
    const auto add = [&keys](const QString &text) {
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            keys << key;
    };
    for (const QAbstractButton *b : window->findChildren<QAbstractButton *>())
        add(b->text());
    for (const QLabel *l : window->findChildren<QLabel *>())
        if (l->buddy())
            add(l->text());
    for (const QGroupBox *g : window->findChildren<QGroupBox *>())
        add(g->title());
    for (const QTabBar *t : window->findChildren<QTabBar *>())
        for (int i = 0; i < t->count(); ++i)
            add(t->tabText(i));
    return keys;
}

namespace {
const char *const kCancelOnEscape = "cancelOnEscape";
const char *const kPressOnEnter = "pressOnEnter";
const char *const kTakesEveryKey = "takesEveryKey";

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
            return dialog && !isQtDialog(dialog) && !dialog->property(kPressOnEnter).toBool()
                   && !dialog->property(kTakesEveryKey).toBool();
        }
        if (key->matches(QKeySequence::Cancel)) {
            // Reaches the dialog only when no control inside took it.
            auto *dialog = qobject_cast<QDialog *>(watched);
            return dialog && !isQtDialog(dialog) && !dialog->property(kCancelOnEscape).toBool();
        }
        return false;
    }
};

// The keys a work window holds: its actions' shortcuts and its controls' access keys.
QList<QKeySequence> heldKeys(const QWidget *window)
{
    QList<QKeySequence> keys = accessKeys(window);
    for (const QAction *a : window->findChildren<QAction *>())
        keys += a->shortcuts();
    return keys;
}

bool isInside(const QObject *object, const QObject *ancestor)
{
    for (; object; object = object->parent())
        if (object == ancestor)
            return true;
    return false;
}

QString withoutAccessKey(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    return text.replace(QStringLiteral("\x01"), QStringLiteral("&&"));
}

class WorkWindowKeys : public QObject
{
public:
    explicit WorkWindowKeys(QMdiArea *area) : QObject(area), m_area(area)
    {
        connect(area, &QMdiArea::subWindowActivated, this, &WorkWindowKeys::activated);
    }

private:
    void activated(QMdiSubWindow *sub)
    {
        giveBack();
        if (!sub || !sub->widget())
            return;
        const QList<QKeySequence> held = heldKeys(sub->widget());
        if (held.isEmpty())
            return;
        QWidget *main = m_area->window();
        for (QAction *a : main->findChildren<QAction *>()) {
            if (isInside(a, m_area) || a->shortcuts().isEmpty())
                continue;
            const QList<QKeySequence> keys = a->shortcuts();
            if (std::any_of(keys.begin(), keys.end(), [&](const QKeySequence &k) { return held.contains(k); })) {
                m_shortcuts.append({a, keys});
                a->setShortcuts(QList<QKeySequence>());
            }
        }
        // A menu of the main menu bar opens on its access key wherever the focus is.
        for (QMenuBar *bar : main->findChildren<QMenuBar *>()) {
            if (isInside(bar, m_area))
                continue;
            for (QAction *a : bar->actions())
                if (held.contains(QKeySequence::mnemonic(a->text()))) {
                    m_texts.append({a, a->text()});
                    a->setText(withoutAccessKey(a->text()));
                }
        }
    }

    void giveBack()
    {
        for (const auto &[action, keys] : std::as_const(m_shortcuts))
            if (action)
                action->setShortcuts(keys);
        for (const auto &[action, text] : std::as_const(m_texts))
            if (action)
                action->setText(text);
        m_shortcuts.clear();
        m_texts.clear();
    }

    QMdiArea *m_area;
    QList<std::pair<QPointer<QAction>, QList<QKeySequence>>> m_shortcuts;
    QList<std::pair<QPointer<QAction>, QString>> m_texts;
};
} // namespace

void letWorkWindowKeysWin(QMdiArea *area) { new WorkWindowKeys(area); }

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

void takesEveryKey(QDialog *dialog)
{
    dialog->setProperty(kCancelOnEscape, true);
    dialog->setProperty(kTakesEveryKey, true);
}

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
