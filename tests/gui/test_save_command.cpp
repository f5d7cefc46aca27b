// Saving the shown ranking as text or CSV, and what a failed save tells.

#include "gui/LoadTestSupport.h"
#include "platform/CodePage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

const QList<Place> kPlaces{{"Mid", 100, 50}, {"A,B", 98, 40}};
// The rows as CSV in code page 932 ("×" is 81 7E); the name with a comma quoted.
const QByteArray kMidLine = " 1st,Mid,100,50,0,0,0,0,0,0,0x,0x,SS,\x81\x7e,-- -- -- -- -- -- -- -- --";
const QByteArray kAbLine = " 2nd,\"A,B\",98,40,0,0,0,0,0,0,0x,0x,SS,\x81\x7e,-- -- -- -- -- -- -- -- --";

// Closes the next message box and keeps its text.
void CloseNextMessage(QObject *context, QString *text)
{
    QTimer::singleShot(0, context, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->done(QMessageBox::Ok);
        }
    });
}

} // namespace

class TestSaveCommand : public QObject {
    Q_OBJECT

  private slots:
    void save_data();
    void save();
    void failure_data();
    void failure();
};

void TestSaveCommand::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("steps"); // d: show the file, s: sort by Score
    QTest::addColumn<bool>("csv");
    QTest::addColumn<QList<QByteArray>>("lines"); // of the CSV

    const QList<QByteArray> placeOrder{kMidLine, kAbLine};
    QTest::newRow("txt: report") << "r.txt"
                                 << "d" << false << QList<QByteArray>();
    QTest::newRow("no extension: report") << "r"
                                          << "d" << false << QList<QByteArray>();
    QTest::newRow(".csv.txt: report") << "r.csv.txt"
                                      << "d" << false << QList<QByteArray>();
    QTest::newRow("empty window: report") << "r.txt"
                                          << "" << false << QList<QByteArray>();
    QTest::newRow("csv") << "r.csv"
                         << "d" << true << placeOrder;
    QTest::newRow("CSV") << "r.CSV"
                         << "d" << true << placeOrder;
    QTest::newRow("Csv") << "r.Csv"
                         << "d" << true << placeOrder;
    QTest::newRow("csv in sorted order") << "r.csv"
                                         << "ds" << true << QList<QByteArray>{kAbLine, kMidLine};
    QTest::newRow("csv of an empty table") << "r.csv"
                                           << "" << true << QList<QByteArray>();
}

void TestSaveCommand::save()
{
    QFETCH(QString, name);
    QFETCH(QString, steps);
    QFETCH(bool, csv);
    QFETCH(QList<QByteArray>, lines);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    WriteTestFile(dir.path(), name, QByteArray(2000, 'x')); // replaced entirely
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.files << WriteScoreFile(dir, "chart.rkf", kPlaces, 1);
    for (const QChar step : steps) {
        if (step == 'd')
            window->menuOpenFile->trigger();
        else if (step == 's')
            window->lstScore_ColumnClick(3);
    }
    dialogs.saves << path;
    window->menuFileSave->trigger();

    QCOMPARE(dialogs.saveCalls, 1);
    QVERIFY(dialogs.saveState.OverwritePrompt);
    QCOMPARE(dialogs.saveState.FileName, steps.isEmpty() ? QString() : QStringLiteral("chart"));
    QCOMPARE(window->cdlgSave.FileName, path);
    const QByteArray written = ReadTestFile(path);
    if (csv) {
        QByteArray expected;
        for (const QByteArray &line : lines)
            expected += (expected.isEmpty() ? "" : "\r\n") + line;
        QCOMPARE(written, expected + "\r\n");
    } else {
        // The report that Copy puts on the clipboard, in code page 932.
        window->cmdCopy->click();
        QCOMPARE(written, platform::EncodeAnsi(QGuiApplication::clipboard()->text()) + "\r\n");
        QCOMPARE(written.contains("PlayCount:1\x89\xf1"), steps.contains('d')); // 回
    }
}

void TestSaveCommand::failure_data()
{
    QTest::addColumn<QString>("name"); // empty: a cancel
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason"); // empty: no message
    QTest::newRow("cancel is silent") << "" << false << "";
    QTest::newRow("read-only file kept") << "old.csv" << true << "読み取り専用";
    QTest::newRow("missing folder") << "none/r.txt" << false << "No such file or directory";
}

void TestSaveCommand::failure()
{
    QFETCH(QString, name);
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString old = WriteTestFile(dir.path(), "old.csv", "old");
    QFile::setPermissions(old, readOnly ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
    const auto window = StartViewer(dir);
    DialogScript dialogs(*window);
    dialogs.files << WriteScoreFile(dir, "chart.rkf", kPlaces);
    window->menuOpenFile->trigger();
    dialogs.saves << (name.isEmpty() ? QString() : dir.filePath(name));

    QString message;
    CloseNextMessage(this, &message);
    window->menuFileSave->trigger();
    QCoreApplication::processEvents();

    QCOMPARE(ReadTestFile(old), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList({"*.csv", "*.txt", "none"}), QStringList{"old.csv"});
    if (reason.isEmpty()) {
        QCOMPARE(message, QString());
    } else {
        QVERIFY2(message.startsWith("保存できませんでした。\n" + dir.filePath(name) + "\n"),
                 qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
    }
}

QTEST_MAIN(TestSaveCommand)
#include "test_save_command.moc"
