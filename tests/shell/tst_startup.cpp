// Start-up before the login: one instance at a time, and the data folder made or repaired only
// by the instance that holds the lock.
#include "app/schema.h"
#include "platform/datafolder.h"
#include "platform/filewrite.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"
#include "shell/startup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <utime.h>

using namespace Qt::StringLiterals;
using namespace shell;

class TstStartup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void firstStartTakesTheLockThenMakesTheFolder();
    void secondStartIsToldAndTouchesNothing_data();
    void secondStartIsToldAndTouchesNothing();
    void lockIsFreeOnceTheFirstEnds();
    void startRemovesWhatKilledRunsLeft();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    platform::ScriptedMessages *m_msgs = nullptr;
};

void TstStartup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    platform::setDataFolder(m_dir->filePath(u"data"_s));
    platform::SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
    // The temporary files of this test only: other tests run beside it.
    QVERIFY(QDir().mkpath(m_dir->filePath(u"tmp"_s)));
    qputenv("TMPDIR", QFile::encodeName(m_dir->filePath(u"tmp"_s)));
    m_msgs = platform::installScriptedMessages();
}

void TstStartup::firstStartTakesTheLockThenMakesTheFolder()
{
    std::unique_ptr<QLockFile> lock;
    QCOMPARE(prepareStart(&lock), StartCheck::Ready);
    QVERIFY(lock && lock->isLocked());
    QVERIFY(m_msgs->shown.isEmpty());
    for (const QString &f : {app::kMainFile, app::kWarehouseFile, app::kUserFile, app::kTemplateFile})
        QVERIFY2(QFileInfo(platform::dataFile(f)).size() > 0, qPrintable(f));
    QVERIFY(!platform::lockDataFolder()); // held for the life of the program
}

void TstStartup::secondStartIsToldAndTouchesNothing_data()
{
    QTest::addColumn<bool>("folderExists");
    QTest::newRow("the first is still making the folder") << false;
    QTest::newRow("the first is still building user.mdb") << true;
}

// Another instance holds the lock: it may be in the middle of making the files, so this start
// neither makes nor repairs any, and ends with a word to the user.
void TstStartup::secondStartIsToldAndTouchesNothing()
{
    QFETCH(bool, folderExists);
    const std::unique_ptr<QLockFile> first = platform::lockDataFolder();
    QVERIFY(first);
    if (folderExists) {
        QVERIFY(QDir().mkpath(platform::dataFolder()));
        QFile f(platform::dataFile(app::kUserFile));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    std::unique_ptr<QLockFile> lock;
    QCOMPARE(prepareStart(&lock), StartCheck::AlreadyRunning);
    QVERIFY(!lock);
    QCOMPARE(m_msgs->texts(), QStringList{u"Velmorra 已在运行。"_s});
    QCOMPARE(QFileInfo::exists(platform::dataFolder()), folderExists);
    if (folderExists) {
        QCOMPARE(QDir(platform::dataFolder()).entryList(QDir::Files), QStringList{app::kUserFile});
        QCOMPARE(QFileInfo(platform::dataFile(app::kUserFile)).size(), 0);
    }
}

void TstStartup::lockIsFreeOnceTheFirstEnds()
{
    std::unique_ptr<QLockFile> first = platform::lockDataFolder();
    QVERIFY(first);
    QVERIFY(!platform::lockDataFolder());
    first.reset();
    std::unique_ptr<QLockFile> lock;
    QCOMPARE(prepareStart(&lock), StartCheck::Ready);
    QVERIFY(m_msgs->shown.isEmpty());
}

namespace {
bool makeFile(const QString &path, const QDateTime &changed)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write("x") == 1 && f.flush()
        && f.setFileTime(changed, QFileDevice::FileModificationTime);
}
} // namespace

// Killed settings saves and workbook exports left their files behind; the next start removes
// those older than itself and keeps what this run has made.
void TstStartup::startRemovesWhatKilledRunsLeft()
{
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    const QDir temp(platform::temporaryFolder());
    QVERIFY(temp.absolutePath().startsWith(m_dir->filePath(u"tmp"_s)));
    QVERIFY(makeFile(temp.filePath(u"workbook-Ab12Cd.xlsx"_s), old));
    QVERIFY(makeFile(temp.filePath(u"统计-Xy34Zw.xlsx"_s), old));
    QVERIFY(makeFile(temp.filePath(u"shown now.xlsx"_s), QDateTime::currentDateTime()));
    QVERIFY(QDir().mkpath(m_dir->filePath(u".settings.ini-Qw12Er"_s)));
    QVERIFY(makeFile(m_dir->filePath(u".settings.ini-Qw12Er/new.ini"_s), old));
    const utimbuf times{old.toSecsSinceEpoch(), old.toSecsSinceEpoch()};
    QCOMPARE(::utime(QFile::encodeName(m_dir->filePath(u".settings.ini-Qw12Er"_s)).constData(), &times), 0);
    // The store really saves beside them; a save of this run still being written stays.
    QVERIFY(platform::SettingsStore::set(u"TANDRIKE"_s, u"DW"_s, u"厂"_s));
    QVERIFY(QFileInfo::exists(m_dir->filePath(u"settings.ini"_s)));
    QVERIFY(QDir().mkpath(m_dir->filePath(u".settings.ini-Ty56Ui"_s)));
    QVERIFY(makeFile(m_dir->filePath(u".settings.ini-Ty56Ui/new.ini"_s), QDateTime::currentDateTime()));

    std::unique_ptr<QLockFile> lock;
    QCOMPARE(prepareStart(&lock), StartCheck::Ready);
    QCOMPARE(temp.entryList(QDir::Files), QStringList{u"shown now.xlsx"_s});
    QVERIFY(!QFileInfo::exists(m_dir->filePath(u".settings.ini-Qw12Er"_s)));
    QVERIFY(QFileInfo::exists(m_dir->filePath(u".settings.ini-Ty56Ui/new.ini"_s)));
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
