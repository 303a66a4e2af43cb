#pragma once
// The plain window dialog: adds lines of a door/window type to a job, or edits one. Choosing a type
// shows its drawing and turns every label of the drawing into a named dimension of value "0"; the
// values are typed label by label (a value typed for B or H also fills the making width or
// height). The line and its named dimensions are written together, and the job's window list is
// updated in place.
#include <QDialog>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class WidgetSurface;
}

namespace project::ui {

class FrmAddGCMC : public QDialog
{
    Q_OBJECT
public:
    explicit FrmAddGCMC(QWidget *parent = nullptr);

    // Add mode ("1"): lines go to job `jobId` and are appended to `list`. The type tree is filled;
    // false with *error when it could not be read.
    bool prepareAdd(const QString &jobId, QTreeWidget *list, QString *error = nullptr);
    // Edit mode ("2") of the list's row: its fields, its type's drawing and its named dimensions.
    // False with *error when the named dimensions could not be read; a type that is gone only
    // leaves the drawing empty.
    bool prepareEdit(QTreeWidget *list, QTreeWidgetItem *row, QString *error = nullptr);

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

    // The type chosen for new lines, 0 for none.
    qint64 chosenType() const { return m_typeNo; }

    void Tvw_NodeClick(QTreeWidgetItem *node);
    void LvwBZ_DblClick();
    void CmdChange_Click();
    bool CheckInput();
    void CmdAdd_Click();

private:
    QString m_jobId;
    QString m_lineId;
    QTreeWidget *m_list = nullptr;
    QTreeWidgetItem *m_row = nullptr;
    qint64 m_typeNo = 0;
};

// Checks the six fields in order (empty, then sizes and count as numbers): a message and the
// focus on the first bad one. Shared with the combined window dialog.
bool checkLineFields(QWidget *dialog, const std::array<QLineEdit *, 6> &fields);

} // namespace project::ui
