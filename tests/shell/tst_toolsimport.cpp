#include "../app/fixture.h"

#include "shell/frmtools.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

// The tools window offers the import of an older main database, after a question.
class TstToolsImport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }
    void declinedQuestionChangesNothing_data();
    void declinedQuestionChangesNothing();
    void importReplacesTheCatalogue();
    void liveDatabaseIsRefused();

private:
    QString makeOlderDatabase();
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstToolsImport::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    QVERIFY(testfixture::exec(app::mainDb(), u"INSERT INTO 材料厂家 (编号, 厂家名称) VALUES (1, 'current')"_s));
}

QString TstToolsImport::makeOlderDatabase()
{
    const QString path = m_fx->dir->filePath(u"old/CL.MDB"_s);
    QDir().mkpath(QFileInfo(path).path());
    QString err;
    if (!app::createDatabaseFile(path, app::kMainFile, &err))
        return {};
    platform::openSqlite(u"older"_s, path, &err);
    testfixture::exec(QSqlDatabase::database(u"older"_s), u"INSERT INTO 材料厂家 (编号, 厂家名称) VALUES (7, 'older')"_s);
    platform::closeConnection(u"older"_s);
    return path;
}

void TstToolsImport::declinedQuestionChangesNothing_data()
{
    QTest::addColumn<QList<platform::MsgAnswer>>("answers");
    QTest::newRow("no") << QList<platform::MsgAnswer>{platform::MsgAnswer::No};
    QTest::newRow("enter takes the default") << QList<platform::MsgAnswer>{};
}

void TstToolsImport::declinedQuestionChangesNothing()
{
    QFETCH(QList<platform::MsgAnswer>, answers);
    const QString older = makeOlderDatabase();
    shell::FrmTools tools;
    m_fx->msgs->answers = answers;
    m_fx->msgs->fileNames = {older};
    tools.findChild<QPushButton *>(u"CmdImport"_s)->click();
    QCOMPARE(m_fx->msgs->shown.size(), 1); // only the question
    QCOMPARE(m_fx->msgs->shown.first().defaultButton, platform::MsgDefault::No);
    QCOMPARE(m_fx->msgs->fileNames, QStringList{older});
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"材料厂家"_s), 1);
}

void TstToolsImport::importReplacesTheCatalogue()
{
    const QString older = makeOlderDatabase();
    shell::FrmTools tools;
    m_fx->msgs->answers = {platform::MsgAnswer::Yes};
    m_fx->msgs->fileNames = {older};
    tools.findChild<QPushButton *>(u"CmdImport"_s)->click();
    QCOMPARE(m_fx->msgs->lastText(), u"数据库已导入完毕。"_s);
    QSqlQuery q(app::mainDb());
    QVERIFY(q.exec(u"SELECT 编号, 厂家名称 FROM 材料厂家"_s));
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toString(), u"older"_s);
    QVERIFY(!q.next());
}

// The file dialog opens in the data folder, where the live cl.mdb is the first file offered.
void TstToolsImport::liveDatabaseIsRefused()
{
    QVERIFY(testfixture::exec(app::mainDb(), u"INSERT INTO 图 (编号, 图名) VALUES (1, '图一')"_s));
    QVERIFY(testfixture::exec(app::mainDb(), u"INSERT INTO Line VALUES (1, 1, 2, 2, 1)"_s));
    shell::FrmTools tools;
    m_fx->msgs->answers = {platform::MsgAnswer::Yes};
    m_fx->msgs->fileNames = {platform::dataFile(app::kMainFile)};
    tools.findChild<QPushButton *>(u"CmdImport"_s)->click();
    QCOMPARE(m_fx->msgs->texts(), (QStringList{u"导入旧数据库将替换当前的材料、门窗、工程数据和图库，确认要导入吗？"_s,
                                               u"不能导入当前正在使用的数据库，请选择旧版的数据库文件。"_s}));
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"图"_s), 1);
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"Line"_s), 1);
    QCOMPARE(testfixture::rowCount(app::mainDb(), u"材料厂家"_s), 1);
}

QTEST_MAIN(TstToolsImport)
#include "tst_toolsimport.moc"
