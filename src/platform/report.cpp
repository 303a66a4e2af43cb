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
            if (!m_report.pageFooter.isEmpty())
                m_pages[i].append({r, m_report.pageFooter, m_footerFont, Qt::AlignLeft | Qt::AlignBottom, false});
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
        for (const ReportBlock &b : m_report.pageHeader)
            place(b.text, b.align, b.pointSize > 0 ? b.pointSize : m_report.bodyPointSize, b.bold, mm(1));
        if (!m_report.pageHeader.isEmpty())
            m_y += mm(2);
        m_contentTop = m_y;
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

    void place(const QString &t, Qt::Alignment align, double pointSize, bool bold, double after)
    {
        const QFont f = font(pointSize, bold);
        const double h = textHeight(t, f, m_body.width());
        m_pages.last().append({QRectF(m_body.left(), m_y, m_body.width(), h), t, f, align | Qt::AlignVCenter, false});
        m_y += h + after;
    }

    void text(const QString &t, Qt::Alignment align, double pointSize, bool bold, double after)
    {
        const double h = textHeight(t, font(pointSize, bold), m_body.width());
        if (m_y + h > m_bottom && m_y > m_contentTop)
            newPage();
        place(t, align, pointSize, bold, after);
    }

    // Widest piece of the text that may not be broken: a number, a word of Latin letters or a code.
    // Chinese characters break anywhere.
    static double widestToken(const QString &t, const QFontMetricsF &fm)
    {
        double widest = 0;
        QString token;
        auto flush = [&] {
            widest = std::max(widest, fm.horizontalAdvance(token));
            token.clear();
        };
        for (const QChar c : t) {
            if (c.isSpace()) {
                flush();
            } else if (c.unicode() >= 0x2E80) {
                flush();
                token = c;
                flush();
            } else {
                token += c;
            }
        }
        flush();
        return widest;
    }

    // Columns as wide as their content where the page allows, the room left shared by the weights;
    // never narrower than their longest unbreakable piece.
    QList<double> columnWidths(const ReportBlock &b, const QFont &bodyFont, const QFont &headFont, double pad) const
    {
        const int n = int(b.columns.size());
        const QFontMetricsF body(bodyFont, m_device);
        const QFontMetricsF head(headFont, m_device);
        const double slackPx = pad / 2; // rounding of glyph advances
        QList<double> minimum(n, 0), natural(n, 0), weight(n, 0);
        double totalWeight = 0;
        for (int i = 0; i < n; ++i) {
            weight[i] = std::max(0.0, b.columns[i].width);
            totalWeight += weight[i];
            const QString title = b.headless ? QString() : b.columns[i].title;
            minimum[i] = widestToken(title, head);
            natural[i] = head.horizontalAdvance(title);
        }
        for (int r = 0; r < b.rows.size(); ++r) {
            const int first = b.firstCellSpans.value(r, 1) > 1 ? 1 : 0;
            for (int i = first; i < n; ++i) {
                const QString cell = b.rows[r].value(i);
                minimum[i] = std::max(minimum[i], widestToken(cell, body));
                natural[i] = std::max(natural[i], body.horizontalAdvance(cell));
            }
        }
        if (totalWeight <= 0) {
            weight.fill(1);
            totalWeight = n;
        }
        double sumNatural = 0, sumMinimum = 0;
        for (int i = 0; i < n; ++i) {
            minimum[i] += 2 * pad + slackPx;
            natural[i] = std::max(natural[i] + 2 * pad + slackPx, minimum[i]);
            sumNatural += natural[i];
            sumMinimum += minimum[i];
        }
        const double page = m_body.width();
        QList<double> widths(n, 0);
        if (sumNatural <= page) {
            for (int i = 0; i < n; ++i)
                widths[i] = natural[i] + (page - sumNatural) * weight[i] / totalWeight;
            return widths;
        }
        if (sumMinimum >= page)
            return minimum; // too much for the page: nothing is cut short, the table runs wide
        // Shares by weight, raised to each column's minimum; the excess comes off the columns that
        // have room to give, in proportion to that room.
        double sum = 0, room = 0;
        for (int i = 0; i < n; ++i) {
            widths[i] = std::max(page * weight[i] / totalWeight, minimum[i]);
            sum += widths[i];
            room += widths[i] - minimum[i];
        }
        const double excess = sum - page;
        if (excess > 0 && room > 0)
            for (int i = 0; i < n; ++i)
                widths[i] -= excess * (widths[i] - minimum[i]) / room;
        return widths;
    }

    void table(const ReportBlock &b)
    {
        if (b.columns.isEmpty())
            return;
        const QFont bodyFont = font(m_report.bodyPointSize, false);
        const QFont headFont = font(m_report.bodyPointSize, true);
        const double pad = mm(1);
        const QList<double> widths = columnWidths(b, bodyFont, headFont, pad);
        const int n = int(widths.size());

        // The cells of a row as (first column, column count) spans.
        auto spansOf = [&](int row) {
            QList<std::pair<int, int>> spans;
            const int first = row >= 0 ? std::clamp(b.firstCellSpans.value(row, 1), 1, n) : 1;
            spans.append({0, first});
            for (int i = first; i < n; ++i)
                spans.append({i, 1});
            return spans;
        };
        auto spanWidth = [&](std::pair<int, int> span) {
            double w = 0;
            for (int i = span.first; i < span.first + span.second; ++i)
                w += widths[i];
            return w;
        };
        auto rowHeight = [&](const QStringList &cells, const QFont &f, int row) {
            double h = 0;
            for (const auto &span : spansOf(row))
                h = std::max(h, textHeight(cells.value(span.first), f, spanWidth(span) - 2 * pad));
            return h + 2 * pad;
        };
        auto cell = [&](const QRectF &r, const QString &text, const QFont &f, Qt::Alignment a) {
            m_pages.last().append({r.adjusted(pad, pad, -pad, -pad), text, f, a | Qt::AlignVCenter, false});
            if (b.grid)
                m_pages.last().append({r, QString(), f, {}, true});
        };
        auto place = [&](const QStringList &cells, double h, int row) {
            for (const auto &span : spansOf(row)) {
                double x = m_body.left();
                for (int i = 0; i < span.first; ++i)
                    x += widths[i];
                cell(QRectF(x, m_y, spanWidth(span), h), cells.value(span.first), bodyFont, b.columns[span.first].align);
            }
            m_y += h;
        };

        // Column titles, with a group's caption over the titles of its columns.
        QStringList titles;
        QList<const ReportColumnGroup *> groupOf(n, nullptr);
        for (const ReportColumn &c : b.columns)
            titles << c.title;
        double groupHeight = 0;
        for (const ReportColumnGroup &g : b.groups) {
            for (int i = std::max(0, g.first); i < std::min(n, g.first + g.count); ++i)
                groupOf[i] = &g;
            groupHeight = std::max(groupHeight, textHeight(g.caption, headFont, m_body.width()) + 2 * pad);
        }
        const double titleHeight = rowHeight(titles, headFont, -1);
        const double headHeight = b.headless ? 0 : titleHeight + groupHeight;
        auto placeHead = [&] {
            if (b.headless)
                return;
            double x = m_body.left();
            for (int i = 0; i < n; ++i) {
                const ReportColumnGroup *g = groupOf[i];
                if (!g) {
                    cell(QRectF(x, m_y, widths[i], headHeight), titles[i], headFont, Qt::AlignHCenter);
                } else {
                    if (i == 0 || groupOf[i - 1] != g) {
                        double w = 0;
                        for (int j = i; j < n && groupOf[j] == g; ++j)
                            w += widths[j];
                        cell(QRectF(x, m_y, w, groupHeight), g->caption, headFont, Qt::AlignHCenter);
                    }
                    cell(QRectF(x, m_y + groupHeight, widths[i], titleHeight), titles[i], headFont, Qt::AlignHCenter);
                }
                x += widths[i];
            }
            m_y += headHeight;
        };

        const double firstRow = b.rows.isEmpty() ? 0 : rowHeight(b.rows.constFirst(), bodyFont, 0);
        if (m_y + headHeight + firstRow > m_bottom && m_y > m_contentTop)
            newPage();
        placeHead();
        for (int r = 0; r < b.rows.size(); ++r) {
            const double h = rowHeight(b.rows[r], bodyFont, r);
            if (m_y + h > m_bottom) {
                newPage();
                placeHead();
            }
            place(b.rows[r], h, r);
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
    double m_contentTop = 0; // below the page header
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
