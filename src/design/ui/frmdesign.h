#pragma once
// The type design window "门窗设计": the maker/series/type tree with the preview of the selected
// type's drawing, and the buttons that add, rename and delete at each level and open the
// bill-of-materials editor. Every change is written first; the tree changes only after the write
// succeeded, and the buttons follow every change of the selection or the tree.
#include "design/typestore.h"

#include <QString>
#include <QWidget>

class QMdiArea;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class WidgetSurface;
}

namespace design {

class FrmMCGS;

class FrmDesign : public QWidget
{
    Q_OBJECT
public:
    // Loads the tree from the main database.
    explicit FrmDesign(QWidget *parent = nullptr);

    QTreeWidget *tree() const { return m_tree; }
    platform::WidgetSurface *preview() const { return m_preview; }

    // A node's tag (level character + 编号) and key ("Node1"/"Node2"/"Node3" + 编号).
    static QString nodeTag(const QTreeWidgetItem *node);
    static QString nodeKey(const QTreeWidgetItem *node);
    QTreeWidgetItem *nodeByTag(const QString &tag) const;
    QTreeWidgetItem *selectedNode() const;

    // --- tree
    void LoadMakerNodes();
    void LoadSeriesNodes(QTreeWidgetItem *makerNode, const QList<TypeTreeSeries> &series);
    void LoadTypeNodes(QTreeWidgetItem *seriesNode, const QList<DoorType> &types);
    // Level "0" (empty tree) to "3" (type); any other text disables all ten buttons.
    void SetButtonState(const QString &level);
    void EnableAllButtons(bool on);
    // The buttons and the preview for the selected node (a click on it, or any change of the
    // selection or the tree).
    void Tvw_NodeClick();

    // --- button commands; each acts only on a selected node of its own level
    void CmdAddCJ();
    void CmdEditCJ();
    void cmdDelCJ();
    void CmdAddXL();
    void CmdEditXL();
    void CmdDelXL();
    void CmdAddMC();
    void CmdEditMC();
    void CmdDelMC();
    // Opens a new editor window on the selected type (none for any other node); returns it.
    FrmMCGS *CmdDesignMC();

signals:
    void billEditorOpened(design::FrmMCGS *editor);

private:
    QTreeWidgetItem *makeNode(const QString &level, qint64 id, const QString &text) const;
    QTreeWidgetItem *selectedNodeOfLevel(const QStringList &levels) const;
    void insertAfter(QTreeWidgetItem *node, QTreeWidgetItem *sibling);
    bool askDelete(const QString &question, const QTreeWidgetItem *node);
    void removeNode(QTreeWidgetItem *node);
    void reportFailure(const QString &what, const QString &error);

    QTreeWidget *m_tree = nullptr;
    platform::WidgetSurface *m_preview = nullptr;
    QString m_previewNumber;
    QPushButton *m_addCJ = nullptr;
    QPushButton *m_editCJ = nullptr;
    QPushButton *m_delCJ = nullptr;
    QPushButton *m_addXL = nullptr;
    QPushButton *m_editXL = nullptr;
    QPushButton *m_delXL = nullptr;
    QPushButton *m_addMC = nullptr;
    QPushButton *m_editMC = nullptr;
    QPushButton *m_delMC = nullptr;
    QPushButton *m_designMC = nullptr;
    QPushButton *m_exit = nullptr;
};

// Shows the one type design window as a modeless child of the main window's MDI area: made on
// first use (and after it was closed), brought to the front otherwise. Returns it.
FrmDesign *showDesignWindow(QMdiArea *area);

} // namespace design
