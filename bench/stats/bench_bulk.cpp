// Times the bulk paths on a realistic data set (see tests/integration/bulkjob.h) for jobs of the
// given numbers of windows (default 1000 and 5000): statistics, both cutting schemes, component
// sheets of every window, the list moves of the statistics window and of the wizard, backup and
// restore. Each bulk write is set beside a plain insert of the same row count (one transaction,
// one prepared statement), which is what SQLite on this machine allows.
//   bench_bulk [windows...]
#include "bulkjob.h"

#include "app/backupstore.h"
#include "app/maindb.h"
#include "app/schema.h"
#include "optimise/ui/frmcreate.h"
#include "optimise/yhcut.h"
#include "optimise/yhgather.h"
#include "optimise/yhoption.h"
#include "optimise/yhrun.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"
#include "project/projectstore.h"
#include "sheets/componentsheet.h"
#include "stats/expansion.h"
#include "stats/pricing.h"
#include "stats/statsstore.h"
#include "stats/ui/frmtjjs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

QSqlDatabase db() { return app::mainDb(); }

[[noreturn]] void die(const QString &what)
{
    std::fprintf(stderr, "bench_bulk: %s\n", qPrintable(what));
    std::exit(1);
}

qint64 rowCount(const QString &table)
{
    QSqlQuery q(db());
    q.exec(u"SELECT count(*) FROM "_s + platform::ident(table));
    return q.next() ? q.value(0).toLongLong() : 0;
}

qint64 rowCount(const QStringList &tables)
{
    qint64 n = 0;
    for (const QString &t : tables)
        n += rowCount(t);
    return n;
}

// Seconds of a plain insert of `rows` five-field rows in one transaction, one prepared statement,
// straight on the engine.
double plainInsert(qint64 rows)
{
    QString err;
    platform::execBound(db(), u"CREATE TABLE IF NOT EXISTS \"BenchPlain\" (a TEXT, b TEXT, c REAL, d REAL, e REAL)"_s,
                        {}, &err);
    const QVariant h = db().driver()->handle();
    sqlite3 *handle = *static_cast<sqlite3 *const *>(h.constData());
    QElapsedTimer t;
    t.start();
    {
        platform::TransactionGuard tx(db());
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(handle, "INSERT INTO \"BenchPlain\" VALUES (?, ?, ?, ?, ?)", -1, &st, nullptr);
        for (qint64 i = 0; i < rows; ++i) {
            sqlite3_bind_text(st, 1, "框料", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, "XC0001", -1, SQLITE_STATIC);
            sqlite3_bind_double(st, 3, double(i % 2000));
            sqlite3_bind_double(st, 4, double(i % 20));
            sqlite3_bind_double(st, 5, 0.5);
            if (sqlite3_step(st) != SQLITE_DONE)
                die(QString::fromUtf8(sqlite3_errmsg(handle)));
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        tx.commit();
    }
    const double s = t.nsecsElapsed() / 1e9;
    platform::execBound(db(), u"DROP TABLE \"BenchPlain\""_s, {}, &err);
    return s;
}

void line(const char *what, double seconds)
{
    std::printf("  %-44s %8.3f s\n", what, seconds);
}

void lineVs(const char *what, double seconds, qint64 rows)
{
    const double plain = plainInsert(rows);
    std::printf("  %-44s %8.3f s   %8lld rows, plain insert %6.3f s (x%.1f)\n", what, seconds, rows, plain,
                plain > 0 ? seconds / plain : 0.0);
}

double since(QElapsedTimer &t)
{
    const double s = t.nsecsElapsed() / 1e9;
    t.restart();
    return s;
}

QPushButton *button(QWidget *w, const QString &name)
{
    auto *b = w->findChild<QPushButton *>(name);
    if (!b)
        die(u"no button "_s + name);
    return b;
}

void measure(const QTemporaryDir &dir, int windows);

void runSize(int windows)
{
    QTemporaryDir dir;
    measure(dir, windows);
    platform::closeConnection(app::kMainConn);
}

void measure(const QTemporaryDir &dir, int windows)
{
    platform::setDataFolder(dir.filePath(u"data"_s));
    platform::SettingsStore::useFile(dir.filePath(u"settings.ini"_s));
    QString err;
    if (!app::ensureDataFolder(&err) || app::OpenMainDatabase(nullptr, &err) != app::OpenStatus::Opened)
        die(err);
    QElapsedTimer t;
    t.start();
    if (!bulkjob::buildLibrary(db(), &err) || !bulkjob::addJob(db(), 1, windows, 1, &err))
        die(err);
    std::printf("%d windows (data set written in %.2f s)\n", windows, since(t));

    project::ProjectStore projects;
    const auto lines = projects.loadLines(1);
    if (!lines)
        die(projects.lastError());

    // Statistics: expansion into the work tables, pricing by code, by code and length, its export.
    stats::StatsStore statsStore;
    t.restart();
    if (!stats::GatherTJ(statsStore, *lines, &err))
        die(err);
    const double gather = since(t);
    stats::PricingTotals totals;
    if (!stats::BuildTJBySpec(statsStore, {}, &totals, &err))
        die(err);
    const double bySpec = since(t);
    if (!stats::BuildTJBySpecLength(statsStore, {}, &err))
        die(err);
    const qint64 pricedRows = rowCount(u"OutTJ"_s);
    if (!statsStore.exportRows(stats::ExportQuery::PricedListWithPrices))
        die(statsStore.lastError());
    const double byLength = since(t);
    const qint64 workRows = rowCount({u"OutXC"_s, u"OutXG"_s, u"OutPJ"_s, u"OutPC"_s});
    line("statistics, whole path", gather + bySpec + byLength);
    line("  expansion into the work tables", gather);
    line("  pricing by code", bySpec);
    line("  pricing by code and length, its export", byLength);

    // The writes alone, of rows computed beforehand, beside the plain insert of as many rows.
    {
        platform::TransactionGuard tx(db());
        const auto rows = stats::expandWindows(statsStore, *lines, &err);
        if (!rows)
            die(err);
        t.restart();
        if (!statsStore.replaceWorkRows(*rows))
            die(statsStore.lastError());
        lineVs("  write of the work tables", since(t), workRows);
        const auto priced = stats::priceBySpecLength(statsStore, {}, &err);
        if (!priced)
            die(err);
        t.restart();
        if (!statsStore.replacePricedList(*priced))
            die(statsStore.lastError());
        lineVs("  write of the list by code and length", since(t), pricedRows);
        tx.commit();
    }

    // Cutting: gathering the pieces, then each scheme over every code.
    QList<optimise::ChosenWindow> chosen;
    for (const project::JobLine &l : *lines)
        chosen.append({l.id, l.fields.count, l.typeNo, l.id});
    optimise::YHStore yh;
    t.restart();
    if (!optimise::BuildYHData(yh, chosen, &err))
        die(err);
    const double pieces = since(t);
    line("piece gathering (优化数据)", pieces);
    {
        const auto gathered = optimise::gatherPieces(yh, chosen, &err);
        if (!gathered)
            die(err);
        t.restart();
        if (!yh.replacePieces(*gathered, true))
            die(yh.lastError());
        lineVs("  write of the pieces", since(t), rowCount(u"优化数据"_s));
    }
    const auto codes = yh.materialCodes();
    if (!codes)
        die(yh.lastError());
    optimise::CutSettings settings{6000, 5, 3, 0.97f};
    for (qint16 scheme : {qint16(0), qint16(1)}) {
        settings.scheme = scheme;
        t.restart();
        const optimise::RunOutcome r = optimise::RunYH(yh, *codes, settings);
        if (!r.ok)
            die(r.error);
        const double s = since(t);
        int dropped = 0;
        for (const optimise::CutNotice &n : r.notices)
            dropped += n.text == u"内存溢出！"_s;
        line(scheme == 0 ? "cutting scheme one" : "cutting scheme two", s);
        std::printf("  %-44s %8lld codes, %d plans dropped, rows digest %s\n", "", qint64(codes->size()), dropped,
                    bulkjob::tableDigest(db(), u"优化结果"_s).left(16).constData());
    }
    {
        // Scheme one's plan again, timing only its writes (material by material, as a run writes).
        double writing = 0;
        qint64 planRows = 0;
        platform::TransactionGuard tx(db());
        if (!yh.clearPlan())
            die(yh.lastError());
        for (const QString &code : *codes) {
            const auto rows = yh.groupedLengthsDesc(code);
            if (!rows)
                die(yh.lastError());
            const QList<optimise::PlanRow> plan = optimise::OptimiseYH1(code, *rows, settings).rows;
            t.restart();
            if (!yh.appendPlan(plan))
                die(yh.lastError());
            writing += since(t);
            planRows += plan.size();
        }
        t.restart();
        tx.commit();
        lineVs("  write of scheme one's plan rows", writing + since(t), planRows);
    }

    // Component sheets of every window.
    t.restart();
    if (!sheets::buildComponentSheets(*lines, 1, int(lines->size()), u"1"_s, QDate(2024, 1, 1), &err))
        die(err);
    line("component sheets of every window", since(t));

    // Moving every row between the lists.
    {
        stats::ui::FrmTJJS w({u"1"_s, u"工程"_s});
        w.setWindows(*lines);
        w.show();
        QApplication::processEvents();
        t.restart();
        w.CmdSelectAll->click();
        QApplication::processEvents();
        line("全选>> in the statistics window", since(t));
    }
    {
        optimise::ui::FrmCreate02 w(u"1"_s, optimise::currentCutSettings());
        w.show();
        QApplication::processEvents();
        t.restart();
        button(&w, u"CmdMoveAll"_s)->click();
        QApplication::processEvents();
        line("全选>> in the wizard's step two", since(t));
    }

    // Backup and restore of the 25 tables.
    const QString backup = dir.filePath(u"bench.MBK"_s);
    const qint64 backupRows = rowCount(app::backupTables());
    app::BackupStore backups;
    t.restart();
    if (backups.backupTo(backup) != app::StoreResult::Done)
        die(backups.lastError());
    lineVs("backup", since(t), backupRows);
    if (backups.restoreFrom(backup) != app::StoreResult::Done)
        die(backups.lastError());
    lineVs("restore", since(t), backupRows);
}

qint64 peakKb()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
    QApplication a(argc, argv);
    platform::installScriptedMessages();
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {1000, 5000};
    for (int n : sizes)
        runSize(n);
    std::printf("peak memory %.1f MB\n", peakKb() / 1024.0);
    return 0;
}
