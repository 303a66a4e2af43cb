// The simple cut list: records from job lines, grouping into type entries and pages, and the page
// layout on a surface and on the printer.
#include "sheetdata.h"

#include "../platform/pagecheck.h"
#include "platform/surface_recording.h"
#include "sheets/simplebuy.h"

using namespace Qt::StringLiterals;
using namespace sheets;

namespace {

SimpleBuyInput input(const QString &type, const QString &size = u"1500*1200"_s)
{
    SimpleBuyInput in;
    in.record[0] = size;
    in.record[1] = u"1"_s;
    in.typeKey = type;
    in.drawingNumber = QString();
    in.typeName = u"名"_s + type;
    return in;
}

// Adds records of the given types (one letter each) and closes the list.
void fill(SimpleBuyTable &t, const QString &types)
{
    for (QChar c : types)
        t.AddRecord(input(QString(c)));
    t.AddRecordEnd();
}

QStringList textsOf(const platform::RecordingSurface &s, int page = -1)
{
    QStringList out;
    for (const platform::SurfaceOp &op : s.texts(page))
        out << op.text;
    return out;
}

bool hasTextAtMm(const platform::RecordingSurface &s, const QString &text, float xMm, float yMm, int page = -1)
{
    const QPointF at(SimpleBuyTable::MmToTwips(xMm), SimpleBuyTable::MmToTwips(yMm));
    for (const platform::SurfaceOp &op : s.texts(page)) {
        if (op.text == text && qAbs(op.a.x() - at.x()) < 0.01 && qAbs(op.a.y() - at.y()) < 0.01)
            return true;
    }
    return false;
}

} // namespace

class TestSimpleBuy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testfixture::DataFolder> fx;

private slots:
    void init()
    {
        fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(fx->setUp());
        QVERIFY(projectdata::fillLibrary());
    }
    void cleanup() { fx.reset(); }

    // Types as letters in row order; pages as "first-last records / first-last entries"; captions of
    // every page joined.
    void paging_data()
    {
        QTest::addColumn<QString>("types");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("18 of one type") << QString(18, u'A') << QStringList{u"1-18/1-1"_s}
                                        << QStringList{u"1~18为:名A"_s};
        QTest::newRow("19 of one type") << QString(19, u'A') << QStringList{u"1-18/1-1"_s, u"19-19/2-2"_s}
                                        << QStringList{u"1~18为:名A"_s, u"1~1为:名A"_s};
        QTest::newRow("fourth type closes the page")
            << u"ABCDD"_s << QStringList{u"1-4/1-4"_s, u"5-5/5-5"_s}
            << QStringList{u"1~1为:名A|2~2为:名B|3~3为:名C|4~4为:名D"_s, u"1~1为:名D"_s};
        QTest::newRow("a type coming back") << u"ABA"_s << QStringList{u"1-3/1-3"_s}
                                            << QStringList{u"1~1为:名A|2~2为:名B|3~3为:名A"_s};
        QTest::newRow("runs") << u"AAABB"_s << QStringList{u"1-5/1-2"_s} << QStringList{u"1~3为:名A|4~5为:名B"_s};
        QTest::newRow("nothing") << QString() << QStringList{} << QStringList{};
    }
    void paging()
    {
        QFETCH(QString, types);
        QFETCH(QStringList, pages);
        QFETCH(QStringList, captions);
        SimpleBuyTable t;
        fill(t, types);
        QCOMPARE(t.PageCount(), pages.size());
        QStringList got, gotCaptions;
        for (const SimpleBuyPage &p : t.pages())
            got << u"%1-%2/%3-%4"_s.arg(p.firstRecord).arg(p.lastRecord).arg(p.firstType).arg(p.lastType);
        for (int p = 1; p <= t.PageCount(); ++p)
            gotCaptions << t.pageCaptions(p).join(u'|');
        QCOMPARE(got, pages);
        QCOMPARE(gotCaptions, captions);
        // Pages cover every record in order, with no more than four entries each.
        int next = 1;
        for (const SimpleBuyPage &p : t.pages()) {
            QCOMPARE(p.firstRecord, next);
            QVERIFY(p.lastType - p.firstType < 4);
            QVERIFY(p.lastRecord - p.firstRecord < 18);
            next = p.lastRecord + 1;
        }
        QCOMPARE(next - 1, int(t.records().size()));
    }

    void clearAllKeepsTheName()
    {
        SimpleBuyTable t;
        t.setProjectName(u"工程甲"_s);
        fill(t, u"AB"_s);
        t.ClearAll();
        QCOMPARE(t.PageCount(), 0);
        QVERIFY(t.records().isEmpty());
        QCOMPARE(t.ProjectName(), u"工程甲"_s);
        fill(t, u"C"_s);
        QCOMPARE(t.PageCount(), 1);
        QCOMPARE(t.pageCaptions(1), QStringList{u"1~1为:名C"_s});
    }

    void recordsFromJobLines()
    {
        QVERIFY(sheetdata::addType(30, u"推拉窗"_s, 101,
                                   {{u"框b"_s, u"X"_s, u"2.6"_s, u"B-10.5"_s},
                                    {u"框H"_s, u"X"_s, u"2"_s, u"H"_s},
                                    {u"框H"_s, u"X"_s, u"4"_s, u"H-100"_s},
                                    {u"扇B"_s, u"X"_s, u"2"_s, u"B/6000"_s},
                                    {u"中梃"_s, u"X"_s, u"1"_s, u"B"_s}}));
        QVERIFY(sheetdata::addType(31, u"无关型材"_s, 102, {{u"中梃"_s, u"X"_s, u"1"_s, u"B"_s}}));
        QVERIFY(sheetdata::addType(32, u"无型材"_s, 103, {}, {{u"钢"_s, u"G"_s, u"1"_s, u"1"_s}}));
        const qint64 job = sheetdata::addJob();
        const project::JobLine plain = sheetdata::addPlain(job, 30, projectdata::fields(u"C1"_s, u"1500"_s, u"1200"_s, u"3"_s),
                                                           {{u"B"_s, u"1500"_s, 0, 0}, {u"H"_s, u"1200"_s, 0, 0}});
        QString error;
        auto in = simpleBuyInput(plain, &error);
        QVERIFY2(in, qPrintable(error));
        QVERIFY(*in);
        const SimpleBuyRecord expected{u"1500*1200"_s, u"3"_s, u"1489.5"_s, u"6"_s, u"1100"_s, u"12"_s,
                                       u".25"_s,       u"6"_s, QString(),   QString(), QString(), QString(),
                                       QString(),      QString()};
        QCOMPARE((*in)->record, expected);
        QCOMPARE((*in)->typeKey, u"30"_s);
        QCOMPARE((*in)->drawingNumber, u"101"_s);
        QCOMPARE((*in)->typeName, u"推拉窗"_s);

        // None of the six names: size and units only.
        const project::JobLine other = sheetdata::addPlain(job, 31, projectdata::fields(u"C2"_s), {});
        in = simpleBuyInput(other);
        QVERIFY(in && *in);
        QCOMPARE((*in)->record[0], u"1500*1200"_s);
        for (size_t f = 2; f < 14; ++f)
            QVERIFY((*in)->record[f].isEmpty());

        // No profile rows, and every combined line: no record.
        const project::JobLine noProfiles = sheetdata::addPlain(job, 32, projectdata::fields(u"C3"_s), {});
        in = simpleBuyInput(noProfiles);
        QVERIFY(in && !*in);
        const project::JobLine combined = sheetdata::addCombined(job, 900, projectdata::fields(u"Z"_s), {},
                                                                 {{30, u"推拉窗10"_s, {}, 1}});
        in = simpleBuyInput(combined);
        QVERIFY(in && !*in);

        std::unique_ptr<SimpleBuyTable> t =
            buildSimpleBuyTable({plain, combined, noProfiles, other}, u"滨江花园"_s, &error);
        QVERIFY2(t, qPrintable(error));
        QCOMPARE(t->records().size(), 2);
        QCOMPARE(t->PageCount(), 1);
        QCOMPARE(t->ProjectName(), u"滨江花园"_s);
        QCOMPARE(t->pageCaptions(1), (QStringList{u"1~1为:推拉窗"_s, u"2~2为:无关型材"_s}));

        QCOMPARE(buildSimpleBuyTable({}, u"x"_s)->PageCount(), 0);
    }

    void unreadableTablesFailTheList()
    {
        const qint64 job = sheetdata::addJob();
        const project::JobLine plain = sheetdata::addPlain(job, 1, projectdata::fields(u"C1"_s), {});
        QVERIFY(typedata::run(u"DROP TABLE 窗型材"_s));
        QString error;
        QVERIFY(!buildSimpleBuyTable({plain}, u"x"_s, &error));
        QVERIFY(!error.isEmpty());
    }

    void pageLayout()
    {
        QVERIFY(projectdata::saveDrawing(150, u"图"_s, {{u"不画"_s, 1, 1}}));
        SimpleBuyTable t;
        t.setToday(QDate(2026, 12, 8));
        t.setProjectName(u"滨江花园"_s);
        SimpleBuyInput in = input(u"A"_s);
        in.drawingNumber = u"150"_s;
        in.record[2] = u"1489.5"_s;
        t.AddRecord(in);
        t.AddRecord(input(u"B"_s, u"900*600"_s));
        t.AddRecordEnd();

        platform::RecordingSurface s(12000, 17000);
        QFont f = s.font();
        f.setPointSizeF(9);
        s.setFont(f);
        t.OutToObject(s, 1);
        QVERIFY(hasTextAtMm(s, u"门 窗 简 料 单"_s, 70, 21));
        QVERIFY(hasTextAtMm(s, u"滨江花园"_s, 53, 30));
        QVERIFY(hasTextAtMm(s, u"尺寸规格"_s, 17, 38));
        QVERIFY(hasTextAtMm(s, u"固定框H"_s, 178, 38));
        QVERIFY(hasTextAtMm(s, u"1"_s, 7, 46));
        QVERIFY(hasTextAtMm(s, u"1500*1200"_s, 17, 46));
        QVERIFY(hasTextAtMm(s, u"1489.5"_s, 53, 46));
        QVERIFY(hasTextAtMm(s, u"2"_s, 7, 54));
        QVERIFY(hasTextAtMm(s, u"900*600"_s, 17, 54));
        QVERIFY(hasTextAtMm(s, u"1~1为:名A"_s, 7, 246));
        QVERIFY(hasTextAtMm(s, u"2~2为:名B"_s, 56, 246));
        const QString today = u"2026年12月8日"_s;
        QVERIFY(hasTextAtMm(s, u"下料时间："_s + today, 126, 192));
        QVERIFY(!textsOf(s).contains(u"不画"_s));
        // The drawing of entry 1 lies inside box 0.
        const QRectF box0(QPointF(SimpleBuyTable::MmToTwips(5), SimpleBuyTable::MmToTwips(204)),
                          QPointF(SimpleBuyTable::MmToTwips(54), SimpleBuyTable::MmToTwips(244)));
        bool drawn = false;
        for (const QLineF &l : s.lines()) {
            if (QLineF(l.p1(), box0.topLeft()).length() < 0.5 && QLineF(l.p2(), box0.bottomRight()).length() < 0.5)
                drawn = true;
        }
        QVERIFY(drawn);
        // No line at 196 mm, the frame's bold and size restored.
        for (const QLineF &l : s.lines())
            QVERIFY(qAbs(l.y1() - SimpleBuyTable::MmToTwips(196)) > 1 || l.y1() != l.y2());
        QVERIFY(!s.font().bold());
        QCOMPARE(s.font().pointSizeF(), 9.0);
        QCOMPARE(SimpleBuyTable::MmToTwips(100), 5669.0f);
    }

    void pagesOutOfRangeDrawNothing()
    {
        SimpleBuyTable t;
        fill(t, u"AB"_s);
        platform::RecordingSurface s;
        t.OutToObject(s, 0);
        t.OutToObject(s, 2);
        t.PrintPage(s, 0);
        t.PrintPage(s, 5);
        QVERIFY(s.ops.isEmpty());
        SimpleBuyTable empty;
        empty.AddRecordEnd();
        empty.PrintPageAll(s);
        QVERIFY(s.ops.isEmpty());
    }

    void printing()
    {
        SimpleBuyTable t;
        for (int i = 1; i <= 40; ++i)
            t.AddRecord(input(u"A"_s, u"S%1"_s.arg(i)));
        t.AddRecordEnd();
        QCOMPARE(t.PageCount(), 3);

        platform::RecordingSurface all;
        t.PrintPageAll(all);
        QCOMPARE(all.count(platform::SurfaceOp::NewPage), 2);
        QCOMPARE(all.count(platform::SurfaceOp::EndDocument), 1);
        QCOMPARE(all.ops.constLast().kind, platform::SurfaceOp::EndDocument);
        QVERIFY(textsOf(all, 0).contains(u"S18"_s));
        QVERIFY(textsOf(all, 1).contains(u"S19"_s));
        QVERIFY(textsOf(all, 2).contains(u"S40"_s));
        QVERIFY(!all.font().bold());

        platform::RecordingSurface one;
        t.PrintPage(one, 2);
        QCOMPARE(one.count(platform::SurfaceOp::NewPage), 0);
        QCOMPARE(one.count(platform::SurfaceOp::EndDocument), 1);
        QVERIFY(textsOf(one).contains(u"S19"_s));
        QVERIFY(!textsOf(one).contains(u"S18"_s));
        QVERIFY(textsOf(one).contains(u"门 窗 简 料 单"_s));
    }

    // On A4 in the print font: a long job name, long type names and long cut lengths stay in their
    // cells, the page keeps 6 mm from each edge and is centred across the sheet.
    void longTextsKeepToA4()
    {
        SimpleBuyTable t;
        t.setProjectName(u"滨江花园二期十二号楼至十八号楼及地下车库门窗工程(东区一标段及配套商业用房)"_s);
        SimpleBuyInput in = input(u"A"_s, u"15000.5*12000.25"_s);
        in.typeName = u"双扇平开窗带上亮及转角立柱(加强型)"_s;
        for (int i = 2; i < 14; i += 2)
            in.record[size_t(i)] = u"12345.678"_s;
        t.AddRecord(in);
        in.typeKey = u"B"_s;
        t.AddRecord(in);
        t.AddRecordEnd();
        const QSizeF a4 = platform::a4Twips(QPageLayout::Portrait);
        platform::RecordingSurface s = platform::RecordingSurface::paper(a4.width(), a4.height());
        s.setFont(QFont(u"WenQuanYi Micro Hei"_s, 9));
        t.PrintPageAll(s);
        const QStringList faults = pagecheck::pageFaults(s.ops, a4);
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults).constData());
        double left = a4.width(), right = 0;
        for (const QLineF &l : s.lines()) {
            left = std::min({left, l.x1(), l.x2()});
            right = std::max({right, l.x1(), l.x2()});
        }
        QVERIFY(std::abs(left - (a4.width() - right)) < 1);
        QVERIFY(pagecheck::printedText(s).contains(u"(东区一标段及配套商业用房)"_s));
        QVERIFY(pagecheck::printedText(s).contains(u"2~2为:双扇平开窗带上亮及转角立柱(加强型)"_s));
    }
};

QTEST_MAIN(TestSimpleBuy)
#include "tst_simplebuy.moc"
