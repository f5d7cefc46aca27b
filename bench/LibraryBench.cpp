// rkfbench --library: what the user waits for in the library window ("一覧")
// over the tree of 100,100 files, offscreen and on X11, and for the shown
// ranking to follow a write of its file; and the memory the window takes a
// record, from the resident size at two tree sizes (so the window's fixed
// cost drops out).

#include "LibraryBench.h"

#include "ProcessMemory.h"
#include "ScoreTree.h"
#include "X11Session.h"

#include "search/ScoreFiles.h"
#include "window/FileListView.h"
#include "window/Main.h"
#include "window/frmLibrary.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

constexpr double kOpenGoalMs = 150;
constexpr double kSortGoalMs = 300;
constexpr double kFilterGoalMs = 50;
constexpr double kMemoryGoalBytes = 64;
constexpr double kRefreshGoalMs = 500;

// Notes that a widget received a paint event.
class PaintWatch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Milliseconds from the step to the end of the event pass that painted the
// widget the step returns.
double UntilPainted(const std::function<QWidget *()> &step)
{
    QElapsedTimer clock;
    clock.start();
    QWidget *widget = step();
    PaintWatch watch;
    widget->installEventFilter(&watch);
    while (!watch.painted && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    widget->removeEventFilter(&watch);
    return watch.painted ? ms : -1;
}

// In a child process: searches the folder, opens the library window and
// prints "found open sort filter refresh memory-bytes", each time the
// slowest of its tries.
int ChildLibrary(const QByteArray &folder)
{
    QTemporaryDir programFolder;
    const auto window = Main(programFolder.path(), {});
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 2;
    window->SearchFolder(folder);
    const int found = window->lstBMS->count();
    QCoreApplication::processEvents();
    const double before = ReadProcessMemory().rssKiB;

    frmLibrary *library = nullptr;
    const double open = UntilPainted([&] {
        window->menuViewList->trigger();
        library = window->Library;
        return library->lstLibrary->viewport();
    });
    QWidget *rows = library->lstLibrary->viewport();
    QTest::qWait(200);
    const double memory = (ReadProcessMemory().rssKiB - before) * 1024.0;

    QHeaderView *header = library->lstLibrary->horizontalHeader();
    double sort = 0;
    for (int click = 0; click < 3; ++click) {
        sort = std::max(sort, UntilPainted([&] {
                            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                              {header->sectionViewportPosition(5) + 5, header->height() / 2});
                            return rows;
                        }));
    }
    double filter = 0;
    for (const Qt::Key key : {Qt::Key_9, Qt::Key_9, Qt::Key_Backspace, Qt::Key_Backspace})
        filter = std::max(filter, UntilPainted([&] {
                              QTest::keyClick(library->txtFilter, key);
                              return rows;
                          }));

    // A found file shown, then written in place three times.
    window->lstBMS->setCurrentRow(found / 2);
    const ScoreRecord &shown = ScoreFiles[found / 2];
    const QString path = shown.FilePath();
    QByteArray original;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        original = file.readAll();
    }
    QByteArray bytes = original;
    double refresh = 0;
    for (int i = 1; i <= 3; ++i) {
        const float score = 5000.0f + float(i);
        std::memcpy(bytes.data() + 14, &score, sizeof score);
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || file.write(bytes) != bytes.size())
            return 2;
        file.close();
        QElapsedTimer clock;
        clock.start();
        const QString expected = QString::number(5000 + i);
        while (window->lstScore->topLevelItem(0)->text(2) != expected && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        refresh = std::max(refresh, double(clock.nsecsElapsed()) / 1e6);
    }
    // The tree's file as it was.
    QFile restore(path);
    if (!restore.open(QIODevice::WriteOnly) || restore.write(original) != original.size())
        return 2;
    std::printf("%d %.3f %.3f %.3f %.3f %.0f\n", found, open, sort, filter, refresh, memory);
    return 0;
}

struct LibraryFigures {
    bool ok = false;
    int found = 0;
    double open = 0, sort = 0, filter = 0, refresh = 0, memory = 0;
};

LibraryFigures RunChild(const QByteArray &folder, const QString &platform, const QString &display)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child-library"), QFile::decodeName(folder)});
    LibraryFigures f;
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return f;
    const QList<QByteArray> v = child.readAllStandardOutput().simplified().split(' ');
    if (v.size() != 6)
        return f;
    f = {true,           v[0].toInt(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(), v[4].toDouble(),
         v[5].toDouble()};
    return f;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly)
               ? QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2)
               : QStringLiteral("unknown");
}

bool Line(const char *label, double value, const char *unit, double goal)
{
    const bool met = value >= 0 && value <= goal;
    std::printf("  %-44s %9.1f %-5s goal <= %.0f %s %s\n", label, value, unit, goal, unit,
                met ? "met" : "MISSED");
    return met;
}

} // namespace

int LibraryBench(const QStringList &args)
{
    if (args.size() == 2 && args[0] == QLatin1String("--child-library"))
        return ChildLibrary(QFile::encodeName(args[1]));

    QString base = QStringLiteral("/var/tmp/rkfbench");
    int runs = 3;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--dir"))
            base = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
    }
    QByteArray small, large;
    for (const TreeShape &shape : BenchShapes()) {
        if (qstrcmp(shape.name, "tree-20100") == 0)
            small = EnsureScoreTree(QFile::encodeName(base), shape);
        else if (qstrcmp(shape.name, "tree-100100") == 0)
            large = EnsureScoreTree(QFile::encodeName(base), shape);
    }
    if (small.isEmpty() || large.isEmpty()) {
        std::fprintf(stderr, "rkfbench: cannot write the score files below %s\n", qPrintable(base));
        return 2;
    }
    X11Session session;
    const bool x11 = session.open();
    const QString loadBefore = LoadAverage();

    // The best of the runs counts for each figure, as for the search.
    const auto best = [&](const QByteArray &folder, const QString &platform, const QString &display) {
        LibraryFigures b;
        for (int run = 0; run < runs; ++run) {
            const LibraryFigures f = RunChild(folder, platform, display);
            if (!f.ok)
                return f;
            if (!b.ok)
                b = f;
            b.open = std::min(b.open, f.open);
            b.sort = std::min(b.sort, f.sort);
            b.filter = std::min(b.filter, f.filter);
            b.refresh = std::min(b.refresh, f.refresh);
            b.memory = std::min(b.memory, f.memory);
        }
        return b;
    };
    const LibraryFigures offscreen = best(large, QStringLiteral("offscreen"), QString());
    const LibraryFigures smaller = best(small, QStringLiteral("offscreen"), QString());
    const LibraryFigures onX11 =
        x11 ? best(large, QStringLiteral("xcb"), session.display()) : LibraryFigures();
    if (!offscreen.ok || !smaller.ok || (x11 && !onX11.ok)) {
        std::fputs("rkfbench: a run failed\n", stderr);
        return 2;
    }

    std::printf("library window over %d records, best of %d runs; load average before %s, after %s\n",
                offscreen.found, runs, qPrintable(loadBefore), qPrintable(LoadAverage()));
    std::printf("X11: %s\n", qPrintable(x11 ? session.why() : QStringLiteral("not timed: ") + session.why()));
    bool met = true;
    const auto figures = [&](const char *where, const LibraryFigures &f) {
        std::printf("%s\n", where);
        met = Line("open the library window to the first rows", f.open, "ms", kOpenGoalMs) && met;
        met = Line("sort by Score, click to repaint (slowest of 3)", f.sort, "ms", kSortGoalMs) && met;
        met = Line("filter keystroke to repaint (slowest of 4)", f.filter, "ms", kFilterGoalMs) && met;
        met = Line("shown file rewritten to shown (slowest of 3)", f.refresh, "ms", kRefreshGoalMs) && met;
    };
    figures("offscreen", offscreen);
    if (x11)
        figures("X11 (xcb)", onX11);
    const double perRecord = (offscreen.memory - smaller.memory) / double(offscreen.found - smaller.found);
    std::printf("memory (RSS) of the opened window: %.0f KiB over %d records, %.0f KiB over %d\n",
                offscreen.memory / 1024, offscreen.found, smaller.memory / 1024, smaller.found);
    met = Line("memory a record beyond today's (slope)", perRecord, "B", kMemoryGoalBytes) && met;
    return met ? 0 : 1;
}
