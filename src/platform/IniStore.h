#pragma once

#include <QString>

// A private-profile (ini) store: "[section]" lines each followed by
// "key=value" lines, in the ANSI code page with CR LF line ends. Section and
// key names are matched without regard to letter case.
namespace platform {

// The value of key in section of the file: surrounding blanks and one pair of
// enclosing double quotes removed, at most 127 bytes (in the code page). The
// default, treated the same way, when the file, the section or the key is
// missing.
QString ReadProfileString(const QString &file, const QString &section, const QString &key,
                          const QString &defaultValue);

// Writes key=value into section, creating the file, the section or the key as
// needed and replacing an existing value; every other line stays as it was.
// Returns false when the file could not be written.
bool WriteProfileString(const QString &file, const QString &section, const QString &key,
                        const QString &value);

} // namespace platform
