#pragma once
// Result window of the one-window check: the report in a read-only text box, printed on request.
#include <QDialog>

class QTextEdit;

namespace windcheck::ui {

class FrmFyResult : public QDialog
{
    Q_OBJECT
public:
    // `report`: CR LF line ends, title in its first characters.
    explicit FrmFyResult(const QString &report, QWidget *parent = nullptr);

    QString reportText() const { return m_report; }
    bool printReport();

private:
    QString m_report;
    QTextEdit *m_result;
};

} // namespace windcheck::ui
