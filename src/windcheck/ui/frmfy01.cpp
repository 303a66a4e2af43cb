#include "frmfy01.h"

#include "fields.h"
#include "frmmainfy01.h"
#include "frmresultfy01.h"
#include "platform/messages.h"
#include "windcheck/coefficients.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

FrmFY01::FrmFY01(FrmMainFY01 *chain) : StepWindow(chain), m_chain(chain), m_wk(chain->state().FYWk)
{
    setObjectName(u"frmFY01"_s);
    setWindowTitle(u"风压校核设置"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    const GlassCheckInput d;
    m_openingWidth = namedBox(this, u"Text1"_s, d.openingWidth);
    m_openingHeight = namedBox(this, u"Text2"_s, d.openingHeight);
    m_profile = namedBox(this, u"Text3"_s, d.profile);
    m_profileThickness = namedBox(this, u"Text4"_s, d.profileThickness);
    m_sideRatio = namedBox(this, u"Text5"_s);
    m_glassKind = namedBox(this, u"Text6"_s, d.glassKind);
    m_glassThickness = namedBox(this, u"Text7"_s, d.glassThickness);
    m_edgeDistance = namedBox(this, u"Text8"_s, d.edgeDistance);
    m_steel = namedBox(this, u"Text9"_s, d.steel);
    m_steelThickness = namedBox(this, u"Text10"_s, d.steelThickness);
    m_glassWidth = namedBox(this, u"Text11"_s, d.glassWidth);
    m_glassLength = namedBox(this, u"Text12"_s, d.glassLength);
    m_screwDiameter = namedBox(this, u"Text13"_s, d.screwDiameter);
    m_variety = typedList(this, u"Combo1"_s, glassVarietyItems());
    m_variety->setCurrentIndex(0);
    m_bendingRatio = typedList(this, u"Combo2"_s, sideRatioItems());
    m_bendingRatio->setCurrentIndex(sideRatioItems().indexOf(u"0.25"_s));

    auto *form = new QFormLayout;
    form->addRow(u"洞口宽度(mm)："_s, m_openingWidth);
    form->addRow(u"洞口高度(mm)："_s, m_openingHeight);
    form->addRow(u"型材类型："_s, m_profile);
    form->addRow(u"型材厚度(mm)："_s, m_profileThickness);
    form->addRow(u"型钢类型："_s, m_steel);
    form->addRow(u"型钢厚度(mm)："_s, m_steelThickness);
    form->addRow(u"玻璃品种："_s, m_variety);
    form->addRow(u"玻璃种类："_s, m_glassKind);
    form->addRow(u"玻璃厚度(mm)："_s, m_glassThickness);
    form->addRow(u"玻璃宽度(mm)："_s, m_glassWidth);
    form->addRow(u"玻璃长度(mm)："_s, m_glassLength);
    form->addRow(u"玻璃边缘到连框间的距离(mm)："_s, m_edgeDistance);
    form->addRow(u"长短边比值："_s, m_sideRatio);
    form->addRow(u"弯曲系数："_s, m_bendingRatio);
    form->addRow(u"螺钉小径(mm)："_s, m_screwDiameter);

    QPushButton *ok = layOutForm(form, u"校核"_s);

    // The defaults above do not fill the ratio box: only the user's edits do.
    connect(m_glassWidth, &QLineEdit::textChanged, this, &FrmFY01::updateRatio);
    connect(m_glassLength, &QLineEdit::textChanged, this, &FrmFY01::updateRatio);
    connect(ok, &QPushButton::clicked, this, &FrmFY01::check);
}


FrmResultFY01 *FrmFY01::reportWindow() const { return m_report; }

GlassCheckInput FrmFY01::input() const
{
    GlassCheckInput in;
    in.openingWidth = m_openingWidth->text();
    in.openingHeight = m_openingHeight->text();
    in.profile = m_profile->text();
    in.profileThickness = m_profileThickness->text();
    in.steel = m_steel->text();
    in.steelThickness = m_steelThickness->text();
    in.varietyText = m_variety->currentText();
    in.variety = pickedPosition(m_variety);
    in.glassKind = m_glassKind->text();
    in.glassThickness = m_glassThickness->text();
    in.glassWidth = m_glassWidth->text();
    in.glassLength = m_glassLength->text();
    in.edgeDistance = m_edgeDistance->text();
    in.bendingRatio = pickedPosition(m_bendingRatio);
    in.screwDiameter = m_screwDiameter->text();
    return in;
}

void FrmFY01::updateRatio()
{
    if (const std::optional<QString> ratio = sideRatioText(m_glassWidth->text(), m_glassLength->text()))
        m_sideRatio->setText(*ratio);
}

QWidget *FrmFY01::fieldWidget(int field) const
{
    switch (field) {
    case GlassOpeningWidth: return m_openingWidth;
    case GlassOpeningHeight: return m_openingHeight;
    case GlassSteelThickness: return m_steelThickness;
    case GlassThickness: return m_glassThickness;
    case GlassWidth: return m_glassWidth;
    case GlassLength: return m_glassLength;
    case GlassBendingRatio: return m_bendingRatio;
    case GlassScrewDiameter: return m_screwDiameter;
    default: return nullptr;
    }
}

bool FrmFY01::check()
{
    const GlassCheckOutcome out = RunGlassCheck(input(), m_wk, m_chain->state());
    if (out.problem) {
        platform::inform(this, out.problem->message);
        if (QWidget *w = fieldWidget(out.problem->field))
            w->setFocus();
        return false;
    }
    delete m_report;
    m_report = new FrmResultFY01(this, m_chain);
    hide();
    m_report->show();
    return true;
}

void FrmFY01::closeEvent(QCloseEvent *event)
{
    delete m_report;
    StepWindow::closeEvent(event);
}

} // namespace windcheck::ui
