#pragma once
// First window of the two-step check "风压基础设置": site and load inputs. "下一步" writes report
// lines 1-24, hides this window and shows the glass step; the cover settings and the cover
// printout are reached from here. The window owns the chain's shared state and its later windows;
// it is only hidden while the chain runs and closing it ends the chain.
#include "windcheck/fullcheck.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLineEdit;

namespace windcheck::ui {

class FrmFY01;
class FrmFM01;

class FrmMainFY01 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmMainFY01(QWidget *parent = nullptr);

    FYState &state() { return m_state; }
    // A later window of the chain is open: the chain outlives the modal display.
    bool chainRunning() const;
    // Brings the chain's visible window to the front.
    void raiseChain();
    FrmFY01 *glassStep() const;
    FrmFM01 *coverSettings() const;

    bool CmdNext();
    void CmdFM();
    bool CmdFMPrint();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    BasicLoadInput input() const;
    QWidget *fieldWidget(int field) const;

    FYState m_state;
    bool m_ended = false;
    QPointer<FrmFY01> m_glassStep;
    QPointer<FrmFM01> m_cover;
    // Named after what they hold; their object names are the window's own (Text1 ... Combo3).
    QLineEdit *m_project, *m_city, *m_basicPressure, *m_lowestTemperature, *m_highestTemperature, *m_gustFactor,
        *m_shapeCoefficient, *m_designFactor;
    QComboBox *m_buildingKind, *m_terrain, *m_height;
};

} // namespace windcheck::ui
