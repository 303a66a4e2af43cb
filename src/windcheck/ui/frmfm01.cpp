#include "frmfm01.h"

#include "frmmainfy01.h"
#include "platform/messages.h"
#include "windcheck/fyprint.h"

#include <QDate>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

FrmFM01::FrmFM01(FrmMainFY01 *chain) : StepWindow(chain)
{
    setObjectName(u"frmFM01"_s);
    setWindowTitle(u"封面设置"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    const CoverSettings cover = LoadCoverSettings();
    const QString texts[6] = {QString(), cover.gcmc, cover.jh, cover.sh, cover.jhdw,
                              coverDateText(QDate::currentDate())};
    makeNumberedBoxes(this, m_text, texts);
    // The cover always prints the day it is printed: the date is not an input.
    m_text[5]->setReadOnly(true);

    auto *form = new QFormLayout;
    form->addRow(u"工程名称："_s, m_text[1]);
    form->addRow(u"校    核："_s, m_text[2]);
    form->addRow(u"审    核："_s, m_text[3]);
    form->addRow(u"校核单位："_s, m_text[4]);
    form->addRow(u"校核日期："_s, m_text[5]);

    QPushButton *ok = layOutForm(form, u"确定"_s);
    connect(ok, &QPushButton::clicked, this, &FrmFM01::save);
}

void FrmFM01::save()
{
    QString error;
    if (!SaveCoverSettings({m_text[1]->text(), m_text[2]->text(), m_text[3]->text(), m_text[4]->text()}, &error))
        platform::showError(this, error);
    close();
}

} // namespace windcheck::ui
