#pragma once
// The catalogue window "数据库管理": the browser with the buttons that add, edit and delete makers,
// series and items and set the prices of a group. Every change is written first; the tree and the
// list change only after the write succeeded.
#include "catalogue/types.h"

#include <QWidget>

class QMdiArea;
class QTreeWidgetItem;

namespace catalogue {

class CatalogueBrowser;

class FrmDatabase : public QWidget
{
    Q_OBJECT
public:
    // Fills the tree once, when the main database is open.
    explicit FrmDatabase(QWidget *parent = nullptr);

    CatalogueBrowser *browser() const { return m_browser; }

private:
    // Buttons under the tree
    void CmdAdd1();
    void CmdEdit1();
    void CmdDel1();
    // Buttons under the list (the double click runs CmdEdit2)
    void CmdAdd2();
    void CmdEdit2();
    void CmdDel2();
    void cmdPrice();

    void AddCJ(QTreeWidgetItem *node);
    void AddXL(QTreeWidgetItem *node);
    void EditCJ(QTreeWidgetItem *node);
    void EditXL(QTreeWidgetItem *node);
    void DeleteCJNode(QTreeWidgetItem *node);
    void AddCLItem(const QString &ownerId, const QString &nodeKind);
    void EditCLItem();
    void SetXCPrice(qint64 seriesId, const QString &price);
    void SetXGPrice(qint64 makerId, const QString &price);
    void SetPCPrice(qint64 makerId, const QString &price);
    void SetPJPrice(qint64 makerId, const QString &price);
    void setPrices(ItemKind kind, qint64 ownerId, const QString &price);

    bool askDelete(const QString &name, const QString &number);
    void reportFailure(const QString &error);

    CatalogueBrowser *m_browser = nullptr;
};

// Shows the one catalogue window as a modeless child of the main window's MDI area: made on first
// use (and after it was closed), brought to the front otherwise. Returns it.
FrmDatabase *showDatabaseWindow(QMdiArea *area);

} // namespace catalogue
