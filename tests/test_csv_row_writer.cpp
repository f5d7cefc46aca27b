#include "export/CsvRowWriter.h"
#include "export/CsvText.h"
#include "platform/CodePage.h"
#include "score/RankingText.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(QList<ScoreRecord>)

namespace {

// The bytes the viewer saves for the record: MakeCsv of its rows, each line
// led by lead, in the encoding.
QByteArray Expected(const ScoreRecord &record, bool topOnly, bool cp932, const QString &lead)
{
    const QList<RankRow> rows = MakeRankRows(record, topOnly);
    QString text;
    if (rows.isEmpty())
        text = lead + MakeCsv(rows);
    for (const RankRow &row : rows)
        text += lead + MakeCsv({row});
    return cp932 ? platform::EncodeAnsi(text) : text.toUtf8();
}

// A record with places 1 to n filled with ordinary values.
ScoreRecord Ranked(int n)
{
    ScoreRecord r;
    for (int k = 0; k < n; ++k) {
        r.Name[k] = QStringLiteral("kaz");
        r.Score[k] = 2000 - 100 * k;
        r.JPts[k] = 1500 - 100 * k;
        r.HS[k] = 2.5f;
        r.RHS[k] = 1.0f;
        r.MaxCombo[k] = 900;
        r.Perfect[k] = 800;
        r.Great[k] = 40;
        r.ClassCode[k] = k % 7;
        r.ClearMark[k] = k % 2 ? 0 : -1;
    }
    return r;
}

ScoreRecord RandomRecord(QRandomGenerator &random)
{
    static const char16_t *const names[] = {u"kaz",   u"ＡＢＣＤ", u"ｱｲｳｴｵｶｷｸ", u"a,b",
                                            u"\"q\"", u"x\r\ny",   u"한국",     u""};
    ScoreRecord r;
    const auto small = [&](int n) { return std::int32_t(random.bounded(n)); };
    const auto anyFloat = [&] {
        const std::uint32_t bits = random.generate();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    };
    for (int k = 0; k < ScoreRecord::kPlaces; ++k) {
        r.Name[k] =
            small(3) == 0 ? QString::number(random.generate(), 36) : QString::fromUtf16(names[small(8)]);
        r.Score[k] = small(8) == 0 ? 0 : std::int32_t(random.generate());
        r.JPts[k] = small(8) == 0 ? 0 : small(100000) - 500;
        r.HS[k] = small(4) == 0 ? anyFloat() : 0.25f * float(small(20));
        r.RHS[k] = small(4) == 0 ? anyFloat() : 0.5f * float(small(8));
        r.MaxCombo[k] = small(65536) - 32768;
        r.ClassCode[k] = small(260);
        r.ClearMark[k] = std::int16_t(small(3) - 1);
        r.Perfect[k] = small(65536) - 32768;
        r.Great[k] = small(2000);
        r.Good[k] = small(2000);
        r.Bad[k] = small(200);
        r.Poor[k] = small(200);
        r.Option1[k] = std::int16_t(small(7));
        r.Option2[k] = std::int16_t(small(5));
        r.Option3[k] = std::int16_t(small(5));
        r.Option4[k] = std::int16_t(small(3));
        r.Option5[k] = std::int16_t(small(300));
    }
    return r;
}

} // namespace

class TestCsvRowWriter : public QObject {
    Q_OBJECT

  private slots:
    void sameBytesAsTable_data()
    {
        QTest::addColumn<QList<ScoreRecord>>("records");

        QTest::newRow("no ranking") << QList<ScoreRecord>{ScoreRecord()};
        QTest::newRow("ten places") << QList<ScoreRecord>{Ranked(10)};
        {
            ScoreRecord r = Ranked(5);
            r.Score[2] = r.JPts[2] = 0;
            QTest::newRow("ends at the first place without score and J-PTS") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(3);
            r.Score[1] = 0;
            r.JPts[2] = 0;
            QTest::newRow("a place with only one of score and J-PTS is shown") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(2);
            r.Score[0] = std::numeric_limits<std::int32_t>::min();
            r.JPts[0] = std::numeric_limits<std::int32_t>::max();
            r.MaxCombo[0] = -1;
            r.Poor[0] = -32768;
            r.Bad[1] = -7;
            QTest::newRow("negative and extreme numbers") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(7);
            const float values[] = {std::nanf(""),
                                    std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity(),
                                    -0.0f,
                                    1.0e7f,
                                    1.0e-5f,
                                    0.0001f};
            for (int k = 0; k < 7; ++k) {
                r.HS[k] = values[k];
                r.RHS[k] = -values[k];
            }
            QTest::newRow("unusual multipliers") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(4);
            r.ClassCode = {6, 7, 255, 0};
            r.ClearMark = {1, -1, -2, 0};
            QTest::newRow("class codes past E and clear marks other than -1") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(4);
            r.Option1 = {4, 5, 255, 3};
            r.Option2 = {2, 3, 1, 0};
            r.Option3 = {2, 3, 1, 0};
            r.Option4 = {1, 0, 200, 0};
            r.Option5 = {0, 1, 0, 255};
            QTest::newRow("options, in range and out of it") << QList<ScoreRecord>{r};
        }
        {
            ScoreRecord r = Ranked(6);
            r.Name = {QStringLiteral("a,b"),  QStringLiteral("\"q\""), QStringLiteral("x\r\ny"),
                      QStringLiteral("  sp"), QStringLiteral("藤原"),  QStringLiteral("한국")};
            QTest::newRow("names quoted, Japanese and outside the code page") << QList<ScoreRecord>{r};
        }
        {
            // Many distinct names and values in a row: the kept texts must
            // never be mistaken for one another.
            QRandomGenerator random(20240607);
            QList<ScoreRecord> records;
            for (int i = 0; i < 400; ++i)
                records.append(RandomRecord(random));
            QTest::newRow("random records in sequence") << records;
        }
    }

    void sameBytesAsTable()
    {
        QFETCH(QList<ScoreRecord>, records);
        for (const bool cp932 : {false, true}) {
            for (const bool topOnly : {false, true}) {
                for (const QString &lead : {QString(), QStringLiteral("\"/a,b/c.rkf\",")}) {
                    CsvRowWriter writer(cp932 ? CsvRowWriter::Encoding::Cp932 : CsvRowWriter::Encoding::Utf8,
                                        topOnly);
                    const QByteArray leadBytes = cp932 ? platform::EncodeAnsi(lead) : lead.toUtf8();
                    QByteArray actual;
                    QByteArray expected;
                    for (const ScoreRecord &record : records) {
                        writer.append(actual, record, leadBytes);
                        expected += Expected(record, topOnly, cp932, lead);
                    }
                    QCOMPARE(actual, expected);
                }
            }
        }
    }

    void field_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("cp932");
        QTest::newRow("plain path") << QStringLiteral("/x/a.rkf") << QByteArray("/x/a.rkf")
                                    << QByteArray("/x/a.rkf");
        QTest::newRow("comma quoted")
            << QStringLiteral("/x,y/a.rkf") << QByteArray("\"/x,y/a.rkf\"") << QByteArray("\"/x,y/a.rkf\"");
        QTest::newRow("Japanese") << QStringLiteral("/譜/ソ.rkf")
                                  << QByteArray("/\xe8\xad\x9c/\xe3\x82\xbd.rkf")
                                  << QByteArray("/\x95\x88/\x83\x5c.rkf");
    }

    void field()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, cp932);
        QCOMPARE(CsvRowWriter(CsvRowWriter::Encoding::Utf8, false).field(text), utf8);
        QCOMPARE(CsvRowWriter(CsvRowWriter::Encoding::Cp932, false).field(text), cp932);
    }
};

QTEST_GUILESS_MAIN(TestCsvRowWriter)
#include "test_csv_row_writer.moc"
