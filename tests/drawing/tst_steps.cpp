// The interactive commands driven through their messages on the recording surface: the prompts,
// the rubber band on the temporary layer, the figure kept on the persistent layer and the entity
// committed to the model.
#include "drawingtest.h"

#include "platform/surface_recording.h"

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::near;
using platform::RecordingSurface;
using platform::SurfaceOp;

namespace {

// An engine on a recording box with its prompts and a text dialog that answers `typed`.
struct Bench
{
    RecordingSurface surf;
    CPictire pic;
    QStringList prompts;
    int dialogs = 0;
    QString typed;

    Bench()
    {
        pic.SetPicture(&surf);
        pic.SetStatu([this](const QString &t) { prompts << t; });
        pic.SetTextForm([this] {
            ++dialogs;
            return typed;
        });
    }
    void step(const QString &command, int msg, QPointF p)
    {
        QVERIFY(pic.StepCommand(command, msg, float(p.x()), float(p.y())));
    }
    qsizetype mark() const { return surf.ops.size(); }
    QList<SurfaceOp> since(qsizetype m) const { return surf.ops.mid(m); }
    bool idle() const { return pic.StepNo == 0 && pic.GetCurDraw().isEmpty() && !pic.Rubber; }
};

// Figures only, without their layer, to compare a rubber band with the figure kept.
QList<QLineF> shapes(const QList<SurfaceOp> &ops, int kind)
{
    QList<QLineF> out;
    for (const SurfaceOp &op : ops)
        if (op.kind == kind)
            out << QLineF(op.a, op.b);
    return out;
}

bool allOnLayer(const QList<SurfaceOp> &ops, bool persistent)
{
    for (const SurfaceOp &op : ops)
        if (op.kind != SurfaceOp::Refresh && op.kind != SurfaceOp::Clear && op.persistent != persistent)
            return false;
    return true;
}

bool drawsAnything(const QList<SurfaceOp> &ops)
{
    for (const SurfaceOp &op : ops)
        if (op.kind == SurfaceOp::Line || op.kind == SurfaceOp::Box || op.kind == SurfaceOp::Text
            || op.kind == SurfaceOp::Point)
            return true;
    return false;
}

ThreePoints entity(const CPictire &pic, Kind kind, int i)
{
    const DrawingLists &l = pic.lists();
    switch (kind) {
    case Kind::Line: return {l.LineArr[size_t(i)].P1, l.LineArr[size_t(i)].P2, {}};
    case Kind::Rec: return {l.RecArr[size_t(i)].P1, l.RecArr[size_t(i)].P2, {}};
    case Kind::Dir: return {l.DirArr[size_t(i)].P1, l.DirArr[size_t(i)].P2, {}};
    case Kind::Dim: return l.DimArr[size_t(i)];
    case Kind::Arc: return l.ArcArr[size_t(i)];
    case Kind::String: return {l.StringArr[size_t(i)].P1, {}, {}};
    }
    return {};
}

DrawPoint dp(QPointF p) { return {float(p.x()), float(p.y())}; }

} // namespace

class TstSteps : public QObject
{
    Q_OBJECT
private slots:
    void commandRunsItsCourse_data();
    void commandRunsItsCourse();
    void lineChainsUntilEnded();
    void endDropsCollectedPoints_data();
    void endDropsCollectedPoints();
    void textTakesTheDialogText();
    void textDialogCancelledAddsNothing();
    void windowDeleteRemovesAndRedraws();
    void sharedStepCounter();
    void fullListStillDrawsTheFigure_data();
    void fullListStillDrawsTheFigure();
    void collinearArcIsKeptButNotDrawn();
    void stepCommandKnowsTheSevenNames();
};

// Start, then every point: a mouse move to the point first (a rubber band only from the step in
// which the command shows one), then the click. The band at the last point is the figure kept.
void TstSteps::commandRunsItsCourse_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<int>("rubberFrom"); // index of the first point awaited with a band
    QTest::addColumn<int>("figure");     // SurfaceOp kind of the figure
    QTest::addColumn<QStringList>("prompts");

    const QPointF a(1000, 2000), b(3000, 2500), c(2000, 3500);
    QTest::newRow("line") << u"Line"_s << int(Kind::Line) << QList<QPointF>{a, b} << 1 << int(SurfaceOp::Line)
                          << QStringList{u"请输入第一点"_s, u"请输入下一点"_s, u""_s};
    QTest::newRow("rectangle") << u"Rec"_s << int(Kind::Rec) << QList<QPointF>{a, b} << 1 << int(SurfaceOp::Box)
                               << QStringList{u"请输入第一角点"_s, u"请输入下一角点"_s, u""_s};
    QTest::newRow("arrow") << u"Dir"_s << int(Kind::Dir) << QList<QPointF>{a, b} << 1 << int(SurfaceOp::Line)
                           << QStringList{u"请输入第一点"_s, u"请输入下一点"_s, u""_s};
    QTest::newRow("dimension") << u"Dim"_s << int(Kind::Dim) << QList<QPointF>{a, b, c} << 2
                               << int(SurfaceOp::Line)
                               << QStringList{u"请输入标注起点"_s, u"请输入标注终点"_s, u"请输入标注宽点"_s, u""_s};
    QTest::newRow("arc") << u"Arc"_s << int(Kind::Arc) << QList<QPointF>{a, b, c} << 2 << int(SurfaceOp::Line)
                         << QStringList{u"请输入弧的起点坐标"_s, u"请输入弧的端点坐标"_s, u"请输入弧的方向坐标"_s,
                                        u""_s};
}

void TstSteps::commandRunsItsCourse()
{
    QFETCH(QString, command);
    QFETCH(int, kind);
    QFETCH(QList<QPointF>, points);
    QFETCH(int, rubberFrom);
    QFETCH(int, figure);
    QFETCH(QStringList, prompts);

    Bench b;
    b.step(command, 0, {77, 88}); // the start's point is ignored
    QCOMPARE(b.pic.GetCurDraw(), command);
    QCOMPARE(b.pic.StepNo, qint16(1));
    QVERIFY(!drawsAnything(b.surf.ops));

    QList<QLineF> band;
    for (int i = 0; i < points.size(); ++i) {
        // A move elsewhere, then onto the point: each band wipes the one before.
        qsizetype m = b.mark();
        b.step(command, 2, points[i] + QPointF(400, 300));
        b.step(command, 2, points[i]);
        const QList<SurfaceOp> moved = b.since(m);
        if (i < rubberFrom) {
            QVERIFY2(moved.isEmpty(), qPrintable(u"no band before point %1"_s.arg(i)));
        } else {
            QVERIFY(!moved.isEmpty());
            QCOMPARE(moved.first().kind, SurfaceOp::Refresh);
            QVERIFY(allOnLayer(moved, false));
            const qsizetype second = std::find_if(moved.begin() + 1, moved.end(),
                                                  [](const SurfaceOp &op) { return op.kind == SurfaceOp::Refresh; })
                                   - moved.begin();
            QVERIFY(second < moved.size());
            band = shapes(moved.mid(second), figure);
            QVERIFY(!band.isEmpty());
        }
        m = b.mark();
        b.step(command, 0, points[i]);
        if (i == points.size() - 1) {
            const QList<SurfaceOp> kept = b.since(m);
            const qsizetype end = std::find_if(kept.begin(), kept.end(),
                                               [](const SurfaceOp &op) { return op.kind == SurfaceOp::Refresh; })
                                - kept.begin();
            QVERIFY(allOnLayer(kept.mid(0, end), true));
            QCOMPARE(shapes(kept.mid(0, end), figure), band);
        } else {
            QVERIFY(!drawsAnything(b.since(m)));
        }
    }
    if (command == u"Line") {
        QVERIFY(!b.idle()); // a line chain goes on until ended
        b.step(command, 1, {});
    }
    QVERIFY(b.idle());
    QCOMPARE(b.surf.ops.constLast().kind, SurfaceOp::Refresh);
    QCOMPARE(b.prompts, prompts);

    QCOMPARE(b.pic.last(Kind(kind)), qint16(0));
    const ThreePoints e = entity(b.pic, Kind(kind), 0);
    QCOMPARE(e.P1, dp(points[0]));
    QCOMPARE(e.P2, dp(points[1]));
    if (points.size() == 3)
        QCOMPARE(e.P3, dp(points[2]));
    int entities = 0;
    for (Kind k : {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        entities += b.pic.last(k) + 1;
    QCOMPARE(entities, 1);
}

void TstSteps::lineChainsUntilEnded()
{
    Bench b;
    const QPointF p0(100, 100), p1(900, 100), p2(900, 700);
    b.step(u"Line"_s, 0, {});
    b.step(u"Line"_s, 0, p0);
    b.step(u"Line"_s, 0, p1);
    QCOMPARE(b.pic.StepNo, qint16(3));
    // The band now starts at the last point.
    qsizetype m = b.mark();
    b.step(u"Line"_s, 2, {500, 500});
    QCOMPARE(shapes(b.since(m), SurfaceOp::Line), QList<QLineF>{QLineF(p1, QPointF(500, 500))});
    b.step(u"Line"_s, 0, p2);
    QCOMPARE(b.pic.StepNo, qint16(4));
    b.step(u"Line"_s, 1, {5, 5});
    QVERIFY(b.idle());
    QCOMPARE(b.pic.last(Kind::Line), qint16(1));
    QCOMPARE(entity(b.pic, Kind::Line, 0).P1, dp(p0));
    QCOMPARE(entity(b.pic, Kind::Line, 0).P2, dp(p1));
    QCOMPARE(entity(b.pic, Kind::Line, 1).P1, dp(p1));
    QCOMPARE(entity(b.pic, Kind::Line, 1).P2, dp(p2));
    // Ended, moves draw nothing.
    m = b.mark();
    b.step(u"Line"_s, 2, {300, 300});
    QVERIFY(b.since(m).isEmpty());
}

void TstSteps::endDropsCollectedPoints_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("points"); // collected before the end
    QTest::newRow("line after its first point") << u"Line"_s << 1;
    QTest::newRow("rectangle after its first corner") << u"Rec"_s << 1;
    QTest::newRow("arrow after its tail") << u"Dir"_s << 1;
    QTest::newRow("dimension awaiting its offset") << u"Dim"_s << 2;
    QTest::newRow("arc awaiting its direction") << u"Arc"_s << 2;
    QTest::newRow("delete after its first corner") << u"Del"_s << 1;
    QTest::newRow("text awaiting its point") << u"String"_s << 0;
    QTest::newRow("command just started") << u"Rec"_s << 0;
}

void TstSteps::endDropsCollectedPoints()
{
    QFETCH(QString, command);
    QFETCH(int, points);
    Bench b;
    b.step(command, 0, {});
    for (int i = 0; i < points; ++i)
        b.step(command, 0, {1000.0 + 500 * i, 1000.0 + 300 * i});
    b.step(command, 2, {2500, 2500});
    b.step(command, 1, {3000, 3000});
    QVERIFY(b.idle());
    QCOMPARE(b.surf.ops.constLast().kind, SurfaceOp::Refresh); // the band is wiped
    QCOMPARE(b.prompts.constLast(), QString());
    QCOMPARE(b.surf.lineStyle(), platform::LineStyle::Solid);
    QVERIFY(b.pic.isEmpty());
    QCOMPARE(b.dialogs, 0);
    QVERIFY(!drawsAnything(b.surf.ops) || allOnLayer(b.surf.ops, false)); // nothing kept
}

void TstSteps::textTakesTheDialogText()
{
    Bench b;
    b.typed = u"KH1"_s;
    b.step(u"String"_s, 0, {});
    QCOMPARE(b.prompts, QStringList{u"输入文字中心坐标"_s});
    qsizetype m = b.mark();
    b.step(u"String"_s, 2, {400, 400}); // no band for a text
    QVERIFY(b.since(m).isEmpty());
    m = b.mark();
    b.step(u"String"_s, 0, {1200, 960});
    QCOMPARE(b.dialogs, 1);
    QCOMPARE(b.prompts, (QStringList{u"输入文字中心坐标"_s, u"输入文本"_s, u""_s}));
    QVERIFY(b.idle());
    const QList<SurfaceOp> texts = b.surf.texts();
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].text, u"KH1"_s);
    QVERIFY(texts[0].persistent);
    QVERIFY(near(texts[0].a, {1200, 960 - 120})); // starts at its point, centred on it vertically
    QCOMPARE(b.pic.GetStringCount(), qint16(0));
    QCOMPARE(b.pic.lists().StringArr[0], (TextEntity{{1200, 960}, u"KH1"_s}));
}

void TstSteps::textDialogCancelledAddsNothing()
{
    Bench b;
    b.typed.clear();
    b.step(u"String"_s, 0, {});
    b.step(u"String"_s, 0, {500, 500});
    QCOMPARE(b.dialogs, 1);
    QVERIFY(b.idle());
    QCOMPARE(b.pic.GetStringCount(), qint16(-1));
    QVERIFY(b.surf.texts().isEmpty());

    // Without a dialog at all, the same.
    b.pic.SetTextForm({});
    b.step(u"String"_s, 0, {});
    b.step(u"String"_s, 0, {500, 500});
    QVERIFY(b.idle());
    QCOMPARE(b.pic.GetStringCount(), qint16(-1));
}

void TstSteps::windowDeleteRemovesAndRedraws()
{
    Bench b;
    b.pic.AddLine({0, 1000}, {6000, 1000});  // long line: the window touches its middle only
    b.pic.AddLine({500, 2000}, {2500, 2000}); // one end inside
    b.pic.AddRec({4000, 4000}, {5000, 5000}); // outside
    b.pic.AddString({2000, 1500}, u"B"_s);   // inside
    b.pic.AddArc({1000, 3000}, {3000, 3000}, {2000, 2000}); // a point on the window's edge

    b.step(u"Del"_s, 0, {});
    b.step(u"Del"_s, 0, {3000, 2000}); // corners bottom-right first
    QCOMPARE(b.surf.lineStyle(), platform::LineStyle::Dash);
    qsizetype m = b.mark();
    b.step(u"Del"_s, 2, {1500, 500});
    QList<SurfaceOp> band = b.since(m);
    QCOMPARE(band.first().kind, SurfaceOp::Refresh);
    QCOMPARE(band.size(), 2);
    QCOMPARE(band[1].kind, SurfaceOp::Box);
    QVERIFY(!band[1].persistent);
    QCOMPARE(band[1].style, platform::LineStyle::Dash);

    m = b.mark();
    b.step(u"Del"_s, 0, {1500, 500});
    QVERIFY(b.idle());
    QCOMPARE(b.prompts, (QStringList{u"请输入第一角点"_s, u"请输入下一角点"_s, u""_s}));
    QCOMPARE(b.surf.lineStyle(), platform::LineStyle::Solid);

    QCOMPARE(b.pic.last(Kind::Line), qint16(0));
    QCOMPARE(b.pic.lists().LineArr[0], (TwoPoints{{0, 1000}, {6000, 1000}}));
    QCOMPARE(b.pic.last(Kind::Rec), qint16(0));
    QCOMPARE(b.pic.GetStringCount(), qint16(-1));
    QCOMPARE(b.pic.last(Kind::Arc), qint16(-1));

    // The dashed window, then a cleared box with what is left and the grid.
    const QList<SurfaceOp> ops = b.since(m);
    QCOMPARE(ops[0].kind, SurfaceOp::Box);
    QCOMPARE(ops[0].style, platform::LineStyle::Dash);
    const qsizetype clear = std::find_if(ops.begin(), ops.end(),
                                         [](const SurfaceOp &op) { return op.kind == SurfaceOp::Clear; })
                          - ops.begin();
    QVERIFY(clear < ops.size());
    const QList<SurfaceOp> after = ops.mid(clear + 1);
    QVERIFY(allOnLayer(after, true));
    for (const SurfaceOp &op : after)
        QCOMPARE(op.style, platform::LineStyle::Solid);
    QCOMPARE(shapes(after, SurfaceOp::Line).size(), 1 + 4); // the long line and the rectangle's edges
    QCOMPARE(shapes(after, SurfaceOp::Point).size(), 81 * 65);
}

void TstSteps::sharedStepCounter()
{
    // A rectangle start sent while a line awaits its second point closes a rectangle from the
    // line's first point and ends everything.
    {
        Bench b;
        b.step(u"Line"_s, 0, {});
        b.step(u"Line"_s, 0, {100, 200});
        b.step(u"Rec"_s, 0, {0, 0});
        QVERIFY(b.idle());
        QCOMPARE(b.pic.last(Kind::Line), qint16(-1));
        QCOMPARE(b.pic.lists().RecArr[0], (TwoPoints{{100, 200}, {0, 0}}));
    }
    // Once the line has drawn a segment (step 3), a rectangle start does nothing.
    {
        Bench b;
        b.step(u"Line"_s, 0, {});
        b.step(u"Line"_s, 0, {100, 200});
        b.step(u"Line"_s, 0, {300, 200});
        const qsizetype m = b.mark();
        b.step(u"Rec"_s, 0, {0, 0});
        QCOMPARE(b.pic.GetCurDraw(), u"Line"_s);
        QCOMPARE(b.pic.StepNo, qint16(3));
        QCOMPARE(b.pic.last(Kind::Rec), qint16(-1));
        QVERIFY(!drawsAnything(b.since(m)));
    }
}

void TstSteps::fullListStillDrawsTheFigure_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::newRow("line") << u"Line"_s << int(Kind::Line);
    QTest::newRow("arrow") << u"Dir"_s << int(Kind::Dir);
    QTest::newRow("rectangle") << u"Rec"_s << int(Kind::Rec);
}

void TstSteps::fullListStillDrawsTheFigure()
{
    QFETCH(QString, command);
    QFETCH(int, kind);
    drawingtest::Notices notices;
    Bench b;
    for (int i = 0; i < kCapacity; ++i)
        QVERIFY(b.pic.append(Kind(kind), {{float(i), 0}, {float(i), 10}, {}}));
    b.step(command, 0, {});
    b.step(command, 0, {1000, 1000});
    const qsizetype m = b.mark();
    b.step(command, 0, {2000, 1500});
    QCOMPARE(notices.count(kCapacityText), 1);
    QCOMPARE(b.pic.last(Kind(kind)), qint16(kCapacity - 1));
    // Drawn and kept on screen all the same, though not in the model.
    const QList<SurfaceOp> ops = b.since(m);
    const auto first = std::find_if(ops.begin(), ops.end(), [](const SurfaceOp &op) {
        return op.kind == SurfaceOp::Line || op.kind == SurfaceOp::Box;
    });
    QVERIFY(first != ops.end());
    QVERIFY(first->persistent);
    QCOMPARE(QLineF(first->a, first->b), QLineF(1000, 1000, 2000, 1500));
}

void TstSteps::collinearArcIsKeptButNotDrawn()
{
    Bench b;
    b.step(u"Arc"_s, 0, {});
    b.step(u"Arc"_s, 0, {1000, 2000});
    b.step(u"Arc"_s, 0, {2000, 1000});
    const qsizetype m = b.mark();
    b.step(u"Arc"_s, 0, {3000, 0});
    QVERIFY(!drawsAnything(b.since(m)));
    QCOMPARE(b.pic.lists().ArcArr[0], (ThreePoints{{1000, 2000}, {2000, 1000}, {3000, 0}}));
    QVERIFY(b.idle());
}

void TstSteps::stepCommandKnowsTheSevenNames()
{
    Bench b;
    for (const QString &name : {u"Line"_s, u"Rec"_s, u"Dir"_s, u"Dim"_s, u"String"_s, u"Del"_s, u"Arc"_s}) {
        QVERIFY(b.pic.StepCommand(name, 0, 0, 0));
        QCOMPARE(b.pic.GetCurDraw(), name);
        QVERIFY(b.pic.StepCommand(name, 1, 0, 0));
        QVERIFY(b.idle());
    }
    QVERIFY(!b.pic.StepCommand(u"line"_s, 0, 0, 0));
    QVERIFY(!b.pic.StepCommand(QString(), 0, 0, 0));
    QVERIFY(b.idle());
}

QTEST_GUILESS_MAIN(TstSteps)
#include "tst_steps.moc"
