#pragma once
// Input fields the wind check windows build alike.
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QWidget;

namespace windcheck::ui {

// A text box with its object name and first text.
QLineEdit *namedBox(QWidget *parent, const QString &objectName, const QString &text = QString());

// A list that also takes typed text, which adds no item.
QComboBox *typedList(QWidget *parent, const QString &objectName, const QStringList &items);

// Position of the item a combo box's text picks, -1 when it picks none.
int pickedPosition(const QComboBox *combo);

} // namespace windcheck::ui
