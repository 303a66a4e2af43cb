#pragma once
// The count dialog "输入框": asks for the number of units (樘数) of a door or window. It starts from
// InputBoxValue ("1" when that is empty); OK sets InputBoxOK and InputBoxValue.
#include <QDialog>

class QLineEdit;

namespace app {

class FrmInputBox : public QDialog
{
    Q_OBJECT
public:
    explicit FrmInputBox(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onOk();

    QLineEdit *m_count = nullptr;
};

// Shows the count dialog with `defaultText` and returns the entered count, or `defaultText` when the
// dialog is cancelled. The dialog keeps its own caption and label: title and prompt are not shown.
QString InputBoxText(const QString &title, const QString &prompt, const QString &defaultText,
                     QWidget *parent = nullptr);

} // namespace app
