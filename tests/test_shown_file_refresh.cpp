// The shown file kept live: written in place or replaced by a rename, it is read again into its
// element once quiet; short, unreadable or gone, the last good record stays. Only the file and its
// folder are watched, and nothing while no file is shown or the option is off.

#include "RkfBytes.h"
#include "score/LoadScoreFile.h"
#include "search/ScoreFiles.h"
#include "search/ShownFileRefresh.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

QByteArray Scored(float score)
{
    return RkfBytes().name(0, "p").score(0, score).bytes();
}

// Writes bytes as the whole file at the path's exact bytes.
void Put(const QByteArray &path, const QByteArray &bytes)
{
    std::FILE *file = std::fopen(path.constData(), "wb");
    if (!file || std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) != size_t(bytes.size()) ||
        std::fclose(file) != 0)
        qFatal("cannot write %s", path.constData());
}

} // namespace

class TestShownFileRefresh : public QObject {
    Q_OBJECT

  private slots:
    void change_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("name"); // the file's name bytes
        QTest::addColumn<int>("score");       // what the element holds afterwards
        QTest::newRow("written in place") << "in place" << QByteArray("chart.rkf") << 2;
        QTest::newRow("written in place, a Shift_JIS name")
            << "in place" << QByteArray("\x95\x88\x96\xca.rkf") << 2;
        QTest::newRow("replaced by a rename") << "rename" << QByteArray("chart.rkf") << 2;
        QTest::newRow("briefly short") << "short" << QByteArray("chart.rkf") << 1;
        QTest::newRow("gone") << "remove" << QByteArray("chart.rkf") << 1;
        QTest::newRow("changed while the option is off") << "off" << QByteArray("chart.rkf") << 1;
    }
    void change()
    {
        QFETCH(QString, change);
        QFETCH(QByteArray, name);
        QFETCH(int, score);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.filePath("s")), path = folder + '/' + name;
        QVERIFY(QDir().mkpath(dir.filePath("s")));
        Put(path, Scored(1));
        ScoreFiles = ScoreRecordList(2);
        QVERIFY(!LoadScoreFile(path, ScoreFiles[0]).failed());

        ShownFileRefresh refresh;
        QVERIFY(refresh.watchedFolder().isEmpty()); // nothing shown, nothing watched
        QSignalSpy refreshed(&refresh, &ShownFileRefresh::refreshed);
        refresh.follow(0, ScoreFiles[0]);
        QCOMPARE(refresh.watchedFolder(), folder);

        if (change == "in place") {
            std::FILE *file = std::fopen(path.constData(), "r+b");
            QVERIFY(file && std::fwrite(Scored(2).constData(), 1, 448, file) == 448 &&
                    std::fclose(file) == 0);
        } else if (change == "rename") {
            Put(folder + "/new.tmp", Scored(2));
            QCOMPARE(std::rename(folder + "/new.tmp", path), 0);
        } else if (change == "short") {
            Put(path, Scored(2).left(100));
        } else if (change == "remove") {
            QCOMPARE(std::remove(path), 0);
        } else if (change == "off") {
            refresh.setEnabled(false);
            QVERIFY(refresh.watchedFolder().isEmpty());
            Put(path, Scored(2));
        }
        QTest::qWait(3 * ShownFileRefresh::kQuietMs);
        QCOMPARE(refreshed.size(), score == 2 ? 1 : 0);
        QCOMPARE(ScoreFiles[0].Score[0], score);
        QCOMPARE(refresh.record().Score[0], score);
        if (score == 2)
            QCOMPARE(refreshed[0][0].value<qsizetype>(), 0);

        if (change == "off") {
            refresh.setEnabled(true); // what changed meanwhile is read then
            QTRY_COMPARE(ScoreFiles[0].Score[0], 2);
        } else {
            // The next good write is read, also into a file that came back.
            Put(path, Scored(3));
            QTRY_COMPARE(ScoreFiles[0].Score[0], 3);
        }
        refresh.stop();
        QVERIFY(refresh.watchedFolder().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestShownFileRefresh)
#include "test_shown_file_refresh.moc"
