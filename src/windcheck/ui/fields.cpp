#include "fields.h"

#include <QComboBox>
#include <QLineEdit>

namespace windcheck::ui {

QLineEdit *namedBox(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(objectName);
    return box;
}

QComboBox *typedList(QWidget *parent, const QString &objectName, const QStringList &items)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    return list;
}

int pickedPosition(const QComboBox *combo)
{
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

} // namespace windcheck::ui
