// Save onto targets that must not be replaced, or on a full disk: the old
// file stays, and the window says the save failed, naming the file on one line.

#include "ViewerTestSupport.h"
#include "support/SmallDisk.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

class TestSaveSafety : public QObject {
    Q_OBJECT

  private slots:
    void refusedSave_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("symbolic link to a fifo") << "link";
        QTest::newRow("full disk: the old file stays") << "full";
        QTest::newRow("line feed in the name shows as U+FFFD") << "a\nb.txt";
    }

    void refusedSave()
    {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString disk = dir.filePath("disk");
        QVERIFY(QDir(dir.path()).mkdir("disk"));
        std::unique_ptr<SmallDisk> small;
        const QByteArray old(100, 'o');
        QString path = dir.filePath(target);
        if (target == "fifo" || target == "link") {
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0644), 0);
            if (target == "link")
                QVERIFY(QFile::link(dir.filePath("fifo"), path));
        } else if (target == "full") {
            small = std::make_unique<SmallDisk>(disk, 64 * 1024);
            if (!small->mounted())
                QSKIP(qPrintable(small->reason()));
            path = WriteTestFile(disk, "out.txt", old);
            QVERIFY(small->fill());
        } else { // a folder of that name makes the save fail
            QVERIFY(QDir(dir.path()).mkdir(target));
        }
        const auto window = StartViewer(dir);
        window->Dialogs.chooseScoreFile = [&](QWidget *) {
            return WriteScoreFile(dir, "chart.rkf", {{"Mid", 100, 50}, {"Low", 10, 5}});
        };
        window->Dialogs.chooseSaveFile = [&](QWidget *, const SaveDialogState &) { return path; };
        window->menuOpenFile->trigger();
        QString message;
        QTimer::singleShot(0, window.get(), [&message] { // closes the message box, keeping its text
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                message = box->text();
                box->done(QMessageBox::Ok);
            }
        });
        window->menuFileSave->trigger();
        QVERIFY2(message.startsWith(QString::fromUtf8("保存できませんでした。")), qPrintable(message));
        const QString shown = QString(path).replace(u'\n', QChar(QChar::ReplacementCharacter));
        QCOMPARE(message.section(u'\n', 1, 1), shown); // the second line, whole
        if (target == "full") {
            QCOMPARE(ReadTestFile(path), old);
            QCOMPARE(message.section(u'\n', 2),
                     QString::fromUtf8("ディスクの空き領域が足りません。")); // in any locale
        } else if (target != "a\nb.txt") {
            struct stat st;
            QCOMPARE(::stat(QFile::encodeName(dir.filePath("fifo")).constData(), &st), 0);
            QVERIFY(S_ISFIFO(st.st_mode));
        }
    }
};

QTEST_MAIN(TestSaveSafety)
#include "test_save_safety.moc"
