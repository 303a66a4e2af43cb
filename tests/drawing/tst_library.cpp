// The drawing library in the main database: save and load through the engine and the facade, all
// or nothing, bound values, removal, listing and numbering.
#include "../app/fixture.h"
#include "drawingtest.h"

#include "drawing/mcpicture.h"
#include "drawing/store.h"
#include "drawing/ui/showpicture.h"
#include "platform/surface_recording.h"

using namespace Qt::StringLiterals;
using namespace drawing;
using testfixture::exec;
using testfixture::rowCount;

namespace {
const QStringList kEntityTables = {u"Line"_s, u"Rectangle"_s, u"Arrow"_s, u"Dim"_s, u"Strings"_s, u"Arc"_s};

void fill(CPictire &pic, const QString &text = u"B"_s)
{
    pic.AddLine({0, 0}, {100.5f, 100});
    pic.AddRec({10, 20}, {30, 40});
    pic.AddDir({1, 2}, {3, 4});
    pic.AddDim({1000, 1000}, {3000, 1000}, {2000, 1500});
    pic.AddString({200, 300}, text);
    pic.AddArc({1000, 0}, {0, 1000}, {-1000, 0});
}

int rowsOf(const QString &table, qint64 bn)
{
    QSqlQuery q(app::mainDb());
    q.prepare(u"SELECT count(*) FROM "_s + platform::ident(table) + u" WHERE Bn = ?"_s);
    q.addBindValue(bn);
    q.exec();
    q.next();
    return q.value(0).toInt();
}
} // namespace

class TstLibrary : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void saveAndLoadEveryKind();
    void saveReplacesOnlyItsNumber();
    void apostropheIsStoredUnchanged();
    void emptyDrawingKeepsIndexRow();
    void failedSaveKeepsPreviousDrawing();
    void invalidNumbers_data();
    void invalidNumbers();
    void loadAppends();
    void loadWithCapacityMessage();
    void nullCoordinateLoadsNothing();
    void saveNewIsAllOrNothing();
    void removeTakesEveryTable();
    void listAndNextNumber();
    void facadeLabels();
    void facadeDrawsStretched();
    void showPictureFillsTheBox();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstLibrary::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    drawing::ui::installNotices();
}

void TstLibrary::saveAndLoadEveryKind()
{
    CPictire pic;
    fill(pic, u"上亮高 KH1"_s);
    QString err;
    QVERIFY2(pic.SaveFileEx(u"12"_s, u"ignored"_s, &err), qPrintable(err));
    for (const QString &t : kEntityTables)
        QCOMPARE(rowsOf(t, 12), 1);

    CPictire back;
    QVERIFY2(back.OpenFileEX(u" 12 "_s, &err), qPrintable(err));
    const DrawingLists &a = pic.lists(), &b = back.lists();
    QCOMPARE(b.LineArr[0], a.LineArr[0]);
    QCOMPARE(b.RecArr[0], a.RecArr[0]);
    QCOMPARE(b.DirArr[0], a.DirArr[0]);
    QCOMPARE(b.DimArr[0], a.DimArr[0]);
    QCOMPARE(b.StringArr[0], a.StringArr[0]);
    QCOMPARE(b.ArcArr[0], a.ArcArr[0]);
    for (Kind k : {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        QCOMPARE(back.last(k), qint16(0));
}

void TstLibrary::saveReplacesOnlyItsNumber()
{
    for (const QString &t : kEntityTables) {
        const bool three = t == u"Dim" || t == u"Arc";
        const QString sql = t == u"Strings" ? u"INSERT INTO \"Strings\" (X1, Y1, Chars, Bn) VALUES (1, 1, 'old', ?)"_s
                          : three ? u"INSERT INTO "_s + platform::ident(t) + u" VALUES (1, 1, 2, 2, 3, 3, ?)"_s
                                  : u"INSERT INTO "_s + platform::ident(t) + u" VALUES (1, 1, 2, 2, ?)"_s;
        QVERIFY(exec(app::mainDb(), sql, {12}));
        QVERIFY(exec(app::mainDb(), sql, {12}));
        QVERIFY(exec(app::mainDb(), sql, {13}));
    }
    CPictire pic;
    pic.AddLine({5, 5}, {6, 6});
    QVERIFY(pic.SaveFileEx(u"12"_s));
    QCOMPARE(rowsOf(u"Line"_s, 12), 1);
    for (const QString &t : kEntityTables) {
        if (t != u"Line")
            QCOMPARE(rowsOf(t, 12), 0);
        QCOMPARE(rowsOf(t, 13), 1);
    }
}

void TstLibrary::apostropheIsStoredUnchanged()
{
    CPictire pic;
    pic.AddString({1, 2}, u"it's '); DROP TABLE Line; --"_s);
    QVERIFY(pic.SaveFileEx(u"3"_s));
    CPictire back;
    QVERIFY(back.OpenFileEX(u"3"_s));
    QCOMPARE(back.lists().StringArr[0].text, u"it's '); DROP TABLE Line; --"_s);
    QVERIFY(platform::tableNames(app::mainDb()).contains(u"Line"_s));
}

void TstLibrary::emptyDrawingKeepsIndexRow()
{
    DrawingStore store;
    CPictire pic;
    fill(pic);
    QVERIFY(store.saveNew(12, u"平开窗"_s, pic.lists()));
    CPictire empty;
    QVERIFY(empty.SaveFileEx(u"12"_s));
    for (const QString &t : kEntityTables)
        QCOMPARE(rowsOf(t, 12), 0);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
}

void TstLibrary::failedSaveKeepsPreviousDrawing()
{
    CPictire old;
    fill(old, u"old"_s);
    QVERIFY(old.SaveFileEx(u"7"_s));
    // Arcs are written last: a refused arc comes after every other row of the new drawing.
    QVERIFY(exec(app::mainDb(),
                 u"CREATE TRIGGER no_arcs BEFORE INSERT ON \"Arc\" BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
    CPictire next;
    fill(next, u"new"_s);
    next.AddLine({7, 7}, {8, 8});
    QString err;
    QVERIFY(!next.SaveFileEx(u"7"_s, {}, &err));
    QVERIFY(err.contains(u"refused"_s));
    CPictire back;
    QVERIFY(back.OpenFileEX(u"7"_s));
    QCOMPARE(back.lists().LineLast, qint16(0));
    QCOMPARE(back.lists().StringArr[0].text, u"old"_s);
    QCOMPARE(back.lists().ArcLast, qint16(0));
}

void TstLibrary::invalidNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::newRow("empty") << QString();
    QTest::newRow("text") << u"abc"_s;
    QTest::newRow("fraction") << u"1.5"_s;
    QTest::newRow("statement") << u"1 or 1=1"_s;
}

void TstLibrary::invalidNumbers()
{
    QFETCH(QString, number);
    CPictire pic;
    fill(pic);
    QVERIFY(pic.SaveFileEx(u"1"_s));
    QString err;
    QVERIFY(!pic.SaveFileEx(number, {}, &err));
    QVERIFY(!err.isEmpty());
    QVERIFY(!pic.OpenFileEX(number, &err));
    QCOMPARE(pic.lists().LineLast, qint16(0));
    QCOMPARE(rowCount(app::mainDb(), u"Line"_s), 1);
}

void TstLibrary::loadAppends()
{
    CPictire pic;
    fill(pic);
    QVERIFY(pic.SaveFileEx(u"5"_s));
    CPictire back;
    QVERIFY(back.OpenFileEX(u"99"_s)); // no rows: nothing added
    QVERIFY(back.isEmpty());
    QVERIFY(back.OpenFileEX(u"5"_s));
    QVERIFY(back.OpenFileEX(u"5"_s));
    for (Kind k : {Kind::Line, Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        QCOMPARE(back.last(k), qint16(1));
}

void TstLibrary::loadWithCapacityMessage()
{
    {
        platform::TransactionGuard guard(app::mainDb());
        for (int i = 0; i < 400; ++i)
            QVERIFY(exec(app::mainDb(), u"INSERT INTO \"Line\" (x1, y1, x2, y2, Bn) VALUES (?, 0, 1, 1, 4)"_s, {i}));
        QVERIFY(guard.commit());
    }
    CPictire pic;
    QVERIFY(pic.OpenFileEX(u"4"_s));
    QCOMPARE(pic.lists().LineLast, qint16(360));
    QCOMPARE(m_fx->msgs->texts().count(u"数组超出范围,请与程序员联系"_s), 39);
    QCOMPARE(m_fx->msgs->shown.constFirst().title, u"#Error"_s);
    QCOMPARE(m_fx->msgs->shown.constFirst().buttons, platform::MsgButtons::Ok);

    // A full drawing saves and loads whole.
    m_fx->msgs->clear();
    QVERIFY(pic.SaveFileEx(u"4"_s));
    CPictire back;
    QVERIFY(back.OpenFileEX(u"4"_s));
    QCOMPARE(back.lists().LineLast, qint16(360));
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstLibrary::nullCoordinateLoadsNothing()
{
    QVERIFY(exec(app::mainDb(), u"INSERT INTO \"Line\" (x1, y1, x2, y2, Bn) VALUES (1, 2, 3, 4, 8)"_s));
    QVERIFY(exec(app::mainDb(), u"INSERT INTO \"Arc\" (x1, y1, x2, y2, x3, y3, Bn) VALUES (1, 2, 3, NULL, 5, 6, 8)"_s));
    CPictire pic;
    QString err;
    QVERIFY(!pic.OpenFileEX(u"8"_s, &err));
    QVERIFY(!err.isEmpty());
    QVERIFY(pic.isEmpty());
}

void TstLibrary::saveNewIsAllOrNothing()
{
    DrawingStore store;
    CPictire pic;
    fill(pic);
    QVERIFY(store.saveNew(2, u"推拉窗"_s, pic.lists()));
    QCOMPARE(store.exists(2), std::optional<bool>(true));
    CPictire other;
    other.AddLine({9, 9}, {10, 10});
    QVERIFY(!store.saveNew(2, u"again"_s, other.lists())); // the number is taken
    CPictire back;
    QVERIFY(back.OpenFileEX(u"2"_s));
    QCOMPARE(back.lists().LineArr[0], pic.lists().LineArr[0]);
    QList<LibraryEntry> entries;
    QVERIFY(store.list(&entries));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].name, u"推拉窗"_s);
}

void TstLibrary::removeTakesEveryTable()
{
    DrawingStore store;
    CPictire pic;
    fill(pic);
    QVERIFY(store.saveNew(3, u"a"_s, pic.lists()));
    QVERIFY(store.saveNew(4, u"b"_s, pic.lists()));
    QVERIFY(store.remove(3));
    QCOMPARE(store.exists(3), std::optional<bool>(false));
    for (const QString &t : kEntityTables) {
        QCOMPARE(rowsOf(t, 3), 0);
        QCOMPARE(rowsOf(t, 4), 1);
    }
}

void TstLibrary::listAndNextNumber()
{
    DrawingStore store;
    QCOMPARE(store.nextNumber(), std::optional<qint64>(1));
    CPictire empty;
    QVERIFY(store.saveNew(9, u"九"_s, empty.lists()));
    QVERIFY(store.saveNew(3, u"三"_s, empty.lists()));
    QCOMPARE(store.nextNumber(), std::optional<qint64>(10));
    QList<LibraryEntry> entries;
    QVERIFY(store.list(&entries));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].number, 9); // table order, not sorted
    QCOMPARE(entries[1].name, u"三"_s);
}

void TstLibrary::facadeLabels()
{
    CPictire pic;
    pic.AddString({1000, 200}, u"B"_s);
    pic.AddString({9000, 4000}, u"H"_s);
    pic.AddLine({0, 0}, {1, 1});
    QVERIFY(pic.SaveFileEx(u"5"_s));

    MCPicture facade;
    QCOMPARE(facade.GetStringCount(), qint16(-1));
    QCOMPARE(facade.GetWidth(), 9495.0f);
    QCOMPARE(facade.GetHeight(), 7935.0f);
    QVERIFY(facade.OpenFileEX(u"5"_s));
    QCOMPARE(facade.GetStringCount(), qint16(1));
    QList<float> x, y;
    QStringList s;
    facade.GetStrings(x, y, s);
    QCOMPARE(s, (QStringList{u"B"_s, u"H"_s}));
    QCOMPARE(x, (QList<float>{1000, 9000}));
    QCOMPARE(y, (QList<float>{200, 4000}));
    // Loading again without emptying counts every label twice.
    QVERIFY(facade.OpenFileEX(u"5"_s));
    QCOMPARE(facade.GetStringCount(), qint16(3));
    facade.ClearData();
    QCOMPARE(facade.GetStringCount(), qint16(-1));
    QCOMPARE(facade.GetWidth(), 9495.0f);
}

void TstLibrary::facadeDrawsStretched()
{
    CPictire pic;
    pic.AddLine({9495, 7935}, {0, 0});
    pic.AddString({9495, 7935}, u"W"_s);
    QVERIFY(pic.SaveFileEx(u"6"_s));
    MCPicture facade;
    QVERIFY(facade.OpenFileEX(u"6"_s));
    platform::RecordingSurface s;
    facade.OutMC(s, 0, 0, 9495.0f / 2, 7935.0f / 2);
    QCOMPARE(s.lines(), (QList<QLineF>{QLineF(4747.5, 3967.5, 0, 0)}));
    QCOMPARE(s.texts().size(), 1);
    s.reset();
    facade.OutMCNoStr(s, 0, 0, 1000, 7935);
    QCOMPARE(s.lines(), (QList<QLineF>{QLineF(1000, 7935, 0, 0)}));
    QCOMPARE(s.texts().size(), 0);
}

void TstLibrary::showPictureFillsTheBox()
{
    CPictire pic;
    pic.AddLine({0, 0}, {9495, 7935});
    pic.AddString({100, 100}, u"B"_s);
    QVERIFY(pic.SaveFileEx(u"2"_s));

    platform::WidgetSurface box;
    box.resize(200, 100);
    box.setLogicalExtent(3000, 1500);
    QVERIFY(drawing::ui::ShowMCPicture(&box, u"2"_s));
    const QImage img = box.snapshot();
    // The diagonal runs corner to corner of the box.
    QCOMPARE(QColor(img.pixel(100, 50)), QColor(Qt::black));
    QCOMPARE(QColor(img.pixel(150, 20)), QColor(Qt::white));

    QString err;
    QVERIFY(!drawing::ui::ShowMCPicture(&box, u"x"_s, &err));
    QCOMPARE(QColor(box.snapshot().pixel(100, 50)), QColor(Qt::white));
}

QTEST_MAIN(TstLibrary)
#include "tst_library.moc"
