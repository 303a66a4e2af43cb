#include "frmfm01.h"

#include "fields.h"
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
    m_project = namedBox(this, u"Text1"_s, cover.gcmc);
    m_checker = namedBox(this, u"Text2"_s, cover.jh);
    m_reviewer = namedBox(this, u"Text3"_s, cover.sh);
    m_checkingUnit = namedBox(this, u"Text4"_s, cover.jhdw);
    m_date = namedBox(this, u"Text5"_s, coverDateText(QDate::currentDate()));
    // The cover always prints the day it is printed: the date is not an input.
    m_date->setReadOnly(true);

    auto *form = new QFormLayout;
    form->addRow(u"工程名称："_s, m_project);
    form->addRow(u"校    核："_s, m_checker);
    form->addRow(u"审    核："_s, m_reviewer);
    form->addRow(u"校核单位："_s, m_checkingUnit);
    form->addRow(u"校核日期："_s, m_date);

    QPushButton *ok = layOutForm(form, u"确定"_s);
    connect(ok, &QPushButton::clicked, this, &FrmFM01::save);
}

void FrmFM01::save()
{
    QString error;
    if (!SaveCoverSettings({m_project->text(), m_checker->text(), m_reviewer->text(), m_checkingUnit->text()}, &error))
        platform::showError(this, error);
    close();
}

} // namespace windcheck::ui
