#pragma once
// The warehouse query window: receipt bills, issue bills or stock, whole or by one field equal to
// a value; stored bills open read-only on a double-click; the stock list prints.
#include "warehouse/billtypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace warehouse::ui {

class FrmQuery : public QDialog
{
    Q_OBJECT
public:
    explicit FrmQuery(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString currentTable() const;
    void LoadQueryFields();
    void tabChanged();
    void queryClicked();
    void RunQuery(bool withCondition);
    void FillQueryList(const QueryResult &result);
    void previewBill();
    void printStock();

    QList<QueryField> m_fields; // of the current table, parallel to CmbZD
    QTabBar *TabStrip1;
    QComboBox *CmbZD;
    QLineEdit *TxtZDZ;
    QTreeWidget *lvw;
    QPushButton *CmdQuery, *CmdAll, *CmdKCPrint, *CmdExit;
};

} // namespace warehouse::ui
