#pragma once
// Text of drawing files. Drawing files are written in GB18030: byte for byte GBK for every
// character GBK has, and able to hold any other.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace drawing {

// The text of a drawing file (.MC), read as GB18030. Earlier versions wrote a file whose text had
// a character GBK lacks wholly in UTF-8; such a file is read as UTF-8. It is told apart by its
// bytes: they are valid UTF-8, that reading holds a character GBK lacks (else the file would have
// been written in GBK), and its characters beyond ASCII are common Chinese characters (GB2312's
// characters, punctuation and full-width forms) at least as often as those of the GB18030 reading - or the bytes are no GB18030 at all. A file that starts
// with a UTF-8 byte-order mark is UTF-8. nullopt when the bytes are neither.
std::optional<QString> decodeDrawingText(const QByteArray &bytes);
// The lines of a DXF file, read in the file's own encoding: UTF-8 with a byte-order mark or from
// R2007 on ($ACADVER AC1021 or later); otherwise the code page its $DWGCODEPAGE names (ANSI_936 the
// Chinese code page, any other ANSI_ page iconv knows); a file that names neither is read in the
// Chinese code page or in UTF-8, whichever its bytes read as Chinese text better. A byte that does
// not decode shows as U+FFFD; the file is read whole whatever its bytes.
QStringList dxfLines(const QByteArray &bytes);
// A DXF text with its escapes read: \U+XXXX a character by its code, %%c, %%d, %%p the diameter,
// degree and plus-minus signs (either case).
QString decodeDxfEscapes(const QString &text);
// nullopt only when the converter is missing.
std::optional<QByteArray> encodeGb18030(const QString &text);
// The lines of a text, with CRLF or LF ends; a last line without an end counts, an empty tail does not.
QStringList splitLines(const QString &text);

} // namespace drawing
