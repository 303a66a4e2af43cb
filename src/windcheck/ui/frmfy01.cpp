#include "frmfy01.h"

#include "frmfy.h"
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
    const QString texts[14] = {QString(), d.text1, d.text2, d.text3, d.text4, QString(), d.text6,
                               d.text7,   d.text8, d.text9, d.text10, d.text11, d.text12, d.text13};
    makeNumberedBoxes(this, m_text, texts);
    auto makeCombo = [this](const QString &name, const QStringList &items) {
        auto *c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItems(items);
        return c;
    };
    m_combo1 = makeCombo(u"Combo1"_s, glassVarietyItems());
    m_combo1->setCurrentIndex(0);
    m_combo2 = makeCombo(u"Combo2"_s, sideRatioItems());
    m_combo2->setCurrentIndex(sideRatioItems().indexOf(u"0.25"_s));

    auto *form = new QFormLayout;
    form->addRow(u"洞口宽度(mm)："_s, m_text[1]);
    form->addRow(u"洞口高度(mm)："_s, m_text[2]);
    form->addRow(u"型材类型："_s, m_text[3]);
    form->addRow(u"型材厚度(mm)："_s, m_text[4]);
    form->addRow(u"型钢类型："_s, m_text[9]);
    form->addRow(u"型钢厚度(mm)："_s, m_text[10]);
    form->addRow(u"玻璃品种："_s, m_combo1);
    form->addRow(u"玻璃种类："_s, m_text[6]);
    form->addRow(u"玻璃厚度(mm)："_s, m_text[7]);
    form->addRow(u"玻璃宽度(mm)："_s, m_text[11]);
    form->addRow(u"玻璃长度(mm)："_s, m_text[12]);
    form->addRow(u"玻璃边缘到连框间的距离(mm)："_s, m_text[8]);
    form->addRow(u"长短边比值："_s, m_text[5]);
    form->addRow(u"弯曲系数："_s, m_combo2);
    form->addRow(u"螺钉小径(mm)："_s, m_text[13]);

    QPushButton *ok = layOutForm(form, u"校核"_s);

    // The defaults above do not fill the ratio box: only the user's edits do.
    connect(m_text[11], &QLineEdit::textChanged, this, &FrmFY01::updateRatio);
    connect(m_text[12], &QLineEdit::textChanged, this, &FrmFY01::updateRatio);
    connect(ok, &QPushButton::clicked, this, &FrmFY01::check);
}


FrmResultFY01 *FrmFY01::reportWindow() const { return m_report; }

GlassCheckInput FrmFY01::input() const
{
    GlassCheckInput in;
    in.text1 = m_text[1]->text();
    in.text2 = m_text[2]->text();
    in.text3 = m_text[3]->text();
    in.text4 = m_text[4]->text();
    in.text9 = m_text[9]->text();
    in.text10 = m_text[10]->text();
    in.combo1Text = m_combo1->currentText();
    in.combo1 = pickedPosition(m_combo1);
    in.text6 = m_text[6]->text();
    in.text7 = m_text[7]->text();
    in.text11 = m_text[11]->text();
    in.text12 = m_text[12]->text();
    in.text8 = m_text[8]->text();
    in.combo2 = pickedPosition(m_combo2);
    in.text13 = m_text[13]->text();
    return in;
}

void FrmFY01::updateRatio()
{
    if (const std::optional<QString> ratio = sideRatioText(m_text[11]->text(), m_text[12]->text()))
        m_text[5]->setText(*ratio);
}

bool FrmFY01::check()
{
    const GlassCheckOutcome out = RunGlassCheck(input(), m_wk, m_chain->state());
    if (out.problem) {
        platform::inform(this, out.problem->message);
        static const QHash<int, int> boxes = {{GlassText1, 1},   {GlassText2, 2},   {GlassText7, 7},
                                              {GlassText10, 10}, {GlassText11, 11}, {GlassText12, 12},
                                              {GlassText13, 13}};
        if (const int box = boxes.value(out.problem->field, 0))
            m_text[box]->setFocus();
        else if (out.problem->field == GlassCombo2)
            m_combo2->setFocus();
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
