#include "fixture.h"

#include "app/accountstore.h"
#include "app/cipher.h"

using namespace Qt::StringLiterals;
using namespace app;

namespace {
RightsBoxes boxesFrom(const QString &pattern)
{
    RightsBoxes b{};
    for (int i = 0; i < kRightsCount; ++i)
        b[size_t(i)] = pattern.at(i) == u'1';
    return b;
}

// The User table as rows "name|enciphered|rights", read on a connection of the test's own.
QStringList userRows()
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"tst-user-read"_s);
        db.setDatabaseName(platform::dataFile(kUserFile));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(u"SELECT UserNm, UserPwd, UserAuth FROM \"User\" ORDER BY rowid"_s);
            while (q.next())
                rows << q.value(0).toString() + u'|' + q.value(1).toString() + u'|' + q.value(2).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"tst-user-read"_s);
    return rows;
}

QString row(const QString &name, const QString &clear, const QString &rights)
{
    return name + u'|' + KeyEncBuf(clear, kPasswordKey) + u'|' + rights;
}

const QString kAdminRow = row(u"Admin"_s, u"admin"_s, u"111111111111"_s);
} // namespace

class TstAccounts : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rightsToBoxes_data();
    void rightsToBoxes();
    void boxesToRights();

    void addStoresAsTyped_data();
    void addStoresAsTyped();
    void addRefusesExistingNameInAnyCase_data();
    void addRefusesExistingNameInAnyCase();
    void shortPasswordsAreRefused_data();
    void shortPasswordsAreRefused();
    void loadAccountTrimsRights();
    void updateRightsLeavesPassword();
    void updateOfUnknownAccountFails();
    void removeIsExact();
    void changePassword();

    void checkLogin_data();
    void checkLogin();

    void storesHaveTheirOwnConnections();
    void missingFileIsReported();
    void databaseErrorsAreReported();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
    std::unique_ptr<AccountStore> m_store;
};

void TstAccounts::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    m_store = std::make_unique<AccountStore>();
    QVERIFY2(m_store->open(), qPrintable(m_store->lastError()));
}

void TstAccounts::cleanup()
{
    m_store.reset();
    m_fx.reset();
}

void TstAccounts::rightsToBoxes_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("after");
    QTest::newRow("all granted") << u"000000000000"_s << u"111111111111"_s << u"111111111111"_s;
    QTest::newRow("all taken") << u"111111111111"_s << u"000000000000"_s << u"000000000000"_s;
    QTest::newRow("short string leaves the rest") << u"111111111111"_s << u"0100"_s << u"010011111111"_s;
    QTest::newRow("empty leaves all") << u"101010101010"_s << QString() << u"101010101010"_s;
    QTest::newRow("non-numeric leaves that box") << u"011000000000"_s << u"1x0 11"_s << u"110011000000"_s;
    QTest::newRow("thirteenth ignored") << u"000000000000"_s << u"1111111111110"_s << u"111111111111"_s;
}

void TstAccounts::rightsToBoxes()
{
    QFETCH(QString, before);
    QFETCH(QString, rights);
    QFETCH(QString, after);
    RightsBoxes boxes = boxesFrom(before);
    app::rightsToBoxes(rights, boxes);
    QCOMPARE(app::boxesToRights(boxes), after);
}

void TstAccounts::boxesToRights()
{
    QCOMPARE(app::boxesToRights(RightsBoxes{}), u"000000000000"_s);
    QCOMPARE(app::boxesToRights(boxesFrom(u"100000000001"_s)), u"100000000001"_s);
}

void TstAccounts::addStoresAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << u"Bob"_s << u"secret"_s;
    QTest::newRow("quotes") << u"O'Neil"_s << u"it's 'x'"_s;
    QTest::newRow("chinese") << u"张三"_s << u"门窗密码"_s;
}

void TstAccounts::addStoresAsTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QCOMPARE(m_store->add(name, password, u"101000000000"_s), AddResult::Added);
    QCOMPARE(userRows(), QStringList({kAdminRow, row(name, password, u"101000000000"_s)}));
    QCOMPARE(m_store->userNames(), std::optional<QStringList>({u"Admin"_s, name}));
    QCOMPARE(m_store->exists(name), std::optional<bool>(true));
    QCOMPARE(m_store->exists(name + u'x'), std::optional<bool>(false));
}

void TstAccounts::addRefusesExistingNameInAnyCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("same") << u"Admin"_s;
    QTest::newRow("lower") << u"admin"_s;
    QTest::newRow("upper") << u"ADMIN"_s;
}

void TstAccounts::addRefusesExistingNameInAnyCase()
{
    QFETCH(QString, name);
    QCOMPARE(m_store->exists(name), std::optional<bool>(true));
    QCOMPARE(m_store->add(name, u"other"_s, u"000000000000"_s), AddResult::Exists);
    QCOMPARE(userRows(), QStringList{kAdminRow});
}

void TstAccounts::shortPasswordsAreRefused_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("empty") << QString();
    QTest::newRow("one latin") << u"a"_s;
    QTest::newRow("one chinese") << u"门"_s;
}

void TstAccounts::shortPasswordsAreRefused()
{
    QFETCH(QString, password);
    QVERIFY(!passwordAcceptable(password));
    QCOMPARE(m_store->add(u"Bob"_s, password, u"000000000000"_s), AddResult::Failed);
    QCOMPARE(m_store->lastError(), kPasswordTooShort);
    QVERIFY(!m_store->changePassword(u"Admin"_s, password));
    QCOMPARE(m_store->lastError(), kPasswordTooShort);
    QCOMPARE(userRows(), QStringList{kAdminRow});
    QVERIFY(passwordAcceptable(u"ab"_s));
}

void TstAccounts::loadAccountTrimsRights()
{
    QCOMPARE(m_store->add(u"Bob"_s, u"pw12"_s, u" 1100 "_s), AddResult::Added);
    Account a;
    QCOMPARE(m_store->loadAccount(u"BOB"_s, &a), Lookup::Found);
    QCOMPARE(a.name, u"Bob"_s);
    QCOMPARE(a.password, KeyEncBuf(u"pw12"_s, kPasswordKey));
    QCOMPARE(a.rights, u"1100"_s);
    QCOMPARE(m_store->loadAccount(u"Nobody"_s, &a), Lookup::NotFound);
}

void TstAccounts::updateRightsLeavesPassword()
{
    QCOMPARE(m_store->add(u"Bob"_s, u"pw12"_s, u"111111111111"_s), AddResult::Added);
    QVERIFY2(m_store->updateRights(u"bob"_s, u"000000000001"_s), qPrintable(m_store->lastError()));
    QCOMPARE(userRows(), QStringList({kAdminRow, row(u"Bob"_s, u"pw12"_s, u"000000000001"_s)}));
}

void TstAccounts::updateOfUnknownAccountFails()
{
    QVERIFY(!m_store->updateRights(u"Nobody"_s, u"000000000000"_s));
    QVERIFY(m_store->lastError().contains(u"Nobody"_s));
    QVERIFY(!m_store->changePassword(u"Nobody"_s, u"pw12"_s));
    QVERIFY(m_store->lastError().contains(u"Nobody"_s));
    QCOMPARE(userRows(), QStringList{kAdminRow});
}

void TstAccounts::removeIsExact()
{
    // Only old data can hold two names that differ in case; deleting one must not take the other.
    QVERIFY(testfixture::exec(QSqlDatabase::database(m_store->connectionName()),
                              u"INSERT INTO \"User\" VALUES ('admin', 'x', '0')"_s));
    QCOMPARE(m_store->add(u"Bob"_s, u"pw12"_s, u"000000000000"_s), AddResult::Added);
    QVERIFY(m_store->remove(u"admin"_s));
    QVERIFY(m_store->remove(u"Bob"_s));
    QCOMPARE(userRows(), QStringList{kAdminRow});
}

void TstAccounts::changePassword()
{
    QVERIFY2(m_store->changePassword(u"ADMIN"_s, u"新'pw"_s), qPrintable(m_store->lastError()));
    QCOMPARE(userRows(), QStringList{row(u"Admin"_s, u"新'pw"_s, u"111111111111"_s)});
    QCOMPARE(m_store->checkLogin(u"Admin"_s, u"admin"_s, nullptr), Lookup::NotFound);
    QCOMPARE(m_store->checkLogin(u"Admin"_s, u"新'pw"_s, nullptr), Lookup::Found);
}

void TstAccounts::checkLogin_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("found");
    QTest::newRow("admin") << u"Admin"_s << u"admin"_s << true;
    QTest::newRow("name in another case") << u"aDMIN"_s << u"admin"_s << true;
    QTest::newRow("password case matters") << u"Admin"_s << u"ADMIN"_s << false;
    QTest::newRow("quote in name") << u"Admin' --"_s << u"admin"_s << false;
    QTest::newRow("quote in password") << u"Quote"_s << u"it's"_s << true;
    QTest::newRow("quote, wrong") << u"Quote"_s << u"its"_s << false;
    QTest::newRow("chinese password") << u"张三"_s << u"门窗密码"_s << true;
    QTest::newRow("chinese, one character off") << u"张三"_s << u"门窗密吗"_s << false;
    QTest::newRow("unknown name") << u"Nobody"_s << u"admin"_s << false;
}

void TstAccounts::checkLogin()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, found);
    QCOMPARE(m_store->add(u"Quote"_s, u"it's"_s, u" 010000000000 "_s), AddResult::Added);
    QCOMPARE(m_store->add(u"张三"_s, u"门窗密码"_s, u"001000000000"_s), AddResult::Added);
    Account match;
    QCOMPARE(m_store->checkLogin(name, password, &match), found ? Lookup::Found : Lookup::NotFound);
    if (found) {
        QCOMPARE(match.password, KeyEncBuf(password, kPasswordKey));
        QCOMPARE(match.rights.size(), kRightsCount); // trimmed
    }
}

void TstAccounts::storesHaveTheirOwnConnections()
{
    auto other = std::make_unique<AccountStore>();
    QVERIFY(other->open());
    QVERIFY(other->connectionName() != m_store->connectionName());
    QCOMPARE(other->add(u"Bob"_s, u"pw12"_s, u"000000000000"_s), AddResult::Added);
    QCOMPARE(m_store->exists(u"Bob"_s), std::optional<bool>(true));
    other.reset();
    QVERIFY(m_store->isOpen());
    QVERIFY(m_store->remove(u"Bob"_s));
}

void TstAccounts::missingFileIsReported()
{
    m_store.reset();
    QVERIFY(QFile::remove(platform::dataFile(kUserFile)));
    AccountStore store;
    QVERIFY(!store.open());
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.isOpen());
    QVERIFY(!store.userNames().has_value());
    QVERIFY(!store.lastError().isEmpty());
    QCOMPARE(store.checkLogin(u"Admin"_s, u"admin"_s, nullptr), Lookup::Failed);
    QCOMPARE(store.add(u"Bob"_s, u"pw12"_s, u"0"_s), AddResult::Failed);
    QVERIFY(!store.changePassword(u"Admin"_s, u"pw12"_s));
    QVERIFY(!QFile::exists(platform::dataFile(kUserFile))); // not created by the attempt
}

void TstAccounts::databaseErrorsAreReported()
{
    QVERIFY(testfixture::exec(QSqlDatabase::database(m_store->connectionName()), u"DROP TABLE \"User\""_s));
    QVERIFY(!m_store->userNames().has_value());
    QVERIFY(!m_store->lastError().isEmpty());
    QVERIFY(!m_store->exists(u"Admin"_s).has_value());
    QCOMPARE(m_store->loadAccount(u"Admin"_s, nullptr), Lookup::Failed);
    QCOMPARE(m_store->add(u"Bob"_s, u"pw12"_s, u"0"_s), AddResult::Failed);
    QVERIFY(!m_store->updateRights(u"Admin"_s, u"0"_s));
    QVERIFY(!m_store->remove(u"Admin"_s));
    QCOMPARE(m_store->checkLogin(u"Admin"_s, u"admin"_s, nullptr), Lookup::Failed);
}

QTEST_MAIN(TstAccounts)
#include "tst_accounts.moc"
