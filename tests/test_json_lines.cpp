// Score records as JSON Lines: strings escaped, floats as the shortest
// float32 text or null, and every field read back with QJsonDocument.

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

QJsonObject Parse(const QByteArray &line)
{
    if (!line.endsWith('\n') || line.count('\n') != 1)
        qFatal("not one line: %s", line.constData());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        qFatal("not a JSON object (%s): %s", qPrintable(error.errorString()), line.constData());
    return doc.object();
}

// A float field read back: the number, or null with the text beside it.
void CompareFloat(const QJsonObject &place, const char *key, float value)
{
    const QJsonValue json = place.value(QLatin1String(key));
    const QString textKey = QLatin1String(key) + QLatin1String("Text");
    if (std::isfinite(value)) {
        QVERIFY2(json.isDouble(), key);
        QCOMPARE(float(json.toDouble()), value);
        QVERIFY(!place.contains(textKey));
    } else {
        QVERIFY2(json.isNull(), key);
        QCOMPARE(place.value(textKey).toString(), std::isnan(value) ? "NaN" : value > 0 ? "Inf" : "-Inf");
    }
}

// Every field of place k against the record.
void ComparePlace(const QJsonObject &p, const ScoreRecord &r, int k)
{
    QCOMPARE(p.size(), 17 + int(!std::isfinite(r.HS[k])) + int(!std::isfinite(r.RHS[k])));
    QCOMPARE(p.value("rank").toInt(), k + 1);
    QCOMPARE(p.value("name").toString(), r.Name[k]);
    QCOMPARE(p.value("score").toInteger(), r.Score[k]);
    QCOMPARE(p.value("jpts").toInteger(), r.JPts[k]);
    CompareFloat(p, "hs", r.HS[k]);
    CompareFloat(p, "rhs", r.RHS[k]);
    QCOMPARE(p.value("maxCombo").toInteger(), r.MaxCombo[k]);
    QCOMPARE(p.value("classCode").toInteger(), r.ClassCode[k]);
    if (r.ClassCode[k] < 7)
        QCOMPARE(p.value("class").toString(), ClassText(r.ClassCode[k]).trimmed());
    else
        QVERIFY(p.value("class").isNull());
    QCOMPARE(p.value("cleared").toBool(), r.ClearMark[k] == -1);
    QVERIFY(p.value("cleared").isBool());
    const QJsonArray options = p.value("options").toArray();
    QCOMPARE(options, (QJsonArray{r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]}));
    QCOMPARE(p.value("optionText").toString(),
             OptionText(r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k]));
    QCOMPARE(p.value("perfect").toInteger(), r.Perfect[k]);
    QCOMPARE(p.value("great").toInteger(), r.Great[k]);
    QCOMPARE(p.value("good").toInteger(), r.Good[k]);
    QCOMPARE(p.value("bad").toInteger(), r.Bad[k]);
    QCOMPARE(p.value("poor").toInteger(), r.Poor[k]);
}

} // namespace

class TestJsonLines : public QObject {
    Q_OBJECT

  private slots:
    void strings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("plain") << "kaz" << QByteArray("\"kaz\"");
        QTest::newRow("empty") << "" << QByteArray("\"\"");
        QTest::newRow("quote and backslash") << "a\"b\\c" << QByteArray("\"a\\\"b\\\\c\"");
        QTest::newRow("short escapes") << "\n\r\t" << QByteArray("\"\\n\\r\\t\"");
        QTest::newRow("other control characters")
            << QString::fromLatin1("\x01\x1f\x7f", 3) << QByteArray("\"\\u0001\\u001f\\u007f\"");
        QTest::newRow("NUL") << QString(QChar(0)) << QByteArray("\"\\u0000\"");
        QTest::newRow("U+FFFD as UTF-8") << "a\uFFFDb"
                                         << QByteArray("\"a\xef\xbf\xbd"
                                                       "b\"");
        QTest::newRow("Japanese") << "ＡＢ譜面ｶﾀ" << QString("\"ＡＢ譜面ｶﾀ\"").toUtf8();
        QTest::newRow("two-byte UTF-8 and slash") << "é/" << QByteArray("\"\xc3\xa9/\"");
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
        // Read back as the same text (a lone surrogate as U+FFFD).
        const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]");
        QVERIFY(doc.isArray());
        QCOMPARE(doc.array().at(0).toString(), text.isValidUtf16() ? text : QString(QChar(0xFFFD)));
    }

    void floats_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("whole") << 3.0f << QByteArray("3");
        QTest::newRow("half") << 2.5f << QByteArray("2.5");
        QTest::newRow("0.1 is not 0.10000000149") << 0.1f << QByteArray("0.1");
        QTest::newRow("0.75") << 0.75f << QByteArray("0.75");
        QTest::newRow("seven digits") << 1.234567f << QByteArray("1.234567");
        QTest::newRow("nine digits needed") << 16777217.0f << QByteArray("16777216");
        QTest::newRow("large") << 1e20f << QByteArray("1e+20");
        QTest::newRow("smallest denormal") << std::numeric_limits<float>::denorm_min() << QByteArray("1e-45");
        QTest::newRow("largest") << std::numeric_limits<float>::max() << QByteArray("3.4028235e+38");
        QTest::newRow("negative zero") << -0.0f << QByteArray("-0");
        QTest::newRow("negative") << -1.5f << QByteArray("-1.5");
        QTest::newRow("NaN has no number") << kNaN << QByteArray();
        QTest::newRow("infinity has no number") << kInf << QByteArray();
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
        const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]");
        QCOMPARE(float(doc.array().at(0).toDouble()), value);
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
        QTest::newRow("Japanese path") << odd << "/曲/譜面 1.rkf" << true << 1;
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
        const QJsonObject o = Parse(line);
        QCOMPARE(o.keys(), (QStringList{"cleared", "path", "places", "playCount"}));
        QCOMPARE(o.value("path").toString(), path);
        QCOMPARE(o.value("playCount").toInteger(), r.PlayCount);
        QCOMPARE(o.value("cleared").toBool(), r.Cleared == -1);
        const QJsonArray array = o.value("places").toArray();
        QCOMPARE(array.size(), places);
        for (int k = 0; k < places; ++k)
            ComparePlace(array.at(k).toObject(), r, k);
        if (QTest::currentTestFailed())
            return;

        QByteArray overview;
        writer.appendOverview(overview, r);
        const QJsonObject v = Parse(overview);
        QCOMPARE(v.keys(), (QStringList{"cleared", "first", "path", "placeCount", "playCount"}));
        QCOMPARE(v.value("path").toString(), path);
        QCOMPARE(v.value("playCount").toInteger(), r.PlayCount);
        QCOMPARE(v.value("cleared").toBool(), r.Cleared == -1);
        QCOMPARE(v.value("placeCount").toInt(), places);
        if (places == 0)
            QVERIFY(v.value("first").isNull());
        else
            ComparePlace(v.value("first").toObject(), r, 0);
    }

    void fieldOrder()
    {
        RkfBytes b;
        b.name(0, "kaz").score(0, 10).jpts(0, 5).hs(0, kNaN);
        QByteArray line;
        JsonLinesWriter(false).appendRecord(line, Record(b));
        QCOMPARE(
            line,
            QByteArray("{\"path\":\"/s/chart.rkf\",\"playCount\":0,\"cleared\":false,\"places\":[{\"rank\":1,"
                       "\"name\":\"kaz\",\"score\":10,\"jpts\":5,\"hs\":null,\"hsText\":\"NaN\",\"rhs\":0,"
                       "\"maxCombo\":0,\"classCode\":0,\"class\":\"SS\",\"cleared\":false,\"options\":[0,0,0,"
                       "0,0],\"optionText\":\"-- -- -- -- -- -- -- -- --\",\"perfect\":0,\"great\":0,"
                       "\"good\":0,\"bad\":0,\"poor\":0}]}\n"));
    }
};

QTEST_GUILESS_MAIN(TestJsonLines)
#include "test_json_lines.moc"
