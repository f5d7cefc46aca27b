#include "SearchDriver.h"

#include "search/FolderSearch.h"

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

  protected:
    int find(const QByteArray &folder) override
    {
        EventLoopObserver observer;
        const SearchResult result = DoFind(folder, observer);
        return result.failed() ? -1 : result.found;
    }
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
