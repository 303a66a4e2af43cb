#pragma once
// How keys work in every window, in one place.
//
// Application-wide rules (installKeyRules, once at start-up; the test fixture installs them too):
// - Enter on a focused push or tool button presses it, as Space does, in dialogs and in work
//   windows alike (Qt presses a button on Enter only inside dialogs, and only auto-default ones).
// - Enter that no control took does nothing in a dialog of ours unless the dialog was given an
//   Enter button (pressOnEnter): Qt would press the first auto-default button, so Enter in a box
//   would close the dialog.
// - Esc does nothing in a dialog of ours unless the dialog was given a cancel key
//   (cancelOnEscape). Qt's own dialogs (messages, file choice, print preview) keep their keys.
//
// Per window: an Enter chain (EnterChain) moves the focus from box to box and ends on a button.
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class QDialog;
class QHBoxLayout;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QWidget;

namespace platform {

void installKeyRules();

// The access keys (Alt + the letter after "&") of a window's buttons, tabs, group boxes and labels
// of boxes, one entry per control.
QList<QKeySequence> accessKeys(const QWidget *window);

// While a work window of `area` is active, its own keys win over the main window's: a shortcut of
// one of its actions, or an access key of one of its controls, is taken off the main window's
// items and menus that hold the same key, and given back when another window (or none) is active.
// Work windows never clash with each other: Qt gives a window's keys only to the active one.
void letWorkWindowKeysWin(QMdiArea *area);

// The dialog closes on Esc, as its cancel button does.
void cancelOnEscape(QDialog *dialog);

// The dialog handles every key itself, Enter and Esc included (a box that closes on any key).
void takesEveryKey(QDialog *dialog);

// `button` is the dialog's default button: Enter in a box that does not take it presses it.
void pressOnEnter(QDialog *dialog, QPushButton *button);

// Focuses the widget; a text box (line edit, editable combo box, spin or date box) has its whole
// text selected, so typing replaces it.
void focusAndSelect(QWidget *widget);

// Enter (or keypad Enter, without other modifiers) in chain[i] moves the focus to chain[i + 1]
// with focusAndSelect; nothing else happens on it, so the dialog never closes. Enter on the last
// control is that control's own: a button is pressed. Owned by `parent`.
class EnterChain : public QObject
{
public:
    EnterChain(QObject *parent, const QList<QWidget *> &chain);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QWidget *> m_chain;
};

// The OK and Cancel buttons at the right of one row, neither a default button: Enter moves
// through `boxes` and from the last one to OK, which it then presses; Cancel rejects the dialog.
struct OkCancelRow
{
    QHBoxLayout *layout = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
};
OkCancelRow okCancelRow(QDialog *dialog, const QString &okName, const QString &cancelName,
                        const QList<QWidget *> &boxes);

// A line edit with its objectName.
QLineEdit *namedLineEdit(const QString &objectName, QWidget *parent);

} // namespace platform
