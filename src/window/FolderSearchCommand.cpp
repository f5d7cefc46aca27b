#include "window/frmMain.h"

#include "search/FolderSearch.h"
#include "search/StatusCaptions.h"
#include "support/AppGlobals.h"
#include "support/gui/ExitProgram.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Shows the search's progress: each name found goes into the list at its
// index, the caption counts, and the window keeps repainting and taking input.
class ListSearchObserver : public SearchObserver {
  public:
    explicit ListSearchObserver(frmMain &window) : m_window(window) {}

    void fileFound(int index, const QString &name, int count) override
    {
        m_window.lstBMS->insertItem(index, name);
        m_window.setWindowTitle(FilesFoundCaption(count));
    }

    void processEvents() override { QCoreApplication::processEvents(); }

  private:
    frmMain &m_window;
};

} // namespace

void frmMain::SearchFolder(const QByteArray &folder)
{
    if (SearchRunning())
        return;
    if (windowTitle() == AppTitle)
        txtScore->clear();
    setWindowTitle(LoadingCaption());
    cmdOpenDir->setEnabled(false);
    lstBMS->setEnabled(false);
    lstBMS->clear();

    ListSearchObserver observer(*this);
    const SearchResult result = DoFind(folder, observer);
    if (result.failed())
        ExitProgram(result.failure.Number, result.failure.Description, result.procedure);

    cmdOpenDir->setEnabled(true);
    lstBMS->setEnabled(true);
}
