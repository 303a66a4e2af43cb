// The rows the bulk paths write for a small job of the benchmark's data set, as digests: work
// tables, priced lists, pieces, both schemes' plans and the backup file. The expected digests were
// taken from the program before its bulk paths were made faster; any change in what is written
// (values, their storage class, row order) shows here.
#include "../app/fixture.h"
#include "bulkjob.h"

#include "app/backupstore.h"
#include "optimise/yhgather.h"
#include "optimise/yhrun.h"
#include "project/projectstore.h"
#include "stats/expansion.h"
#include "stats/pricing.h"

#include <QMap>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstBulkDigest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writtenRows_data();
    void writtenRows();
    void restoreGivesBackTheBackedUpRows();

private:
    testfixture::DataFolder m_folder;
    QMap<QString, QByteArray> m_digests; // step/table -> digest
    QByteArray m_mainBeforeBackup;
    QString m_backup;
};

namespace {
QSqlDatabase db() { return app::mainDb(); }

QByteArray tablesDigest(QSqlDatabase d, const QStringList &tables)
{
    QByteArray all;
    for (const QString &t : tables)
        all += t.toUtf8() + ':' + bulkjob::tableDigest(d, t) + ';';
    return QCryptographicHash::hash(all, QCryptographicHash::Sha1).toHex();
}
} // namespace

void TstBulkDigest::initTestCase()
{
    QVERIFY(m_folder.setUp());
    QString err;
    QVERIFY2(bulkjob::buildLibrary(db(), &err), qPrintable(err));
    QVERIFY2(bulkjob::addJob(db(), 1, 60, 1, &err), qPrintable(err));
    project::ProjectStore projects;
    const auto lines = projects.loadLines(1);
    QVERIFY(lines && lines->size() == 60);

    stats::StatsStore statsStore;
    QVERIFY2(stats::GatherTJ(statsStore, *lines, &err), qPrintable(err));
    for (const QString &t : {u"OutXC"_s, u"OutXG"_s, u"OutPJ"_s, u"OutPC"_s})
        m_digests[u"work "_s + t] = bulkjob::tableDigest(db(), t);
    stats::PricingTotals totals;
    QVERIFY2(stats::BuildTJBySpec(statsStore, {}, &totals, &err), qPrintable(err));
    m_digests[u"by code"_s] = bulkjob::tableDigest(db(), u"OutTJ"_s);
    QVERIFY2(stats::BuildTJBySpecLength(statsStore, {}, &err), qPrintable(err));
    m_digests[u"by code and length"_s] = bulkjob::tableDigest(db(), u"OutTJ"_s);

    QList<optimise::ChosenWindow> chosen;
    for (const project::JobLine &l : *lines)
        chosen.append({l.id, l.fields.count, l.typeNo, l.id});
    optimise::YHStore yh;
    QVERIFY2(optimise::BuildYHData(yh, chosen, &err), qPrintable(err));
    m_digests[u"pieces"_s] = bulkjob::tableDigest(db(), u"优化数据"_s);
    const auto codes = yh.materialCodes();
    QVERIFY(codes && !codes->isEmpty());
    optimise::CutSettings settings{6000, 5, 3, 0.97f};
    for (qint16 scheme : {qint16(0), qint16(1)}) {
        settings.scheme = scheme;
        const optimise::RunOutcome r = optimise::RunYH(yh, *codes, settings);
        QVERIFY2(r.ok, qPrintable(r.error));
        m_digests[u"plan %1"_s.arg(scheme + 1)] = bulkjob::tableDigest(db(), u"优化结果"_s);
    }

    m_mainBeforeBackup = tablesDigest(db(), app::backupTables());
    m_backup = m_folder.dir->filePath(u"digest.MBK"_s);
    QCOMPARE(app::BackupStore().backupTo(m_backup), app::StoreResult::Done);
    QVERIFY(platform::openSqlite(u"digest-backup"_s, m_backup, &err));
    m_digests[u"backup"_s] = tablesDigest(QSqlDatabase::database(u"digest-backup"_s, false), app::backupTables());
    platform::closeConnection(u"digest-backup"_s);
}

void TstBulkDigest::writtenRows_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("OutXC") << u"work OutXC"_s << QByteArray("82892f69ef271d278365617befe544a9cd928b40");
    QTest::newRow("OutXG") << u"work OutXG"_s << QByteArray("e67b41ff84ed5352b5e54f6f0bb67499a0c0055e");
    QTest::newRow("OutPJ") << u"work OutPJ"_s << QByteArray("a701d8c1a05b1c0aab0bfac4dcc5c083cb36effd");
    QTest::newRow("OutPC") << u"work OutPC"_s << QByteArray("aac09c106dd9a5c5d97be416c208618b8768aba1");
    QTest::newRow("OutTJ by code") << u"by code"_s << QByteArray("860d26dc13edabc3569490520de9acf69a673df2");
    QTest::newRow("OutTJ by code and length") << u"by code and length"_s << QByteArray("30a40281e48e4f051e3e7a12fe73c9c0e4fc9ae3");
    QTest::newRow("优化数据") << u"pieces"_s << QByteArray("ceb3237681d7c36dfd13544946ce5abda25ce1ac");
    QTest::newRow("优化结果 scheme one") << u"plan 1"_s << QByteArray("7bf9718b6ed452bdaf1dda73af5351bf9bb3f840");
    // Re-taken when scheme two began storing its percentage as the nearest two-decimal double.
    QTest::newRow("优化结果 scheme two") << u"plan 2"_s << QByteArray("70a30d8ff6bbdc6fbc6aa68f0939a1b47d541ae3");
    QTest::newRow("backup file") << u"backup"_s << QByteArray("727207dd60a9a8bacf918a431698404f2799ef5b");
}

void TstBulkDigest::writtenRows()
{
    QFETCH(QString, step);
    QFETCH(QByteArray, digest);
    QVERIFY(m_digests.contains(step));
    QCOMPARE(m_digests.value(step), digest);
}

void TstBulkDigest::restoreGivesBackTheBackedUpRows()
{
    // The backup holds what the main database held; a restore over changed tables brings it back.
    QCOMPARE(m_digests.value(u"backup"_s), m_mainBeforeBackup);
    QVERIFY(testfixture::exec(db(), u"DELETE FROM \"标注\" WHERE \"MCNUM\" > 30"_s));
    QVERIFY(testfixture::exec(db(), u"UPDATE \"型材\" SET \"型材吨价格\" = 1"_s));
    QVERIFY(tablesDigest(db(), app::backupTables()) != m_mainBeforeBackup);
    QCOMPARE(app::BackupStore().restoreFrom(m_backup), app::StoreResult::Done);
    QCOMPARE(tablesDigest(db(), app::backupTables()), m_mainBeforeBackup);
}

QTEST_MAIN(TstBulkDigest)
#include "tst_bulkdigest.moc"
