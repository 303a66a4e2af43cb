#include "sheetpage.h"

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

struct TitleField
{
    const char16_t *caption;
    double x, y;
};
const TitleField kTitle[12] = {
    {u"工程名称", 6620, 1200},       {u"定货单位", 6620, 1853},       {u"图    名", 6620, 2505.71},
    {u"合同编号", 6620, 3158.57},    {u"购件表号", 9370.29, 3158.57}, {u"制作尺寸", 6620, 3811.43},
    {u"樘    数", 9370.29, 3811.43}, {u"设    计", 6620, 4464.29},    {u"日    期", 9370.29, 4464.14},
    {u"", 100, 5117.14},             {u"审    核", 6620, 5117.14},    {u"校    对", 9370.29, 5117.14},
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

// Cell (r, c) with r from 1 and c from 1..5; missing cells are empty.
QString cell(const QList<QStringList> &rows, int r, int c) { return rows.value(r - 1).value(c - 1); }

void rowTexts(platform::Surface &s, const QList<QStringList> &rows, int r, const double *xs, double y)
{
    for (int c = 1; c <= 5; ++c) {
        textAt(s, xs[c - 1], y, cell(rows, r, c));
    }
}

void placedTexts(platform::Surface &s, const QList<PlacedText> &values)
{
    for (const PlacedText &v : values)
        textAt(s, v.at.x(), v.at.y(), v.text);
}

void continuationGrid(platform::Surface &s)
{
    for (int i = 0; i <= kRowsPerContinuationHalf; ++i)
        seg(s, 0, 1000 + i * kTableRow, 11000, 1000 + i * kTableRow);
    const double bottom = 1000 + kRowsPerContinuationHalf * kTableRow;
    for (double x : kTableLinesX)
        seg(s, x, bottom, x, 1000);
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
        if (counter <= kRowsPerContinuationHalf)
            rowTexts(s, rows, first + k, kLeftX, kContinuationY + (counter - 1) * kTableRow);
        else
            rowTexts(s, rows, first + k, kRightX,
                     kContinuationY + (counter - kRowsPerContinuationHalf - 1) * kTableRow);
        ++counter;
    }
}

} // namespace

void printSheetPage(platform::Surface &s, const SheetPage &page)
{
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

    for (const TitleField &f : kTitle)
        textAt(s, f.x - kCaptionOffset, f.y, QString::fromUtf16(f.caption));
    for (int i = 0; i < 12; ++i)
        textAt(s, kTitle[i].x, kTitle[i].y, page.title.value(i));

    placedTexts(s, page.values);

    for (int r = 1; r <= kRowsPerHalf; ++r) {
        if (r <= rowCount)
            rowTexts(s, page.rows, r, kLeftX, kFirstTextY + r * kTableRow);
        if (r + kRowsPerHalf <= rowCount)
            rowTexts(s, page.rows, r + kRowsPerHalf, kRightX, kFirstTextY + r * kTableRow);
    }

    textAt(s, 500, 500, u"制作单位："_s + page.maker);

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
