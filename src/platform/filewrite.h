#pragma once
// Writing a whole file so that a failure never costs the file it replaces.
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace platform {

// Replaces the file at path with bytes. The bytes go to a temporary file in the same folder, which
// takes the file's place only when every byte has reached it; on any failure (a full disk, no
// permission, a missing folder) the old file stays as it was and *error names the file and the
// cause.
// *diskFull (when given) tells whether it failed because the disk or the quota is full.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr, bool *diskFull = nullptr);

// Writes a new file that is itself a temporary (the caller moves it into place): straight to
// path, which must not exist yet; on failure it is removed, and *error and *diskFull as above.
bool writeNewFile(const QString &path, const QByteArray &bytes, QString *error = nullptr, bool *diskFull = nullptr);

// The cause that a failed write names when the disk is full.
QString diskFullCause();

// The program's own folder under the system's temporary location (made when missing): workbooks
// shown on the desktop and files being written are kept there.
QString temporaryFolder();

// Removes what runs that were killed left in temporaryFolder(): everything last changed before
// `before`, the start of this run. Only one instance runs at a time.
void removeStaleTemporaries(const QDateTime &before);

} // namespace platform
