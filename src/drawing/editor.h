#pragma once
// What the drawing editor works out without its window: the grid it snaps to, the command line,
// the pointer readout, and whether and how two drawings combine.
#include "cpictire.h"

#include <QString>

namespace drawing {

// The editor's grid: 80 columns and 64 rows over the whole box, 81 x 65 dots.
inline constexpr qint16 kGridColumns = 80;
inline constexpr qint16 kGridRows = 64;

struct GridStep
{
    float sx = 0; // column width
    float sy = 0; // row height
};

GridStep gridStep(double boxWidth, double boxHeight);
// Truncates to the grid point at or before p (towards zero).
DrawPoint snapToGrid(DrawPoint p, GridStep step);

// The command words of the command line.
enum class EditorCommand { Line, Rec, Dim, Dir, String, Del, Refresh, Redraw, OpenLibrary, SaveLibrary, Print, Quit, Escape };

struct CommandInput
{
    enum class Kind { Nothing, Command, Point };
    Kind kind = Kind::Nothing;
    EditorCommand command = EditorCommand::Escape;
    DrawPoint point;
};

// One command line: a command word in either case, blanks around it dropped; or a point in grid
// units: "x,y" from the top left of the box, "@dx,dy" from `last`, "@d<a" from `last` at a
// distance d and an angle a in degrees (0 to the right, 90 up). Numbers are read as leading
// numbers (0 when there is none). Anything else, and a point out of range, is Nothing.
CommandInput parseCommandLine(const QString &text, DrawPoint last, GridStep step);

// The pointer readout: each number with a blank in place of a plus sign, " 1200, 960".
QString coordinateText(DrawPoint p);

// The same entities in the same places of the lists.
bool sameDrawing(const DrawingLists &a, const DrawingLists &b);

// Appends every entity of `from` to `into`; nothing at all when some kind would pass the capacity.
bool mergeDrawing(CPictire &into, const CPictire &from, QString *error = nullptr);

} // namespace drawing
