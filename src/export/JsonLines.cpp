#include "export/JsonLines.h"

#include "export/ByteGrowth.h"
#include "platform/NumberText.h"
#include "score/Overview.h"
#include "score/RankingText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

void Cut(QByteArray &out, const char *end)
{
    out.resize(end - out.constData());
}

template <std::size_t N> char *Put(char *p, const char (&text)[N])
{
    std::memcpy(p, text, N - 1);
    return p + N - 1;
}

char *Put(char *p, const QByteArray &bytes)
{
    std::memcpy(p, bytes.constData(), size_t(bytes.size()));
    return p + bytes.size();
}

char *Number(char *p, std::int64_t value)
{
    return std::to_chars(p, p + 24, value).ptr;
}

// A float field: the number, or null and the text beside it.
char *Float(char *p, const char *key, float value)
{
    if (std::isfinite(value)) {
        p = std::to_chars(p, p + 48, value).ptr;
        return p;
    }
    p = Put(p, "null,\"");
    const std::size_t length = std::strlen(key);
    std::memcpy(p, key, length);
    p += length;
    p = Put(p, "Text\":\"");
    const char *text = std::isnan(value) ? "NaN" : value > 0 ? "Inf" : "-Inf";
    std::memcpy(p, text, std::strlen(text));
    p += std::strlen(text);
    *p++ = '"';
    return p;
}

} // namespace

JsonLinesWriter::JsonLinesWriter(bool topOnly) : m_topOnly(topOnly) {}

void JsonLinesWriter::AppendString(QByteArray &out, QStringView text)
{
    // At most six bytes for each UTF-16 unit (a control character), and the quotes.
    char *const start = GrowBytes(out, 6 * text.size() + 2);
    char *p = start;
    *p++ = '"';
    static const char hex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            if (c == '"' || c == '\\') {
                *p++ = '\\';
                *p++ = char(c);
            } else if (c == '\n') {
                p = Put(p, "\\n");
            } else if (c == '\r') {
                p = Put(p, "\\r");
            } else if (c == '\t') {
                p = Put(p, "\\t");
            } else if (c < 0x20 || c == 0x7F) {
                p = Put(p, "\\u00");
                *p++ = hex[c >> 4];
                *p++ = hex[c & 0xF];
            } else {
                *p++ = char(c);
            }
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *p++ = char(0xC0 | c >> 6);
        } else if (c < 0x10000) {
            *p++ = char(0xE0 | c >> 12);
            *p++ = char(0x80 | (c >> 6 & 0x3F));
        } else {
            *p++ = char(0xF0 | c >> 18);
            *p++ = char(0x80 | (c >> 12 & 0x3F));
            *p++ = char(0x80 | (c >> 6 & 0x3F));
        }
        *p++ = char(0x80 | (c & 0x3F));
    }
    *p++ = '"';
    Cut(out, p);
}

QByteArray JsonLinesWriter::FloatText(float value)
{
    if (!std::isfinite(value))
        return QByteArray();
    char buf[48];
    return QByteArray(buf, std::to_chars(buf, buf + sizeof buf, value).ptr - buf);
}

const QByteArray &JsonLinesWriter::name(const QString &text)
{
    // The reader shares one copy of each repeated name, so its address finds it.
    Cached &slot = m_names[(quintptr(text.constData()) >> 4) % m_names.size()];
    if (slot.data != text.constData() || slot.size != text.size() || slot.text != text) {
        slot.data = text.constData();
        slot.size = text.size();
        slot.text = text;
        slot.json.resize(0);
        AppendString(slot.json, text);
    }
    return slot.json;
}

const QByteArray &JsonLinesWriter::optionText(const ScoreRecord &r, int k)
{
    const auto part = [](std::int16_t value, int shift) {
        return std::uint64_t(std::uint16_t(value)) << shift;
    };
    // The text depends on the first three codes and on whether the last two are 0.
    const std::uint64_t key = part(r.Option1[k], 0) | part(r.Option2[k], 16) | part(r.Option3[k], 32) |
                              std::uint64_t(r.Option4[k] != 0) << 48 |
                              std::uint64_t(r.Option5[k] != 0) << 49 |
                              std::uint64_t(1) << 63; // never the zero of an unused slot
    const std::size_t i = std::size_t((key ^ key >> 29) * 0x9E3779B97F4A7C15ull >> 58);
    if (m_optionKeys[i] != key) {
        m_optionKeys[i] = key;
        m_options[i].resize(0);
        AppendString(m_options[i],
                     OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    }
    return m_options[i];
}

void JsonLinesWriter::appendPlace(QByteArray &out, const ScoreRecord &r, int k)
{
    const QByteArray &nameJson = name(r.Name[k]);
    const QByteArray &optionJson = optionText(r, k);
    // The keys, 17 numbers of at most 24 characters, two floats with their
    // texts, and the two strings.
    char *p = GrowBytes(out, 400 + 17 * 24 + nameJson.size() + optionJson.size());
    p = Put(p, "{\"rank\":");
    p = Number(p, k + 1);
    p = Put(p, ",\"name\":");
    p = Put(p, nameJson);
    p = Put(p, ",\"score\":");
    p = Number(p, r.Score[k]);
    p = Put(p, ",\"jpts\":");
    p = Number(p, r.JPts[k]);
    p = Put(p, ",\"hs\":");
    p = Float(p, "hs", r.HS[k]);
    p = Put(p, ",\"rhs\":");
    p = Float(p, "rhs", r.RHS[k]);
    p = Put(p, ",\"maxCombo\":");
    p = Number(p, r.MaxCombo[k]);
    p = Put(p, ",\"classCode\":");
    p = Number(p, r.ClassCode[k]);
    p = Put(p, ",\"class\":");
    static const char *const classes[] = {"\"SS\"", "\"S\"", "\"A\"", "\"B\"", "\"C\"", "\"D\"", "\"E\""};
    const char *cls = r.ClassCode[k] >= 0 && r.ClassCode[k] < 7 ? classes[r.ClassCode[k]] : "null";
    std::memcpy(p, cls, std::strlen(cls));
    p += std::strlen(cls);
    p = r.ClearMark[k] == -1 ? Put(p, ",\"cleared\":true") : Put(p, ",\"cleared\":false");
    p = Put(p, ",\"options\":[");
    p = Number(p, r.Option1[k]);
    *p++ = ',';
    p = Number(p, r.Option2[k]);
    *p++ = ',';
    p = Number(p, r.Option3[k]);
    *p++ = ',';
    p = Number(p, r.Option4[k]);
    *p++ = ',';
    p = Number(p, r.Option5[k]);
    p = Put(p, "],\"optionText\":");
    p = Put(p, optionJson);
    p = Put(p, ",\"perfect\":");
    p = Number(p, r.Perfect[k]);
    p = Put(p, ",\"great\":");
    p = Number(p, r.Great[k]);
    p = Put(p, ",\"good\":");
    p = Number(p, r.Good[k]);
    p = Put(p, ",\"bad\":");
    p = Number(p, r.Bad[k]);
    p = Put(p, ",\"poor\":");
    p = Number(p, r.Poor[k]);
    *p++ = '}';
    Cut(out, p);
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
    char *p = GrowBytes(out, 64);
    p = Put(p, ",\"playCount\":");
    p = Number(p, r.PlayCount);
    p = r.Cleared == -1 ? Put(p, ",\"cleared\":true") : Put(p, ",\"cleared\":false");
    Cut(out, p);
}

void JsonLinesWriter::appendRecord(QByteArray &out, const ScoreRecord &r)
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

void JsonLinesWriter::appendOverview(QByteArray &out, const ScoreRecord &r)
{
    AppendHead(out, r);
    const int places = ShownPlaces(r, m_topOnly);
    out += ",\"placeCount\":";
    out += QByteArray::number(places);
    out += ",\"first\":";
    if (places > 0)
        appendPlace(out, r, 0);
    else
        out += "null";
    out += "}\n";
}
