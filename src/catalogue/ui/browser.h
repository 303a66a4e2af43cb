#pragma once
// The catalogue browser: the tree `Tvw` of makers and profile series beside the list `lvw` of the
// materials under the clicked node. One widget serves both hosts, the catalogue window (which edits
// through it) and the bill-of-materials editor (which picks from it).
//
// Nodes carry a tag (kind character + 编号: "1"-"4" a maker of that kind, "5" a series) and a key
// ("Node1" + 编号 for a maker, "Node2" + 编号 for a series). A list row holds the fields in its
// columns, then the owner's 编号 and the row's 编号 (column 8, 8, 7 or 5).
#include "catalogue/types.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <optional>

class QAbstractButton;
class QMdiSubWindow;
class QTreeWidget;
class QTreeWidgetItem;

namespace catalogue {

class CatalogueBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit CatalogueBrowser(QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    QTreeWidget *list() const { return m_list; }

    // Hosts put their buttons under the tree or the list; a panel with buttons keeps a strip for them.
    void addTreeButton(QAbstractButton *button);
    void addListButton(QAbstractButton *button);
    void setTreePanelWidth(int pixels);
    QWidget *treePanel() const { return m_treePanel; }
    QWidget *listPanel() const { return m_listPanel; }

    // --- loading
    // Adds a root node for every maker and, under each profile maker, its series.
    void LoadCJTree();
    void LoadXLNodes(QTreeWidgetItem *makerNode, qint64 makerId);
    void LoadXGList(qint64 makerId);
    void LoadPCList(qint64 makerId);
    void LoadPJList(qint64 makerId);
    void loadItemList(ItemKind kind, qint64 ownerId);
    // Removes every node and loads the tree again; the list keeps what it shows.
    void refillTree();
    // Rows and columns: the list then has no kind.
    void clearList();

    // Shows the list that belongs to the selected node (a profile maker empties it).
    void Tvw_NodeClick();
    // With a selected row, asks the host to run its item command.
    void lvw_DblClick();

    // Refill the tree each time the host window (or MDI child) becomes active.
    void setRefillOnActivation(bool on);

    // --- what hosts read
    QTreeWidgetItem *selectedNode() const;
    QTreeWidgetItem *selectedRow() const;
    bool hasColumns() const;
    // The first two characters of the first header ("型材", "型钢", "板材", "配件"); "" with no columns.
    QString listKind() const;
    std::optional<ItemKind> listItemKind() const;

    static QString nodeTag(const QTreeWidgetItem *node);
    static QString nodeKey(const QTreeWidgetItem *node);
    QTreeWidgetItem *nodeByKey(const QString &key) const;

    // --- changes made by the editing host
    // A node with its text, tag, key and image, not yet in the tree.
    QTreeWidgetItem *makeNode(const QString &text, const QString &tag, const QString &key) const;
    void insertNodeAfter(QTreeWidgetItem *node, QTreeWidgetItem *sibling); // sibling null: at the end of the top level
    void appendChildNode(QTreeWidgetItem *parent, QTreeWidgetItem *node);
    // Removes a node with its children and leaves no node selected.
    void removeNode(QTreeWidgetItem *node);
    // Adds a row of texts at the end of the list and returns it.
    QTreeWidgetItem *appendRow(const QStringList &texts);

signals:
    // A double click on the list while a row is selected.
    void itemCommand();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrange();
    void watchHostActivation();
    void onCurrentNodeChanged();
    void setListHeaders(const QStringList &headers);

    QWidget *m_treePanel = nullptr;
    QWidget *m_listPanel = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTreeWidget *m_list = nullptr;
    QList<QAbstractButton *> m_treeButtons;
    QList<QAbstractButton *> m_listButtons;
    int m_treeWidth = 300;
    bool m_refillOnActivation = false;
    QPointer<QWidget> m_watchedHost;
    bool m_mouseDown = false;
    int m_quiet = 0; // > 0 while the code itself changes the tree's current node
};

} // namespace catalogue
