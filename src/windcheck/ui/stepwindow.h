#pragma once
// A later window of the two-step check: closing it, by 取消 or its close box, brings back the window
// it came from (its parent). Also the pieces the windows of the chain build alike.
#include <QDialog>

#include <span>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace windcheck::ui {

class StepWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StepWindow(QWidget *previous);

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

    // The form above an OK button and "取消", which closes the window; Enter moves down the form's
    // boxes and from the last one to OK. Answers the OK button for the window to connect.
    QPushButton *layOutForm(QFormLayout *form, const QString &okCaption);
};

// Boxes named Text1 to TextN holding texts[1] to texts[N]; slot 0 stays empty so that a box's
// index is the number in its name.
// Enter in a field of the form moves to the next row's field, and from the last one to `last`.
void chainFormTo(QObject *owner, QFormLayout *form, QPushButton *last);

void makeNumberedBoxes(QWidget *parent, std::span<QLineEdit *> boxes, std::span<const QString> texts);

} // namespace windcheck::ui
