#include "platform/database.h"

#include <QDate>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;
using namespace platform;

class TstDatabase : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void guardRollsBackUncommittedWork();
    void nestedGuardRollsBackOnlyItsOwnPart();
    void guardLocksWhatItWrites_data();
    void guardLocksWhatItWrites();
    void boundValuesKeepQuotes();
    void bulkStatementStoresAsTheDriverDoes_data();
    void bulkStatementStoresAsTheDriverDoes();
    void bulkStatementRowsEachKeepTheirTexts();
    void bulkStatementFaultsAreReported_data();
    void bulkStatementFaultsAreReported();
    void indexesSetAsideComeBackOrRollBack();
    void rowReaderYieldsWhatTheDriverYields_data();
    void rowReaderYieldsWhatTheDriverYields();
    void rowReaderBindsAndReportsFailures();
    void loneSurrogatesBecomeReplacementCharacters_data();
    void loneSurrogatesBecomeReplacementCharacters();
    void numbersThatAreNotFiniteAreRefused_data();
    void numbersThatAreNotFiniteAreRefused();
    void missingFileIsNotCreated();
    void fileThatIsNotADatabaseFails();

private:
    QTemporaryDir m_dir;
    QSqlDatabase db() { return QSqlDatabase::database(u"t"_s, false); }
    int count()
    {
        QSqlQuery q(db());
        q.exec(u"SELECT count(*) FROM t"_s);
        q.next();
        return q.value(0).toInt();
    }
};

void TstDatabase::init()
{
    QString err;
    QVERIFY2(openSqlite(u"t"_s, m_dir.filePath(u"t.db"_s), &err, true), qPrintable(err));
    QVERIFY(execScript(db(), u"DROP TABLE IF EXISTS t;\nCREATE TABLE t (n INTEGER, s TEXT);\n"_s, &err));
}

void TstDatabase::cleanup() { closeConnection(u"t"_s); }

void TstDatabase::guardRollsBackUncommittedWork()
{
    {
        TransactionGuard tx(db());
        QVERIFY(tx.isActive());
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (?, ?)"_s, {1, u"a"_s}, nullptr));
        // no commit: leaving the scope must undo the insert
    }
    QCOMPARE(count(), 0);
    {
        TransactionGuard tx(db());
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (?, ?)"_s, {1, u"a"_s}, nullptr));
        QVERIFY(tx.commit());
    }
    QCOMPARE(count(), 1);
}

void TstDatabase::nestedGuardRollsBackOnlyItsOwnPart()
{
    TransactionGuard outer(db());
    QVERIFY(execBound(db(), u"INSERT INTO t VALUES (1, 'a')"_s, {}, nullptr));
    {
        TransactionGuard inner(db());
        QVERIFY(inner.isActive());
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (2, 'b')"_s, {}, nullptr));
    }
    QVERIFY(outer.commit());
    QCOMPARE(count(), 1);
}

void TstDatabase::guardLocksWhatItWrites_data()
{
    QTest::addColumn<TransactionGuard::WriteLock>("lock");
    QTest::addColumn<bool>("otherFileFree");
    QTest::newRow("every file from the start") << TransactionGuard::WriteLock::AtStart << false;
    QTest::newRow("each file at its first write") << TransactionGuard::WriteLock::AtFirstWrite << true;
}

// A transaction that reads an attached file and writes its main database: locked at its first
// write, it leaves the attached file free for another writer to begin; it is all-or-nothing either way.
void TstDatabase::guardLocksWhatItWrites()
{
    QFETCH(TransactionGuard::WriteLock, lock);
    QFETCH(bool, otherFileFree);
    const QString other = m_dir.filePath(u"other.db"_s);
    QString err;
    QVERIFY2(openSqlite(u"o"_s, other, &err, true), qPrintable(err));
    QVERIFY(execScript(QSqlDatabase::database(u"o"_s, false),
                       u"DROP TABLE IF EXISTS x;\nCREATE TABLE x (n INTEGER);\nINSERT INTO x VALUES (7);\n"_s, &err));
    closeConnection(u"o"_s);
    QVERIFY(execBound(db(), u"ATTACH DATABASE ? AS other"_s, {other}, &err));

    QSqlDatabase writer = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"writer"_s);
    writer.setDatabaseName(other);
    writer.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
    QVERIFY(writer.open());
    for (bool commit : {false, true}) {
        TransactionGuard tx(db(), lock);
        QVERIFY(tx.isActive());
        QVERIFY(execBound(db(), u"INSERT INTO main.t SELECT n, 'x' FROM other.x"_s, {}, &err));
        {
            QSqlQuery q(writer);
            QCOMPARE(q.exec(u"BEGIN IMMEDIATE"_s), otherFileFree);
            q.exec(u"ROLLBACK"_s);
        }
        if (commit)
            QVERIFY(tx.commit());
    }
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase(u"writer"_s);
    QVERIFY(execBound(db(), u"DETACH DATABASE other"_s, {}, &err));
    QCOMPARE(count(), 1);
}

void TstDatabase::boundValuesKeepQuotes()
{
    const QString name = u"O'Brien \"门窗\"; DROP TABLE t; --"_s;
    QVERIFY(execBound(db(), u"INSERT INTO t VALUES (?, ?)"_s, {1, name}, nullptr));
    QSqlQuery q(db());
    QVERIFY(execBound(db(), u"SELECT s FROM t WHERE s = ?"_s, {name}, nullptr, &q));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), name);
}

void TstDatabase::bulkStatementStoresAsTheDriverDoes_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("null text") << QVariant(QString());
    QTest::newRow("empty text") << QVariant(u""_s);
    QTest::newRow("chinese") << QVariant(u"框料 上亮高"_s);
    QTest::newRow("beyond the basic plane") << QVariant(u"𠀀值 😀"_s);
    QTest::newRow("embedded zero") << QVariant(QString(u"a\0b"_s));
    QTest::newRow("two-byte forms") << QVariant(u"é\u07ff\u0080"_s);
    QTest::newRow("edges of the three-byte forms") << QVariant(u"\u0800\ud7ff\ue000\uffff"_s);
    QTest::newRow("whole number") << QVariant(qint64(1) << 40);
    QTest::newRow("int") << QVariant(-7);
    QTest::newRow("bool") << QVariant(true);
    QTest::newRow("double") << QVariant(0.483333333333333);
    QTest::newRow("bytes") << QVariant(QByteArray("\x01\x00\xff", 3));
    QTest::newRow("null variant") << QVariant();
    QTest::newRow("date") << QVariant(QDate(2026, 12, 10));
}

void TstDatabase::bulkStatementStoresAsTheDriverDoes()
{
    QFETCH(QVariant, value);
    QString err;
    QVERIFY(execBound(db(), u"INSERT INTO t (n, s) VALUES (1, ?)"_s, {value}, &err));
    {
        BulkStatement bulk(db(), u"INSERT INTO t (n, s) VALUES (?, ?)"_s);
        QVERIFY2(bulk.exec({2, value}, &err), qPrintable(err));
        // The typed binding of the same value, where there is one.
        bulk.integer(3);
        switch (value.typeId()) {
        case QMetaType::QString:
            bulk.text(value.toString());
            break;
        case QMetaType::Double:
            bulk.real(value.toDouble());
            break;
        case QMetaType::LongLong:
        case QMetaType::Int:
            bulk.integer(value.toLongLong());
            break;
        default:
            bulk.value(value);
        }
        QVERIFY2(bulk.run(&err), qPrintable(err));
    }
    QSqlQuery q(db());
    QVERIFY(q.exec(u"SELECT n, typeof(s), quote(s) FROM t ORDER BY n"_s));
    QStringList stored;
    while (q.next())
        stored << q.value(1).toString() + u' ' + q.value(2).toString();
    QCOMPARE(stored.size(), 3);
    QCOMPARE(stored.at(1), stored.at(0));
    QCOMPARE(stored.at(2), stored.at(0));
}

void TstDatabase::bulkStatementRowsEachKeepTheirTexts()
{
    // One statement for many rows: a short text after a long one, in two columns at once, each
    // stored as its UTF-8 bytes (a lone surrogate half as U+FFFD).
    const QStringList texts = {u"框料 上亮高 左右扇"_s, u"a"_s, u""_s, QString(), u"型材XC0001"_s,
                               QString(QChar(0xdbff)) + u"x"_s, u"𠀀"_s, u"中"_s + QChar(0xdc00)};
    QString err;
    QVERIFY(execScript(db(), u"CREATE TABLE u (n INTEGER, a TEXT, b TEXT);\n"_s, &err));
    {
        BulkStatement bulk(db(), u"INSERT INTO u VALUES (?, ?, ?)"_s);
        for (int i = 0; i < texts.size(); ++i)
            QVERIFY2(bulk.integer(i).text(texts.at(i)).text(texts.at(texts.size() - 1 - i)).run(&err), qPrintable(err));
    }
    const auto bytes = [](QString text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (text.at(i).isSurrogate())
                text[i] = QChar(0xFFFD);
        }
        return text.toUtf8().toHex().toUpper();
    };
    QSqlQuery q(db());
    QVERIFY(q.exec(u"SELECT a IS NULL, hex(a), b IS NULL, hex(b) FROM u ORDER BY n"_s));
    for (int i = 0; i < texts.size(); ++i) {
        QVERIFY(q.next());
        const QString &a = texts.at(i), &b = texts.at(texts.size() - 1 - i);
        QCOMPARE(q.value(0).toBool(), a.isNull());
        QCOMPARE(q.value(1).toByteArray(), bytes(a));
        QCOMPARE(q.value(2).toBool(), b.isNull());
        QCOMPARE(q.value(3).toByteArray(), bytes(b));
    }
}

void TstDatabase::bulkStatementFaultsAreReported_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("parameters"); // 0: the statement never runs
    QTest::newRow("statement that does not prepare") << u"INSERT INTO missing VALUES (?, ?)"_s << 2 << 0;
    QTest::newRow("more values than parameters") << u"INSERT INTO t VALUES (?, ?)"_s << 3 << 2;
    QTest::newRow("a text beyond the parameters") << u"INSERT INTO t (s) VALUES (?)"_s << 2 << 1;
}

// A failure is reported for its row and nothing of that row is stored; the statement stays usable.
void TstDatabase::bulkStatementFaultsAreReported()
{
    QFETCH(QString, sql);
    QFETCH(int, values);
    QFETCH(int, parameters);
    BulkStatement bulk(db(), sql);
    for (int i = 0; i < values; ++i)
        bulk.text(u"值"_s);
    QString err;
    QVERIFY(!bulk.run(&err));
    QVERIFY(!err.isEmpty());
    QCOMPARE(count(), 0);
    err.clear();
    for (int i = 0; i < std::max(parameters, 1); ++i)
        bulk.text(u"值"_s);
    QCOMPARE(bulk.run(&err), parameters > 0);
    QCOMPARE(count(), parameters > 0 ? 1 : 0);
}

void TstDatabase::indexesSetAsideComeBackOrRollBack()
{
    QString err;
    QVERIFY(execScript(db(), u"CREATE INDEX ix_t_s ON t (s COLLATE NOCASE);\n"_s, &err));
    auto indexSql = [this] {
        QSqlQuery q(db());
        q.exec(u"SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = 't'"_s);
        return q.next() ? q.value(0).toString() : QString();
    };
    const QString before = indexSql();
    QVERIFY(!before.isEmpty());
    {
        TransactionGuard tx(db());
        const auto set = dropIndexes(db(), u"t"_s, &err);
        QVERIFY2(set && set->size() == 1, qPrintable(err));
        QVERIFY(indexSql().isEmpty());
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (1, 'a')"_s, {}, &err));
        // no commit: the index comes back with the rollback
    }
    QCOMPARE(indexSql(), before);
    {
        TransactionGuard tx(db());
        const auto set = dropIndexes(db(), u"t"_s, &err);
        QVERIFY(set);
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (2, 'b')"_s, {}, &err));
        QVERIFY2(createIndexes(db(), *set, &err), qPrintable(err));
        QVERIFY(tx.commit());
    }
    QCOMPARE(indexSql(), before);
    QCOMPARE(count(), 1);
}

void TstDatabase::rowReaderYieldsWhatTheDriverYields_data()
{
    // An SQL expression stored in a column without affinity, in a REAL column and in a TEXT column.
    QTest::addColumn<QString>("stored");
    QTest::newRow("null") << u"NULL"_s;
    QTest::newRow("integer") << u"42"_s;
    QTest::newRow("smallest integer") << u"-9223372036854775808"_s;
    QTest::newRow("large double") << u"1.7976931348623157e308"_s;
    QTest::newRow("tiny double") << u"4.9e-324"_s;
    QTest::newRow("negative zero") << u"-0.0"_s;
    QTest::newRow("noisy double") << u"0.1 + 0.2"_s;
    QTest::newRow("seven digits") << u"1234.568"_s;
    QTest::newRow("chinese") << u"'框料 上亮高'"_s;
    QTest::newRow("empty text") << u"''"_s;
    QTest::newRow("number-like text") << u"' 12abc'"_s;
    QTest::newRow("beyond the basic plane") << u"'𠀀值 😀'"_s;
    QTest::newRow("byte order mark") << u"char(65279) || 'a'"_s;
    QTest::newRow("noncharacters") << u"char(65534, 65535, 64976)"_s;
    QTest::newRow("embedded zero") << u"'a' || char(0) || 'b'"_s;
    QTest::newRow("ill-formed bytes") << u"CAST(x'ff41c3' AS TEXT)"_s;
    QTest::newRow("overlong form") << u"CAST(x'c0afe080af' AS TEXT)"_s;
    QTest::newRow("encoded surrogate") << u"CAST(x'eda080' AS TEXT)"_s;
    QTest::newRow("cut sequence") << u"CAST(x'41e6a1' AS TEXT)"_s;
    QTest::newRow("beyond the last code point") << u"CAST(x'f4908080' AS TEXT)"_s;
    QTest::newRow("blob") << u"x'00ff41'"_s;
    QTest::newRow("empty blob") << u"x''"_s;
}

void TstDatabase::rowReaderYieldsWhatTheDriverYields()
{
    QFETCH(QString, stored);
    QString err;
    QVERIFY(execScript(db(), u"DROP TABLE IF EXISTS v;\nCREATE TABLE v (x, r REAL, s TEXT);\n"_s, &err));
    QVERIFY2(execBound(db(), u"INSERT INTO v VALUES (%1, %1, %1)"_s.arg(stored), {}, &err), qPrintable(err));
    const QString select = u"SELECT x, r, s FROM v"_s;
    QSqlQuery q(db());
    QVERIFY(q.exec(select));
    QVERIFY(q.next());
    RowReader reader(db(), select);
    QVERIFY2(reader.next(), qPrintable(reader.error()));
    QCOMPARE(reader.columnCount(), 3);
    for (int c = 0; c < 3; ++c) {
        const QVariant want = q.value(c);
        const QVariant got = reader.value(c);
        QCOMPARE(got.typeId(), want.typeId());
        QCOMPARE(got.isNull(), want.isNull());
        if (want.typeId() == QMetaType::Double) {
            // Bit for bit: -0.0 and 0.0 compare equal.
            const double a = want.toDouble(), b = got.toDouble();
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(&b), 8), QByteArray(reinterpret_cast<const char *>(&a), 8));
        } else if (want.typeId() == QMetaType::QString) {
            QCOMPARE(got.toString().isNull(), want.toString().isNull());
            QCOMPARE(got.toString(), want.toString());
        } else {
            QCOMPARE(got, want);
        }
        if (reader.type(c) == RowReader::Field::Text)
            QCOMPARE(reader.text(c), want.toString());
        if (reader.type(c) == RowReader::Field::Real)
            QCOMPARE(reader.real(c), want.toDouble());
    }
    QVERIFY(!q.next());
    QVERIFY(!reader.next());
    QVERIFY(reader.error().isEmpty());
}

void TstDatabase::rowReaderBindsAndReportsFailures()
{
    QString err;
    for (int n = 1; n <= 3; ++n)
        QVERIFY(execBound(db(), u"INSERT INTO t VALUES (?, ?)"_s, {n, u"门窗%1"_s.arg(n)}, &err));
    RowReader reader(db(), u"SELECT n, s FROM t WHERE n >= ? AND s <> ? ORDER BY n"_s, {2, u"门窗3"_s});
    QVERIFY(reader.next());
    QCOMPARE(reader.value(0), QVariant(qint64(2)));
    QCOMPARE(reader.text(1), u"门窗2"_s);
    QVERIFY(!reader.next());
    QVERIFY(reader.error().isEmpty());
    // Run again with other values, also after a read left half done.
    QVERIFY(reader.rerun({1, u"门窗2"_s}));
    QVERIFY(reader.next());
    QCOMPARE(reader.value(0), QVariant(qint64(1)));
    QVERIFY(reader.rerun({1, u"门窗1"_s}));
    QVERIFY(reader.next());
    QCOMPARE(reader.value(0), QVariant(qint64(2)));
    QVERIFY(reader.next());
    QCOMPARE(reader.text(1), u"门窗3"_s);
    QVERIFY(!reader.next());
    QVERIFY(reader.error().isEmpty());
    // A finished read holds no lock: the table can be written at once.
    QVERIFY(execBound(db(), u"DROP TABLE t"_s, {}, &err));
    // A value that cannot be bound ends the reader.
    RowReader numbers(db(), u"SELECT ?"_s, {1});
    QVERIFY(!numbers.rerun({std::numeric_limits<double>::infinity()}));
    QVERIFY(!numbers.error().isEmpty());
    QVERIFY(!numbers.next());

    RowReader broken(db(), u"SELECT nothing FROM nowhere"_s);
    QVERIFY(!broken.next());
    QVERIFY(!broken.error().isEmpty());
    RowReader infinite(db(), u"SELECT ?"_s, {std::numeric_limits<double>::infinity()});
    QVERIFY(!infinite.next());
    QVERIFY(!infinite.error().isEmpty());
    RowReader unopened(QSqlDatabase(), u"SELECT 1"_s);
    QVERIFY(!unopened.next());
    QVERIFY(!unopened.error().isEmpty());
}

void TstDatabase::loneSurrogatesBecomeReplacementCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("high before a letter") << u"\xD800lone"_s << u"\uFFFDlone"_s;
    QTest::newRow("high at the end") << u"ab\xDBFF"_s << u"ab\uFFFD"_s;
    QTest::newRow("low alone") << u"a\xDC00" u"b"_s << u"a\uFFFDb"_s;
    QTest::newRow("two highs then a low") << u"\xD800\xD83D\xDE00"_s << u"\uFFFD😀"_s;
    QTest::newRow("a pair stays") << u"😀x"_s << u"😀x"_s;
}

// The engine would pair a lone high surrogate with the next character ("\uD800lone" would be
// stored as "𐁬one"); every way of binding keeps the rest of the text.
void TstDatabase::loneSurrogatesBecomeReplacementCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QString err;
    QVERIFY2(execBound(db(), u"INSERT INTO t VALUES (1, ?)"_s, {text}, &err), qPrintable(err));
    PreparedStatements prepared(db());
    QVERIFY2(prepared.exec(u"INSERT INTO t VALUES (2, ?)"_s, {text}, &err), qPrintable(err));
    {
        BulkStatement bulk(db(), u"INSERT INTO t VALUES (3, ?)"_s);
        QVERIFY2(bulk.exec({text}, &err), qPrintable(err));
    }
    QSqlQuery q(db());
    QVERIFY(q.exec(u"SELECT s FROM t ORDER BY n"_s));
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    QCOMPARE(found, QStringList(3, stored));
}

void TstDatabase::numbersThatAreNotFiniteAreRefused_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void TstDatabase::numbersThatAreNotFiniteAreRefused()
{
    QFETCH(double, value);
    QString err;
    QVERIFY(!execBound(db(), u"INSERT INTO t VALUES (?, 'a')"_s, {value}, &err));
    QVERIFY2(err.contains(u"超出可保存的范围"_s), qPrintable(err));
    err.clear();
    PreparedStatements prepared(db());
    QVERIFY(!prepared.exec(u"INSERT INTO t VALUES (?, 'b')"_s, {value}, &err));
    QVERIFY(!err.isEmpty());
    err.clear();
    BulkStatement bulk(db(), u"INSERT INTO t VALUES (?, 'c')"_s);
    QVERIFY(!bulk.exec({value}, &err));
    QVERIFY(!err.isEmpty());
    err.clear();
    QVERIFY(!bulk.real(value).run(&err));
    QVERIFY2(err.contains(u"超出可保存的范围"_s), qPrintable(err));
    // The refusal is the row's alone: the next row runs.
    QVERIFY2(bulk.real(1).run(&err), qPrintable(err));
    QCOMPARE(count(), 1);
}

void TstDatabase::missingFileIsNotCreated()
{
    QString err;
    const QString path = m_dir.filePath(u"missing.db"_s);
    QVERIFY(!openSqlite(u"m"_s, path, &err));
    QVERIFY(!err.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TstDatabase::fileThatIsNotADatabaseFails()
{
    const QString path = m_dir.filePath(u"junk.db"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QString err;
    QVERIFY(!openSqlite(u"j"_s, path, &err));
    QVERIFY(!err.isEmpty());
}

QTEST_GUILESS_MAIN(TstDatabase)
#include "tst_database.moc"
