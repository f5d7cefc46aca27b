// rkfbench: builds a folder of 20,100 score files (100 at the top, 200
// sub-folders of 100) and times, with a warm file cache:
//   (a) listing the folders and reading 448 bytes of every file, raw;
//   (b) the folder search as the viewer runs it;
//   (c) rkfreport --csv over the folder, output to /dev/null;
// then the heap the loaded records hold.
// Usage: rkfbench [RUNS]   or   rkfbench --write FOLDER (only writes the files)

#include "RawScan.h"
#include "ScoreTree.h"
#include "SearchDriver.h"

#include "score/ScoreRecord.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr double kSearchTarget = 4.0;
constexpr double kReportTarget = 2.0;
constexpr double kHeapTarget = 1536.0;

struct Timing {
    double wall = 0; // milliseconds
    double cpu = 0;  // milliseconds of this process and the children it waited for
};

double CpuMs()
{
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(self.ru_utime) + ms(self.ru_stime) + ms(children.ru_utime) + ms(children.ru_stime);
}

// The fastest of runs runs; the count the step returns must be expected
// every time.
Timing BestOf(int runs, int expected, const std::function<int()> &step, bool &ok)
{
    Timing best;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double cpu = CpuMs();
        timer.start();
        const int count = step();
        const Timing t{double(timer.nsecsElapsed()) / 1e6, CpuMs() - cpu};
        if (count != expected) {
            std::fprintf(stderr, "rkfbench: a run gave %d files instead of %d\n", count, expected);
            ok = false;
        }
        if (i == 0 || t.wall < best.wall)
            best = t;
    }
    return best;
}

int RunReport(const QString &root)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(RKFREPORT_PATH), {QStringLiteral("--csv"), root});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return 0;
}

class QuietObserver : public SearchObserver {
  public:
    void fileFound(int, const QString &, int) override {}
    void processEvents() override {}
};

// Heap bytes held per record after a search, from the allocator's count of
// bytes in use before and after (the list of the last run freed first).
double HeapPerRecord(const QByteArray &root, int expected)
{
    ResetScoreFiles();
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    QuietObserver observer;
    const SearchResult result = DoFind(root, observer);
    const size_t after = mallinfo2().uordblks;
    if (result.found != expected)
        return -1;
    return double(after - before) / double(ScoreFiles.size());
}

void PrintRatio(const char *label, const Timing &t, const Timing &base, double target, bool &met)
{
    const double ratio = t.wall / base.wall;
    const bool ok = ratio <= target;
    met = met && ok;
    std::printf("%-44s %7.1f ms %4.2f x (a)  target <= %.0f x %-6s  cpu %6.1f ms %4.2f x (a)\n", label,
                t.wall, ratio, target, ok ? "met" : "MISSED", t.cpu, t.cpu / base.cpu);
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = MakeBenchApplication(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--write")
        return WriteScoreTree(argv[2], TreeShape()) ? 0 : 2;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const auto driver = MakeSearchDriver();

    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    const TreeShape shape;
    std::printf("rkfbench: writing %d score files below %s ...\n", shape.total(), root.constData());
    std::fflush(stdout);
    if (!dir.isValid() || !WriteScoreTree(root, shape)) {
        std::fputs("rkfbench: cannot write the score files\n", stderr);
        return 2;
    }

    // The new files go to disk first, so that writing them back does not run
    // beside the timings; one untimed pass brings every folder and file into
    // the cache. The three are timed in turn within each round, so a busy
    // moment of the machine weighs on all of them alike.
    ::sync();
    bool ok = RawScan(root) == shape.total();
    Timing raw, search, report;
    for (int round = 0; round < runs; ++round) {
        const auto keepBest = [round](Timing &best, const Timing &t) {
            if (round == 0 || t.wall < best.wall)
                best = t;
        };
        keepBest(raw, BestOf(
                          1, shape.total(), [&] { return RawScan(root); }, ok));
        keepBest(search, BestOf(
                             1, shape.total(), [&] { return driver->search(root); }, ok));
        keepBest(report, BestOf(
                             1, 0, [&] { return RunReport(QFile::decodeName(root)); }, ok));
    }
    const double heap = HeapPerRecord(root, shape.total());
    if (!ok || heap < 0) {
        std::fputs("rkfbench: a run failed\n", stderr);
        return 2;
    }

    bool met = true;
    std::printf("best of %d runs, warm file cache, %d files in %d folders\n", runs, shape.total(),
                shape.subFolders + 1);
    std::printf("%-44s %7.1f ms%36s cpu %6.1f ms\n", "(a) raw: list folders, read 448 bytes each", raw.wall,
                "", raw.cpu);
    PrintRatio(qPrintable(QStringLiteral("(b) ") + driver->description()), search, raw, kSearchTarget, met);
    PrintRatio("(c) rkfreport --csv > /dev/null", report, raw, kReportTarget, met);
    const bool heapOk = heap <= kHeapTarget;
    met = met && heapOk;
    std::printf("%-44s %9.0f bytes (record itself %zu)  target <= %.0f  %s\n", "heap held per loaded record",
                heap, sizeof(ScoreRecord), kHeapTarget, heapOk ? "met" : "MISSED");
    return met ? 0 : 1;
}
