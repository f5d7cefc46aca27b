// rkfbench: times the folder search and rkfreport against the raw cost of
// listing the folders and reading the files, over four folders written once
// and kept (20,100, 100,100 and 400,100 files in sub-folders of 100, a flat
// folder of 100,000):
//   (a) listing the folders and reading 448 bytes of every file, raw, one
//       file after another; (p) the same reads from as many threads at once
//       as the search reads with;
//   (b) the folder search as the viewer runs it, offscreen and on X11, with
//       the longest time in which no events were processed;
//   (c) rkfreport --csv over the folder, output to /dev/null;
//   (d), (e) rkfreport --overview and --json the same way, against (c);
// then the memory per loaded record from the process's resident size.
// Run with --help for the options.

#include "CpuTime.h"
#include "LibraryBench.h"
#include "ProcessMemory.h"
#include "RawScan.h"
#include "ScoreTree.h"
#include "SearchDriver.h"
#include "X11Session.h"

#include "search/FolderSearch.h"
#include "search/ReadAhead.h"
#include "search/ScoreFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <unistd.h>

namespace {

constexpr double kSearchGoal = 1.8;  // (b) offscreen, x (a)
constexpr double kX11Goal = 1.5;     // (b) on X11, x (a)
constexpr double kReportGoal = 1.25; // (c), x (a)
constexpr double kFlatReportGoal = 1.5;
constexpr double kGapGoalMs = 50;
constexpr double kSteadyGoalKiB = 1.0;
constexpr double kPeakGoalKiB = 1.25;
constexpr double kLinearGoal = 0.10;     // µs a file at 400,100 within 10% of 20,100
constexpr double kColdSearchGoal = 0.45; // (b) offscreen and X11, x (a), cache dropped
constexpr double kColdReportGoal = 0.35;
constexpr double kOtherFormGoal = 1.5; // (d) and (e), x (c)

const char *const kUsage =
    "usage: rkfbench [--runs N] [--dir FOLDER] [--sizes NAMES] [--x11-all] [--no-x11] [--cold]\n"
    "                [--floor-threads N,...]\n"
    "       rkfbench --write FOLDER     (only writes a folder of 20,100 score files)\n"
    "       rkfbench --library [--runs N] [--dir FOLDER]  (the library window and the live ranking)\n"
    "  --runs N      rounds per folder, the best counts (default 3)\n"
    "  --dir FOLDER  where the folders are written once and kept (default /var/tmp/rkfbench)\n"
    "  --sizes NAMES comma-separated among tree-20100,tree-100100,tree-400100,flat-100000\n"
    "                (default all; with --cold: tree-100100)\n"
    "  --x11-all     time the X11 search at every size (default: the first only)\n"
    "  --no-x11      no X11 search\n"
    "  --cold        drop the file cache before every timed step (needs root)\n"
    "  --floor-threads N,...  also time the parallel floor (p) with these numbers of\n"
    "                threads (default: the search's own, 16)\n";

struct Timing {
    double wall = 0; // milliseconds
    double cpu = 0;
    bool set = false;

    void keepBest(const Timing &t)
    {
        if (!set || t.wall < wall)
            *this = t;
        set = true;
    }
};

Timing TimeStep(const std::function<bool()> &step, bool &ok)
{
    QElapsedTimer timer;
    const double cpu = CpuMs();
    timer.start();
    if (!step())
        ok = false;
    return {double(timer.nsecsElapsed()) / 1e6, CpuMs() - cpu, true};
}

bool RunReport(const QByteArray &root, const QString &form = QStringLiteral("--csv"))
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral(RKFREPORT_PATH), {form, QFile::decodeName(root)});
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool DropCaches()
{
    ::sync();
    std::FILE *drop = std::fopen("/proc/sys/vm/drop_caches", "w");
    if (!drop)
        return false;
    const bool written = std::fputs("3", drop) >= 0;
    return std::fclose(drop) == 0 && written;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

const char *Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// --- child processes: a window search on another platform, a memory count ---

// Runs the search runs times in this process, then once more measuring the
// event gaps, and prints "found best-wall best-cpu longest-gap". Cold: the
// file cache is dropped before each.
int ChildSearch(const QByteArray &folder, int runs, bool cold)
{
    const auto driver = MakeSearchDriver();
    Timing best;
    int found = -1;
    for (int i = 0; i < runs; ++i) {
        if (cold)
            DropCaches();
        const SearchRun run = driver->search(folder);
        if (i > 0 && run.found != found)
            found = -1;
        else
            found = run.found;
        best.keepBest({run.wallMs, run.cpuMs, true});
    }
    if (cold)
        DropCaches();
    const SearchRun gapRun = driver->search(folder, true);
    if (gapRun.found != found)
        found = -1;
    const double gap = gapRun.gapMs;
    std::printf("%d %.3f %.3f %.3f\n", found, best.wall, best.cpu, gap);
    return found < 0 ? 2 : 0;
}

// One search in a fresh window; prints "found bare steady peak" in KiB, bare
// being the window's resident size before the search.
int ChildMemory(const QByteArray &folder)
{
    const auto driver = MakeSearchDriver();
    QCoreApplication::processEvents();
    const ProcessMemory bare = ReadProcessMemory();
    const bool reset = ResetPeakMemory();
    const SearchRun run = driver->search(folder);
    QCoreApplication::processEvents();
    const ProcessMemory after = ReadProcessMemory();
    std::printf("%d %.0f %.0f %.0f %d\n", run.found, bare.rssKiB, after.rssKiB,
                reset ? after.hwmKiB : std::max(after.hwmKiB, after.rssKiB), reset ? 1 : 0);
    return run.found < 0 ? 2 : 0;
}

struct ChildOutput {
    bool ok = false;
    QList<double> values;
};

ChildOutput RunChild(const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    ChildOutput output;
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return output;
    const QStringList fields =
        QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &field : fields)
        output.values << field.toDouble();
    output.ok = !output.values.isEmpty();
    return output;
}

// --- the table ---

struct Figures {
    TreeShape shape;
    Timing raw, search, report;
    QList<Timing> parallel; // (p), one for each number of threads
    Timing overview, json;  // rkfreport --overview and --json
    double gapMs = 0;
    bool x11Timed = false;
    Timing x11;
    double x11GapMs = 0;
    bool memoryMeasured = false;
    double steadyKiB = 0, peakKiB = 0;
};

void PrintFigures(const Figures &f, const QList<int> &floorThreads, bool cold, const QString &x11Why,
                  bool &met)
{
    const int files = f.shape.total();
    const auto perFile = [files](double ms) { return ms * 1e3 / files; };
    // The search's own number of readers, or else the first timed.
    const qsizetype own = std::max<qsizetype>(0, floorThreads.indexOf(ReadAhead::kReaders));
    const Timing &floor = f.parallel.value(own);
    std::printf("\n%s: %d files in %d folders\n", f.shape.name, files, f.shape.subFolders + 1);
    std::printf("  %-46s %8.1f ms  %5.2f us/file %42s cpu %7.1f ms\n",
                "(a) raw: list folders, read 448 bytes each", f.raw.wall, perFile(f.raw.wall), "", f.raw.cpu);
    for (qsizetype i = 0; i < f.parallel.size(); ++i) {
        const QByteArray label =
            "(p) the same reads from " + QByteArray::number(floorThreads[i]) + " threads";
        std::printf("  %-46s %8.1f ms  %5.2f us/file %5.2f x (a) %35s cpu %7.1f ms\n", label.constData(),
                    f.parallel[i].wall, perFile(f.parallel[i].wall), f.parallel[i].wall / f.raw.wall, "",
                    f.parallel[i].cpu);
    }
    const auto ratioLine = [&](const char *label, const Timing &t, double goal) {
        const double ratio = t.wall / f.raw.wall;
        // No goal (a negative one): the figure is only shown.
        const bool ok = goal < 0 || ratio <= goal;
        met = met && ok;
        const QByteArray verdict =
            goal < 0 ? QByteArray("no goal")
                     : QByteArray("goal <= ") + QByteArray::number(goal, 'f', 2) + " x " + Verdict(ok);
        std::printf("  %-46s %8.1f ms  %5.2f us/file %5.2f x (a) %5.2f x (p)  %-22s cpu %7.1f ms\n", label,
                    t.wall, perFile(t.wall), ratio, t.wall / floor.wall, verdict.constData(), t.cpu);
    };
    ratioLine("(b) window search, offscreen", f.search, cold ? kColdSearchGoal : kSearchGoal);
    if (f.x11Timed)
        ratioLine("(b) window search, X11 (xcb)", f.x11, cold ? kColdSearchGoal : kX11Goal);
    else if (!x11Why.isEmpty())
        std::printf("  %-46s not timed: %s\n", "(b) window search, X11 (xcb)", qPrintable(x11Why));
    const bool flat = f.shape.subFolders == 0;
    ratioLine("(c) rkfreport --csv > /dev/null", f.report,
              cold   ? kColdReportGoal
              : flat ? kFlatReportGoal
                     : kReportGoal);
    // The other forms against --csv: the same walk, other output.
    const auto formLine = [&](const char *label, const Timing &t) {
        const double ratio = t.wall / f.report.wall;
        const bool ok = ratio <= kOtherFormGoal;
        met = met && ok;
        std::printf("  %-46s %8.1f ms  %5.2f us/file %5.2f x (c) %16s goal <= %.1f x %-6s cpu %7.1f ms\n",
                    label, t.wall, perFile(t.wall), ratio, "", kOtherFormGoal, Verdict(ok), t.cpu);
    };
    formLine("(d) rkfreport --overview > /dev/null", f.overview);
    formLine("(e) rkfreport --json > /dev/null", f.json);
    const double gap = std::max(f.gapMs, f.x11GapMs);
    const bool gapOk = gap <= kGapGoalMs;
    met = met && gapOk;
    std::printf("  %-46s %8.1f ms  (offscreen %.1f, X11 %s)  goal <= %.0f ms %s\n",
                "longest time without processed events", gap, f.gapMs,
                f.x11Timed ? qPrintable(QString::number(f.x11GapMs, 'f', 1)) : "-", kGapGoalMs,
                Verdict(gapOk));
    if (f.memoryMeasured) {
        const bool memOk = f.steadyKiB <= kSteadyGoalKiB && f.peakKiB <= kPeakGoalKiB;
        met = met && memOk;
        std::printf("  %-46s %5.2f / %5.2f KiB  goal <= %.2f / %.2f KiB %s\n",
                    "memory per record, steady / peak (RSS)", f.steadyKiB, f.peakKiB, kSteadyGoalKiB,
                    kPeakGoalKiB, Verdict(memOk));
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto app = MakeBenchApplication(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--write"))
        return WriteScoreTree(QFile::encodeName(args[1]), TreeShape()) ? 0 : 2;
    if (args.size() == 4 && args[0] == QLatin1String("--child-search"))
        return ChildSearch(QFile::encodeName(args[1]), std::max(1, args[2].toInt()),
                           args[3] == QLatin1String("cold"));
    if (args.size() == 2 && args[0] == QLatin1String("--child-memory"))
        return ChildMemory(QFile::encodeName(args[1]));
    if (!args.isEmpty() && args[0] == QLatin1String("--library"))
        return LibraryBench(args.mid(1));
    if (!args.isEmpty() && args[0] == QLatin1String("--child-library"))
        return LibraryBench(args);

    int runs = 3;
    QString base = QStringLiteral("/var/tmp/rkfbench");
    QStringList sizes;
    QList<int> floorThreads{ReadAhead::kReaders};
    bool x11All = false, x11 = true, cold = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--runs") && hasValue)
            runs = std::max(1, args[++i].toInt());
        else if (a == QLatin1String("--dir") && hasValue)
            base = args[++i];
        else if (a == QLatin1String("--sizes") && hasValue)
            sizes = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (a == QLatin1String("--x11-all"))
            x11All = true;
        else if (a == QLatin1String("--no-x11"))
            x11 = false;
        else if (a == QLatin1String("--cold"))
            cold = true;
        else if (a == QLatin1String("--floor-threads") && hasValue) {
            floorThreads.clear();
            for (const QString &n : args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts))
                floorThreads << std::max(1, n.toInt());
            if (floorThreads.isEmpty())
                floorThreads << ReadAhead::kReaders;
        } else if (a.toInt() > 0) // the old form: rkfbench RUNS
            runs = a.toInt();
        else {
            std::fputs(kUsage, a == QLatin1String("--help") ? stdout : stderr);
            return a == QLatin1String("--help") ? 0 : 2;
        }
    }
    if (sizes.isEmpty())
        sizes = cold ? QStringList{QStringLiteral("tree-100100")} : QStringList{};
    QList<TreeShape> shapes;
    for (const TreeShape &shape : BenchShapes()) {
        if (sizes.isEmpty() || sizes.contains(QLatin1String(shape.name)))
            shapes << shape;
    }
    if (shapes.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!QDir().mkpath(base)) {
        std::fprintf(stderr, "rkfbench: cannot make %s\n", qPrintable(base));
        return 2;
    }

    QString coldWhy;
    if (cold && !DropCaches()) {
        coldWhy = QStringLiteral("the file cache cannot be dropped here (needs root and a writable "
                                 "/proc/sys/vm/drop_caches): the timings below are WARM");
        cold = false;
    }

    const auto driver = MakeSearchDriver();
    X11Session session;
    QString x11Why;
    if (!DriverHasWindow())
        x11Why = QStringLiteral("the viewer is not built");
    else if (!x11)
        x11Why = QStringLiteral("--no-x11");
    else if (!session.open())
        x11Why = session.why();
    QProcessEnvironment x11Env = QProcessEnvironment::systemEnvironment();
    x11Env.insert(QStringLiteral("DISPLAY"), session.display());
    x11Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcessEnvironment offscreenEnv = QProcessEnvironment::systemEnvironment();
    offscreenEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    const QString loadBefore = LoadAverage();
    bool ok = true;
    QList<Figures> table;
    for (const TreeShape &shape : shapes) {
        Figures f;
        f.shape = shape;
        const QByteArray root = EnsureScoreTree(QFile::encodeName(base), shape);
        if (root.isEmpty()) {
            std::fprintf(stderr, "rkfbench: cannot write the score files below %s\n", qPrintable(base));
            return 2;
        }
        std::printf("rkfbench: timing %s ...\n", shape.name);
        std::fflush(stdout);
        const int expected = shape.total();
        // One untimed pass brings every folder and file into the cache.
        if (!cold && RawScan(root) != expected)
            ok = false;
        // The three are timed in turn within each round, so a busy moment of
        // the machine weighs on all of them alike.
        for (int round = 0; round < runs; ++round) {
            // The cache is dropped before each step, outside its time.
            if (cold)
                DropCaches();
            f.raw.keepBest(TimeStep([&] { return RawScan(root) == expected; }, ok));
            f.parallel.resize(floorThreads.size());
            for (qsizetype i = 0; i < floorThreads.size(); ++i) {
                if (cold)
                    DropCaches();
                f.parallel[i].keepBest(
                    TimeStep([&] { return RawScanParallel(root, floorThreads[i]) == expected; }, ok));
            }
            if (cold)
                DropCaches();
            const SearchRun run = driver->search(root);
            if (run.found != expected)
                ok = false;
            f.search.keepBest({run.wallMs, run.cpuMs, true});
            if (cold)
                DropCaches();
            f.report.keepBest(TimeStep([&] { return RunReport(root); }, ok));
            if (cold)
                DropCaches();
            f.overview.keepBest(TimeStep([&] { return RunReport(root, QStringLiteral("--overview")); }, ok));
            if (cold)
                DropCaches();
            f.json.keepBest(TimeStep([&] { return RunReport(root, QStringLiteral("--json")); }, ok));
        }
        // The event gaps, in a search of their own after the timed ones (so
        // with an earlier search of the same size to clear).
        if (cold)
            DropCaches();
        const SearchRun gapRun = driver->search(root, true);
        if (gapRun.found != expected)
            ok = false;
        f.gapMs = gapRun.gapMs;
        if (x11Why.isEmpty() && (x11All || table.isEmpty())) {
            const ChildOutput out = RunChild({QStringLiteral("--child-search"), QFile::decodeName(root),
                                              QString::number(runs), cold ? "cold" : "warm"},
                                             x11Env);
            if (!out.ok || out.values.size() < 4 || int(out.values[0]) != expected) {
                ok = false;
            } else {
                f.x11Timed = true;
                f.x11 = {out.values[1], out.values[2], true};
                f.x11GapMs = out.values[3];
            }
        }
        if (DriverHasWindow() && !cold) {
            const ChildOutput out =
                RunChild({QStringLiteral("--child-memory"), QFile::decodeName(root)}, offscreenEnv);
            if (!out.ok || out.values.size() < 4 || int(out.values[0]) != expected) {
                ok = false;
            } else {
                f.memoryMeasured = true;
                f.steadyKiB = (out.values[2] - out.values[1]) / expected;
                f.peakKiB = (out.values[3] - out.values[1]) / expected;
            }
        }
        table << f;
    }
    if (!ok) {
        std::fputs("rkfbench: a run failed\n", stderr);
        return 2;
    }

    bool met = true;
    std::printf("\nbest of %d runs, %s file cache; load average before %s, after %s\n", runs,
                cold ? "COLD (sync, then 3 written to /proc/sys/vm/drop_caches before every step)" : "warm",
                qPrintable(loadBefore), qPrintable(LoadAverage()));
    if (!coldWhy.isEmpty())
        std::printf("%s\n", qPrintable(coldWhy));
    if (x11Why.isEmpty())
        std::printf("X11: %s\n", qPrintable(session.why()));
    std::printf("(b) is %s; memory: VmRSS / VmHWM after one search minus the bare window's VmRSS\n",
                qPrintable(driver->description()));
    for (const Figures &f : table)
        PrintFigures(f, floorThreads, cold, x11Why, met);

    // Linear growth: the search's time a file at the largest tree against the smallest.
    const auto find = [&](const char *name) -> const Figures * {
        for (const Figures &f : table)
            if (std::strcmp(f.shape.name, name) == 0)
                return &f;
        return nullptr;
    };
    const Figures *small = find("tree-20100"), *large = find("tree-400100");
    if (small && large && !cold) {
        const double a = small->search.wall / small->shape.total();
        const double b = large->search.wall / large->shape.total();
        const bool linear = b <= a * (1 + kLinearGoal);
        met = met && linear;
        std::printf("\nlinear: (b) %.2f us/file at 400,100 against %.2f at 20,100, %+.0f%%  goal within "
                    "+%.0f%% %s\n",
                    b * 1e3, a * 1e3, (b / a - 1) * 100, kLinearGoal * 100, Verdict(linear));
    }
    return met ? 0 : 1;
}
