#pragma once
// The optimisation window "塑钢门窗材料优化": a toolbar that switches the cutting scheme and opens
// the wizard, the piece-list window, the options dialog and the instructions.
#include "yhentry.h"

#include <QDialog>

class QAction;

namespace optimise::ui {

class FrmYHMain : public QDialog
{
    Q_OBJECT
public:
    explicit FrmYHMain(QWidget *parent = nullptr);

    // Acts on a toolbar button by its index from 1 (2 is the separator).
    void OnYHToolbarButton(int index);

    void ShowUserForm();
    void ShowCreateWizard();
    void ShowOptionForm();
    void CloseYHMain();
    void ShowHandupForm();

private:
    void switchScheme();
    QAction *m_scheme = nullptr;
};

// The instructions window "使用说明".
class FrmUser : public QDialog
{
    Q_OBJECT
public:
    explicit FrmUser(QWidget *parent = nullptr);
};

} // namespace optimise::ui
