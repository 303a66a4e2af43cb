// Times the bulk paths on a realistic data set (see tests/integration/bulkjob.h) for jobs of the
// given numbers of windows (default 1000, 5000 and 20000): statistics, both cutting schemes,
// component sheets of every window, the list moves of the statistics window and of the wizard,
// backup and restore, with the peak memory of each size and a digest of what each path wrote.
// Each bulk write is set beside a plain insert of the very rows it left (into tables of the same
// columns without an index, one transaction, one prepared statement per table), which is what
// SQLite on this machine allows. Then the windows at scale,
// each from its command until its events are processed (job list of 1,000 jobs, a job window of
// 5,000 lines, the statistics window with 5,000 lines chosen, the result window of 10,000 plan
// rows, one page turn among 5,000 component sheets), and the start-up to the login dialog and to
// the main window, in fresh processes on an existing data folder.
//   bench_bulk [--no-windows] [--windows-only] [windows...]
// Under callgrind each timed path is dumped apart (callgrind.out.<pid>.<n>, named after the path).
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
#include "app/shared.h"
#include "optimise/ui/frmresult.h"
#include "project/ui/frmmcgcgl.h"
#include "project/ui/frmopengc.h"
#include "sheets/ui/frmgjb.h"
#include "shell/frmlogin.h"
#include "shell/mdimain.h"
#include "shell/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>
#include <string>
#include <algorithm>
#include <malloc.h>
#include <sqlite3.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define BENCH_ZERO() CALLGRIND_ZERO_STATS
#define BENCH_DUMP(what) CALLGRIND_DUMP_STATS_AT(what)
#else
#define BENCH_ZERO()
#define BENCH_DUMP(what)
#endif

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

// The rows of some tables as stored, held apart so that a plain insert can write them again:
// per table its column count, row count and values, each a type byte and its bytes (a text's
// length first). One flat buffer per table keeps the copy small at 20,000 windows.
struct StoredTable
{
    QString name;
    int columns = 0;
    qint64 rows = 0;
    std::string values;
};

sqlite3 *engine()
{
    const QVariant h = db().driver()->handle();
    return *static_cast<sqlite3 *const *>(h.constData());
}

template<typename T>
void putRaw(std::string &out, T v)
{
    out.append(reinterpret_cast<const char *>(&v), sizeof v);
}

template<typename T>
T getRaw(const char *&p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    return v;
}

QList<StoredTable> storedRows(const QStringList &tables)
{
    QList<StoredTable> out;
    for (const QString &table : tables) {
        StoredTable t;
        t.name = table;
        sqlite3_stmt *st = nullptr;
        const QByteArray sql = (u"SELECT * FROM "_s + platform::ident(table) + u" ORDER BY rowid"_s).toUtf8();
        if (sqlite3_prepare_v2(engine(), sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            die(QString::fromUtf8(sqlite3_errmsg(engine())));
        t.columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++t.rows;
            for (int c = 0; c < t.columns; ++c) {
                const int type = sqlite3_column_type(st, c);
                t.values += char(type);
                if (type == SQLITE_INTEGER) {
                    putRaw(t.values, sqlite3_column_int64(st, c));
                } else if (type == SQLITE_FLOAT) {
                    putRaw(t.values, sqlite3_column_double(st, c));
                } else if (type != SQLITE_NULL) {
                    const char *bytes = static_cast<const char *>(sqlite3_column_blob(st, c));
                    const int n = sqlite3_column_bytes(st, c);
                    putRaw(t.values, n);
                    t.values.append(bytes ? bytes : "", size_t(n));
                }
            }
        }
        sqlite3_finalize(st);
        out.append(std::move(t));
    }
    return out;
}

// Seconds of a plain insert of the rows into tables of the same columns (their declared kinds, no
// index), in one transaction, one prepared statement per table, straight on the engine.
double plainInsert(const QList<StoredTable> &tables)
{
    QString err;
    for (int i = 0; i < tables.size(); ++i)
        if (!platform::execBound(db(), u"CREATE TABLE \"BenchPlain%1\" AS SELECT * FROM "_s.arg(i)
                                             + platform::ident(tables.at(i).name) + u" WHERE 0"_s,
                                 {}, &err))
            die(err);
    QElapsedTimer t;
    t.start();
    {
        platform::TransactionGuard tx(db());
        for (int i = 0; i < tables.size(); ++i) {
            const StoredTable &table = tables.at(i);
            QByteArray sql = "INSERT INTO \"BenchPlain" + QByteArray::number(i) + "\" VALUES (?";
            for (int c = 1; c < table.columns; ++c)
                sql += ", ?";
            sql += ')';
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(engine(), sql.constData(), -1, &st, nullptr);
            const char *p = table.values.data();
            for (qint64 r = 0; r < table.rows; ++r) {
                for (int c = 1; c <= table.columns; ++c) {
                    const int type = *p++;
                    if (type == SQLITE_INTEGER) {
                        sqlite3_bind_int64(st, c, getRaw<sqlite3_int64>(p));
                    } else if (type == SQLITE_FLOAT) {
                        sqlite3_bind_double(st, c, getRaw<double>(p));
                    } else if (type == SQLITE_NULL) {
                        sqlite3_bind_null(st, c);
                    } else {
                        const int n = getRaw<int>(p);
                        if (type == SQLITE_TEXT)
                            sqlite3_bind_text(st, c, p, n, SQLITE_STATIC);
                        else
                            sqlite3_bind_blob(st, c, p, n, SQLITE_STATIC);
                        p += n;
                    }
                }
                if (sqlite3_step(st) != SQLITE_DONE)
                    die(QString::fromUtf8(sqlite3_errmsg(engine())));
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
        }
        tx.commit();
    }
    const double s = t.nsecsElapsed() / 1e9;
    for (int i = 0; i < tables.size(); ++i)
        platform::execBound(db(), u"DROP TABLE \"BenchPlain%1\""_s.arg(i), {}, &err);
    return s;
}

void line(const char *what, double seconds)
{
    std::printf("  %-44s %8.3f s\n", what, seconds);
}

qint64 peakKb();
void resetPeak();

// The peak so far and the path that first reached it.
struct Peak
{
    qint64 kb = 0;
    const char *path = "";
    void after(const char *what)
    {
        const qint64 now = peakKb();
        if (now > kb) {
            kb = now;
            path = what;
        }
    }
};

// A bulk write's seconds beside a plain insert of the rows it left in `tables`. The copy of the
// rows the plain insert needs is not counted in the peak: the peak is taken before it and set
// back after.
void lineVs(const char *what, double seconds, const QStringList &tables, Peak &peak)
{
    peak.after(what);
    qint64 rows = 0;
    double plain = 0;
    {
        const QList<StoredTable> stored = storedRows(tables);
        for (const StoredTable &t : stored)
            rows += t.rows;
        BENCH_ZERO();
        plain = plainInsert(stored);
        BENCH_DUMP("plain insert");
    }
    resetPeak();
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

// Sets the peak back to what the process holds now, so that each size shows its own; memory freed
// by the size before is handed back first.
void resetPeak()
{
    malloc_trim(0);
    QFile f(u"/proc/self/clear_refs"_s);
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}


// A path timed from here until stop(); under callgrind its instructions are dumped apart.
class Path
{
public:
    explicit Path(const char *name) : m_name(name)
    {
        BENCH_ZERO();
        m_t.start();
    }
    double stop()
    {
        const double s = m_t.nsecsElapsed() / 1e9;
        BENCH_DUMP(m_name);
        return s;
    }

private:
    const char *m_name;
    QElapsedTimer m_t;
};

void digestLine(const char *what, const QByteArray &digest)
{
    std::printf("  %-44s %s\n", what, digest.left(16).constData());
}

QByteArray tablesDigest(const QStringList &tables)
{
    QByteArray all;
    for (const QString &t : tables)
        all += bulkjob::tableDigest(db(), t);
    return QCryptographicHash::hash(all, QCryptographicHash::Sha1).toHex();
}

QByteArray sheetsDigest(const QList<sheets::ComponentSheet> &sheets)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const sheets::ComponentSheet &s : sheets) {
        for (const QStringList &r : s.rows)
            hash.addData(r.join(u'\x1f').toUtf8() + '\x1e');
        hash.addData(s.paperTitle().join(u'\x1f').toUtf8());
        for (const sheets::SheetLabel &l : s.labels)
            hash.addData(QByteArray::number(l.px) + ',' + QByteArray::number(l.py) + l.text.toUtf8() + '\x1e');
        hash.addData(s.drawingNumber.toUtf8() + '\x1d');
    }
    return hash.result().toHex();
}

void measure(const QTemporaryDir &dir, int windows);

void runSize(int windows)
{
    QTemporaryDir dir;
    measure(dir, windows);
    platform::closeConnection(app::kMainConn);
}

void openDataFolder(const QTemporaryDir &dir)
{
    platform::setDataFolder(dir.filePath(u"data"_s));
    platform::SettingsStore::useFile(dir.filePath(u"settings.ini"_s));
    QString err;
    if (!app::ensureDataFolder(&err) || app::OpenMainDatabase(nullptr, &err) != app::OpenStatus::Opened)
        die(err);
}

void measure(const QTemporaryDir &dir, int windows)
{
    openDataFolder(dir);
    QString err;
    QElapsedTimer t;
    t.start();
    if (!bulkjob::buildLibrary(db(), &err) || !bulkjob::addJob(db(), 1, windows, 1, &err))
        die(err);
    std::printf("%d windows (data set written in %.2f s)\n", windows, since(t));
    QApplication::processEvents();
    resetPeak();
    Peak peak;

    project::ProjectStore projects;
    const auto lines = projects.loadLines(1);
    if (!lines)
        die(projects.lastError());

    // Statistics: expansion into the work tables, pricing by code, by code and length, its export.
    stats::StatsStore statsStore;
    QByteArray workDigest, bySpecDigest;
    double gather = 0, bySpec = 0, byLength = 0;
    {
        Path p("statistics");
        t.restart();
        if (!stats::GatherTJ(statsStore, *lines, &err))
            die(err);
        gather = since(t);
        stats::PricingTotals totals;
        if (!stats::BuildTJBySpec(statsStore, {}, &totals, &err))
            die(err);
        bySpec = since(t);
        if (!stats::BuildTJBySpecLength(statsStore, {}, &err))
            die(err);
        if (!statsStore.exportRows(stats::ExportQuery::PricedListWithPrices))
            die(statsStore.lastError());
        byLength = since(t);
        p.stop();
    }
    peak.after("statistics");
    line("statistics, whole path", gather + bySpec + byLength);
    line("  expansion into the work tables", gather);
    line("  pricing by code", bySpec);
    line("  pricing by code and length, its export", byLength);
    digestLine("  digest of the work tables", tablesDigest({u"OutXC"_s, u"OutXG"_s, u"OutPJ"_s, u"OutPC"_s}));
    digestLine("  digest of the list by code and length", bulkjob::tableDigest(db(), u"OutTJ"_s));

    // The writes alone, of rows computed beforehand, beside the plain insert of as many rows.
    {
        platform::TransactionGuard tx(db());
        const auto rows = stats::expandWindows(statsStore, *lines, &err);
        if (!rows)
            die(err);
        Path p("write of the work tables");
        if (!statsStore.replaceWorkRows(*rows))
            die(statsStore.lastError());
        lineVs("  write of the work tables", p.stop(), {u"OutXC"_s, u"OutXG"_s, u"OutPJ"_s, u"OutPC"_s}, peak);
        const auto priced = stats::priceBySpecLength(statsStore, {}, &err);
        if (!priced)
            die(err);
        Path q("write of the list by code and length");
        if (!statsStore.replacePricedList(*priced))
            die(statsStore.lastError());
        lineVs("  write of the list by code and length", q.stop(), {u"OutTJ"_s}, peak);
        tx.commit();
    }

    // Cutting: gathering the pieces, then each scheme over every code.
    QList<optimise::ChosenWindow> chosen;
    for (const project::JobLine &l : *lines)
        chosen.append({l.id, l.fields.count, l.typeNo, l.id});
    optimise::YHStore yh;
    {
        Path p("piece gathering");
        if (!optimise::BuildYHData(yh, chosen, &err))
            die(err);
        line("piece gathering (优化数据)", p.stop());
    }
    peak.after("piece gathering");
    digestLine("  digest of the pieces", bulkjob::tableDigest(db(), u"优化数据"_s));
    {
        const auto gathered = optimise::gatherPieces(yh, chosen, &err);
        if (!gathered)
            die(err);
        Path p("write of the pieces");
        if (!yh.replacePieces(*gathered, true))
            die(yh.lastError());
        lineVs("  write of the pieces", p.stop(), {u"优化数据"_s}, peak);
    }
    const auto codes = yh.materialCodes();
    if (!codes)
        die(yh.lastError());
    optimise::CutSettings settings{6000, 5, 3, 0.97f};
    for (qint16 scheme : {qint16(0), qint16(1)}) {
        settings.scheme = scheme;
        const char *name = scheme == 0 ? "cutting scheme one" : "cutting scheme two";
        Path p(name);
        const optimise::RunOutcome r = optimise::RunYH(yh, *codes, settings);
        const double s = p.stop();
        if (!r.ok)
            die(r.error);
        peak.after(name);
        int dropped = 0;
        for (const optimise::CutNotice &n : r.notices)
            dropped += n.text == u"内存溢出！"_s;
        line(name, s);
        std::printf("  %-44s %8lld codes, %lld plan rows, %d plans dropped, %lld notices, digest %s\n", "",
                    qint64(codes->size()), rowCount(u"优化结果"_s), dropped, qint64(r.notices.size()),
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
        writing += since(t);
        if (planRows != rowCount(u"优化结果"_s))
            die(u"plan rows missing"_s);
        lineVs("  write of scheme one's plan rows", writing, {u"优化结果"_s}, peak);
    }

    // Component sheets of every window.
    {
        Path p("component sheets");
        const auto built = sheets::buildComponentSheets(*lines, 1, int(lines->size()), u"1"_s, QDate(2024, 1, 1), &err);
        const double s = p.stop();
        if (!built)
            die(err);
        peak.after("component sheets");
        line("component sheets of every window", s);
        digestLine("  digest of the sheets", sheetsDigest(*built));
    }

    // Moving every row between the lists.
    {
        stats::ui::FrmTJJS w({u"1"_s, u"工程"_s});
        w.setWindows(*lines);
        w.show();
        QApplication::processEvents();
        Path p("statistics window select all");
        w.CmdSelectAll->click();
        QApplication::processEvents();
        line("全选>> in the statistics window", p.stop());
    }
    {
        optimise::ui::FrmCreate02 w(u"1"_s, optimise::currentCutSettings());
        w.show();
        QApplication::processEvents();
        Path p("wizard select all");
        button(&w, u"CmdMoveAll"_s)->click();
        QApplication::processEvents();
        line("全选>> in the wizard's step two", p.stop());
    }

    // Backup and restore of the 25 tables.
    const QString backup = dir.filePath(u"bench.MBK"_s);
    app::BackupStore backups;
    {
        Path p("backup");
        if (backups.backupTo(backup) != app::StoreResult::Done)
            die(backups.lastError());
        lineVs("backup", p.stop(), app::backupTables(), peak);
    }
    {
        Path p("restore");
        if (backups.restoreFrom(backup) != app::StoreResult::Done)
            die(backups.lastError());
        lineVs("restore", p.stop(), app::backupTables(), peak);
    }
    std::printf("  %-44s %8.1f MB (reached in %s)\n", "peak memory", peak.kb / 1024.0, peak.path);
}

// 10,000 rows of a plan over 250 profile codes, as a run of scheme one writes them.
QList<optimise::PlanRow> planRows(int count)
{
    QList<optimise::PlanRow> rows;
    for (int i = 0; i < count; ++i) {
        const int a = 600 + (i * 37) % 1800, b = 400 + (i * 53) % 1200;
        const int n = 1 + i % 3;
        optimise::PlanRow r;
        r.material = bulkjob::code("XC", 1 + i % bulkjob::kProfileCodesUsed);
        r.pattern = u"%1*%2+%3*1"_s.arg(a).arg(n).arg(b);
        r.bars = 1 + (i * 7) % 9;
        r.remain = 6000 - a * n - b - 5 * (n + 1);
        if (r.remain < 0)
            r.remain = 0;
        r.ratio = (6000 - r.remain) / 6000;
        rows.append(r);
    }
    return rows;
}

double settle()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return 0;
}

// Jobs 2 to 1000, without lines, in one transaction.
void addEmptyJobs()
{
    QString err;
    platform::TransactionGuard tx(db());
    for (int j = 2; j <= 1000; ++j)
        if (!bulkjob::addJob(db(), j, 0, 1000000 + j, &err))
            die(err);
    if (!tx.commit())
        die(tx.errorText());
}

// A data folder holding the data set: the library, 1,000 jobs, the first with 5,000 window lines.
void openDataSet(const QTemporaryDir &dir)
{
    openDataFolder(dir);
    QString err;
    if (!bulkjob::buildLibrary(db(), &err) || !bulkjob::addJob(db(), 1, 5000, 1, &err))
        die(err);
    addEmptyJobs();
}

// The windows at scale: 1,000 jobs, the first with 5,000 window lines.
void measureWindows()
{
    QTemporaryDir dir;
    openDataSet(dir);
    {
        optimise::YHStore yh;
        if (!yh.replacePiecesAndPlan({}, planRows(10000)))
            die(yh.lastError());
    }
    std::printf("windows at scale (1,000 jobs, 5,000 lines, 10,000 plan rows)\n");

    QMdiArea area;
    area.resize(1280, 900);
    area.show();
    settle();
    project::ui::FrmMCGCGL *list = nullptr;
    {
        Path p("job list window");
        list = project::ui::showProjectWindow(&area);
        QApplication::processEvents();
        line("job list of 1,000 jobs", p.stop());
    }
    if (list->lvw->topLevelItemCount() != 1000)
        die(u"the job list shows %1 jobs"_s.arg(list->lvw->topLevelItemCount()));
    QList<project::JobLine> lines;
    {
        list->lvw->setCurrentItem(list->lvw->findItems(u"1"_s, Qt::MatchExactly, 4).value(0));
        Path p("job window");
        project::ui::FrmOpenGC *job = list->CmdOpen_Click();
        QApplication::processEvents();
        line("job window of 5,000 lines", p.stop());
        if (!job)
            die(u"no job window"_s);
        lines = job->lines();
    }
    if (lines.size() != 5000)
        die(u"the job window lists %1 lines"_s.arg(lines.size()));
    area.closeAllSubWindows();
    settle();
    {
        Path p("statistics window");
        stats::ui::FrmTJJS w({u"1"_s, u"工程1"_s});
        w.setWindows(lines);
        w.show();
        QApplication::processEvents();
        const double open = p.stop();
        Path q("statistics window select all");
        w.CmdSelectAll->click();
        QApplication::processEvents();
        const double choose = q.stop();
        line("statistics window with 5,000 lines chosen", open + choose);
        line("  opening with 5,000 lines", open);
        line("  全选>> of the 5,000 lines", choose);
    }
    settle();
    {
        Path p("result window");
        optimise::ui::FrmResult w;
        w.show();
        QApplication::processEvents();
        line("result window of 10,000 plan rows", p.stop());
    }
    settle();
    {
        Path p("sheet window open");
        sheets::ui::FrmGJB w(lines, 0, u"1"_s);
        w.show();
        QApplication::processEvents();
        const double open = p.stop();
        Path q("sheet window page turn");
        button(&w, u"CmdNext"_s)->click();
        QApplication::processEvents();
        line("component sheet window, one page turn", q.stop());
        line("  opening on the first of 5,000 sheets", open);
        if (w.currentPage() != 2)
            die(u"the sheet window did not turn its page"_s);
    }
    settle();
    platform::closeConnection(app::kMainConn);
}

// The start-up on an existing data folder, in a fresh process: from main() to the login dialog
// shown, then from OK to the main window shown and loaded. The splash between them keeps its own
// timer and is not counted.
int startupChild(QElapsedTimer &sinceMain, int argc, char **argv, const QString &folder)
{
    QApplication a(argc, argv);
    platform::installScriptedMessages();
    platform::setDataFolder(folder + u"/data"_s);
    platform::SettingsStore::useFile(folder + u"/settings.ini"_s);
    shell::prepareApplication();
    std::unique_ptr<QLockFile> lock;
    if (shell::prepareStart(&lock) != shell::StartCheck::Ready)
        die(u"start-up failed"_s);
    double toLogin = 0, toMain = 0;
    {
        shell::FrmLogin login;
        login.show();
        QApplication::processEvents();
        toLogin = sinceMain.nsecsElapsed() / 1e9;
        auto *password = login.findChild<QLineEdit *>(u"txtPassword"_s);
        if (!password)
            die(u"no password box"_s);
        password->setText(u"admin"_s);
        sinceMain.restart();
        button(&login, u"cmdOK"_s)->click();
    }
    if (!app::LoginOK)
        die(u"login failed"_s);
    {
        shell::MDIMain mainWindow;
        mainWindow.showWithSavedPlacement();
        mainWindow.load();
        QApplication::processEvents();
        toMain = sinceMain.nsecsElapsed() / 1e9;
    }
    std::printf("%.4f %.4f\n", toLogin, toMain);
    return 0;
}

void measureStartup(const char *self)
{
    // An existing data folder: made by a first start, with the data set in it.
    QTemporaryDir dir;
    openDataSet(dir);
    platform::closeConnection(app::kMainConn);
    QList<double> login, main;
    for (int run = 0; run < 3; ++run) {
        QProcess child;
        child.start(QString::fromLocal8Bit(self), {u"--startup-child"_s, dir.path()});
        if (!child.waitForFinished(60000) || child.exitCode() != 0)
            die(u"start-up run failed: "_s + QString::fromLocal8Bit(child.readAllStandardError()));
        const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
        login << f.value(0).toDouble();
        main << f.value(1).toDouble();
    }
    std::sort(login.begin(), login.end());
    std::sort(main.begin(), main.end());
    std::printf("start-up on an existing data folder (median of three fresh processes)\n");
    line("to the login dialog", login.at(1));
    line("main window after login", main.at(1));
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
    if (argc == 3 && qstrcmp(argv[1], "--startup-child") == 0) {
        int childArgc = 1;
        return startupChild(sinceMain, childArgc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QApplication a(argc, argv);
    platform::installScriptedMessages();
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // whole lines between the platform's warnings
    QList<int> sizes;
    bool windows = true, bulk = true;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--no-windows") == 0)
            windows = false;
        else if (qstrcmp(argv[i], "--windows-only") == 0)
            bulk = false;
        else
            sizes << QByteArray(argv[i]).toInt();
    }
    if (sizes.isEmpty())
        sizes = {1000, 5000, 20000};
    if (bulk)
        for (int n : sizes)
            runSize(n);
    if (windows) {
        measureWindows();
        measureStartup(argv[0]);
    }
    return 0;
}
