// Library load and save of the engine, through the drawing store.
#include "cpictire.h"
#include "store.h"

#include "platform/database.h"

using namespace Qt::StringLiterals;

namespace drawing {

bool CPictire::SaveFileEx(const QString &cNum, const QString &, QString *error) const
{
    const std::optional<qint64> number = wholeNumber(cNum);
    if (!number) {
        if (error)
            *error = u"图形编号无效：%1"_s.arg(cNum);
        return false;
    }
    DrawingStore store;
    if (store.save(*number, m_lists))
        return true;
    platform::setError(error, store.lastError());
    return false;
}

bool CPictire::OpenFileEX(const QString &picnum, QString *error)
{
    return OpenFileEX(DrawingStore(), picnum, error);
}

bool CPictire::OpenFileEX(const DrawingStore &store, const QString &picnum, QString *error)
{
    const std::optional<qint64> number = wholeNumber(picnum);
    if (!number) {
        if (error)
            *error = u"图形编号无效：%1"_s.arg(picnum);
        return false;
    }
    LibraryRows rows;
    if (!store.load(*number, &rows)) {
        platform::setError(error, store.lastError());
        return false;
    }
    // Appends, one capacity message per entity that does not fit.
    for (const TwoPoints &e : std::as_const(rows.lines))
        AddLine(e.P1, e.P2);
    for (const TwoPoints &e : std::as_const(rows.recs))
        AddRec(e.P1, e.P2);
    for (const TwoPoints &e : std::as_const(rows.dirs))
        AddDir(e.P1, e.P2);
    for (const ThreePoints &e : std::as_const(rows.dims))
        AddDim(e.P1, e.P2, e.P3);
    for (const TextEntity &e : std::as_const(rows.texts))
        AddString(e.P1, e.text);
    for (const ThreePoints &e : std::as_const(rows.arcs))
        AddArc(e.P1, e.P2, e.P3);
    return true;
}

std::shared_ptr<const DrawingLists> loadLibraryDrawing(const QString &number, QString *error)
{
    return loadLibraryDrawing(DrawingStore(), number, error);
}

std::shared_ptr<const DrawingLists> loadLibraryDrawing(const DrawingStore &store, const QString &number,
                                                       QString *error)
{
    const auto pic = std::make_unique<CPictire>();
    if (!pic->OpenFileEX(store, number, error))
        return nullptr;
    return std::make_shared<const DrawingLists>(pic->lists());
}

} // namespace drawing
