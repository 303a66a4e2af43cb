// DXF import: the recognised entities, everything else passed over, code/value pairs read line by
// line, one capacity message per import, and failed imports that keep the drawing.
#include "drawingtest.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace drawing;
using drawingtest::Notices;

namespace {
// Pairs of "code value" lines inside an ENTITIES section.
QByteArray entities(const QByteArray &body)
{
    return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

QString describe(const CPictire &pic)
{
    QStringList out;
    const DrawingLists &l = pic.lists();
    auto pt = [](DrawPoint p) { return u"(%1,%2)"_s.arg(p.X).arg(p.Y); };
    for (int i = 0; i <= l.LineLast; ++i)
        out << u"L"_s + pt(l.LineArr[size_t(i)].P1) + pt(l.LineArr[size_t(i)].P2);
    for (int i = 0; i <= l.RecLast; ++i)
        out << u"R"_s + pt(l.RecArr[size_t(i)].P1) + pt(l.RecArr[size_t(i)].P2);
    for (int i = 0; i <= l.DimLast; ++i)
        out << u"D"_s + pt(l.DimArr[size_t(i)].P1) + pt(l.DimArr[size_t(i)].P2) + pt(l.DimArr[size_t(i)].P3);
    for (int i = 0; i <= l.StringLast; ++i)
        out << u"T"_s + pt(l.StringArr[size_t(i)].P1) + u"["_s + l.StringArr[size_t(i)].text + u"]"_s;
    if (l.DirLast >= 0 || l.ArcLast >= 0)
        out << u"other kinds"_s;
    return out.join(u' ');
}
} // namespace

class TstDxf : public QObject
{
    Q_OBJECT
private slots:
    void imports_data();
    void imports();
    void fileFromCadProgram();
    void filesOfEveryVersionAndEncoding_data();
    void filesOfEveryVersionAndEncoding();
    void textsAreDecoded_data();
    void textsAreDecoded();
    void leftOutEntitiesAreTold_data();
    void leftOutEntitiesAreTold();
    void capacityMessageOncePerImport();
    void failedImportKeepsDrawing_data();
    void failedImportKeepsDrawing();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TstDxf::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(u"in.dxf"_s);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

void TstDxf::imports_data()
{
    QTest::addColumn<QByteArray>("dxf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no entities section") << QByteArray("0\nSECTION\n2\nHEADER\n0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n0\nENDSEC\n0\nEOF\n")
                                         << QString();
    QTest::newRow("line") << entities("0\nLINE\n8\n0\n10\n100\n20\n200\n30\n0\n11\n300\n21\n50\n31\n0\n")
                          << u"L(100,200)(300,50)"_s;
    QTest::newRow("closed polyline") << entities("0\nLWPOLYLINE\n90\n4\n70\n1\n10\n0\n20\n0\n10\n500\n20\n0\n10\n500\n20\n300\n10\n0\n20\n300\n")
                                     << u"R(0,0)(500,300)"_s;
    QTest::newRow("polyline of five vertices")
        << entities("0\nLWPOLYLINE\n10\n0\n20\n0\n10\n500\n20\n0\n10\n500\n20\n300\n10\n0\n20\n300\n10\n-5\n20\n-5\n")
        << u"R(0,0)(500,300)"_s;
    QTest::newRow("dimension") << entities("0\nDIMENSION\n10\n0\n20\n400\n11\n250\n21\n380\n1\n2000\n13\n0\n23\n0\n14\n500\n24\n0\n")
                               << u"D(0,0)(500,0)(0,400) T(250,380)[2000]"_s;
    QTest::newRow("dimension text after its end")
        << entities("0\nDIMENSION\n10\n0\n20\n400\n11\n250\n21\n380\n13\n0\n23\n0\n14\n500\n24\n0\n1\n2000\n")
        << u"D(0,0)(500,0)(0,400) T(250,380)[]"_s;
    QTest::newRow("dimension without text") << entities("0\nDIMENSION\n13\n1\n23\n2\n14\n3\n24\n4\n")
                                            << u"D(1,2)(3,4)(0,0) T(0,0)[]"_s;
    QTest::newRow("other entities passed over")
        << entities("0\nCIRCLE\n10\n1\n20\n1\n40\n5\n0\nARC\n10\n1\n20\n1\n40\n5\n50\n0\n51\n90\n0\nTEXT\n10\n1\n20\n1\n1\nLINE\n"
                    "0\nPOLYLINE\n66\n1\n0\nVERTEX\n10\n1\n20\n1\n0\nSEQEND\n0\nINSERT\n2\nB\n10\n1\n20\n1\n"
                    "0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n")
        << u"L(1,2)(3,4)"_s;
    QTest::newRow("line in a block not imported")
        << QByteArray("0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nLINE\n10\n9\n20\n9\n11\n9\n21\n9\n0\nENDBLK\n0\nENDSEC\n")
               + entities("0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n")
        << u"L(1,2)(3,4)"_s;
    QTest::newRow("padded group codes") << entities("  0\nLINE\n 10\n1\n 20\n2\n 11\n3\n 21\n4\n")
                                        << u"L(1,2)(3,4)"_s;
    QTest::newRow("value equal to a group code") << entities("0\nLINE\n8\n10\n10\n1\n20\n2\n5\n21\n11\n3\n21\n4\n")
                                                 << u"L(1,2)(3,4)"_s;
    QTest::newRow("commas do not split text")
        << entities("0\nDIMENSION\n1\n1,500, \"W\"\n11\n7\n21\n8\n13\n0\n23\n0\n14\n1\n24\n0\n")
        << u"D(0,0)(1,0)(0,0) T(7,8)[1,500, \"W\"]"_s;
    QTest::newRow("short polyline keeps the next entity")
        << entities("0\nLWPOLYLINE\n90\n3\n10\n100\n20\n100\n10\n200\n20\n100\n10\n150\n20\n200\n"
                    "0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n")
        << u"L(1,2)(3,4)"_s;
    // Text in the Chinese code page, as older programs write it, or in UTF-8, as newer ones do.
    QTest::newRow("GBK text") << entities("0\nDIMENSION\n1\n\xD2\xBB\xCE\xBB\n11\n7\n21\n8\n13\n0\n23\n0\n14\n1\n24\n0\n")
                              << u"D(0,0)(1,0)(0,0) T(7,8)[一位]"_s;
    QTest::newRow("UTF-8 text") << entities("0\nDIMENSION\n1\n\xE4\xB8\x80\xE4\xBD\x8D\n11\n7\n21\n8\n13\n0\n23\n0\n14\n1\n24\n0\n")
                                << u"D(0,0)(1,0)(0,0) T(7,8)[一位]"_s;
    QTest::newRow("line without its end point") << entities("0\nLINE\n10\n1\n20\n2\n11\n3\n") << QString();
    QTest::newRow("entities after the section") << entities("0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n")
                                                           + "0\nSECTION\n2\nOBJECTS\n0\nLINE\n10\n5\n20\n5\n11\n6\n21\n6\n0\nENDSEC\n"
                                                << u"L(1,2)(3,4)"_s;
    QTest::newRow("crlf and exponents") << entities("0\r\nLINE\r\n10\r\n1E+02\r\n20\r\n-2.5e1\r\n11\r\n.5\r\n21\r\n4\r\n")
                                        << u"L(100,-25)(0.5,4)"_s;
    QTest::newRow("file cut inside a line") << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n20\n2\n11\n")
                                            << QString();
}

void TstDxf::imports()
{
    QFETCH(QByteArray, dxf);
    QFETCH(QString, expected);
    CPictire pic;
    pic.AddArc({1, 1}, {2, 2}, {3, 1}); // replaced by the import
    QString err;
    QVERIFY2(pic.InputDXF(write(dxf), &err), qPrintable(err));
    QCOMPARE(describe(pic), expected);
}

void TstDxf::fileFromCadProgram()
{
    CPictire pic;
    QString err;
    QVERIFY2(pic.InputDXF(QStringLiteral(DRAWING_TEST_DATA "/window.dxf"), &err), qPrintable(err));
    QCOMPARE(describe(pic), u"L(750,0)(750,1800) L(0,600)(1500,600) R(0,0)(1500,1800) "
                            "D(0,0)(1500,0)(1500,-400) D(0,0)(0,1800)(-400,1800) "
                            "T(750,-380)[1500, W] T(-380,900)[]"_s);
}

// Made by ezdxf with data/make_dxf_fixtures.py: the same window in four versions and encodings.
void TstDxf::filesOfEveryVersionAndEncoding_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("leftOut");
    const QString window = u"L(750,0)(750,1800) R(0,0)(1500,1800) D(0,0)(1500,0)(0,-400) T(750,-400)[%1]"_s;
    QTest::newRow("R12, Chinese code page") << u"r12-ansi936.dxf"_s
                                            << u"L(750,0)(750,1800) D(0,0)(1500,0)(0,-400) T(750,-400)[宽度<>]"_s
                                            << u"未导入：ARC 1，POLYLINE 1，TEXT 1"_s;
    // Its TEXT's degree sign is the byte B0, which neither GBK nor UTF-8 can read.
    QTest::newRow("R12, Western code page, escapes") << u"r12-ansi1252.dxf"_s
                                                     << u"L(750,0)(750,1800) D(0,0)(1500,0)(0,-400) T(750,-400)[宽度<>]"_s
                                                     << u"未导入：ARC 1，POLYLINE 1，TEXT 1"_s;
    QTest::newRow("R2000, escapes and %%d") << u"r2000-escapes.dxf"_s << window.arg(u"宽度<>°"_s)
                                          << u"未导入：ARC 1，TEXT 1"_s;
    QTest::newRow("R2018, UTF-8 whatever the code page") << u"r2018-utf8.dxf"_s << window.arg(u"宽度<>"_s)
                                                        << u"未导入：ARC 1，TEXT 1"_s;
}

void TstDxf::filesOfEveryVersionAndEncoding()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QFETCH(QString, leftOut);
    Notices notices;
    CPictire pic;
    QString err;
    QVERIFY2(pic.InputDXF(QStringLiteral(DRAWING_TEST_DATA "/") + file, &err), qPrintable(err));
    QCOMPARE(describe(pic), expected);
    QCOMPARE(notices.texts, QStringList{leftOut});
    QCOMPARE(notices.titles, QStringList{u"导入DXF图"_s});
}

void TstDxf::textsAreDecoded_data()
{
    QTest::addColumn<QByteArray>("header"); // $ACADVER and $DWGCODEPAGE
    QTest::addColumn<QByteArray>("text");    // the dimension text as stored
    QTest::addColumn<QString>("expected");
    const auto header = [](const QByteArray &version, const QByteArray &page) {
        QByteArray h = "0\nSECTION\n2\nHEADER\n";
        if (!version.isEmpty())
            h += "9\n$ACADVER\n1\n" + version + "\n";
        if (!page.isEmpty())
            h += "9\n$DWGCODEPAGE\n3\n" + page + "\n";
        return h + "0\nENDSEC\n";
    };
    QTest::newRow("R2007 is UTF-8 whatever its code page")
        << header("AC1021", "ANSI_936") << QByteArray("\xE5\xAE\xBD 90\xC2\xB0") << u"宽 90°"_s;
    QTest::newRow("R2000 in the Chinese code page") << header("AC1015", "ANSI_936")
                                                    << QByteArray("\xBF\xED 90\xA1\xE3") << u"宽 90°"_s;
    QTest::newRow("R12 in the Western code page") << header("AC1009", "ANSI_1252") << QByteArray("90\xB0 \xE9")
                                                  << u"90° é"_s;
    QTest::newRow("another code page iconv knows") << header("AC1015", "ANSI_1251") << QByteArray("\xC4\xE2\xE5\xF0\xFC")
                                                   << u"Дверь"_s;
    QTest::newRow("a code page iconv lacks keeps the rule of no header")
        << header("AC1015", "ANSI_99999") << QByteArray("\xBF\xED") << u"宽"_s;
    QTest::newRow("a byte that does not decode") << header("AC1015", "ANSI_936") << QByteArray("\xBF\xED\xFF" "90")
                                                 << u"宽\uFFFD90"_s;
    QTest::newRow("broken UTF-8") << header("AC1032", {}) << QByteArray("\xE5\xAE 1") << u"\uFFFD\uFFFD 1"_s;
    QTest::newRow("escapes") << header("AC1015", "ANSI_1252") << QByteArray("\\U+5bbd\\u+5EA6<>")
                             << u"宽度<>"_s;
    QTest::newRow("signs in either case") << header("AC1015", "ANSI_1252") << QByteArray("%%c20 90%%D %%p1 %%%%x 50%")
                                          << u"⌀20 90° ±1 %%%%x 50%"_s;
    QTest::newRow("escapes cut short stay as they are") << header({}, {}) << QByteArray("\\U+5bb \\U+") << u"\\U+5bb \\U+"_s;
}

void TstDxf::textsAreDecoded()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    // A TEXT in the same encoding, which the import passes over, refuses nothing either.
    const QByteArray body = "0\nTEXT\n1\n" + text + "\n0\nDIMENSION\n1\n" + text
                            + "\n11\n7\n21\n8\n13\n0\n23\n0\n14\n1\n24\n0\n";
    Notices notices;
    CPictire pic;
    QString err;
    QVERIFY2(pic.InputDXF(write(header + entities(body)), &err), qPrintable(err));
    QCOMPARE(pic.lists().StringLast, qint16(0));
    QCOMPARE(pic.lists().StringArr[0].text, expected);
}

void TstDxf::leftOutEntitiesAreTold_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("notices");
    QTest::newRow("nothing left out") << QByteArray("0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n") << QStringList();
    QTest::newRow("kinds in order, parts of entities not counted")
        << QByteArray("0\nINSERT\n2\nB\n0\nATTRIB\n1\nx\n0\nSEQEND\n0\nCIRCLE\n0\nARC\n0\nINSERT\n"
                      "0\nPOLYLINE\n0\nVERTEX\n0\nVERTEX\n0\nSEQEND\n0\nARC\n")
        << QStringList{u"未导入：ARC 2，CIRCLE 1，INSERT 2，POLYLINE 1"_s};
    QTest::newRow("a polyline too short for a rectangle")
        << QByteArray("0\nLWPOLYLINE\n10\n0\n20\n0\n10\n5\n20\n0\n0\nLINE\n10\n1\n20\n2\n11\n3\n21\n4\n")
        << QStringList{u"未导入：LWPOLYLINE 1"_s};
}

void TstDxf::leftOutEntitiesAreTold()
{
    QFETCH(QByteArray, body);
    QFETCH(QStringList, notices);
    // Entities in block definitions are not the drawing's, and not counted.
    const QByteArray blocks = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n0\nCIRCLE\n0\nENDBLK\n0\nENDSEC\n";
    Notices told;
    CPictire pic;
    QVERIFY(pic.InputDXF(write(blocks + entities(body))));
    QCOMPARE(told.texts, notices);
}

void TstDxf::capacityMessageOncePerImport()
{
    QByteArray body;
    for (int i = 0; i < 400; ++i)
        body += "0\nLINE\n10\n" + QByteArray::number(i) + "\n20\n0\n11\n1\n21\n1\n";
    Notices notices;
    CPictire pic;
    QVERIFY(pic.InputDXF(write(entities(body))));
    QCOMPARE(pic.lists().LineLast, qint16(360));
    QCOMPARE(pic.lists().LineArr[360].P1.X, 360.0f);
    QCOMPARE(notices.texts, QStringList{u"数组超出范围,请与程序员联系"_s});
}

void TstDxf::failedImportKeepsDrawing_data()
{
    QTest::addColumn<QByteArray>("dxf");
    QTest::newRow("coordinate not a number") << entities("0\nLINE\n10\n1\n20\n2\n11\nthree\n21\n4\n");
    QTest::newRow("group code not a number") << entities("0\nLINE\nten\n1\n");
    QTest::newRow("missing file") << QByteArray();
}

void TstDxf::failedImportKeepsDrawing()
{
    QFETCH(QByteArray, dxf);
    CPictire pic;
    pic.AddLine({5, 5}, {6, 6});
    const QString path = dxf.isEmpty() ? m_dir.filePath(u"missing.dxf"_s) : write(dxf);
    QString err;
    QVERIFY(!pic.InputDXF(path, &err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(describe(pic), u"L(5,5)(6,6)"_s);
}

QTEST_GUILESS_MAIN(TstDxf)
#include "tst_dxf.moc"
