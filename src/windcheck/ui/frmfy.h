#pragma once
// The one-window wind check "风压校核": one sliding window and its site; "校核" writes the check
// report into the result window. Nothing is stored; every opening starts from the defaults.
#include "windcheck/simplecheck.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QTextEdit;
class QPushButton;

namespace windcheck::ui {

class FrmFY : public QDialog
{
    Q_OBJECT
public:
    explicit FrmFY(QWidget *parent = nullptr);

    // The fields as they stand.
    SimpleWindInput input() const;
    // "校核": the check, then the result window; false when refused (message shown).
    bool MakeWindReport();
    void EnableTransomInputs(int windowType);

private:
    void steelPicked();
    QWidget *fieldWidget(SimpleField field) const;

    QLineEdit *m_gcmc, *m_mcbh, *m_mccc, *m_cs, *m_fyz, *m_blhd, *m_blcd, *m_blgd, *m_skd, *m_sgd, *m_lzkd,
        *m_lzgd, *m_xggxg;
    QComboBox *m_mclx, *m_fhztxxs, *m_dmccd, *m_jzwlx, *m_jzgd, *m_blzl, *m_xglx, *m_xgbh;
    QTextEdit *m_jhyj;
};

} // namespace windcheck::ui
