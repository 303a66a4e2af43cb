// Import of an older main database: the sixteen tables copied by position, the drawing library
// rebuilt from the types' drawing files (arcs included), and all or nothing.
#include "../app/fixture.h"
#include "drawingtest.h"

#include "drawing/import.h"
#include "drawing/store.h"
#include "drawing/ui/importdatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace drawing;
using testfixture::exec;
using testfixture::rowCount;

namespace {
const QString kOld = u"TestOldDb"_s;

QList<QVariantList> rows(QSqlDatabase db, const QString &sql)
{
    QList<QVariantList> out;
    QSqlQuery q(db);
    if (!q.exec(sql))
        qWarning("%s", qPrintable(q.lastError().text()));
    while (q.next()) {
        QVariantList r;
        for (int i = 0; i < q.record().count(); ++i)
            r << q.value(i);
        out << r;
    }
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

class TstImport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void importsTablesAndRebuildsDrawings();
    void failureLeavesMainDatabaseUnchanged();
    void cannotOpen_data();
    void cannotOpen();
    void ownDatabaseIsRefused_data();
    void ownDatabaseIsRefused();
    void missingSourceTableKeepsRows();
    void resetEmptiesArcs();

private:
    // An older database: the import tables, 门窗 with its first four columns only.
    void makeOld(bool extraColumn = false);
    void fillOld(bool extraColumn);
    QString m_oldPath;
    QString m_drawings;
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstImport::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QDir(m_fx->dir->path()).mkpath(u"old"_s);
    m_oldPath = m_fx->dir->filePath(u"old/cl.mdb"_s);
    m_drawings = m_fx->dir->filePath(u"old"_s);
    QSqlDatabase db = app::mainDb();
    // What the main database holds before.
    QVERIFY(exec(db, u"INSERT INTO \"工程\" (\"编号\", \"工程名称\") VALUES (1, '现有工程')"_s));
    QVERIFY(exec(db, u"INSERT INTO \"标注2\" (MCBN, CBN, MC) VALUES (1, 2, 'keep')"_s));
    QVERIFY(exec(db, u"INSERT INTO \"图\" (\"编号\", \"图名\") VALUES (1, '旧图')"_s));
    QVERIFY(exec(db, u"INSERT INTO \"Arc\" VALUES (1, 1, 2, 2, 3, 1, 1)"_s));
    QVERIFY(exec(db, u"INSERT INTO \"Arc\" VALUES (1, 1, 2, 2, 3, 1, 50)"_s));
    QVERIFY(exec(db, u"INSERT INTO \"Line\" VALUES (1, 1, 2, 2, 1)"_s));
}

void TstImport::cleanup()
{
    platform::closeConnection(kOld);
    m_fx.reset();
}

void TstImport::makeOld(bool extraColumn)
{
    QString err;
    QVERIFY2(app::createDatabaseFile(m_oldPath, app::kMainFile, &err), qPrintable(err));
    QVERIFY(platform::openSqlite(kOld, m_oldPath, &err));
    fillOld(extraColumn);
    platform::closeConnection(kOld);
}

void TstImport::fillOld(bool extraColumn)
{
    QSqlDatabase old = QSqlDatabase::database(kOld);
    QVERIFY(exec(old, u"DROP TABLE \"门窗\""_s));
    QVERIFY(exec(old, u"CREATE TABLE \"门窗\" (\"系列编号\" INTEGER, \"编号\" INTEGER, \"名称\" TEXT, \"图文件\" TEXT)"_s));
    if (extraColumn)
        QVERIFY(exec(old, u"ALTER TABLE \"配件\" ADD COLUMN \"多余\" TEXT"_s));
    QVERIFY(exec(old, u"INSERT INTO \"工程\" (\"编号\", \"工程名称\") VALUES (7, '旧工程'), (9, 'O''Brien 工程')"_s));
    QVERIFY(exec(old, u"INSERT INTO \"材料厂家\" VALUES (3, '厂家', '', '', '', 1)"_s));
    QVERIFY(exec(old, u"INSERT INTO \"配件\" (\"厂家编号\", \"编号\", \"配件名称\") VALUES (3, 1, '执手')"_s));
    // Three types: a file at its path, a file named by a path of another system, no file.
    const QString here = m_drawings + u"/a.MC"_s;
    QVERIFY(writeFile(here, "Line\r\n 1 \r\n 2 \r\n 3 \r\n 4 \r\nString\r\n 5 \r\n 6 \r\nB\r\n"));
    QVERIFY(writeFile(m_drawings + u"/ARCH.mc"_s, "Arc\r\n 1000 \r\n 0 \r\n 0 \r\n 1000 \r\n-1000 \r\n 0 \r\n"));
    QVERIFY(exec(old, u"INSERT INTO \"门窗\" VALUES (1, 20, '平开窗', ?)"_s, {here}));
    QVERIFY(exec(old, u"INSERT INTO \"门窗\" VALUES (1, 10, '拱窗', 'C:\\My Documents\\arch.MC')"_s));
    QVERIFY(exec(old, u"INSERT INTO \"门窗\" VALUES (1, 30, '无图窗', 'C:\\nowhere\\none.MC')"_s));
}

void TstImport::importsTablesAndRebuildsDrawings()
{
    makeOld();
    QVERIFY(drawing::ui::ImportOldDatabase(nullptr, m_oldPath));
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"数据库已导入完毕。"_s});
    QCOMPARE(m_fx->msgs->shown.constFirst().title, u"报告"_s);

    QSqlDatabase db = app::mainDb();
    QCOMPARE(rows(db, u"SELECT \"编号\", \"工程名称\" FROM \"工程\" ORDER BY rowid"_s),
             (QList<QVariantList>{{7, u"旧工程"_s}, {9, u"O'Brien 工程"_s}}));
    QCOMPARE(rows(db, u"SELECT \"配件名称\" FROM \"配件\""_s), (QList<QVariantList>{{u"执手"_s}}));
    QCOMPARE(rowCount(db, u"标注2"_s), 1); // not an import table
    // Drawings numbered from 1 in table order, named after the types.
    QCOMPARE(rows(db, u"SELECT \"编号\", \"图号\" FROM \"门窗\" ORDER BY rowid"_s),
             (QList<QVariantList>{{20, 1}, {10, 2}, {30, 3}}));
    QCOMPARE(rows(db, u"SELECT \"编号\", \"图名\" FROM \"图\" ORDER BY \"编号\""_s),
             (QList<QVariantList>{{1, u"平开窗"_s}, {2, u"拱窗"_s}, {3, u"无图窗"_s}}));
    QCOMPARE(rows(db, u"SELECT x1, y1, x2, y2, Bn FROM \"Line\""_s), (QList<QVariantList>{{1.0, 2.0, 3.0, 4.0, 1}}));
    QCOMPARE(rows(db, u"SELECT Chars, Bn FROM \"Strings\""_s), (QList<QVariantList>{{u"B"_s, 1}}));
    // The arcs of the rebuilt library only: the old rows of 1 and 50 are gone.
    QCOMPARE(rows(db, u"SELECT x1, Bn FROM \"Arc\""_s), (QList<QVariantList>{{1000.0, 2}}));
}

void TstImport::failureLeavesMainDatabaseUnchanged()
{
    makeOld(true); // 配件 comes after 工程 in the import order, and fails
    QSqlDatabase db = app::mainDb();
    const auto before = rows(db, u"SELECT * FROM \"工程\""_s);
    QVERIFY(!drawing::ui::ImportOldDatabase(nullptr, m_oldPath));
    QVERIFY(!m_fx->msgs->texts().contains(u"数据库已导入完毕。"_s));
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->lastText().startsWith(u"数据库导入出错"_s));
    QCOMPARE(rows(db, u"SELECT * FROM \"工程\""_s), before);
    QCOMPARE(rowCount(db, u"图"_s), 1);
    QCOMPARE(rowCount(db, u"Arc"_s), 2);
    QCOMPARE(rowCount(db, u"Line"_s), 1);
}

void TstImport::cannotOpen_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("not a database") << QByteArray("this is not a database file, not at all........");
}

void TstImport::cannotOpen()
{
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        QVERIFY(writeFile(m_oldPath, content));
    QVERIFY(!drawing::ui::ImportOldDatabase(nullptr, m_oldPath));
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无法打开数据库！"_s});
    QCOMPARE(m_fx->msgs->shown.constFirst().icon, platform::MsgIcon::Exclamation);
    QCOMPARE(rowCount(app::mainDb(), u"工程"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"Arc"_s), 2);

    // An SQLite file without any of the tables is no older main database either.
    m_fx->msgs->clear();
    QFile::remove(m_oldPath);
    QString err;
    QVERIFY(platform::openSqlite(kOld, m_oldPath, &err, true));
    QVERIFY(exec(QSqlDatabase::database(kOld), u"CREATE TABLE other (a INTEGER)"_s));
    platform::closeConnection(kOld);
    QCOMPARE(drawing::ImportOldDatabase(m_oldPath, &err), ImportStatus::CannotOpen);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
}

void TstImport::ownDatabaseIsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("the live cl.mdb") << app::kMainFile;
    QTest::newRow("the live cl.mdb by a detour") << u"../data/./cl.mdb"_s;
    QTest::newRow("the backup template") << app::kTemplateFile;
    QTest::newRow("a hard link to cl.mdb") << u"hard link"_s;
}

// Importing the live database would rebuild the library from drawing files and lose every drawing.
void TstImport::ownDatabaseIsRefused()
{
    QFETCH(QString, path);
    QString file = platform::dataFile(path);
    QTemporaryDir elsewhere;
    if (path == u"hard link") {
        // Another path, the same file.
        file = elsewhere.filePath(u"old.mdb"_s);
        QCOMPARE(::link(QFile::encodeName(platform::dataFile(app::kMainFile)).constData(),
                        QFile::encodeName(file).constData()), 0);
    }
    QSqlDatabase db = app::mainDb();
    const QList<QVariantList> jobs = rows(db, u"SELECT * FROM \"工程\""_s);
    QVERIFY(!drawing::ui::ImportOldDatabase(nullptr, file));
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"不能导入当前正在使用的数据库，请选择旧版的数据库文件。"_s});
    QCOMPARE(rowCount(db, u"图"_s), 1);
    QCOMPARE(rowCount(db, u"Arc"_s), 2);
    QCOMPARE(rowCount(db, u"Line"_s), 1);
    QCOMPARE(rows(db, u"SELECT * FROM \"工程\""_s), jobs);
}

void TstImport::missingSourceTableKeepsRows()
{
    makeOld();
    QString err;
    QVERIFY(platform::openSqlite(kOld, m_oldPath, &err));
    QVERIFY(exec(QSqlDatabase::database(kOld), u"DROP TABLE \"标注\""_s));
    platform::closeConnection(kOld);
    QVERIFY(exec(app::mainDb(), u"INSERT INTO \"标注\" (Px, Py, schar, MCNUM) VALUES (1, 2, 'B', 5)"_s));
    QCOMPARE(drawing::ImportOldDatabase(m_oldPath, &err), ImportStatus::Done);
    QCOMPARE(rowCount(app::mainDb(), u"标注"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"工程"_s), 2);
}

void TstImport::resetEmptiesArcs()
{
    QSqlDatabase db = app::mainDb();
    QVERIFY(exec(db, u"INSERT INTO \"门窗\" VALUES (1, 1, '甲', '', 99)"_s));
    QVERIFY(exec(db, u"INSERT INTO \"门窗\" VALUES (1, 2, '乙', NULL, 98)"_s));
    QString err;
    QVERIFY2(ResetDrawingTables(&err), qPrintable(err));
    QCOMPARE(rowCount(db, u"Arc"_s), 0);
    QCOMPARE(rowCount(db, u"Line"_s), 0);
    QCOMPARE(rows(db, u"SELECT \"编号\", \"图名\" FROM \"图\" ORDER BY \"编号\""_s),
             (QList<QVariantList>{{1, u"甲"_s}, {2, u"乙"_s}}));
    QCOMPARE(rows(db, u"SELECT \"图号\" FROM \"门窗\" ORDER BY rowid"_s), (QList<QVariantList>{{1}, {2}}));
}

QTEST_MAIN(TstImport)
#include "tst_import.moc"
