#include "billwidgets.h"

#include "platform/lists.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace warehouse::ui {

BillDateEdit::BillDateEdit(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(u"yyyy-MM-dd"_s);
    setCalendarPopup(true);
    setMinimumDate(QDate(1900, 1, 1));
    setSpecialValueText(u" "_s);
    setDate(minimumDate());
}

void BillDateEdit::setBillDate(const QDate &d)
{
    m_dated = true;
    setDate(d.isValid() ? d : minimumDate());
}

void BillDateEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_dated) {
        m_dated = true;
        setDate(QDate::currentDate());
    }
    QDateEdit::focusInEvent(event);
}

QTreeWidget *makeLineList(QWidget *parent, const QString &objectName, const QStringList &titles)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(objectName);
    list->setColumnCount(int(titles.size()));
    list->setHeaderLabels(titles);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    return list;
}

void setRow(QTreeWidgetItem *item, const QStringList &texts)
{
    for (int c = 0; c < item->columnCount() || c < texts.size(); ++c)
        item->setText(c, c < texts.size() ? texts.at(c) : QString());
}

void appendRow(QTreeWidget *list, const QStringList &texts)
{
    auto *item = new QTreeWidgetItem(list);
    setRow(item, texts);
}

QStringList rowTexts(const QTreeWidgetItem *item, int columns)
{
    QStringList t;
    for (int c = 0; c < columns; ++c)
        t << item->text(c);
    return t;
}

QList<QStringList> allRows(const QTreeWidget *list)
{
    QList<QStringList> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << rowTexts(list->topLevelItem(i), list->columnCount());
    return rows;
}

QTreeWidgetItem *selectedRow(const QTreeWidget *list)
{
    return platform::selectedItem(list);
}

QTreeWidgetItem *selectedRowOrInform(QWidget *window, const QTreeWidget *list, const QString &message, QWidget *focus)
{
    QTreeWidgetItem *item = selectedRow(list);
    if (!item) {
        platform::inform(window, message);
        if (focus)
            focus->setFocus();
    }
    return item;
}

QLineEdit *makeBox(QWidget *parent, const QString &objectName, bool readOnly)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setReadOnly(readOnly);
    return e;
}

QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

void addField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *box)
{
    auto *label = new QLabel(caption, box->parentWidget());
    label->setBuddy(box);
    grid->addWidget(label, row, col * 2);
    grid->addWidget(box, row, col * 2 + 1);
}

bool refuseIncomplete(QWidget *window, QWidget *focus)
{
    platform::inform(window, u"数据不完整!请重新输入。"_s);
    if (focus)
        focus->setFocus();
    return false;
}

void layOutBill(QWidget *window, QGridLayout *head, QTreeWidget *list, const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    for (QPushButton *b : buttons)
        row->addWidget(b);
    auto *layout = new QVBoxLayout(window);
    layout->addLayout(head);
    layout->addWidget(list, 1);
    layout->addLayout(row);
}

void showPreviewLines(QTreeWidget *list, const QList<QStringList> &lines, const QList<QWidget *> &locked)
{
    list->clear();
    for (const QStringList &l : lines)
        appendRow(list, l);
    for (QWidget *w : locked)
        w->setEnabled(false);
}

} // namespace warehouse::ui
