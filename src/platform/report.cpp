#include "report.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

using namespace Qt::StringLiterals;

namespace platform {

ReportBlock ReportBlock::line(const QString &text, Qt::Alignment align, double pointSize, bool bold)
{
    ReportBlock b;
    b.kind = Kind::Text;
    b.text = text;
    b.align = align;
    b.pointSize = pointSize;
    b.bold = bold;
    return b;
}

ReportBlock ReportBlock::table(const QList<ReportColumn> &columns, const QList<QStringList> &rows, bool grid)
{
    ReportBlock b;
    b.kind = Kind::Table;
    b.columns = columns;
    b.rows = rows;
    b.grid = grid;
    return b;
}

ReportBlock ReportBlock::spacer(double mm)
{
    ReportBlock b;
    b.kind = Kind::Spacer;
    b.spaceMm = mm;
    return b;
}

namespace {

struct Op
{
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment align;
    bool frame = false;
};

using Page = QList<Op>;

class Layout
{
public:
    Layout(const Report &report, QPaintDevice *device, const QRectF &pageRect)
        : m_report(report), m_device(device)
    {
        const double margin = mm(report.marginMm);
        m_body = pageRect.adjusted(margin, margin, -margin, -margin);
        m_footerFont = font(report.bodyPointSize * 0.9, false);
        m_footerHeight = QFontMetricsF(m_footerFont, device).height() * 1.5;
        m_bottom = m_body.bottom() - m_footerHeight;
        newPage();
    }

    QList<Page> run()
    {
        if (!m_report.title.isEmpty())
            text(m_report.title, Qt::AlignHCenter, m_report.bodyPointSize * 1.6, true, mm(3));
        for (const ReportBlock &b : m_report.blocks) {
            switch (b.kind) {
            case ReportBlock::Kind::Text:
                text(b.text, b.align, b.pointSize > 0 ? b.pointSize : m_report.bodyPointSize, b.bold, 0);
                break;
            case ReportBlock::Kind::Spacer:
                advance(mm(b.spaceMm));
                break;
            case ReportBlock::Kind::Table:
                table(b);
                break;
            }
        }
        // Page footers, once the page count is known.
        const int count = int(m_pages.size());
        for (int i = 0; i < count; ++i) {
            const QRectF r(m_body.left(), m_body.bottom() - m_footerHeight, m_body.width(), m_footerHeight);
            m_pages[i].append({r, u"第 %1 页 共 %2 页"_s.arg(i + 1).arg(count), m_footerFont,
                               Qt::AlignHCenter | Qt::AlignBottom, false});
        }
        return m_pages;
    }

private:
    double mm(double v) const { return v * m_device->logicalDpiY() / 25.4; }

    QFont font(double pointSize, bool bold) const
    {
        QFont f(m_report.fontFamily);
        f.setPointSizeF(pointSize);
        f.setBold(bold);
        return f;
    }

    void newPage()
    {
        m_pages.append(Page());
        m_y = m_body.top();
    }

    void advance(double h)
    {
        if (m_y + h > m_bottom)
            newPage();
        else
            m_y += h;
    }

    double textHeight(const QString &t, const QFont &f, double width) const
    {
        const QFontMetricsF fm(f, m_device);
        const QRectF r = fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, t.isEmpty() ? u" "_s : t);
        return std::max(r.height(), fm.height());
    }

    void text(const QString &t, Qt::Alignment align, double pointSize, bool bold, double after)
    {
        const QFont f = font(pointSize, bold);
        const double h = textHeight(t, f, m_body.width());
        if (m_y + h > m_bottom && m_y > m_body.top())
            newPage();
        m_pages.last().append({QRectF(m_body.left(), m_y, m_body.width(), h), t, f, align | Qt::AlignVCenter, false});
        m_y += h + after;
    }

    void table(const ReportBlock &b)
    {
        if (b.columns.isEmpty())
            return;
        double total = 0;
        for (const ReportColumn &c : b.columns)
            total += std::max(0.0, c.width);
        if (total <= 0)
            total = b.columns.size();
        QList<double> widths;
        for (const ReportColumn &c : b.columns)
            widths << m_body.width() * (total > 0 ? std::max(0.0, c.width) / total : 1.0 / b.columns.size());
        const QFont bodyFont = font(m_report.bodyPointSize, false);
        const QFont headFont = font(m_report.bodyPointSize, true);
        const double pad = mm(1);

        auto rowHeight = [&](const QStringList &cells, const QFont &f) {
            double h = 0;
            for (int i = 0; i < widths.size(); ++i)
                h = std::max(h, textHeight(cells.value(i), f, widths[i] - 2 * pad));
            return h + 2 * pad;
        };
        auto place = [&](const QStringList &cells, const QFont &f, double h, bool head) {
            double x = m_body.left();
            for (int i = 0; i < widths.size(); ++i) {
                const QRectF cell(x, m_y, widths[i], h);
                const Qt::Alignment a = head ? Qt::AlignHCenter : b.columns[i].align;
                m_pages.last().append({cell.adjusted(pad, pad, -pad, -pad), cells.value(i), f,
                                       a | Qt::AlignVCenter, false});
                if (b.grid)
                    m_pages.last().append({cell, QString(), f, {}, true});
                x += widths[i];
            }
            m_y += h;
        };
        QStringList titles;
        for (const ReportColumn &c : b.columns)
            titles << c.title;
        const double headHeight = rowHeight(titles, headFont);
        if (m_y + headHeight * 2 > m_bottom && m_y > m_body.top())
            newPage();
        place(titles, headFont, headHeight, true);
        for (const QStringList &row : b.rows) {
            const double h = rowHeight(row, bodyFont);
            if (m_y + h > m_bottom) {
                newPage();
                place(titles, headFont, headHeight, true);
            }
            place(row, bodyFont, h, false);
        }
        m_y += pad;
    }

    const Report &m_report;
    QPaintDevice *m_device;
    QRectF m_body;
    QFont m_footerFont;
    double m_footerHeight = 0;
    double m_bottom = 0;
    double m_y = 0;
    QList<Page> m_pages;
};

void paint(QPainter &painter, const Page &page)
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    for (const Op &op : page) {
        if (op.frame) {
            painter.drawRect(op.rect);
            continue;
        }
        painter.setFont(op.font);
        painter.drawText(op.rect, int(op.align) | Qt::TextWordWrap, op.text);
    }
    painter.restore();
}

void setUpA4(QPdfWriter &writer, const Report &report)
{
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(report.orientation);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
}

QRectF fullPage(QPdfWriter &writer)
{
    return QRectF(QPointF(0, 0), writer.pageLayout().fullRectPixels(writer.resolution()).size());
}

} // namespace

int paintReportPage(const Report &report, QPainter &painter, const QRectF &pageRect, int pageIndex)
{
    const QList<Page> pages = Layout(report, painter.device(), pageRect).run();
    if (pageIndex >= 0 && pageIndex < pages.size())
        paint(painter, pages[pageIndex]);
    return int(pages.size());
}

bool writeReportPdf(const Report &report, const QString &path, QString *error)
{
    QPdfWriter writer(path);
    setUpA4(writer, report);
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = u"无法写入文件：%1"_s.arg(path);
        return false;
    }
    const QList<Page> pages = Layout(report, &writer, fullPage(writer)).run();
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        paint(painter, pages[i]);
    }
    return painter.end();
}

QList<QStringList> reportPageTexts(const Report &report)
{
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    setUpA4(writer, report);
    QList<QStringList> texts;
    for (const Page &page : Layout(report, &writer, fullPage(writer)).run()) {
        QStringList t;
        for (const Op &op : page)
            if (!op.frame && !op.text.isEmpty())
                t << op.text;
        texts << t;
    }
    return texts;
}

} // namespace platform
