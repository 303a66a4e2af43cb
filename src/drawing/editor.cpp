#include "editor.h"

#include "platform/numtext.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

namespace drawing {

GridStep gridStep(double boxWidth, double boxHeight)
{
    return {float(boxWidth) / float(kGridColumns), float(boxHeight) / float(kGridRows)};
}

DrawPoint snapToGrid(DrawPoint p, GridStep step)
{
    if (step.sx <= 0 || step.sy <= 0)
        return p;
    return {std::trunc(p.X / step.sx) * step.sx, std::trunc(p.Y / step.sy) * step.sy};
}

namespace {

struct Word
{
    QStringView text;
    EditorCommand command;
};

constexpr Word kWords[] = {
    {u"L", EditorCommand::Line},         {u"R", EditorCommand::Rec},
    {u"D", EditorCommand::Dim},          {u"A", EditorCommand::Dir},
    {u"T", EditorCommand::String},       {u"E", EditorCommand::Del},
    {u"C", EditorCommand::Refresh},      {u"REDRAW", EditorCommand::Redraw},
    {u"OPEN", EditorCommand::OpenLibrary}, {u"SAVE", EditorCommand::SaveLibrary},
    {u"PRINT", EditorCommand::Print},    {u"Q", EditorCommand::Quit},
    {u"ESC", EditorCommand::Escape},
};

CommandInput pointInput(double x, double y)
{
    // A huge typed number must not put an infinite point into the drawing.
    const float fx = float(x), fy = float(y);
    if (!std::isfinite(fx) || !std::isfinite(fy))
        return {};
    return {CommandInput::Kind::Point, EditorCommand::Escape, {fx, fy}};
}

} // namespace

CommandInput parseCommandLine(const QString &text, DrawPoint last, GridStep step)
{
    const QString c = text.trimmed().toUpper();
    if (c.isEmpty())
        return {};
    for (const Word &w : kWords)
        if (c == w.text)
            return {CommandInput::Kind::Command, w.command, {}};

    const QStringView v(c);
    const bool marker = c.startsWith(u'@');
    const qsizetype comma = c.indexOf(u',');
    const double sx = step.sx, sy = step.sy;
    if (!marker && comma >= 0)
        return pointInput(platform::val(v.left(comma)) * sx, platform::val(v.mid(comma + 1)) * sy);
    if (marker && comma >= 0)
        return pointInput(double(last.X) + platform::val(v.mid(1, comma - 1)) * sx,
                          double(last.Y) + platform::val(v.mid(comma + 1)) * sy);
    const qsizetype angle = c.indexOf(u'<');
    if (marker && angle >= 0) {
        const double d = platform::val(v.mid(1, angle - 1));
        const double a = platform::val(v.mid(angle + 1)) / 180.0 * std::numbers::pi;
        return pointInput(double(last.X) + d * std::cos(a) * sx, double(last.Y) - d * std::sin(a) * sy);
    }
    return {};
}

QString coordinateText(DrawPoint p)
{
    return platform::statementSingle(p.X) + u","_s + platform::statementSingle(p.Y);
}

namespace {
template<typename Arr>
bool sameEntries(const Arr &a, const Arr &b, qint16 last)
{
    for (int i = 0; i <= last; ++i)
        if (!(a[size_t(i)] == b[size_t(i)]))
            return false;
    return true;
}
} // namespace

bool sameDrawing(const DrawingLists &a, const DrawingLists &b)
{
    return a.LineLast == b.LineLast && a.RecLast == b.RecLast && a.DimLast == b.DimLast && a.DirLast == b.DirLast
        && a.StringLast == b.StringLast && a.ArcLast == b.ArcLast && sameEntries(a.LineArr, b.LineArr, a.LineLast)
        && sameEntries(a.RecArr, b.RecArr, a.RecLast) && sameEntries(a.DimArr, b.DimArr, a.DimLast)
        && sameEntries(a.DirArr, b.DirArr, a.DirLast) && sameEntries(a.StringArr, b.StringArr, a.StringLast)
        && sameEntries(a.ArcArr, b.ArcArr, a.ArcLast);
}

bool mergeDrawing(CPictire &into, const CPictire &from, QString *error)
{
    constexpr Kind kinds[] = {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc};
    for (Kind k : kinds) {
        if (into.last(k) + 1 + from.last(k) + 1 > kCapacity) {
            if (error)
                *error = u"图形合并后超出容量：每类图元最多 %1 个。"_s.arg(kCapacity);
            return false;
        }
    }
    const DrawingLists &l = from.lists();
    for (int i = 0; i <= l.LineLast; ++i)
        into.append(Kind::Line, {l.LineArr[size_t(i)].P1, l.LineArr[size_t(i)].P2, {}});
    for (int i = 0; i <= l.RecLast; ++i)
        into.append(Kind::Rec, {l.RecArr[size_t(i)].P1, l.RecArr[size_t(i)].P2, {}});
    for (int i = 0; i <= l.DirLast; ++i)
        into.append(Kind::Dir, {l.DirArr[size_t(i)].P1, l.DirArr[size_t(i)].P2, {}});
    for (int i = 0; i <= l.DimLast; ++i)
        into.append(Kind::Dim, l.DimArr[size_t(i)]);
    for (int i = 0; i <= l.StringLast; ++i)
        into.append(Kind::String, {l.StringArr[size_t(i)].P1, {}, {}}, l.StringArr[size_t(i)].text);
    for (int i = 0; i <= l.ArcLast; ++i)
        into.append(Kind::Arc, l.ArcArr[size_t(i)]);
    return true;
}

} // namespace drawing
