#pragma once
// The receipt bill window: a new receipt (header, lines through the line dialog, saved with its
// stock booking) or the read-only preview of a stored one, which can be printed.
#include "warehouse/billtypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace warehouse::ui {

class BillDateEdit;

// The line dialog: six texts in list-column order in, the edited ones out after OK.
class FrmEnterData : public QDialog
{
    Q_OBJECT
public:
    explicit FrmEnterData(const QStringList &values, QWidget *parent = nullptr);
    // The six texts taken at OK (名称, 规格, 单位, 单价, 数量, 种类).
    QStringList values() const { return m_values; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool CheckReceiptLine();
    void ShowReceiptLine(const QStringList &values);

    QStringList m_values;
    QLineEdit *TxtMC, *TxtGG, *TxtDW, *TxtDJ, *TxtSL;
    QComboBox *CmbZL;
    QPushButton *OKButton, *CancelButton;
};

class FrmEnter : public QDialog
{
    Q_OBJECT
public:
    // Takes its bill number from CurInBillNo.
    explicit FrmEnter(QWidget *parent = nullptr);

    // Shows a stored bill: header texts in the order of 入库单 (单据编号, 来料来源, 采购金额, 用途,
    // 说明, 采购员, 采购日期), line rows without their bill number; disables every editing control.
    void setPreview(const QStringList &head, const QList<QStringList> &lines);
    // A new bill cannot be printed until it is stored.
    void setPrintEnabled(bool enabled);

    ReceiptBill bill() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addLine();
    void editLine();
    void deleteLine();
    void PutLineIntoList(const QStringList &values, bool newRow);
    bool CheckReceiptBill();
    void okClicked();
    void printClicked();

    QLineEdit *TxtDJBH, *TxtLLLY, *TxtCGJE, *TxtYT, *TxtSM, *TxtCGY;
    BillDateEdit *TxtRQ;
    QTreeWidget *lvw;
    QPushButton *CmdAdd, *CmdEdit, *CmdDel, *CmdPrint, *OKButton, *CancelButton;
};

} // namespace warehouse::ui
