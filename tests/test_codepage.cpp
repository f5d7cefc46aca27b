// Code page 932 both ways: the Microsoft mapping, one U+FFFD per undecodable byte, "?" for what it lacks.

#include "platform/CodePage.h"

#include <QTest>

class TestCodePage : public QObject {
    Q_OBJECT

  private slots:
    void convert_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ways"); // 1 decode, 2 encode, 3 both
        // clang-format off
        QTest::newRow("Microsoft pairs, one-byte katakana") << QByteArray::fromHex("8160815F819187408770FBFCC3") << u"\uFF5E\uFF3C\uFFE0\u2460\u339D\u9AD9\uFF83"_qs << 3;
        QTest::newRow("A1 and DF end the katakana") << QByteArray::fromHex("A1DF") << u"\uFF61\uFF9F"_qs << 3;
        QTest::newRow("5C 7E 1A 1C 7F stay themselves") << QByteArray::fromHex("5C7E1A1C7F") << u"\\~\x1A\x1C\x7F"_qs << 3;
        QTest::newRow("undecodable byte between letters") << QByteArray::fromHex("418042") << u"A\uFFFDB"_qs << 1;
        QTest::newRow("lead byte, then no trail byte") << QByteArray::fromHex("822041") << u"\uFFFD A"_qs << 1;
        QTest::newRow("trailing lone lead byte") << QByteArray::fromHex("414282") << u"AB\uFFFD"_qs << 1;
        QTest::newRow("unassigned pair, one replacement") << QByteArray::fromHex("8540") << u"\uFFFD"_qs << 1;
        QTest::newRow("JIS forms encode best-fit") << QByteArray::fromHex("81608161817C8191819281CA815CFA55") << u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014\u00A6"_qs << 2;
        QTest::newRow("their bytes decode to the Microsoft forms") << QByteArray::fromHex("81608161817C8191819281CA815CFA55") << u"\uFF5E\u2225\uFF0D\uFFE0\uFFE1\uFFE2\u2015\uFFE4"_qs << 3;
        QTest::newRow("folder name with a wave dash") << QByteArray("\x83\x51\x81\x5B\x83\x80\x81\x60\x8B\xC8") << u"ゲーム\u301C曲"_qs << 2;
        QTest::newRow("emoji, Hangul, U+FFFD each one ?") << QByteArray("a?b?c?") << u"a\U0001F600b\uD55Cc\uFFFD"_qs << 2;
        // clang-format on
    }
    void convert()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, ways);
        if (ways & 1)
            QCOMPARE(platform::DecodeAnsi(bytes), text);
        if (ways & 2)
            QCOMPARE(platform::EncodeAnsi(text), bytes);
    }
};

QTEST_APPLESS_MAIN(TestCodePage)
#include "test_codepage.moc"
