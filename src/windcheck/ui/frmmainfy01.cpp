#include "frmmainfy01.h"

#include "fields.h"
#include "frmfm01.h"
#include "frmfy01.h"
#include "frmresultfy01.h"
#include "stepwindow.h"
#include "platform/messages.h"
#include "platform/printing.h"
#include "platform/surface.h"
#include "windcheck.h"
#include "windcheck/coefficients.h"
#include "windcheck/fyprint.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

FrmMainFY01::FrmMainFY01(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"FrmMainFY01"_s);
    setWindowTitle(u"风压基础设置"_s);
    m_state.printFontSize = kReportFontSize;

    const BasicLoadInput d = defaultBasicLoadInput(u"北京"_s);
    m_project = namedBox(this, u"Text1"_s, d.project);
    m_city = namedBox(this, u"Text2"_s, d.city);
    m_basicPressure = namedBox(this, u"Text3"_s, d.basicPressure);
    m_lowestTemperature = namedBox(this, u"Text4"_s, d.lowestTemperature);
    m_highestTemperature = namedBox(this, u"Text5"_s, d.highestTemperature);
    m_gustFactor = namedBox(this, u"Text6"_s, d.gustFactor);
    m_shapeCoefficient = namedBox(this, u"Text7"_s, d.shapeCoefficient);
    m_designFactor = namedBox(this, u"Text8"_s, d.designFactor);
    auto list = [this](const QString &name, const QStringList &items, int current) {
        // Lists only take their items: no typed text can reach the height table.
        auto *c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(items);
        c->setCurrentIndex(current);
        return c;
    };
    m_buildingKind = list(u"Combo1"_s, fullBuildingItems(), d.buildingKind);
    m_terrain = list(u"Combo2"_s, fullTerrainItems(), d.terrain);
    m_height = list(u"Combo3"_s, fullHeightItems(), d.height);

    auto *form = new QFormLayout;
    form->addRow(u"工程门窗："_s, m_project);
    form->addRow(u"城市："_s, m_city);
    form->addRow(u"基本风压值(KN/m^2)："_s, m_basicPressure);
    form->addRow(u"建筑物类型："_s, m_buildingKind);
    form->addRow(u"地面粗糙度："_s, m_terrain);
    form->addRow(u"建筑物高度(M)："_s, m_height);
    form->addRow(u"最低温度："_s, m_lowestTemperature);
    form->addRow(u"最高温度："_s, m_highestTemperature);
    form->addRow(u"阵风系数："_s, m_gustFactor);
    form->addRow(u"风荷载体型系数："_s, m_shapeCoefficient);
    form->addRow(u"风荷载设计值系数："_s, m_designFactor);

    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton *next = button(u"CmdNext"_s, u"下一步"_s);
    QPushButton *cover = button(u"CmdFM"_s, u"封面设置..."_s);
    QPushButton *coverPrint = button(u"CmdFMPrint"_s, u"打印封面"_s);
    QPushButton *quit = button(u"Command2"_s, u"退出"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cover);
    buttons->addWidget(coverPrint);
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(quit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    chainFormTo(this, form, next);
    connect(next, &QPushButton::clicked, this, &FrmMainFY01::CmdNext);
    connect(cover, &QPushButton::clicked, this, &FrmMainFY01::CmdFM);
    connect(coverPrint, &QPushButton::clicked, this, &FrmMainFY01::CmdFMPrint);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
}

bool FrmMainFY01::chainRunning() const { return !m_ended && (m_glassStep || m_cover); }

void FrmMainFY01::raiseChain()
{
    QWidget *shown = this;
    if (m_cover && m_cover->isVisible())
        shown = m_cover;
    else if (m_glassStep && m_glassStep->isVisible())
        shown = m_glassStep;
    else if (m_glassStep && m_glassStep->reportWindow() && m_glassStep->reportWindow()->isVisible())
        shown = m_glassStep->reportWindow();
    shown->show();
    shown->raise();
    shown->activateWindow();
}

FrmFY01 *FrmMainFY01::glassStep() const { return m_glassStep; }

FrmFM01 *FrmMainFY01::coverSettings() const { return m_cover; }

BasicLoadInput FrmMainFY01::input() const
{
    BasicLoadInput in;
    in.project = m_project->text();
    in.city = m_city->text();
    in.basicPressure = m_basicPressure->text();
    in.lowestTemperature = m_lowestTemperature->text();
    in.highestTemperature = m_highestTemperature->text();
    in.gustFactor = m_gustFactor->text();
    in.shapeCoefficient = m_shapeCoefficient->text();
    in.designFactor = m_designFactor->text();
    in.buildingKindText = m_buildingKind->currentText();
    in.buildingKind = m_buildingKind->currentIndex();
    in.terrainText = m_terrain->currentText();
    in.terrain = m_terrain->currentIndex();
    in.heightText = m_height->currentText();
    in.height = m_height->currentIndex();
    return in;
}

QWidget *FrmMainFY01::fieldWidget(int field) const
{
    switch (field) {
    case BasicBuildingKind: return m_buildingKind;
    case BasicTerrain: return m_terrain;
    case BasicHeight: return m_height;
    case BasicLowestTemperature: return m_lowestTemperature;
    case BasicHighestTemperature: return m_highestTemperature;
    case BasicGustFactor: return m_gustFactor;
    case BasicShapeCoefficient: return m_shapeCoefficient;
    default: return nullptr;
    }
}

bool FrmMainFY01::CmdNext()
{
    if (const std::optional<StepProblem> problem = RunBasicLoadStep(input(), m_state)) {
        if (problem->notice)
            platform::inform(this, problem->message);
        else
            platform::messages().message(this, problem->message, applicationTitle(), platform::MsgIcon::None,
                                         platform::MsgButtons::Ok);
        if (QWidget *w = fieldWidget(problem->field))
            w->setFocus();
        return false;
    }
    // Each run of this step starts the glass step afresh, with a new copy of Wk.
    delete m_glassStep;
    m_glassStep = new FrmFY01(this);
    hide();
    m_glassStep->show();
    return true;
}

void FrmMainFY01::CmdFM()
{
    delete m_cover;
    m_cover = new FrmFM01(this);
    hide();
    m_cover->show();
}

bool FrmMainFY01::CmdFMPrint()
{
    const double before = m_state.printFontSize;
    const bool printed =
        platform::printOnSurface(this, platform::PrintRoute::DefaultPrinter, [this, before](platform::Surface &printer) {
            m_state.printFontSize = before; // a second attempt starts as the first did
            PrintCoverPage(printer, LoadCoverSettings(), QDate::currentDate(), m_state);
            return true;
        });
    if (printed)
        return true;
    m_state.printFontSize = before; // nothing reached the printer
    return false;
}

void FrmMainFY01::reject() { close(); }

void FrmMainFY01::closeEvent(QCloseEvent *event)
{
    m_ended = true;
    delete m_glassStep;
    delete m_cover;
    event->accept();
}

} // namespace windcheck::ui
