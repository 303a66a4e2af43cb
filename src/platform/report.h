#pragma once
// Printed reports: a report is a description built from computed values (title, text lines, tables),
// laid out into pages on a surface (the printer page, a PDF, a recording), in twips from the page's
// corner. Tables break across pages and repeat their column titles; every page carries the page
// header lines at its top and the page footer text with "第 n 页 共 m 页" at its foot.
// Nothing runs past its box or the page: a table is never wider than the page; a text wraps inside
// its cell at a blank, between Chinese characters or after a "+" (a cutting pattern); a column is
// as wide as its longest number or word where the page allows, and a text that still has no room
// (or a placed field whose lines outgrow its height) is drawn smaller.
#include <QFont>
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace platform {

class Surface;

struct ReportColumn
{
    QString title;
    double width = 1;  // relative: the table spreads its columns over the page width by these weights
    Qt::Alignment align = Qt::AlignLeft;
};

// Adjacent columns that share a caption above their titles.
struct ReportColumnGroup
{
    int first = 0;
    int count = 0;
    QString caption;
};

// A text at a fixed place of a band, in millimetres from the band's top-left corner. It keeps to its
// box: wrapped, and drawn smaller when its lines would outgrow the box's height.
struct ReportField
{
    QRectF rectMm;
    QString text;
    Qt::Alignment align = Qt::AlignLeft; // horizontal; lines start at the box's top
    double pointSize = 0;                // 0: the report's body size
    bool bold = false;
};

struct ReportBlock
{
    enum class Kind { Text, Table, Spacer, Band };
    Kind kind = Kind::Text;
    // Text: one line (wrapped when too long).
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    double pointSize = 0; // 0: the report's body size
    bool bold = false;
    // Table
    QList<ReportColumn> columns;
    QList<QStringList> rows;
    bool grid = true;
    QList<ReportColumnGroup> groups;
    bool headless = false; // no row of column titles (a block of captions and values)
    // Rows whose first cell spans more than one column (a total's caption): row index -> columns.
    QMap<int, int> firstCellSpans;
    // Spacer: millimetres of empty space. Band: its height, which its fields lie in.
    double spaceMm = 0;
    QList<ReportField> fields;

    static ReportBlock line(const QString &text, Qt::Alignment align = Qt::AlignLeft, double pointSize = 0,
                            bool bold = false);
    static ReportBlock table(const QList<ReportColumn> &columns, const QList<QStringList> &rows, bool grid = true);
    static ReportBlock spacer(double mm);
    static ReportBlock band(double heightMm, const QList<ReportField> &fields);
};

struct Report
{
    QString title;      // centred, large, at the top of the first page
    QList<ReportBlock> pageHeader; // text lines at the top of every page
    QString pageFooter;            // at the left of every page's foot
    QList<ReportBlock> blocks;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString fontFamily = QStringLiteral("WenQuanYi Micro Hei");
    double bodyPointSize = 10;
    double marginMm = 15;
    bool pageNumbers = true; // "第 n 页 共 m 页" at every page's foot
};

// Lays the report out on pages of the surface's extent (twips) and paints every page, starting a
// new page between two. The caller ends the document. Returns the number of pages.
int paintReport(const Report &report, Surface &surface);

// The texts of every page of an A4 printout, in order, each cell's text whole.
QList<QStringList> reportPageTexts(const Report &report);

// A text kept inside `box` of a surface by the rules of a report's cells: on one line where it fits,
// otherwise wrapped and, where it still has no room, drawn smaller. The surface's font is the
// starting size and stays set afterwards.
void printInBox(Surface &surface, const QRectF &box, const QString &text,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// A text laid out at `at` inside `room`: printed at `at` as it is where it fits there (an empty text
// too), otherwise set into the room, from `at` on where that lies inside it, by printInBox.
void printAtOrFit(Surface &surface, QPointF at, const QRectF &room, const QString &text,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);

// A4 in twips, turned to the report's orientation.
QSizeF a4Twips(QPageLayout::Orientation orientation);

} // namespace platform
