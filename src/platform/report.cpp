#include "report.h"

#include "faces.h"
#include "surface.h"
#include "surface_recording.h"

#include <QPageSize>
#include <algorithm>
#include <cmath>
#include <limits>

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

ReportBlock ReportBlock::band(double heightMm, const QList<ReportField> &fields)
{
    ReportBlock b;
    b.kind = Kind::Band;
    b.spaceMm = heightMm;
    b.fields = fields;
    return b;
}

QSizeF a4Twips(QPageLayout::Orientation orientation)
{
    const QSizeF portrait = QPageSize(QPageSize::A4).size(QPageSize::Inch) * 1440;
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

namespace {

constexpr double kTwipsPerMm = 1440 / 25.4;
constexpr double kSmallestPoint = 4; // a text is never drawn smaller
constexpr double kUnbounded = std::numeric_limits<double>::max();

double mm(double v) { return v * kTwipsPerMm; }

// Measures texts on the surface the report is laid out for.
class Metrics
{
public:
    explicit Metrics(Surface &s) : m_surface(s) {}
    double width(const QString &text, const QFont &f) const
    {
        use(f);
        return m_surface.textWidth(text);
    }
    double height(const QFont &f) const
    {
        use(f);
        return m_surface.textHeight(u"国"_s);
    }

private:
    void use(const QFont &f) const
    {
        if (m_surface.font() != f)
            m_surface.setFont(f);
    }
    Surface &m_surface;
};

// Break rules: a line may end after a blank or a "+" (cutting patterns such as "420+420+385*2"),
// and before or after a Chinese character, except before closing and after opening punctuation.
bool isWide(QChar c) { return c.unicode() >= 0x2E80; }
bool closes(QChar c) { return u"，。、：；！？）》」』】〉,.:;!?)"_s.contains(c); }
bool opens(QChar c) { return u"（《「『【〈("_s.contains(c); }

bool breakBetween(QChar a, QChar b)
{
    if (b.isSpace())
        return false;
    if (a.isSpace() || a == u'+')
        return true;
    if (!isWide(a) && !isWide(b))
        return false;
    return !closes(b) && !opens(a);
}

// The pieces of a line that are never broken; each keeps the blanks that follow it.
QStringList pieces(const QString &text, bool anywhere)
{
    QStringList out;
    QString piece;
    for (qsizetype i = 0; i < text.size(); ++i) {
        piece += text.at(i);
        if (i + 1 == text.size() || anywhere || breakBetween(text.at(i), text.at(i + 1))) {
            out << piece;
            piece.clear();
        }
    }
    return out;
}

QString trimmedEnd(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

// A text set into a box: its lines and the font it takes there.
struct Fitted
{
    QFont font;
    QStringList lines;
    double lineHeight = 0;
    double height() const { return lineHeight * double(std::max<qsizetype>(1, lines.size())); }
};

class Fitter
{
public:
    explicit Fitter(const Metrics &m) : m_metrics(m) {}

    // Lines of at most `width`, wrapped where the rules allow; a line with no break point may run
    // wider (reported through *fits).
    QStringList wrap(const QString &text, const QFont &f, double width, bool anywhere, bool *fits) const
    {
        QStringList lines;
        *fits = true;
        QString plain = text;
        plain.remove(u'\r');
        for (const QString &paragraph : plain.split(u'\n')) {
            QString line;
            for (const QString &piece : pieces(paragraph, anywhere)) {
                const QString joined = line + piece;
                if (line.isEmpty() || m_metrics.width(trimmedEnd(joined), f) <= width) {
                    line = joined;
                    continue;
                }
                lines << trimmedEnd(line);
                line = piece;
            }
            lines << trimmedEnd(line);
        }
        for (const QString &l : std::as_const(lines))
            if (m_metrics.width(l, f) > width)
                *fits = false;
        return lines;
    }

    // The text wrapped into `width` and, where it has no room, drawn smaller until its lines fit
    // the width and `height`. At the smallest size a piece is broken anywhere, and lines beyond the
    // height are left out with "…" closing the last one kept.
    Fitted fit(const QString &text, QFont f, double width, double height = kUnbounded) const
    {
        width = std::max(width, 1.0);
        for (;;) {
            bool fits = false;
            Fitted out{f, wrap(text, f, width, false, &fits), m_metrics.height(f)};
            if (fits && out.height() <= height + 0.01)
                return out;
            const double size = f.pointSizeF();
            if (size <= kSmallestPoint)
                return lastResort(text, f, width, height);
            double next = size * 0.93;
            if (!fits) {
                double widest = 0;
                for (const QString &l : out.lines)
                    widest = std::max(widest, m_metrics.width(l, f));
                next = std::min(next, size * width / widest);
            }
            f.setPointSizeF(std::max(kSmallestPoint, std::floor(next * 4) / 4));
        }
    }

private:
    Fitted lastResort(const QString &text, const QFont &f, double width, double height) const
    {
        bool fits = false;
        Fitted out{f, wrap(text, f, width, true, &fits), m_metrics.height(f)};
        const qsizetype room = std::max<qsizetype>(1, qsizetype(height / out.lineHeight + 0.01));
        if (out.lines.size() > room) {
            out.lines = out.lines.mid(0, room);
            QString &last = out.lines.last();
            while (!last.isEmpty() && m_metrics.width(last + u"…"_s, f) > width)
                last.chop(1);
            last += u"…"_s;
        }
        return out;
    }

    const Metrics &m_metrics;
};

struct Op
{
    QRectF rect; // frame; or the box a text is set in
    QString text;
    Fitted fitted;
    Qt::Alignment align;
    bool frame = false;
};

using Page = QList<Op>;

class Layout
{
public:
    Layout(const Report &report, Surface &surface)
        : m_report(report), m_metrics(surface), m_fitter(m_metrics)
    {
        const double margin = mm(report.marginMm);
        m_body = QRectF(0, 0, surface.width(), surface.height()).adjusted(margin, margin, -margin, -margin);
        m_footerFont = font(report.bodyPointSize * 0.9, false);
        const bool footer = report.pageNumbers || !report.pageFooter.isEmpty();
        m_footerHeight = footer ? m_metrics.height(m_footerFont) * 1.5 : 0;
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
            case ReportBlock::Kind::Band:
                band(b);
                break;
            }
        }
        footers();
        return m_pages;
    }

private:
    QFont font(double pointSize, bool bold) const { return faceFont(m_report.fontFamily, pointSize, bold); }

    void add(const QRectF &box, const QString &t, const Fitted &fitted, Qt::Alignment align)
    {
        m_pages.last().append({box, t, fitted, align, false});
    }

    // The page number in the middle of the foot, the footer text at its left in the room beside it.
    void footers()
    {
        const int count = int(m_pages.size());
        const double top = m_body.bottom() - m_footerHeight;
        for (int i = 0; i < count; ++i) {
            double numberWidth = 0;
            if (m_report.pageNumbers) {
                const QString number = u"第 %1 页 共 %2 页"_s.arg(i + 1).arg(count);
                numberWidth = m_metrics.width(number, m_footerFont);
                const QRectF box(m_body.center().x() - numberWidth / 2, top, numberWidth, m_footerHeight);
                m_pages[i].append({box, number, m_fitter.fit(number, m_footerFont, numberWidth + 1),
                                   Qt::AlignHCenter | Qt::AlignBottom, false});
            }
            if (!m_report.pageFooter.isEmpty()) {
                const double room = m_report.pageNumbers ? (m_body.width() - numberWidth) / 2 - mm(2) : m_body.width();
                const QRectF box(m_body.left(), top, room, m_footerHeight);
                m_pages[i].append({box, m_report.pageFooter,
                                   m_fitter.fit(m_report.pageFooter, m_footerFont, room, m_footerHeight),
                                   Qt::AlignLeft | Qt::AlignBottom, false});
            }
        }
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

    void place(const QString &t, Qt::Alignment align, double pointSize, bool bold, double after)
    {
        const Fitted f = m_fitter.fit(t, font(pointSize, bold), m_body.width());
        add(QRectF(m_body.left(), m_y, m_body.width(), f.height()), t, f, align | Qt::AlignVCenter);
        m_y += f.height() + after;
    }

    void text(const QString &t, Qt::Alignment align, double pointSize, bool bold, double after)
    {
        const double h = m_fitter.fit(t, font(pointSize, bold), m_body.width()).height();
        if (m_y + h > m_bottom && m_y > m_contentTop)
            newPage();
        place(t, align, pointSize, bold, after);
    }

    void band(const ReportBlock &b)
    {
        const double height = mm(b.spaceMm);
        if (m_y + height > m_bottom && m_y > m_contentTop)
            newPage();
        for (const ReportField &field : b.fields) {
            const QRectF box(m_body.left() + mm(field.rectMm.left()), m_y + mm(field.rectMm.top()),
                             mm(field.rectMm.width()), mm(field.rectMm.height()));
            const QFont f = font(field.pointSize > 0 ? field.pointSize : m_report.bodyPointSize, field.bold);
            add(box, field.text, m_fitter.fit(field.text, f, box.width(), box.height()), field.align | Qt::AlignTop);
        }
        m_y = std::min(m_y + height, m_bottom);
    }

    // Widest piece of the text that may not be broken.
    double widestPiece(const QString &t, const QFont &f) const
    {
        double widest = 0;
        for (const QString &paragraph : QString(t).remove(u'\r').split(u'\n'))
            for (const QString &piece : pieces(paragraph, false))
                widest = std::max(widest, m_metrics.width(trimmedEnd(piece), f));
        return widest;
    }

    double naturalWidth(const QString &t, const QFont &f) const
    {
        double widest = 0;
        for (const QString &paragraph : QString(t).remove(u'\r').split(u'\n'))
            widest = std::max(widest, m_metrics.width(trimmedEnd(paragraph), f));
        return widest;
    }

    // Columns as wide as their content where the page allows, the room left shared by the weights;
    // never narrower than their longest unbreakable piece while the page holds those. A table whose
    // pieces alone are wider than the page shrinks every column alike: its texts are drawn smaller.
    QList<double> columnWidths(const ReportBlock &b, const QFont &bodyFont, const QFont &headFont, double pad) const
    {
        const int n = int(b.columns.size());
        const double slack = pad / 2; // rounding of glyph advances
        QList<double> minimum(n, 0), natural(n, 0), weight(n, 0);
        double totalWeight = 0;
        for (int i = 0; i < n; ++i) {
            weight[i] = std::max(0.0, b.columns[i].width);
            totalWeight += weight[i];
            const QString title = b.headless ? QString() : b.columns[i].title;
            minimum[i] = widestPiece(title, headFont);
            natural[i] = naturalWidth(title, headFont);
        }
        for (int r = 0; r < b.rows.size(); ++r) {
            const int first = b.firstCellSpans.value(r, 1) > 1 ? 1 : 0;
            for (int i = first; i < n; ++i) {
                const QString cell = b.rows[r].value(i);
                minimum[i] = std::max(minimum[i], widestPiece(cell, bodyFont));
                natural[i] = std::max(natural[i], naturalWidth(cell, bodyFont));
            }
        }
        if (totalWeight <= 0) {
            weight.fill(1);
            totalWeight = n;
        }
        double sumNatural = 0, sumMinimum = 0;
        for (int i = 0; i < n; ++i) {
            minimum[i] += 2 * pad + slack;
            natural[i] = std::max(natural[i] + 2 * pad + slack, minimum[i]);
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
        if (sumMinimum >= page) {
            for (int i = 0; i < n; ++i)
                widths[i] = minimum[i] * page / sumMinimum;
            return widths;
        }
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
        QList<double> lefts(n, m_body.left());
        for (int i = 1; i < n; ++i)
            lefts[i] = lefts[i - 1] + widths[i - 1];

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
        struct Cell
        {
            QRectF box;
            QString text;
            Fitted fitted;
            Qt::Alignment align;
        };
        auto cell = [&](double x, double w, const QString &text, const QFont &f, Qt::Alignment a) {
            return Cell{QRectF(x, 0, w, 0), text, m_fitter.fit(text, f, w - 2 * pad), a};
        };
        auto heightOf = [&](const QList<Cell> &cells) {
            double h = 0;
            for (const Cell &c : cells)
                h = std::max(h, c.fitted.height() + 2 * pad);
            return h;
        };
        // Cells at `y`, each `h` high, framed on a ruled table.
        auto put = [&](const QList<Cell> &cells, double y, double h) {
            for (const Cell &c : cells) {
                const QRectF box(c.box.left(), y, c.box.width(), h);
                add(box.adjusted(pad, pad, -pad, -pad), c.text, c.fitted, c.align | Qt::AlignVCenter);
                if (b.grid)
                    m_pages.last().append({box, QString(), {}, {}, true});
            }
        };
        auto rowCells = [&](int r) {
            QList<Cell> cells;
            for (const auto &span : spansOf(r))
                cells << cell(lefts[span.first], spanWidth(span), b.rows[r].value(span.first), bodyFont,
                              b.columns[span.first].align);
            return cells;
        };
        // Column titles, with a group's caption over the titles of its columns.
        QList<const ReportColumnGroup *> groupOf(n, nullptr);
        for (const ReportColumnGroup &g : b.groups)
            for (int i = std::max(0, g.first); i < std::min(n, g.first + g.count); ++i)
                groupOf[i] = &g;
        QList<Cell> captions, titles, plainTitles;
        for (int i = 0; i < n; ++i) {
            const ReportColumnGroup *g = groupOf[i];
            Cell title = cell(lefts[i], widths[i], b.columns[i].title, headFont, Qt::AlignHCenter);
            (g ? titles : plainTitles) << title;
            if (g && (i == 0 || groupOf[i - 1] != g)) {
                double w = 0;
                for (int j = i; j < n && groupOf[j] == g; ++j)
                    w += widths[j];
                captions << cell(lefts[i], w, g->caption, headFont, Qt::AlignHCenter);
            }
        }
        const double groupHeight = captions.isEmpty() ? 0 : heightOf(captions);
        const double titleHeight = std::max(heightOf(titles), heightOf(plainTitles) - groupHeight);
        const double headHeight = b.headless ? 0 : titleHeight + groupHeight;
        auto placeHead = [&] {
            if (b.headless)
                return;
            const double top = m_y;
            put(plainTitles, top, headHeight);
            put(captions, top, groupHeight);
            put(titles, top + groupHeight, titleHeight);
            m_y = top + headHeight;
        };

        const double firstRow = b.rows.isEmpty() ? 0 : heightOf(rowCells(0));
        if (m_y + headHeight + firstRow > m_bottom && m_y > m_contentTop)
            newPage();
        placeHead();
        for (int r = 0; r < b.rows.size(); ++r) {
            const QList<Cell> cells = rowCells(r);
            const double h = heightOf(cells);
            if (m_y + h > m_bottom) {
                newPage();
                placeHead();
            }
            put(cells, m_y, h);
            m_y += h;
        }
        m_y += pad;
    }

    const Report &m_report;
    Metrics m_metrics;
    Fitter m_fitter;
    QRectF m_body;
    QFont m_footerFont;
    double m_footerHeight = 0;
    double m_bottom = 0;
    double m_y = 0;
    double m_contentTop = 0; // below the page header
    QList<Page> m_pages;
};

void paint(Surface &s, const Page &page)
{
    for (const Op &op : page) {
        if (op.frame) {
            s.box(op.rect.topLeft(), op.rect.bottomRight());
            continue;
        }
        const Fitted &f = op.fitted;
        s.setFont(f.font);
        double y = op.rect.top();
        if (op.align & Qt::AlignBottom)
            y = op.rect.bottom() - f.height();
        else if (op.align & Qt::AlignVCenter)
            y = op.rect.top() + (op.rect.height() - f.height()) / 2;
        for (const QString &line : f.lines) {
            if (!line.isEmpty()) {
                const double w = s.textWidth(line);
                double x = op.rect.left();
                if (op.align & Qt::AlignRight)
                    x = op.rect.right() - w;
                else if (op.align & Qt::AlignHCenter)
                    x = op.rect.left() + (op.rect.width() - w) / 2;
                s.setCurrentPos(QPointF(x, y));
                s.print(line);
            }
            y += f.lineHeight;
        }
    }
}

} // namespace

void printInBox(Surface &surface, const QRectF &box, const QString &text, Qt::Alignment align)
{
    if (text.isEmpty())
        return;
    const QFont kept = surface.font();
    const Metrics metrics(surface);
    const Fitted fitted = Fitter(metrics).fit(text, kept, box.width(), box.height());
    paint(surface, Page{Op{box, text, fitted, align}});
    surface.setFont(kept);
}

void printAtOrFit(Surface &surface, QPointF at, const QRectF &room, const QString &text, Qt::Alignment align)
{
    const bool fits = at.x() >= room.left() && at.x() + surface.textWidth(text) <= room.right()
                      && at.y() + surface.textHeight(text) <= room.bottom();
    if (fits || text.isEmpty()) {
        surface.setCurrentPos(at);
        surface.print(text);
        return;
    }
    printInBox(surface, QRectF(QPointF(std::max(at.x(), room.left()), room.top()), room.bottomRight()), text, align);
}

int paintReport(const Report &report, Surface &surface)
{
    const QList<Page> pages = Layout(report, surface).run();
    const QFont kept = surface.font();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            surface.newPage();
        paint(surface, pages[i]);
    }
    surface.setFont(kept);
    return int(pages.size());
}

QList<QStringList> reportPageTexts(const Report &report)
{
    const QSizeF page = a4Twips(report.orientation);
    RecordingSurface surface = RecordingSurface::paper(page.width(), page.height());
    QList<QStringList> texts;
    for (const Page &p : Layout(report, surface).run()) {
        QStringList t;
        for (const Op &op : p)
            if (!op.frame && !op.text.isEmpty())
                t << op.text;
        texts << t;
    }
    return texts;
}

} // namespace platform
