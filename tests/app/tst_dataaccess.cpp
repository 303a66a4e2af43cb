#include "fixture.h"

#include "app/cipher.h"

using namespace Qt::StringLiterals;
using namespace app;

class TstDataAccess : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void cipherExamples_data();
    void cipherExamples();
    void cipherRoundTrip_data();
    void cipherRoundTrip();
    void decipherRefusesBadForms_data();
    void decipherRefusesBadForms();

    void nextIdFollowsLargest();
    void nextIdFailsLoudly();
    void tagHelpers_data();
    void tagHelpers();
    void loadRecordById();
    void loadRecordByField();
    void recordExists();
    void firstStartMakesAllFiles();
    void cutShortFirstStartIsCompleted_data();
    void cutShortFirstStartIsCompleted();
    void unreadableFileIsLeftAlone();
    void templateHoldsTheBackupTables();
    void olderFileLosesThePiecesCodeIndex();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstDataAccess::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
}

void TstDataAccess::cipherExamples_data()
{
    QTest::addColumn<QString>("clear");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("one character") << u"a"_s << false << QString();
    QTest::newRow("one character keyed") << u"a"_s << true << QString();
    QTest::newRow("two") << u"ab"_s << false << u"00210066"_s;
    QTest::newRow("three") << u"abc"_s << false << u"002100360066"_s;
    // key -17923 = 0xB9FD: 0021 ^ B9FD = B9DC, 0036 ^ B9FD = B9CB, 0066 ^ B9FD = B99B
    QTest::newRow("three keyed") << u"abc"_s << true << u"B9DCB9CBB99B"_s;
}

void TstDataAccess::cipherExamples()
{
    QFETCH(QString, clear);
    QFETCH(bool, keyed);
    QFETCH(QString, expected);
    QCOMPARE(keyed ? EncDecrypt::KeyEncBuf(clear, kPasswordKey) : EncDecrypt::EncBuf(clear), expected);
}

void TstDataAccess::cipherRoundTrip_data()
{
    QTest::addColumn<QString>("clear");
    QTest::newRow("latin") << u"admin"_s;
    QTest::newRow("quote") << u"it's"_s;
    QTest::newRow("chinese") << u"门窗密码"_s;
    QTest::newRow("mixed") << u"塑钢ab12"_s;
}

void TstDataAccess::cipherRoundTrip()
{
    QFETCH(QString, clear);
    const QString enc = EncDecrypt::KeyEncBuf(clear, kPasswordKey);
    QCOMPARE(enc.size(), 4 * clear.size());
    QVERIFY(QRegularExpression(u"^[0-9A-F]+$"_s).match(enc).hasMatch());
    QCOMPARE(EncDecrypt::KeyDecBuf(enc, kPasswordKey), clear);
    QCOMPARE(EncDecrypt::DecBuf(EncDecrypt::EncBuf(clear)), clear);
    // Deterministic, so the stored form can be matched in a query.
    QCOMPARE(EncDecrypt::KeyEncBuf(clear, kPasswordKey), enc);
}

void TstDataAccess::decipherRefusesBadForms_data()
{
    QTest::addColumn<QString>("hex");
    QTest::newRow("one group") << u"0061"_s;
    QTest::newRow("length 10") << u"0061006200"_s;
    QTest::newRow("not hex") << u"00ZZ0062"_s;
}

void TstDataAccess::decipherRefusesBadForms()
{
    QFETCH(QString, hex);
    QCOMPARE(EncDecrypt::DecBuf(hex), QString());
    QCOMPARE(EncDecrypt::CmprEncBuf(hex), QString());
    QCOMPARE(EncDecrypt::KeyDecBuf(hex, kPasswordKey), QString());
}

void TstDataAccess::nextIdFollowsLargest()
{
    QCOMPARE(GetNextId(u"工程"_s).value_or(-1), 1);
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 工程 (编号, 工程名称) VALUES (41, 'a'), (7, 'b')"_s));
    QCOMPARE(GetNextId(u"工程"_s).value_or(-1), 42);
}

void TstDataAccess::nextIdFailsLoudly()
{
    QString err;
    QVERIFY(!GetNextId(u"NoSuchTable"_s, &err).has_value());
    QVERIFY(!err.isEmpty());
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 工程 (编号) VALUES (2147483647)"_s));
    QVERIFY(!GetNextId(u"工程"_s).has_value());
}

void TstDataAccess::tagHelpers_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rest");
    QTest::newRow("series 17") << u"3"_s << u"17"_s << u"317"_s << u"3"_s << u"17"_s;
    QTest::newRow("blanks trimmed") << u" 2 "_s << u" 15"_s << u"215"_s << u"2"_s << u"15"_s;
    QTest::newRow("kind only") << u"5"_s << QString() << u"5"_s << u"5"_s << QString();
}

void TstDataAccess::tagHelpers()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, tag);
    QCOMPARE(JoinTrimmed(a, b), tag);
    QTEST(FirstChar(tag), "first");
    QTEST(AfterFirstChar(tag), "rest");
}

void TstDataAccess::loadRecordById()
{
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 型材 VALUES (3, 9, ?, NULL, 6000, 1.5, 'white', .85, 9000)"_s,
                              {u"名'称"_s}));
    const QStringList old(16, u"old"_s);
    const std::optional<QStringList> row = LoadRecordById(u"型材"_s, 9, old);
    QVERIFY(row);
    const QStringList expected = {u"3"_s, u"9"_s, u"名'称"_s, QString(), u"6000"_s, u"1.5"_s, u"white"_s, u"0.85"_s, u"9000"_s};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(row->at(i), expected.at(i));
    QCOMPARE(row->at(9), u"old"_s); // beyond the table's columns
    QString error;
    QCOMPARE(LoadRecordById(u"型材"_s, 10, old, &error), std::nullopt);
    QCOMPARE(error, u"记录不存在"_s);
}

void TstDataAccess::loadRecordByField()
{
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 材料厂家 VALUES (4, 'Maker', NULL, 'x', NULL, 1)"_s));
    const QStringList old(16, u"old"_s);
    QCOMPARE(LoadRecordByField(u"材料厂家"_s, u"厂家名称"_s, u"nobody"_s, old), std::nullopt);
    const std::optional<QStringList> row =
        LoadRecordByField(u"材料厂家"_s, u"厂家名称"_s, u"MAKER"_s, old); // text compares without case
    QVERIFY(row);
    QCOMPARE(row->at(0), u"4"_s);
    QCOMPARE(row->at(2), u"old"_s); // null keeps the old value
    QCOMPARE(row->at(3), u"x"_s);
}

void TstDataAccess::recordExists()
{
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO 门窗厂家 VALUES (5, ?)"_s, {u"a'b"_s}));
    QCOMPARE(RecordExists(u"门窗厂家"_s, u"名称"_s, u"A'B"_s), std::optional<bool>(true));
    QCOMPARE(RecordExists(u"门窗厂家"_s, u"编号"_s, 6), std::optional<bool>(false));
    QVERIFY(!RecordExists(u"NoSuch"_s, u"x"_s, 1).has_value());
}

void TstDataAccess::firstStartMakesAllFiles()
{
    for (const QString &f : {kMainFile, kWarehouseFile, kUserFile, kTemplateFile})
        QVERIFY2(QFile::exists(platform::dataFile(f)), qPrintable(f));
    QString err;
    QVERIFY(platform::openSqlite(u"u"_s, platform::dataFile(kUserFile), &err));
    QSqlQuery q(QSqlDatabase::database(u"u"_s));
    QVERIFY(q.exec(u"SELECT * FROM User"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), u"Admin"_s);
    QCOMPARE(q.value(1).toString(), KeyEncBuf(u"admin"_s, kPasswordKey));
    QCOMPARE(q.value(2).toString(), u"111111111111"_s);
    q = QSqlQuery();
    platform::closeConnection(u"u"_s);
    // A second start finds the folder and leaves it alone.
    bool created = true;
    QVERIFY(ensureDataFolder(&err, &created));
    QVERIFY(!created);
}

namespace {
QStringList tablesOf(const QString &path)
{
    QString err;
    if (!platform::openSqlite(u"look"_s, path, &err))
        return {};
    const QStringList t = platform::tableNames(QSqlDatabase::database(u"look"_s));
    platform::closeConnection(u"look"_s);
    return t;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
} // namespace

void TstDataAccess::cutShortFirstStartIsCompleted_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("shape");
    for (const QString &file : {kMainFile, kWarehouseFile, kUserFile, kTemplateFile})
        for (const QString &shape : {u"missing"_s, u"zero-length"_s})
            QTest::addRow("%s %s", qPrintable(file), qPrintable(shape)) << file << shape;
    QTest::newRow("cl.mdb without a table") << kMainFile << u"no table"_s;
    QTest::newRow("user.mdb half-made under its temporary name") << kUserFile << u"temporary left"_s;
}

// A first start cut short leaves the folder with a file missing or empty; the next start builds it.
void TstDataAccess::cutShortFirstStartIsCompleted()
{
    QFETCH(QString, file);
    QFETCH(QString, shape);
    platform::closeConnection(kMainConn);
    const QString path = platform::dataFile(file);
    const QStringList tables = tablesOf(path);
    QVERIFY(!tables.isEmpty());
    const QStringList files = QDir(platform::dataFolder()).entryList(QDir::Files, QDir::Name);
    // The other files keep what they hold.
    const QString keeper = file == kMainFile ? kWarehouseFile : kMainFile;
    QVERIFY(platform::openSqlite(u"keep"_s, platform::dataFile(keeper), nullptr));
    QVERIFY(testfixture::exec(QSqlDatabase::database(u"keep"_s), u"CREATE TABLE kept (a INTEGER)"_s));
    platform::closeConnection(u"keep"_s);

    if (shape == u"missing")
        QVERIFY(QFile::remove(path));
    else if (shape == u"zero-length")
        QVERIFY(writeFile(path, {}));
    else if (shape == u"no table") {
        QVERIFY(QFile::remove(path));
        QVERIFY(platform::openSqlite(u"bare"_s, path, nullptr, true));
        QVERIFY(testfixture::exec(QSqlDatabase::database(u"bare"_s), u"PRAGMA user_version = 3"_s));
        platform::closeConnection(u"bare"_s);
        QVERIFY(QFileInfo(path).size() > 0);
    } else {
        QVERIFY(QFile::remove(path));
        QVERIFY(writeFile(path + u".new"_s, QByteArray(5000, 'x')));
    }

    QString err;
    bool created = true;
    QVERIFY2(ensureDataFolder(&err, &created), qPrintable(err));
    QVERIFY(!created);
    QCOMPARE(tablesOf(path), tables);
    QVERIFY(tablesOf(platform::dataFile(keeper)).contains(u"kept"_s));
    QCOMPARE(QDir(platform::dataFolder()).entryList(QDir::Files, QDir::Name), files);
    if (file == kUserFile) {
        QVERIFY(platform::openSqlite(u"u"_s, path, &err));
        {
            QSqlQuery q(QSqlDatabase::database(u"u"_s));
            QVERIFY(q.exec(u"SELECT UserNm, UserAuth FROM User"_s));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), u"Admin"_s);
            QCOMPARE(q.value(1).toString(), u"111111111111"_s);
            QVERIFY(!q.next());
        }
        platform::closeConnection(u"u"_s);
    }
}

// A file that is not a database may still be the user's: the start does not write over it.
void TstDataAccess::unreadableFileIsLeftAlone()
{
    platform::closeConnection(kMainConn);
    const QByteArray bytes(3000, 'z');
    QVERIFY(writeFile(platform::dataFile(kMainFile), bytes));
    QString err;
    QVERIFY(ensureDataFolder(&err));
    QFile f(platform::dataFile(kMainFile));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), bytes);
}

void TstDataAccess::templateHoldsTheBackupTables()
{
    QString err;
    QVERIFY(platform::openSqlite(u"bak"_s, platform::dataFile(kTemplateFile), &err));
    {
        QSqlDatabase bak = QSqlDatabase::database(u"bak"_s);
        QCOMPARE(platform::tableNames(bak).size(), 25);
        for (int i = 1; i <= 25; ++i) {
            const QString t = BackupTableName(i);
            QCOMPARE(platform::columnNames(bak, t), platform::columnNames(mainDb(), t));
            QVERIFY(!platform::columnNames(bak, t).isEmpty());
        }
    }
    QCOMPARE(BackupTableName(0), QString());
    QCOMPARE(BackupTableName(26), QString());
    platform::closeConnection(u"bak"_s);
}

// Files from before kept an index on the pieces' code, which each write of the pieces paid for;
// opening one drops it and keeps the rows.
void TstDataAccess::olderFileLosesThePiecesCodeIndex()
{
    QVERIFY(testfixture::exec(mainDb(), u"INSERT INTO \"优化数据\" (\"规格\", \"长度\", \"数量\") VALUES ('A', 1000, 2)"_s));
    QVERIFY(testfixture::exec(mainDb(), u"CREATE INDEX \"ix_优化数据_规格\" ON \"优化数据\" (\"规格\")"_s));
    platform::closeConnection(kMainConn);
    QString err;
    QCOMPARE(OpenMainDatabase(nullptr, &err), OpenStatus::Opened);
    QSqlQuery q(mainDb());
    QVERIFY(q.exec(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '优化数据'"_s) && q.next());
    QCOMPARE(q.value(0).toInt(), 0);
    QCOMPARE(testfixture::rowCount(mainDb(), u"优化数据"_s), 1);
}

QTEST_MAIN(TstDataAccess)
#include "tst_dataaccess.moc"
