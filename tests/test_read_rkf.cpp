// The score-file reader on files built byte by byte.

#include "score/LoadScoreFile.h"
#include "support/RkfBytes.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One ordinary place k: 987, 345, HS 2.5, RHS 3, combo 512, class 2.
RkfBytes Place(int k, RkfBytes b = {})
{
    return b.score(k, 987).jpts(k, 345).hs(k, 2.5f).rhs(k, 3).maxCombo(k, 512).classCode(k, 2).judge(k, 4, 3,
                                                                                                     2, 1, 0);
}

// The integer fields of place k in file order, for comparing in one go.
QList<int> Ints(const ScoreRecord &r, int k)
{
    return {r.ClearMark[k], r.Score[k],   r.JPts[k],    r.MaxCombo[k], r.ClassCode[k],
            r.Option1[k],   r.Option2[k], r.Option3[k], r.Option4[k],  r.Option5[k],
            r.Perfect[k],   r.Great[k],   r.Good[k],    r.Bad[k],      r.Poor[k]};
}

} // namespace

class TestReadRkf : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // Writes the bytes to a new file and reads it; returns the failure number.
    int Read(const QByteArray &bytes, ScoreRecord &record)
    {
        const QString path = WriteTestFile(m_dir.path(), QStringLiteral("f%1.rkf").arg(++m_files), bytes);
        return LoadScoreFile(QFile::encodeName(path), record).Number;
    }

  private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Every field at its offset (place 1 and place 10 prove the entry
    // stride), int16 fields signed and uint8 fields unsigned.
    void fields()
    {
        RkfBytes b;
        b.playCount(123456).trailer(7).clearMark(0, -1).name(0, "ABCDEFGH").score(0, 1845).jpts(0, 1290);
        b.hs(0, 2.5f).rhs(0, 0.75f).maxCombo(0, 812).classCode(0, 1).judge(0, 700, 90, 12, 2, 1);
        for (int g = 1; g <= 5; ++g)
            b.option(0, g, std::uint8_t(g));
        b.clearMark(9, -1).name(9, "TENTH").score(9, 5).jpts(9, 6).hs(9, 1.5f).rhs(9, 2).maxCombo(9, -1);
        b.classCode(9, 200).judge(9, -1, std::int16_t(0x8000), 0x7FFF, -2, 8);
        for (int g = 1; g <= 5; ++g)
            b.option(9, g, 255);
        ScoreRecord r;
        QCOMPARE(Read(b.bytes(), r), 0);
        QCOMPARE(r.PlayCount, 123456);
        QCOMPARE(r.Cleared, -1);
        QCOMPARE(r.Name[0], QStringLiteral("ABCDEFGH"));
        QCOMPARE(Ints(r, 0), (QList<int>{-1, 1845, 1290, 812, 1, 1, 2, 3, 4, 5, 700, 90, 12, 2, 1}));
        QCOMPARE(r.HS[0], 2.5f);
        QCOMPARE(r.RHS[0], 0.75f);
        QCOMPARE(r.Name[9], QStringLiteral("TENTH"));
        QCOMPARE(Ints(r, 9),
                 (QList<int>{-1, 5, 6, -1, 200, 255, 255, 255, 255, 255, -1, -32768, 32767, -2, 8}));
        QCOMPARE(r.HS[9], 1.5f);
        QCOMPARE(r.RHS[9], 2.0f);
        QCOMPARE(Ints(r, 5), QList<int>(15, 0));
    }

    // An entry is cleared only by the mark FF FF; the chart by any nonzero
    // trailer. Scores go to the nearest int32, halves to even.
    void clearAndScore_data()
    {
        QTest::addColumn<int>("mark");
        QTest::addColumn<int>("trailer");
        QTest::addColumn<float>("stored");
        QTest::addColumn<QList<int>>("read"); // ClearMark, Cleared, Score
        // clang-format off
        QTest::newRow("mark -1, trailer 1, 2.5") << -1 << 1 << 2.5f << QList<int>{-1, -1, 2};
        QTest::newRow("mark 1, trailer 0, 3.5") << 1 << 0 << 3.5f << QList<int>{0, 0, 4};
        QTest::newRow("mark 00FF, trailer 80000000") << 0xFF << int(0x80000000) << -2.5f << QList<int>{0, -1, -2};
        QTest::newRow("mark FF00, trailer 100") << -256 << 0x100 << 2147483520.0f << QList<int>{0, -1, 2147483520};
        // clang-format on
    }
    void clearAndScore()
    {
        QFETCH(int, mark);
        QFETCH(int, trailer);
        QFETCH(float, stored);
        QFETCH(QList<int>, read);
        ScoreRecord r;
        QCOMPARE(Read(RkfBytes()
                          .clearMark(0, std::int16_t(mark))
                          .trailer(trailer)
                          .score(0, stored)
                          .jpts(0, stored)
                          .bytes(),
                      r),
                 0);
        QCOMPARE((QList<int>{r.ClearMark[0], r.Cleared, r.Score[0]}), read);
        QCOMPARE(r.JPts[0], r.Score[0]);
    }

    void overflow_data()
    {
        QTest::addColumn<int>("offset"); // of the float in place 1
        QTest::addColumn<int>("place");
        QTest::addColumn<float>("stored");
        // clang-format off
        QTest::newRow("score 3.0e9") << 10 << 0 << 3.0e9f;
        QTest::newRow("J-PTS -3.0e9") << 14 << 0 << -3.0e9f;
        QTest::newRow("score 2^31") << 10 << 0 << 2147483648.0f;
        QTest::newRow("J-PTS NaN") << 14 << 0 << std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("score Inf, tenth place") << 10 << 9 << std::numeric_limits<float>::infinity();
        // clang-format on
    }
    void overflow()
    {
        QFETCH(int, offset);
        QFETCH(int, place);
        QFETCH(float, stored);
        RkfBytes b;
        if (offset == 10)
            b.score(place, stored);
        else
            b.jpts(place, stored);
        ScoreRecord r;
        QCOMPARE(Read(b.bytes(), r), 6);
    }

    // The name ends at its first NUL; then only spaces are trimmed.
    void names_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        // clang-format off
        QTest::newRow("spaces around four letters") << QByteArray("  ABCD  ") << "ABCD";
        QTest::newRow("four double-byte characters") << QByteArray::fromHex("8260826182628263") << "ＡＢＣＤ";
        QTest::newRow("eight half-width katakana") << QByteArray::fromHex("B1B2B3B4B5B6B7B8") << "ｱｲｳｴｵｶｷｸ";
        QTest::newRow("NUL padded") << QByteArray("AB\0\0\0\0\0\0", 8) << "AB";
        QTest::newRow("text after the first NUL dropped") << QByteArray("AB\0CD   ", 8) << "AB";
        QTest::newRow("space before the NUL trimmed") << QByteArray("  AB \0XY", 8) << "AB";
        QTest::newRow("starts with NUL") << QByteArray("\0ABCDEFG", 8) << "";
        QTest::newRow("inner space and tab kept") << QByteArray("\tA B    ") << "\tA B";
        QTest::newRow("only spaces") << QByteArray("        ") << "";
        QTest::newRow("undecodable byte") << QByteArray::fromHex("41 42 80 43") << "AB\uFFFDC";
        QTest::newRow("lead byte cut by the field end") << QByteArray("ABCDEFG\x82") << "ABCDEFG\uFFFD";
        QTest::newRow("lead byte cut by a NUL") << QByteArray::fromHex("41 42 82 00 43") << "AB\uFFFD";
        // clang-format on
    }
    void names()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        ScoreRecord r;
        QCOMPARE(Read(RkfBytes().name(2, bytes).bytes(), r), 0);
        QCOMPARE(r.Name[2], name);
        QCOMPARE(r.Name[1] + r.Name[3], QString());
    }

    // Missing bytes read as zero; bytes past 448 are ignored.
    void length_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("read"); // PlayCount, Score, J-PTS, Cleared
        // clang-format off
        QTest::newRow("empty file") << 0 << QList<int>{0, 0, 0, 0};
        QTest::newRow("header only") << 4 << QList<int>{77, 0, 0, 0};
        QTest::newRow("cut inside the score") << 16 << QList<int>{77, 0, 0, 0};
        QTest::newRow("cut after the score") << 18 << QList<int>{77, 987, 0, 0};
        QTest::newRow("trailer's first byte only") << 445 << QList<int>{77, 987, 345, -1};
        QTest::newRow("longer than 448") << 600 << QList<int>{77, 987, 345, -1};
        // clang-format on
    }
    void length()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, read);
        RkfBytes b = Place(0);
        b.playCount(77).trailer(1).resize(size);
        if (size > 448)
            b.raw(448, QByteArray(size - 448, '\xFF'));
        ScoreRecord r;
        QCOMPARE(Read(b.bytes(), r), 0);
        QCOMPARE((QList<int>{r.PlayCount, r.Score[0], r.JPts[0], r.Cleared}), read);
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("missing file") << "missing.rkf" << 53;
        QTest::newRow("missing folder") << "nowhere/missing.rkf" << 53;
        QTest::newRow("a file used as a folder") << "plain.rkf/x.rkf" << 53;
        QTest::newRow("a folder") << "folder.rkf" << 75;
    }
    void openFailures()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        WriteTestFile(m_dir.path(), QStringLiteral("plain.rkf"), RkfBytes().bytes());
        QDir(m_dir.path()).mkpath(QStringLiteral("folder.rkf"));
        ScoreRecord r;
        const Failure failure = LoadScoreFile(QFile::encodeName(m_dir.filePath(name)), r);
        QCOMPARE(failure.Number, number);
        QCOMPARE(failure.Description, MakeFailure(number).Description);
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("missing.rkf"))));
    }

    void unreadableFile()
    {
        if (::geteuid() == 0)
            QSKIP("running as root, which can read any file");
        const QString path = WriteTestFile(m_dir.path(), QStringLiteral("locked.rkf"), RkfBytes().bytes());
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        ScoreRecord r;
        QCOMPARE(LoadScoreFile(QFile::encodeName(path), r).Number, 70);
    }

    // Read-only access: a read-only file is read and nothing about it changes.
    // A relative name is made absolute and split into the path fields.
    void readOnlyAndPaths()
    {
        const QByteArray bytes = Place(0).playCount(5).bytes();
        const QString dir = QDir(m_dir.path()).canonicalPath();
        const QString path = WriteTestFile(dir, QStringLiteral("sub/chart.rkf"), bytes);
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        const QDateTime modified = QFileInfo(path).lastModified();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir));
        ScoreRecord r;
        r.Score[1] = 99; // a stale record is emptied first
        const int number = LoadScoreFile("sub/chart.rkf", r).Number;
        QDir::setCurrent(previous);
        QCOMPARE(number, 0);
        QCOMPARE((QStringList{r.FilePath, r.FolderPath, r.FileName}),
                 (QStringList{dir + "/sub/chart.rkf", dir + "/sub/", "chart.rkf"}));
        QCOMPARE(r.PlayCount, 5);
        QCOMPARE(r.Score[1], 0);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QCOMPARE(ReadTestFile(path), bytes);
    }

    // A relative name is found when the current folder's name is not valid
    // in the local encoding (bytes from a Japanese system).
    void oddCurrentFolder()
    {
        const QByteArray folder = QFile::encodeName(m_dir.path()) + "/odd\xFF\x82";
        QVERIFY(::mkdir(folder.constData(), 0755) == 0);
        QFile file;
        QVERIFY(file.open(std::fopen((folder + "/a.rkf").constData(), "wb"), QIODevice::WriteOnly,
                          QFileDevice::AutoCloseHandle));
        file.write(Place(0).bytes());
        file.close();
        const QString previous = QDir::currentPath();
        QVERIFY(::chdir(folder.constData()) == 0);
        ScoreRecord r;
        const int number = LoadScoreFile("a.rkf", r).Number;
        QDir::setCurrent(previous);
        // QTemporaryDir cannot remove a name it cannot decode.
        ::unlink((folder + "/a.rkf").constData());
        ::rmdir(folder.constData());
        QCOMPARE(number, 0);
        QCOMPARE(r.Score[0], 987);
        QVERIFY(r.FolderPath.endsWith(QStringLiteral("/odd\uFFFD\uFFFD/")));
    }
};

QTEST_APPLESS_MAIN(TestReadRkf)
#include "test_read_rkf.moc"
