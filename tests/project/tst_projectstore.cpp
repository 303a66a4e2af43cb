// The job tables' store: numbering, cascades, combined windows, copying and contract sheets, each
// change all or nothing.
#include "projectdata.h"
#include "../platform/pagecheck.h"
#include "platform/faces.h"

#include "project/contractreport.h"
#include "project/dimensions.h"

using namespace Qt::StringLiterals;
using namespace project;
using projectdata::dump;
using projectdata::fields;
using projectdata::rows;

class TestProjectStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testfixture::DataFolder> fx;

    // Job 1 with a plain line (type 1, two labels) and a combined line (main 900, one component of
    // type 2 with count 3, one main label); job 2 with a plain line; a contract sheet for each job.
    struct Sample
    {
        qint64 job1 = 0, job2 = 0, plain = 0, combined = 0, other = 0;
    };
    Sample makeSample()
    {
        ProjectStore store;
        Sample s;
        s.job1 = store.addJob({0, u"HT1"_s, u"工程一"_s, u"地点"_s, u"甲方"_s}).value_or(0);
        s.job2 = store.addJob({0, u"HT2"_s, u"工程二"_s, u"地点"_s, u"甲方"_s}).value_or(0);
        s.plain = store.addPlainLine(s.job1, 1, fields(u"C1"_s), {{u"B"_s, u"1500"_s, 1, 2}, {u"H"_s, u"1200"_s, 3, 4}})
                      .value_or(0);
        [&] {
            QVERIFY(store.clearWorkRows());
            QVERIFY(store.replaceMainWorkRows(-900, u"组合主图10"_s, {{u"B"_s, u"3000"_s, 10, 20}}));
            QVERIFY(store.addComponentWorkRows(2, u"T211"_s, {{u" b "_s, u"0"_s, 50, 60}}));
            QVERIFY(store.storeWorkNode({2, u"T211"_s}, {{u" b "_s, u"900"_s, 50, 60}}, 3));
        }();
        s.combined = store.saveCombinedLine(0, s.job1, 900, fields(u"Z1"_s)).value_or(0);
        s.other = store.addPlainLine(s.job2, 3, fields(u"C2"_s), {{u"X"_s, u"1"_s, 0, 0}}).value_or(0);
        ContractTexts texts;
        texts.fill(u"t"_s);
        store.saveContract(s.job1, texts, u"甲订货单"_s);
        store.saveContract(s.job2, texts, u"乙订货单"_s);
        return s;
    }

private slots:
    void init()
    {
        fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(fx->setUp());
        QVERIFY(projectdata::fillLibrary());
    }
    void cleanup() { fx.reset(); }

    void jobsAreNumberedAndKeepTextsAsTyped()
    {
        ProjectStore store;
        QCOMPARE(store.addJob({0, u"HT'1"_s, u"O'Brien 工程"_s, u"a\"b"_s, u"--;"_s}), std::optional<qint64>(1));
        QCOMPARE(store.addJob({0, u"2"_s, u"B"_s, u"C"_s, u"D"_s}), std::optional<qint64>(2));
        QVERIFY(store.updateJob({1, u"x"_s, u"名'称"_s, u"y"_s, u"z"_s}));
        const auto jobs = store.loadJobs();
        QVERIFY(jobs);
        QCOMPARE(jobs->size(), 2);
        QCOMPARE(jobs->at(0).name, u"名'称"_s);
        QCOMPARE(jobs->at(0).contractNo, u"x"_s);
        QCOMPARE(jobs->at(1).client, u"D"_s);
    }

    void deletingAJobRemovesEverythingUnderIt()
    {
        const Sample s = makeSample();
        ProjectStore store;
        QVERIFY(store.deleteJob(s.job1));
        QCOMPARE(rows(u"工程"_s).size(), 1);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 工程门窗 WHERE 工程编号=?"_s, {s.job1}), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注 WHERE MCNUM IN (?,?)"_s, {s.plain, s.combined}), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2"_s), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 工程合同 WHERE HTBN=?"_s, {s.job1}), 0);
        // The other job is untouched.
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注 WHERE MCNUM=?"_s, {s.other}), 1);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 工程合同 WHERE HTBN=?"_s, {s.job2}), 1);
        // A job without lines still goes with its sheet.
        QVERIFY(store.deleteJob(s.job2));
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 工程合同"_s), 0);
        QCOMPARE(rows(u"工程"_s).size(), 0);
    }

    void failedChangesLeaveNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("change");
        QTest::newRow("job delete, contract") << u"工程合同"_s << u"DELETE"_s << u"deleteJob"_s;
        QTest::newRow("job delete, components") << u"标注2"_s << u"DELETE"_s << u"deleteJob"_s;
        QTest::newRow("line delete, dimensions") << u"标注"_s << u"DELETE"_s << u"deleteLine"_s;
        QTest::newRow("plain add, dimensions") << u"标注"_s << u"INSERT"_s << u"addPlain"_s;
        QTest::newRow("plain edit, dimensions") << u"标注"_s << u"INSERT"_s << u"editPlain"_s;
        QTest::newRow("copy, components") << u"标注2"_s << u"INSERT"_s << u"copy"_s;
        QTest::newRow("combined save, dimensions") << u"标注"_s << u"INSERT"_s << u"saveCombined"_s;
        QTest::newRow("contract save, insert") << u"工程合同"_s << u"INSERT"_s << u"contract"_s;
    }
    void failedChangesLeaveNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, event);
        QFETCH(QString, change);
        const Sample s = makeSample();
        ProjectStore store;
        // Work rows of an open combined dialog, for the combined save.
        QVERIFY(store.replaceMainWorkRows(-900, u"主"_s, {{u"B"_s, u"1"_s, 0, 0}}));
        const QStringList before = dump();
        QVERIFY(typedata::breakTable(table, event));
        bool ok = true;
        ContractTexts texts;
        texts.fill(u"new"_s);
        if (change == u"deleteJob"_s)
            ok = store.deleteJob(s.job1);
        else if (change == u"deleteLine"_s)
            ok = store.deleteLine(s.plain);
        else if (change == u"addPlain"_s)
            ok = store.addPlainLine(s.job1, 1, fields(u"N"_s), {{u"B"_s, u"1"_s, 0, 0}}).has_value();
        else if (change == u"editPlain"_s)
            ok = store.updatePlainLine(s.plain, fields(u"N"_s), {{u"B"_s, u"1"_s, 0, 0}});
        else if (change == u"copy"_s)
            ok = store.copyLines(s.job2, *store.loadLines(s.job1)).has_value();
        else if (change == u"saveCombined"_s)
            ok = store.saveCombinedLine(s.combined, s.job1, 900, fields(u"N"_s)).has_value();
        else if (change == u"contract"_s)
            ok = store.saveContract(s.job1, texts, u"T"_s);
        QVERIFY(!ok);
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(dump(), before);
    }

    void plainLines()
    {
        ProjectStore store;
        const qint64 job = *store.addJob({0, u"1"_s, u"J"_s, u"S"_s, u"C"_s});
        const QList<NamedDimension> dims = {{u"B"_s, u"1'500"_s, 100, 200.5}, {u"H"_s, u"0"_s, 3, 4}};
        QCOMPARE(store.addPlainLine(job, 1, fields(u"C'1"_s), dims), std::optional<qint64>(1));
        QCOMPARE(store.addPlainLine(job, 2, fields(u"C2"_s, u"900"_s, u"600"_s, u"1"_s), {}), std::optional<qint64>(2));
        // Stored in the physical order Px, Py, schar, MCNUM, MC; position 7 of the line left empty.
        QCOMPARE(rows(u"标注"_s), (QStringList{u"100|200.5|1'500|1|B"_s, u"3|4|0|1|H"_s}));
        QCOMPARE(rows(u"工程门窗"_s).at(0), u"1|1|1|C'1|一层|1500|1200||2|备注"_s);
        QCOMPARE(store.loadDimensions(1), std::optional<QList<NamedDimension>>(dims));

        QVERIFY(store.updatePlainLine(1, fields(u"新"_s, u"1600"_s), {{u"B"_s, u"1600"_s, 100, 200.5}}));
        const auto lines = store.loadLines(job);
        QVERIFY(lines);
        QCOMPARE(lines->size(), 2);
        const JobLine &edited = lines->at(0);
        QCOMPARE(edited.fields.name, u"新"_s);
        QCOMPARE(edited.fields.width, u"1600"_s);
        QCOMPARE(edited.typeNo, u"1"_s);
        QCOMPARE(edited.id, u"1"_s);
        QCOMPARE(edited.jobId, QString::number(job));
        QCOMPARE(rows(u"标注"_s), (QStringList{u"100|200.5|1600|1|B"_s}));

        // A size that is no number (a B value copied into the width) is refused.
        QVERIFY(!store.updatePlainLine(1, fields(u"x"_s, u"12a"_s), {}));
        QVERIFY(!store.addPlainLine(job, 1, fields(u"x"_s, u"1"_s, u"1"_s, u"two"_s), {}));
        QCOMPARE(rows(u"工程门窗"_s).size(), 2);

        // An edit of a line that is gone is reported, not taken as done.
        QVERIFY(!store.updatePlainLine(99, fields(u"x"_s), {}));
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注 WHERE MCNUM=99"_s), 0);

        QVERIFY(store.deleteLine(1));
        QCOMPARE(rows(u"标注"_s).size(), 0);
        QCOMPARE(store.loadLines(job)->size(), 1);
    }

    void combinedLineSaveAndEdit()
    {
        const Sample s = makeSample();
        ProjectStore store;
        // Saved: main labels in 标注, components in 标注2 with their count, no work rows.
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN=-1"_s), 0);
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE CBN<0"_s), 0);
        QCOMPARE(store.loadDimensions(s.combined),
                 std::optional<QList<NamedDimension>>({{u"B"_s, u"3000"_s, 10, 20}}));
        const auto part = store.OpenZHMCPartRs(s.combined, u"T211"_s, 2);
        QVERIFY(part);
        QCOMPARE(part->size(), 1);
        QCOMPARE(part->at(0).dim.value, u"900"_s);
        QCOMPARE(part->at(0).count.toInt(), 3);
        const auto lines = store.loadLines(s.job1);
        QCOMPARE(lines->at(1).typeNo, u"-900"_s);
        QVERIFY(lines->at(1).isCombined());
        QVERIFY(!lines->at(0).isCombined());

        // Rows left by a dialog that ended abnormally do not join the edit.
        QVERIFY(store.addComponentWorkRows(5, u"stale"_s, {{u"X"_s, u"0"_s, 0, 0}}));
        QVERIFY(store.beginCombinedEdit(s.combined, -900, u"Z1"_s));
        const auto keys = store.componentKeys(kWorkMcbn);
        QVERIFY(keys);
        QCOMPARE(*keys, (QList<ComponentKey>{{-900, u"Z1"_s}, {2, u"T211"_s}}));
        const auto mainRows = store.OpenZHMCPartRs(kWorkMcbn, u"Z1"_s, -900);
        QCOMPARE(mainRows->size(), 1);
        QCOMPARE(mainRows->at(0).dim.value, u"3000"_s);
        QVERIFY(mainRows->at(0).count.isNull());
        // The stored rows stay while the dialog works on copies.
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN=?"_s, {s.combined}), 1);

        QVERIFY(store.storeWorkNode({-900, u"Z1"_s}, {{u"B"_s, u"3100"_s, 10, 20}}, 1));
        QVERIFY(store.removeWorkNode({2, u"T211"_s}));
        QCOMPARE(store.saveCombinedLine(s.combined, s.job1, 900, fields(u"Z2"_s)), std::optional<qint64>(s.combined));
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2"_s), 0);
        QCOMPARE(store.loadDimensions(s.combined)->at(0).value, u"3100"_s);
        QCOMPARE(store.loadLines(s.job1)->at(1).fields.name, u"Z2"_s);
        QCOMPARE(store.loadLines(s.job1)->size(), 2);

        // A second main drawing replaces the first one's work rows; the components stay.
        QVERIFY(store.replaceMainWorkRows(-901, u"A10"_s, {{u"B"_s, u"0"_s, 0, 0}}));
        QVERIFY(store.addComponentWorkRows(1, u"T111"_s, {{u"B"_s, u"0"_s, 0, 0}}));
        QVERIFY(store.replaceMainWorkRows(-902, u"C12"_s, {{u"H"_s, u"0"_s, 0, 0}}));
        QCOMPARE(*store.componentKeys(kWorkMcbn), (QList<ComponentKey>{{-902, u"C12"_s}, {1, u"T111"_s}}));
        QVERIFY(store.clearWorkRows());
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2"_s), 0);
    }

    void copyingLines()
    {
        const Sample s = makeSample();
        ProjectStore store;
        const QStringList sourceRows = rows(u"标注"_s);
        QList<JobLine> chosen = *store.loadLines(s.job1);
        chosen << chosen.at(0);
        const auto ids = store.copyLines(s.job2, chosen);
        QVERIFY(ids);
        QCOMPARE(*ids, (QList<qint64>{s.other + 1, s.other + 2, s.other + 3}));
        const auto target = store.loadLines(s.job2);
        QCOMPARE(target->size(), 4);
        QCOMPARE(target->at(1).fields, chosen.at(0).fields);
        QCOMPARE(target->at(2).typeNo, u"-900"_s);
        QCOMPARE(store.loadDimensions(ids->at(0)), store.loadDimensions(s.plain));
        QCOMPARE(store.loadDimensions(ids->at(2)), store.loadDimensions(s.plain));
        QCOMPARE(store.loadDimensions(ids->at(1)), store.loadDimensions(s.combined));
        const auto copiedPart = store.OpenZHMCPartRs(ids->at(1), u"T211"_s, 2);
        QCOMPARE(copiedPart->size(), 1);
        QCOMPARE(copiedPart->at(0).count.toInt(), 3);
        // A plain line gets no component rows; the source stays as it was.
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 标注2 WHERE MCBN IN (?,?)"_s, {ids->at(0), ids->at(2)}), 0);
        QCOMPARE(store.loadLines(s.job1)->size(), 2);
        for (const QString &row : sourceRows)
            QVERIFY(rows(u"标注"_s).contains(row));
    }

    void contractSheets()
    {
        ProjectStore store;
        QCOMPARE(store.loadContract(7), std::optional<std::optional<ContractTexts>>(std::optional<ContractTexts>()));
        ContractTexts first;
        for (int i = 0; i < 13; ++i)
            first[size_t(i)] = u"a%1'"_s.arg(i);
        ContractTexts second = first;
        second[12].clear();
        QVERIFY(store.saveContract(7, first, u"甲订货单"_s));
        QVERIFY(store.saveContract(7, second, u"乙订货单"_s));
        QCOMPARE(projectdata::count(u"SELECT count(*) FROM 工程合同 WHERE HTBN=7"_s), 1);
        QCOMPARE(store.loadContract(7)->value(), second);
        QCOMPARE(rows(u"工程合同"_s).at(0).section(u'|', 13), u"乙订货单|7"_s);
    }

    void contractReportLayout()
    {
        QStringList fieldsRow;
        for (int i = 1; i <= 13; ++i)
            fieldsRow << u"T%1值"_s.arg(i);
        fieldsRow << u"塑钢公司订货单"_s << u"7"_s;
        const QList<QStringList> pages = platform::reportPageTexts(contractReport(fieldsRow));
        QCOMPARE(pages.size(), 1);
        const QString all = pages.at(0).join(u'\n');
        for (const QString &text : {u"塑钢公司订货单"_s, u"供方："_s, u"需方："_s, u"T1值"_s, u"T13值"_s,
                                    u"4.质量要求及技术标准，供方对质量负现的条件："_s, u"经办签章："_s,
                                    u"需方签章："_s})
            QVERIFY2(all.contains(text), qPrintable(text));
        QVERIFY(pages.at(0).indexOf(u"塑钢公司订货单"_s) < pages.at(0).indexOf(u"供方："_s));
    }

    // The sheet's own geometry: the title regular at its size, the signatures at the foot of the
    // one detail band, no page footer; and long texts keep to their boxes.
    void contractSheetOnPaper_data()
    {
        QTest::addColumn<QStringList>("texts");
        QStringList shortTexts, longTexts;
        const QString name60 = QString(u"塑钢门窗制造有限公司第二分公司"_s).repeated(4);
        for (int i = 1; i <= 13; ++i) {
            shortTexts << u"T%1值"_s.arg(i);
            longTexts << (i <= 6 ? name60 : QString(u"质量要求及技术标准，供方对质量负责的条件及期限。"_s).repeated(5));
        }
        longTexts[12] = QString(u"0123456789"_s).repeated(8); // no break point
        QTest::newRow("short texts") << (shortTexts << u"塑钢公司订货单"_s);
        QTest::newRow("60-character names, long clauses") << (longTexts << name60 + u"订货单"_s);
    }

    void contractSheetOnPaper()
    {
        QFETCH(QStringList, texts);
        const platform::Report report = contractReport(texts);
        const platform::RecordingSurface s = pagecheck::onPaper(report);
        const QStringList faults = pagecheck::pageFaults(s.ops, platform::a4Twips(report.orientation));
        QVERIFY2(faults.isEmpty(), pagecheck::summary(faults));
        QCOMPARE(s.pageCount(), 1);
        const QString all = pagecheck::printedText(s);
        for (const QString &t : texts.mid(0, 12))
            QVERIFY2(all.contains(t), qPrintable(t));
        QVERIFY(!all.contains(u"第1页"_s));
        auto find = [&s](const QString &text) {
            for (const platform::SurfaceOp &op : s.texts())
                if (op.text == text)
                    return op;
            return platform::SurfaceOp();
        };
        // Twips from the sheet's corner: the 1440 margin plus the layout's place.
        QCOMPARE(find(u"经办签章："_s).a, QPointF(1440 + 750, 1440 + 13470));
        QCOMPARE(find(u"需方签章："_s).a, QPointF(1440 + 5355, 1440 + 13485));
        QCOMPARE(find(u"供方："_s).a, QPointF(1440 + 585, 1440 + 2235));
        const platform::SurfaceOp label = find(u"4.质量要求及技术标准，供方对质量负现的条件："_s);
        QCOMPARE(label.font.pointSizeF(), 14.25);
        QCOMPARE(label.font.family(), platform::installedFamily(u"宋体"_s));
        if (texts.last().size() < 10) {
            const platform::SurfaceOp title = find(texts.last());
            QCOMPARE(title.font.pointSizeF(), 21.75);
            QVERIFY(!title.font.bold());
            QCOMPARE(title.a.y(), 1440.0 + 930);
        }
    }

    void drawingLabels()
    {
        const auto labels = project::drawingLabels(u"101"_s);
        QVERIFY(labels);
        QCOMPARE(*labels, (QList<NamedDimension>{{u"B"_s, u"0"_s, 100, 200},
                                                 {u"H"_s, u"0"_s, 4747.5, 300},
                                                 {u"H1"_s, u"0"_s, 9000, 7000}}));
        QCOMPARE(project::typeLabels(2)->size(), 1);
        QCOMPARE(project::typeLabels(2)->at(0).name, u" b "_s);
        QCOMPARE(project::typeLabels(3)->size(), 0);
        QVERIFY(!project::typeLabels(99));
        QVERIFY(typedata::run(u"UPDATE 门窗 SET 图号=NULL WHERE 编号=4"_s));
        QCOMPARE(project::typeLabels(4), std::optional<QList<NamedDimension>>(QList<NamedDimension>()));
        QCOMPARE(project::positionText(4747.5), u"4747.5"_s);
    }

    void lineKinds_data()
    {
        QTest::addColumn<QString>("typeNo");
        QTest::addColumn<bool>("combined");
        QTest::newRow("type") << u"7"_s << false;
        QTest::newRow("main drawing") << u"-900"_s << true;
        QTest::newRow("zero") << u"0"_s << true;
    }
    void lineKinds()
    {
        QFETCH(QString, typeNo);
        QFETCH(bool, combined);
        JobLine line;
        line.typeNo = typeNo;
        QCOMPARE(line.isCombined(), combined);
    }

    void sizeLabels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("width");
        QTest::addColumn<bool>("height");
        QTest::newRow("B") << u"B"_s << true << false;
        QTest::newRow("b with blanks") << u"  b "_s << true << false;
        QTest::newRow("h") << u"h"_s << false << true;
        QTest::newRow("B1") << u"B1"_s << false << false;
        QTest::newRow("H1") << u"H1"_s << false << false;
        QTest::newRow("empty") << QString() << false << false;
    }
    void sizeLabels()
    {
        QFETCH(QString, name);
        QFETCH(bool, width);
        QFETCH(bool, height);
        QCOMPARE(isWidthLabel(name), width);
        QCOMPARE(isHeightLabel(name), height);
    }

    void nextComponentNumber_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("next");
        QTest::newRow("empty") << QStringList() << u"10"_s;
        QTest::newRow("10, 11, 15") << QStringList{u"T110"_s, u"T211"_s, u"主图15"_s} << u"16"_s;
        QTest::newRow("non-digit start") << QStringList{u"窗a5"_s} << u"10"_s;
        QTest::newRow("hundreds count by last two") << QStringList{u"X105"_s, u"Y12"_s} << u"13"_s;
        QTest::newRow("one character") << QStringList{u"7"_s} << u"10"_s;
    }
    void nextComponentNumber()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, next);
        QCOMPARE(NextCBN(texts), next);
    }
};

QTEST_MAIN(TestProjectStore)
#include "tst_projectstore.moc"
