#include "platform/IniStore.h"

#include "platform/CodePage.h"
#include "platform/FileWrite.h"
#include "platform/SmallFileRead.h"

namespace platform {
namespace {

constexpr qsizetype kMaxValueBytes = 127;

using Line = ProfileLine;
using LineKind = ProfileLine::Kind;

// What a line means to the store. Blanks, '=', ';', '"' and line ends are
// never the second byte of a double-byte character, so they are found with a
// plain byte search; ']' can be, so the section name is scanned character by
// character.
struct ParsedLine {
    LineKind kind = LineKind::Other;
    QByteArray name;  // section or key name, blanks trimmed
    QByteArray value; // raw value of a key line, after '='
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray TrimBlanks(QByteArray bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && IsBlank(bytes[begin]))
        ++begin;
    while (end > begin && IsBlank(bytes[end - 1]))
        --end;
    return bytes.mid(begin, end - begin);
}

bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

ParsedLine ParseLine(const QByteArray &line)
{
    ParsedLine parsed;
    const QByteArray text = TrimBlanks(line);
    if (text.isEmpty() || text[0] == ';')
        return parsed;
    if (text[0] == '[') {
        for (qsizetype i = 1; i < text.size(); ++i) {
            if (text[i] == ']') {
                parsed.kind = LineKind::Section;
                parsed.name = TrimBlanks(text.mid(1, i - 1));
                return parsed;
            }
            if (IsLeadByte(static_cast<unsigned char>(text[i])))
                ++i;
        }
        return parsed; // no closing bracket: not understood
    }
    const qsizetype eq = text.indexOf('=');
    if (eq <= 0)
        return parsed;
    parsed.name = TrimBlanks(text.left(eq));
    if (parsed.name.isEmpty())
        return parsed;
    parsed.kind = LineKind::Key;
    parsed.value = text.mid(eq + 1);
    return parsed;
}

// Names are matched in the form they are written in: blanks trimmed.
bool SameName(const Line &line, const QString &name)
{
    return line.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

// Fills in what the line means, once, when it is read or made.
Line MakeLine(QByteArray text, QByteArray end)
{
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    const ParsedLine parsed = ParseLine(line.text);
    line.kind = parsed.kind;
    line.blank = TrimBlanks(line.text).isEmpty();
    if (parsed.kind != LineKind::Other)
        line.name = DecodeAnsi(parsed.name);
    return line;
}

QList<Line> SplitLines(const QByteArray &bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            lines.append(MakeLine(bytes.mid(start), QByteArray()));
            break;
        }
        qsizetype textEnd = lf;
        if (textEnd > start && bytes[textEnd - 1] == '\r')
            --textEnd;
        lines.append(MakeLine(bytes.mid(start, textEnd - start), bytes.mid(textEnd, lf + 1 - textEnd)));
        start = lf + 1;
    }
    return lines;
}

// Where a section and a key sit in the file; -1 when missing. Only the first
// section of a name counts, and in it only the first key of a name.
struct Position {
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastContent = -1; // the section's last line that is not blank
};

Position Find(const QList<Line> &lines, const QString &section, const QString &key)
{
    Position pos;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        if (pos.section < 0) {
            if (line.kind == LineKind::Section && SameName(line, section)) {
                pos.section = i;
                pos.lastContent = i;
            }
            continue;
        }
        if (line.kind == LineKind::Section)
            break;
        if (!line.blank)
            pos.lastContent = i;
        if (pos.key < 0 && line.kind == LineKind::Key && SameName(line, key))
            pos.key = i;
    }
    return pos;
}

bool HasLineBreakOrNul(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0));
}

// Whether the entry can be written as one line that reads back as itself.
bool IsWritableEntry(const QString &section, const QString &key, const QString &value)
{
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value))
        return false;
    const QString trimmedSection = section.trimmed();
    const QString trimmedKey = key.trimmed();
    return !trimmedSection.isEmpty() && !section.contains(QLatin1Char(']')) && !trimmedKey.isEmpty() &&
           !key.contains(QLatin1Char('=')) && !trimmedKey.startsWith(QLatin1Char(';')) &&
           !trimmedKey.startsWith(QLatin1Char('['));
}

const QByteArray kCrLf("\r\n");

// Whether a text starts and ends with the same quote, double or single: one
// such pair encloses a value.
template <typename Text> bool IsQuotePair(const Text &text)
{
    if (text.size() < 2 || text.front() != text.back())
        return false;
    return text.front() == '"' || text.front() == '\'';
}

// A stored value as the store returns it: up to the first NUL, blanks
// trimmed, one pair of enclosing quotes removed, then cut to the limit (never
// in the middle of a double-byte character).
QByteArray CleanValueBytes(QByteArray bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    bytes = TrimBlanks(bytes);
    if (IsQuotePair(bytes))
        bytes = bytes.mid(1, bytes.size() - 2);
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype width = IsLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > kMaxValueBytes)
            break;
        end += width;
    }
    bytes.truncate(qMin(end, bytes.size()));
    return bytes;
}

} // namespace

QString ProfileValue(const QString &text)
{
    QString value = text;
    const qsizetype nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value.truncate(nul);
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && (value[begin] == QLatin1Char(' ') || value[begin] == QLatin1Char('\t')))
        ++begin;
    while (end > begin && (value[end - 1] == QLatin1Char(' ') || value[end - 1] == QLatin1Char('\t')))
        --end;
    value = value.mid(begin, end - begin);
    if (IsQuotePair(value))
        value = value.mid(1, value.size() - 2);
    // Cut by the width each character has in the code page; the text itself
    // is kept, so a character the code page lacks survives in a default.
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < value.size();) {
        const qsizetype len = value[i].isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        bytes += value[i].unicode() < 0x80 ? 1 : EncodeAnsi(QStringView(value).mid(i, len)).size();
        if (bytes > kMaxValueBytes) {
            value.truncate(i);
            break;
        }
        i += len;
    }
    return value;
}

ProfileFile::ProfileFile(const QString &path) : m_path(path)
{
    const ReadResult read = ReadSmallFile(path, kMaxProfileBytes);
    m_readable = read.status == ReadStatus::Read || read.status == ReadStatus::Missing;
    if (read.status == ReadStatus::Read)
        m_lines = SplitLines(read.bytes);
}

QString ProfileFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Position pos = Find(m_lines, section, key);
    if (pos.key < 0)
        return ProfileValue(defaultValue);
    return DecodeAnsi(CleanValueBytes(ParseLine(m_lines[pos.key].text).value));
}

bool ProfileFile::setValue(const QString &section, const QString &key, const QString &value)
{
    if (!m_readable || !IsWritableEntry(section, key, value))
        return false;
    const Position pos = Find(m_lines, section, key);
    if (pos.key >= 0) {
        // Keep the key's spelling as found; replace everything after it.
        Line &line = m_lines[pos.key];
        const QByteArray trimmed = TrimBlanks(line.text);
        const QByteArray name = TrimBlanks(trimmed.left(trimmed.indexOf('=')));
        line = MakeLine(name + '=' + EncodeAnsi(value), kCrLf);
        return true;
    }
    const Line entry = MakeLine(EncodeAnsi(key.trimmed()) + '=' + EncodeAnsi(value), kCrLf);
    if (pos.section < 0) {
        if (!m_lines.isEmpty() && m_lines.back().end.isEmpty())
            m_lines.back().end = kCrLf;
        m_lines.append(MakeLine("[" + EncodeAnsi(section.trimmed()) + "]", kCrLf));
        m_lines.append(entry);
    } else {
        const qsizetype at = pos.lastContent + 1;
        if (m_lines[at - 1].end.isEmpty())
            m_lines[at - 1].end = kCrLf;
        m_lines.insert(at, entry);
    }
    return true;
}

bool ProfileFile::save() const
{
    if (!m_readable)
        return false; // never replace a file that could not be read
    QByteArray out;
    for (const Line &line : m_lines)
        out += line.text + line.end;
    // A file the reader would refuse is never written: the old one stays readable.
    return out.size() <= kMaxProfileBytes && !ReplaceFile(m_path, out).failed();
}

QString ReadProfileString(const QString &file, const QString &section, const QString &key,
                          const QString &defaultValue)
{
    return ProfileFile(file).value(section, key, defaultValue);
}

bool WriteProfileString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    ProfileFile profile(file);
    return profile.setValue(section, key, value) && profile.save();
}

} // namespace platform
