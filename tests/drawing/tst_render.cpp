// Rendering on the recording surface: the stretch, the figure of every kind, text placement, the
// grid, and figures that have no finite coordinates.
#include "drawingtest.h"

#include "platform/surface_recording.h"

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::near;
using platform::RecordingSurface;
using platform::SurfaceOp;

namespace {
QList<QLineF> arrowLines(QPointF tail, QPointF head, QPointF barb1, QPointF barb2, QPointF notch)
{
    return {QLineF(tail, head), QLineF(head, barb1), QLineF(head, barb2), QLineF(barb1, notch), QLineF(barb2, notch)};
}

void compareLines(const QList<QLineF> &actual, const QList<QLineF> &expected)
{
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (!near(actual[i].p1(), expected[i].p1()) || !near(actual[i].p2(), expected[i].p2()))
            QFAIL(qPrintable(u"segment %1: (%2, %3)-(%4, %5), expected (%6, %7)-(%8, %9)"_s.arg(i)
                                 .arg(actual[i].x1()).arg(actual[i].y1()).arg(actual[i].x2()).arg(actual[i].y2())
                                 .arg(expected[i].x1()).arg(expected[i].y1()).arg(expected[i].x2())
                                 .arg(expected[i].y2())));
    }
}

QList<QLineF> arcChords(QPointF c, double r, double a, double b)
{
    QList<QLineF> out;
    const double step = (b - a) / 15;
    QPointF from(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
    for (int i = 1; i <= 15; ++i) {
        const QPointF to(c.x() + r * std::cos(a + i * step), c.y() - r * std::sin(a + i * step));
        out << QLineF(from, to);
        from = to;
    }
    return out;
}
} // namespace

class TstRender : public QObject
{
    Q_OBJECT
private slots:
    void stretchHalvesX();
    void arrows_data();
    void arrows();
    void dimensions_data();
    void dimensions();
    void degenerateDimensionDrawsNothing();
    void arcs_data();
    void arcs();
    void collinearArcDrawsNothing();
    void textOnADimensionTakesItsLength_data();
    void textOnADimensionTakesItsLength();
    void archStaysOverFrameInAnyBox_data();
    void archStaysOverFrameInAnyBox();
    void textIsCentredOnItsPoint();
    void zeroSourceBoxDrawsNothing();
    void orderOfKindsAndTextsLeftOut();
    void gridDots();
    void picClearClearsAndDrawsGrid();
};

void TstRender::stretchHalvesX()
{
    CPictire pic;
    pic.AddLine({1000, 2000}, {3000, 4000});
    pic.AddRec({0, 0}, {9495, 7935});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 4747.5f, 7935);
    compareLines(s.lines(), {QLineF(500, 2000, 1500, 4000), QLineF(0, 0, 4747.5, 0), QLineF(4747.5, 0, 4747.5, 7935),
                             QLineF(4747.5, 7935, 0, 7935), QLineF(0, 7935, 0, 0)});

    // An offset target box moves every point.
    s.reset();
    CPictire one;
    one.AddLine({0, 0}, {9495, 7935});
    one.PrintPic(s, 0, 0, 9495, 7935, 100, 200, 1100, 1200);
    compareLines(s.lines(), {QLineF(100, 200, 1100, 1200)});
}

void TstRender::arrows_data()
{
    QTest::addColumn<QPointF>("tail");
    QTest::addColumn<QPointF>("head");
    QTest::addColumn<QList<QLineF>>("expected");
    QTest::newRow("horizontal") << QPointF(0, 0) << QPointF(800, 0)
                                << arrowLines({0, 0}, {800, 0}, {700, 56}, {700, -56}, {733.3333, 0});
    QTest::newRow("vertical") << QPointF(0, 0) << QPointF(0, 800)
                              << arrowLines({0, 0}, {0, 800}, {56, 700}, {-56, 700}, {0, 733.3333});
    QTest::newRow("diagonal counts as vertical")
        << QPointF(0, 0) << QPointF(800, 800) << arrowLines({0, 0}, {800, 800}, {756, 700}, {644, 700}, {733.3333, 733.3333});
    QTest::newRow("zero length") << QPointF(50, 50) << QPointF(50, 50)
                                 << arrowLines({50, 50}, {50, 50}, {106, 50}, {-6, 50}, {50, 50});
}

void TstRender::arrows()
{
    QFETCH(QPointF, tail);
    QFETCH(QPointF, head);
    QFETCH(QList<QLineF>, expected);
    CPictire pic;
    pic.AddDir({float(tail.x()), float(tail.y())}, {float(head.x()), float(head.y())});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    compareLines(s.lines(), expected);
}

void TstRender::dimensions_data()
{
    QTest::addColumn<QPointF>("p1");
    QTest::addColumn<QPointF>("p2");
    QTest::addColumn<QPointF>("p3");
    QTest::addColumn<QList<QLineF>>("expected");
    auto dim = [](QPointF d1, QPointF d2, QPointF o1, QPointF o2, QPointF p1, QPointF p2, QList<QLineF> arrows) {
        QList<QLineF> l{QLineF(d1, o1), QLineF(d2, o2), QLineF(d1, p1), QLineF(d2, p2)};
        return l + arrows;
    };
    QTest::newRow("horizontal, below")
        << QPointF(1000, 1000) << QPointF(3000, 1000) << QPointF(2000, 1500)
        << dim({1000, 1500}, {3000, 1500}, {1000, 1686}, {3000, 1686}, {1000, 1000}, {3000, 1000},
               arrowLines({1000, 1500}, {3000, 1500}, {2750, 1556}, {2750, 1444}, {2833.3333, 1500})
                   + arrowLines({3000, 1500}, {1000, 1500}, {1250, 1556}, {1250, 1444}, {1166.6667, 1500}));
    QTest::newRow("horizontal, above")
        << QPointF(1000, 1000) << QPointF(3000, 1000) << QPointF(2000, 500)
        << dim({1000, 500}, {3000, 500}, {1000, 314}, {3000, 314}, {1000, 1000}, {3000, 1000},
               arrowLines({1000, 500}, {3000, 500}, {2750, 556}, {2750, 444}, {2833.3333, 500})
                   + arrowLines({3000, 500}, {1000, 500}, {1250, 556}, {1250, 444}, {1166.6667, 500}));
    QTest::newRow("vertical, left")
        << QPointF(1000, 1000) << QPointF(1000, 3000) << QPointF(500, 2000)
        << dim({500, 1000}, {500, 3000}, {314, 1000}, {314, 3000}, {1000, 1000}, {1000, 3000},
               arrowLines({500, 1000}, {500, 3000}, {556, 2750}, {444, 2750}, {500, 2833.3333})
                   + arrowLines({500, 3000}, {500, 1000}, {556, 1250}, {444, 1250}, {500, 1166.6667}));
}

void TstRender::dimensions()
{
    QFETCH(QPointF, p1);
    QFETCH(QPointF, p2);
    QFETCH(QPointF, p3);
    QFETCH(QList<QLineF>, expected);
    CPictire pic;
    pic.AddDim({float(p1.x()), float(p1.y())}, {float(p2.x()), float(p2.y())}, {float(p3.x()), float(p3.y())});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    compareLines(s.lines(), expected);
}

void TstRender::degenerateDimensionDrawsNothing()
{
    CPictire pic;
    pic.AddDim({1000, 1000}, {1000, 1000}, {2000, 1500});
    pic.AddLine({0, 0}, {10, 10});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    compareLines(s.lines(), {QLineF(0, 0, 10, 10)});
}

void TstRender::arcs_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<QPointF>("direction");
    QTest::addColumn<QList<QLineF>>("expected");
    const double pi = std::numbers::pi;
    // The arc runs counter-clockwise from the smaller to the larger angle of the start and the
    // direction point; the end point, here below the centre and off the arc, only fixes the circle.
    QTest::newRow("upper half") << QPointF(1000, 0) << QPointF(0, 1000) << QPointF(-1000, 0)
                                << arcChords({0, 0}, 1000, 0, pi);
    QTest::newRow("start and direction exchanged") << QPointF(-1000, 0) << QPointF(0, 1000) << QPointF(1000, 0)
                                                   << arcChords({0, 0}, 1000, 0, pi);
    QTest::newRow("end point on the arc") << QPointF(1000, 0) << QPointF(0, -1000) << QPointF(-1000, 0)
                                          << arcChords({0, 0}, 1000, 0, pi);
    // A defining point straight above the centre: the arc is drawn all the same.
    QTest::newRow("start above centre") << QPointF(0, -1000) << QPointF(1000, 0) << QPointF(-1000, 0)
                                        << arcChords({0, 0}, 1000, pi / 2, pi);
    QTest::newRow("arched window head") << QPointF(1000, 2000) << QPointF(2000, 1000) << QPointF(3000, 2000)
                                        << arcChords({2000, 2000}, 1000, 0, pi);
    // Rising 1200 over a half width of 1000 puts the centre (2000, 1816.67) above the chord; the
    // rule then takes the short way below the centre, between the two ends.
    const QPointF tallCentre(2000, 4360000.0 / 2400);
    const double tall = std::atan2(2000 - tallCentre.y(), 1000);
    QTest::newRow("arch taller than a half circle")
        << QPointF(1000, 2000) << QPointF(2000, 800) << QPointF(3000, 2000)
        << arcChords(tallCentre, tallCentre.y() - 800, pi + tall, 2 * pi - tall);
    QTest::newRow("direction below centre") << QPointF(1000, 0) << QPointF(-1000, 0) << QPointF(0, 1000)
                                            << arcChords({0, 0}, 1000, 0, 3 * pi / 2);
}

void TstRender::arcs()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(QPointF, direction);
    QFETCH(QList<QLineF>, expected);
    CPictire pic;
    pic.AddArc({float(start.x()), float(start.y())}, {float(end.x()), float(end.y())},
               {float(direction.x()), float(direction.y())});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    compareLines(s.lines(), expected);
}

void TstRender::archStaysOverFrameInAnyBox_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<bool>("withTexts");
    // Stretched three times more vertically: the half circle becomes a tall arch in the box.
    QTest::newRow("tall box") << QRectF(0, 0, 949.5, 2380.5) << true;
    QTest::newRow("wide box") << QRectF(0, 0, 2848.5, 793.5) << true;
    // The component sheet's drawing box (5100 x 5000) and a square preview, without texts.
    QTest::newRow("component sheet box") << QRectF(0, 0, 5100, 5000) << false;
    QTest::newRow("square preview") << QRectF(200, 100, 1500, 1500) << false;
}

void TstRender::archStaysOverFrameInAnyBox()
{
    QFETCH(QRectF, box);
    QFETCH(bool, withTexts);
    // A window 2000 wide with a half-circle head on its frame top at Y = 2000.
    CPictire pic;
    pic.AddRec({1000, 2000}, {3000, 5000});
    pic.AddArc({1000, 2000}, {2000, 1000}, {3000, 2000});
    RecordingSurface s;
    const float l = float(box.left()), t = float(box.top()), r = float(box.right()), b = float(box.bottom());
    if (withTexts)
        pic.PrintPic(s, 0, 0, 9495, 7935, l, t, r, b);
    else
        pic.OutMCNoStr(s, 0, 0, 9495, 7935, l, t, r, b);
    const QList<QLineF> lines = s.lines();
    QCOMPARE(lines.size(), 4 + 15);
    const double top = lines[0].y1();
    QVERIFY(near(top, box.top() + 2000 * box.height() / 7935));
    const QList<QLineF> arc = lines.mid(4);
    const QPointF left(box.left() + 1000 * box.width() / 9495, top), right(box.left() + 3000 * box.width() / 9495, top);
    QVERIFY(near(arc.first().p1(), left) || near(arc.first().p1(), right));
    QVERIFY(near(arc.last().p2(), left) || near(arc.last().p2(), right));
    // The middle of the 15 chords is the head's crown: above the frame top, at the apex.
    const QPointF crown = arc[7].center();
    QVERIFY2(crown.y() < top, qPrintable(u"crown at %1, frame top at %2"_s.arg(crown.y()).arg(top)));
    QVERIFY(near(crown.x(), box.left() + 2000 * box.width() / 9495, 1));
    for (const QLineF &chord : arc)
        QVERIFY(chord.y2() <= top + 0.01);
    // The same arc as the editor draws, its points stretched into the box.
    RecordingSurface editor;
    pic.PrintPic(editor, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    const QList<QLineF> drawn = editor.lines().mid(4);
    QCOMPARE(drawn.size(), 15);
    const auto map = [&](QPointF p) {
        return QPointF(box.left() + p.x() * box.width() / 9495, box.top() + p.y() * box.height() / 7935);
    };
    for (qsizetype i = 0; i < 15; ++i)
        QVERIFY(near(arc[i].p1(), map(drawn[i].p1())) && near(arc[i].p2(), map(drawn[i].p2())));
}

void TstRender::textOnADimensionTakesItsLength_data()
{
    QTest::addColumn<QPointF>("anchor");
    QTest::addColumn<float>("length"); // -1: none
    // A width of 6000 with its line at Y = 400 and a height of 3000 with its line at X = 600.
    QTest::newRow("over the width's line") << QPointF(3900, 250) << 6000.0f;
    QTest::newRow("beside the height's line") << QPointF(250, 4000) << 3000.0f;
    QTest::newRow("nearer the height") << QPointF(700, 1100) << 3000.0f;
    QTest::newRow("beyond the line's end") << QPointF(7300, 400) << 6000.0f;
    QTest::newRow("too far from both") << QPointF(5000, 5000) << -1.0f;
}

void TstRender::textOnADimensionTakesItsLength()
{
    QFETCH(QPointF, anchor);
    QFETCH(float, length);
    DrawingLists l;
    l.DimArr[0] = {{1000, 500}, {7000, 500}, {4000, 400}};
    l.DimArr[1] = {{1000, 1000}, {1000, 4000}, {600, 2500}};
    l.DimArr[2] = {{2000, 2000}, {2000, 2000}, {2100, 2000}}; // measures nothing
    l.DimLast = 2;
    const std::optional<float> got = labelledLength(l, {float(anchor.x()), float(anchor.y())});
    if (length < 0)
        QVERIFY(!got);
    else
        QCOMPARE(got.value_or(-1), length);
}

void TstRender::collinearArcDrawsNothing()
{
    CPictire pic;
    pic.AddArc({1000, 2000}, {2000, 1000}, {3000, 0});
    pic.AddArc({500, 500}, {500, 500}, {500, 500});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    QCOMPARE(s.ops.size(), 0);
}

void TstRender::textIsCentredOnItsPoint()
{
    CPictire pic;
    pic.AddString({100, 100}, u"B"_s);
    RecordingSurface s(9495, 7935, 240);
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    const QList<SurfaceOp> t = s.texts();
    QCOMPARE(t.size(), 1);
    QCOMPARE(t[0].text, u"B"_s);
    QVERIFY(near(t[0].a, QPointF(100, -20)));

    // The font does not scale with the box: only the anchor moves.
    s.reset();
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 949.5f, 793.5f);
    QVERIFY(near(s.texts()[0].a, QPointF(10, 10 - 120)));
}

void TstRender::zeroSourceBoxDrawsNothing()
{
    CPictire pic;
    pic.AddLine({0, 0}, {10, 10});
    pic.AddString({5, 5}, u"x"_s);
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 0, 7935, 0, 0, 9495, 7935);
    pic.PrintPic(s, 0, 100, 9495, 100, 0, 0, 9495, 7935);
    QCOMPARE(s.ops.size(), 0);
}

void TstRender::orderOfKindsAndTextsLeftOut()
{
    CPictire pic;
    pic.AddArc({1000, 0}, {0, 1000}, {-1000, 0});
    pic.AddString({10, 10}, u"W"_s);
    pic.AddDim({1000, 1000}, {3000, 1000}, {2000, 1500});
    pic.AddDir({0, 0}, {800, 0});
    pic.AddRec({0, 0}, {10, 10});
    pic.AddLine({0, 0}, {1, 1});
    RecordingSurface s;
    pic.PrintPic(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    // line 1, rectangle 4, arrow 5, dimension 14, then the text, then the arc's 15 chords.
    QCOMPARE(s.ops.size(), 1 + 4 + 5 + 14 + 1 + 15);
    QCOMPARE(s.ops[0].b, QPointF(1, 1));
    QCOMPARE(s.ops[24].kind, SurfaceOp::Text);
    QCOMPARE(s.ops[25].a, QPointF(1000, 0));

    s.reset();
    pic.OutMCNoStr(s, 0, 0, 9495, 7935, 0, 0, 9495, 7935);
    QCOMPARE(s.ops.size(), 1 + 4 + 5 + 14 + 15);
    QCOMPARE(s.count(SurfaceOp::Text), 0);
}

void TstRender::gridDots()
{
    RecordingSurface box(9600, 7680);
    box.setPersistent(false);
    CPictire pic;
    pic.SetPicture(&box);
    pic.Draw_Gird(80, 64);
    const QList<QPointF> dots = box.points();
    QCOMPARE(dots.size(), 81 * 65);
    QCOMPARE(dots[0], QPointF(0, 0));
    QCOMPARE(dots[1], QPointF(0, 120));
    QCOMPARE(dots[65], QPointF(120, 0));
    QCOMPARE(dots.last(), QPointF(9600, 7680));
    QVERIFY(box.ops.constFirst().persistent);

    // Without a picture box nothing happens.
    CPictire none;
    none.Draw_Gird(80, 64);
}

void TstRender::picClearClearsAndDrawsGrid()
{
    RecordingSurface box(9600, 7680);
    CPictire pic;
    pic.SetPicture(&box);
    pic.AddLine({0, 0}, {1, 1});
    pic.PicClear();
    QVERIFY(pic.isEmpty());
    QCOMPARE(box.ops.constFirst().kind, SurfaceOp::Clear);
    QCOMPARE(box.count(SurfaceOp::Point), 81 * 65);
    QCOMPARE(box.count(SurfaceOp::Line), 0);
}

QTEST_GUILESS_MAIN(TstRender)
#include "tst_render.moc"
