// Code page 932 as the program converts it: the Microsoft mapping, one U+FFFD
// per undecodable byte, and "?" for characters the code page lacks.

#include "platform/CodePage.h"

#include <QTest>

using platform::DecodeAnsi;
using platform::EncodeAnsi;

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

QString Units(std::initializer_list<char16_t> units)
{
    return QString(reinterpret_cast<const QChar *>(units.begin()), qsizetype(units.size()));
}

constexpr char16_t kBad = 0xFFFD;

} // namespace

class TestCodePage : public QObject {
    Q_OBJECT

  private slots:
    void available() { QVERIFY(platform::CodePageAvailable()); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("8160 is the full-width tilde") << Hex("8160") << Units({0xFF5E});
        QTest::newRow("815F full-width reverse solidus") << Hex("815F") << Units({0xFF3C});
        QTest::newRow("8191 full-width cent") << Hex("8191") << Units({0xFFE0});
        QTest::newRow("8740 circled one") << Hex("8740") << Units({0x2460});
        QTest::newRow("8770 square km") << Hex("8770") << Units({0x339D});
        QTest::newRow("FBFC IBM extension") << Hex("FBFC") << Units({0x9AD9});
        QTest::newRow("C3 half-width katakana, one byte") << Hex("C3") << Units({0xFF83});
        QTest::newRow("A1 and DF end the katakana") << Hex("A1DF") << Units({0xFF61, 0xFF9F});
        QTest::newRow("5C and 7E stay ASCII") << Hex("5C7E") << Units({'\\', '~'});
        QTest::newRow("controls 1A 1C 7F are themselves") << Hex("1A1C7F") << Units({0x1A, 0x1C, 0x7F});
        QTest::newRow("hiragana and kanji") << Hex("82A08ABF") << QStringLiteral("あ漢");
        QTest::newRow("undecodable 80 A0 FD FE FF") << Hex("80A0FDFEFF") << Units({kBad, kBad, kBad, kBad, kBad});
        QTest::newRow("undecodable between letters") << Hex("418042") << Units({'A', kBad, 'B'});
        QTest::newRow("lead byte, then no trail byte") << Hex("822041") << Units({kBad, ' ', 'A'});
        QTest::newRow("pair, then a lone lead byte") << Hex("8282A0") << Units({0xFF42, kBad});
        QTest::newRow("trailing lone lead byte") << Hex("414282") << Units({'A', 'B', kBad});
        QTest::newRow("lone lead byte alone") << Hex("E0") << Units({kBad});
        QTest::newRow("unassigned pair, one replacement") << Hex("8540") << Units({kBad});
        // clang-format on
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeAnsi(bytes), text);
    }

    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("ASCII") << QStringLiteral("A 1-~\\") << QByteArray("A 1-~\\");
        QTest::newRow("Microsoft mappings") << Units({0xFF5E, 0xFF3C, 0xFFE0, 0x2460, 0x339D, 0x9AD9})
                                            << Hex("8160 815F 8191 8740 8770 FBFC");
        QTest::newRow("half-width katakana") << Units({0xFF83}) << Hex("C3");
        QTest::newRow("report marks") << QStringLiteral("○×回") << Hex("819B 817E 89F1");
        QTest::newRow("emoji, one question mark") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("Hangul syllable") << QStringLiteral("x\uD55Cy") << QByteArray("x?y");
        QTest::newRow("replacement character") << Units({kBad, 'A'}) << QByteArray("?A");
        QTest::newRow("lone surrogates") << Units({0xD83D, 'A', 0xDE00}) << QByteArray("?A?");
        // clang-format on
    }
    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const QByteArray encoded = EncodeAnsi(text);
        QCOMPARE(encoded, bytes);
        QVERIFY(!encoded.contains("\xFC\xFC"));
    }

    // Every character the code page decodes encodes back to bytes that decode
    // to it again (the same bytes, or the preferred pair of a duplicate).
    void roundTripEveryCharacter()
    {
        int checked = 0;
        for (int code = 0x80; code <= 0xFCFC; code = code == 0xFF ? 0x8100 : code + 1) {
            QByteArray bytes(1, char(code > 0xFF ? code >> 8 : code));
            if (code > 0xFF)
                bytes.append(char(code & 0xFF));
            const QString text = DecodeAnsi(bytes);
            if (text.size() != 1 || text[0] == QChar(kBad))
                continue;
            const QByteArray back = EncodeAnsi(text);
            QVERIFY2(back == bytes || DecodeAnsi(back) == text, bytes.toHex().constData());
            ++checked;
        }
        QVERIFY(checked > 7000);
    }
};

QTEST_APPLESS_MAIN(TestCodePage)
#include "test_codepage.moc"
