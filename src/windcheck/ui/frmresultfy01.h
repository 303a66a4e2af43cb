#pragma once
// Report window of the two-step check: lines 1-217 in a read-only text box, printed page by page
// on the default printer. Closing it brings the glass step back.
#include "stepwindow.h"

class QTextEdit;

namespace windcheck::ui {

class FrmFY01;
class FrmMainFY01;

class FrmResultFY01 : public StepWindow
{
    Q_OBJECT
public:
    FrmResultFY01(FrmFY01 *glassStep, FrmMainFY01 *chain);

    QString reportText() const;
    bool CmdPrint();

private:
    FrmMainFY01 *m_chain;
    QTextEdit *m_rtb;
};

} // namespace windcheck::ui
