// The editor's command line, grid snapping and pointer readout, without the window.
#include "drawingtest.h"

#include "drawing/editor.h"

using namespace Qt::StringLiterals;
using namespace drawing;

Q_DECLARE_METATYPE(drawing::EditorCommand)

namespace {
// The editor's box: the whole drawing area.
const GridStep kStep = gridStep(kAreaWidth, kAreaHeight);
const float sx = 9495.0f / 80, sy = 7935.0f / 64;
} // namespace

class TstCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void gridOfTheDrawingArea();
    void words_data();
    void words();
    void points_data();
    void points();
    void ignored_data();
    void ignored();
    void snapping_data();
    void snapping();
    void readout_data();
    void readout();
};

void TstCommandLine::gridOfTheDrawingArea()
{
    QCOMPARE(kStep.sx, 118.6875f);
    QCOMPARE(kStep.sy, 123.984375f);
}

void TstCommandLine::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<EditorCommand>("command");
    const struct
    {
        const char16_t *text;
        EditorCommand command;
    } rows[] = {
        {u"L", EditorCommand::Line},     {u"l", EditorCommand::Line},
        {u"  l  ", EditorCommand::Line}, {u"R", EditorCommand::Rec},
        {u"r", EditorCommand::Rec},      {u"D", EditorCommand::Dim},
        {u"A", EditorCommand::Dir},      {u"t", EditorCommand::String},
        {u"E", EditorCommand::Del},      {u"c", EditorCommand::Refresh},
        {u"REDRAW", EditorCommand::Redraw}, {u"Redraw", EditorCommand::Redraw},
        {u"open", EditorCommand::OpenLibrary}, {u"Save", EditorCommand::SaveLibrary},
        {u"PRINT", EditorCommand::Print}, {u"q", EditorCommand::Quit},
        {u"ESC", EditorCommand::Escape}, {u"esc", EditorCommand::Escape},
    };
    for (const auto &r : rows)
        QTest::addRow("%s", qPrintable(QString::fromUtf16(r.text))) << QString::fromUtf16(r.text) << r.command;
}

void TstCommandLine::words()
{
    QFETCH(QString, text);
    QFETCH(EditorCommand, command);
    const CommandInput in = parseCommandLine(text, {100, 200}, kStep);
    QCOMPARE(in.kind, CommandInput::Kind::Command);
    QCOMPARE(in.command, command);
}

void TstCommandLine::points_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPointF>("last");
    QTest::addColumn<QPointF>("expected");
    QTest::addColumn<double>("tolerance"); // 0: exact

    const QPointF last(100, 200);
    QTest::newRow("absolute") << u"10,20"_s << last << QPointF(10 * sx, 20 * sy) << 0.0;
    QTest::newRow("absolute with blanks") << u" 10 , 20 "_s << last << QPointF(10 * sx, 20 * sy) << 0.0;
    QTest::newRow("absolute fractions") << u"2.5,0.5"_s << last << QPointF(2.5 * sx, 0.5 * sy) << 0.0;
    QTest::newRow("absolute third number ignored") << u"10,20,30"_s << last << QPointF(10 * sx, 20 * sy) << 0.0;
    QTest::newRow("absolute without numbers") << u"x,y"_s << last << QPointF(0, 0) << 0.0;
    QTest::newRow("relative") << u"@5,-2"_s << last << QPointF(100 + 5 * sx, 200 - 2 * sy) << 0.0;
    QTest::newRow("relative empty") << u"@,"_s << last << last << 0.0;
    QTest::newRow("relative before polar") << u"@1,2<90"_s << last << QPointF(100 + sx, 200 + 2 * sy) << 0.0;
    // True pi: straight up moves no X at all (with 3.14 it would move about 0.4).
    QTest::newRow("polar up") << u"@4<90"_s << last << QPointF(100, 200 - 4 * sy) << 0.0;
    QTest::newRow("polar right") << u"@4<0"_s << last << QPointF(100 + 4 * sx, 200) << 0.0;
    QTest::newRow("polar left") << u"@2<180"_s << last << QPointF(100 - 2 * sx, 200) << 0.0;
    QTest::newRow("polar down") << u"@3<270"_s << last << QPointF(100, 200 + 3 * sy) << 0.0;
    QTest::newRow("polar 45") << u"@2<45"_s << last
                              << QPointF(100 + std::sqrt(2.0) * sx, 200 - std::sqrt(2.0) * sy) << 0.001;
    QTest::newRow("polar with blanks") << u"@ 4 < 90 "_s << last << QPointF(100, 200 - 4 * sy) << 0.0;
}

void TstCommandLine::points()
{
    QFETCH(QString, text);
    QFETCH(QPointF, last);
    QFETCH(QPointF, expected);
    QFETCH(double, tolerance);
    const CommandInput in = parseCommandLine(text, {float(last.x()), float(last.y())}, kStep);
    QCOMPARE(in.kind, CommandInput::Kind::Point);
    if (tolerance == 0) {
        QCOMPARE(in.point.X, float(expected.x()));
        QCOMPARE(in.point.Y, float(expected.y()));
    } else {
        QVERIFY2(drawingtest::near(QPointF(in.point.X, in.point.Y), expected, tolerance),
                 qPrintable(u"%1, %2"_s.arg(in.point.X).arg(in.point.Y)));
    }
}

void TstCommandLine::ignored_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << u"   "_s;
    QTest::newRow("unknown word") << u"X"_s;
    QTest::newRow("word not whole") << u"LINE"_s;
    QTest::newRow("words joined") << u"L R"_s;
    QTest::newRow("one number") << u"12"_s;
    QTest::newRow("marker alone") << u"@"_s;
    QTest::newRow("marker and number") << u"@5"_s;
    QTest::newRow("angle without marker") << u"4<90"_s;
    QTest::newRow("number too large") << u"1E40,1"_s;
}

void TstCommandLine::ignored()
{
    QFETCH(QString, text);
    QCOMPARE(parseCommandLine(text, {100, 200}, kStep).kind, CommandInput::Kind::Nothing);
}

void TstCommandLine::snapping_data()
{
    QTest::addColumn<QPointF>("in");
    QTest::addColumn<QPointF>("out");
    QTest::newRow("origin") << QPointF(0, 0) << QPointF(0, 0);
    QTest::newRow("on a dot") << QPointF(sx, sy) << QPointF(sx, sy);
    QTest::newRow("just before a dot") << QPointF(sx - 0.01, sy - 0.01) << QPointF(0, 0);
    QTest::newRow("truncates, not rounds") << QPointF(2.9 * sx, 3.9 * sy) << QPointF(2 * sx, 3 * sy);
    QTest::newRow("far corner") << QPointF(9495, 7935) << QPointF(80 * sx, 64 * sy);
    QTest::newRow("negative towards zero") << QPointF(-1.5 * sx, -10) << QPointF(-sx, 0);
}

void TstCommandLine::snapping()
{
    QFETCH(QPointF, in);
    QFETCH(QPointF, out);
    const DrawPoint p = snapToGrid({float(in.x()), float(in.y())}, kStep);
    QCOMPARE(p.X, float(out.x()));
    QCOMPARE(p.Y, float(out.y()));
}

void TstCommandLine::readout_data()
{
    QTest::addColumn<QPointF>("p");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << QPointF(1200, 960) << u" 1200, 960"_s;
    QTest::newRow("grid point") << QPointF(118.6875, 247.96875) << u" 118.6875, 247.9688"_s;
    QTest::newRow("negative and zero") << QPointF(-37.5, 0) << u"-37.5, 0"_s;
}

void TstCommandLine::readout()
{
    QFETCH(QPointF, p);
    QFETCH(QString, text);
    QCOMPARE(coordinateText({float(p.x()), float(p.y())}), text);
}

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_commandline.moc"
