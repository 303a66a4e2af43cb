#pragma once
// Splash window: refuses a second running instance, shows three status captions in turn and
// closes itself once they have been shown.
#include <QDialog>

class QLabel;
class QLockFile;
class QTimer;

namespace shell {

class FrmSetup : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSetup(QWidget *parent = nullptr);
    ~FrmSetup() override;

    // Takes the single-instance lock in the data folder; false when another instance holds it.
    bool takeInstanceLock();
    // The lock passes to the caller, which keeps it for the life of the program.
    QLockFile *releaseLock();

    void tickCaptions(); // Timer2
    void tickClose();    // Timer1

private:
    QLabel *m_show = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    QLockFile *m_lock = nullptr;
    int m_step = 0;
    bool m_done = false;
};

} // namespace shell
