#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// Shared by the fuzz targets: a failed property prints what differs and
// aborts, so libFuzzer keeps the input as a crash.
namespace fuzz {

[[noreturn]] inline void Fail(const char *what, const QString &expected = QString(),
                              const QString &actual = QString())
{
    std::fprintf(stderr, "property failed: %s\n  expected: %s\n  actual:   %s\n", what,
                 expected.toUtf8().toPercentEncoding(" ").constData(),
                 actual.toUtf8().toPercentEncoding(" ").constData());
    std::abort();
}

inline void Check(bool ok, const char *what, const QString &expected = QString(),
                  const QString &actual = QString())
{
    if (!ok)
        Fail(what, expected, actual);
}

inline void CheckEqual(const QString &expected, const QString &actual, const char *what)
{
    if (expected != actual)
        Fail(what, expected, actual);
}

inline void CheckEqual(const QByteArray &expected, const QByteArray &actual, const char *what)
{
    if (expected != actual)
        Fail(what, QString::fromLatin1(expected.toHex(' ')), QString::fromLatin1(actual.toHex(' ')));
}

// A folder of the process's own for the files a target writes, removed at
// exit. It is made and removed without Qt: its removal runs after Qt's own
// globals are gone.
inline QString ScratchFolder()
{
    struct Folder {
        std::string path;
        Folder()
        {
            const char *tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/rkffuzz-XXXXXX";
            if (!mkdtemp(pattern.data()))
                Fail("no scratch folder");
            path = pattern;
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return QString::fromStdString(folder.path);
}

} // namespace fuzz
