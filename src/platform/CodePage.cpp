#include "platform/CodePage.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {

constexpr const char *kCodecName = "windows-31j";

// Stateless converters: each call stands alone, so a lead byte at the end of
// one name never swallows the start of the next.
QStringDecoder &Decoder()
{
    static QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    return decoder;
}

QStringEncoder &Encoder()
{
    static QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    return encoder;
}

// Encodes one code point, or returns an empty array when the code page has no
// character for it. The converter substitutes unmappable characters with a
// byte pair of its own (0xFC 0xFC) instead of failing, so the result is
// checked by decoding it back.
QByteArray EncodeCodePoint(QStringView unit)
{
    static QHash<QString, QByteArray> cache;
    const QString key = unit.toString();
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QByteArray bytes = Encoder().encode(unit);
    Encoder().resetState();
    if (bytes.isEmpty() || DecodeAnsi(bytes) != key)
        bytes.clear();
    cache.insert(key, bytes);
    return bytes;
}

} // namespace

bool CodePageAvailable()
{
    return Decoder().isValid() && Encoder().isValid();
}

QString DecodeAnsi(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    QString text = Decoder().decode(bytes);
    Decoder().resetState();
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
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        qsizetype len = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            len = 2;
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
        } else {
            const QByteArray bytes = EncodeCodePoint(text.mid(i, len));
            out.append(bytes.isEmpty() ? QByteArray("?") : bytes);
        }
        i += len;
    }
    return out;
}

} // namespace platform
