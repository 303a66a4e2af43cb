#pragma once
// The count dialog "输入框": asks for the number of units (樘数) of a door or window. It starts from
// the default count ("1" when that is empty); OK returns the count entered.
#include <QDialog>
#include <optional>

class QLineEdit;

namespace app {

class FrmInputBox : public QDialog
{
    Q_OBJECT
public:
    explicit FrmInputBox(QWidget *parent = nullptr, const QString &defaultCount = QString());

    // The count confirmed with OK, or nullopt.
    std::optional<QString> entered() const { return m_entered; }
    // Shows the dialog modally: the count entered, or nullopt when it was cancelled.
    static std::optional<QString> ask(QWidget *parent, const QString &defaultCount);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onOk();

    QLineEdit *m_count = nullptr;
    std::optional<QString> m_entered;
};

// Shows the count dialog with `defaultText` and returns the entered count, or `defaultText` when the
// dialog is cancelled. The dialog keeps its own caption and label: title and prompt are not shown.
QString InputBoxText(const QString &title, const QString &prompt, const QString &defaultText,
                     QWidget *parent = nullptr);

} // namespace app
