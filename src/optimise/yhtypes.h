#pragma once
// The rows the cutting optimisation reads and writes: pieces, bill rows, labels of windows and of the
// components of combined windows, and the lines of the result window.
#include <QList>
#include <QString>
#include <QVariant>

namespace optimise {

// One piece row of 优化数据.
struct PieceRow
{
    QVariant id;      // 编号 of the bill row; null for combined windows and typed lists
    QString name;     // 名称
    QString code;     // 规格
    double length = 0;
    double quantity = 0;
};

// One bill row of 窗型材 / 窗型钢.
struct BillPieceRow
{
    QVariant id;
    QString name;
    QString code;
    QString countFormula;
    QString lengthFormula;
};

struct LabelRow
{
    QString name;
    QString value;
    float x = 0;
    float y = 0;
};

// One component of a combined window, with its label rows (标注2).
struct ComponentKey
{
    QVariant cbn;
    QString cmc;
};

struct ComponentLabels
{
    qint64 units = 0;  // Count of the first row
    QList<LabelRow> labels;
};

// The two lists of the result window.
struct PlanGroupRow
{
    QString material, pattern, bars, ratio, remain;
};
struct SummaryRow
{
    QString material, bars, ratio;
};

} // namespace optimise
