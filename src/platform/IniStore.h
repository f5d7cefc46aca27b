#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A private-profile (ini) store: "[section]" lines each followed by
// "key=value" lines, in the ANSI code page with CR LF line ends. Section and
// key names are matched without regard to letter case.
//
// Reading accepts CR LF or LF line ends and a last line without one. Blanks
// (spaces and tabs) around names, "=" and values are ignored; lines starting
// with ";" are comments; a key before the first section belongs to no
// section. Of duplicate sections only the first counts, and of duplicate keys
// in it only the first. Lines the store does not understand are skipped when
// reading and kept byte for byte when writing.
namespace platform {

// The value of key in section of the file: surrounding blanks and one pair of
// enclosing quotes (double or single) removed, at most 127 bytes (in the code
// page). The default, treated the same way, when the file, the section or the
// key is missing. Section and key names are matched with blanks trimmed, the
// form in which they are written.
QString ReadProfileString(const QString &file, const QString &section, const QString &key,
                          const QString &defaultValue);

// Writes key=value into section, creating the file, the section or the key as
// needed and replacing an existing value; every other line stays as it was.
// Returns false, leaving the file as it was, when it could not be read or
// written, when a name or the value holds a line break or NUL, or when a name
// is empty or holds a character that would change the line's meaning ("]" in
// a section name, "=" in a key, a key starting with ";" or "["). The file is
// written with ReplaceFile, so it is never left empty or half written.
bool WriteProfileString(const QString &file, const QString &section, const QString &key,
                        const QString &value);

// The largest file the store reads or rewrites: a bigger one is treated as
// unreadable (every value its default) and left as it is.
inline constexpr qint64 kMaxProfileBytes = qint64(1) << 20;

// One line of a file: its bytes without the line end, the line end it had
// (CR LF, LF, or nothing on a last line without one), and what it means.
struct ProfileLine {
    enum class Kind { Other, Section, Key };
    QByteArray text;
    QByteArray end;
    Kind kind = Kind::Other;
    QString name; // of a section or key, blanks trimmed
    bool blank = false;
};

// A whole file, read and understood once: any number of values are read and
// set in memory, then the file is written back in one step. The functions
// above read or write one value each this way.
class ProfileFile {
  public:
    // Reads the file. A missing file is empty; one that cannot be read or is
    // larger than kMaxProfileBytes gives every value its default and refuses
    // every change.
    explicit ProfileFile(const QString &path);

    // As ReadProfileString.
    QString value(const QString &section, const QString &key, const QString &defaultValue) const;

    // As WriteProfileString, in memory; false (nothing changed) when refused.
    bool setValue(const QString &section, const QString &key, const QString &value);

    // Writes the file back; false, leaving it as it was, when it could not be
    // read or written, or would grow past kMaxProfileBytes.
    bool save() const;

  private:
    QString m_path;
    bool m_readable = false;
    QList<ProfileLine> m_lines;
};

// A text as ReadProfileString returns a default: blanks and one pair of
// enclosing quotes removed, cut to at most 127 bytes in the code page
// (a double-byte character that would not fit whole is left out).
QString ProfileValue(const QString &text);

} // namespace platform
