#pragma once
// Entries of the component sheets and the simple cut list for the job and statistics windows.
#include "project/projectstate.h"

#include <QList>
#include <QString>

class QWidget;

namespace sheets {
class SimpleBuyTable;
}

namespace sheets::ui {

// The component sheets of a job's lines (in list order), starting at the line of index `selected`.
// Refuses an empty list or no selected line with "当前工程中没有可打印的门窗！".
void showComponentSheets(QWidget *parent, const project::JobRef &job, const QList<project::JobLine> &lines,
                         int selected);

// The preview of a filled and closed cut list; nothing when it has no page.
void showSimpleBuyPreview(QWidget *parent, const SimpleBuyTable &table);

// The cut list of the chosen lines (in list order) under the job name: built, then previewed, or
// "无可购件数据！" when no line gives a row; a table that cannot be read is reported instead.
void showSimpleCutList(QWidget *parent, const QList<project::JobLine> &chosen, const QString &projectName);

} // namespace sheets::ui
