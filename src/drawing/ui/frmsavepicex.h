#pragma once
// The library save dialog: a new drawing number (proposed: the next free one) and a name. OK
// returns the number and the name.
#include <QDialog>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace drawing::ui {

struct NewLibraryPicture
{
    qint64 number = 0;
    QString name; // as typed
};

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

    // The number and name confirmed with OK, or nullopt.
    std::optional<NewLibraryPicture> entered() const { return m_entered; }
    // The editor's use: caption "保存文件名", name label "文件名：", empty name; the number and
    // name confirmed, or nullopt.
    static std::optional<NewLibraryPicture> ask(QWidget *parent = nullptr);

private:
    void accepted();

    std::optional<NewLibraryPicture> m_entered;
};

} // namespace drawing::ui
