#include "SearchDriver.h"

#include "search/ScoreFiles.h"
#include "window/Main.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

namespace {

// The viewer's own folder search: the real window (offscreen), its file list,
// counting caption and event processing after every entry.
class WindowSearchDriver : public SearchDriver {
  public:
    WindowSearchDriver() : m_window(Main(m_programFolder.path(), {})) {}

    QString description() const override { return QStringLiteral("viewer window search (offscreen)"); }

    int search(const QByteArray &folder) override
    {
        m_window->SearchFolder(folder);
        const int found = m_window->lstBMS->count();
        return found == ScoreFiles.size() - 1 ? found : -1;
    }

  private:
    QTemporaryDir m_programFolder; // where the window keeps its settings
    std::unique_ptr<frmMain> m_window;
};

} // namespace

std::unique_ptr<QCoreApplication> MakeBenchApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

std::unique_ptr<SearchDriver> MakeSearchDriver()
{
    return std::make_unique<WindowSearchDriver>();
}
