#pragma once
// What the plain and the combined window dialog share: the type tree, which follows the keyboard
// as it follows clicks; the drawing box with its label list and value editor, where Enter walks
// through the labels; the six fields of the line with their Enter chain; the add and exit
// buttons; and taking a line of the job's list for adding or editing.
#include "project/jobtypes.h"

#include <QDialog>
#include <QString>
#include <array>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class WidgetSurface;
}

namespace project::ui {

class LineDialog : public QDialog
{
    Q_OBJECT
public:
    QString Tag; // "1" add, "2" edit
    QTreeWidget *Tvw = nullptr;
    platform::WidgetSurface *PicMC = nullptr;
    QTreeWidget *LvwBZ = nullptr;
    QLabel *LblBZ = nullptr;
    QLineEdit *TxtBZ = nullptr;
    QPushButton *CmdChange = nullptr;
    std::array<QLineEdit *, 6> Text1{};
    QPushButton *CmdAdd = nullptr;
    QPushButton *Command2 = nullptr;

    virtual void Tvw_NodeClick(QTreeWidgetItem *node) = 0;
    void LvwBZ_DblClick();
    // The edited value into the current label row, then on to the next row; after the last one
    // the focus goes to 门窗部位.
    void CmdChange_Click();

protected:
    explicit LineDialog(const QString &objectName, QWidget *parent);

    // The fields grid (rows 0 to 5 are taken) and the layout of the whole dialog: `top` above the
    // drawing box, `labelButtons` between the value editor and the label list.
    QGridLayout *fieldGrid() const { return m_fields; }
    void layOut(QLayout *top, QLayout *labelButtons);
    // Enter in the six fields moves on, and from the last one to `last`.
    void chainFields(QWidget *last);

    // Add mode: new lines go to job `jobId` and are appended to `list`.
    void beginAdd(const QString &jobId, QTreeWidget *list);
    // Edit mode of the list's row: its job, its number and its six fields; returns the line.
    JobLine beginEdit(QTreeWidget *list, QTreeWidgetItem *row, const QString &title);
    LineFields typedFields() const;

    // Whether a value typed for a B or H label also fills the making width or height.
    virtual bool labelsSetSize() const { return true; }
    // After the value of the last label was taken.
    virtual void labelsDone() {}

    QString m_jobId;
    QString m_lineId;
    QTreeWidget *m_list = nullptr;
    QTreeWidgetItem *m_row = nullptr;

private:
    QGridLayout *m_fields = nullptr;
};

// Checks the six fields in order (empty, then sizes and count as numbers): a message and the
// focus on the first bad one.
bool checkLineFields(QWidget *dialog, const std::array<QLineEdit *, 6> &fields);

} // namespace project::ui
