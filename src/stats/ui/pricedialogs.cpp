#include "pricedialogs.h"

#include "platform/keys.h"
#include "platform/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace stats::ui {

PriceDialog::PriceDialog(const QString &objectName, const QString &caption, const QStringList &labels,
                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto *grid = new QGridLayout;
    for (int i = 0; i < labels.size(); ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(u"Text1"_s + QString::number(i));
        box->installEventFilter(this);
        grid->addWidget(new QLabel(labels.at(i), this), i, 0);
        grid->addWidget(box, i, 1);
        Text1.append(box);
    }
    OKButton = new QPushButton(u"确定"_s, this);
    OKButton->setObjectName(u"OKButton"_s);
    CancelButton = new QPushButton(u"取消"_s, this);
    CancelButton->setObjectName(u"CancelButton"_s);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    new platform::EnterChain(this, QList<QWidget *>(Text1.cbegin(), Text1.cend()) << OKButton);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool PriceDialog::CheckInput()
{
    for (QLineEdit *box : std::as_const(Text1)) {
        if (box->text().isEmpty()) {
            platform::inform(this, u"数据不能为空！"_s);
            box->setFocus();
            return false;
        }
    }
    return true;
}

bool PriceDialog::eventFilter(QObject *watched, QEvent *event)
{
    const qsizetype index = Text1.indexOf(qobject_cast<QLineEdit *>(watched));
    if (index < 0 || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // Character keys: digits, the point and Backspace only; movement keys pass.
    const QString text = key->text();
    if (text.isEmpty() || key->key() == Qt::Key_Backspace)
        return false;
    for (QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.')
            return true;
    return false;
}

FrmSZZJ::FrmSZZJ(QWidget *parent)
    : PriceDialog(u"frmSZZJ"_s, u"门窗造价设置表"_s,
                  {u"人工费  /平方:"_s, u"税费    /平方:"_s, u"运输费  /平方:"_s, u"其它费用/平方:"_s}, parent)
{
}

void FrmSZZJ::OKButton_Click()
{
    if (!CheckInput())
        return;
    for (size_t i = 0; i < m_entered.size(); ++i)
        m_entered[i] = Text1.at(qsizetype(i))->text();
    accept();
}

void FrmSZZJ::reject()
{
    // Closing counts as cancelling: no fees.
    m_entered.fill(u"0"_s);
    QDialog::reject();
}

FrmSZZJ::Fees FrmSZZJ::ask(QWidget *parent)
{
    FrmSZZJ dialog(parent);
    platform::execDialog(&dialog);
    return dialog.entered();
}

FrmJSJE::FrmJSJE(QWidget *parent)
    : PriceDialog(u"frmJSJE"_s, u"决算金额"_s, {u"门综合价 ："_s, u"窗综合价 ："_s}, parent)
{
}

void FrmJSJE::OKButton_Click()
{
    if (!CheckInput())
        return;
    m_entered = SettlementPrices{Text1.at(0)->text(), Text1.at(1)->text()};
    accept();
}

std::optional<SettlementPrices> FrmJSJE::ask(QWidget *parent)
{
    FrmJSJE dialog(parent);
    platform::execDialog(&dialog);
    return dialog.entered();
}

} // namespace stats::ui
