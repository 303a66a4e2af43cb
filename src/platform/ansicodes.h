#pragma once
// Character codes of other programs' files, through iconv: the Chinese ANSI code page (GBK) as
// the old programs used it, GB18030 (GBK's bytes for every character GBK has, four-byte codes for
// all others) for the files written, and any code page iconv knows for files read.
#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

namespace platform {

// A double-byte character is one signed 16-bit value, lead byte x 256 + trail byte; a
// single-byte character is its byte. A character GBK lacks becomes "?".
QVector<qint16> ansiCodes(const QString &text);
QString fromAnsiCodes(const QVector<qint16> &codes);

// nullopt when iconv lacks either encoding or the input does not convert whole.
std::optional<QByteArray> convertEncoding(const char *to, const char *from, const QByteArray &in);
// Every character kept; empty only for an empty text or a system without the converter.
QByteArray toGb18030(const QString &text);
// The bytes read in the encoding; each byte that does not begin a character of it becomes
// U+FFFD and the rest is read on. nullopt when iconv does not know the encoding.
std::optional<QString> decodeLeniently(const QByteArray &bytes, const char *encoding);

} // namespace platform
