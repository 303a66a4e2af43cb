#pragma once
// The current job, which the job list and the job windows set, and the job as a job window hands it to
// the component sheets and the statistics it starts.
#include "jobtypes.h"

#include <QList>
#include <QString>

namespace project {

// 编号 and 工程名称 of the current job: the job whose window started the last add, edit, sheet,
// statistics or optimisation, or the job last opened or chosen for copying in the job list.
extern QString CurGCNum;
extern QString CurGCName;
// 编号 of the line being edited.
extern QString CurMCNum;

// A job as handed to the windows started for it: its 编号 and 工程名称.
struct JobRef
{
    QString id;
    QString name;
    friend bool operator==(const JobRef &, const JobRef &) = default;
};

// Makes a job current.
void setCurrentJob(const QString &id, const QString &name);

} // namespace project
