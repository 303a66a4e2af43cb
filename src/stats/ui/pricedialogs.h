#pragma once
// The two price dialogs of the statistics window: the fees per square metre of the cost report
// (frmSZZJ) and the door and window prices of the settlement (frmJSJE). Both return their texts.
#include <QDialog>
#include <QList>
#include <array>
#include <optional>

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

// Fees per m²: labour, tax, transport, other. OK returns the four texts; cancelling or closing
// returns "0" for each.
class FrmSZZJ : public PriceDialog
{
    Q_OBJECT
public:
    using Fees = std::array<QString, 4>;

    explicit FrmSZZJ(QWidget *parent = nullptr);
    void reject() override;

    Fees entered() const { return m_entered; }
    static Fees ask(QWidget *parent);

protected:
    void OKButton_Click() override;

private:
    Fees m_entered{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
};

struct SettlementPrices
{
    QString door;   // per m², as typed
    QString window; // per m², as typed
};

// Door and window price per m². OK returns the two texts; cancelling or closing returns nothing.
class FrmJSJE : public PriceDialog
{
    Q_OBJECT
public:
    explicit FrmJSJE(QWidget *parent = nullptr);

    std::optional<SettlementPrices> entered() const { return m_entered; }
    static std::optional<SettlementPrices> ask(QWidget *parent);

protected:
    void OKButton_Click() override;

private:
    std::optional<SettlementPrices> m_entered;
};

} // namespace stats::ui
