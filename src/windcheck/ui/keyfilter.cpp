#include "keyfilter.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace windcheck::ui {

NumericKeyFilter::NumericKeyFilter(bool allowPoint, QObject *parent) : QObject(parent), m_allowPoint(allowPoint) {}

void NumericKeyFilter::install(QWidget *box, bool allowPoint)
{
    QWidget *target = box;
    if (auto *combo = qobject_cast<QComboBox *>(box); combo && combo->lineEdit())
        target = combo->lineEdit();
    target->installEventFilter(new NumericKeyFilter(allowPoint, target));
}

bool NumericKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    // Keys without a printable character (arrows, Backspace, Enter, shortcuts) pass.
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier))
        return false;
    for (const QChar c : text) {
        const bool digit = c >= u'0' && c <= u'9';
        if (!digit && !(m_allowPoint && c == u'.'))
            return true;
    }
    return false;
}

} // namespace windcheck::ui
