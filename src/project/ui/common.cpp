#include "common.h"

#include "design/typestore.h"
#include "drawing/mcpicture.h"
#include "drawing/ui/showpicture.h"
#include "platform/lists.h"
#include "platform/messages.h"
#include "platform/numtext.h"
#include "platform/surface_widget.h"
#include "project/dimensions.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace project::ui {

namespace {
constexpr int kTagRole = Qt::UserRole;
} // namespace

// --- line lists

QStringList lineHeaders()
{
    return {u"门窗名称"_s, u"门窗类型"_s, u"洞口宽"_s, u"洞口高"_s, u"樘数"_s,
            u"说明"_s,     u"工程编号"_s, u"门窗编号"_s, u"编号"_s};
}

void setLineItem(QTreeWidgetItem *item, const JobLine &line)
{
    const QStringList texts = {line.fields.name,   line.fields.position, line.fields.width,
                               line.fields.height, line.fields.count,    line.fields.remark,
                               line.jobId,         line.typeNo,          line.id};
    for (int i = 0; i < texts.size(); ++i)
        item->setText(i, texts.at(i));
}

QTreeWidgetItem *lineItem(const JobLine &line)
{
    auto *item = new QTreeWidgetItem;
    setLineItem(item, line);
    return item;
}

JobLine itemLine(const QTreeWidgetItem *item)
{
    return {{item->text(0), item->text(1), item->text(2), item->text(3), item->text(4), item->text(5)},
            item->text(6),
            item->text(7),
            item->text(8)};
}

QList<JobLine> listLines(const QTreeWidget *list)
{
    QList<JobLine> lines;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        lines << itemLine(list->topLevelItem(i));
    return lines;
}

void setupLineList(QTreeWidget *list)
{
    list->setHeaderLabels(lineHeaders());
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setAllColumnsShowFocus(true);
    for (int i = 0; i < list->columnCount(); ++i)
        list->setColumnWidth(i, 96);
}

// --- job lists

QStringList jobHeaders()
{
    return {u"工程名称"_s, u"工程地点"_s, u"甲方单位"_s, u"合同编号"_s, u"编号"_s};
}

void setJobItem(QTreeWidgetItem *item, const Job &job)
{
    item->setText(0, job.name);
    item->setText(1, job.site);
    item->setText(2, job.client);
    item->setText(3, job.contractNo);
    item->setText(4, QString::number(job.id));
}

QTreeWidgetItem *jobItem(const Job &job)
{
    auto *item = new QTreeWidgetItem;
    setJobItem(item, job);
    return item;
}

Job itemJob(const QTreeWidgetItem *item)
{
    return {item->text(4).toLongLong(), item->text(3), item->text(0), item->text(1), item->text(2)};
}

bool fillJobList(QTreeWidget *list, QString *error)
{
    ProjectStore store;
    const std::optional<QList<Job>> jobs = store.loadJobs();
    if (!jobs) {
        if (error)
            *error = store.lastError();
        return false;
    }
    QList<QTreeWidgetItem *> items;
    for (const Job &job : *jobs)
        items << jobItem(job);
    list->addTopLevelItems(items);
    return true;
}

// --- type tree

QString nodeTag(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kTagRole).toString() : QString();
}

bool LoadMCTree(QTreeWidget *tree, QString *error)
{
    design::TypeStore types;
    const std::optional<QList<design::TypeTreeMaker>> makers = types.loadTree();
    if (!makers) {
        if (error)
            *error = types.lastError();
        return false;
    }
    const QIcon closed = tree->style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon leaf = tree->style()->standardIcon(QStyle::SP_FileIcon);
    auto node = [&](const QString &kind, qint64 id, const QString &text) {
        auto *item = new QTreeWidgetItem(QStringList{text});
        item->setData(0, kTagRole, kind + QString::number(id));
        item->setIcon(0, kind == u"3"_s ? leaf : closed);
        return item;
    };
    QList<QTreeWidgetItem *> roots;
    for (const design::TypeTreeMaker &m : *makers) {
        QTreeWidgetItem *maker = node(u"1"_s, m.maker.id, m.maker.name);
        for (const design::TypeTreeSeries &s : m.series) {
            QTreeWidgetItem *series = node(u"2"_s, s.series.id, s.series.name);
            for (const design::DoorType &t : s.types)
                series->addChild(node(u"3"_s, t.id, t.name));
            maker->addChild(series);
        }
        roots << maker;
    }
    tree->addTopLevelItems(roots);
    return true;
}

// --- drawing box

std::optional<QList<NamedDimension>> showDrawingNoText(platform::WidgetSurface *box, const QString &number,
                                                       QString *error)
{
    drawing::ui::installNotices();
    const auto facade = std::make_unique<drawing::MCPicture>();
    drawing::MCPicture &pic = *facade;
    const bool loaded = pic.OpenFileEX(number, error);
    box->setPersistent(true);
    box->clear();
    QList<NamedDimension> dims;
    if (loaded) {
        pic.OutMCNoStr(*box, 0, 0, float(box->width()), float(box->height()));
        QList<float> x, y;
        QStringList s;
        pic.GetStrings(x, y, s);
        for (qsizetype i = 0; i < s.size(); ++i)
            dims << NamedDimension{s.at(i), u"0"_s, double(x.value(i)), double(y.value(i))};
    }
    // Values printed later must not become part of the background.
    box->setPersistent(false);
    box->refresh();
    if (!loaded)
        return std::nullopt;
    return dims;
}

void DrawBZValues(platform::WidgetSurface *box, const QTreeWidget *labels, int current)
{
    const double w = std::trunc(box->width());
    const double h = std::trunc(box->height());
    box->refresh();
    box->setPersistent(false);
    for (int i = 0; i < labels->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = labels->topLevelItem(i);
        box->setColor(i == current ? QColor(255, 0, 0) : QColor(0, 0, 0));
        box->setCurrentPos({platform::val(row->text(2)) * w / double(drawing::kAreaWidth),
                            platform::val(row->text(3)) * h / double(drawing::kAreaHeight)});
        box->print(row->text(1));
    }
    box->setColor(QColor(0, 0, 0));
}

// --- label lists

void setupLabelList(QTreeWidget *list)
{
    list->setHeaderLabels({u"标注"_s, u"标注值"_s, u"坐标X"_s, u"坐标Y"_s});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::currentIsSelected(list);
    list->setAllColumnsShowFocus(true);
    list->setToolTip(u"双击编辑尺寸"_s);
}

void fillLabelList(QTreeWidget *list, const QList<NamedDimension> &dims)
{
    list->clear();
    QList<QTreeWidgetItem *> items;
    for (const NamedDimension &d : dims)
        items << new QTreeWidgetItem(QStringList{d.name, d.value, positionText(d.x), positionText(d.y)});
    list->addTopLevelItems(items);
}

QList<NamedDimension> labelListDims(const QTreeWidget *list)
{
    QList<NamedDimension> dims;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        dims << NamedDimension{row->text(0), row->text(1), platform::val(row->text(2)), platform::val(row->text(3))};
    }
    return dims;
}

void editSelectedLabel(platform::WidgetSurface *box, QTreeWidget *labels, QLabel *caption, QLineEdit *value,
                       QPushButton *change)
{
    QTreeWidgetItem *row = platform::selectedItem(labels);
    if (!row)
        return;
    caption->setText(row->text(0) + u"="_s);
    value->setText(row->text(1));
    DrawBZValues(box, labels, labels->indexOfTopLevelItem(row));
    change->setEnabled(true);
    value->setSelection(0, 10);
    value->setFocus();
}

int storeLabelValue(platform::WidgetSurface *box, QTreeWidget *labels, QTreeWidgetItem *row, const QString &value,
                    QPushButton *change)
{
    row->setText(1, value);
    const int index = labels->indexOfTopLevelItem(row);
    DrawBZValues(box, labels, index);
    change->setEnabled(false);
    return index;
}

// --- keys and messages

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void digitsOnly(QLineEdit *box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), box));
}

void reportFailure(QWidget *parent, const QString &heading, const QString &error)
{
    platform::showError(parent, error.isEmpty() ? heading : heading + u"\n"_s + error);
}

} // namespace project::ui

#include <QMdiSubWindow>

namespace project::ui {
void closeWorkWindow(QWidget *window)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        sub->close();
    else
        window->close();
}
} // namespace project::ui
