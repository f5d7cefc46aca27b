// Code page 932 both ways. Text to bytes and back keeps every character, or
// turns it into one "?", or (for a few characters the code page holds only in
// another form) into that form. Bytes to text and back keeps every character
// the bytes decode to.
#include "FuzzSupport.h"

#include "platform/CodePage.h"

#include <QList>
#include <cstdint>

namespace {

// The characters that encode as another form's bytes, and that form.
bool IsBestFit(char32_t from, char32_t to)
{
    static const struct {
        char32_t from;
        char32_t to;
    } pairs[] = {
        {0x00A2, 0xFFE0}, // cent sign: fullwidth cent sign
        {0x00A3, 0xFFE1}, // pound sign: fullwidth pound sign
        {0x00A6, 0xFFE4}, // broken bar: fullwidth broken bar
        {0x00AC, 0xFFE2}, // not sign: fullwidth not sign
        {0x2014, 0x2015}, // em dash: horizontal bar
        {0x2016, 0x2225}, // double vertical line: parallel to
        {0x2212, 0xFF0D}, // minus sign: fullwidth hyphen-minus
        {0x301C, 0xFF5E}, // wave dash: fullwidth tilde
    };
    for (const auto &pair : pairs) {
        if (pair.from == from)
            return pair.to == to;
    }
    return false;
}

// The characters of a text: a surrogate pair is one, a lone surrogate too.
QList<char32_t> Characters(const QString &text)
{
    QList<char32_t> chars;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            chars.append(QChar::surrogateToUcs4(text[i], text[i + 1]));
            ++i;
        } else {
            chars.append(text[i].unicode());
        }
    }
    return chars;
}

QString Hex(const QList<char32_t> &chars)
{
    QString text;
    for (const char32_t c : chars)
        text += QString::number(c, 16) + QLatin1Char(' ');
    return text;
}

void TextToBytes(const std::uint8_t *data, std::size_t size)
{
    // Pairs of bytes as UTF-16 code units, lone surrogates included.
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text[qsizetype(i / 2)] = QChar(char16_t(data[i] | data[i + 1] << 8));

    const QByteArray bytes = platform::EncodeAnsi(text);
    const QList<char32_t> before = Characters(text);
    const QList<char32_t> after = Characters(platform::DecodeAnsi(bytes));
    fuzz::Check(before.size() == after.size(), "one character back for each", Hex(before), Hex(after));
    QByteArray oneByOne;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const char32_t c = before[i];
        fuzz::Check(after[i] == c || after[i] == U'?' || IsBestFit(c, after[i]), "character kept or \"?\"",
                    Hex({c}), Hex({after[i]}));
        fuzz::Check(c >= 0x80 || after[i] == c, "ASCII kept", Hex({c}), Hex({after[i]}));
        fuzz::Check(c != 0xFFFD || after[i] == U'?', "U+FFFD written as \"?\"", Hex({c}), Hex({after[i]}));
        QString one;
        if (c > 0xFFFF)
            one = QString::fromUcs4(&c, 1);
        else
            one = QChar(char16_t(c));
        oneByOne += platform::EncodeAnsi(one);
    }
    fuzz::CheckEqual(oneByOne, bytes, "a text encodes as its characters one by one");
}

void BytesToText(const std::uint8_t *data, std::size_t size)
{
    const QString text = platform::DecodeAnsi(QByteArrayView(data, qsizetype(size)));
    fuzz::Check(text.size() <= qsizetype(size), "at most one character per byte");
    const QString again = platform::DecodeAnsi(platform::EncodeAnsi(text));
    fuzz::Check(again.size() == text.size(), "one character back for each", text, again);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar expected = text[i] == QChar::ReplacementCharacter ? QLatin1Char('?') : text[i];
        fuzz::Check(again[i] == expected, "a decoded character encodes as itself", text, again);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TextToBytes(data, size);
    BytesToText(data, size);
    return 0;
}
