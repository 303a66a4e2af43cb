#pragma once
// The account table User of user.mdb, behind the login and the two account windows. Every window
// holds its own store, and every store its own connection, open for the window's lifetime.
#include "accounttypes.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace app {

class AccountStore
{
public:
    AccountStore();
    ~AccountStore();
    AccountStore(const AccountStore &) = delete;
    AccountStore &operator=(const AccountStore &) = delete;

    // Opens user.mdb of the data folder under this store's own connection name.
    bool open();
    bool isOpen() const;
    // Why the last call failed, readable by the user; empty after a call that succeeded.
    QString lastError() const { return m_error; }
    QString connectionName() const { return m_conn; }

    // Every account name in table order; nullopt when the query fails.
    std::optional<QStringList> userNames() const;
    // The first row of that name (the database's comparison: letter case ignored).
    Lookup loadAccount(const QString &name, Account *account) const;
    // Letter case ignored; nullopt when the query fails.
    std::optional<bool> exists(const QString &name) const;

    // Refuses a name that exists in any letter case and a password the cipher cannot hold.
    AddResult add(const QString &name, const QString &clearPassword, const QString &rights);
    // Only the rights change; fails when no account has that name.
    bool updateRights(const QString &name, const QString &rights);
    // Deletes the account whose name is exactly `name` (so "admin" never takes "Admin" with it).
    bool remove(const QString &name);
    // Fails for a password the cipher cannot hold and when no account has that name.
    bool changePassword(const QString &name, const QString &newClear);

    // The row matching the name and the enciphered password; `match` gets its stored name, the
    // enciphered password and the trimmed rights.
    Lookup checkLogin(const QString &name, const QString &clearPassword, Account *match) const;

private:
    QSqlDatabase database() const;

    QString m_conn;
    mutable QString m_error; // the readers report too
};

} // namespace app
