#pragma once
// Byte decoders shared by the readers of outside text: strict UTF-8
// validation and the Windows-1252 code page.

#include <QByteArray>
#include <QString>
#include <optional>

namespace mirandel {

// Offset of the first byte of `bytes` that does not start or continue a
// well-formed UTF-8 sequence (overlong forms, surrogates and code points
// above U+10FFFF are not well-formed), or -1 when every byte is.
qsizetype firstInvalidUtf8(const QByteArray &bytes);

// The character of Windows-1252 byte `b`; nullopt for the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
std::optional<char16_t> windows1252Char(unsigned char b);

// Windows-1252 text; an undefined byte becomes the C1 control of the same
// value, as Windows itself decodes it.
QString decodeWindows1252(const QByteArray &bytes);

} // namespace mirandel
