// Showing a score record in the window: rows, summary, save-dialog state,
// last-read folder, and the forced exit on a name too short.

#include "gui/ViewerTestSupport.h"
#include "score/LoadScoreFile.h"
#include "support/AppGlobals.h"
#include "support/ErrorLog.h"

#include <QAction>
#include <QPlainTextEdit>

Q_DECLARE_METATYPE(QList<Place>)

class TestDisplay : public QObject {
    Q_OBJECT

  private slots:
    void rows_data();
    void rows();
    void cellsAlignedLikeColumns();
    void newRecordReplacesRows();
    void summary_data();
    void summary();
    void saveDialogName_data();
    void saveDialogName();
    void nameTooShortEndsProgram();

  private:
    ScoreRecord Load(const QTemporaryDir &dir, const QString &name, const QList<Place> &places,
                     int playCount = 3, bool cleared = true);
};

ScoreRecord TestDisplay::Load(const QTemporaryDir &dir, const QString &name, const QList<Place> &places,
                              int playCount, bool cleared)
{
    const QString path = WriteScoreFile(dir, name, places, playCount, cleared);
    ScoreRecord record;
    const Failure failure = LoadScoreFile(QFile::encodeName(path), record);
    if (failure.failed())
        qFatal("cannot read %s", qPrintable(path));
    return record;
}

void TestDisplay::rows_data()
{
    QTest::addColumn<QList<Place>>("places");
    QTest::addColumn<bool>("topOnly");
    QTest::addColumn<QStringList>("ranks");
    QTest::addColumn<QStringList>("names");

    QList<Place> ten;
    QStringList tenRanks;
    QStringList tenNames;
    for (int k = 0; k < 10; ++k) {
        ten.append({"P" + QByteArray::number(k + 1), float(1000 - k), 1});
        tenNames.append("P" + QString::number(k + 1));
    }
    tenRanks << " 1st"
             << " 2nd"
             << " 3rd"
             << " 4th"
             << " 5th"
             << " 6th"
             << " 7th"
             << " 8th"
             << " 9th"
             << "10th";
    QTest::newRow("ten places") << ten << false << tenRanks << tenNames;
    QTest::newRow("ten places, top only") << ten << true << QStringList{" 1st"} << QStringList{"P1"};
    QTest::newRow("japanese name") << QList<Place>{{"\x93\xa1\x8c\xb4", 10, 1}} << false
                                   << QStringList{" 1st"} << QStringList{"藤原"};
    QTest::newRow("empty first place")
        << QList<Place>{{"", 0, 0}, {"B", 5, 5}} << false << QStringList() << QStringList();
    QTest::newRow("empty first place, top only")
        << QList<Place>{{"", 0, 0}} << true << QStringList() << QStringList();
    QTest::newRow("score 0 with J-PTS shown") << QList<Place>{{"A", 0, 5}, {"B", 7, 0}} << false
                                              << QStringList{" 1st", " 2nd"} << QStringList{"A", "B"};
    QTest::newRow("places after a gap hidden") << QList<Place>{{"A", 5, 5}, {"", 0, 0}, {"C", 9, 9}} << false
                                               << QStringList{" 1st"} << QStringList{"A"};
}

void TestDisplay::rows()
{
    QFETCH(QList<Place>, places);
    QFETCH(bool, topOnly);
    QFETCH(QStringList, ranks);
    QFETCH(QStringList, names);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->menuOptTop->setChecked(topOnly);
    window->DisplayRKF(Load(dir, "chart.rkf", places));
    QCOMPARE(ColumnTexts(window->lstScore, 0), ranks);
    QCOMPARE(ColumnTexts(window->lstScore, 1), names);
    // Summary and save-dialog state are set even with no row shown.
    QVERIFY(window->SummaryText().startsWith(dir.path() + "/chart.rkf\r\n"));
    QCOMPARE(window->cdlgSave.FileName, QStringLiteral("chart"));
    QCOMPARE(window->cdlgSave.InitDir, dir.path() + "/");
    QCOMPARE(window->LastReadDir, dir.path() + "/");
}

void TestDisplay::cellsAlignedLikeColumns()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "chart.rkf", {{"ABC", 987, 345}}));
    const QTreeWidgetItem *row = window->lstScore->topLevelItem(0);
    QVERIFY(row);
    for (int c = 0; c < 15; ++c) {
        QCOMPARE(row->textAlignment(c), window->lstScore->headerItem()->textAlignment(c));
    }
    QCOMPARE(row->text(2), QStringLiteral("987"));
    QCOMPARE(row->text(14), QStringLiteral("-- -- -- -- -- -- -- -- --"));
}

void TestDisplay::newRecordReplacesRows()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "first.rkf", {{"A", 3, 1}, {"B", 2, 1}, {"C", 1, 1}}));
    window->DisplayRKF(Load(dir, "sub/second.rkf", {{"X", 9, 9}}));
    QCOMPARE(ColumnTexts(window->lstScore, 1), QStringList{"X"});
    QCOMPARE(window->LastReadDir, dir.path() + "/sub/");
    QCOMPARE(window->cdlgSave.FileName, QStringLiteral("second"));
}

void TestDisplay::summary_data()
{
    QTest::addColumn<int>("playCount");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("secondLine");
    QTest::newRow("cleared") << 12 << true << "[○ CLEARED] PlayCount:12回";
    QTest::newRow("not cleared") << 0 << false << "[× NOT CLEARED] PlayCount:0回";
}

void TestDisplay::summary()
{
    QFETCH(int, playCount);
    QFETCH(bool, cleared);
    QFETCH(QString, secondLine);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "chart.rkf", {{"A", 1, 1}}, playCount, cleared));
    const QString path = dir.path() + "/chart.rkf";
    QCOMPARE(window->txtScore->toPlainText(), path + "\n" + secondLine);
    QCOMPARE(window->SummaryText(), path + "\r\n" + secondLine);
}

void TestDisplay::saveDialogName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("lower-case extension") << "chart.rkf"
                                          << "chart";
    QTest::newRow("upper-case extension") << "HARD.RKF"
                                          << "HARD";
    QTest::newRow("japanese name") << "譜面 (難).rkf"
                                   << "譜面 (難)";
    QTest::newRow("four characters") << "xrkf"
                                     << "";
}

void TestDisplay::saveDialogName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, proposed);

    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, fileName, {{"A", 1, 1}}));
    QCOMPARE(window->cdlgSave.FileName, proposed);
}

void TestDisplay::nameTooShortEndsProgram()
{
    QTemporaryDir dir;
    const auto window = StartViewer(dir);
    window->DisplayRKF(Load(dir, "old.rkf", {{"A", 1, 1}}));

    ScoreRecord record;
    record.FilePath = "/tmp/rkf";
    record.FolderPath = "/tmp/";
    record.FileName = "rkf";
    record.Score[0] = 42;
    ExitCatcher exit;
    QCOMPARE(exit.statusOf([&] { window->DisplayRKF(record); }), 1);

    // What was shown before the failure stays; the proposed name does not change.
    QCOMPARE(ColumnTexts(window->lstScore, 2), QStringList{"42"});
    QCOMPARE(window->LastReadDir, QStringLiteral("/tmp/"));
    QCOMPARE(window->cdlgSave.FileName, QStringLiteral("old"));
    QCOMPARE(exit.messages, QStringList{AppTitle + "|" + ExitMessageText("DisplayRKF")});
    const QByteArray log = ReadTestFile(dir.path() + "/error.txt");
    QCOMPARE(log.count("\r\n"), 1);
    QVERIFY(log.endsWith(" @DisplayRKF\r\n"));
    QVERIFY(log.contains(" ErrorNo.5 "));
    // The settings were saved first, with the folder of the failed record.
    QVERIFY(ReadTestFile(dir.path() + "/rkfview.ini").contains("LastReadDir=\"/tmp/\""));
}

QTEST_MAIN(TestDisplay)
#include "test_display.moc"
