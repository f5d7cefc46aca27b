// The overview of many score files: its cells, its aligned text table (also
// past the table's memory limit), its totals, and display widths.

#include "RkfBytes.h"
#include "export/AlignedTable.h"
#include "export/DisplayWidth.h"
#include "export/OverviewWriter.h"
#include "platform/CodePage.h"
#include "score/Overview.h"
#include "score/ReadRKF.h"

#include <QTemporaryFile>
#include <QTest>

Q_DECLARE_METATYPE(RkfBytes)

namespace {

using platform::Encoding;

ScoreRecord Record(const RkfBytes &bytes, const QString &path = QStringLiteral("/s/chart.rkf"))
{
    ScoreRecord record;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/')) + 1;
    record.FolderPath = path.left(cut);
    record.FileName = path.mid(cut);
    const Failure failure = DecodeRKF(bytes.bytes().constData(), record);
    if (failure.failed())
        qFatal("test record does not decode");
    return record;
}

// A first place with the given name bytes, score, J-PTS and class code.
RkfBytes First(const QByteArray &name, float score, std::uint8_t classCode = 0)
{
    RkfBytes b;
    b.name(0, name).score(0, score).jpts(0, score / 2).classCode(0, classCode);
    return b;
}

// The whole text table (header, rule, rows) of records.
QByteArray Table(const QList<ScoreRecord> &records, Encoding encoding, qsizetype memoryLimit = 1 << 22,
                 bool *spilled = nullptr)
{
    OverviewWriter writer(encoding, false);
    AlignedTable table(OverviewWriter::RightAligned(), memoryLimit);
    writer.addHeader(table);
    for (const ScoreRecord &record : records)
        writer.addRow(table, record);
    QByteArray out;
    int drained = 0;
    const Failure failure = table.write(out, [&] { ++drained; });
    if (failure.failed() || drained != records.size() + 2)
        qFatal("table not written line by line");
    if (spilled)
        *spilled = table.spilled();
    return out;
}

} // namespace

class TestOverview : public QObject {
    Q_OBJECT

  private slots:
    void csvLine_data()
    {
        QTest::addColumn<RkfBytes>("bytes");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("topOnly");
        QTest::addColumn<QByteArray>("line"); // UTF-8
        RkfBytes full;
        full.playCount(12)
            .trailer(7)
            .clearMark(0, -1)
            .name(0, "\x82\x60\x82\x61")
            .score(0, 1845)
            .jpts(0, 1290);
        full.maxCombo(0, 812).judge(0, 700, 90, 12, 2, 1).option(0, 1, 3).option(0, 2, 1).option(0, 5, 1);
        full.name(1, "kaz").score(1, 987).classCode(1, 2);
        // clang-format off
        QTest::newRow("first place of two") << full << "/s/chart.rkf" << false << QByteArray("/s/chart.rkf,12,○,2,ＡＢ,1845,1290,SS,○,812,700,90,12,2,1,Hi Su -- Rn -- -- -- -- 4D\r\n");
        QTest::newRow("top only: one place shown") << full << "/s/chart.rkf" << true << QByteArray("/s/chart.rkf,12,○,1,ＡＢ,1845,1290,SS,○,812,700,90,12,2,1,Hi Su -- Rn -- -- -- -- 4D\r\n");
        QTest::newRow("no place: empty first-place cells") << RkfBytes().playCount(3).name(0, "ghost") << "/s/e.rkf" << false << QByteArray("/s/e.rkf,3,×,0,,,,,,,,,,,,\r\n");
        QTest::newRow("J-PTS alone makes a place") << RkfBytes().jpts(0, 5).maxCombo(0, -1) << "/s/j.rkf" << false << QByteArray("/s/j.rkf,0,×,1,,0,5,SS,×,-1,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n");
        QTest::newRow("class 6, class text as the table shows it") << First("E", 10, 6) << "/s/c.rkf" << false << QByteArray("/s/c.rkf,0,×,1,E,10,5, E,×,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n");
        QTest::newRow("class 7 left empty") << First("N", 10, 7) << "/s/c.rkf" << false << QByteArray("/s/c.rkf,0,×,1,N,10,5,,×,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n");
        QTest::newRow("quoted name and path") << First("a,\"b", 10) << "/s/x,y.rkf" << false << QByteArray("\"/s/x,y.rkf\",0,×,1,\"a,\"\"b\",10,5,SS,×,0,0,0,0,0,0,-- -- -- -- -- -- -- -- --\r\n");
        QTest::newRow("negative play count") << RkfBytes().playCount(-1) << "/s/n.rkf" << false << QByteArray("/s/n.rkf,-1,×,0,,,,,,,,,,,,\r\n");
        // clang-format on
    }
    void csvLine()
    {
        QFETCH(RkfBytes, bytes);
        QFETCH(QString, path);
        QFETCH(bool, topOnly);
        QFETCH(QByteArray, line);
        OverviewWriter writer(Encoding::Utf8, topOnly);
        QByteArray out;
        writer.appendCsv(out, Record(bytes, path));
        QCOMPARE(out, line);
        // The same in code page 932.
        OverviewWriter cp932(Encoding::Cp932, topOnly);
        QByteArray outCp932;
        cp932.appendCsv(outCp932, Record(bytes, path));
        QCOMPARE(outCp932, platform::EncodeAnsi(QString::fromUtf8(line)));
    }

    // The columns of every line start at the same display column, whatever
    // the widths of the characters in the names and paths.
    void alignment_data()
    {
        QTest::addColumn<QList<QByteArray>>("names"); // code page 932 bytes
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<int>("nameWidth");
        QTest::addColumn<int>("pathWidth");
        // clang-format off
        QTest::newRow("double-width name beside ASCII") << QList<QByteArray>{"\x82\x60\x82\x61", "kaz"} << QStringList{"/a.rkf", "/b.rkf"} << 4 << 6;
        QTest::newRow("half-width katakana count one") << QList<QByteArray>{"\xb6\xc0\xb6\xc5", "ab"} << QStringList{"/a.rkf", "/b.rkf"} << 4 << 6;
        QTest::newRow("Japanese path") << QList<QByteArray>{"a", "b"} << QStringList{"/曲/譜面.rkf", "/x/abcdefgh.rkf"} << 4 << 15;
        QTest::newRow("header wider than every cell") << QList<QByteArray>{"a"} << QStringList{"/a"} << 4 << 4;
        // clang-format on
    }
    void alignment()
    {
        QFETCH(QList<QByteArray>, names);
        QFETCH(QStringList, paths);
        QFETCH(int, nameWidth);
        QFETCH(int, pathWidth);
        QList<ScoreRecord> records;
        for (qsizetype i = 0; i < names.size(); ++i)
            records << Record(First(names[i], 100 + i), paths[i]);
        for (const Encoding encoding : {Encoding::Utf8, Encoding::Cp932}) {
            const QByteArray table = Table(records, encoding);
            QVERIFY(table.endsWith("\r\n"));
            const QList<QByteArray> lines = table.chopped(1).split('\n');
            QCOMPARE(lines.size(), records.size() + 2);
            // The display column at which "Places", "Score" and "Option" begin on the header, and the
            // column where each line's cells begin there: in UTF-8 the text before must be as wide.
            const auto width = [&](const QByteArray &text) {
                return encoding == Encoding::Cp932 ? int(text.size()) : Utf8Width(text);
            };
            const QByteArray header = lines[0];
            const int score = width(header.left(header.indexOf("Score")));
            const int option = width(header.left(header.indexOf("Option")));
            const int name = width(header.left(header.indexOf("Name")));
            QCOMPARE(name - width(header.left(header.indexOf("Places"))), 8); // "Places" and two spaces
            QCOMPARE(score - name, std::max(nameWidth, 4) + 2);
            QCOMPARE(header.indexOf("PlayCount"), std::max(pathWidth, 4) + 2);
            for (qsizetype i = 0; i < records.size(); ++i) {
                QByteArray line = lines[i + 2];
                QVERIFY(line.endsWith('\r'));
                line.chop(1);
                const QByteArray scoreText = QByteArray::number(100 + i);
                const qsizetype at = line.indexOf("  " + scoreText + "  ") + 2;
                QCOMPARE(width(line.left(at)) - 5 + int(scoreText.size()), score); // "Score" right-aligned
                QCOMPARE(width(line.left(line.indexOf("-- -- --"))), option);      // the last column
                QVERIFY2(!line.contains('\t'), line.constData());
            }
            QCOMPARE(lines[1].left(pathWidth), QByteArray(pathWidth, '-'));
        }
    }

    void controlCharactersReplaced()
    {
        QVERIFY(Table({Record(First("a\tb", 1))}, Encoding::Utf8).contains("a\uFFFDb"));
        QVERIFY(Table({Record(First("a\tb", 1))}, Encoding::Cp932).contains("a?b"));
    }

    // Past its memory limit the table keeps its rows in a temporary file; the text is the same.
    void spillToFile_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("limit");
        QTest::newRow("kept in memory") << 50 << (1 << 22);
        QTest::newRow("spilled row by row") << 50 << 1;
        QTest::newRow("many rows over several reads") << 30000 << 4096;
    }
    void spillToFile()
    {
        QFETCH(int, rows);
        QFETCH(int, limit);
        QList<ScoreRecord> records;
        for (int i = 0; i < rows; ++i)
            records << Record(First(i % 2 ? "\x82\x60" : "kaz", float(i + 1)),
                              QStringLiteral("/f/%1.rkf").arg(QString(i % 7 + 1, u'x')));
        bool spilled = false;
        const QByteArray text = Table(records, Encoding::Utf8, limit, &spilled);
        QCOMPARE(spilled, limit < (1 << 22));
        QCOMPARE(text, Table(records, Encoding::Utf8));
        QCOMPARE(text.count('\n'), rows + 2);
    }

    // A temporary file that cannot be made stops the table with a failure, not with lost rows.
    void spillFailureReported()
    {
        // A file where the temporary folder should be: nothing can be made below it, even as root.
        QTemporaryFile notAFolder;
        QVERIFY(notAFolder.open());
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(notAFolder.fileName()));
        OverviewWriter writer(Encoding::Utf8, false);
        AlignedTable table(OverviewWriter::RightAligned(), 1);
        writer.addHeader(table);
        writer.addRow(table, Record(First("kaz", 1)));
        QByteArray out;
        const Failure failure = table.write(out, [] {});
        if (tmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmp);
        QVERIFY(failure.failed());
        QVERIFY(!failure.Description.isEmpty());
    }

    void totals_data()
    {
        QTest::addColumn<QList<RkfBytes>>("files");
        QTest::addColumn<int>("failed");
        QTest::addColumn<QString>("text");
        const auto text = [](int read, int failed, int cleared, const char *classes, qint64 plays) {
            return QStringLiteral("Files read          %1\r\nFiles failed        %2\r\n"
                                  "Charts cleared      %3\r\nCharts not cleared  %4\r\n"
                                  "First places        %5\r\nPlays in all        %6\r\n")
                .arg(read)
                .arg(failed)
                .arg(cleared)
                .arg(read - cleared)
                .arg(QLatin1String(classes))
                .arg(plays);
        };
        QList<RkfBytes> each;
        for (int c = 0; c <= 7; ++c)
            each << First("p", 10, std::uint8_t(c)).playCount(c);
        // clang-format off
        QTest::newRow("one of each class, 7 is none") << each << 0 << text(8, 0, 0, "SS 1  S 1  A 1  B 1  C 1  D 1  E 1  none 1", 28);
        QTest::newRow("no place and class 200 are none") << QList<RkfBytes>{RkfBytes(), First("p", 1, 200), First("p", 1, 2)} << 0 << text(3, 0, 0, "SS 0  S 0  A 1  B 0  C 0  D 0  E 0  none 2", 0);
        QTest::newRow("any nonzero trailer is cleared") << QList<RkfBytes>{RkfBytes().trailer(1), RkfBytes().trailer(-5), RkfBytes()} << 0 << text(3, 0, 2, "SS 0  S 0  A 0  B 0  C 0  D 0  E 0  none 3", 0);
        QTest::newRow("failed files counted apart") << QList<RkfBytes>{First("p", 1, 1)} << 2 << text(1, 2, 0, "SS 0  S 1  A 0  B 0  C 0  D 0  E 0  none 0", 0);
        QTest::newRow("plays past the int32 range") << QList<RkfBytes>{RkfBytes().playCount(2147483647), RkfBytes().playCount(2147483647), RkfBytes().playCount(-1)} << 0 << text(3, 0, 0, "SS 0  S 0  A 0  B 0  C 0  D 0  E 0  none 3", 4294967293LL);
        // clang-format on
    }
    void totals()
    {
        QFETCH(QList<RkfBytes>, files);
        QFETCH(int, failed);
        QFETCH(QString, text);
        OverviewTotals totals;
        for (const RkfBytes &file : files)
            totals.add(Record(file));
        for (int i = 0; i < failed; ++i)
            totals.addFailure();
        QCOMPARE(OverviewTotalsText(totals), text);
    }

    void width_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("ASCII") << QByteArray("kaz 12") << 6;
        QTest::newRow("full-width letters, kanji") << QString("ＡＢ譜").toUtf8() << 6;
        QTest::newRow("half-width katakana") << QString("ｶﾀｶﾅ").toUtf8() << 4;
        QTest::newRow("ambiguous marks count one") << QString("○×").toUtf8() << 2;
        QTest::newRow("combining mark counts none") << QString("e\u0301").toUtf8() << 1;
        QTest::newRow("emoji outside the BMP") << QString("\U0001F600").toUtf8() << 2;
        QTest::newRow("invalid UTF-8 counts one per byte") << QByteArray("a\xff\xe3\x81") << 4;
    }
    void width()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, width);
        QCOMPARE(Utf8Width(text), width);
    }
};

QTEST_GUILESS_MAIN(TestOverview)
#include "test_overview.moc"
