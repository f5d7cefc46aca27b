#include "SearchDriver.h"

#include "search/ScoreFiles.h"
#include "window/Main.h"

#include "window/FileListView.h"
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The viewer's own folder search: the real window, its file list, counting
// caption and event processing after every entry.
class WindowSearchDriver : public SearchDriver {
  public:
    WindowSearchDriver() : m_window(Main(m_programFolder.path(), {}))
    {
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qWarning("rkfbench: the window was not shown");
    }

    QString description() const override
    {
        return QStringLiteral("viewer window search (%1)").arg(QGuiApplication::platformName());
    }

  protected:
    int find(const QByteArray &folder) override
    {
        m_window->SearchFolder(folder);
        const int found = int(m_window->lstBMS->model()->rowCount());
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

bool DriverHasWindow()
{
    return true;
}
