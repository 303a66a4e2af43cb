#include "../app/fixture.h"
#include "../platform/filelimit.h"

#include "app/backupstore.h"
#include "shell/frmsavefile.h"
#include "shell/frmtools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QUuid>
#include <limits>
#include <optional>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace app;
using namespace shell;
using testfixture::exec;
using testfixture::rowCount;

namespace {

const QString kRestoreQuestion = u"还原将用备份文件中的数据替换当前的材料、门窗、工程数据和图库，是否继续？"_s;

// Every row of every backup table, each value with its storage type, in row order.
using Snapshot = QMap<QString, QStringList>;

QString valueText(const QVariant &v)
{
    if (v.isNull())
        return u"NULL"_s;
    if (v.typeId() == QMetaType::Double)
        return u"R:"_s + QString::number(v.toDouble(), 'g', 17);
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
        return u"I:"_s + QString::number(v.toLongLong());
    return u"T:"_s + v.toString();
}

Snapshot snapshot(QSqlDatabase db)
{
    Snapshot s;
    for (const QString &table : backupTables()) {
        QSqlQuery q(db);
        if (!q.exec(u"SELECT * FROM "_s + platform::ident(table) + u" ORDER BY rowid"_s)) {
            s[table] << u"query failed"_s;
            continue;
        }
        QStringList &rows = s[table];
        while (q.next()) {
            QStringList fields;
            for (int i = 0; i < q.record().count(); ++i)
                fields << valueText(q.value(i));
            rows << fields.join(u" | "_s);
        }
    }
    return s;
}

// Every row of every backup table exactly as stored, in row order: each field's storage class
// and its bytes (texts and blobs in hex, numbers as the engine writes them back without loss).
Snapshot storedSnapshot(QSqlDatabase db)
{
    Snapshot s;
    for (const QString &table : backupTables()) {
        QStringList fields;
        for (const QString &c : platform::columnNames(db, table)) {
            const QString col = platform::ident(c);
            fields << u"typeof(%1) || ':' || CASE WHEN typeof(%1) IN ('text', 'blob') THEN hex(%1) "
                      "ELSE quote(%1) END"_s.arg(col);
        }
        QSqlQuery q(db);
        if (!q.exec(u"SELECT "_s + fields.join(u" || ' | ' || "_s) + u" FROM "_s + platform::ident(table)
                    + u" ORDER BY rowid"_s)) {
            s[table] << u"query failed"_s;
            continue;
        }
        while (q.next())
            s[table] << q.value(0).toString();
    }
    return s;
}

// Opens a file under its own connection for the duration of `work`.
template<typename F>
bool withFile(const QString &path, F work)
{
    const QString conn = u"tst-"_s + QUuid::createUuid().toString(QUuid::Id128);
    QString err;
    if (!platform::openSqlite(conn, path, &err)) {
        qWarning("%s", qPrintable(err));
        return false;
    }
    bool ok;
    {
        ok = work(QSqlDatabase::database(conn, false));
    }
    platform::closeConnection(conn);
    return ok;
}

// Three rows in each of the 25 tables, built from each column's declared type: quotes, Chinese
// text, an empty text, nulls, reals that have no exact binary form, and 编号 10, 17, 24 so that
// the next number is not simply the row count plus one.
bool fillAllTables(QSqlDatabase db)
{
    platform::TransactionGuard tx(db);
    for (const QString &table : backupTables()) {
        QSqlQuery info(db);
        if (!info.exec(u"PRAGMA table_info("_s + platform::ident(table) + u")"_s))
            return false;
        QStringList names, types;
        while (info.next()) {
            names << info.value(1).toString();
            types << info.value(2).toString().toUpper();
        }
        QStringList marks(names.size(), u"?"_s);
        for (int r = 0; r < 3; ++r) {
            QVariantList values;
            for (int c = 0; c < names.size(); ++c) {
                if (names[c] == u"编号")
                    values << qint64(10 + 7 * r);
                else if (types[c] == u"INTEGER")
                    values << (r == 2 && c % 2 ? QVariant() : QVariant(qint64(100 * r + c)));
                else if (types[c] == u"REAL")
                    values << (r == 0 ? QVariant(0.1 + c) : r == 1 ? QVariant(-1234.5678901234) : QVariant());
                else if (r == 0)
                    values << u"it's \"塑钢\" %1"_s.arg(table);
                else if (r == 1)
                    values << u"门窗 第%1列"_s.arg(c);
                else
                    values << (c % 2 ? QVariant() : QVariant(QString(u""_s)));
            }
            if (!exec(db, u"INSERT INTO %1 VALUES (%2)"_s.arg(platform::ident(table), marks.join(u',')), values))
                return false;
        }
    }
    return tx.commit();
}

// Changes something in every table: one row gone, one changed, one new with a high number.
bool changeAllTables(QSqlDatabase db)
{
    platform::TransactionGuard tx(db);
    for (const QString &table : backupTables()) {
        const QStringList cols = platform::columnNames(db, table);
        if (!exec(db, u"DELETE FROM %1 WHERE rowid = (SELECT min(rowid) FROM %1)"_s.arg(platform::ident(table))))
            return false;
        const QString num = cols.contains(u"编号"_s) ? u"编号"_s : cols.first();
        if (!exec(db, u"INSERT INTO %1 (%2) VALUES (?)"_s.arg(platform::ident(table), platform::ident(num)),
                  {qint64(999)}))
            return false;
    }
    return exec(db, u"UPDATE \"工程\" SET \"工程名称\" = ?"_s, {u"改过"_s}) && tx.commit();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Another name for the same file.
bool hardLink(const QString &existing, const QString &link)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) == 0;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

template<typename T>
T *child(QWidget *w, const QString &name)
{
    T *c = w->findChild<T *>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

} // namespace

class TstBackup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void backupThenRestoreGivesBackEveryRow();
    void restoreOfEmptyBackupEmptiesEveryTable();
    void backupReplacesExistingFile();
    void backupRemovesStaleTemporaries();
    void targetPath_data();
    void targetPath();
    void backupFailureLeavesNothingBehind_data();
    void backupFailureLeavesNothingBehind();
    void restoreFailureLeavesDatabaseUntouched_data();
    void restoreFailureLeavesDatabaseUntouched();
    void restoreOlderBackupWithFewerColumns();
    void storedValuesSurviveBackupAndRestore_data();
    void storedValuesSurviveBackupAndRestore();
    void restoreBuildsIndexesFromTheRows();

    void windowsBackUpAndRestore();
    void windowBackupFailureIsReported_data();
    void windowBackupFailureIsReported();

private:
    QString folder() const { return m_fx->dir->filePath(u"out"_s); }

    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstBackup::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QVERIFY(QDir().mkpath(folder()));
}

void TstBackup::backupThenRestoreGivesBackEveryRow()
{
    QSqlDatabase db = mainDb();
    QVERIFY(fillAllTables(db));
    // Work tables are not part of a backup and must survive a restore as they are.
    QVERIFY(exec(db, u"INSERT INTO \"OutXC\" VALUES (?, ?, ?, ?)"_s, {u"框"_s, u"60"_s, 1200.5, 2.0}));
    const Snapshot original = snapshot(db);
    for (const QString &table : backupTables())
        QCOMPARE(original.value(table).size(), 3);

    const QString path = folder() + u"/全部.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    QCOMPARE(filesIn(folder()), QStringList{u"全部.MBK"_s});
    QVERIFY(withFile(path, [&](QSqlDatabase bak) {
        [&] { QCOMPARE(snapshot(bak), original); }();
        return !QTest::currentTestFailed();
    }));

    QVERIFY(changeAllTables(db));
    QVERIFY(snapshot(db) != original);

    QCOMPARE(store.restoreFrom(path), StoreResult::Done);
    QCOMPARE(snapshot(db), original);
    QCOMPARE(rowCount(db, u"OutXC"_s), 1);

    // Numbers continue from the restored maximum (24), not from the 999 that was removed.
    for (const QString &table : backupTables())
        if (platform::columnNames(db, table).contains(u"编号"_s))
            QCOMPARE(GetNextId(table).value_or(-1), qint64(25));
}

void TstBackup::restoreOfEmptyBackupEmptiesEveryTable()
{
    const QString path = folder() + u"/empty.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    QVERIFY(withFile(path, [](QSqlDatabase bak) {
        for (const QString &table : backupTables())
            if (rowCount(bak, table) != 0)
                return false;
        return true;
    }));

    QVERIFY(fillAllTables(mainDb()));
    QCOMPARE(store.restoreFrom(path), StoreResult::Done);
    for (const QString &table : backupTables())
        QCOMPARE(rowCount(mainDb(), table), 0);
    QCOMPARE(GetNextId(u"工程"_s).value_or(-1), qint64(1));
}

void TstBackup::backupReplacesExistingFile()
{
    const QString path = folder() + u"/old.MBK"_s;
    QVERIFY(writeFile(path, "not a database"));
    QVERIFY(fillAllTables(mainDb()));

    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    QCOMPARE(filesIn(folder()), QStringList{u"old.MBK"_s});
    const Snapshot now = snapshot(mainDb());
    QVERIFY(withFile(path, [&](QSqlDatabase bak) { return snapshot(bak) == now; }));
}

// A backup killed in the middle leaves its hidden copy and the copy's journal; the next backup to
// the folder takes them away, and nothing else.
void TstBackup::backupRemovesStaleTemporaries()
{
    const QStringList stale = {u".周备份.MBK.0123456789ab.tmp"_s, u".周备份.MBK.0123456789ab.tmp-journal"_s,
                               u".月备份.MBK.fedcba987654.tmp"_s, u".x.0a1b2c3d4e5f.tmp-wal"_s};
    const QStringList others = {u".notes.tmp"_s, u".x.MBK.0123456789AB.tmp"_s, u".x.MBK.0123456789ab.tmp.bak"_s,
                                u"x.MBK.0123456789ab.tmp"_s, u"旧.MBK"_s};
    for (const QString &name : stale + others)
        QVERIFY(writeFile(folder() + u'/' + name, QByteArray(2048, 'j')));
    BackupStore store;
    QCOMPARE(store.backupTo(folder() + u"/周备份.MBK"_s), StoreResult::Done);
    QStringList expected = others;
    expected << u"周备份.MBK"_s;
    expected.sort();
    QStringList files = filesIn(folder());
    files.sort();
    QCOMPARE(files, expected);
}

void TstBackup::targetPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain name gets .MBK") << u"/home/w/备份"_s << u"一月"_s << u"/home/w/备份/一月.MBK"_s;
    QTest::newRow("folder ending in /") << u"/home/w/"_s << u"a"_s << u"/home/w/a.MBK"_s;
    QTest::newRow("root folder") << u"/"_s << u"a"_s << u"/a.MBK"_s;
    QTest::newRow("own extension kept") << u"/b"_s << u"a.bak"_s << u"/b/a.bak"_s;
    QTest::newRow("lower-case extension kept") << u"/b"_s << u"a.mbk"_s << u"/b/a.mbk"_s;
    QTest::newRow("dot anywhere keeps name") << u"/b"_s << u"2024.1月"_s << u"/b/2024.1月"_s;
    QTest::newRow("trailing dot") << u"/b"_s << u"a."_s << u"/b/a."_s;
}

void TstBackup::targetPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(backupTargetPath(folder, name), expected);
}

void TstBackup::backupFailureLeavesNothingBehind_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<StoreResult>("expected");
    QTest::newRow("template missing") << u"no template"_s << StoreResult::TemplateMissing;
    // The 20th table of the template cannot take the rows: 19 tables were already copied.
    QTest::newRow("template table too narrow") << u"narrow template"_s << StoreResult::CopyFailed;
    QTest::newRow("template not a database") << u"junk template"_s << StoreResult::CopyFailed;
    QTest::newRow("folder missing") << u"no folder"_s << StoreResult::CannotWrite;
    QTest::newRow("target is the main database") << u"main"_s << StoreResult::CannotWrite;
    QTest::newRow("target is a hard link to the main database") << u"main link"_s << StoreResult::CannotWrite;
    QTest::newRow("disk full before the template is copied") << u"full"_s << StoreResult::CannotWrite;
}

void TstBackup::backupFailureLeavesNothingBehind()
{
    QFETCH(QString, breakage);
    QFETCH(StoreResult, expected);

    QVERIFY(fillAllTables(mainDb()));
    const Snapshot before = snapshot(mainDb());
    const QString templatePath = platform::dataFile(kTemplateFile);
    QString target = folder() + u"/keep.MBK"_s;
    QVERIFY(writeFile(target, "earlier backup"));

    if (breakage == u"no template") {
        QVERIFY(QFile::remove(templatePath));
    } else if (breakage == u"narrow template") {
        QVERIFY(withFile(templatePath, [](QSqlDatabase t) {
            return exec(t, u"DROP TABLE \"配件\""_s) && exec(t, u"CREATE TABLE \"配件\" (a INTEGER, b INTEGER)"_s);
        }));
    } else if (breakage == u"junk template") {
        QVERIFY(writeFile(templatePath, QByteArray(4096, 'x')));
    } else if (breakage == u"no folder") {
        target = folder() + u"/missing/keep.MBK"_s;
    } else if (breakage == u"main") {
        target = platform::dataFile(kMainFile);
    } else if (breakage == u"main link") {
        target = folder() + u"/link.MBK"_s;
        QVERIFY(hardLink(platform::dataFile(kMainFile), target));
    }
    const QStringList dataFiles = filesIn(platform::dataFolder());

    BackupStore store;
    std::optional<testfixture::FileSizeLimit> limit;
    if (breakage == u"full")
        limit.emplace(rlim_t(1000));
    const StoreResult got = store.backupTo(target);
    const QString error = store.lastError();
    limit.reset();
    QCOMPARE(got, expected);
    QVERIFY(!error.isEmpty());
    if (breakage == u"full")
        QVERIFY2(error.contains(u"磁盘已满"_s), qPrintable(error));
    if (expected == StoreResult::TemplateMissing)
        QVERIFY(error.contains(kTemplateFile));
    QStringList left{u"keep.MBK"_s};
    if (breakage == u"main link")
        left.append(u"link.MBK"_s);
    QCOMPARE(filesIn(folder()), left);
    QCOMPARE(readAll(folder() + u"/keep.MBK"_s), QByteArray("earlier backup"));
    QCOMPARE(filesIn(platform::dataFolder()), dataFiles);
    QCOMPARE(snapshot(mainDb()), before);
}

void TstBackup::restoreFailureLeavesDatabaseUntouched_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<StoreResult>("expected");
    QTest::newRow("20th table has an extra column") << u"extra column"_s << StoreResult::CopyFailed;
    // Found only while copying, after 19 tables were already emptied and refilled.
    QTest::newRow("20th table breaks the unique 编号") << u"duplicate"_s << StoreResult::CopyFailed;
    QTest::newRow("a table is missing") << u"missing table"_s << StoreResult::CopyFailed;
    QTest::newRow("not a database") << u"junk"_s << StoreResult::CannotOpen;
    QTest::newRow("file gone") << u"gone"_s << StoreResult::CannotOpen;
    QTest::newRow("the main database itself") << u"main"_s << StoreResult::CannotOpen;
    QTest::newRow("a hard link to the main database") << u"main link"_s << StoreResult::CannotOpen;
}

void TstBackup::restoreFailureLeavesDatabaseUntouched()
{
    QFETCH(QString, breakage);
    QFETCH(StoreResult, expected);

    QVERIFY(fillAllTables(mainDb()));
    const QString good = folder() + u"/good.MBK"_s;
    QString path = folder() + u"/bad.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(good), StoreResult::Done);
    QVERIFY(QFile::copy(good, path));
    QVERIFY(changeAllTables(mainDb()));
    const Snapshot before = snapshot(mainDb());
    QCOMPARE(BackupTableName(20), u"配件"_s);

    if (breakage == u"extra column") {
        QVERIFY(withFile(path, [](QSqlDatabase b) { return exec(b, u"ALTER TABLE \"配件\" ADD COLUMN x TEXT"_s); }));
    } else if (breakage == u"duplicate") {
        QVERIFY(withFile(path, [](QSqlDatabase b) {
            return exec(b, u"DROP INDEX \"ux_配件_编号\""_s)
                && exec(b, u"INSERT INTO \"配件\" (\"编号\", \"配件名称\") VALUES (17, '重号')"_s);
        }));
    } else if (breakage == u"missing table") {
        QVERIFY(withFile(path, [](QSqlDatabase b) { return exec(b, u"DROP TABLE \"图\""_s); }));
    } else if (breakage == u"junk") {
        QVERIFY(writeFile(path, QByteArray(4096, 'x')));
    } else if (breakage == u"gone") {
        QVERIFY(QFile::remove(path));
    } else if (breakage == u"main") {
        path = platform::dataFile(kMainFile);
    } else if (breakage == u"main link") {
        QVERIFY(QFile::remove(path));
        QVERIFY(hardLink(platform::dataFile(kMainFile), path));
    }

    QCOMPARE(store.restoreFrom(path), expected);
    QVERIFY(!store.lastError().isEmpty());
    QCOMPARE(snapshot(mainDb()), before);

    // No transaction is left open: the next restore goes through.
    QCOMPARE(store.restoreFrom(good), StoreResult::Done);
    QVERIFY(snapshot(mainDb()) != before);
}

void TstBackup::restoreOlderBackupWithFewerColumns()
{
    QVERIFY(fillAllTables(mainDb()));
    const QString path = folder() + u"/older.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    // Fields go by position: the older table's names do not matter, missing last columns stay null.
    QVERIFY(withFile(path, [](QSqlDatabase b) {
        return exec(b, u"DROP TABLE \"工程\""_s) && exec(b, u"CREATE TABLE \"工程\" (n INTEGER, a TEXT, b TEXT)"_s)
            && exec(b, u"INSERT INTO \"工程\" VALUES (?, ?, ?)"_s, {5, u"HT-1"_s, u"旧工程's"_s});
    }));

    QCOMPARE(store.restoreFrom(path), StoreResult::Done);
    QSqlQuery q(mainDb());
    QVERIFY(q.exec(u"SELECT * FROM \"工程\""_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toLongLong(), 5);
    QCOMPARE(q.value(1).toString(), u"HT-1"_s);
    QCOMPARE(q.value(2).toString(), u"旧工程's"_s);
    QVERIFY(q.value(3).isNull());
    QVERIFY(q.value(4).isNull());
    QVERIFY(!q.next());
}

void TstBackup::storedValuesSurviveBackupAndRestore_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("storedAs");
    const QString odd = u"it's \"框\"\t\r\n\\ 100%_;--"_s + QChar(0) + u"尾"_s;
    QTest::newRow("text with quotes, controls and a NUL") << u"型材"_s << u"型材名称"_s << QVariant(odd) << u"text"_s;
    QTest::newRow("text beyond the basic plane") << u"配件"_s << u"配件名称"_s << QVariant(u"𠀋𡈽 ✓ é"_s) << u"text"_s;
    QTest::newRow("text over several pages") << u"窗型材"_s << u"计算公式"_s
                                            << QVariant(QString(20000, u'L') + u"末"_s) << u"text"_s;
    QTest::newRow("number text in a text column") << u"窗配件"_s << u"规格"_s << QVariant(u"0012"_s) << u"text"_s;
    QTest::newRow("text in a real column") << u"型材"_s << u"型材长度"_s << QVariant(u"约6米"_s) << u"text"_s;
    QTest::newRow("blob with zero bytes in a text column")
        << u"门窗"_s << u"图文件"_s << QVariant(QByteArray("\0\xff\0MC", 5)) << u"blob"_s;
    QTest::newRow("blob in an integer column") << u"门窗"_s << u"图号"_s << QVariant(QByteArray("\x01\x02")) << u"blob"_s;
    QTest::newRow("largest integer") << u"型钢"_s << u"厂家编号"_s
                                     << QVariant(std::numeric_limits<qint64>::max()) << u"integer"_s;
    QTest::newRow("smallest integer") << u"玻璃"_s << u"厂家编号"_s
                                      << QVariant(std::numeric_limits<qint64>::min()) << u"integer"_s;
    QTest::newRow("real without a short form") << u"型钢"_s << u"型钢吨价格"_s << QVariant(0.1 + 0.2) << u"real"_s;
    QTest::newRow("smallest real") << u"玻璃"_s << u"玻璃厚度"_s
                                   << QVariant(std::numeric_limits<double>::denorm_min()) << u"real"_s;
    QTest::newRow("largest real") << u"Line"_s << u"x2"_s << QVariant(std::numeric_limits<double>::max())
                                  << u"real"_s;
    QTest::newRow("whole number in a real column") << u"配件"_s << u"配件单价"_s << QVariant(qint64(3)) << u"real"_s;
    QTest::newRow("null in the unique number") << u"工程"_s << u"编号"_s << QVariant() << u"null"_s;
}

// One odd value in a table full of ordinary rows, one row gone from every table so that the row
// numbers have gaps: the backup file and the restored database hold every field as it was stored,
// its storage class included, rows in the same order.
void TstBackup::storedValuesSurviveBackupAndRestore()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, storedAs);

    QSqlDatabase db = mainDb();
    QVERIFY(fillAllTables(db));
    for (const QString &t : backupTables())
        QVERIFY(exec(db, u"DELETE FROM %1 WHERE rowid = (SELECT min(rowid) + 1 FROM %1)"_s.arg(platform::ident(t))));
    QVERIFY(exec(db, u"UPDATE %1 SET %2 = ? WHERE rowid = (SELECT max(rowid) FROM %1)"_s.arg(platform::ident(table),
                                                                                          platform::ident(column)),
                 {value}));
    QSqlQuery q(db);
    QVERIFY(q.exec(u"SELECT typeof(%2) FROM %1 WHERE rowid = (SELECT max(rowid) FROM %1)"_s.arg(
        platform::ident(table), platform::ident(column))));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), storedAs);
    q.finish();
    const Snapshot original = storedSnapshot(db);

    const QString path = folder() + u"/odd.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    QVERIFY(withFile(path, [&](QSqlDatabase bak) {
        [&] { QCOMPARE(storedSnapshot(bak), original); }();
        return !QTest::currentTestFailed();
    }));
    QVERIFY(changeAllTables(db));
    QCOMPARE(store.restoreFrom(path), StoreResult::Done);
    QCOMPARE(storedSnapshot(db), original);
}

// A backup file whose index does not match its rows (an index of one column recorded as one of
// another): the restored tables get their index entries from the rows, not from the file.
void TstBackup::restoreBuildsIndexesFromTheRows()
{
    QVERIFY(fillAllTables(mainDb()));
    const QString path = folder() + u"/index.MBK"_s;
    BackupStore store;
    QCOMPARE(store.backupTo(path), StoreResult::Done);
    QVERIFY(withFile(path, [](QSqlDatabase b) {
        return exec(b, u"DROP INDEX \"ux_工程_编号\""_s)
            && exec(b, u"CREATE UNIQUE INDEX \"ux_工程_编号\" ON \"工程\" (\"合同编号\")"_s)
            && exec(b, u"PRAGMA writable_schema = ON"_s)
            && exec(b, u"UPDATE \"sqlite_master\" SET \"sql\" = ? WHERE \"name\" = ?"_s,
                    {u"CREATE UNIQUE INDEX \"ux_工程_编号\" ON \"工程\" (\"编号\")"_s, u"ux_工程_编号"_s});
    }));
    QVERIFY(changeAllTables(mainDb()));

    QCOMPARE(store.restoreFrom(path), StoreResult::Done);
    QSqlQuery q(mainDb());
    QVERIFY(q.exec(u"PRAGMA integrity_check"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), u"ok"_s);
    // The lookup a new job number makes goes through the index.
    QVERIFY(q.prepare(u"SELECT count(*) FROM \"工程\" INDEXED BY \"ux_工程_编号\" WHERE \"编号\" = ?"_s));
    q.addBindValue(qint64(17));
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
}

void TstBackup::windowsBackUpAndRestore()
{
    platform::ScriptedMessages *msgs = m_fx->msgs;
    QVERIFY(fillAllTables(mainDb()));
    const Snapshot original = snapshot(mainDb());

    FrmTools tools;
    QCOMPARE(tools.windowTitle(), u"数据库管理器"_s);
    auto *backup = child<QPushButton>(&tools, u"CmdBackup"_s);
    auto *restore = child<QPushButton>(&tools, u"CmdRestore"_s);
    auto *exitButton = child<QPushButton>(&tools, u"CmdExit"_s);
    QVERIFY(backup && restore && exitButton);
    QCOMPARE(backup->text(), u"备份数据库 &B"_s);
    QCOMPARE(restore->text(), u"还原数据库 &R"_s);
    QCOMPARE(exitButton->text(), u"退出 &Q"_s);

    // The save dialog: refused OKs keep it open with its entries, then a good one backs up.
    QStringList seen;
    int result = -1;
    msgs->onDialog = [&](QDialog *d) {
        seen << d->windowTitle();
        auto *dir = child<QLineEdit>(d, u"Dir1"_s);
        auto *name = child<QLineEdit>(d, u"TxtFileName"_s);
        auto *ok = child<QPushButton>(d, u"OKButton"_s);
        auto *browse = child<QPushButton>(d, u"CmdBrowse"_s);
        if (!dir || !name || !ok || !browse)
            return int(QDialog::Rejected);
        seen << dir->text() << name->text() << ok->text()
             << child<QPushButton>(d, u"CancelButton"_s)->text();

        ok->click(); // empty name
        seen << msgs->lastText();
        name->setText(u"周备份"_s);
        dir->clear();
        ok->click(); // empty folder
        seen << msgs->lastText() << name->text();
        msgs->fileNames << folder();
        browse->click();
        seen << dir->text();
        ok->click();
        result = d->result();
        return result;
    };
    backup->click();
    QCOMPARE(msgs->dialogNames, QStringList{u"frmSaveFile"_s});
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(seen, (QStringList{u"备份文件"_s, QDir::currentPath(), QString(), u"&Y 确定"_s, u"&E 退出"_s,
                                u"文件名不能为空！"_s, u"路径不能为空！"_s, u"周备份"_s, folder()}));
    QCOMPARE(msgs->texts(), (QStringList{u"文件名不能为空！"_s, u"路径不能为空！"_s, u"已备份完毕！"_s}));
    for (const platform::ShownMessage &m : std::as_const(msgs->shown))
        QCOMPARE(m.title, u"提示"_s);
    QCOMPARE(filesIn(folder()), QStringList{u"周备份.MBK"_s});

    // Restore through the file dialog; cancelling it ends silently.
    QVERIFY(changeAllTables(mainDb()));
    const Snapshot current = snapshot(mainDb());
    msgs->clear();
    restore->click();
    QVERIFY(msgs->shown.isEmpty());
    // Then a question before the current data goes; No, and Enter alike, keep every row.
    for (const QList<platform::MsgAnswer> &answers : {QList{platform::MsgAnswer::No}, QList<platform::MsgAnswer>{}}) {
        msgs->clear();
        msgs->answers = answers;
        msgs->fileNames << folder() + u"/周备份.MBK"_s;
        restore->click();
        QCOMPARE(msgs->texts(), QStringList{kRestoreQuestion});
        QCOMPARE(msgs->shown.first().defaultButton, platform::MsgDefault::No);
        QCOMPARE(snapshot(mainDb()), current);
    }
    msgs->clear();
    msgs->answers = {platform::MsgAnswer::Yes};
    msgs->fileNames << folder() + u"/周备份.MBK"_s;
    restore->click();
    QCOMPARE(msgs->texts(), (QStringList{kRestoreQuestion, u"数据恢复完毕！"_s}));
    QCOMPARE(snapshot(mainDb()), original);

    // A failing restore says so and why; the database keeps its rows.
    QVERIFY(changeAllTables(mainDb()));
    const Snapshot changed = snapshot(mainDb());
    const QString bad = folder() + u"/坏.MBK"_s;
    QVERIFY(QFile::copy(folder() + u"/周备份.MBK"_s, bad));
    QVERIFY(withFile(bad, [](QSqlDatabase b) { return exec(b, u"ALTER TABLE \"配件\" ADD COLUMN x TEXT"_s); }));
    msgs->clear();
    msgs->answers = {platform::MsgAnswer::Yes};
    msgs->fileNames << bad;
    restore->click();
    QCOMPARE(msgs->shown.size(), 2);
    QCOMPARE(msgs->shown.first().text, kRestoreQuestion);
    const QString failure = msgs->lastText();
    QVERIFY2(failure.startsWith(u"复制出错!\n"_s) && failure.contains(u"配件"_s) && failure.contains(u"列"_s),
             qPrintable(failure));
    QCOMPARE(msgs->shown.last().title, u"提示"_s);
    QCOMPARE(snapshot(mainDb()), changed);

    msgs->clear();
    msgs->answers = {platform::MsgAnswer::Yes};
    msgs->fileNames << folder() + u"/not-there.MBK"_s;
    restore->click();
    QCOMPARE(msgs->shown.size(), 2);
    QCOMPARE(msgs->shown.last().title, u"出错"_s);
    QVERIFY(msgs->lastText().contains(u"not-there.MBK"_s));
}

void TstBackup::windowBackupFailureIsReported_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("template missing") << u"no template"_s << u"出错"_s << kTemplateFile;
    QTest::newRow("copy fails") << u"narrow template"_s << u"提示"_s << u"复制出错!"_s;
    QTest::newRow("folder missing") << u"no folder"_s << u"出错"_s << u"missing"_s;
}

void TstBackup::windowBackupFailureIsReported()
{
    QFETCH(QString, breakage);
    QFETCH(QString, title);
    QFETCH(QString, text);

    const QString templatePath = platform::dataFile(kTemplateFile);
    QString dirText = folder();
    if (breakage == u"no template")
        QVERIFY(QFile::remove(templatePath));
    else if (breakage == u"narrow template")
        QVERIFY(withFile(templatePath, [](QSqlDatabase t) {
            return exec(t, u"DROP TABLE \"配件\""_s) && exec(t, u"CREATE TABLE \"配件\" (a INTEGER)"_s);
        }));
    else
        dirText = folder() + u"/missing"_s;

    platform::ScriptedMessages *msgs = m_fx->msgs;
    bool stayedOpen = false;
    msgs->onDialog = [&](QDialog *d) {
        child<QLineEdit>(d, u"Dir1"_s)->setText(dirText);
        child<QLineEdit>(d, u"TxtFileName"_s)->setText(u"x"_s);
        child<QPushButton>(d, u"OKButton"_s)->click();
        stayedOpen = d->result() != QDialog::Accepted;
        child<QPushButton>(d, u"CancelButton"_s)->click();
        return d->result();
    };
    FrmTools tools;
    child<QPushButton>(&tools, u"CmdBackup"_s)->click();

    QVERIFY(stayedOpen);
    QCOMPARE(msgs->shown.size(), 1);
    QCOMPARE(msgs->shown.first().title, title);
    QVERIFY2(msgs->lastText().contains(text), qPrintable(msgs->lastText()));
    QVERIFY(!msgs->texts().contains(u"已备份完毕！"_s));
    QVERIFY(filesIn(folder()).isEmpty());
}

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"
