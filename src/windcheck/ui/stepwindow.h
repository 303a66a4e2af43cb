#pragma once
// A later window of the two-step check: closing it, by 取消 or its close box, brings back the window
// it came from (its parent). Also the pieces the windows of the chain build alike.
#include <QDialog>

class QFormLayout;
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

// Enter in a field of the form moves to the next row's field, and from the last one to `last`.
void chainFormTo(QObject *owner, QFormLayout *form, QPushButton *last);

} // namespace windcheck::ui
