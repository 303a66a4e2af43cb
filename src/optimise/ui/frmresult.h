#pragma once
// The result window "优化结果": the grouped cutting plan and the per-material summary of 优化结果,
// their printed reports and the export to a workbook or a text file.
#include <QDialog>

class QTreeWidget;

namespace optimise::ui {

class FrmResult : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResult(QWidget *parent = nullptr);

    void printPlan();
    void printSummary();
    void exportResult();

private:
    void load();
    QList<QStringList> listRows(QTreeWidget *list) const;

    QTreeWidget *m_plan = nullptr;
    QTreeWidget *m_summary = nullptr;
    QString m_lastTextFile;
};

} // namespace optimise::ui
