// Output of drawings outside the editor: a library drawing read whole and rendered into a box, and
// the drawing printed alone.
#include "../app/fixture.h"
#include "drawingtest.h"

#include "drawing/ui/showpicture.h"
#include "platform/surface_recording.h"

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::near;
using platform::RecordingSurface;
using platform::SurfaceOp;

class TstPrinting : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void libraryDrawingIntoABox_data();
    void libraryDrawingIntoABox();
    void unreadableLibraryDrawing_data();
    void unreadableLibraryDrawing();
    void drawingAlone();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstPrinting::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    drawing::ui::installNotices();
    CPictire pic;
    pic.AddLine({0, 0}, {9495, 7935});
    pic.AddString({4000, 100}, u"B"_s);
    QVERIFY(pic.SaveFileEx(u"1"_s));
}

void TstPrinting::libraryDrawingIntoABox_data()
{
    QTest::addColumn<bool>("withTexts");
    QTest::newRow("without texts") << false;
    QTest::newRow("with texts") << true;
}

// Rendered after it was read, the drawing is stretched from the whole area into the box.
void TstPrinting::libraryDrawingIntoABox()
{
    QFETCH(bool, withTexts);
    const std::shared_ptr<const DrawingLists> drawing = loadLibraryDrawing(u"1"_s);
    QVERIFY(drawing);
    QCOMPARE(drawing->LineLast, qint16(0));
    QCOMPARE(drawing->StringLast, qint16(0));
    RecordingSurface s(11000, 15000);
    renderDrawing(s, *drawing, 0, 500, 5000, 4917, withTexts);
    QCOMPARE(s.lines().size(), 1);
    QVERIFY(near(s.lines()[0].p1(), {0, 500}) && near(s.lines()[0].p2(), {5000, 4917}));
    QCOMPARE(s.texts().size(), withTexts ? 1 : 0);
    if (withTexts)
        QVERIFY(near(s.texts()[0].a, QPointF(4000 * 5000.0 / 9495, 100 * 4417.0 / 7935 + 500 - 120)));

    // A number the library does not hold is an empty drawing.
    const auto missing = loadLibraryDrawing(u"77"_s);
    QVERIFY(missing);
    QCOMPARE(missing->LineLast, qint16(-1));
}

void TstPrinting::unreadableLibraryDrawing_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("dropped"); // a table of the library removed first
    QTest::newRow("not a number") << u"not a number"_s << QString();
    QTest::newRow("table missing") << u"1"_s << u"Arc"_s;
}

void TstPrinting::unreadableLibraryDrawing()
{
    QFETCH(QString, number);
    QFETCH(QString, dropped);
    if (!dropped.isEmpty())
        QVERIFY(testfixture::exec(app::mainDb(), u"DROP TABLE \"%1\""_s.arg(dropped)));
    QString error;
    QVERIFY(!loadLibraryDrawing(number, &error));
    QVERIFY(!error.isEmpty());
}

void TstPrinting::drawingAlone()
{
    RecordingSurface s;
    CPictire empty;
    QVERIFY(!empty.PrintPicture(s));
    QVERIFY(s.ops.isEmpty());
    QCOMPARE(m_fx->msgs->lastText(), u"图形为空!"_s);
    QCOMPARE(m_fx->msgs->shown.constLast().title, u"#Error"_s);
    QCOMPARE(m_fx->msgs->shown.constLast().icon, platform::MsgIcon::Question);

    CPictire arcs;
    arcs.AddArc({1000, 0}, {0, -1000}, {-1000, 0});
    QVERIFY(arcs.PrintPicture(s));
    QCOMPARE(s.lines().size(), 15);
    QVERIFY(near(s.lines().constFirst().p1(), {1000, 0}));
    QCOMPARE(s.ops.constLast().kind, SurfaceOp::EndDocument);
}

QTEST_MAIN(TstPrinting)
#include "tst_printing.moc"
