#pragma once
// Printed reports: a report is a description built from computed values (title, text lines, tables),
// laid out into pages by one painter for preview, printer, PDF or image. Tables break across pages
// and repeat their column titles; every page carries "第 n 页 共 m 页" at its foot.
#include <QFont>
#include <QList>
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
