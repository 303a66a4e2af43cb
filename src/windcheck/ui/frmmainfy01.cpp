#include "frmmainfy01.h"

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
    const QString texts[9] = {QString(), d.text1, d.text2, d.text3, d.text4, d.text5, d.text6, d.text7, d.text8};
    makeNumberedBoxes(this, m_text, texts);
    const QStringList items[4] = {{}, fullBuildingItems(), fullTerrainItems(), fullHeightItems()};
    const int initial[4] = {0, d.combo1, d.combo2, d.combo3};
    for (int i = 1; i <= 3; ++i) {
        // Lists only take their items: no typed text can reach the height table.
        m_combo[i] = new QComboBox(this);
        m_combo[i]->setObjectName(u"Combo"_s + QString::number(i));
        m_combo[i]->addItems(items[i]);
        m_combo[i]->setCurrentIndex(initial[i]);
    }

    auto *form = new QFormLayout;
    form->addRow(u"工程门窗："_s, m_text[1]);
    form->addRow(u"城市："_s, m_text[2]);
    form->addRow(u"基本风压值(KN/m^2)："_s, m_text[3]);
    form->addRow(u"建筑物类型："_s, m_combo[1]);
    form->addRow(u"地面粗糙度："_s, m_combo[2]);
    form->addRow(u"建筑物高度(M)："_s, m_combo[3]);
    form->addRow(u"最低温度："_s, m_text[4]);
    form->addRow(u"最高温度："_s, m_text[5]);
    form->addRow(u"阵风系数："_s, m_text[6]);
    form->addRow(u"风荷载体型系数："_s, m_text[7]);
    form->addRow(u"风荷载设计值系数："_s, m_text[8]);

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
    in.text1 = m_text[1]->text();
    in.text2 = m_text[2]->text();
    in.text3 = m_text[3]->text();
    in.text4 = m_text[4]->text();
    in.text5 = m_text[5]->text();
    in.text6 = m_text[6]->text();
    in.text7 = m_text[7]->text();
    in.text8 = m_text[8]->text();
    in.combo1Text = m_combo[1]->currentText();
    in.combo1 = m_combo[1]->currentIndex();
    in.combo2Text = m_combo[2]->currentText();
    in.combo2 = m_combo[2]->currentIndex();
    in.combo3Text = m_combo[3]->currentText();
    in.combo3 = m_combo[3]->currentIndex();
    return in;
}

bool FrmMainFY01::CmdNext()
{
    if (const std::optional<StepProblem> problem = RunBasicLoadStep(input(), m_state)) {
        if (problem->notice)
            platform::inform(this, problem->message);
        else
            platform::messages().message(this, problem->message, applicationTitle(), platform::MsgIcon::None,
                                         platform::MsgButtons::Ok);
        QWidget *focus = nullptr;
        switch (problem->field) {
        case BasicCombo1: focus = m_combo[1]; break;
        case BasicCombo2: focus = m_combo[2]; break;
        case BasicCombo3: focus = m_combo[3]; break;
        case BasicText4: focus = m_text[4]; break;
        case BasicText5: focus = m_text[5]; break;
        case BasicText6: focus = m_text[6]; break;
        case BasicText7: focus = m_text[7]; break;
        default: break;
        }
        if (focus)
            focus->setFocus();
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
