// Score records as JSON Lines: strings escaped, floats as the shortest
// float32 text or null, and every field of a record read back.

#include "RkfBytes.h"
#include "export/JsonLines.h"
#include "score/Overview.h"
#include "score/RankingText.h"
#include "score/ReadRKF.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <charconv>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(RkfBytes)

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

ScoreRecord Record(const RkfBytes &bytes, const QString &path = QStringLiteral("/s/chart.rkf"))
{
    ScoreRecord record;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/')) + 1;
    record.FolderPath = path.left(cut);
    record.FileName = path.mid(cut);
    if (DecodeRKF(bytes.bytes().constData(), record).failed())
        qFatal("test record does not decode");
    return record;
}

// Every field of place k against the record; a float that is not finite is
// null with its text beside it.
void ComparePlace(QJsonObject p, const ScoreRecord &r, int k)
{
    for (const auto &[key, value] : {std::pair{"hs", r.HS[k]}, std::pair{"rhs", r.RHS[k]}}) {
        const QString name = QLatin1String(key);
        const char *text = std::isnan(value) ? "NaN" : value > 0 ? "Inf" : "-Inf";
        if (std::isfinite(value))
            QCOMPARE(float(p.take(name).toDouble(-1)), value);
        else
            QCOMPARE(p.take(name).isNull() ? p.take(name + "Text").toString() : "no null", text);
    }
    const auto counts = [&](auto... fields) { return QJsonArray{QJsonValue(qint64(fields[k]))...}; };
    const QJsonObject expected{
        {"rank", k + 1},
        {"name", r.Name[k]},
        {"classCode", r.ClassCode[k]},
        {"class", r.ClassCode[k] < 7 ? QJsonValue(ClassText(r.ClassCode[k]).trimmed()) : QJsonValue()},
        {"cleared", r.ClearMark[k] == -1},
        {"options", counts(r.Option1, r.Option2, r.Option3, r.Option4, r.Option5)},
        {"optionText", OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k])}};
    QJsonArray numbers;
    for (const char *key : {"score", "jpts", "maxCombo", "perfect", "great", "good", "bad", "poor"})
        numbers << p.take(QLatin1String(key));
    QCOMPARE(numbers, counts(r.Score, r.JPts, r.MaxCombo, r.Perfect, r.Great, r.Good, r.Bad, r.Poor));
    QCOMPARE(QJsonDocument(p).toJson(QJsonDocument::Compact),
             QJsonDocument(expected).toJson(QJsonDocument::Compact));
}

} // namespace

class TestJsonLines : public QObject {
    Q_OBJECT

  private slots:
    void strings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("quote and backslash") << "a\"b\\c" << QByteArray("\"a\\\"b\\\\c\"");
        QTest::newRow("short escapes") << "\n\r\t" << QByteArray("\"\\n\\r\\t\"");
        QTest::newRow("other control characters")
            << QString::fromLatin1("\x01\x1f\x7f", 3) << QByteArray("\"\\u0001\\u001f\\u007f\"");
        QTest::newRow("NUL") << QString(QChar(0)) << QByteArray("\"\\u0000\"");
        QTest::newRow("U+FFFD as UTF-8") << "a\uFFFDb"
                                         << QByteArray("\"a\xef\xbf\xbd"
                                                       "b\"");
        QTest::newRow("surrogate pair") << "\U0001F600" << QByteArray("\"\xf0\x9f\x98\x80\"");
        QTest::newRow("lone surrogate becomes U+FFFD")
            << QString(QChar(0xD800)) << QByteArray("\"\xef\xbf\xbd\"");
    }
    void strings()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, json);
        QByteArray out = "x";
        JsonLinesWriter::AppendString(out, text);
        QCOMPARE(out, "x" + json);
    }

    void floats_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0.1 is not 0.10000000149") << 0.1f << QByteArray("0.1");
        QTest::newRow("nine digits needed") << 16777217.0f << QByteArray("16777216");
        QTest::newRow("smallest denormal") << std::numeric_limits<float>::denorm_min() << QByteArray("1e-45");
        QTest::newRow("largest") << std::numeric_limits<float>::max() << QByteArray("3.4028235e+38");
        QTest::newRow("negative zero") << -0.0f << QByteArray("-0");
        QTest::newRow("NaN has no number") << kNaN << QByteArray();
    }
    void floats()
    {
        QFETCH(float, value);
        QFETCH(QByteArray, text);
        const QByteArray json = JsonLinesWriter::FloatText(value);
        QCOMPARE(json, text);
        if (json.isEmpty())
            return;
        float back = 0;
        QVERIFY(std::from_chars(json.constData(), json.constData() + json.size(), back).ec == std::errc());
        QCOMPARE(std::memcmp(&back, &value, sizeof back), 0); // the same float32, bit for bit
    }

    // Each record written and parsed back: every field equals the record's.
    void roundTrip_data()
    {
        QTest::addColumn<RkfBytes>("bytes");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("topOnly");
        QTest::addColumn<int>("places");
        RkfBytes full;
        full.playCount(12).trailer(9);
        for (int k = 0; k < 10; ++k) {
            full.clearMark(k, k % 2 ? -1 : 1).name(k, QByteArray("P") + char('0' + k)).score(k, 2000 - k);
            full.jpts(k, 100 + k).hs(k, 0.1f * float(k + 1)).rhs(k, 1.75f).maxCombo(k, std::int16_t(-k));
            full.classCode(k, std::uint8_t(k * 30)).judge(k, 800, 40, std::int16_t(k), -1, 32767);
            full.option(k, 1, std::uint8_t(k))
                .option(k, 2, 2)
                .option(k, 3, 255)
                .option(k, 4, 7)
                .option(k, 5, 0);
        }
        RkfBytes odd;
        odd.playCount(-3).name(0, "a\"\\\x01\x82").score(0, 5).hs(0, kNaN).rhs(0, -kInf);
        odd.name(1, "\x82\x60\x82\x61").jpts(1, 1).hs(1, kInf).rhs(1, 1e-40f).classCode(1, 7);
        // clang-format off
        QTest::newRow("ten places, every field varied") << full << "/s/chart.rkf" << false << 10;
        QTest::newRow("top only") << full << "/s/chart.rkf" << true << 1;
        QTest::newRow("no place") << RkfBytes().playCount(1).name(1, "x").score(1, 9) << "/s/e.rkf" << false << 0;
        QTest::newRow("quotes, control, U+FFFD, NaN and infinities") << odd << "/s/\"q\"\\\t.rkf" << false << 2;
        // clang-format on
    }
    void roundTrip()
    {
        QFETCH(RkfBytes, bytes);
        QFETCH(QString, path);
        QFETCH(bool, topOnly);
        QFETCH(int, places);
        const ScoreRecord r = Record(bytes, path);
        JsonLinesWriter writer(topOnly);

        QByteArray line;
        writer.appendRecord(line, r);
        QVERIFY2(line.endsWith('\n') && line.count('\n') == 1, line.constData());
        const QJsonObject o = QJsonDocument::fromJson(line).object(); // empty if not JSON: no keys
        QCOMPARE(o.keys(), (QStringList{"cleared", "path", "places", "playCount"}));
        QCOMPARE(o.value("path").toString(), path);
        QCOMPARE(o.value("playCount").toInteger(), r.PlayCount);
        QCOMPARE(o.value("cleared").toBool(), r.Cleared == -1);
        const QJsonArray array = o.value("places").toArray();
        QCOMPARE(array.size(), places);
        for (int k = 0; k < places; ++k)
            ComparePlace(array.at(k).toObject(), r, k);
    }
};

QTEST_GUILESS_MAIN(TestJsonLines)
#include "test_json_lines.moc"
