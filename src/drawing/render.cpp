// Rendering of the entities onto a surface, and the drawing printed alone.
#include "cpictire.h"
#include "notice.h"
#include "platform/surface_shifted.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <numbers>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

constexpr double kBarb = 56;       // half-width of an arrow head, surface units
constexpr double kOvershoot = 186; // extension beyond a dimension line, surface units

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }
QPointF pt(DrawPoint p) { return {double(p.X), double(p.Y)}; }

// Polar angle about c with Y turned upwards, over the whole circle: [0, 2 pi).
double polarAngle(QPointF p, QPointF c)
{
    double t = std::atan2(c.y() - p.y(), p.x() - c.x());
    if (t < 0)
        t += 2 * std::numbers::pi;
    return t;
}

struct Mapping
{
    double L1, T1, L2, T2, kx, ky;
    DrawPoint operator()(DrawPoint p) const
    {
        return {float((double(p.X) - L1) * kx + L2), float((double(p.Y) - T1) * ky + T2)};
    }
    QPointF operator()(QPointF p) const { return {(p.x() - L1) * kx + L2, (p.y() - T1) * ky + T2}; }
};

} // namespace

void CPictire::DrawRec(platform::Surface &Obj, DrawPoint P1, DrawPoint P2)
{
    const QPointF a = pt(P1), b = pt(P2);
    if (!finite(a) || !finite(b))
        return;
    Obj.line(a, QPointF(b.x(), a.y()));
    Obj.line(QPointF(b.x(), a.y()), b);
    Obj.line(b, QPointF(a.x(), b.y()));
    Obj.line(QPointF(a.x(), b.y()), a);
}

void CPictire::DrawArrow(platform::Surface &Obj, DrawPoint P1, DrawPoint P2)
{
    const QPointF a = pt(P1), h = pt(P2);
    if (!finite(a) || !finite(h))
        return;
    const QPointF h8 = h - (h - a) / 8;
    const QPointF h12 = h - (h - a) / 12;
    const float dx = float(std::fabs(a.x() - h.x()));
    const float dy = float(std::fabs(a.y() - h.y()));
    QPointF bp, bm;
    if (dy < dx) {
        bp = {h8.x(), h8.y() + kBarb};
        bm = {h8.x(), h8.y() - kBarb};
    } else {
        bp = {h8.x() + kBarb, h8.y()};
        bm = {h8.x() - kBarb, h8.y()};
    }
    Obj.line(a, h);
    Obj.line(h, bp);
    Obj.line(h, bm);
    Obj.line(bp, h12);
    Obj.line(bm, h12);
}

namespace {
// A dimension's line: the measured segment P1-P2 moved across its main direction (along one screen
// axis) until it passes through the offset point P3. `vertical` for a mostly vertical segment.
struct DimLine
{
    QPointF d1, d2;
    double off = 0;
    bool vertical = false;
};

std::optional<DimLine> dimensionLine(QPointF p1, QPointF p2, QPointF p3)
{
    const float dx = float(std::fabs(p1.x() - p2.x()));
    const float dy = float(std::fabs(p1.y() - p2.y()));
    // Coinciding ends measure nothing: there is no line to offset.
    if (dx == 0 && dy == 0)
        return std::nullopt;
    DimLine l;
    l.vertical = dy >= dx;
    if (l.vertical) {
        const double xm = (p1.x() - p2.x()) * (p3.y() - p2.y()) / (p1.y() - p2.y()) + p2.x();
        l.off = p3.x() - xm;
        l.d1 = {p1.x() + l.off, p1.y()};
        l.d2 = {p2.x() + l.off, p2.y()};
    } else {
        const double ym = (p1.y() - p2.y()) * (p3.x() - p2.x()) / (p1.x() - p2.x()) + p2.y();
        l.off = p3.y() - ym;
        l.d1 = {p1.x(), p1.y() + l.off};
        l.d2 = {p2.x(), p2.y() + l.off};
    }
    return l;
}
} // namespace

void CPictire::DrawDim(platform::Surface &Obj, DrawPoint P1, DrawPoint P2, DrawPoint P3)
{
    const QPointF p1 = pt(P1), p2 = pt(P2), p3 = pt(P3);
    const std::optional<DimLine> l = dimensionLine(p1, p2, p3);
    if (!l)
        return;
    const double d = l->off < 0 ? -kOvershoot : kOvershoot;
    const QPointF d1 = l->d1, d2 = l->d2;
    const QPointF o1 = l->vertical ? QPointF(d1.x() + d, d1.y()) : QPointF(d1.x(), d1.y() + d);
    const QPointF o2 = l->vertical ? QPointF(d2.x() + d, d2.y()) : QPointF(d2.x(), d2.y() + d);
    if (!finite(p1) || !finite(p2) || !finite(d1) || !finite(d2) || !finite(o1) || !finite(o2))
        return;
    Obj.line(d1, o1);
    Obj.line(d2, o2);
    Obj.line(d1, p1);
    Obj.line(d2, p2);
    const DrawPoint e1{float(d1.x()), float(d1.y())}, e2{float(d2.x()), float(d2.y())};
    DrawArrow(Obj, e1, e2);
    DrawArrow(Obj, e2, e1);
}

namespace {
// The 16 points of an arc's 15 chords, in the coordinates of its defining points: on the circle
// through the three, counter-clockwise from the smaller to the larger polar angle of the start and
// the direction point; the end point only fixes the circle. Nothing for collinear points.
std::optional<std::array<QPointF, 16>> arcPoints(DrawPoint S, DrawPoint E, DrawPoint D)
{
    const QPointF s = pt(S), e = pt(E), dp = pt(D);
    const double a1 = s.x() - e.x(), b1 = s.y() - e.y();
    const double c1 = ((s.y() + e.y()) * b1 + (s.x() + e.x()) * a1) / 2;
    const double a2 = dp.x() - e.x(), b2 = dp.y() - e.y();
    const double c2 = ((e.y() + dp.y()) * b2 + (e.x() + dp.x()) * a2) / 2;
    const double det = a1 * b2 - a2 * b1;
    if (float(std::fabs(det)) == 0.0f) // collinear or coinciding points: no circle
        return std::nullopt;
    const QPointF c((c1 * b2 - c2 * b1) / det, (a1 * c2 - a2 * c1) / det);
    const double r = std::hypot(s.x() - c.x(), s.y() - c.y());
    if (!finite(c) || !std::isfinite(r))
        return std::nullopt;
    double a = polarAngle(s, c);
    double b = polarAngle(dp, c);
    if (b < a)
        std::swap(a, b);
    const double step = (b - a) / 15;
    std::array<QPointF, 16> points;
    for (int i = 0; i <= 15; ++i) {
        const double t = a + i * step;
        points[size_t(i)] = QPointF(r * std::cos(t) + c.x(), c.y() - r * std::sin(t));
    }
    return points;
}

void drawChords(platform::Surface &Obj, const std::array<QPointF, 16> &points)
{
    for (size_t i = 1; i < points.size(); ++i)
        Obj.line(points[i - 1], points[i]);
}
} // namespace

void CPictire::DrawArc(platform::Surface &Obj, DrawPoint S, DrawPoint E, DrawPoint D)
{
    if (const auto points = arcPoints(S, E, D))
        drawChords(Obj, *points);
}

void CPictire::Draw_String(platform::Surface &Obj, float Cx, float Cy, const QString &ch)
{
    Obj.setCurrentPos(QPointF(double(Cx), double(Cy) - Obj.textHeight(u"国"_s) / 2));
    Obj.print(ch);
}

void CPictire::Draw_Gird(qint16 Xnum, qint16 Ynum)
{
    if (!Pic || Xnum <= 0 || Ynum <= 0)
        return;
    Pic->setPersistent(true);
    const float sx = float(Pic->width()) / float(Xnum);
    const float sy = float(Pic->height()) / float(Ynum);
    for (int i = 0; i <= Xnum; ++i)
        for (int j = 0; j <= Ynum; ++j)
            Pic->point(QPointF(double(float(i) * sx), double(float(j) * sy)));
}

namespace {
void render(const DrawingLists &l, platform::Surface &Obj, float L1, float T1, float R1, float B1, float L2, float T2,
            float R2, float B2, bool withTexts)
{
    const double w = double(R1) - double(L1), h = double(B1) - double(T1);
    if (w == 0 || h == 0)
        return;
    const Mapping m{double(L1), double(T1), double(L2), double(T2), (double(R2) - double(L2)) / w,
                    (double(B2) - double(T2)) / h};
    if (!std::isfinite(m.kx) || !std::isfinite(m.ky))
        return;
    for (int i = 0; i <= l.LineLast; ++i) {
        const QPointF a = pt(m(l.LineArr[size_t(i)].P1)), b = pt(m(l.LineArr[size_t(i)].P2));
        if (finite(a) && finite(b))
            Obj.line(a, b);
    }
    for (int i = 0; i <= l.RecLast; ++i)
        CPictire::DrawRec(Obj, m(l.RecArr[size_t(i)].P1), m(l.RecArr[size_t(i)].P2));
    for (int i = 0; i <= l.DirLast; ++i)
        CPictire::DrawArrow(Obj, m(l.DirArr[size_t(i)].P1), m(l.DirArr[size_t(i)].P2));
    for (int i = 0; i <= l.DimLast; ++i) {
        const ThreePoints &e = l.DimArr[size_t(i)];
        CPictire::DrawDim(Obj, m(e.P1), m(e.P2), m(e.P3));
    }
    if (withTexts) {
        for (int i = 0; i <= l.StringLast; ++i) {
            const TextEntity &e = l.StringArr[size_t(i)];
            const DrawPoint p = m(e.P1);
            if (std::isfinite(p.X) && std::isfinite(p.Y))
                CPictire::Draw_String(Obj, p.X, p.Y, e.text);
        }
    }
    // An arc is worked out on the drawing's own circle and its points stretched into the box, so it
    // keeps its side in every box (the three points stretched first would make another circle).
    for (int i = 0; i <= l.ArcLast; ++i) {
        const ThreePoints &e = l.ArcArr[size_t(i)];
        std::optional<std::array<QPointF, 16>> points = arcPoints(e.P1, e.P2, e.P3);
        if (!points)
            continue;
        bool ok = true;
        for (QPointF &p : *points) {
            p = m(p);
            ok = ok && finite(p);
        }
        if (ok)
            drawChords(Obj, *points);
    }
}
} // namespace

void CPictire::PrintPic(platform::Surface &Obj, float L1, float T1, float R1, float B1, float L2, float T2,
                        float R2, float B2) const
{
    render(m_lists, Obj, L1, T1, R1, B1, L2, T2, R2, B2, true);
}

void CPictire::OutMCNoStr(platform::Surface &Obj, float L1, float T1, float R1, float B1, float L2, float T2,
                          float R2, float B2) const
{
    render(m_lists, Obj, L1, T1, R1, B1, L2, T2, R2, B2, false);
}

void renderDrawing(platform::Surface &Obj, const DrawingLists &drawing, float L2, float T2, float R2, float B2,
                   bool withTexts)
{
    render(drawing, Obj, 0, 0, kAreaWidth, kAreaHeight, L2, T2, R2, B2, withTexts);
}

bool CPictire::PrintPicture(platform::Surface &printer)
{
    if (isEmpty()) {
        notice(u"图形为空!"_s, u"#Error"_s, NoticeIcon::Question);
        return false;
    }
    // Unscaled, the drawing area centred on the sheet: paper keeps a margin all round.
    platform::ShiftedSurface page(printer, platform::centringOffset(printer, QRectF(0, 0, kAreaWidth, kAreaHeight)));
    PrintPic(page, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
    page.endDocument();
    return true;
}

std::optional<float> labelledLength(const DrawingLists &drawing, DrawPoint anchor, float reach)
{
    const QPointF a = pt(anchor);
    std::optional<float> length;
    double nearest = double(reach);
    for (int i = 0; i <= drawing.DimLast; ++i) {
        const ThreePoints &e = drawing.DimArr[size_t(i)];
        const std::optional<DimLine> l = dimensionLine(pt(e.P1), pt(e.P2), pt(e.P3));
        if (!l || !finite(l->d1) || !finite(l->d2))
            continue;
        // Distance from the anchor to the dimension line.
        const QPointF v = l->d2 - l->d1, w = a - l->d1;
        const double t = std::clamp(QPointF::dotProduct(w, v) / QPointF::dotProduct(v, v), 0.0, 1.0);
        const QPointF foot = l->d1 + t * v;
        const double distance = std::hypot(a.x() - foot.x(), a.y() - foot.y());
        if (distance <= nearest) {
            nearest = distance;
            length = float(l->vertical ? std::fabs(e.P1.Y - e.P2.Y) : std::fabs(e.P1.X - e.P2.X));
        }
    }
    return length;
}

} // namespace drawing
