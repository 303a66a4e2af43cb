#pragma once
// Printed reports: a report is a description built from computed values (title, text lines, tables),
// laid out into pages by one painter for preview, printer, PDF or image. Tables break across pages
// and repeat their column titles; every page carries the page header lines at its top and the page
// footer text with "第 n 页 共 m 页" at its foot. Table columns are never narrower than their
// longest number or word, so numbers are neither wrapped nor cut.
#include <QFont>
#include <QList>
#include <QMap>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

namespace platform {

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

struct ReportBlock
{
    enum class Kind { Text, Table, Spacer };
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
    // Spacer: millimetres of empty space.
    double spaceMm = 0;

    static ReportBlock line(const QString &text, Qt::Alignment align = Qt::AlignLeft, double pointSize = 0,
                            bool bold = false);
    static ReportBlock table(const QList<ReportColumn> &columns, const QList<QStringList> &rows, bool grid = true);
    static ReportBlock spacer(double mm);
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
};

// Lays the report out for pages of `pageRect` (device units of `painter`'s device, which gives the
// resolution) and paints page `pageIndex` (0-based). Returns the number of pages.
int paintReportPage(const Report &report, QPainter &painter, const QRectF &pageRect, int pageIndex);

// Writes the whole report to a PDF file (A4). False with *error when the file cannot be written.
bool writeReportPdf(const Report &report, const QString &path, QString *error = nullptr);

// The texts of every page, in order, as laid out (for tests and for checking paging).
QList<QStringList> reportPageTexts(const Report &report);

} // namespace platform
