#pragma once
#include <QDialog>

namespace app {

// About box: any key or a click closes it.
class FrmAbort : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAbort(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

} // namespace app
