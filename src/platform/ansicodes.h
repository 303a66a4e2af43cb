#pragma once
// Character codes in the Chinese ANSI code page (GBK): a double-byte character is one signed
// 16-bit value, lead byte x 256 + trail byte; a single-byte character is its byte.
#include <QString>
#include <QVector>

namespace platform {

QVector<qint16> ansiCodes(const QString &text);
QString fromAnsiCodes(const QVector<qint16> &codes);

} // namespace platform
