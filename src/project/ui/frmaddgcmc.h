#pragma once
// The plain window dialog: adds lines of a door/window type to a job, or edits one. Choosing a type
// shows its drawing and turns every label of the drawing into a named dimension of value "0"; the
// values are typed label by label (a value typed for B or H also fills the making width or
// height). The line and its named dimensions are written together, and the job's window list is
// updated in place.
#include "linedialog.h"

namespace project::ui {

class FrmAddGCMC : public LineDialog
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

    // The type chosen for new lines, 0 for none.
    qint64 chosenType() const { return m_typeNo; }

    void Tvw_NodeClick(QTreeWidgetItem *node) override;
    bool CheckInput();
    void CmdAdd_Click();

private:
    qint64 m_typeNo = 0;
};

} // namespace project::ui
