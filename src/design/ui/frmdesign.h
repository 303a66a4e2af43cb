#pragma once
// The type design window "门窗设计": the maker/series/type tree with the preview of the selected
// type's drawing, and the buttons that add, rename and delete at each level and open the
// bill-of-materials editor. Every change is written first; the tree changes only after the write
// succeeded, and the buttons follow every change of the selection or the tree.
#include "design/billtypes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QAction;
class QMdiArea;
class QMenu;
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

    // --- moving and copying types: the pop-up menu "功能" (剪切, 复制, 粘贴 onto a series) and
    // dragging a type onto a series, which always copies. A cut mark wins over a copy mark.
    // The menu exists only while it is shown (a right press makes it); its entries live with the
    // window, so their shortcuts work at any time.
    QMenu *popupMenu() const;
    const QList<QAction *> &menuActions() const { return m_menuActions; }
    QAction *menuAction(const QString &objectName) const;
    void mnuCut();
    void mnuCopy();
    void mnuParse();
    // The tree's mouse, in viewport coordinates: a press selects the node under the pointer (a
    // right press then opens the menu) and marks a type as the drag source; a move with the left
    // button alone starts or continues the drag; the release drops it.
    void Tvw_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void Tvw_MouseMove(Qt::MouseButtons buttons, const QPoint &pos);
    void Tvw_DragOver(const QPoint &pos);
    void Tvw_DragDrop();
    // A copy of the type with its bill in the series, in one transaction; the new type's 编号, or
    // nullopt after the failure was shown. The caller adds the node.
    std::optional<qint64> CopyMC(qint64 seriesId, qint64 sourceId);

    QString clipNodeTag() const { return m_clipTag; }
    bool isCut() const { return m_isCut; }
    bool isCopy() const { return m_isCopy; }
    QString dragNodeTag() const { return m_dragTag; }
    bool isDragging() const { return m_isDragging; }
    QTreeWidgetItem *dropHighlight() const { return m_dropNode; }

    // --- the formula workbook
    // Every type with its bill into a new workbook, opened in the spreadsheet program.
    void CmdOutGS();
    // The types of a workbook (.xlsx) into the selected series, all or nothing.
    void CmdInputGS();

signals:
    void billEditorOpened(design::FrmMCGS *editor);

private:
    void setUpTypeTools(QWidget *buttonPanel);
    QTreeWidgetItem *nodeUnderPointer(const QPoint &pos) const;
    void setDropHighlight(QTreeWidgetItem *node);
    void endDrag();
    bool askOkCancel(const QString &question);
    // Drops the marks of nodes that are about to go (the node or anything under it).
    void forgetMarksUnder(const QTreeWidgetItem *node);
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
    QPushButton *m_inputGS = nullptr;
    QPushButton *m_outGS = nullptr;

    // Moving and copying: the marked type and the drag, kept as node tags so that a node that has
    // gone is never used.
    QPointer<QMenu> m_mnuGR;
    QList<QAction *> m_menuActions;
    QAction *m_mnuCut = nullptr;
    QAction *m_mnuCopy = nullptr;
    QAction *m_mnuParse = nullptr;
    QString m_clipTag;
    bool m_isCut = false;
    bool m_isCopy = false;
    QString m_dragTag;
    bool m_isDragging = false;
    QTreeWidgetItem *m_dropNode = nullptr;
};

// Shows the one type design window as a modeless child of the main window's MDI area: made on
// first use (and after it was closed), brought to the front otherwise. Returns it.
FrmDesign *showDesignWindow(QMdiArea *area);

} // namespace design
