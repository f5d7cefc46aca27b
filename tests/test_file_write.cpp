// The files the program writes (saved reports, the settings, the error log)
// on a full disk, onto special files, in folders only the file itself may be
// written in, in shared folders where others plant links, and with hard
// links, other owners, attributes and oversized settings.

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
#include <fstream>
#include <future>
#include <latch>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

const QByteArray kOldIni = "[Main]\r\nKey=\"rkfview\"\r\n[Config]\r\nTopOnly=True\r\nAlwaysOnTop=False\r\n"
                           "LastReadDir=\"/scores/\"\r\n";
// kOldIni once SettingsWithFolder(3) is saved over it.
const QByteArray kSavedIni = QByteArray(kOldIni)
                                 .replace("TopOnly=True", "TopOnly=False")
                                 .replace("AlwaysOnTop=False", "AlwaysOnTop=True")
                                 .replace("/scores/", "ddd");

struct stat StatOf(const QString &path, bool followLinks = true)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if ((followLinks ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st)) != 0)
        st.st_mode = 0;
    return st;
}

// Settings as the program saves them, with a last-read folder of the given length.
Settings SettingsWithFolder(qsizetype length)
{
    return Settings{false, true, QString(length, u'd')};
}

// The extended attributes of a file (its ACL among them), by name.
QMap<QByteArray, QByteArray> Attributes(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray names(4096, '\0');
    names.truncate(std::max<ssize_t>(0, ::listxattr(native.constData(), names.data(), names.size())));
    QMap<QByteArray, QByteArray> attributes;
    for (const QByteArray &name : names.split('\0')) {
        QByteArray value(4096, '\0');
        if (!name.isEmpty())
            attributes[name] =
                value.left(::getxattr(native.constData(), name.constData(), value.data(), 4096));
    }
    return attributes;
}

// An access control list granting user 65534 read and write, as the system stores it.
QByteArray AclForNobody()
{
    QByteArray acl("\x02\0\0\0", 4);
    const auto entry = [&](quint16 tag, quint16 perm, quint32 id) {
        acl.append(reinterpret_cast<const char *>(&tag), 2).append(reinterpret_cast<const char *>(&perm), 2);
        acl.append(reinterpret_cast<const char *>(&id), 4);
    };
    entry(0x01, 6, ~0u); // owner
    entry(0x02, 6, 65534);
    entry(0x04, 6, ~0u); // group
    entry(0x10, 6, ~0u); // mask
    entry(0x20, 4, ~0u); // others
    return acl;
}

// A setting under /proc/sys/fs held at a value for the object's lifetime.
class KernelSetting {
  public:
    KernelSetting(const char *name, int value) : m_path(QByteArray("/proc/sys/fs/") + name)
    {
        m_old = ReadTestFile(m_path).trimmed();
        m_set = !m_old.isEmpty() && put(QByteArray::number(value));
    }
    ~KernelSetting()
    {
        if (m_set)
            put(m_old);
    }
    bool set() const { return m_set; }

  private:
    bool put(const QByteArray &value)
    {
        return bool(std::ofstream(m_path.constData()) << value.constData() << std::flush);
    }
    QByteArray m_path;
    QByteArray m_old;
    bool m_set = false;
};

} // namespace

class TestFileWrite : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { ::signal(SIGPIPE, SIG_IGN); } // a fifo closed by its reader must not end the test

    // Every write of ours on a disk that is full (or read-only): it fails and
    // leaves the old file byte for byte; a save names the reason in Japanese
    // whatever the locale (the tests run under C.UTF-8).
    void fullDisk_data()
    {
        QTest::addColumn<QString>("write");
        const QString noSpace = QString::fromUtf8("ディスクの空き領域が足りません。");
        QTest::addColumn<QString>("reason"); // of a failed save
        QTest::newRow("report saved over an existing file") << "report" << noSpace;
        QTest::newRow("report that fits only in part") << "partial report" << noSpace;
        QTest::newRow("new report file: nothing left behind") << "new report" << noSpace;
        QTest::newRow("report on a read-only disk")
            << "read-only report" << QString::fromUtf8("読み取り専用のファイル システムです。");
        QTest::newRow("settings saved") << "settings" << QString();
        QTest::newRow("foreign settings file reset at start-up") << "reset" << QString();
        QTest::newRow("hard-linked settings file, written in place") << "linked settings" << QString();
        QTest::newRow("error log line that fits only in part") << "log" << QString();
    }

    void fullDisk()
    {
        QFETCH(QString, write);
        QFETCH(QString, reason);
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
        const QByteArray filler = QFile::encodeName(folder + "filler");
        if (write == "read-only report")
            QCOMPARE(::mount(nullptr, QFile::encodeName(dir.path()).constData(), nullptr,
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr),
                     0);
        else
            QVERIFY(const_cast<SmallDisk &>(disk).fill());
        if (write == "partial report") // room for the first 8 KiB only
            QCOMPARE(::truncate(filler.constData(), QFileInfo(folder + "filler").size() - 8192), 0);

        const QByteArray big(10000, 'r');
        if (write.contains("report")) {
            QCOMPARE(WriteSaveFile(target, big).Description, reason);
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
        QStringList left; // and no temporary file
        if (write != "read-only report")
            left << "filler";
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

    // A folder such as /tmp, where anyone may make entries: another user's
    // link there is never followed and another user's file never rewritten,
    // whatever the kernel's own protection; links the kernel could not
    // resolve are refused. The user's private file stays as it was.
    void sharedFolder_data()
    {
        QTest::addColumn<QString>("plant");  // what is in the shared folder
        QTest::addColumn<int>("protection"); // fs.protected_symlinks and fs.protected_regular
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("code");
        const int foreignLink = int(platform::WriteError::ForeignLink);
        const int failed = int(platform::WriteError::Failed);
        QTest::newRow("another user's link to my private file") << "link" << 1 << foreignLink << 0;
        QTest::newRow("the same, kernel protection off") << "link" << 0 << foreignLink << 0;
        QTest::newRow("another user's dangling link") << "dangling" << 1 << foreignLink << 0;
        QTest::newRow("another user's link as a folder on the way") << "folder link" << 1 << foreignLink << 0;
        QTest::newRow("error log through another user's link") << "log link" << 1 << foreignLink << 0;
        QTest::newRow("another user's file") << "file" << 1 << int(platform::WriteError::ForeignFile) << 0;
        QTest::newRow("a link loop") << "loop" << 1 << failed << ELOOP;
        QTest::newRow("my own link: followed") << "own link" << 1 << int(platform::WriteError::None) << 0;
    }

    void sharedFolder()
    {
        QFETCH(QString, plant);
        QFETCH(int, protection);
        QFETCH(int, error);
        QFETCH(int, code);
        if (::geteuid() != 0)
            QSKIP("making entries of another user needs root");
        const KernelSetting links("protected_symlinks", protection);
        const KernelSetting files("protected_regular", protection);
        if (!links.set() || !files.set())
            QSKIP("fs.protected_symlinks and fs.protected_regular cannot be set here");
        QTemporaryDir dir;
        const QString home = dir.path() + "/home/";
        const QString shared = dir.path() + "/shared/";
        const QString secret = WriteTestFile(home, "private.txt", "secret");
        QVERIFY(QDir().mkdir(shared));
        QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
        QString target = shared + "out.txt";
        const auto link = [&](const QString &to, const QString &at, uid_t owner) {
            QVERIFY(QFile::link(to, at));
            QCOMPARE(::lchown(QFile::encodeName(at).constData(), owner, owner), 0);
        };
        if (plant == "link" || plant == "log link" || plant == "own link")
            link(secret, target, plant == "own link" ? 0 : 65534);
        if (plant == "dangling")
            link(home + "new.txt", target, 65534);
        if (plant == "folder link") {
            link(home, shared + "d", 65534);
            target = shared + "d/private.txt";
        }
        if (plant == "file") {
            WriteTestFile(shared, "out.txt", "theirs");
            QCOMPARE(::chown(QFile::encodeName(target).constData(), 65534, 65534), 0);
        }
        if (plant == "loop")
            link(target, target, 0);
        const mode_t type = StatOf(target, false).st_mode & S_IFMT;
        const QByteArray planted = ReadTestFile(target);

        const platform::WriteResult written = plant == "log link" ? platform::AppendToFile(target, "log\r\n")
                                                                  : platform::ReplaceFile(target, "new\r\n");
        QCOMPARE(int(written.error), error);
        QCOMPARE(written.code, code);
        QCOMPARE(ReadTestFile(secret), plant == "own link" ? "new\r\n" : "secret");
        QCOMPARE(StatOf(target, false).st_mode & S_IFMT, type);
        if (plant == "file")
            QCOMPARE(ReadTestFile(target), planted);
        QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden), QStringList{"private.txt"});
    }

    // Two saves at once to a file rewritten in place (it has two links): the
    // file ends as one of them, never a mix.
    void simultaneousInPlace()
    {
        QTemporaryDir dir;
        const QString path = WriteTestFile(dir.path(), "out.txt", "old");
        QCOMPARE(
            ::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath("other")).constData()),
            0);
        const QByteArray shortText(100, 's');
        const QByteArray longText(3 << 19, 'l'); // written in more than one piece
        for (int round = 0; round < 100; ++round) {
            std::latch start(2);
            const auto save = [&](const QByteArray &text) {
                start.arrive_and_wait();
                return !platform::ReplaceFile(path, text).failed();
            };
            std::future<bool> other = std::async(std::launch::async, save, longText);
            QVERIFY(save(shortText));
            QVERIFY(other.get());
            const QByteArray now = ReadTestFile(path);
            QVERIFY2(now == shortText || now == longText, qPrintable(QString::number(now.size())));
        }
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
        std::future<void> done = std::async(std::launch::async, [&] {
            appended = AppendErrorLog(folder, "line\r\n");
            settings = LoadConfig(folder, "/first/");
        });
        const bool returned = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        ::close(openFifo("error.txt", O_RDONLY)); // lets a blocked open go on
        ::close(openFifo("rkfview.ini", O_WRONLY));
        done.wait();
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
        QCOMPARE(ReadTestFile(folder + "rkfview.ini"), kSavedIni);
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
        QTest::newRow("group, set-group-ID bit, ACL and user attribute kept") << "attributes";
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
        if (kind == "attributes") {
            const QByteArray acl = AclForNobody();
            if (::setxattr(realNative.constData(), "user.origin", "chart", 5, 0) != 0 ||
                ::setxattr(realNative.constData(), "system.posix_acl_access", acl.constData(), acl.size(),
                           0) != 0)
                QSKIP("the file system keeps no user attributes or ACLs here");
            if (::chown(realNative.constData(), uid_t(-1), 65534) != 0)
                QSKIP("giving a file a group of one's own needs a second group");
            QCOMPARE(::chmod(realNative.constData(), 02664), 0);
        }
        const struct stat before = StatOf(real);
        const QMap<QByteArray, QByteArray> attributes = Attributes(real);

        QVERIFY(SaveConfig(folder, SettingsWithFolder(3)));
        const QByteArray expected = kSavedIni + QByteArray(kind.contains("shorter") ? 3000 : 0, ';');
        QCOMPARE(ReadTestFile(folder + "rkfview.ini"), expected);
        const struct stat after = StatOf(real);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(Attributes(real), attributes);
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
        QTest::addColumn<int>("folderLength"); // of the folder saved, in place of "/scores/"
        QTest::newRow("exactly the limit: read") << platform::kMaxProfileBytes << true << 3;
        QTest::newRow("exactly the limit, a save past it: not written")
            << platform::kMaxProfileBytes << true << 20;
        QTest::newRow("one byte more: defaults, left alone") << platform::kMaxProfileBytes + 1 << false << 3;
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
        QFETCH(int, folderLength);
        const qint64 saved = size - 8 + folderLength;
        QCOMPARE(SaveConfig(folder, SettingsWithFolder(folderLength)), read && saved <= size);
        if (!read || saved > size)
            QCOMPARE(ReadTestFile(folder + "rkfview.ini"), ini);
        else
            QCOMPARE(ReadTestFile(folder + "rkfview.ini").size(), saved);
    }
};

QTEST_GUILESS_MAIN(TestFileWrite)
#include "test_file_write.moc"
