#pragma once
// The piece-list window "手工优化": a material name and typed or loaded rows of length and quantity,
// kept in piece-list files and cut with the active scheme.
#include "optimise/yhrun.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace optimise::ui {

class FrmHandup : public QDialog
{
    Q_OBJECT
public:
    // Cuts with `settings`; pieces must be shorter than its bar.
    explicit FrmHandup(const CutSettings &settings, QWidget *parent = nullptr);

    void add();
    void remove();
    void open() override; // the file command; QDialog::open is not used on this dialog
    void save();
    void optimise();

    QList<PieceListRow> rows() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appendRow(const PieceListRow &row);

    QLineEdit *m_name = nullptr;
    QLineEdit *m_length = nullptr;
    QLineEdit *m_quantity = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_status = nullptr;
    CutSettings m_settings;
};

} // namespace optimise::ui
