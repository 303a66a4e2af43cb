#pragma once
// Entry of the statistics window from a job's window list.
#include "project/projectstate.h"

#include <QList>

class QWidget;

namespace stats::ui {

// Opens the statistics window modally over the job's windows (every line, in list order); an
// empty list shows "当前工程中无门窗！" instead.
void showStatistics(QWidget *parent, const project::JobRef &job, const QList<project::JobLine> &lines);

} // namespace stats::ui
