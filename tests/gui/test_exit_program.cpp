// ExitProgram ends the process, so its real path is run in a child process:
// this test program started again with "--exit-child".

#include "platform/CodePage.h"
#include "platform/gui/MessageBox.h"
#include "support/AppGlobals.h"
#include "support/ErrorLog.h"
#include "support/TestFiles.h"
#include "support/gui/ExitProgram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <cstdlib>

namespace {

const char kChildFlag[] = "--exit-child";
const QString kTitle = QStringLiteral("velmora ScoreFile Viewer [build 50]");

// What the running program would save: the source registered by the window.
Settings CurrentSettings()
{
    Settings settings;
    settings.TopOnly = true;
    settings.LastReadDir = QString::fromUtf8("/scores/ゲーム  ");
    return settings;
}

bool inChild = false;

// Reports, in the child, whether static destructors ran at the end.
struct StaticObject {
    ~StaticObject()
    {
        if (inChild)
            std::printf("static destructor ran\n");
    }
} staticObject;

class ChildWindow : public QWidget {
  protected:
    void closeEvent(QCloseEvent *event) override
    {
        std::printf("close handler ran\n");
        event->accept();
    }
};

// Describes the stop message on standard output and closes it: with OK, or
// by asking for a normal exit while it is open.
void CloseStopMessage(const QString &appPath, bool exitWhileOpen)
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box)
        return;
    QString text = box->text();
    text.replace(QLatin1Char('\n'), QLatin1String("<LF>")).replace(QLatin1Char('\r'), QLatin1String("<CR>"));
    const bool logged = ReadTestFile(appPath + QStringLiteral("error.txt")).contains("ErrorNo.");
    const bool saved = QFileInfo::exists(appPath + QStringLiteral("rkfview.ini"));
    std::printf("box|%s|%s|icon %d|buttons %d|saved first %d|logged first %d\n",
                qPrintable(box->windowTitle()), qPrintable(text), int(box->icon()),
                int(box->standardButtons()), int(saved), int(logged));
    if (exitWhileOpen)
        ExitProgram(0, QString(), QString());
    else if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

// Child: arguments appPath, number, description, procedure, source (0 or 1),
// closing (ok or exit).
int RunExitChild(int argc, char **argv)
{
    inChild = true;
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 8)
        return 98;
    AppPath = args[2];
    AppTitle = kTitle;
    const int number = args[3].toInt();
    const QString description = args[4];
    const QString procedure = args[5];
    if (args[6] == QLatin1String("1"))
        SetSettingsSource(CurrentSettings);
    const bool exitWhileOpen = args[7] == QLatin1String("exit");

    std::atexit([] { std::printf("exit handler ran\n"); });
    ChildWindow window;
    window.show();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] { CloseStopMessage(AppPath, exitWhileOpen); });
    closer.start(20);
    QTimer::singleShot(0, [&] {
        std::printf("before exit|"); // left in the buffer: the end must flush it
        ExitProgram(number, description, procedure);
    });
    app.exec();
    std::printf("ExitProgram returned\n");
    return 99;
}

struct ChildResult {
    int status = -1;
    QString output;
};

ChildResult RunChild(const QString &appPath, int number, const QString &description, const QString &procedure,
                     bool source, const QString &closing)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kChildFlag), appPath, QString::number(number), description, procedure,
                 source ? QStringLiteral("1") : QStringLiteral("0"), closing});
    ChildResult result;
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        return result;
    }
    if (child.exitStatus() == QProcess::NormalExit)
        result.status = child.exitCode();
    result.output = QString::fromUtf8(child.readAllStandardOutput());
    return result;
}

} // namespace

class TestExitProgram : public QObject {
    Q_OBJECT

  private slots:
    void exitInChildProcess_data();
    void exitInChildProcess();
    void normalExitCreatesNoLog();
    void seamsReplaceMessageAndEnd();
    void stopMessageBox();
    void messageBoxText_data();
    void messageBoxText();
};

void TestExitProgram::exitInChildProcess_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<bool>("source");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("reported");

    const QString notFound = QString::fromUtf8("ファイルが見つかりません。");
    QTest::newRow("normal exit") << 0 << ""
                                 << "" << true << "ok" << 0 << false;
    QTest::newRow("number 0 with texts is a normal exit")
        << 0 << notFound << "ReadRKF" << true << "ok" << 0 << false;
    QTest::newRow("no settings source saves nothing") << 0 << ""
                                                      << "" << false << "ok" << 0 << false;
    QTest::newRow("failure with empty description ends unreported")
        << 53 << ""
        << "ReadRKF" << true << "ok" << 1 << false;
    QTest::newRow("forced exit") << 53 << notFound << "ReadRKF" << true << "ok" << 1 << true;
    QTest::newRow("forced exit with negative number") << -5 << "D"
                                                      << "Main" << true << "ok" << 1 << true;
    QTest::newRow("normal exit asked while the stop message is open")
        << 53 << notFound << "DoFind" << true << "exit" << 1 << true;
}

void TestExitProgram::exitInChildProcess()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, procedure);
    QFETCH(bool, source);
    QFETCH(QString, closing);
    QFETCH(int, status);
    QFETCH(bool, reported);

    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    const QByteArray olderLog("2003/05/06 07:08:09 ErrorNo.53 old @Main\r\n");
    WriteTestFile(dir.path(), QStringLiteral("error.txt"), olderLog);

    const ChildResult child = RunChild(appPath, number, description, procedure, source, closing);
    QCOMPARE(child.status, status);

    // Standard output was flushed, and nothing ran on the way out.
    QVERIFY2(child.output.startsWith(QLatin1String("before exit|")), qPrintable(child.output));
    for (const char *marker : {"close handler ran", "exit handler ran", "static destructor ran", "returned"})
        QVERIFY2(!child.output.contains(QLatin1String(marker)), marker);

    const QByteArray ini = ReadTestFile(appPath + QStringLiteral("rkfview.ini"));
    if (source) {
        QCOMPARE(ini,
                 QByteArray("[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\nAlwaysOnTop=False\r\n"
                            "LastReadDir=\"/scores/\x83\x51\x81\x5B\x83\x80  \"\r\n"));
    } else {
        QVERIFY(!QFileInfo::exists(appPath + QStringLiteral("rkfview.ini")));
    }

    const QByteArray log = ReadTestFile(appPath + QStringLiteral("error.txt"));
    QStringList boxes;
    for (const QString &line : child.output.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("box|")))
            boxes << line.mid(line.indexOf(QLatin1String("box|")));
    }
    if (!reported) {
        QCOMPARE(log, olderLog);
        QCOMPARE(boxes.size(), 0);
        return;
    }
    QVERIFY(log.startsWith(olderLog));
    const QString entry = QString::fromUtf8(log.mid(olderLog.size())); // ASCII dates, ASCII or cp932 text
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2} ErrorNo.%1 .* @%2\r\n$")
                               .arg(number)
                               .arg(procedure))
            .match(entry)
            .hasMatch(),
        qPrintable(entry));
    QCOMPARE(log.mid(olderLog.size()).count("\r\n"), 1);
    QVERIFY(log.endsWith(" " + platform::EncodeAnsi(description) + " @" + procedure.toLatin1() + "\r\n"));

    QCOMPARE(boxes.size(), 1);
    const QString expectedBox = QStringLiteral("box|") + kTitle + QLatin1Char('|') + procedure +
                                QString::fromUtf8("でエラーが発生したので強制終了しました。<LF>"
                                                  "エラーの詳細はerror.txtを参照してください。") +
                                QStringLiteral("|icon %1|buttons %2|saved first 1|logged first 1")
                                    .arg(int(QMessageBox::Critical))
                                    .arg(int(QMessageBox::Ok));
    QCOMPARE(boxes.first(), expectedBox);
}

void TestExitProgram::normalExitCreatesNoLog()
{
    QTemporaryDir dir;
    const QString appPath = dir.path() + QLatin1Char('/');
    const ChildResult child = RunChild(appPath, 0, QString(), QString(), true, QStringLiteral("ok"));
    QCOMPARE(child.status, 0);
    QVERIFY(!QFileInfo::exists(appPath + QStringLiteral("error.txt")));
}

void TestExitProgram::seamsReplaceMessageAndEnd()
{
    struct Ended {
        int status;
    };
    QTemporaryDir dir;
    AppPath = dir.path() + QLatin1Char('/');
    AppTitle = kTitle;
    QStringList messages;
    SetSettingsSource(CurrentSettings);
    SetStopMessageForTest([&](const QString &title, const QString &text) {
        // The settings and the log entry are on disk before the user is told.
        const bool saved = QFileInfo::exists(AppPath + QStringLiteral("rkfview.ini"));
        const bool logged = QFileInfo::exists(AppPath + QStringLiteral("error.txt"));
        messages << QStringLiteral("%1|%2|%3|%4").arg(title, text).arg(saved).arg(logged);
    });
    SetProcessEndForTest([](int status) { throw Ended{status}; });

    int forced = -1;
    try {
        ExitProgram(70, QStringLiteral("D"), QStringLiteral("SubFind"));
    } catch (const Ended &end) {
        forced = end.status;
    }
    int normal = -1;
    try {
        ExitProgram(0, QString(), QString());
    } catch (const Ended &end) {
        normal = end.status;
    }
    SetStopMessageForTest(nullptr);
    SetProcessEndForTest(nullptr);
    SetSettingsSource(nullptr);

    QCOMPARE(forced, 1);
    QCOMPARE(normal, 0);
    QCOMPARE(messages,
             QStringList{kTitle + QLatin1Char('|') + ExitMessageText(QStringLiteral("SubFind")) + "|1|1"});
    QVERIFY(ReadTestFile(AppPath + QStringLiteral("error.txt")).endsWith("ErrorNo.70 D @SubFind\r\n"));
}

void TestExitProgram::stopMessageBox()
{
    QString seen;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = QStringLiteral("%1|%2|%3|%4|%5|%6")
                   .arg(box->windowTitle(), box->text())
                   .arg(int(box->icon()))
                   .arg(int(box->standardButtons()))
                   .arg(int(box->textFormat()))
                   .arg(box->isModal());
        box->button(QMessageBox::Ok)->click();
    });
    closer.start(20);
    platform::ShowStopMessage(QStringLiteral("Title"), QStringLiteral("first\rsecond <b>x</b>"));
    QCOMPARE(seen, QStringLiteral("Title|first\nsecond <b>x</b>|%1|%2|%3|1")
                       .arg(int(QMessageBox::Critical))
                       .arg(int(QMessageBox::Ok))
                       .arg(int(Qt::PlainText)));
}

void TestExitProgram::messageBoxText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("lone carriage return") << "a\rb"
                                          << "a\nb";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\nb";
    QTest::newRow("line feed") << "a\nb"
                               << "a\nb";
    QTest::newRow("two lone carriage returns") << "a\r\rb"
                                               << "a\n\nb";
}

void TestExitProgram::messageBoxText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    QCOMPARE(platform::MessageBoxText(text), shown);
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kChildFlag) == 0)
        return RunExitChild(argc, argv);
    QApplication app(argc, argv);
    TestExitProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_exit_program.moc"
