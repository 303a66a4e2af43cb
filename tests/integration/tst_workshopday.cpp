// One workshop day through the catalogue, drawing library, type library, jobs, component sheet,
// statistics, cutting optimisation and backup, checking that each subsystem reads what the one
// before it wrote: table columns, link numbers and the figures themselves.
#include "../app/fixture.h"

#include "app/backupstore.h"
#include "catalogue/store.h"
#include "design/typestore.h"
#include "drawing/cpictire.h"
#include "drawing/store.h"
#include "optimise/yhgather.h"
#include "optimise/yhrun.h"
#include "project/dimensions.h"
#include "project/projectstore.h"
#include "sheets/componentsheet.h"
#include "stats/expansion.h"
#include "stats/pricing.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <algorithm>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Rows of a query as "v1|v2|...", numbers in the general form.
QStringList queryRows(const QString &sql)
{
    QStringList out;
    QSqlQuery q(app::mainDb());
    if (!q.exec(sql)) {
        qWarning("%s", qPrintable(q.lastError().text()));
        return {u"<query failed>"_s};
    }
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << app::fieldText(q.value(i));
        out << fields.join(u'|');
    }
    return out;
}

QStringList jobTexts(const std::optional<QList<project::Job>> &jobs)
{
    if (!jobs)
        return {u"<read failed>"_s};
    QStringList out;
    for (const project::Job &j : *jobs)
        out << QStringList{QString::number(j.id), j.contractNo, j.name, j.site, j.client}.join(u'|');
    return out;
}

QList<QStringList> expectedSheetRows()
{
    using sheets::SheetSection;
    // B-2*KH1 = 1500-120 = 1380; H-2*KH1 = 1200-120 = 1080; panel 1370 x 1070. Per-unit counts
    // (whole pieces) times the line's 3 units: 2 x 3 = 6 bars of each piece, 1 x 3 of the rest.
    return {sheets::sectionTitleRow(SheetSection::Profiles),
            {u"1"_s, u"框"_s, u"KL60"_s, u"1380"_s, u"6"_s},
            sheets::sectionTitleRow(SheetSection::Steel),
            {u"1"_s, u"衬钢"_s, u"G20"_s, u"1080"_s, u"6"_s},
            sheets::sectionTitleRow(SheetSection::Fittings),
            {u"1"_s, u"执手"_s, u"ZS1"_s, u"个"_s, u"3"_s},
            sheets::sectionTitleRow(SheetSection::Panels),
            {u"1"_s, u"白玻5"_s, u"1370"_s, u"1070"_s, u"3"_s}};
}

} // namespace

class TestWorkshopDay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dayFromCatalogueToRestore();

private:
    void fillCatalogue();
    void drawWindow();
    void designType();
    void takeOrder();
    void checkSheet();
    void checkStatistics();
    void checkOptimisation();
    void backupAndRestore();

    std::unique_ptr<testfixture::DataFolder> m_fx;
    qint64 m_drawingNo = 0;
    qint64 m_typeNo = 0;
    qint64 m_jobId = 0;
    project::Job m_job;
    project::JobLine m_line;
    QList<project::NamedDimension> m_dims;
};

void TestWorkshopDay::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TestWorkshopDay::cleanup()
{
    m_fx.reset();
}

void TestWorkshopDay::dayFromCatalogueToRestore()
{
    const std::array<void (TestWorkshopDay::*)(), 8> steps = {
        &TestWorkshopDay::fillCatalogue,   &TestWorkshopDay::drawWindow,     &TestWorkshopDay::designType,
        &TestWorkshopDay::takeOrder,       &TestWorkshopDay::checkSheet,     &TestWorkshopDay::checkStatistics,
        &TestWorkshopDay::checkOptimisation, &TestWorkshopDay::backupAndRestore};
    for (auto step : steps) {
        (this->*step)();
        if (QTest::currentTestFailed())
            return;
    }
}

void TestWorkshopDay::fillCatalogue()
{
    using catalogue::ItemKind;
    using catalogue::MakerKind;
    catalogue::CatalogueStore store;
    const auto profiles = store.addMaker({0, u"华塑型材"_s, u"-"_s, u"-"_s, u"-"_s, int(MakerKind::Profile)});
    QVERIFY2(profiles, qPrintable(store.lastError()));
    const auto series = store.addSeries(*profiles, u"60系列"_s);
    QVERIFY2(series, qPrintable(store.lastError()));
    // 名称, 型号, 长度, 厚度, 颜色, 线密度 (kg/m), 吨价格
    QVERIFY2(store.addItem(ItemKind::Profile, *series, {u"框料"_s, u"KL60"_s, 6000.0, 2.5, u"白"_s, 1.25, 9600.0}),
             qPrintable(store.lastError()));

    const auto steel = store.addMaker({0, u"东钢"_s, u"-"_s, u"-"_s, u"-"_s, int(MakerKind::Steel)});
    QVERIFY2(steel, qPrintable(store.lastError()));
    QVERIFY2(store.addItem(ItemKind::Steel, *steel, {u"内衬钢"_s, u"G20"_s, 6000.0, 1.5, u"-"_s, 0.8, 5000.0}),
             qPrintable(store.lastError()));

    const auto glass = store.addMaker({0, u"明亮玻璃"_s, u"-"_s, u"-"_s, u"-"_s, int(MakerKind::Panel)});
    QVERIFY2(glass, qPrintable(store.lastError()));
    // 名称, 长, 宽, 厚度, 颜色, 平方单价
    QVERIFY2(store.addItem(ItemKind::Panel, *glass, {u"白玻5"_s, 2000.0, 1500.0, 5.0, u"无色"_s, 80.0}),
             qPrintable(store.lastError()));

    const auto fittings = store.addMaker({0, u"固安五金"_s, u"-"_s, u"-"_s, u"-"_s, int(MakerKind::Fitting)});
    QVERIFY2(fittings, qPrintable(store.lastError()));
    QVERIFY2(store.addItem(ItemKind::Fitting, *fittings, {u"铝执手"_s, u"ZS1"_s, u"个"_s, 35.0}),
             qPrintable(store.lastError()));
}

void TestWorkshopDay::drawWindow()
{
    auto pic = std::make_unique<drawing::CPictire>();
    QVERIFY(pic->AddRec({500, 500}, {9000, 7400}));
    QVERIFY(pic->AddString({4700, 7600}, u"B"_s));
    QVERIFY(pic->AddString({9200, 3900}, u"H"_s));
    QVERIFY(pic->AddString({600, 3900}, u"KH1"_s));
    drawing::DrawingStore drawings;
    const auto number = drawings.nextNumber();
    QVERIFY2(number, qPrintable(drawings.lastError()));
    m_drawingNo = *number;
    QVERIFY2(drawings.saveNew(m_drawingNo, u"推拉窗"_s, pic->lists()), qPrintable(drawings.lastError()));
}

void TestWorkshopDay::designType()
{
    using design::BillKind;
    design::TypeStore types;
    const auto maker = types.addMaker(u"本厂"_s);
    QVERIFY2(maker, qPrintable(types.lastError()));
    const auto series = types.addSeries(*maker, u"60推拉"_s);
    QVERIFY2(series, qPrintable(types.lastError()));
    const auto typeNo = types.addType(*series, u"双扇推拉窗"_s, m_drawingNo);
    QVERIFY2(typeNo, qPrintable(types.lastError()));
    m_typeNo = *typeNo;

    // "H" is inside "KH1": the longer name has to be replaced first everywhere.
    design::Bill bill;
    bill.of(BillKind::Profile) = {{u"框"_s, u"KL60"_s, u"2"_s, u"B-2*KH1"_s}};
    bill.of(BillKind::Steel) = {{u"衬钢"_s, u"G20"_s, u"2"_s, u"H-2*KH1"_s}};
    bill.of(BillKind::Panel) = {{u"白玻5"_s, u"1"_s, u"B-2*KH1-10"_s, u"H-2*KH1-10"_s}};
    bill.of(BillKind::Fitting) = {{u"执手"_s, u"ZS1"_s, u"1"_s, u"个"_s}};
    QVERIFY2(types.saveBill(m_typeNo, bill), qPrintable(types.lastError()));
    QCOMPARE(types.loadBill(m_typeNo), std::optional<design::Bill>(bill));
}

void TestWorkshopDay::takeOrder()
{
    project::ProjectStore projects;
    m_job = {0, u"HT-2026-08"_s, u"滨江花园"_s, u"江边路"_s, u"滨江物业"_s};
    const auto jobId = projects.addJob(m_job);
    QVERIFY2(jobId, qPrintable(projects.lastError()));
    m_jobId = *jobId;
    m_job.id = m_jobId;

    // The line dialog lists the type drawing's labels at "0" and the user types the values.
    QString error;
    const auto labels = project::typeLabels(m_typeNo, &error);
    QVERIFY2(labels, qPrintable(error));
    QCOMPARE(*labels, (QList<project::NamedDimension>{{u"B"_s, u"0"_s, 4700, 7600},
                                                      {u"H"_s, u"0"_s, 9200, 3900},
                                                      {u"KH1"_s, u"0"_s, 600, 3900}}));
    m_dims = *labels;
    m_dims[0].value = u"1500"_s;
    m_dims[1].value = u"1200"_s;
    m_dims[2].value = u"60"_s;
    const project::LineFields fields{u"C1"_s, u"一层"_s, u"1500"_s, u"1200"_s, u"3"_s, u"南立面"_s};
    const auto lineId = projects.addPlainLine(m_jobId, m_typeNo, fields, m_dims);
    QVERIFY2(lineId, qPrintable(projects.lastError()));

    const auto lines = projects.loadLines(m_jobId);
    QVERIFY2(lines, qPrintable(projects.lastError()));
    QCOMPARE(lines->size(), 1);
    m_line = lines->first();
    QCOMPARE(m_line, (project::JobLine{fields, QString::number(m_jobId), QString::number(m_typeNo),
                                       QString::number(*lineId)}));
    QCOMPARE(projects.loadDimensions(*lineId), std::optional<QList<project::NamedDimension>>(m_dims));
}

void TestWorkshopDay::checkSheet()
{
    QString error;
    const auto sheet = sheets::buildComponentSheet(m_line, 1, m_line.jobId, QDate(2026, 12, 10), &error);
    QVERIFY2(sheet, qPrintable(error));
    QVERIFY(!sheet->combined);
    QCOMPARE(sheet->rows, expectedSheetRows());
    QCOMPARE(sheet->drawingNumber, QString::number(m_drawingNo));
    QCOMPARE(sheet->job.value_or(project::Job{}).name, m_job.name);
    QCOMPARE(sheet->units, u"3"_s);
    // The typed values sit where the drawing had their labels.
    QList<sheets::SheetLabel> labels = sheet->labels;
    std::sort(labels.begin(), labels.end(), [](const auto &a, const auto &b) { return a.text < b.text; });
    QCOMPARE(labels, (QList<sheets::SheetLabel>{{9200, 3900, u"1200"_s}, {4700, 7600, u"1500"_s}, {600, 3900, u"60"_s}}));
}

void TestWorkshopDay::checkStatistics()
{
    stats::StatsStore store;
    QString error;
    QVERIFY2(stats::GatherTJ(store, {m_line}, &error), qPrintable(error));
    QCOMPARE(queryRows(u"SELECT * FROM OutXC"_s), QStringList{u"框|KL60|1380|6"_s});
    QCOMPARE(queryRows(u"SELECT * FROM OutXG"_s), QStringList{u"衬钢|G20|1080|6"_s});
    QCOMPARE(queryRows(u"SELECT * FROM OutPJ"_s), QStringList{u"执手|ZS1|3|个"_s});
    QCOMPARE(queryRows(u"SELECT * FROM OutPC"_s), QStringList{u"白玻5|1370|1070|3"_s});

    // By code. Profile: 9600 /t x 1.25 kg/m = 12 /m; 6 x 1380 mm = 8.28 m; 8.28 x 12 = 99.36;
    // 8.28 m x 1.25 kg/m = 10.35 kg. Steel: 5000 /t x 0.8 kg/m = 4 /m; 6 x 1080 mm = 6.48 m;
    // 25.92; 6.48 x 0.8 = 5.184 kg. Fitting: 3 x 35 = 105. Glass: 3 x 1.37 m x 1.07 m = 4.3977 m²,
    // x 80 = 351.816. Names and units come from the catalogue, not the bill.
    stats::PricingTotals totals;
    QVERIFY2(stats::BuildTJBySpec(store, {}, &totals, &error), qPrintable(error));
    QCOMPARE(queryRows(u"SELECT BN, 名称, 规格, 单价, DW, 金额, 数量 FROM OutTJ ORDER BY BN"_s),
             (QStringList{u"1|框料|KL60|12|米|99.36|8.28"_s, u"2|内衬钢|G20|4|米|25.92|6.48"_s,
                          u"3|铝执手|ZS1|35|个|105|3"_s, u"4|白玻5|-|80|平方米|351.816|4.3977"_s, u"5||||||"_s}));
    QCOMPARE(totals.ProfileWeight, 10.35);
    QCOMPARE(totals.SteelWeight, 5.184);
    QCOMPARE(totals.PanelArea, 4.3977);
    QCOMPARE(store.pricedAmount().value_or(-1), 582.096);

    // By code and length: 6 pieces of 1.38 m at 12 /m = 99.36, the same money as by code.
    QVERIFY2(stats::BuildTJBySpecLength(store, {true, false, false, false}, &error), qPrintable(error));
    QCOMPARE(queryRows(u"SELECT BN, 名称, 规格, 单价, DW, 金额, 数量 FROM OutTJ ORDER BY BN"_s),
             (QStringList{u"1|框料KL60|1380|12|毫米|99.36|6"_s, u"2||||||"_s}));
}

void TestWorkshopDay::checkOptimisation()
{
    optimise::YHStore store;
    QString error;
    const optimise::ChosenWindow chosen{m_line.id, m_line.fields.count, m_line.typeNo, m_line.id};
    QVERIFY2(optimise::BuildYHData(store, {chosen}, &error), qPrintable(error));
    // Each piece keeps the number of the bill row it came from.
    const QString typeNo = QString::number(m_typeNo);
    const QString profileRow = queryRows(u"SELECT 编号 FROM 窗型材 WHERE 窗号 = "_s + typeNo).value(0);
    const QString steelRow = queryRows(u"SELECT 编号 FROM 窗型钢 WHERE 窗号 = "_s + typeNo).value(0);
    QVERIFY(!profileRow.isEmpty() && !steelRow.isEmpty());
    QCOMPARE(queryRows(u"SELECT 编号, 名称, 规格, 长度, 数量 FROM 优化数据 ORDER BY rowid"_s),
             (QStringList{profileRow + u"|框|KL60|1380|6"_s, steelRow + u"|衬钢|G20|1080|6"_s}));

    // Six 1380 pieces on 6000 bars, no allowance or kerf: four fit the first bar (5520, 480 left),
    // the other two the second (2760, 3240 left).
    const optimise::RunOutcome run = optimise::RunYH(store, {u"KL60"_s}, {6000, 0, 0, 1.0f});
    QVERIFY2(run.ok, qPrintable(run.error));
    QVERIFY(run.notices.isEmpty());
    QCOMPARE(queryRows(u"SELECT * FROM 优化结果 ORDER BY rowid"_s),
             (QStringList{u"KL60|1380*4|1|0.92|480"_s, u"KL60|1380*2|1|0.46|3240"_s}));
}

void TestWorkshopDay::backupAndRestore()
{
    const QString path = app::backupTargetPath(m_fx->dir->path(), u"workshopday"_s);
    app::BackupStore backups;
    QCOMPARE(backups.backupTo(path), app::StoreResult::Done);

    project::ProjectStore projects;
    QVERIFY2(projects.deleteJob(m_jobId), qPrintable(projects.lastError()));
    QCOMPARE(jobTexts(projects.loadJobs()), QStringList{});
    QCOMPARE(projects.loadDimensions(m_line.id.toLongLong()),
             std::optional<QList<project::NamedDimension>>(QList<project::NamedDimension>{}));

    QCOMPARE(backups.restoreFrom(path), app::StoreResult::Done);
    QCOMPARE(jobTexts(projects.loadJobs()), jobTexts(QList<project::Job>{m_job}));
    QCOMPARE(projects.loadLines(m_jobId), std::optional<QList<project::JobLine>>(QList<project::JobLine>{m_line}));
    QCOMPARE(projects.loadDimensions(m_line.id.toLongLong()), std::optional<QList<project::NamedDimension>>(m_dims));

    QString error;
    const auto sheet = sheets::buildComponentSheet(m_line, 1, m_line.jobId, QDate(2026, 12, 10), &error);
    QVERIFY2(sheet, qPrintable(error));
    QCOMPARE(sheet->rows, expectedSheetRows());
    QCOMPARE(sheet->drawingNumber, QString::number(m_drawingNo));
}

QTEST_MAIN(TestWorkshopDay)
#include "tst_workshopday.moc"
