#pragma once
// What a printed page must keep, checked on a recording of it (RecordingSurface::paper, twips from
// the sheet's corner): no two texts overlap, every text stays inside the cell that the ruled lines
// around it make, and every text, line and box lies on the sheet at least `edgeMm` from each edge.
#include "platform/report.h"
#include "platform/surface_recording.h"

#include <QLineF>
#include <QMetaType>
#include <QMap>
#include <QSizeF>
#include <QStringList>
#include <limits>

namespace pagecheck {

inline QRectF textBox(const platform::SurfaceOp &op) { return QRectF(op.a, op.extent); }

// One line per fault, empty for a sound page.
inline QStringList pageFaults(const QList<platform::SurfaceOp> &ops, const QSizeF &sheet, double edgeMm = 6)
{
    using platform::SurfaceOp;
    constexpr double tolerance = 1; // twips: rounding of positions and glyph advances
    const double edge = edgeMm * 1440 / 25.4;
    const QRectF allowed =
        QRectF(QPointF(0, 0), sheet).adjusted(edge - tolerance, edge - tolerance, tolerance - edge, tolerance - edge);
    QStringList faults;
    auto where = [](const SurfaceOp &op) { return QStringLiteral(" (page %1)").arg(op.page + 1); };
    auto onSheet = [&](QPointF p) { return allowed.contains(p); };

    QMap<int, QList<SurfaceOp>> texts;
    QMap<int, QList<QLineF>> rules; // axis-parallel lines and box edges: the cell walls
    for (const SurfaceOp &op : ops) {
        switch (op.kind) {
        case SurfaceOp::Text: {
            if (op.text.trimmed().isEmpty())
                break;
            const QRectF box = textBox(op);
            if (!onSheet(box.topLeft()) || !onSheet(box.bottomRight()))
                faults << QStringLiteral("text \"%1\" is off the page or within %2 mm of its edge")
                                  .arg(op.text)
                                  .arg(edgeMm) + where(op);
            texts[op.page] << op;
            break;
        }
        case SurfaceOp::Line:
        case SurfaceOp::Box:
        case SurfaceOp::Point:
            if (!onSheet(op.a) || !onSheet(op.b))
                faults << QStringLiteral("a line or box reaches to within %1 mm of the edge").arg(edgeMm) + where(op);
            if (op.kind == SurfaceOp::Box) {
                const QRectF r = QRectF(op.a, op.b).normalized();
                rules[op.page] << QLineF(r.topLeft(), r.topRight()) << QLineF(r.bottomLeft(), r.bottomRight())
                               << QLineF(r.topLeft(), r.bottomLeft()) << QLineF(r.topRight(), r.bottomRight());
            } else if (op.kind == SurfaceOp::Line) {
                rules[op.page] << QLineF(op.a, op.b);
            }
            break;
        default:
            break;
        }
    }

    for (auto page = texts.cbegin(); page != texts.cend(); ++page) {
        const QList<SurfaceOp> &list = page.value();
        for (qsizetype i = 0; i < list.size(); ++i)
            for (qsizetype j = i + 1; j < list.size(); ++j) {
                const QRectF both = textBox(list[i]) & textBox(list[j]);
                if (both.width() > tolerance && both.height() > tolerance)
                    faults << QStringLiteral("\"%1\" overlaps \"%2\"").arg(list[i].text, list[j].text) + where(list[i]);
            }
        // The cell of a text: the nearest walls around a point just inside its start.
        const QList<QLineF> walls = rules.value(page.key());
        for (const SurfaceOp &t : list) {
            const QRectF box = textBox(t);
            const QPointF p(box.left() + std::min(box.width() / 2, 4 * tolerance), box.center().y());
            constexpr double far = std::numeric_limits<double>::max();
            double left = -far, right = far, top = -far, bottom = far;
            for (const QLineF &w : walls) {
                const bool vertical = std::abs(w.dx()) < tolerance;
                const bool horizontal = std::abs(w.dy()) < tolerance;
                if (vertical && std::min(w.y1(), w.y2()) <= p.y() && p.y() <= std::max(w.y1(), w.y2())) {
                    if (w.x1() <= p.x())
                        left = std::max(left, w.x1());
                    else
                        right = std::min(right, w.x1());
                } else if (horizontal && std::min(w.x1(), w.x2()) <= p.x() && p.x() <= std::max(w.x1(), w.x2())) {
                    if (w.y1() <= p.y())
                        top = std::max(top, w.y1());
                    else
                        bottom = std::min(bottom, w.y1());
                }
            }
            if (box.left() < left - tolerance || box.right() > right + tolerance || box.top() < top - tolerance
                || box.bottom() > bottom + tolerance)
                faults << QStringLiteral("text \"%1\" runs out of its cell").arg(t.text) + where(t);
        }
    }
    return faults;
}

// A report printed on A4, recorded.
inline platform::RecordingSurface onPaper(const platform::Report &report)
{
    const QSizeF sheet = platform::a4Twips(report.orientation);
    platform::RecordingSurface s = platform::RecordingSurface::paper(sheet.width(), sheet.height());
    platform::paintReport(report, s);
    return s;
}

inline QStringList reportFaults(const platform::Report &report)
{
    return pageFaults(onPaper(report).ops, platform::a4Twips(report.orientation));
}

// Every printed text of a recording run together, without blanks: a text wrapped over several
// lines reads whole in it.
inline QString printedText(const platform::RecordingSurface &s)
{
    QString all;
    for (const platform::SurfaceOp &op : s.texts())
        all += op.text;
    return all.remove(QLatin1Char(' '));
}

// The first faults, for a test's failure message.
inline QByteArray summary(const QStringList &faults)
{
    return (faults.mid(0, 8).join(QLatin1Char('\n')) + (faults.size() > 8 ? QStringLiteral("\n...") : QString()))
        .toUtf8();
}

} // namespace pagecheck

// Reports as rows of a test's table.
Q_DECLARE_METATYPE(platform::Report)
