#pragma once
// The values of the job tables as windows and computations hand them around: a job, its lines, the
// named dimensions of a line, the nodes of a combined line and a contract sheet's texts.
#include <QList>
#include <QString>
#include <QVariant>
#include <array>

namespace project {

struct Job
{
    qint64 id = 0;
    QString contractNo; // 合同编号
    QString name;       // 工程名称
    QString site;       // 工程地点
    QString client;     // 甲方单位
};

// The six fields a window dialog edits, as typed (sizes and count as digit texts).
struct LineFields
{
    QString name;     // 门窗名称
    QString position; // 门窗类型 (门窗部位 in the dialogs)
    QString width;    // 洞口宽
    QString height;   // 洞口高
    QString count;    // 樘数
    QString remark;   // 说明
    friend bool operator==(const LineFields &, const LineFields &) = default;
};

// One line of a job as the job window lists it and hands it on: the stored values as text.
struct JobLine
{
    LineFields fields;
    QString jobId;  // 工程编号
    QString typeNo; // 门窗编号: a type's 编号 (plain), minus a main drawing's number (combined)
    QString id;     // 编号

    // Plain lines carry a type number above 0; 0 or below is a combined line.
    bool isCombined() const;
    friend bool operator==(const JobLine &, const JobLine &) = default;
};

// One named dimension: a label of a drawing with its value and anchor in drawing units.
struct NamedDimension
{
    QString name;  // 标注 (MC): the label's whole text
    QString value; // 标注值 (schar / MCZ)
    double x = 0;
    double y = 0;
    friend bool operator==(const NamedDimension &, const NamedDimension &) = default;
};

// A node of a combined window: its component type (or minus the main drawing) and its text.
struct ComponentKey
{
    qint64 cbn = 0;
    QString cmc;
    bool isMain() const { return cbn <= 0; }
    friend bool operator==(const ComponentKey &, const ComponentKey &) = default;
};

// A row of 标注2.
struct ComponentRow
{
    ComponentKey key;
    NamedDimension dim;
    QVariant count; // null when the row has none
};

// Work rows of the combined window dialog.
inline constexpr qint64 kWorkMcbn = -1;

using ContractTexts = std::array<QString, 13>; // T1..T13

} // namespace project
