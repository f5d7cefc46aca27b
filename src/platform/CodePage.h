#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The system's ANSI code page: Windows code page 932 (Shift_JIS with the
// Microsoft extensions). Score-file names, reports, the ini file and the
// error log are all in it.
namespace platform {

// True when the toolkit can convert the code page; checked once at start-up.
bool CodePageAvailable();

// Bytes to text, as Windows code page 932 maps them. A byte that neither is a
// character nor starts a complete double-byte character (a lead byte at the
// end included) becomes one U+FFFD; so does an unassigned double-byte pair.
QString DecodeAnsi(QByteArrayView bytes);

// Text to bytes. A few characters the code page holds only in another form
// take that form's bytes (U+301C WAVE DASH gives 81 60, the bytes of U+FF5E),
// as the system's own conversion does. Any other character the code page
// lacks becomes "?" (0x3F), one per character (a surrogate pair counts as
// one); U+FFFD is such a character.
QByteArray EncodeAnsi(QStringView text);

// What reports and exports are written in: UTF-8, or the code page as
// EncodeAnsi writes it.
enum class Encoding { Utf8, Cp932 };
QByteArray Encode(QStringView text, Encoding encoding);

} // namespace platform
