#pragma once
// The optimisation wizard: step one chooses a job, step two its doors and windows (and gathers their
// pieces), step three the material codes to cut with the settings the wizard was started with.
#include "optimise/yhcut.h"

#include <QDialog>

class QProgressBar;
class QTreeWidget;

namespace optimise::ui {

class FrmCreate01 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmCreate01(const CutSettings &settings, QWidget *parent = nullptr);
    void next();

private:
    void load();
    QTreeWidget *m_list = nullptr;
    CutSettings m_settings;
};

class FrmCreate02 : public QDialog
{
    Q_OBJECT
public:
    // tag: the job's 编号 as text.
    FrmCreate02(const QString &tag, const CutSettings &settings, QWidget *parent = nullptr);
    void next();
    // Both lists anew: every window of the job available, none chosen.
    void refill();

private:
    QString m_tag;
    CutSettings m_settings;
    QTreeWidget *m_available = nullptr;
    QTreeWidget *m_chosen = nullptr;
};

class FrmCreate03 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmCreate03(const CutSettings &settings, QWidget *parent = nullptr);
    void optimise();

private:
    void load();
    bool RunYH();

    QTreeWidget *m_available = nullptr;
    QTreeWidget *m_chosen = nullptr;
    QProgressBar *m_progress = nullptr;
    CutSettings m_settings;
};

} // namespace optimise::ui
