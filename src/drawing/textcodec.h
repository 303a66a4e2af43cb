#pragma once
// Text of drawing files. Drawing files are written in GB18030: byte for byte GBK for every
// character GBK has, and able to hold any other.
#include <QByteArray>
#include <QString>
#include <optional>

namespace drawing {

// The text of a drawing file (.MC), read as GB18030. Earlier versions wrote a file whose text had
// a character GBK lacks wholly in UTF-8; such a file is read as UTF-8. It is told apart by its
// bytes: they are valid UTF-8, that reading holds a character GBK lacks (else the file would have
// been written in GBK), and its characters beyond ASCII are common Chinese characters (GB2312's
// characters, punctuation and full-width forms) at least as often as those of the GB18030 reading - or the bytes are no GB18030 at all. A file that starts
// with a UTF-8 byte-order mark is UTF-8. nullopt when the bytes are neither.
std::optional<QString> decodeDrawingText(const QByteArray &bytes);
// The text of a DXF file, which other programs write in the Chinese code page or in UTF-8: UTF-8
// when the file starts with a byte-order mark, or when the bytes are valid UTF-8 and that reading
// has common Chinese characters at least as often as the GB18030 reading; GB18030 otherwise.
std::optional<QString> decodeDxfText(const QByteArray &bytes);
// nullopt only when the converter is missing.
std::optional<QByteArray> encodeGb18030(const QString &text);
// The lines of a text, with CRLF or LF ends; a last line without an end counts, an empty tail does not.
QStringList splitLines(const QString &text);

} // namespace drawing
