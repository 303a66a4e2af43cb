// Every file the program writes goes through a temporary and replaces the old file only when all
// of it was written; a full disk, a missing folder or a settings file that cannot be written is
// reported and costs nothing that was there.
#include "filelimit.h"
#include "platform/filewrite.h"
#include "platform/settings.h"
#include "platform/workbook.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace platform;
using testfixture::FileSizeLimit;

namespace {
QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
} // namespace

class TstFileWrite : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void wholeFileIsWritten();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void workbookOnFullDiskKeepsOldWorkbook();
    void unwritableSettingsAreReported_data();
    void unwritableSettingsAreReported();
    void foreignSettingsLinesDoNotBlockSaves_data();
    void foreignSettingsLinesDoNotBlockSaves();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstFileWrite::wholeFileIsWritten()
{
    const QString path = m_dir->filePath(u"new.txt"_s);
    const QByteArray bytes(200000, 'x');
    QString err;
    QVERIFY2(writeWholeFile(path, bytes, &err), qPrintable(err));
    QCOMPARE(readAll(path), bytes);
    QVERIFY2(writeWholeFile(path, "short", &err), qPrintable(err));
    QCOMPARE(readAll(path), QByteArray("short"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"new.txt"_s});
}

void TstFileWrite::failedWriteKeepsOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit"); // bytes a file may grow to; 0: no limit
    QTest::addColumn<QString>("cause");
    // The last write is the one that fails; the bytes fit the write buffer, so only a checked
    // flush would see it.
    QTest::newRow("full disk, small file") << u"old.txt"_s << 100 << u"磁盘已满"_s;
    QTest::newRow("full disk, large file") << u"old.txt"_s << 70000 << u"磁盘已满"_s;
    QTest::newRow("missing folder") << u"no-such-folder/old.txt"_s << 0 << u"no-such-folder"_s;
}

void TstFileWrite::failedWriteKeepsOldFile()
{
    QFETCH(QString, name);
    QFETCH(int, limit);
    QFETCH(QString, cause);
    const QString path = m_dir->filePath(name);
    const bool hasOld = !name.contains(u'/');
    if (hasOld)
        QVERIFY(writeAll(path, "the old content"));

    const QByteArray bytes(limit > 1000 ? 100000 : 1000, 'n');
    QString err;
    bool written = true;
    {
        std::optional<FileSizeLimit> full;
        if (limit > 0)
            full.emplace(rlim_t(limit));
        written = writeWholeFile(path, bytes, &err);
    }
    QVERIFY(!written);
    QVERIFY2(err.contains(QDir::toNativeSeparators(path)) && err.contains(cause), qPrintable(err));
    if (hasOld)
        QCOMPARE(readAll(path), QByteArray("the old content"));
    else
        QVERIFY(!QFile::exists(path));
    // No temporary is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), hasOld ? QStringList{u"old.txt"_s} : QStringList());
}

void TstFileWrite::workbookOnFullDiskKeepsOldWorkbook()
{
    const QString path = m_dir->filePath(u"book.xlsx"_s);
    Workbook small;
    small.addSheet(u"表"_s).setText(0, 0, u"旧内容"_s);
    QString err;
    QVERIFY2(writeXlsx(small, path, &err), qPrintable(err));
    const QByteArray before = readAll(path);

    Workbook large;
    Sheet &sheet = large.addSheet(u"表"_s);
    for (int r = 0; r < 3000; ++r)
        sheet.setText(r, 0, u"新内容 %1"_s.arg(r));
    bool written = true;
    {
        FileSizeLimit full(rlim_t(before.size() + 1000));
        written = writeXlsx(large, path, &err);
    }
    QVERIFY(!written);
    QVERIFY2(!err.isEmpty(), "no cause given");
    QCOMPARE(readAll(path), before);
    const std::optional<CellGrid> grid = readFirstSheet(path, &err);
    QVERIFY2(grid, qPrintable(err));
    QCOMPARE(grid->text(0, 0), u"旧内容"_s);

    // With room, the new workbook replaces the old one.
    QVERIFY2(writeXlsx(large, path, &err), qPrintable(err));
    QCOMPARE(readFirstSheet(path)->text(2999, 0), u"新内容 2999"_s);
}

namespace {
// Found by the settings fuzz target: a key with a backslash, its value a list of invalid UTF-8
// that does not read back as the file holds it.
const QByteArray kValueNotReadBack =
    QByteArray::fromHex("615252e95c783dffffffffffffffffffffff0100000000000000ffff2cffff5d");
} // namespace

void TstFileWrite::unwritableSettingsAreReported_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("line"); // one more line of the old file
    QTest::addColumn<int>("limit");       // bytes a file may grow to; 0: no limit
    QTest::addColumn<QString>("cause");
    // A folder that is a file cannot hold the settings file (this holds for the superuser too).
    QTest::newRow("folder is a file") << u"blocker/settings.ini"_s << QByteArray() << 0 << u"无法创建文件夹"_s;
    QTest::newRow("full disk") << u"settings.ini"_s << QByteArray() << 100 << u"磁盘可能已满"_s;
    QTest::newRow("full disk, a line that does not read back")
        << u"settings.ini"_s << kValueNotReadBack << 100 << u"磁盘可能已满"_s;
    // The new file is about 440 bytes, that line's value last: cut in the middle of it.
    QTest::newRow("full disk cuts the line that does not read back")
        << u"settings.ini"_s << kValueNotReadBack << 380 << u"磁盘可能已满"_s;
}

void TstFileWrite::unwritableSettingsAreReported()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, line);
    QFETCH(int, limit);
    QFETCH(QString, cause);
    QVERIFY(writeAll(m_dir->filePath(u"blocker"_s), "a file"));
    const QString path = m_dir->filePath(file);
    const QByteArray old = "[TANDRIKE]\nADDRESS=" + QByteArray(300, 'a') + "\n[General]\n" + line + "\n";
    if (limit > 0)
        QVERIFY(writeAll(path, old));
    SettingsStore::useFile(path);

    QString err;
    bool stored = true;
    {
        std::optional<FileSizeLimit> full;
        if (limit > 0)
            full.emplace(rlim_t(limit));
        stored = SettingsStore::set(u"TANDRIKE"_s, {{u"DW"_s, u"新厂"_s}, {u"TEL"_s, u"123"_s}}, &err);
    }
    QVERIFY(!stored);
    QVERIFY2(err.contains(path) && err.contains(u"设置无法保存"_s) && err.contains(cause), qPrintable(err));
    if (limit > 0)
        QCOMPARE(readAll(path), old);
    else
        QVERIFY(!QFile::exists(path));
    SettingsStore::useFile(QString());
}

void TstFileWrite::foreignSettingsLinesDoNotBlockSaves_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty key") << QByteArray("=5");
    QTest::newRow("backslash key") << QByteArray("a\\b=1");
    QTest::newRow("leading backslash") << QByteArray("\\x=1");
    QTest::newRow("doubled backslash") << QByteArray("a\\\\b=1");
    QTest::newRow("section ending in a backslash") << QByteArray("[G\\]\nk=1");
    QTest::newRow("empty key in a section") << QByteArray("[G]\n=7");
    QTest::newRow("value that does not read back") << kValueNotReadBack;
}

// A line written by hand that the store cannot write back must not turn every later save into a
// false report of a full disk. The save completes, keeps the other settings, and needs no system
// temporary folder: its scratch files lie beside the settings file.
void TstFileWrite::foreignSettingsLinesDoNotBlockSaves()
{
    QFETCH(QByteArray, line);
    const QString path = m_dir->filePath(u"JOP.ini"_s);
    QVERIFY(writeAll(path, "[TANDRIKE]\nTEL=555\n[General]\n" + line + "\n"));
    SettingsStore::useFile(path);
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_dir->filePath(u"no such folder"_s)));
    QString err;
    const bool first = SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"新厂"_s, &err);
    const bool second = SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"又一厂"_s, &err);
    qputenv("TMPDIR", oldTemp);
    QVERIFY2(first && second, qPrintable(err));
    QCOMPARE(SettingsStore::get(u"TANDRIKE"_s, u"DW"_s, QString()), u"又一厂"_s);
    QCOMPARE(SettingsStore::get(u"TANDRIKE"_s, u"TEL"_s, QString()), u"555"_s);
    // Nothing but the settings file is left in its folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"JOP.ini"_s});
    SettingsStore::useFile(QString());
}

QTEST_GUILESS_MAIN(TstFileWrite)
#include "tst_filewrite.moc"
