#pragma once
// Text of drawing files: GBK (what such files hold) or UTF-8.
#include <QByteArray>
#include <QString>
#include <optional>

namespace drawing {

// UTF-8 when the whole text is valid UTF-8 (a byte-order mark is dropped), otherwise GBK; nullopt
// when it is neither.
std::optional<QString> decodeDrawingText(const QByteArray &bytes);
// nullopt when a character has no GBK code.
std::optional<QByteArray> encodeGbk(const QString &text);
// The lines of a text, with CRLF or LF ends; a last line without an end counts, an empty tail does not.
QStringList splitLines(const QString &text);

} // namespace drawing
