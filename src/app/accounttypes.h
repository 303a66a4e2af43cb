#pragma once
// An account of user.mdb as the login and the account windows see it: its rights string and boxes,
// the password rules, and the outcomes of a look-up and of an add.
#include <QString>
#include <array>

namespace app {

inline constexpr int kRightsCount = 12;
// Check box i stands for rights position i + 1.
using RightsBoxes = std::array<bool, kRightsCount>;

// '1' checks box i, '0' clears it; a missing or any other character leaves that box as it was.
void rightsToBoxes(const QString &rights, RightsBoxes &boxes);
// "1"/"0" per box, in index order.
QString boxesToRights(const RightsBoxes &boxes);

// The cipher turns a password of fewer than two characters into "", which any other such
// password would match, so new passwords must be longer.
inline const QString kPasswordTooShort = QStringLiteral("密码至少要有两个字符！");
bool passwordAcceptable(const QString &clear);
// The stored form of a password.
QString encipherPassword(const QString &clear);

struct Account
{
    QString name;     // as stored
    QString password; // enciphered
    QString rights;   // trimmed
};

enum class Lookup { Found, NotFound, Failed };
enum class AddResult { Added, Exists, Failed };

} // namespace app
