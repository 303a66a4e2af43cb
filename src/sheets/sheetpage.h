#pragma once
// The component sheet drawn from data alone: the printed page (frame, drawing, title block, row table,
// the values on the drawing and the maker's line, continued on further pages while rows remain) and
// the screen picture (the drawing with its values). Coordinates are twips of the target.
#include "drawing/cpictire.h"
#include "platform/surface.h"

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

namespace sheets {

// A text written with its top-left corner at a point; an empty text is left out.
struct PlacedText
{
    QPointF at;
    QString text;
};

struct SheetPage
{
    QStringList title;        // the twelve title values in slot order; missing ones are empty
    QList<QStringList> rows;  // five cells each; missing cells are empty
    QList<PlacedText> values; // written over the drawing
    const drawing::DrawingLists *drawing = nullptr; // drawn without its own texts; an empty box when null
    QString maker;            // 制作单位
};

// Prints the page from the target's current page on: rows 1..23 in the left and 24..46 in the right
// half of the first page, the rest 33 a half on continuation pages. Starts no first page and ends no
// document. The page is centred on a target larger than it (a sheet of paper); a text too wide for
// its cell is wrapped or drawn smaller inside it.
void printSheetPage(platform::Surface &target, const SheetPage &page);

// The drawing without its own texts into the box (0, 500)-(5000, 4917), then the values.
void drawSheetScreenPicture(platform::Surface &pic, const drawing::DrawingLists *drawing,
                            const QList<PlacedText> &values);

} // namespace sheets
