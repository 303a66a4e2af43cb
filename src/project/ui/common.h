#pragma once
// Helpers shared by the project windows: list rows of lines and jobs, the type tree of the window
// dialogs, the drawing box, field keys and failure messages.
#include "project/projectstore.h"

#include <QList>
#include <QString>
#include <QTreeWidgetItem>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace platform {
class WidgetSurface;
}

namespace project::ui {

// The nine columns of a line list: 门窗名称, 门窗类型, 洞口宽, 洞口高, 樘数, 说明, 工程编号, 门窗编号, 编号.
QStringList lineHeaders();
QTreeWidgetItem *lineItem(const JobLine &line);
void setLineItem(QTreeWidgetItem *item, const JobLine &line);
JobLine itemLine(const QTreeWidgetItem *item);
QList<JobLine> listLines(const QTreeWidget *list);
void setupLineList(QTreeWidget *list);

// The five columns of a job list: 工程名称, 工程地点, 甲方单位, 合同编号, 编号.
QStringList jobHeaders();
QTreeWidgetItem *jobItem(const Job &job);
void setJobItem(QTreeWidgetItem *item, const Job &job);
Job itemJob(const QTreeWidgetItem *item);
// Fills a job list from the store; false with *error when reading failed.
bool fillJobList(QTreeWidget *list, QString *error);

// Node tags of the type tree: kind digit ("1" maker, "2" series, "3" type) followed by the 编号.
QString nodeTag(const QTreeWidgetItem *node);
// Fills a type tree with makers, series and types; false with *error when reading failed.
bool LoadMCTree(QTreeWidget *tree, QString *error);

// Clears the box and draws library drawing `number` over it without its texts, as its kept
// background; returns the drawing's labels, or nullopt with *error when it could not be read.
std::optional<QList<NamedDimension>> showDrawingNoText(platform::WidgetSurface *box, const QString &number,
                                                       QString *error = nullptr);

// Prints the label values of the list over the drawing at their positions, row `current` in red.
void DrawBZValues(platform::WidgetSurface *box, const QTreeWidget *labels, int current);

// Label list rows: 标注, 标注值, 坐标X, 坐标Y.
void setupLabelList(QTreeWidget *list);
void fillLabelList(QTreeWidget *list, const QList<NamedDimension> &dims);
QList<NamedDimension> labelListDims(const QTreeWidget *list);
// The selected label row into the editor (caption "label=", value selected), marked on the drawing,
// with the change button enabled; nothing without a selected row.
void editSelectedLabel(platform::WidgetSurface *box, QTreeWidget *labels, QLabel *caption, QLineEdit *value,
                       QPushButton *change);
// The edited value into `row`, redrawn, with the change button disabled; returns the row's index.
int storeLabelValue(platform::WidgetSurface *box, QTreeWidget *labels, QTreeWidgetItem *row, const QString &value,
                    QPushButton *change);

// A named button that never becomes the default one.
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption);
// Digit boxes take digits only.
void digitsOnly(QLineEdit *box);

// A failed database action: the heading and the driver's text.
void reportFailure(QWidget *parent, const QString &heading, const QString &error);

} // namespace project::ui

namespace project::ui {
// Closes a work window, with its sub-window when it sits in an MDI area.
void closeWorkWindow(QWidget *window);
} // namespace project::ui
