#pragma once
// A later window of the two-step check: Escape closes it like its close button, and closing it,
// by either, brings back the window it came from (its parent). Also the pieces the windows of the
// chain build alike.
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

    // The form above an OK button (the default) and "取消", which closes the window; answers the
    // OK button for the window to connect.
    QPushButton *layOutForm(QFormLayout *form, const QString &okCaption);
};

// Boxes named Text1 to TextN holding texts[1] to texts[N]; slot 0 stays empty so that a box's
// index is the number in its name.
void makeNumberedBoxes(QWidget *parent, std::span<QLineEdit *> boxes, std::span<const QString> texts);

} // namespace windcheck::ui
