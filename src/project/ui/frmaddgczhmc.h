#pragma once
// The combined window dialog: a main drawing of the library made up of components (door/window
// types), each with its own named-dimension values and count. While it is open its work lives in
// 标注2 under MCBN -1; saving turns the work into the line's rows, and closing removes what is left.
#include "linedialog.h"

#include <optional>

namespace project::ui {

class FrmAddGCZHMC : public LineDialog
{
    Q_OBJECT
public:
    explicit FrmAddGCZHMC(QWidget *parent = nullptr);
    ~FrmAddGCZHMC() override;

    // Add mode ("1") for job `jobId`, appending to `list`: the type tree is filled and no work row
    // is left from before. False with *error on a failure.
    bool prepareAdd(const QString &jobId, QTreeWidget *list, QString *error = nullptr);
    // Edit mode ("2") of the list's combined row: its fields, its main drawing, and work rows and
    // nodes made from its stored rows. False with *error on a failure.
    bool prepareEdit(QTreeWidget *list, QTreeWidgetItem *row, QString *error = nullptr);

    QLineEdit *TxtTH = nullptr;
    QPushButton *CmdOpenPic = nullptr;
    QTreeWidget *Tvw1 = nullptr;
    QPushButton *CmdSelect = nullptr;
    QPushButton *CmdRemove = nullptr;
    QPushButton *CmdSaveBZ = nullptr;

    // A node of Tvw1 and the work rows it stands for.
    static ComponentKey nodeKey(const QTreeWidgetItem *node);
    // The node whose labels the list shows.

    void CmdOpenPic_Click();
    void CmdSelect_Click();
    void CmdRemove_Click();
    void Tvw_NodeClick(QTreeWidgetItem *node) override;
    void Tvw1_NodeClick(QTreeWidgetItem *node);
    void CmdSaveBZ_Click();
    bool CheckInput();
    void CmdAdd_Click();

    // Every close removes the work rows.
    void done(int result) override;

protected:
    // Only the main drawing's B and H are the window's making size.
    bool labelsSetSize() const override { return m_current && m_current->isMain(); }
    void labelsDone() override { CmdSaveBZ_Click(); }

private:
    QTreeWidgetItem *addNode(const ComponentKey &key);
    QStringList nodeTexts() const;
    // Sets the main drawing: its work rows, node and number.
    bool setMainDrawing(const QString &number, const QString &name);

    std::optional<ComponentKey> m_current;
};

} // namespace project::ui
