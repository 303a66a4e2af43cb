#include "frmsetting.h"

#include "app/generalsettings.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace app {

namespace {
QRadioButton *radio(const QString &name, const QString &text, QWidget *parent)
{
    auto *b = new QRadioButton(text, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

FrmSetting::FrmSetting(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmSetting"_s);
    setWindowTitle(u"设置用户"_s);
    setModal(true);

    m_company = platform::namedLineEdit(u"txtCompany"_s, this);
    m_telephone = platform::namedLineEdit(u"txtTelnum"_s, this);
    m_address = platform::namedLineEdit(u"txtAddress"_s, this);
    m_excel = radio(u"OptExcel"_s, u"Excel"_s, this);
    m_text = radio(u"OptText"_s, u"文本文件"_s, this);
    m_standard = radio(u"optStandard"_s, u"标准"_s, this);
    m_easy = radio(u"optEasy"_s, u"精简"_s, this);

    // Two independent choices on one form: each pair is its own exclusive group.
    auto *exportGroup = new QButtonGroup(this);
    exportGroup->addButton(m_excel);
    exportGroup->addButton(m_text);
    auto *modelGroup = new QButtonGroup(this);
    modelGroup->addButton(m_standard);
    modelGroup->addButton(m_easy);

    auto *exportRow = new QHBoxLayout;
    exportRow->addWidget(m_excel);
    exportRow->addWidget(m_text);
    exportRow->addStretch();
    auto *modelRow = new QHBoxLayout;
    modelRow->addWidget(m_standard);
    modelRow->addWidget(m_easy);
    modelRow->addStretch();

    auto *form = new QFormLayout;
    form->addRow(new QLabel(u"公司名称："_s, this), m_company);
    form->addRow(new QLabel(u"联系电话："_s, this), m_telephone);
    form->addRow(new QLabel(u"公司地址："_s, this), m_address);
    form->addRow(new QLabel(u"导出文件 类    型："_s, this), exportRow);
    form->addRow(new QLabel(u"校核模型："_s, this), modelRow);

    const platform::OkCancelRow buttons =
        platform::okCancelRow(this, u"cmdOK"_s, u"cmdCancel"_s, {m_company, m_telephone, m_address});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.layout);
    setMinimumWidth(360);

    const GeneralSettings s = LoadGeneralSettings();
    m_company->setText(s.company);
    m_telephone->setText(s.telephone);
    m_address->setText(s.address);
    (s.textOutput ? m_text : m_excel)->setChecked(true);
    (s.simpleWindCheck ? m_easy : m_standard)->setChecked(true);

    connect(buttons.ok, &QPushButton::clicked, this, &FrmSetting::onOk);
}

void FrmSetting::onOk()
{
    GeneralSettings s;
    s.company = m_company->text();
    s.telephone = m_telephone->text();
    s.address = m_address->text();
    s.textOutput = !m_excel->isChecked();
    s.simpleWindCheck = !m_standard->isChecked();
    QString error;
    if (!SaveGeneralSettings(s, &error))
        platform::showError(this, error);
    accept();
}

} // namespace app
