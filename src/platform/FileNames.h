#pragma once

#include <QByteArray>
#include <QString>

// File names are bytes on this platform. These helpers turn them into the text
// a user sees and back.
namespace platform {

// The folder separator that ends every folder path.
inline constexpr char kSeparator = '/';

// A name (or path) as shown: decoded as UTF-8 when it is valid UTF-8,
// otherwise as the ANSI code page (names unpacked from archives made on
// Japanese systems); each control character (a line feed, a carriage return,
// a tab...) shows as one U+FFFD, so a name never splits a line of text.
QString DisplayFileName(const QByteArray &bytes);

// A path given as text, shown as DisplayFileName shows names: each control
// character replaced by U+FFFD.
QString DisplayPathText(QString path);

// A path as shown, each component decoded on its own (as DisplayFileName),
// so one name in code page 932 does not garble the UTF-8 names around it.
QString DisplayPath(const QByteArray &path);

// The bytes that name a file given as text (the local 8-bit file encoding).
QByteArray NativeFileName(const QString &path);

// The absolute form of a path given as bytes, relative to the current folder.
QByteArray AbsoluteNativePath(const QByteArray &path);

} // namespace platform
