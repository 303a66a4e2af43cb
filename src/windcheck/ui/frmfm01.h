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
    QLineEdit *m_text[6] = {};
};

} // namespace windcheck::ui
