#pragma once
// Finding and driving the controls of the warehouse windows in tests.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace windowhelpers {

template<typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no child %s", qPrintable(name));
    return c;
}
inline QPushButton *button(QWidget *w, const QString &name) { return child<QPushButton>(w, name); }
inline QLineEdit *edit(QWidget *w, const QString &name) { return child<QLineEdit>(w, name); }
inline QTreeWidget *list(QWidget *w, const QString &name = QStringLiteral("lvw"))
{
    return child<QTreeWidget>(w, name);
}
inline QString focusName(QWidget *w) { return w->focusWidget() ? w->focusWidget()->objectName() : QString(); }

// Double-clicks a list row, or the empty space below the rows when row < 0.
inline void doubleClick(QTreeWidget *l, int row)
{
    QPoint pos;
    if (row >= 0) {
        l->setCurrentItem(l->topLevelItem(row));
        pos = l->visualItemRect(l->topLevelItem(row)).center();
    } else {
        l->clearSelection();
        pos = QPoint(10, l->viewport()->height() - 5);
    }
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, pos);
}

} // namespace windowhelpers
