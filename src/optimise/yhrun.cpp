#include "yhrun.h"

#include "platform/database.h"
#include "platform/numtext.h"

#include <QMap>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace optimise {

RunOutcome RunYH(YHStore &store, const QStringList &codes, const CutSettings &settings,
                 const std::function<void(int)> &progress)
{
    const qint16 scheme = settings.scheme;
    RunOutcome out;
    // Without a bar nothing fits: the old plan stays and no piece is reported too long.
    if (const QString notice = barLengthNotice(settings); !notice.isEmpty()) {
        out.ok = false;
        out.error = notice;
        return out;
    }
    // The reads and the write of the plan are one transaction.
    platform::TransactionGuard tx(store.db());
    if (!tx.isActive()) {
        out.ok = false;
        out.error = tx.errorText();
        return out;
    }
    if (!store.clearPlan()) {
        out.ok = false;
        out.error = store.lastError();
        return out;
    }
    for (int i = 0; i < codes.size(); ++i) {
        if (progress)
            progress(i);
        const QString &code = codes.at(i);
        const auto rows = scheme == 0 ? store.groupedLengthsDesc(code) : store.pieceRows(code);
        if (!rows) {
            out.ok = false;
            out.error = store.lastError();
            return out;
        }
        const CutResult r = scheme == 0 ? OptimiseYH1(code, *rows, settings) : OptimiseYH2(*rows, settings, code);
        out.notices += r.notices;
        if (!store.appendPlan(r.rows)) {
            out.ok = false;
            out.error = store.lastError();
            return out;
        }
    }
    if (!tx.commit()) {
        out.ok = false;
        out.error = tx.errorText();
    }
    return out;
}

QList<LengthQty> groupPieceList(const QList<PieceListRow> &rows, bool ascending)
{
    QMap<double, double> byLength;
    for (const PieceListRow &r : rows)
        byLength[platform::val(r.length)] += platform::val(r.quantity);
    QList<LengthQty> out;
    for (auto it = byLength.cbegin(); it != byLength.cend(); ++it)
        out.append({it.key(), it.value()});
    if (!ascending)
        std::reverse(out.begin(), out.end());
    return out;
}

RunOutcome runPieceList(YHStore &store, const QString &name, const QList<PieceListRow> &rows,
                        const CutSettings &settings)
{
    const qint16 scheme = settings.scheme;
    RunOutcome out;
    // Without a bar nothing fits: the old plan stays and no piece is reported too long.
    if (const QString notice = barLengthNotice(settings); !notice.isEmpty()) {
        out.ok = false;
        out.error = notice;
        return out;
    }
    QList<PieceRow> pieces;
    for (const PieceListRow &r : rows) {
        if (!platform::isNumeric(r.length) || !platform::isNumeric(r.quantity)) {
            out.ok = false;
            out.error = u"数据不合法："_s + r.length + u" "_s + r.quantity;
            return out;
        }
        pieces.append({QVariant(), QString(), QString(), platform::val(r.length), platform::val(r.quantity)});
    }
    const CutResult cut = scheme == 0 ? OptimiseYH1(name, groupPieceList(rows, false), settings)
                                      : OptimiseYH2(groupPieceList(rows, true), settings, name);
    out.notices = cut.notices;
    if (!store.replacePiecesAndPlan(pieces, cut.rows)) {
        out.ok = false;
        out.error = store.lastError();
    }
    return out;
}

} // namespace optimise
