#include "ScoreTree.h"

#include "RkfBytes.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray ScoreFile(int n)
{
    // Eight player names, code page 932 among them.
    static const char *const names[] = {"kaz",
                                        "MOMO",
                                        "\x82\x60\x82\x61\x82\x62\x82\x63",
                                        "RIVER",
                                        "\xb1\xb2\xb3",
                                        "P-8",
                                        "\x93\xa1\x8c\xb4",
                                        "sakura"};
    RkfBytes b;
    b.playCount(n % 500 + 1).trailer(n % 3 == 0 ? 0 : 1);
    for (int k = 0; k < 10; ++k) {
        const int score = 2000 - 90 * k - n % 50;
        b.name(k, names[(n + k) % 8])
            .score(k, float(score))
            .jpts(k, float(score * 2 / 3))
            .hs(k, 1.0f + 0.25f * float((n + k) % 9))
            .rhs(k, 2.5f)
            .maxCombo(k, std::int16_t(900 - 40 * k))
            .classCode(k, std::uint8_t(k % 7))
            .clearMark(k, k % 2 == 0 ? -1 : 0)
            .judge(k, std::int16_t(800 - 30 * k), std::int16_t(40 + k), std::int16_t(3 * k), std::int16_t(k),
                   std::int16_t(k % 4));
        b.option(k, 1, std::uint8_t(k % 5)).option(k, 2, std::uint8_t(k % 3));
    }
    return b.bytes();
}

bool WriteFile(const QByteArray &path, const QByteArray &bytes)
{
    std::FILE *file = std::fopen(path.constData(), "wb");
    if (!file)
        return false;
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return std::fclose(file) == 0 && written;
}

bool WriteFolder(const QByteArray &folder, int files, int &n)
{
    for (int i = 0; i < files; ++i, ++n) {
        if (!WriteFile(folder + "/chart_" + QByteArray::number(n).rightJustified(6, '0') + ".rkf",
                       ScoreFile(n)))
            return false;
    }
    return true;
}

} // namespace

bool WriteScoreTree(const QByteArray &root, const TreeShape &shape)
{
    int n = 0;
    if (!WriteFolder(root, shape.filesAtTop, n))
        return false;
    for (int s = 0; s < shape.subFolders; ++s) {
        const QByteArray folder = root + "/pack_" + QByteArray::number(s).rightJustified(4, '0');
        if (::mkdir(folder.constData(), 0755) != 0 || !WriteFolder(folder, shape.filesPerFolder, n))
            return false;
    }
    return true;
}

QList<TreeShape> BenchShapes()
{
    return {{"tree-20100", 100, 200, 100},
            {"tree-100100", 100, 1000, 100},
            {"tree-400100", 100, 4000, 100},
            {"flat-100000", 100000, 0, 0}};
}

QByteArray EnsureScoreTree(const QByteArray &base, const TreeShape &shape)
{
    const QByteArray root = base + '/' + shape.name;
    const QByteArray marker = root + ".complete";
    const QByteArray count = QByteArray::number(shape.total());
    QFile done(QFile::decodeName(marker));
    if (done.open(QIODevice::ReadOnly) && done.readAll().trimmed() == count)
        return root;
    done.close();
    QFile::remove(QFile::decodeName(marker));
    QDir(QFile::decodeName(root)).removeRecursively();
    std::printf("rkfbench: writing %d score files below %s ...\n", shape.total(), root.constData());
    std::fflush(stdout);
    if (!QDir().mkpath(QFile::decodeName(root)) || !WriteScoreTree(root, shape))
        return {};
    // The new files go to disk now, so that writing them back does not run
    // beside the timings.
    ::sync();
    if (!done.open(QIODevice::WriteOnly) || done.write(count + '\n') < 0)
        return {};
    return root;
}
