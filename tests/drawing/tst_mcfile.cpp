// Drawing files: the exact form written, round trips, the tolerant reader, and failed reads that
// leave the drawing as it was.
#include "drawingtest.h"
#include "platform/ansicodes.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::Notices;

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void fill(CPictire &pic)
{
    pic.AddLine({0, 0}, {100, 100});
    pic.AddRec({10, 20}, {30, 40});
    pic.AddDir({1, 2}, {3, 4});
    pic.AddDim({1000, 1000}, {3000, 1000}, {2000, 1500});
    pic.AddString({200, 300}, u"B"_s);
    pic.AddArc({1000, 0}, {0, 1000}, {-1000, 0});
}
} // namespace

class TstMcFile : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void emptyDrawingIsEmptyFile();
    void exactFormOfLinesAndText();
    void chineseTextIsGbk();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void everyKindRoundTrips();
    void textGbkLacksIsKept();
    void everyGb2312CharacterRoundTrips();
    void textsBeyondGbkRoundTrip_data();
    void textsBeyondGbkRoundTrip();
    void earlierFilesRead_data();
    void earlierFilesRead();
    void readerTolerance_data();
    void readerTolerance();
    void failedReadKeepsDrawing_data();
    void failedReadKeepsDrawing();
    void openReplacesEveryKind();
    void capacityWhileReading();
    void failedWriteKeepsOldFile();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TstMcFile::emptyDrawingIsEmptyFile()
{
    CPictire pic;
    QVERIFY(pic.SavePicture(path(u"empty.MC"_s)));
    QCOMPARE(readAll(path(u"empty.MC"_s)), QByteArray());
    CPictire other;
    fill(other);
    QVERIFY(other.Open_File(path(u"empty.MC"_s)));
    QVERIFY(other.isEmpty());
}

void TstMcFile::exactFormOfLinesAndText()
{
    CPictire pic;
    pic.AddLine({0, 1200}, {-37.5f, 0.5f});
    pic.AddLine({1, 2}, {3, 4});
    pic.AddLine({9495, 7935}, {-0.5f, 12.25f});
    pic.AddString({100, 200}, u"H"_s);
    QVERIFY(pic.SavePicture(path(u"three.MC"_s)));
    const QByteArray expected = "Line\r\n"
                                " 0 \r\n 1200 \r\n-37.5 \r\n .5 \r\n"
                                " 1 \r\n 2 \r\n 3 \r\n 4 \r\n"
                                " 9495 \r\n 7935 \r\n-.5 \r\n 12.25 \r\n"
                                "String\r\n"
                                " 100 \r\n 200 \r\nH\r\n";
    QCOMPARE(readAll(path(u"three.MC"_s)), expected);
}

void TstMcFile::chineseTextIsGbk()
{
    CPictire pic;
    pic.AddString({1, 2}, u"门窗"_s);
    QVERIFY(pic.SavePicture(path(u"gbk.MC"_s)));
    QCOMPARE(readAll(path(u"gbk.MC"_s)), QByteArray("String\r\n 1 \r\n 2 \r\n\xC3\xC5\xB4\xB0\r\n"));
    CPictire back;
    QVERIFY(back.Open_File(path(u"gbk.MC"_s)));
    QCOMPARE(back.lists().StringArr[0].text, u"门窗"_s);
}

void TstMcFile::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("commas") << u"1,200,3"_s;
    QTest::newRow("quotes") << u"it's \"B\""_s;
    QTest::newRow("leading blanks") << u"   KH1"_s;
    QTest::newRow("trailing blanks") << u"H  "_s;
    QTest::newRow("keyword") << u"Line"_s;
    QTest::newRow("circle") << u"Circle"_s;
    QTest::newRow("number") << u"1200"_s;
    QTest::newRow("chinese") << u"上亮高"_s;
}

void TstMcFile::textsRoundTrip()
{
    QFETCH(QString, text);
    CPictire pic;
    pic.AddString({10, 20}, text);
    pic.AddLine({1, 2}, {3, 4});
    const QString file = path(u"text.MC"_s);
    QVERIFY(pic.SavePicture(file));
    CPictire back;
    QString err;
    QVERIFY2(back.Open_File(file, &err), qPrintable(err));
    QCOMPARE(back.GetStringCount(), qint16(0));
    QCOMPARE(back.lists().StringArr[0], (TextEntity{{10, 20}, text}));
    QCOMPARE(back.lists().LineLast, qint16(0));
}

void TstMcFile::everyKindRoundTrips()
{
    CPictire pic;
    fill(pic);
    pic.AddLine({0.1f, 1e-5f}, {123456.7f, -7935});
    QVERIFY(pic.SavePicture(path(u"all.MC"_s)));
    CPictire back;
    QVERIFY(back.Open_File(path(u"all.MC"_s)));
    const DrawingLists &a = pic.lists(), &b = back.lists();
    QCOMPARE(b.LineLast, a.LineLast);
    for (int i = 0; i <= a.LineLast; ++i)
        QCOMPARE(b.LineArr[size_t(i)], a.LineArr[size_t(i)]);
    QCOMPARE(b.RecArr[0], a.RecArr[0]);
    QCOMPARE(b.DirArr[0], a.DirArr[0]);
    QCOMPARE(b.DimArr[0], a.DimArr[0]);
    QCOMPARE(b.StringArr[0], a.StringArr[0]);
    QCOMPARE(b.ArcArr[0], a.ArcArr[0]);
    QCOMPARE(b.ArcLast, qint16(0));
}

void TstMcFile::textGbkLacksIsKept()
{
    CPictire pic;
    pic.AddString({1, 2}, u"窗 \U0001F600"_s);
    QVERIFY(pic.SavePicture(path(u"utf8.MC"_s)));
    CPictire back;
    QVERIFY(back.Open_File(path(u"utf8.MC"_s)));
    QCOMPARE(back.lists().StringArr[0].text, u"窗 \U0001F600"_s);
}

namespace {
// The 6,763 characters of GB2312: rows 0xB0-0xF7, columns 0xA1-0xFE, less the five empty places
// at the end of row 0xD7.
QStringList gb2312Characters()
{
    QStringList out;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            if (lead == 0xD7 && trail >= 0xFA)
                continue;
            out << platform::fromAnsiCodes({qint16(quint16(lead << 8 | trail))});
        }
    }
    return out;
}

QString roundTrip(const QString &file, const QString &text)
{
    CPictire pic;
    pic.AddString({10, 20}, text);
    if (!pic.SavePicture(file))
        return u"<not written>"_s;
    CPictire back;
    if (!back.Open_File(file) || back.GetStringCount() != 0)
        return u"<not read>"_s;
    return back.lists().StringArr[0].text;
}
} // namespace

void TstMcFile::everyGb2312CharacterRoundTrips()
{
    const QStringList chars = gb2312Characters();
    QCOMPARE(chars.size(), 6763);
    QCOMPARE(chars.first(), u"啊"_s);
    QCOMPARE(chars.last(), u"齄"_s);
    // Each alone, as a short label is (alone, more of them read as valid UTF-8: 一 as "һ").
    const QString file = path(u"one.MC"_s);
    QStringList changed;
    for (const QString &c : chars) {
        if (roundTrip(file, c) != c)
            changed << c;
    }
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u' ')));
    // In files of GBK bytes, as written before.
    QCOMPARE(readAll(file), QByteArray("String\r\n 10 \r\n 20 \r\n\xF7\xFE\r\n"));
    // Each after each of the others in a text, in pairs (a pair may read as a UTF-8 character).
    for (qsizetype i = 0; i + 1 < chars.size(); i += 2) {
        const QString pair = chars[i] + chars[i + 1];
        if (roundTrip(file, pair) != pair)
            changed << pair;
    }
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u' ')));
}

void TstMcFile::textsBeyondGbkRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("diameter sign") << u"Ø20 孔"_s;
    QTest::newRow("bullet") << u"• 上亮"_s;
    QTest::newRow("extension A") << u"㐀 一位"_s;
    QTest::newRow("extension B") << u"𠀀值"_s;
    QTest::newRow("emoji") << u"纱窗 😀"_s;
    QTest::newRow("euro") << u"€100"_s;
}

void TstMcFile::textsBeyondGbkRoundTrip()
{
    QFETCH(QString, text);
    QCOMPARE(roundTrip(path(u"beyond.MC"_s), text), text);
}

void TstMcFile::earlierFilesRead_data()
{
    QTest::addColumn<QByteArray>("textBytes");
    QTest::addColumn<QString>("text");
    // GBK, as the earlier program and this one write for characters GBK has.
    QTest::newRow("GBK that is also valid UTF-8") << QByteArray("\xD2\xBB\xCE\xBB\xD6\xB5\xC6\xAB\xC9\xB4")
                                                  << u"一位值偏纱"_s;
    QTest::newRow("GBK") << QByteArray("\xC3\xC5\xB4\xB0") << u"门窗"_s;
    // UTF-8, as earlier versions wrote a text with a character GBK lacks.
    for (const QString &t : {u"窗 😀"_s, u"Ø20 孔"_s, u"Ø5"_s, u"一位 𠀀"_s, u"上亮 • 下亮"_s, u"㐀"_s})
        QTest::newRow(qPrintable(u"UTF-8 "_s + t)) << t.toUtf8() << t;
}

void TstMcFile::earlierFilesRead()
{
    QFETCH(QByteArray, textBytes);
    QFETCH(QString, text);
    const QString file = path(u"earlier.MC"_s);
    QVERIFY(writeAll(file, "String\r\n 1 \r\n 2 \r\n" + textBytes + "\r\n"));
    CPictire back;
    QVERIFY(back.Open_File(file));
    QCOMPARE(back.lists().StringArr[0].text, text);
}

void TstMcFile::readerTolerance_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("firstLine"); // "x1 y1 x2 y2" of line 0
    QTest::addColumn<QString>("text");      // text 0, or "-" for none
    QTest::newRow("LF ends") << QByteArray("Line\n1\n2\n3\n4\n") << 1 << u"1 2 3 4"_s << u"-"_s;
    QTest::newRow("number forms") << QByteArray("Line\r\n.5\r\n0.5\r\n-.5\r\n1E-05\r\n") << 1
                                  << u"0.5 0.5 -0.5 1e-05"_s << u"-"_s;
    QTest::newRow("no end on last line") << QByteArray("Line\r\n1\r\n2\r\n3\r\n4") << 1 << u"1 2 3 4"_s << u"-"_s;
    QTest::newRow("values before any keyword") << QByteArray(" 5 \r\n 6 \r\n 7 \r\n 8 \r\n") << 1 << u"5 6 7 8"_s
                                               << u"-"_s;
    QTest::newRow("circle changes nothing")
        << QByteArray("Line\r\n1\r\n2\r\nCircle\r\n3\r\n4\r\n") << 1 << u"1 2 3 4"_s << u"-"_s;
    QTest::newRow("truncated entity dropped") << QByteArray("Line\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n") << 1
                                              << u"1 2 3 4"_s << u"-"_s;
    QTest::newRow("sections repeat in any order")
        << QByteArray("String\r\n1\r\n2\r\nB\r\nLine\r\n1\r\n2\r\n3\r\n4\r\nString\r\n5\r\n6\r\nH\r\nLine\r\n7\r\n8\r\n9\r\n10\r\n")
        << 2 << u"1 2 3 4"_s << u"B"_s;
    QTest::newRow("text line reading Line") << QByteArray("String\r\n1\r\n2\r\nLine\r\n") << 0 << QString()
                                            << u"Line"_s;
    QTest::newRow("utf-8") << QByteArray("String\n1\n2\n\xE9\x97\xA8\n") << 0 << QString() << u"门"_s;
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBFString\n1\n2\nW\n") << 0 << QString() << u"W"_s;
    QTest::newRow("gbk") << QByteArray("String\r\n1\r\n2\r\n\xC3\xC5\r\n") << 0 << QString() << u"门"_s;
    QTest::newRow("empty text line") << QByteArray("String\r\n1\r\n2\r\n\r\n") << 0 << QString() << QString();
}

void TstMcFile::readerTolerance()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lines);
    QFETCH(QString, firstLine);
    QFETCH(QString, text);
    const QString file = path(u"in.MC"_s);
    QVERIFY(writeAll(file, bytes));
    CPictire pic;
    QString err;
    QVERIFY2(pic.Open_File(file, &err), qPrintable(err));
    QCOMPARE(pic.lists().LineLast + 1, lines);
    if (lines > 0) {
        const TwoPoints &l = pic.lists().LineArr[0];
        QCOMPARE(u"%1 %2 %3 %4"_s.arg(l.P1.X).arg(l.P1.Y).arg(l.P2.X).arg(l.P2.Y), firstLine);
    }
    if (text == u"-")
        QCOMPARE(pic.GetStringCount(), qint16(-1));
    else
        QCOMPARE(pic.lists().StringArr[0].text, text);
}

void TstMcFile::failedReadKeepsDrawing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("keyword in another case") << QByteArray("LINE\r\n1\r\n2\r\n3\r\n4\r\n");
    QTest::newRow("empty value") << QByteArray("Line\r\n1\r\n\r\n3\r\n4\r\n");
    QTest::newRow("value after a good entity") << QByteArray("Arc\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n1,5\r\n");
    QTest::newRow("text position not a number") << QByteArray("String\r\nx\r\n2\r\nB\r\n");
    QTest::newRow("neither utf-8 nor gbk") << QByteArray("String\r\n1\r\n2\r\n\xFF\xFF\r\n");
}

void TstMcFile::failedReadKeepsDrawing()
{
    QFETCH(QByteArray, bytes);
    const QString file = path(u"bad.MC"_s);
    QVERIFY(writeAll(file, bytes));
    CPictire pic;
    fill(pic);
    QString err;
    QVERIFY(!pic.Open_File(file, &err));
    QVERIFY(!err.isEmpty());
    CPictire expected;
    fill(expected);
    QCOMPARE(pic.lists().LineLast, qint16(0));
    QCOMPARE(pic.lists().ArcLast, qint16(0));
    QCOMPARE(pic.lists().StringArr[0], expected.lists().StringArr[0]);

    QVERIFY(!pic.Open_File(path(u"missing.MC"_s), &err));
    QCOMPARE(pic.lists().DimLast, qint16(0));
}

void TstMcFile::openReplacesEveryKind()
{
    const QString file = path(u"lines.MC"_s);
    QVERIFY(writeAll(file, "Line\r\n1\r\n2\r\n3\r\n4\r\n"));
    CPictire pic;
    fill(pic);
    QVERIFY(pic.Open_File(file));
    QCOMPARE(pic.lists().LineLast, qint16(0));
    QCOMPARE(pic.lists().LineArr[0], (TwoPoints{{1, 2}, {3, 4}}));
    for (Kind k : {Kind::Rec, Kind::Dir, Kind::Dim, Kind::String, Kind::Arc})
        QCOMPARE(pic.last(k), qint16(-1));
}

void TstMcFile::capacityWhileReading()
{
    QByteArray bytes = "Line\r\n";
    for (int i = 0; i < 400; ++i)
        bytes += QByteArray::number(i) + "\r\n0\r\n1\r\n1\r\n";
    const QString file = path(u"many.MC"_s);
    QVERIFY(writeAll(file, bytes));
    Notices notices;
    CPictire pic;
    QVERIFY(pic.Open_File(file));
    QCOMPARE(pic.lists().LineLast, qint16(360));
    QCOMPARE(notices.count(u"数组超出范围,请与程序员联系"_s), 39);
}

void TstMcFile::failedWriteKeepsOldFile()
{
    const QString file = path(u"keep.MC"_s);
    QVERIFY(writeAll(file, "Line\r\n1\r\n2\r\n3\r\n4\r\n"));
    CPictire pic;
    pic.AddString({1, 1}, u"x"_s);
    QString err;
    QVERIFY(!pic.SavePicture(path(u"no/such/folder/x.MC"_s), &err));
    QVERIFY(!err.isEmpty());
    // Overwriting replaces the whole file.
    QVERIFY(pic.SavePicture(file));
    QCOMPARE(readAll(file), QByteArray("String\r\n 1 \r\n 1 \r\nx\r\n"));
}

QTEST_GUILESS_MAIN(TstMcFile)
#include "tst_mcfile.moc"
