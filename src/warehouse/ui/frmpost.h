#pragma once
// The issue bill window: a new issue (header, lines picked from stock, saved with the stock taken
// off) or the read-only preview of a stored one, which can be printed.
#include "warehouse/billtypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace warehouse::ui {

class BillDateEdit;
class FrmPost;

// The stock picker: stock rows by kind; each pick within the stock still free becomes a line of
// the issue window it was opened for.
class FrmPostData : public QDialog
{
    Q_OBJECT
public:
    explicit FrmPostData(FrmPost *issue);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void LoadStockKinds();
    void LoadStockItems(const QString &kind);
    void pickSelected();
    bool CheckIssuePick();
    void addClicked();

    FrmPost *m_issue;
    double m_pickedStock = 0; // 库存量 of the row picked last
    QComboBox *CmbZL;
    QTreeWidget *LvwR;
    QLineEdit *TxtMC, *TxtGG, *TxtDW, *TxtSL, *TxtZL;
    QPushButton *OKButton, *CancelButton;
};

class FrmPost : public QDialog
{
    Q_OBJECT
public:
    // Takes its bill number from CurOutBillNo.
    explicit FrmPost(QWidget *parent = nullptr);

    // Shows a stored bill: header texts in the order of 出库单 (单据编号, 用途, 说明, 仓管员,
    // 出库日期), line rows without their bill number; disables every editing control.
    void setPreview(const QStringList &head, const QList<QStringList> &lines);
    void setPrintEnabled(bool enabled);

    IssueBill bill() const;
    // The picker's way in.
    void appendLine(const IssueLine &line);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addLines();
    void deleteLine();
    bool CheckIssueBill();
    void okClicked();
    void printClicked();

    QLineEdit *TxtDJBH, *TxtYT, *TxtSM, *TxtCGY;
    BillDateEdit *TxtRQ;
    QTreeWidget *lvw;
    QPushButton *CmdAdd, *CmdDel, *CmdPrint, *OKButton, *CancelButton;
};

} // namespace warehouse::ui
