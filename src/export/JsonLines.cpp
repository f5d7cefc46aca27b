#include "export/JsonLines.h"

#include "score/RankingText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <string_view>

namespace {

// The fixed texts and numbers between two strings of a line, gathered on the
// stack and handed to the output in one append: a place has some twenty
// fields, and one append each costs more than the formatting.
class Piece {
  public:
    explicit Piece(QByteArray &out) : m_out(out) {}
    ~Piece() { flush(); }
    Piece(const Piece &) = delete;
    Piece &operator=(const Piece &) = delete;

    Piece &operator<<(std::string_view text)
    {
        if (text.size() > std::size_t(std::end(m_buf) - m_end))
            flush();
        if (text.size() > sizeof m_buf)
            m_out.append(text.data(), qsizetype(text.size()));
        else
            m_end = std::copy(text.begin(), text.end(), m_end);
        return *this;
    }
    template <typename Number> Piece &number(Number value)
    {
        if (std::end(m_buf) - m_end < 48)
            flush();
        m_end = std::to_chars(m_end, std::end(m_buf), value).ptr;
        return *this;
    }
    // Everything gathered so far goes out, before a string is written straight.
    QByteArray &flush()
    {
        m_out.append(m_buf, m_end - m_buf);
        m_end = m_buf;
        return m_out;
    }

  private:
    QByteArray &m_out;
    char m_buf[512];
    char *m_end = m_buf;
};

// A float field: the number, or null and the text beside it.
void Float(Piece &out, std::string_view key, float value)
{
    if (std::isfinite(value))
        out.number(value);
    else
        out << "null,\"" << key << "Text\":\""
            << (std::isnan(value) ? "NaN"
                : value > 0       ? "Inf"
                                  : "-Inf")
            << "\"";
}

// The text as UTF-8, a lone surrogate as U+FFFD (the toolkit would write "?").
QByteArray Utf8(QStringView text)
{
    if (text.isValidUtf16())
        return text.toUtf8();
    QString valid = text.toString();
    for (qsizetype i = 0; i < valid.size(); ++i) {
        if (valid[i].isHighSurrogate() && i + 1 < valid.size() && valid[i + 1].isLowSurrogate())
            ++i;
        else if (valid[i].isSurrogate())
            valid[i] = QChar(QChar::ReplacementCharacter);
    }
    return valid.toUtf8();
}

} // namespace

JsonLinesWriter::JsonLinesWriter(bool topOnly) : m_topOnly(topOnly) {}

void JsonLinesWriter::AppendString(QByteArray &out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = Utf8(text);
    out += '"';
    // Runs of bytes that need no escape are copied whole.
    const char *run = utf8.constData();
    const char *const end = run + utf8.size();
    for (const char *p = run; p != end; ++p) {
        const uchar c = uchar(*p);
        if (c >= 0x20 && c != '"' && c != '\\' && c != 0x7F)
            continue;
        out.append(run, p - run);
        run = p + 1;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    out.append(run, end - run);
    out += '"';
}

QByteArray JsonLinesWriter::FloatText(float value)
{
    QByteArray text;
    if (std::isfinite(value))
        Piece(text).number(value);
    return text;
}

void JsonLinesWriter::appendPlace(QByteArray &out, const ScoreRecord &r, int k) const
{
    static const char *const classes[] = {"\"SS\"", "\"S\"", "\"A\"", "\"B\"", "\"C\"", "\"D\"", "\"E\""};
    Piece piece(out);
    piece << "{\"rank\":";
    piece.number(k + 1) << ",\"name\":";
    AppendString(piece.flush(), r.Name[k]);
    piece << ",\"score\":";
    piece.number(r.Score[k]) << ",\"jpts\":";
    piece.number(r.JPts[k]) << ",\"hs\":";
    Float(piece, "hs", r.HS[k]);
    piece << ",\"rhs\":";
    Float(piece, "rhs", r.RHS[k]);
    piece << ",\"maxCombo\":";
    piece.number(r.MaxCombo[k]) << ",\"classCode\":";
    piece.number(r.ClassCode[k]) << ",\"class\":";
    piece << (r.ClassCode[k] >= 0 && r.ClassCode[k] < 7 ? classes[r.ClassCode[k]] : "null");
    piece << (r.ClearMark[k] == -1 ? ",\"cleared\":true" : ",\"cleared\":false") << ",\"options\":[";
    piece.number(r.Option1[k]) << ",";
    piece.number(r.Option2[k]) << ",";
    piece.number(r.Option3[k]) << ",";
    piece.number(r.Option4[k]) << ",";
    piece.number(r.Option5[k]) << "],\"optionText\":";
    AppendString(piece.flush(),
                 OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    piece << ",\"perfect\":";
    piece.number(r.Perfect[k]) << ",\"great\":";
    piece.number(r.Great[k]) << ",\"good\":";
    piece.number(r.Good[k]) << ",\"bad\":";
    piece.number(r.Bad[k]) << ",\"poor\":";
    piece.number(r.Poor[k]) << "}";
}

// The fields every form starts with: path, play count, the chart's clear flag.
static void AppendHead(QByteArray &out, const ScoreRecord &r)
{
    out += "{\"path\":";
    const QString path = r.FilePath();
    JsonLinesWriter::AppendString(out, path);
    // The path as shown, when it does not name the file exactly (a name that
    // is not UTF-8, a control character), is followed by its bytes.
    if (!r.NativePath.isEmpty() && r.NativePath != path.toUtf8()) {
        out += ",\"pathBytes\":[";
        for (qsizetype i = 0; i < r.NativePath.size(); ++i) {
            if (i != 0)
                out += ',';
            out += QByteArray::number(uchar(r.NativePath[i]));
        }
        out += ']';
    }
    (Piece(out) << ",\"playCount\":").number(r.PlayCount)
        << (r.Cleared == -1 ? ",\"cleared\":true" : ",\"cleared\":false");
}

void JsonLinesWriter::appendRecord(QByteArray &out, const ScoreRecord &r) const
{
    AppendHead(out, r);
    out += ",\"places\":[";
    const int places = ShownPlaces(r, m_topOnly);
    for (int k = 0; k < places; ++k) {
        if (k != 0)
            out += ',';
        appendPlace(out, r, k);
    }
    out += "]}\n";
}

void JsonLinesWriter::appendOverview(QByteArray &out, const ScoreRecord &r) const
{
    AppendHead(out, r);
    const int places = ShownPlaces(r, m_topOnly);
    (Piece(out) << ",\"placeCount\":").number(places);
    out += ",\"first\":";
    if (places > 0)
        appendPlace(out, r, 0);
    else
        out += "null";
    out += "}\n";
}
