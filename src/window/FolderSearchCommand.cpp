#include "window/frmMain.h"

#include "search/FolderSearch.h"
#include "search/StatusCaptions.h"
#include "support/gui/ExitProgram.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>

namespace {

// Shows the search's progress: each name found goes into the list at its
// index, the caption counts, and the window processes its events after every
// entry, so it repaints and takes input. Names reach the list widget in
// batches, at most once a frame: a list that is laid out and repainted for
// every single file makes a folder of thousands of files take minutes.
class ListSearchObserver : public SearchObserver {
  public:
    explicit ListSearchObserver(frmMain &window) : m_window(window) { m_sinceFlush.start(); }
    ~ListSearchObserver() override { flush(); }

    void fileFound(int index, const QString &name, int count) override
    {
        // Indices arrive in order, each one past the last, so the pending
        // names always continue the list.
        Q_ASSERT(index == m_window.lstBMS->count() + m_pending.size());
        Q_UNUSED(index);
        m_pending.append(name);
        m_window.setWindowTitle(FilesFoundCaption(count));
    }

    void processEvents() override
    {
        if (m_sinceFlush.elapsed() >= kFrameMs)
            flush();
        QCoreApplication::processEvents();
    }

    // Adds the names found since the last batch to the list.
    void flush()
    {
        if (!m_pending.isEmpty()) {
            m_window.lstBMS->addItems(m_pending);
            m_pending.clear();
        }
        m_sinceFlush.restart();
    }

  private:
    static constexpr qint64 kFrameMs = 16;

    frmMain &m_window;
    QStringList m_pending;
    QElapsedTimer m_sinceFlush;
};

} // namespace

void frmMain::SearchFolder(const QByteArray &folder)
{
    if (!StartLoading())
        return;
    for (QAction *command : {menuOpenFile, menuOpenFolder})
        command->setEnabled(false);
    cmdOpenDir->setEnabled(false);
    lstBMS->setEnabled(false);
    lstBMS->clear();

    ListSearchObserver observer(*this);
    const SearchResult result = DoFind(folder, observer);
    observer.flush();
    if (result.failed())
        ExitProgram(result.failure.Number, result.failure.Description, result.procedure);

    for (QAction *command : {menuOpenFile, menuOpenFolder})
        command->setEnabled(true);
    cmdOpenDir->setEnabled(true);
    lstBMS->setEnabled(true);
}
