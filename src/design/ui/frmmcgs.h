#pragma once
// The bill-of-materials editor "门窗公式设计" of one door/window type: the catalogue browser to pick
// materials from, the type's drawing, the four bill lists and the row editor. The lists are the
// window's only copy of the edited bill until it is saved; every editor window is independent.
#include "billlists.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace catalogue {
class CatalogueBrowser;
}
namespace platform {
class WidgetSurface;
}

namespace design {

class FrmMCGS : public QWidget
{
    Q_OBJECT
public:
    // An editor on the type `typeId` (the window's tag) with empty lists; the opener fills them.
    explicit FrmMCGS(qint64 typeId, QWidget *parent = nullptr);

    qint64 typeId() const { return m_typeId; }
    const BillListSet &lists() const { return m_lists; }
    QTreeWidget *list(BillKind kind) const { return m_lists[size_t(kind)]; }
    catalogue::CatalogueBrowser *browser() const { return m_browser; }
    platform::WidgetSurface *picture() const { return m_picture; }
    // The column of command buttons, for further commands.

    // Draws the library drawing into PicMC (again on every resize); "" leaves it empty.
    void showDrawing(const QString &number);

    bool billChanged() const { return m_billChanged; }
    // Commands that change the lists call this.
    void setBillChanged() { m_billChanged = true; }
    // A changed bill, or a row edit whose boxes differ from its row.
    bool hasUnsavedChanges() const;

    // The list of the bill tab shown.
    QTreeWidget *currentBillList() const;
    // The four column texts of the last row clicked in any bill list.
    const BillRow &clickedRowTexts() const { return m_clickedRow; }
    QTreeWidgetItem *editedBillRow() const { return m_editedRow; }

    // Commands of the window.
    void CmdSelect();
    void CmdRemove();
    void CmdRemoveAll();
    void CmdSave();
    void CmdExit();
    void cmdOK();
    void cmdCancel();
    // Material replacement from the browser's selected item: in the selected row of the bill list
    // of the item's kind (单一替换), or in every row of that list naming the same material (同组替换).
    void cmdReplace();
    void CmdReplaceAll();
    // Appends the bill of a type chosen in frmCopyGS (复制公式).
    void CmdCopy();
    // The find/replace and macro-replace dialogs over this window's lists.
    void CmdFindReplace();
    void CmdMacroReplace();

    // Opens the row editor on the selected row of a bill list (a double click on it).
    void editSelectedRow(QTreeWidget *list);
    void EditBillRow(QTreeWidgetItem *row);

    // Writes the lists as the type's bill (a pending row edit is confirmed first). On a refused
    // count the message names the row, which is selected; on a failure the error is shown. The
    // stored bill is unchanged whenever it returns false.
    bool SaveMCBillLists();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void addToolCommands();
    void replaceMaterial(bool sameGroup);
    void setRowEditing(bool on);
    void rowClicked(QTreeWidgetItem *item);
    void showRow(BillKind kind, int row);
    int boxIndex(QObject *watched) const;

    qint64 m_typeId = 0;
    QString m_drawingNumber;
    bool m_billChanged = false;

    catalogue::CatalogueBrowser *m_browser = nullptr;
    QTabWidget *m_leftTabs = nullptr;
    QWidget *m_pictureTab = nullptr;
    platform::WidgetSurface *m_picture = nullptr;
    QTabWidget *m_billTabs = nullptr;
    BillListSet m_lists;
    QVBoxLayout *m_commands = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_removeAll = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_exit = nullptr;

    // Row editor
    QWidget *m_rowEditor = nullptr;
    std::array<QLabel *, 4> m_labels{};
    std::array<QLineEdit *, 4> m_boxes{};
    std::array<bool, 4> m_keyBox{};
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QTreeWidgetItem *m_editedRow = nullptr;
    QTreeWidget *m_editedList = nullptr;
    BillRow m_clickedRow;
};

} // namespace design
