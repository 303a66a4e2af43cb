#pragma once
// Piece gathering: the profile and steel bill rows of chosen windows, evaluated with each window's
// named dimensions, become the pieces of 优化数据.
#include "yhstore.h"

#include <QList>
#include <QString>
#include <optional>

namespace optimise {

// A chosen window as the wizard's chosen list holds it.
struct ChosenWindow
{
    QString tag;       // the window's record number (工程门窗.编号)
    QString units;     // 樘数
    QString typeNo;    // 门窗编号, below 0 for a combined window
    QString windowNo;  // 编号 again, used for combined windows
};

// The pieces of the chosen windows, in list order: per plain window its profile rows then its steel
// rows; per combined window, per component, its profile rows then its steel rows. nullopt with
// *error when a query fails or a formula gives no finite number.
std::optional<QList<PieceRow>> gatherPieces(YHStore &store, const QList<ChosenWindow> &windows, QString *error);

// Empties 优化结果 and rebuilds 优化数据 from the chosen windows, all or nothing.
bool BuildYHData(YHStore &store, const QList<ChosenWindow> &windows, QString *error);

} // namespace optimise
