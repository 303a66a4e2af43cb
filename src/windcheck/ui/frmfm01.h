#pragma once
// Cover settings "封面设置": the four cover texts kept in the settings store and today's date.
// Closing it, saved or not, brings the first window of the two-step check back.
#include "stepwindow.h"

class QLineEdit;

namespace windcheck::ui {

class FrmMainFY01;

class FrmFM01 : public StepWindow
{
    Q_OBJECT
public:
    explicit FrmFM01(FrmMainFY01 *chain);

    void save();

private:
    // Named after what they hold; their object names are the window's own (Text1 ... Text5).
    QLineEdit *m_project, *m_checker, *m_reviewer, *m_checkingUnit, *m_date;
};

} // namespace windcheck::ui
