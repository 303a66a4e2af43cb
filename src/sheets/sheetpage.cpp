#include "sheetpage.h"

#include "platform/report.h"
#include "platform/surface_shifted.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace sheets {

namespace {

constexpr double kTitleRow = 652.86;
constexpr double kTableRow = 397.39;
constexpr double kFirstTextY = 5271.3;     // text of table row r: kFirstTextY + r * kTableRow
constexpr double kContinuationY = 1100;    // first text row of a continuation page
constexpr double kCaptionOffset = 1020;
constexpr int kRowsPerHalf = 23;
constexpr int kRowsPerContinuationHalf = 33;

const double kLeftX[5] = {100, 667.71, 2180.12, 3716.67, 4854.5};
const double kRightX[5] = {5600, 6345.5, 7483.33, 9019.88, 10532.29};
const double kTableLinesX[11] = {0, 567.71, 2080.12, 3616.67, 4754.5, 5500, 6245.5, 7383.33, 8919.88, 10432.29, 11000};

constexpr double kPageWidth = 11000;
constexpr double kFirstTableTop = 5570;
constexpr double kContinuationTop = 1000;
constexpr double kCellPad = 15; // kept clear of a cell's walls

// A title value, its caption 1020 to the left, and the right wall of the value's cell.
struct TitleField
{
    const char16_t *caption;
    double x, y, right;
};
const TitleField kTitle[12] = {
    {u"工程名称", 6620, 1200, 11000},       {u"定货单位", 6620, 1853, 11000},
    {u"图    名", 6620, 2505.71, 11000},    {u"合同编号", 6620, 3158.57, 8250},
    {u"购件表号", 9370.29, 3158.57, 11000}, {u"制作尺寸", 6620, 3811.43, 8250},
    {u"樘    数", 9370.29, 3811.43, 11000}, {u"设    计", 6620, 4464.29, 8250},
    {u"日    期", 9370.29, 4464.14, 11000}, {u"", 100, 5117.14, 5500},
    {u"审    核", 6620, 5117.14, 8250},     {u"校    对", 9370.29, 5117.14, 11000},
};

void seg(platform::Surface &s, double x1, double y1, double x2, double y2)
{
    s.line(QPointF(x1, y1), QPointF(x2, y2));
}

// An empty text would print nothing visible: it is left out.
void textAt(platform::Surface &s, double x, double y, const QString &text)
{
    if (text.isEmpty())
        return;
    s.setCurrentPos(QPointF(x, y));
    s.print(text);
}

// A text at its place in a cell whose right wall is at `right` and whose walls above and below are
// at `top` and `bottom`. A value too wide or too tall for the room left is set into the cell instead,
// wrapped or drawn smaller: it never runs over the wall into its neighbour.
void cellText(platform::Surface &s, double x, double y, double right, double top, double bottom,
              const QString &text)
{
    if (text.isEmpty())
        return;
    platform::printAtOrFit(s, QPointF(x, y), QRectF(QPointF(x, top + kCellPad), QPointF(right - kCellPad, bottom - kCellPad)),
                           text);
}

// Cell (r, c) with r from 1 and c from 1..5; missing cells are empty.
QString cell(const QList<QStringList> &rows, int r, int c) { return rows.value(r - 1).value(c - 1); }

// Row r in the left (half 0) or right half (half 1) of a table row whose top line is at `top`.
void rowTexts(platform::Surface &s, const QList<QStringList> &rows, int r, int half, double y, double top)
{
    const double *xs = half == 0 ? kLeftX : kRightX;
    for (int c = 1; c <= 5; ++c)
        cellText(s, xs[c - 1], y, kTableLinesX[5 * half + c], top, top + kTableRow, cell(rows, r, c));
}

void placedTexts(platform::Surface &s, const QList<PlacedText> &values)
{
    for (const PlacedText &v : values)
        textAt(s, v.at.x(), v.at.y(), v.text);
}

void continuationGrid(platform::Surface &s)
{
    for (int i = 0; i <= kRowsPerContinuationHalf; ++i)
        seg(s, 0, kContinuationTop + i * kTableRow, kPageWidth, kContinuationTop + i * kTableRow);
    const double bottom = kContinuationTop + kRowsPerContinuationHalf * kTableRow;
    for (double x : kTableLinesX)
        seg(s, x, bottom, x, kContinuationTop);
}

// Rows first .. first + count - 1 on continuation pages, the first of which is started here.
void continuationRows(platform::Surface &s, const QList<QStringList> &rows, int first, int count)
{
    s.newPage();
    continuationGrid(s);
    int counter = 1;
    for (int k = 0; k < count; ++k) {
        if (counter == 2 * kRowsPerContinuationHalf + 1) {
            s.newPage();
            continuationGrid(s);
            counter = 1;
        }
        const int half = counter <= kRowsPerContinuationHalf ? 0 : 1;
        const double line = (counter - 1 - half * kRowsPerContinuationHalf) * kTableRow;
        rowTexts(s, rows, first + k, half, kContinuationY + line, kContinuationTop + line);
        ++counter;
    }
}

} // namespace

void printSheetPage(platform::Surface &target, const SheetPage &page)
{
    // Laid out from the maker's line down to the frame's foot, the page is centred on the sheet, so
    // that paper keeps a margin all round whatever the printer's unprintable edge.
    platform::ShiftedSurface s(target, platform::centringOffset(target, QRectF(0, 500, kPageWidth, 14710 - 500)));
    const int rowCount = int(page.rows.size());
    if (page.drawing)
        drawing::renderDrawing(s, *page.drawing, 0, 1000, 5500, 4917, false);

    seg(s, 0, 1000, 11000, 1000);
    seg(s, 11000, 1000, 11000, 14710);
    seg(s, 11000, 14710, 0, 14710);
    seg(s, 0, 14710, 0, 1000);
    for (int i = 1; i <= 6; ++i)
        seg(s, 5500, 1000 + i * kTitleRow, 11000, 1000 + i * kTitleRow);
    for (int i = 0; i <= kRowsPerHalf; ++i)
        seg(s, 0, 5570 + i * kTableRow, 11000, 5570 + i * kTableRow);
    seg(s, 5500, 1000, 5500, 14710);
    seg(s, 6520.29, 1000, 6520.29, 5570);
    seg(s, 8250, 2958.57, 8250, 5570);
    seg(s, 9270.29, 2958.57, 9270.29, 5570);
    for (double x : {2080.12, 3616.67, 4754.5, 6245.5, 567.71, 7383.33, 8919.88, 10432.29})
        seg(s, x, 5570, x, 14710);

    for (int i = 0; i < 12; ++i) {
        const TitleField &f = kTitle[i];
        const double top = 1000 + std::floor((f.y - 1000) / kTitleRow) * kTitleRow;
        cellText(s, f.x - kCaptionOffset, f.y, f.x - 100, top, top + kTitleRow, QString::fromUtf16(f.caption));
        cellText(s, f.x, f.y, f.right, top, top + kTitleRow, page.title.value(i));
    }

    placedTexts(s, page.values);

    for (int r = 1; r <= kRowsPerHalf; ++r) {
        const double top = kFirstTableTop + (r - 1) * kTableRow;
        if (r <= rowCount)
            rowTexts(s, page.rows, r, 0, kFirstTextY + r * kTableRow, top);
        if (r + kRowsPerHalf <= rowCount)
            rowTexts(s, page.rows, r + kRowsPerHalf, 1, kFirstTextY + r * kTableRow, top);
    }

    // Above the frame: a long maker's name keeps to the frame's width.
    cellText(s, 500, 500, kPageWidth, 500 - kCellPad, 1000, u"制作单位："_s + page.maker);

    if (rowCount > 2 * kRowsPerHalf)
        continuationRows(s, page.rows, 2 * kRowsPerHalf + 1, rowCount - 2 * kRowsPerHalf);
}

void drawSheetScreenPicture(platform::Surface &pic, const drawing::DrawingLists *drawing,
                            const QList<PlacedText> &values)
{
    if (drawing)
        drawing::renderDrawing(pic, *drawing, 0, 500, 5000, 4917, false);
    placedTexts(pic, values);
}

} // namespace sheets
