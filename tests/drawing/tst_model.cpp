// The entity lists: appends up to the capacity, removal by moving the last entry, deletion inside a
// window, emptying and the label accessors.
#include "drawingtest.h"

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::Notices;

class TstModel : public QObject
{
    Q_OBJECT
private slots:
    void newEngineIsEmpty();
    void capacityPerKind_data();
    void capacityPerKind();
    void removeMovesLastIntoGap();
    void removeLastOnlyShrinks();
    void pointInWindowNormalisesCorners_data();
    void pointInWindowNormalisesCorners();
    void deleteInWindowByDefiningPoints();
    void deleteEverythingWithConsecutiveHits();
    void clearDataEmptiesAllKinds();
    void getStringsCopiesEveryText();
    void numbers_data();
    void numbers();
};

void TstModel::newEngineIsEmpty()
{
    CPictire pic;
    QCOMPARE(pic.GetStringCount(), qint16(-1));
    QList<float> x{1}, y{2};
    QStringList s{u"stale"_s};
    pic.GetStrings(x, y, s);
    QVERIFY(x.isEmpty() && y.isEmpty() && s.isEmpty());
    QVERIFY(pic.isEmpty());
    QCOMPARE(pic.GetCurDraw(), QString());
    QCOMPARE(pic.StepNo, qint16(0));
    QCOMPARE(pic.CurX, 1.0f);
}

void TstModel::capacityPerKind_data()
{
    QTest::addColumn<int>("kind");
    for (Kind k : {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        QTest::newRow(QByteArray::number(int(k)).constData()) << int(k);
}

void TstModel::capacityPerKind()
{
    QFETCH(int, kind);
    const Kind k = Kind(kind);
    Notices notices;
    CPictire pic;
    auto add = [&](float v) {
        const DrawPoint a{v, v}, b{v + 1, v}, c{v, v + 1};
        switch (k) {
        case Kind::Line: return pic.AddLine(a, b);
        case Kind::Rec: return pic.AddRec(a, b);
        case Kind::Dir: return pic.AddDir(a, b);
        case Kind::Dim: return pic.AddDim(a, b, c);
        case Kind::String: return pic.AddString(a, u"t"_s);
        case Kind::Arc: return pic.AddArc(a, b, c);
        }
        return false;
    };
    for (int i = 0; i < kCapacity; ++i)
        QVERIFY(add(float(i)));
    QCOMPARE(pic.last(k), qint16(360));
    QVERIFY(notices.texts.isEmpty());
    QVERIFY(!add(999));
    QCOMPARE(pic.last(k), qint16(360));
    QCOMPARE(notices.texts, QStringList{u"数组超出范围,请与程序员联系"_s});
    QCOMPARE(notices.titles, QStringList{u"#Error"_s});
    // The other kinds are untouched.
    for (Kind other : {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        if (other != k)
            QCOMPARE(pic.last(other), qint16(-1));
}

void TstModel::removeMovesLastIntoGap()
{
    CPictire pic;
    pic.AddLine({0, 0}, {1, 1});
    pic.AddLine({2, 2}, {3, 3});
    pic.AddLine({4, 4}, {5, 5});
    pic.RemoveLine(0);
    QCOMPARE(pic.lists().LineLast, qint16(1));
    QCOMPARE(pic.lists().LineArr[0], (TwoPoints{{4, 4}, {5, 5}}));
    QCOMPARE(pic.lists().LineArr[1], (TwoPoints{{2, 2}, {3, 3}}));

    pic.AddString({1, 1}, u"a"_s);
    pic.AddString({2, 2}, u"b"_s);
    pic.RemoveString(0);
    QCOMPARE(pic.GetStringCount(), qint16(0));
    QCOMPARE(pic.lists().StringArr[0], (TextEntity{{2, 2}, u"b"_s}));
}

void TstModel::removeLastOnlyShrinks()
{
    CPictire pic;
    pic.AddArc({0, 0}, {1, 1}, {2, 0});
    pic.AddArc({5, 5}, {6, 6}, {7, 5});
    pic.RemoveArc(1);
    QCOMPARE(pic.lists().ArcLast, qint16(0));
    QCOMPARE(pic.lists().ArcArr[0], (ThreePoints{{0, 0}, {1, 1}, {2, 0}}));
}

void TstModel::pointInWindowNormalisesCorners_data()
{
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<bool>("inside");
    QTest::newRow("inside") << 150.f << 150.f << true;
    QTest::newRow("left edge") << 100.f << 150.f << true;
    QTest::newRow("corner") << 200.f << 200.f << true;
    QTest::newRow("outside x") << 201.f << 150.f << false;
    QTest::newRow("outside y") << 150.f << 99.f << false;
}

void TstModel::pointInWindowNormalisesCorners()
{
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(bool, inside);
    for (bool reversed : {false, true}) {
        DrawPoint c1{100, 100}, c2{200, 200};
        if (reversed)
            std::swap(c1, c2);
        QCOMPARE(CPictire::PointInWindow({x, y}, c1, c2), inside);
        QCOMPARE(c1, (DrawPoint{100, 100}));
        QCOMPARE(c2, (DrawPoint{200, 200}));
    }
    DrawPoint c1{100, 200}, c2{200, 100}; // swapped in Y only
    QCOMPARE(CPictire::PointInWindow({x, y}, c1, c2), inside);
    QCOMPARE(c1, (DrawPoint{100, 100}));
}

void TstModel::deleteInWindowByDefiningPoints()
{
    CPictire pic;
    pic.AddLine({150, 150}, {5000, 5000}); // one end inside: goes
    pic.AddLine({0, 150}, {5000, 150});    // crosses, no end inside: stays
    pic.AddRec({0, 0}, {1000, 1000});      // encloses the window: stays
    pic.AddRec({200, 200}, {900, 900});    // corner on the edge: goes
    pic.AddDim({0, 0}, {5000, 0}, {150, 150});
    pic.AddDir({10, 10}, {20, 20});
    pic.AddString({120, 180}, u"B"_s);
    pic.AddString({300, 300}, u"H"_s);
    pic.AddArc({1000, 1000}, {2000, 2000}, {3000, 1000});
    DrawPoint c1{200, 200}, c2{100, 100}; // bottom-right first
    pic.DeleteInWindow(c1, c2);
    const DrawingLists &l = pic.lists();
    QCOMPARE(l.LineLast, qint16(0));
    QCOMPARE(l.LineArr[0], (TwoPoints{{0, 150}, {5000, 150}}));
    QCOMPARE(l.RecLast, qint16(0));
    QCOMPARE(l.RecArr[0], (TwoPoints{{0, 0}, {1000, 1000}}));
    QCOMPARE(l.DimLast, qint16(-1));
    QCOMPARE(l.DirLast, qint16(0));
    QCOMPARE(l.StringLast, qint16(0));
    QCOMPARE(l.StringArr[0].text, u"H"_s);
    QCOMPARE(l.ArcLast, qint16(0));
}

void TstModel::deleteEverythingWithConsecutiveHits()
{
    CPictire pic;
    for (int i = 0; i < 10; ++i) {
        const float v = float(i * 10);
        pic.AddLine({v, v}, {v + 1, v});
        pic.AddRec({v, v}, {v + 1, v + 1});
        pic.AddDir({v, v}, {v + 2, v});
        pic.AddDim({v, v}, {v + 3, v}, {v, v + 3});
        pic.AddString({v, v}, u"x"_s);
        pic.AddArc({v, v}, {v + 1, v + 1}, {v + 2, v});
    }
    DrawPoint c1{-1, -1}, c2{200, 200};
    pic.DeleteInWindow(c1, c2);
    QVERIFY(pic.isEmpty());
}

void TstModel::clearDataEmptiesAllKinds()
{
    CPictire pic;
    pic.AddLine({0, 0}, {1, 1});
    pic.AddString({0, 0}, u"t"_s);
    pic.AddArc({0, 0}, {1, 1}, {2, 0});
    pic.StepNo = 2;
    pic.ClearData();
    QVERIFY(pic.isEmpty());
    QCOMPARE(pic.GetStringCount(), qint16(-1));
    QCOMPARE(pic.StepNo, qint16(2));
}

void TstModel::getStringsCopiesEveryText()
{
    CPictire pic;
    pic.AddString({100, 200}, u"B"_s);
    pic.AddString({300.5f, 400}, u"KH1"_s);
    QCOMPARE(pic.GetStringCount(), qint16(1));
    QList<float> x, y;
    QStringList s;
    pic.GetStrings(x, y, s);
    QCOMPARE(x, (QList<float>{100, 300.5f}));
    QCOMPARE(y, (QList<float>{200, 400}));
    QCOMPARE(s, (QStringList{u"B"_s, u"KH1"_s}));
}

void TstModel::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("whole");   // 0: refused
    QTest::addColumn<qint64>("drawing"); // 0: refused
    QTest::newRow("plain") << u"12"_s << qint64(12) << qint64(12);
    QTest::newRow("blanks") << u" 7 "_s << qint64(7) << qint64(7);
    QTest::newRow("negative") << u"-3"_s << qint64(-3) << qint64(0);
    QTest::newRow("fraction") << u"1.5"_s << qint64(0) << qint64(0);
    QTest::newRow("exponent") << u"1E3"_s << qint64(0) << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0) << qint64(0);
    QTest::newRow("zero") << u"0"_s << qint64(0) << qint64(0);
    QTest::newRow("largest") << u"2147483647"_s << qint64(2147483647) << qint64(2147483647);
    QTest::newRow("too large") << u"2147483648"_s << qint64(0) << qint64(0);
    QTest::newRow("text") << u"12a"_s << qint64(0) << qint64(0);
}

void TstModel::numbers()
{
    QFETCH(QString, text);
    QFETCH(qint64, whole);
    QFETCH(qint64, drawing);
    QCOMPARE(wholeNumber(text).value_or(0), whole);
    QCOMPARE(drawingNumber(text).value_or(0), drawing);
}

QTEST_GUILESS_MAIN(TstModel)
#include "tst_model.moc"
