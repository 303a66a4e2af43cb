#pragma once
// The two ways into the cutting optimisation from outside it.
#include <QString>

class QWidget;

namespace optimise::ui {

// The main window's 材料优化: shows the optimisation window modally and returns when it closes.
void YH02Show(QWidget *parent);

// The job window's optimisation command: the wizard at its second step for the job, cutting with
// scheme one. jobId is the job's 编号, jobName its 工程名称 (printed on the reports).
void startWizardAtWindows(QWidget *parent, qint64 jobId, const QString &jobName);

} // namespace optimise::ui
