#pragma once
// Second window of the two-step check "风压校核设置": glass, opening, frame and steel. "校核"
// writes report lines 25-217, hides this window and shows the report; "取消" or closing goes back
// to the first window.
#include "windcheck/fullcheck.h"

#include "stepwindow.h"

#include <QPointer>

class QComboBox;
class QLineEdit;

namespace windcheck::ui {

class FrmMainFY01;
class FrmResultFY01;

class FrmFY01 : public StepWindow
{
    Q_OBJECT
public:
    explicit FrmFY01(FrmMainFY01 *chain);

    float wkCopy() const { return m_wk; }
    FrmResultFY01 *reportWindow() const;
    GlassCheckInput input() const;

    bool check();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void updateRatio();
    QWidget *fieldWidget(int field) const;

    FrmMainFY01 *m_chain;
    float m_wk;
    QPointer<FrmResultFY01> m_report;
    // Named after what they hold; their object names are the window's own (Text1 ... Combo2).
    QLineEdit *m_openingWidth, *m_openingHeight, *m_profile, *m_profileThickness, *m_sideRatio, *m_glassKind,
        *m_glassThickness, *m_edgeDistance, *m_steel, *m_steelThickness, *m_glassWidth, *m_glassLength,
        *m_screwDiameter;
    QComboBox *m_variety, *m_bendingRatio;
};

} // namespace windcheck::ui
