#include "frmfm01.h"

#include "frmmainfy01.h"
#include "platform/messages.h"
#include "windcheck/fyprint.h"

#include <QCloseEvent>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

FrmFM01::FrmFM01(FrmMainFY01 *chain) : QDialog(chain), m_chain(chain)
{
    setObjectName(u"frmFM01"_s);
    setWindowTitle(u"封面设置"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    const CoverSettings cover = LoadCoverSettings();
    const QString texts[6] = {QString(), cover.gcmc, cover.jh, cover.sh, cover.jhdw,
                              coverDateText(QDate::currentDate())};
    for (int i = 1; i <= 5; ++i) {
        m_text[i] = new QLineEdit(texts[i], this);
        m_text[i]->setObjectName(u"Text"_s + QString::number(i));
    }
    // The cover always prints the day it is printed: the date is not an input.
    m_text[5]->setReadOnly(true);

    auto *form = new QFormLayout;
    form->addRow(u"工程名称："_s, m_text[1]);
    form->addRow(u"校    核："_s, m_text[2]);
    form->addRow(u"审    核："_s, m_text[3]);
    form->addRow(u"校核单位："_s, m_text[4]);
    form->addRow(u"校核日期："_s, m_text[5]);

    auto *ok = new QPushButton(u"确定"_s, this);
    ok->setObjectName(u"OKButton"_s);
    ok->setDefault(true);
    auto *cancel = new QPushButton(u"取消"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &FrmFM01::save);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void FrmFM01::save()
{
    QString error;
    if (!SaveCoverSettings({m_text[1]->text(), m_text[2]->text(), m_text[3]->text(), m_text[4]->text()}, &error))
        platform::showError(this, error);
    close();
}

void FrmFM01::reject() { close(); }

void FrmFM01::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_chain->show();
}

} // namespace windcheck::ui
