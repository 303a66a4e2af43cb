#pragma once
// The two price dialogs of the statistics window: the fees per square metre of the cost report
// (frmSZZJ) and the door and window prices of the settlement (frmJSJE). Both hand back their texts
// through the dialog result.
#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;

namespace stats::ui {

class PriceDialog : public QDialog
{
    Q_OBJECT
public:
    QList<QLineEdit *> Text1;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

    // The first empty box shows "数据不能为空！" and takes the focus.
    bool CheckInput();

protected:
    PriceDialog(const QString &objectName, const QString &caption, const QStringList &labels, QWidget *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;
    virtual void OKButton_Click() = 0;
};

// Fees per m²: labour, tax, transport, other. OK puts the four texts into InputResult(0..3);
// cancelling or closing puts "0" into each.
class FrmSZZJ : public PriceDialog
{
    Q_OBJECT
public:
    explicit FrmSZZJ(QWidget *parent = nullptr);
    void reject() override;

protected:
    void OKButton_Click() override;
};

// Door and window price per m². OK sets InputOK and puts the texts into InputResult(0..1);
// cancelling or closing leaves InputOK false.
class FrmJSJE : public PriceDialog
{
    Q_OBJECT
public:
    explicit FrmJSJE(QWidget *parent = nullptr);

protected:
    void OKButton_Click() override;
};

} // namespace stats::ui
