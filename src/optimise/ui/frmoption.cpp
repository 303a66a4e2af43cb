#include "frmoption.h"

#include "optimise/yhoption.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace optimise {

FrmOption::FrmOption(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmOption"_s);
    setWindowTitle(u"基础设置"_s);
    setModal(true);

    auto *frame1 = new QGroupBox(u"注：切一根材料其损耗量为:2*切口宽+料头长"_s, this);
    frame1->setObjectName(u"Frame1"_s);
    m_clc = platform::namedLineEdit(u"TxtCLC"_s, frame1);
    m_ltc = platform::namedLineEdit(u"TxtLTC"_s, frame1);
    m_ckk = platform::namedLineEdit(u"TxtCKK"_s, frame1);
    auto *form1 = new QFormLayout(frame1);
    form1->addRow(new QLabel(u"材料长度（mm）："_s, frame1), m_clc);
    form1->addRow(new QLabel(u"料头长度（mm）："_s, frame1), m_ltc);
    form1->addRow(new QLabel(u"切口宽度（mm）："_s, frame1), m_ckk);

    auto *frame2 = new QGroupBox(u"优化属性"_s, this);
    frame2->setObjectName(u"Frame2"_s);
    m_count = platform::namedLineEdit(u"TxtCount"_s, frame2);
    m_maxCount = platform::namedLineEdit(u"TxtMaxCount"_s, frame2);
    m_maxCount->setReadOnly(true);
    m_yhbl = platform::namedLineEdit(u"TxtYHBL"_s, frame2);
    auto *form2 = new QFormLayout(frame2);
    form2->addRow(new QLabel(u"允许优化材料数量："_s, frame2), m_count);
    form2->addRow(new QLabel(u"最大可优化数量："_s, frame2), m_maxCount);
    form2->addRow(new QLabel(u"控制优化比率:"_s, frame2), m_yhbl);

    const platform::OkCancelRow buttons =
        platform::okCancelRow(this, u"OKButton"_s, u"CancelButton"_s, {m_clc, m_ltc, m_ckk, m_count, m_yhbl});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addWidget(frame2);
    layout->addLayout(buttons.layout);

    reload();
    connect(buttons.ok, &QPushButton::clicked, this, &FrmOption::onOk);
}

void FrmOption::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        reload();
}

void FrmOption::reload()
{
    LoadYHOption();
    const OptionTexts t = currentOptionTexts();
    m_clc->setText(t.clc);
    m_ltc->setText(t.ltc);
    m_ckk->setText(t.ckk);
    m_count->setText(t.count);
    m_maxCount->setText(QString::number(kMaxCount));
    m_yhbl->setText(t.yhbl);
}

void FrmOption::onOk()
{
    const OptionCheck check =
        checkOptionTexts({m_clc->text(), m_ltc->text(), m_ckk->text(), m_count->text(), m_yhbl->text()});
    if (!check.ok) {
        QLineEdit *failed = m_clc;
        switch (check.field) {
        case OptionField::CLC: failed = m_clc; break;
        case OptionField::LTC: failed = m_ltc; break;
        case OptionField::CKK: failed = m_ckk; break;
        case OptionField::Count: failed = m_count; break;
        case OptionField::YHBL: failed = m_yhbl; break;
        }
        platform::inform(this, check.message, u"提示"_s);
        failed->selectAll();
        failed->setFocus();
        return;
    }
    QString error;
    if (!applyOptionValues(check.values, &error))
        platform::showError(this, error);
    accept();
}

} // namespace optimise
