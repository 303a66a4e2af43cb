#pragma once
// The optimisation wizard: step one chooses a job, step two its doors and windows (and gathers their
// pieces), step three the material codes to cut with the active scheme.
#include <QDialog>

class QProgressBar;
class QTreeWidget;

namespace optimise::ui {

class FrmCreate01 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmCreate01(QWidget *parent = nullptr);
    void next();

private:
    void load();
    QTreeWidget *m_list = nullptr;
};

class FrmCreate02 : public QDialog
{
    Q_OBJECT
public:
    // tag: the job's 编号 as text.
    FrmCreate02(const QString &tag, QWidget *parent = nullptr);
    void next();
    // Both lists anew: every window of the job available, none chosen.
    void refill();

private:
    QString m_tag;
    QTreeWidget *m_available = nullptr;
    QTreeWidget *m_chosen = nullptr;
};

class FrmCreate03 : public QDialog
{
    Q_OBJECT
public:
    explicit FrmCreate03(QWidget *parent = nullptr);
    void optimise();

private:
    void load();
    bool RunYH();

    QTreeWidget *m_available = nullptr;
    QTreeWidget *m_chosen = nullptr;
    QProgressBar *m_progress = nullptr;
};

} // namespace optimise::ui
