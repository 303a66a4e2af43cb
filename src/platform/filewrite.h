#pragma once
// Writing a whole file so that a failure never costs the file it replaces.
#include <QByteArray>
#include <QString>

namespace platform {

// Replaces the file at path with bytes. The bytes go to a temporary file in the same folder, which
// takes the file's place only when every byte has reached it; on any failure (a full disk, no
// permission, a missing folder) the old file stays as it was and *error names the file and the
// cause.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace platform
