// The shown file kept live: written in place or replaced by a rename, it is read again into its
// element once quiet; short, unreadable or gone, the last good record stays. Only the file and its
// folder are watched, and nothing while no file is shown or the option is off.

#include "score/LoadScoreFile.h"
#include "search/ScoreFiles.h"
#include "search/ShownFileRefresh.h"
#include "support/RkfBytes.h"
#include "support/TestFiles.h"

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

} // namespace

class TestShownFileRefresh : public QObject {
    Q_OBJECT

  private slots:
    void change_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("score"); // what the element holds afterwards
        QTest::newRow("written in place") << "in place" << 2;
        QTest::newRow("replaced by a rename") << "rename" << 2;
        QTest::newRow("briefly short") << "short" << 1;
        QTest::newRow("gone") << "remove" << 1;
        QTest::newRow("changed while the option is off") << "off" << 1;
    }
    void change()
    {
        QFETCH(QString, change);
        QFETCH(int, score);
        QTemporaryDir dir;
        const QString path = WriteTestFile(dir.path(), "s/chart.rkf", Scored(1));
        ScoreFiles = ScoreRecordList(2);
        QVERIFY(!LoadScoreFile(QFile::encodeName(path), ScoreFiles[0]).failed());

        ShownFileRefresh refresh;
        QVERIFY(refresh.watchedPaths().isEmpty()); // nothing shown, nothing watched
        QSignalSpy refreshed(&refresh, &ShownFileRefresh::refreshed);
        refresh.follow(0, ScoreFiles[0]);
        QCOMPARE(refresh.watchedPaths(), (QStringList{path, dir.filePath("s")}));

        QFile file(path);
        if (change == "in place") {
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write(Scored(2)) == 448);
            file.close();
        } else if (change == "rename") {
            const QString written = WriteTestFile(dir.path(), "s/new.tmp", Scored(2));
            QCOMPARE(std::rename(QFile::encodeName(written), QFile::encodeName(path)), 0);
        } else if (change == "short") {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Scored(2).left(100)) == 100);
            file.close();
        } else if (change == "remove") {
            QVERIFY(file.remove());
        } else if (change == "off") {
            refresh.setEnabled(false);
            QVERIFY(refresh.watchedPaths().isEmpty());
            WriteTestFile(dir.path(), "s/chart.rkf", Scored(2));
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
            WriteTestFile(dir.path(), "s/chart.rkf", Scored(3));
            QTRY_COMPARE(ScoreFiles[0].Score[0], 3);
        }
        refresh.stop();
        QVERIFY(refresh.watchedPaths().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestShownFileRefresh)
#include "test_shown_file_refresh.moc"
