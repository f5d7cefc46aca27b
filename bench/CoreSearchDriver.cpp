#include "SearchDriver.h"

#include "CpuTime.h"
#include "EventGap.h"

#include "search/FolderSearch.h"

#include <QElapsedTimer>

namespace {

// Stands in for the window: events are processed after every entry, found
// files are only counted.
class EventLoopObserver : public SearchObserver {
  public:
    void fileFound(int, const QString &, int) override {}
    void processEvents() override { QCoreApplication::processEvents(); }
};

class CoreSearchDriver : public SearchDriver {
  public:
    QString description() const override { return QStringLiteral("DoFind, events processed per entry"); }

    SearchRun search(const QByteArray &folder, bool measureGap) override
    {
        SearchRun run;
        EventLoopObserver observer;
        const double cpu = CpuMs();
        QElapsedTimer timer;
        timer.start();
        if (measureGap)
            m_gap.start();
        const SearchResult result = DoFind(folder, observer);
        run.gapMs = measureGap ? m_gap.stop() : 0;
        run.wallMs = double(timer.nsecsElapsed()) / 1e6;
        run.cpuMs = CpuMs() - cpu;
        run.found = result.failed() ? -1 : result.found;
        return run;
    }

  private:
    EventGap m_gap;
};

} // namespace

std::unique_ptr<QCoreApplication> MakeBenchApplication(int &argc, char **argv)
{
    return std::make_unique<QCoreApplication>(argc, argv);
}

std::unique_ptr<SearchDriver> MakeSearchDriver()
{
    return std::make_unique<CoreSearchDriver>();
}

bool DriverHasWindow()
{
    return false;
}
