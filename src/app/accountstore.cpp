#include "accountstore.h"

#include "cipher.h"
#include "schema.h"

#include "platform/database.h"
#include "platform/datafolder.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace app {

void rightsToBoxes(const QString &rights, RightsBoxes &boxes)
{
    for (int i = 0; i < kRightsCount && i < rights.size(); ++i) {
        if (rights.at(i) == u'1')
            boxes[size_t(i)] = true;
        else if (rights.at(i) == u'0')
            boxes[size_t(i)] = false;
    }
}

QString boxesToRights(const RightsBoxes &boxes)
{
    QString rights;
    for (bool b : boxes)
        rights += b ? u'1' : u'0';
    return rights;
}

bool passwordAcceptable(const QString &clear)
{
    return !encipherPassword(clear).isEmpty();
}

QString encipherPassword(const QString &clear)
{
    return KeyEncBuf(clear, kPasswordKey);
}

namespace {
Account accountFrom(const QSqlQuery &q)
{
    return {q.value(u"UserNm"_s).toString(), q.value(u"UserPwd"_s).toString(),
            q.value(u"UserAuth"_s).toString().trimmed()};
}
} // namespace

AccountStore::AccountStore()
{
    static int serial = 0;
    m_conn = u"UserConn%1"_s.arg(++serial);
}

AccountStore::~AccountStore()
{
    platform::closeConnection(m_conn);
}

bool AccountStore::open()
{
    m_error.clear();
    return platform::openSqlite(m_conn, platform::dataFile(kUserFile), &m_error);
}

bool AccountStore::isOpen() const
{
    return QSqlDatabase::contains(m_conn) && QSqlDatabase::database(m_conn, false).isOpen();
}

// Every call that reaches the database starts here, so lastError() is the reason of this call's failure.
QSqlDatabase AccountStore::database() const
{
    m_error.clear();
    if (!isOpen()) {
        m_error = u"用户数据库未打开：%1"_s.arg(platform::dataFile(kUserFile));
        return {};
    }
    return QSqlDatabase::database(m_conn, false);
}

std::optional<QStringList> AccountStore::userNames() const
{
    const QSqlDatabase db = database();
    QSqlQuery q;
    if (!db.isValid() || !platform::execBound(db, u"SELECT UserNm FROM \"User\" ORDER BY rowid"_s, {}, &m_error, &q))
        return std::nullopt;
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

Lookup AccountStore::loadAccount(const QString &name, Account *account) const
{
    const QSqlDatabase db = database();
    QSqlQuery q;
    if (!db.isValid()
        || !platform::execBound(db, u"SELECT * FROM \"User\" WHERE UserNm = ? ORDER BY rowid"_s, {name}, &m_error, &q))
        return Lookup::Failed;
    if (!q.next())
        return Lookup::NotFound;
    if (account)
        *account = accountFrom(q);
    return Lookup::Found;
}

std::optional<bool> AccountStore::exists(const QString &name) const
{
    switch (loadAccount(name, nullptr)) {
    case Lookup::Found: return true;
    case Lookup::NotFound: return false;
    case Lookup::Failed: break;
    }
    return std::nullopt;
}

AddResult AccountStore::add(const QString &name, const QString &clearPassword, const QString &rights)
{
    if (!passwordAcceptable(clearPassword)) {
        m_error = kPasswordTooShort;
        return AddResult::Failed;
    }
    const QSqlDatabase db = database();
    if (!db.isValid())
        return AddResult::Failed;
    // The test and the insert in one transaction, so no duplicate can slip in between.
    platform::TransactionGuard tx(db);
    if (!tx.isActive()) {
        m_error = tx.errorText();
        return AddResult::Failed;
    }
    const std::optional<bool> found = exists(name);
    if (!found)
        return AddResult::Failed;
    if (*found)
        return AddResult::Exists;
    if (!platform::execBound(db, u"INSERT INTO \"User\" (UserNm, UserPwd, UserAuth) VALUES (?, ?, ?)"_s,
                             {name, encipherPassword(clearPassword), rights}, &m_error))
        return AddResult::Failed;
    if (!tx.commit()) {
        m_error = tx.errorText();
        return AddResult::Failed;
    }
    return AddResult::Added;
}

namespace {
// One UPDATE/DELETE that must hit at least one row.
bool changeRows(const QSqlDatabase &db, const QString &sql, const QVariantList &values, const QString &name,
                QString *error)
{
    QSqlQuery q;
    if (!db.isValid() || !platform::execBound(db, sql, values, error, &q))
        return false;
    if (q.numRowsAffected() < 1) {
        platform::setError(error, u"用户不存在：%1"_s.arg(name));
        return false;
    }
    return true;
}
} // namespace

bool AccountStore::updateRights(const QString &name, const QString &rights)
{
    return changeRows(database(), u"UPDATE \"User\" SET UserAuth = ? WHERE UserNm = ?"_s, {rights, name},
                      name, &m_error);
}

bool AccountStore::remove(const QString &name)
{
    const QSqlDatabase db = database();
    return db.isValid()
           && platform::execBound(db, u"DELETE FROM \"User\" WHERE UserNm = ? COLLATE BINARY"_s, {name}, &m_error);
}

bool AccountStore::changePassword(const QString &name, const QString &newClear)
{
    if (!passwordAcceptable(newClear)) {
        m_error = kPasswordTooShort;
        return false;
    }
    return changeRows(database(), u"UPDATE \"User\" SET UserPwd = ? WHERE UserNm = ?"_s,
                      {encipherPassword(newClear), name}, name, &m_error);
}

Lookup AccountStore::checkLogin(const QString &name, const QString &clearPassword, Account *match) const
{
    const QSqlDatabase db = database();
    QSqlQuery q;
    if (!db.isValid()
        || !platform::execBound(db, u"SELECT * FROM \"User\" WHERE UserNm = ? AND UserPwd = ? ORDER BY rowid"_s,
                                {name, encipherPassword(clearPassword)}, &m_error, &q))
        return Lookup::Failed;
    if (!q.next())
        return Lookup::NotFound;
    if (match)
        *match = accountFrom(q);
    return Lookup::Found;
}

} // namespace app
