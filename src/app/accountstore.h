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
    bool open(QString *error = nullptr);
    bool isOpen() const;
    QString connectionName() const { return m_conn; }

    // Every account name in table order; nullopt (with *error) when the query fails.
    std::optional<QStringList> userNames(QString *error = nullptr) const;
    // The first row of that name (the database's comparison: letter case ignored).
    Lookup loadAccount(const QString &name, Account *account, QString *error = nullptr) const;
    // Letter case ignored; nullopt when the query fails.
    std::optional<bool> exists(const QString &name, QString *error = nullptr) const;

    // Refuses a name that exists in any letter case and a password the cipher cannot hold.
    AddResult add(const QString &name, const QString &clearPassword, const QString &rights,
                  QString *error = nullptr);
    // Only the rights change; fails when no account has that name.
    bool updateRights(const QString &name, const QString &rights, QString *error = nullptr);
    // Deletes the account whose name is exactly `name` (so "admin" never takes "Admin" with it).
    bool remove(const QString &name, QString *error = nullptr);
    // Fails for a password the cipher cannot hold and when no account has that name.
    bool changePassword(const QString &name, const QString &newClear, QString *error = nullptr);

    // The row matching the name and the enciphered password; `match` gets its stored name, the
    // enciphered password and the trimmed rights.
    Lookup checkLogin(const QString &name, const QString &clearPassword, Account *match,
                      QString *error = nullptr) const;

private:
    QSqlDatabase database(QString *error) const;

    QString m_conn;
};

} // namespace app
