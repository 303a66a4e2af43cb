#pragma once
// The type faces that printed pages and a few windows name ("宋体", "隶书", ...), and the installed
// faces that stand in for them on this system. The one place that maps a face name to a font.
#include <QFont>
#include <QString>

namespace platform {

// The installed family for a named face; a name not in the table is returned as it stands.
QString installedFamily(const QString &face);

// A font of the named face.
QFont faceFont(const QString &face, double pointSize, bool bold = false);

} // namespace platform
