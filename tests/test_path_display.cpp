// Control characters in file and folder names: every text that shows a path
// shows each as one U+FFFD, while the file is still opened by its bytes.

#include "RkfBytes.h"
#include "platform/FileNames.h"
#include "score/LoadScoreFile.h"
#include "score/RankingText.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QChar kMark(QChar::ReplacementCharacter);

struct Names : SearchObserver {
    QStringList items;
    void fileFound(int index, const QString &name, int) override { items.insert(index, name); }
    void processEvents() override {}
};

} // namespace

class TestPathDisplay : public QObject {
    Q_OBJECT

  private slots:
    void shownName_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("carriage return and line feed: one mark each")
            << QByteArray("a\r\nb") << QString("a%1%1b").arg(kMark);
        QTest::newRow("tab, escape and delete") << QByteArray("\tx\x1b\x7f") << QString("%1x%1%1").arg(kMark);
        QTest::newRow("C1 control in UTF-8") << QByteArray("x\xc2\x85y") << QString("x%1y").arg(kMark);
        QTest::newRow("line feed in a code page 932 name")
            << QByteArray("\x83\x5c\n") << QString::fromUtf8("ソ") + kMark;
        QTest::newRow("printable names unchanged")
            << QByteArray("A b~\xe3\x81\x82.rkf") << QString::fromUtf8("A b~あ.rkf");
    }

    void shownName()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(platform::DisplayFileName(bytes), shown);
        QCOMPARE(platform::DisplayPath("/d\n/" + bytes), QString("/d%1/").arg(kMark) + shown);
        QCOMPARE(platform::DisplayPathText(QString::fromUtf8("/d\n/") + shown),
                 QString("/d%1/").arg(kMark) + shown);
    }

    // The search lists the names with the mark, reads each file by its bytes,
    // and the summary keeps one line for the path.
    void searchedAndLoaded()
    {
        QTemporaryDir dir;
        const QByteArray top = QFile::encodeName(dir.path());
        WriteTestFile(dir.path(), "a\nb.rkf", RkfBytes().playCount(3).name(0, "p").score(0, 9).bytes());
        WriteTestFile(dir.path(), "s\r/c\x01.rkf", RkfBytes().playCount(4).bytes());
        Names names;
        const SearchResult result = DoFind(top, names);
        QVERIFY(!result.failed());
        QCOMPARE(names.items, (QStringList{QString("a%1b.rkf").arg(kMark), QString("c%1.rkf").arg(kMark)}));
        QCOMPARE(ScoreFiles.size(), 3);
        QCOMPARE(ScoreFiles[0].PlayCount, 3);
        QCOMPARE(ScoreFiles[1].PlayCount, 4);
        QCOMPARE(ScoreFiles[1].FilePath(), dir.path() + QString("/s%1/c%1.rkf").arg(kMark));
        QCOMPARE(ScoreFiles[1].FolderPath, dir.path() + QString("/s%1/").arg(kMark));

        ScoreRecord single;
        QVERIFY(!LoadScoreFile(top + "/s\r/c\x01.rkf", single).failed());
        QCOMPARE(single.PlayCount, 4);
        QCOMPARE(single.FilePath(), ScoreFiles[1].FilePath());
        QCOMPARE(single.FileName, QString("c%1.rkf").arg(kMark));
        QCOMPARE(MakeSummary(ScoreFiles[0]).section("\r\n", 0, 0),
                 dir.path() + QString("/a%1b.rkf").arg(kMark));
    }
};

QTEST_GUILESS_MAIN(TestPathDisplay)
#include "test_path_display.moc"
