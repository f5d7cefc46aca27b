#include "platform/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdint>
#include <vector>

namespace platform {
namespace {

constexpr const char *kCodecName = "windows-31j";

// One converter each for the whole run; creating an ICU converter is slow.
// Stateless: each call stands alone. A converter cannot be shared between
// threads, and names are decoded on the thread that lists a folder as well.
QStringDecoder &Decoder()
{
    static thread_local QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return decoder;
}

QStringEncoder &Encoder()
{
    static QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    return encoder;
}

bool IsLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(uchar b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Characters the code page holds only in another form, and the bytes of that
// form: text typed on other systems carries the JIS forms of these, which the
// system's own conversion maps to their nearest character instead of "?".
// Each pair of bytes decodes to the code page's own form (shown after it).
struct BestFit {
    char16_t character;
    std::uint16_t code;
};
constexpr BestFit kBestFit[] = {
    {u'\u00A2', 0x8191}, // CENT SIGN: FULLWIDTH CENT SIGN
    {u'\u00A3', 0x8192}, // POUND SIGN: FULLWIDTH POUND SIGN
    {u'\u00A6', 0xFA55}, // BROKEN BAR: FULLWIDTH BROKEN BAR
    {u'\u00AC', 0x81CA}, // NOT SIGN: FULLWIDTH NOT SIGN
    {u'\u2014', 0x815C}, // EM DASH: HORIZONTAL BAR
    {u'\u2016', 0x8161}, // DOUBLE VERTICAL LINE: PARALLEL TO
    {u'\u2212', 0x817C}, // MINUS SIGN: FULLWIDTH HYPHEN-MINUS
    {u'\u301C', 0x8160}, // WAVE DASH: FULLWIDTH TILDE
};

std::uint16_t BestFitCode(QChar c)
{
    for (const BestFit &fit : kBestFit) {
        if (fit.character == c.unicode())
            return fit.code;
    }
    return 0;
}

// The bytes of one BMP character other than ASCII, packed: 0 when the code
// page has no character for it, the byte itself for a half-width katakana,
// lead byte * 256 + trail byte for a double-byte character. The converter
// substitutes unmappable characters with a byte pair of its own (0xFC 0xFC, a
// kanji elsewhere) instead of failing, so its result is checked by decoding it
// back; a character without bytes of its own may have a best fit. Each
// character is asked once; later lookups come from a table.
std::uint16_t EncodeChar(QChar c)
{
    enum : std::uint16_t { Unknown = 1 };
    static std::vector<std::uint16_t> table(0x10000, Unknown);
    std::uint16_t &code = table[c.unicode()];
    if (code != Unknown)
        return code;
    code = 0;
    if (c.isSurrogate() || c == QChar::ReplacementCharacter)
        return code;
    const QByteArray bytes = Encoder().encode(QStringView(&c, 1));
    Encoder().resetState();
    if (bytes == "\xFC\xFC" || DecodeAnsi(bytes) != QStringView(&c, 1))
        return code = BestFitCode(c);
    if (bytes.size() == 1)
        code = uchar(bytes[0]);
    else if (bytes.size() == 2)
        code = std::uint16_t(uchar(bytes[0]) << 8 | uchar(bytes[1]));
    return code;
}

} // namespace

bool CodePageAvailable()
{
    return Decoder().isValid() && Encoder().isValid();
}

QString DecodeAnsi(QByteArrayView bytes)
{
    // Single bytes are decoded here: ASCII as itself (the converter's table
    // swaps the controls 0x1A, 0x1C and 0x7F), 0xA1..0xDF as half-width
    // katakana, any other byte that does not start a complete double-byte
    // character as one U+FFFD (the converter would give U+001A, or drop a lead
    // byte at the end). Runs of double-byte characters go to the converter,
    // which gives one character for each pair (U+FFFD for an unassigned one).
    QString text;
    text.reserve(bytes.size());
    qsizetype runStart = -1;
    auto flushRun = [&](qsizetype end) {
        if (runStart < 0)
            return;
        text += Decoder().decode(bytes.sliced(runStart, end - runStart));
        Decoder().resetState();
        runStart = -1;
    };
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(bytes[i]);
        if (IsLeadByte(b) && i + 1 < n && IsTrailByte(uchar(bytes[i + 1]))) {
            if (runStart < 0)
                runStart = i;
            ++i;
            continue;
        }
        flushRun(i);
        if (b < 0x80)
            text += QChar(b);
        else if (b >= 0xA1 && b <= 0xDF)
            text += QChar(0xFF61 + (b - 0xA1));
        else
            text += QChar(QChar::ReplacementCharacter);
    }
    flushRun(n);
    return text;
}

QByteArray EncodeAnsi(QStringView text)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLatin1();

    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
            continue;
        }
        // A surrogate pair is one character outside the code page: one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const std::uint16_t code = EncodeChar(c);
        if (code == 0) {
            out.append('?');
        } else if (code < 0x100) {
            out.append(char(code));
        } else {
            out.append(char(code >> 8));
            out.append(char(code & 0xFF));
        }
    }
    return out;
}

QByteArray Encode(QStringView text, Encoding encoding)
{
    return encoding == Encoding::Cp932 ? EncodeAnsi(text) : text.toUtf8();
}

} // namespace platform
