#include "export/JsonLines.h"

#include "score/RankingText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

// A key (with the separator before it) and a number, as one piece.
void Number(QByteArray &out, std::string_view key, std::int64_t value)
{
    char buf[48];
    key.copy(buf, key.size());
    out.append(buf, std::to_chars(buf + key.size(), buf + sizeof buf, value).ptr - buf);
}

void FiniteFloat(QByteArray &out, float value)
{
    char buf[48];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr - buf);
}

// A float field: the number, or null and the text beside it.
void Float(QByteArray &out, const char *key, float value)
{
    if (std::isfinite(value)) {
        FiniteFloat(out, value);
        return;
    }
    out += "null,\"" + QByteArray(key) + "Text\":\"" +
           (std::isnan(value) ? "NaN"
            : value > 0       ? "Inf"
                              : "-Inf") +
           '"';
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
        FiniteFloat(text, value);
    return text;
}

void JsonLinesWriter::appendPlace(QByteArray &out, const ScoreRecord &r, int k) const
{
    Number(out, "{\"rank\":", k + 1);
    out += ",\"name\":";
    AppendString(out, r.Name[k]);
    Number(out, ",\"score\":", r.Score[k]);
    Number(out, ",\"jpts\":", r.JPts[k]);
    out += ",\"hs\":";
    Float(out, "hs", r.HS[k]);
    out += ",\"rhs\":";
    Float(out, "rhs", r.RHS[k]);
    Number(out, ",\"maxCombo\":", r.MaxCombo[k]);
    Number(out, ",\"classCode\":", r.ClassCode[k]);
    static const char *const classes[] = {"\"SS\"", "\"S\"", "\"A\"", "\"B\"", "\"C\"", "\"D\"", "\"E\""};
    out += ",\"class\":";
    out += r.ClassCode[k] >= 0 && r.ClassCode[k] < 7 ? classes[r.ClassCode[k]] : "null";
    out += r.ClearMark[k] == -1 ? ",\"cleared\":true" : ",\"cleared\":false";
    Number(out, ",\"options\":[", r.Option1[k]);
    Number(out, ",", r.Option2[k]);
    Number(out, ",", r.Option3[k]);
    Number(out, ",", r.Option4[k]);
    Number(out, ",", r.Option5[k]);
    out += "],\"optionText\":";
    AppendString(out, OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    Number(out, ",\"perfect\":", r.Perfect[k]);
    Number(out, ",\"great\":", r.Great[k]);
    Number(out, ",\"good\":", r.Good[k]);
    Number(out, ",\"bad\":", r.Bad[k]);
    Number(out, ",\"poor\":", r.Poor[k]);
    out += '}';
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
    Number(out, ",\"playCount\":", r.PlayCount);
    out += r.Cleared == -1 ? ",\"cleared\":true" : ",\"cleared\":false";
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
    Number(out, ",\"placeCount\":", places);
    out += ",\"first\":";
    if (places > 0)
        appendPlace(out, r, 0);
    else
        out += "null";
    out += "}\n";
}
