#pragma once
// A run of the active scheme: over the wizard's chosen material codes, or over a typed piece list.
// The plan is computed first and written in one transaction, so a failing write keeps the old plan.
#include "yhcut.h"
#include "yhstore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace optimise {

struct RunOutcome
{
    bool ok = true;
    QString error;              // the failing statement's text when !ok
    QList<CutNotice> notices;   // the schemes' messages, in the order met
};

// Empties 优化结果 and cuts every code with scheme one (settings.scheme 0) or two (otherwise).
// `progress`, when set, is called once per code before it is cut, with the code's index from 0.
RunOutcome RunYH(YHStore &store, const QStringList &codes, const CutSettings &settings,
                 const std::function<void(int)> &progress = {});

// One row of the piece-list window, as typed or read.
struct PieceListRow
{
    QString length;
    QString quantity;

    bool operator==(const PieceListRow &) const = default;
};

// The rows grouped by length with summed quantities, longest first (shortest first when ascending).
QList<LengthQty> groupPieceList(const QList<PieceListRow> &rows, bool ascending);

// Replaces 优化数据 with the rows (长度 and 数量 only) and 优化结果 with their plan under `name`.
// Every length and quantity must be a number; otherwise nothing is written.
RunOutcome runPieceList(YHStore &store, const QString &name, const QList<PieceListRow> &rows,
                        const CutSettings &settings);

} // namespace optimise
