#pragma once
// What the job windows hand to the component sheets, the statistics and the optimisation: the
// current job and the window list of the job they were started from, as plain data.
#include "projectstore.h"

#include <QList>
#include <QString>

namespace project {

// 编号 and 工程名称 of the current job: the job whose window started the last add, edit, sheet,
// statistics or optimisation, or the job last opened or chosen for copying in the job list.
extern QString CurGCNum;
extern QString CurGCName;
// 编号 of the line being edited.
extern QString CurMCNum;

// The window list handed to the component sheets: every line of the job, in list order, and the
// index of the selected line (-1 for none).
extern QList<JobLine> GJBListView;
extern int GJBSelectedIndex;

// Makes a job current.
void setCurrentJob(const QString &id, const QString &name);

} // namespace project
