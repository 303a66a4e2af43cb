#pragma once
// Splash window: shows three status captions in turn and closes itself once they have been shown.
// (A second running instance is refused before the login, by the start-up.)
#include <QDialog>

class QLabel;
class QTimer;

namespace shell {

class FrmSetup : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSetup(QWidget *parent = nullptr);

    void tickCaptions(); // Timer2
    void tickClose();    // Timer1

private:
    QLabel *m_show = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    int m_step = 0;
    bool m_done = false;
};

} // namespace shell
