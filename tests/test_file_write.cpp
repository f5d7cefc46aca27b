// The files the program writes (saved reports, the settings, the error log)
// on a full disk, onto special files, in folders only the file itself may be
// written in, and with hard links, other owners and oversized settings.

#include "export/SaveFile.h"
#include "platform/FileWrite.h"
#include "platform/IniStore.h"
#include "support/ErrorLog.h"
#include "support/Privileges.h"
#include "support/Settings.h"
#include "support/SmallDisk.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QByteArray kOldIni = "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\nAlwaysOnTop=False\r\n"
                           "LastReadDir=\"/scores/\"\r\n";

struct stat StatOf(const QString &path, bool followLinks = true)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if ((followLinks ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st)) != 0)
        st.st_mode = 0;
    return st;
}

// Runs step on another thread; false when it has not returned within seconds
// (it is then left blocked; unblock() is called to let it end).
template <typename Step, typename Unblock> bool ReturnsWithin(int seconds, Step step, Unblock unblock)
{
    std::future<void> done = std::async(std::launch::async, step);
    if (done.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready)
        return true;
    unblock();
    done.wait();
    return false;
}

// The settings as the program saves them, with a last-read folder of the given length.
Settings SettingsWithFolder(qsizetype length)
{
    return Settings{false, true, QString(length, u'd')};
}

} // namespace

class TestFileWrite : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { ::signal(SIGPIPE, SIG_IGN); } // a fifo closed by its reader must not end the test

    // Every write of ours on a disk that is full: it fails and leaves the old
    // file byte for byte.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("write");
        QTest::newRow("report saved over an existing file") << "report";
        QTest::newRow("new report file: nothing left behind") << "new report";
        QTest::newRow("settings saved") << "settings";
        QTest::newRow("foreign settings file reset at start-up") << "reset";
        QTest::newRow("hard-linked settings file, written in place") << "linked settings";
        QTest::newRow("error log line that fits only in part") << "log";
    }

    void fullDisk()
    {
        QFETCH(QString, write);
        QTemporaryDir dir;
        const SmallDisk disk(dir.path(), 64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.reason()));
        const QString folder = dir.path() + u'/';
        const QString target = folder + (write.contains("report") ? "out.txt"
                                         : write == "log"         ? "error.txt"
                                                                  : "rkfview.ini");
        // The log ends 96 bytes before a page boundary, so a longer line fits only in part.
        const QByteArray old = write == "log"     ? QByteArray(4000, 'l')
                               : write == "reset" ? QByteArray("[Main]\r\nKey=other\r\n")
                                                  : kOldIni;
        if (write != "new report")
            WriteTestFile(dir.path(), QFileInfo(target).fileName(), old);
        if (write == "linked settings")
            QCOMPARE(
                ::link(QFile::encodeName(target).constData(), QFile::encodeName(folder + "link").constData()),
                0);
        QVERIFY(const_cast<SmallDisk &>(disk).fill());

        const QByteArray big(10000, 'r');
        if (write.contains("report")) {
            const Failure failure = WriteSaveFile(target, big);
            QVERIFY(failure.failed());
            QVERIFY2(!failure.Description.isEmpty(), "the save says why");
        } else if (write == "settings" || write == "linked settings") {
            QVERIFY(!SaveConfig(folder, SettingsWithFolder(6000)));
        } else if (write == "reset") {
            const Settings settings = LoadConfig(folder, "/first/");
            QVERIFY(!settings.TopOnly && !settings.AlwaysOnTop);
            QCOMPARE(settings.LastReadDir, "/first/");
        } else {
            QVERIFY(!AppendErrorLog(folder, QString(200, u'e') + "\r\n"));
        }
        if (write == "new report")
            QVERIFY(!QFile::exists(target));
        else
            QCOMPARE(ReadTestFile(target), old);
        QStringList left{"filler"}; // and no temporary file
        if (write != "new report")
            left << QFileInfo(target).fileName();
        if (write == "linked settings")
            left << "link";
        left.sort();
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), left);
    }

    // A target that exists and is no regular file is refused, also behind a
    // symbolic link, and stays what it was.
    void specialTarget_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("symbolic link to a fifo") << "link to fifo";
        QTest::newRow("device node") << "device";
        QTest::newRow("folder") << "folder";
    }

    void specialTarget()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString special = dir.filePath("special");
        const QByteArray native = QFile::encodeName(special);
        if (kind.contains("fifo")) {
            QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        } else if (kind == "device") {
            if (::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) // as /dev/null
                QSKIP("making a device node needs root");
        } else {
            QVERIFY(QDir(dir.path()).mkdir("special"));
        }
        const QString target = kind.startsWith("link") ? dir.filePath("out.txt") : special;
        if (target != special)
            QVERIFY(QFile::link(special, target));
        const mode_t type = StatOf(special).st_mode & S_IFMT;

        const Failure failure = WriteSaveFile(target, "report\r\n");
        QCOMPARE(failure.Number, int(kErrPathAccess));
        QVERIFY2(failure.Description.contains(QString::fromUtf8("通常のファイル")),
                 qPrintable(failure.Description));
        QCOMPARE(StatOf(special).st_mode & S_IFMT, type);
        if (target != special)
            QVERIFY(S_ISLNK(StatOf(target, false).st_mode));
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
                     .size(),
                 target == special ? 1 : 2); // no temporary file left
        QVERIFY(!platform::WriteProfileString(target, "Main", "Key", "v"));
        QCOMPARE(StatOf(special).st_mode & S_IFMT, type);
    }

    // A fifo named error.txt or rkfview.ini never blocks: the line is lost, the
    // settings are the defaults, the exit goes on.
    void fifoNeverBlocks_data()
    {
        QTest::addColumn<bool>("reader"); // something reads the fifo meanwhile
        QTest::newRow("nobody reading") << false;
        QTest::newRow("a reader waiting") << true;
    }

    void fifoNeverBlocks()
    {
        QFETCH(bool, reader);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        for (const char *name : {"error.txt", "rkfview.ini"})
            QCOMPARE(::mkfifo(QFile::encodeName(folder + name).constData(), 0644), 0);
        const auto openFifo = [&](const char *name, int flags) {
            return ::open(QFile::encodeName(folder + name).constData(), flags | O_NONBLOCK | O_CLOEXEC);
        };
        const int logReader = reader ? openFifo("error.txt", O_RDONLY) : -1;
        const int iniWriter = reader ? openFifo("rkfview.ini", O_RDWR) : -1;
        bool appended = true;
        Settings settings;
        const bool returned = ReturnsWithin(
            10,
            [&] {
                appended = AppendErrorLog(folder, "line\r\n");
                settings = LoadConfig(folder, "/first/");
            },
            [&] { // lets a blocked open go on
                ::close(openFifo("error.txt", O_RDONLY));
                ::close(openFifo("rkfview.ini", O_WRONLY));
            });
        QVERIFY2(returned, "blocked on a fifo");
        QVERIFY(!appended);
        QCOMPARE(settings.LastReadDir, "/first/");
        if (reader) {
            char byte;
            QVERIFY(::read(logReader, &byte, 1) <= 0); // nothing was written into it
            ::close(logReader);
            ::close(iniWriter);
        }
        QVERIFY(S_ISFIFO(StatOf(folder + "error.txt").st_mode) &&
                S_ISFIFO(StatOf(folder + "rkfview.ini").st_mode));
    }

    // Where the folder refuses new files but the file itself may be written,
    // the file is rewritten in place.
    void onlyTheFileWritable()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/app/";
        const QString report = WriteTestFile(folder, "out.txt", "old report\r\n");
        WriteTestFile(folder, "rkfview.ini", kOldIni);
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        bool saved = false, created = true;
        Failure failure;
        {
            const FilePermissionsApply asUser;
            if (!asUser.active()) {
                ::chmod(QFile::encodeName(folder).constData(), 0755);
                QSKIP(qPrintable(asUser.reason()));
            }
            failure = WriteSaveFile(report, "new\r\n");
            saved = SaveConfig(folder, SettingsWithFolder(3));
            created = !WriteSaveFile(folder + "new.txt", "x").failed();
        }
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        QVERIFY2(!failure.failed(), qPrintable(failure.Description));
        QCOMPARE(ReadTestFile(report), "new\r\n");
        QVERIFY(saved);
        QCOMPARE(ReadTestFile(folder + "rkfview.ini"), QByteArray(kOldIni)
                                                           .replace("TopOnly=True", "TopOnly=False")
                                                           .replace("AlwaysOnTop=False", "AlwaysOnTop=True")
                                                           .replace("/scores/", "ddd"));
        QVERIFY2(!created, "a new file cannot be made there");
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"out.txt", "rkfview.ini"}));
    }

    // What the rewritten file keeps of the old one.
    void keptOnRewrite_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("hard link: both names see the new content") << "hard link";
        QTest::newRow("another user's file keeps its owner") << "owner";
        QTest::newRow("symbolic link stays a link to the rewritten file") << "symbolic link";
        QTest::newRow("mode kept") << "mode";
        QTest::newRow("shorter content cut, written in place") << "shorter in place";
    }

    void keptOnRewrite()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString real = WriteTestFile(dir.path(), kind == "symbolic link" ? "real.ini" : "rkfview.ini",
                                           kOldIni + QByteArray(kind.contains("shorter") ? 3000 : 0, ';'));
        const QByteArray realNative = QFile::encodeName(real);
        if (kind == "hard link" || kind.contains("shorter"))
            QCOMPARE(::link(realNative.constData(), QFile::encodeName(folder + "other").constData()), 0);
        if (kind == "symbolic link")
            QVERIFY(QFile::link(real, folder + "rkfview.ini"));
        if (kind == "owner") {
            if (::geteuid() != 0)
                QSKIP("giving a file to another user needs root");
            QCOMPARE(::chown(realNative.constData(), 65534, 65534), 0);
        }
        if (kind == "mode")
            QCOMPARE(::chmod(realNative.constData(), 0640), 0);
        const struct stat before = StatOf(real);

        QVERIFY(SaveConfig(folder, SettingsWithFolder(3)));
        const QByteArray expected = QByteArray(kOldIni)
                                        .replace("TopOnly=True", "TopOnly=False")
                                        .replace("AlwaysOnTop=False", "AlwaysOnTop=True")
                                        .replace("/scores/", "ddd") +
                                    QByteArray(kind.contains("shorter") ? 3000 : 0, ';');
        QCOMPARE(ReadTestFile(folder + "rkfview.ini"), expected);
        const struct stat after = StatOf(real);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        if (kind == "hard link" || kind.contains("shorter")) {
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(ReadTestFile(folder + "other"), expected);
        }
        if (kind == "symbolic link")
            QVERIFY(S_ISLNK(StatOf(folder + "rkfview.ini", false).st_mode));
        if (kind.contains("shorter")) { // in place again, to a shorter content: the old tail is gone
            QVERIFY(!platform::ReplaceFile(real, "short").failed());
            QCOMPARE(ReadTestFile(folder + "other"), "short");
        }
    }

    // A settings file beyond the limit is not read (the defaults) and never
    // rewritten; one at the limit is read as usual.
    void settingsSizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("exactly the limit: read") << platform::kMaxProfileBytes << true;
        QTest::newRow("one byte more: defaults, left alone") << platform::kMaxProfileBytes + 1 << false;
        QTest::newRow("many times more: defaults, left alone") << 8 * platform::kMaxProfileBytes << false;
    }

    void settingsSizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        // The settings, then comment lines up to the size, the last one without a line end.
        QByteArray ini = kOldIni;
        while (ini.size() + 100 <= size)
            ini += QByteArray(98, ';') + "\r\n";
        ini += QByteArray(size - ini.size(), ';');
        QCOMPARE(ini.size(), size);
        WriteTestFile(dir.path(), "rkfview.ini", ini);
        const Settings settings = LoadConfig(folder, "/first/");
        QCOMPARE(settings.TopOnly, read);
        QCOMPARE(settings.LastReadDir, read ? "/scores/" : "/first/");
        QCOMPARE(SaveConfig(folder, SettingsWithFolder(3)), read);
        if (!read)
            QCOMPARE(ReadTestFile(folder + "rkfview.ini"), ini);
        else
            QCOMPARE(ReadTestFile(folder + "rkfview.ini").size(), size - 5); // "/scores/" became "ddd"
    }
};

QTEST_GUILESS_MAIN(TestFileWrite)
#include "test_file_write.moc"
