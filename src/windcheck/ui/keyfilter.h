#pragma once
// Keeps only digits, "." where allowed, and editing keys in a box; each key is tested alone, so
// a second point can still be typed (the check refuses such a number later).
#include <QObject>

class QWidget;

namespace windcheck::ui {

class NumericKeyFilter : public QObject
{
    Q_OBJECT
public:
    NumericKeyFilter(bool allowPoint, QObject *parent);
    // Installs on a line edit, or on the editor of an editable combo box.
    static void install(QWidget *box, bool allowPoint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_allowPoint;
};

} // namespace windcheck::ui
