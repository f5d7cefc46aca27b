// Number texts: the general number format, the one-decimal form, parsing
// back, and the float-to-int32 conversion of the reader.

#include "platform/NumberText.h"

#include <QLocale>
#include <QTest>
#include <limits>

using namespace platform;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const QLocale kC = QLocale::c();
const QLocale kGerman(QLocale::German, QLocale::Germany);

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(kC); }

    // The general format, and with oneDecimal the one-decimal form, whose
    // halves go away from zero as judged on the value the float really holds.
    void format_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("oneDecimal");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("whole") << kC << false << 1.0f << "1";
        QTest::newRow("negative zero") << kC << false << -0.0f << "0";
        QTest::newRow("negative whole") << kC << false << -1845.0f << "-1845";
        QTest::newRow("2.5") << kC << false << 2.5f << "2.5";
        QTest::newRow("0.75 keeps its leading zero") << kC << false << 0.75f << "0.75";
        QTest::newRow("one third cut to 7 digits") << kC << false << 1.0f / 3 << "0.3333333";
        QTest::newRow("9999999 last plain whole") << kC << false << 9999999.0f << "9999999";
        QTest::newRow("ten million") << kC << false << 1e7f << "1E+07";
        QTest::newRow("minus ten million") << kC << false << -1e7f << "-1E+07";
        QTest::newRow("12345678 to 7 digits") << kC << false << 12345678.0f << "1.234568E+07";
        QTest::newRow("largest float") << kC << false << std::numeric_limits<float>::max() << "3.402823E+38";
        QTest::newRow("0.0001 still plain") << kC << false << 0.0001f << "0.0001";
        QTest::newRow("0.00012345678 plain") << kC << false << 0.00012345678f << "0.0001234568";
        QTest::newRow("just below 1E-04 is exponent") << kC << false << 0.00009999f << "9.999E-05";
        QTest::newRow("1E-05") << kC << false << 1e-5f << "1E-05";
        QTest::newRow("NaN") << kC << false << kNaN << "NaN";
        QTest::newRow("Inf") << kC << false << kInf << "Inf";
        QTest::newRow("-Inf") << kGerman << false << -kInf << "-Inf";
        QTest::newRow("German comma") << kGerman << false << 2.5f << "2,5";
        QTest::newRow("German exponent") << kGerman << false << 12345678.0f << "1,234568E+07";
        QTest::newRow("1d: 3 gets .0") << kC << true << 3.0f << "3.0";
        QTest::newRow("1d: 2.46 rounds up") << kC << true << 2.46f << "2.5";
        QTest::newRow("1d: -0.04 is 0.0 without minus") << kC << true << -0.04f << "0.0";
        QTest::newRow("1d: exact half 0.25 away from zero") << kC << true << 0.25f << "0.3";
        QTest::newRow("1d: exact half -0.25 away from zero") << kC << true << -0.25f << "-0.3";
        QTest::newRow("1d: 0.15 is stored above the half") << kC << true << 0.15f << "0.2";
        QTest::newRow("1d: 0.35 is stored below the half") << kC << true << 0.35f << "0.3";
        QTest::newRow("1d: 9.96 carries into a new digit") << kC << true << 9.96f << "10.0";
        QTest::newRow("1d: German comma") << kGerman << true << 2.5f << "2,5";
        QTest::newRow("1d: NaN") << kC << true << kNaN << "NaN";
        // clang-format on
    }
    void format()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, oneDecimal);
        QFETCH(float, value);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        QCOMPARE(oneDecimal ? OneDecimal(value) : GeneralNumber(value), text);
    }

    // Nearest, halves to even; out of range or not a number is an overflow.
    void roundToInt32_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("result");
        // clang-format off
        QTest::newRow("2.5 to 2") << 2.5f << true << 2;
        QTest::newRow("3.5 to 4") << 3.5f << true << 4;
        QTest::newRow("-2.5 to -2") << -2.5f << true << -2;
        QTest::newRow("0.5 to 0") << 0.5f << true << 0;
        QTest::newRow("2.6 to 3") << 2.6f << true << 3;
        QTest::newRow("largest float below 2^31") << 2147483520.0f << true << 2147483520;
        QTest::newRow("-2^31 fits") << -2147483648.0f << true << std::numeric_limits<int>::min();
        QTest::newRow("2^31 overflows") << 2147483648.0f << false << 0;
        QTest::newRow("3.0e9 overflows") << 3.0e9f << false << 0;
        QTest::newRow("-3.0e9 overflows") << -3.0e9f << false << 0;
        QTest::newRow("NaN overflows") << kNaN << false << 0;
        QTest::newRow("Inf overflows") << kInf << false << 0;
        // clang-format on
    }
    void roundToInt32()
    {
        QFETCH(float, value);
        QFETCH(bool, ok);
        QFETCH(int, result);
        const auto converted = RoundToInt32(value);
        QCOMPARE(converted.has_value(), ok);
        QCOMPARE(converted.value_or(0), result);
    }

    void parseNumber_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<float>("value");
        // clang-format off
        QTest::newRow("integer") << kC << "1845" << true << 1845.0f;
        QTest::newRow("negative") << kC << "-5" << true << -5.0f;
        QTest::newRow("decimal") << kC << "2.5" << true << 2.5f;
        QTest::newRow("exponent") << kC << "1E+07" << true << 1e7f;
        QTest::newRow("seven digits") << kC << "1.234568E+07" << true << 12345680.0f;
        QTest::newRow("NaN") << kC << "NaN" << true << kNaN;
        QTest::newRow("-Inf") << kC << "-Inf" << true << -kInf;
        QTest::newRow("empty") << kC << "" << false << 0.0f;
        QTest::newRow("multiplier with its x") << kC << "2.5x" << false << 0.0f;
        QTest::newRow("lone minus") << kC << "-" << false << 0.0f;
        QTest::newRow("comma in C") << kC << "2,5" << false << 0.0f;
        QTest::newRow("German comma") << kGerman << "2,5" << true << 2.5f;
        QTest::newRow("German exponent") << kGerman << "1,234568E+07" << true << 12345680.0f;
        // clang-format on
    }
    void parseNumber()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(float, value);
        QLocale::setDefault(locale);
        const auto parsed = ParseNumber(text);
        QCOMPARE(parsed.has_value(), ok);
        QCOMPARE(parsed.value_or(0.0f), value);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_number_text.moc"
