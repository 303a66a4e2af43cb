// Start-up before the login: one instance at a time, and the data folder made or repaired only
// by the instance that holds the lock.
#include "app/schema.h"
#include "platform/datafolder.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"
#include "shell/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

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

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    platform::ScriptedMessages *m_msgs = nullptr;
};

void TstStartup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    platform::setDataFolder(m_dir->filePath(u"data"_s));
    platform::SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
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

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
