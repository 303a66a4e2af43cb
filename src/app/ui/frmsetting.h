#pragma once
// The general settings dialog "设置用户": company details, export file type and wind-check model.
// Opening it changes nothing; OK stores the settings and applies them at once.
#include <QDialog>

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace app {

class FrmSetting : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSetting(QWidget *parent = nullptr);

private:
    void onOk();

    QLineEdit *m_company = nullptr;
    QLineEdit *m_telephone = nullptr;
    QLineEdit *m_address = nullptr;
    QRadioButton *m_excel = nullptr;
    QRadioButton *m_text = nullptr;
    QRadioButton *m_standard = nullptr;
    QRadioButton *m_easy = nullptr;
};

} // namespace app
