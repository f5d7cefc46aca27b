// The score-file reader on files built byte by byte.

#include "RkfBytes.h"
#include "score/LoadScoreFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <limits>
#include <sys/stat.h>

namespace {
const RkfBytes kPlayed = RkfBytes().playCount(77).score(0, 987).jpts(0, 345).trailer(1);
constexpr int kMin = std::numeric_limits<int>::min();
} // namespace

class TestReadRkf : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path; // canonical, and the current folder
    ScoreRecord r;  // reused, as the viewer's single-file slot is

    // Reads the bytes from a file by its relative name into the stale record; the failure number.
    int Read(const QByteArray &bytes)
    {
        WriteTestFile(m_path, QStringLiteral("f.rkf"), bytes);
        r.PlayCount = r.Score[0] = r.JPts[0] = 99;
        return Load("f.rkf");
    }
    int Load(const char *name) { return LoadScoreFile(name, r).Number; }

  private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_path = QDir(m_dir.path()).canonicalPath())); }

    // Every field at its offset in the last place; int16 fields signed, uint8 fields unsigned.
    void fields()
    {
        RkfBytes b;
        b.playCount(123456).trailer(7).clearMark(9, -1).name(9, "ABCDEFGH").score(9, 1845).jpts(9, 1290);
        b.hs(9, 2.5f).rhs(9, 0.75f).maxCombo(9, -1).classCode(9, 200).judge(9, 700, -1, 32767, -32768, 1);
        b.option(9, 1, 201).option(9, 2, 2).option(9, 3, 3).option(9, 4, 4).option(9, 5, 255);
        QCOMPARE(Read(b.bytes()), 0);
        const int k = 9;
        QCOMPARE(
            (QList<int>{r.PlayCount, r.Cleared, r.ClearMark[k], r.Score[k], r.JPts[k], r.MaxCombo[k],
                        r.ClassCode[k], r.Option1[k], r.Option2[k], r.Option3[k], r.Option4[k], r.Option5[k],
                        r.Perfect[k], r.Great[k], r.Good[k], r.Bad[k], r.Poor[k]}),
            (QList<int>{123456, -1, -1, 1845, 1290, -1, 200, 201, 2, 3, 4, 255, 700, -1, 32767, -32768, 1}));
        QCOMPARE((QList<float>{r.HS[k], r.RHS[k]}), (QList<float>{2.5f, 0.75f}));
        QCOMPARE((QStringList{r.Name[k], r.FolderPath, r.FileName}),
                 (QStringList{"ABCDEFGH", m_path + "/", "f.rkf"}));
    }

    // An entry is cleared only by FF FF, the chart by any nonzero trailer. Scores go to the nearest int32,
    // halves to even, out of range is overflow (6). Missing bytes read as zero, bytes past 448 are ignored.
    void read_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // failure, PlayCount, Cleared, ClearMark, Score, J-PTS of place 1
        QTest::addColumn<QList<int>>("read");
        // clang-format off
        QTest::newRow("mark FFFF, trailer 1, halves") << RkfBytes().clearMark(0, -1).trailer(1).score(0, 2.5f).jpts(0, 3.5f).bytes() << QList<int>{0, 0, -1, -1, 2, 4};
        QTest::newRow("mark 1, halves") << RkfBytes().clearMark(0, 1).score(0, -2.5f).jpts(0, 0.5f).bytes() << QList<int>{0, 0, 0, 0, -2, 0};
        QTest::newRow("mark 00FF, trailer 80000000, limits") << RkfBytes().clearMark(0, 0xFF).trailer(kMin).score(0, 2147483520.0f).jpts(0, -2147483648.0f).bytes() << QList<int>{0, 0, -1, 0, 2147483520, kMin};
        QTest::newRow("mark FF00, trailer 100") << RkfBytes().clearMark(0, -256).trailer(0x100).bytes() << QList<int>{0, 0, -1, 0, 0, 0};
        QTest::newRow("score 2^31 overflows") << RkfBytes().score(0, 2147483648.0f).bytes() << QList<int>{6};
        QTest::newRow("score NaN overflows") << RkfBytes().score(9, std::numeric_limits<float>::quiet_NaN()).bytes() << QList<int>{6};
        QTest::newRow("empty file") << QByteArray() << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("cut inside the score") << kPlayed.bytes().left(16) << QList<int>{0, 77, 0, 0, 0, 0};
        QTest::newRow("trailer's first byte only") << kPlayed.bytes().left(445) << QList<int>{0, 77, -1, 0, 987, 345};
        QTest::newRow("FF bytes past 448") << kPlayed.bytes() + QByteArray(152, '\xFF') << QList<int>{0, 77, -1, 0, 987, 345};
        // clang-format on
    }
    void read()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, read);
        const int failure = Read(bytes);
        QCOMPARE((failure ? QList<int>{failure}
                          : QList<int>{0, r.PlayCount, r.Cleared, r.ClearMark[0], r.Score[0], r.JPts[0]}),
                 read);
    }

    // The name ends at its first NUL; then only spaces are trimmed.
    void names_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("spaces around trimmed") << QByteArray("  ABCD  ") << "ABCD";
        QTest::newRow("four double-byte characters") << QByteArray::fromHex("8260826182628263") << "ＡＢＣＤ";
        QTest::newRow("NUL padded") << QByteArray("AB\0\0\0\0\0\0", 8) << "AB";
        QTest::newRow("space before the NUL trimmed, text after dropped") << QByteArray("  AB \0XY", 8) << "AB";
        QTest::newRow("inner space and tab kept") << QByteArray("\tA B    ") << "\tA B";
        QTest::newRow("lead byte cut by the field end") << QByteArray("ABCDEFG\x82") << "ABCDEFG\uFFFD";
        // clang-format on
    }
    void names()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QCOMPARE(Read(RkfBytes().name(2, bytes).bytes()), 0);
        QCOMPARE(r.Name[2], name);
    }

    void openFailures()
    {
        QVERIFY(QDir().mkpath(QStringLiteral("folder.rkf")));
        QCOMPARE((QList<int>{Load("missing.rkf"), Load("no/missing.rkf"), Load("f.rkf/x.rkf"),
                             Load("folder.rkf")}),
                 (QList<int>{53, 53, 53, 75}));
    }

    // A folder named in code page 932 holding a file named in UTF-8: each
    // name of the path is shown decoded its own way, and the file still opens.
    void mixedNamePath()
    {
        const QByteArray folder = QFile::encodeName(m_path) + "/\x83\x5c/";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        const QByteArray path = folder + "\xe3\x81\x82.rkf";
        const auto cleanup = qScopeGuard([&] { // names the temporary folder cannot remove itself
            std::remove(path.constData());
            ::rmdir(folder.constData());
        });
        FILE *out = std::fopen(path.constData(), "wb");
        QVERIFY(out && std::fwrite(RkfBytes().playCount(7).bytes().constData(), 1, 448, out) == 448);
        std::fclose(out);
        ScoreRecord record;
        QCOMPARE(LoadScoreFile(path, record).Number, 0);
        QCOMPARE(record.PlayCount, 7);
        QCOMPARE(record.FilePath(), m_path + QStringLiteral("/ソ/あ.rkf"));
        QCOMPARE(record.FolderPath, m_path + QStringLiteral("/ソ/"));
        QCOMPARE(record.FileName, QStringLiteral("あ.rkf"));
    }
};

QTEST_APPLESS_MAIN(TestReadRkf)
#include "test_read_rkf.moc"
