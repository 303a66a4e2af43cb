#pragma once
// The library save dialog: a new drawing number (proposed: the next free one) and a name. Returns
// the number in InputResult[0] and the name in InputText, with InputOK set.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace drawing::ui {

class frmSavePicEX : public QDialog
{
    Q_OBJECT
public:
    explicit frmSavePicEX(QWidget *parent = nullptr);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr; // number
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr; // name
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

private:
    void accepted();
};

// The editor's use: caption "保存文件名", name label "文件名：", empty name; true when saved (InputOK).
bool askNewLibraryPicture(QWidget *parent = nullptr);

} // namespace drawing::ui
