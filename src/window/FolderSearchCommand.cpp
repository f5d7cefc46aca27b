#include "window/frmMain.h"

#include "platform/FileNames.h"
#include "search/FolderSearch.h"
#include "search/StatusCaptions.h"
#include "support/gui/ExitProgram.h"
#include "window/FileListView.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>

namespace {

// Shows the search's progress: each name found goes into the list at its
// index, the caption counts, and the window processes its events throughout,
// so it repaints and takes input. The list and the caption are brought up to
// date at most once a frame, and once more at the end: more is more than
// anyone can read, and every caption set costs a round to the display server,
// which on a real desktop takes longer than reading a file. Events are
// processed after an entry once a millisecond has passed since the last
// time, and at every wait for the disk: asking the event queue costs a few
// microseconds even when it is empty, as much as reading a cached file.
class ListSearchObserver : public SearchObserver {
  public:
    explicit ListSearchObserver(frmMain &window) : m_window(window) {}
    ~ListSearchObserver() override { flush(); }

    void fileFound(int index, const QString &name, int count) override
    {
        // Indices arrive in order, each one past the last, so the pending
        // names always continue the list.
        Q_ASSERT(index == m_window.lstBMS->count() + m_pending.size());
        Q_UNUSED(index);
        m_pending.append(name);
        m_count = count;
        // The first file is shown at once.
        if (!m_sinceFlush.isValid())
            flush();
    }

    void processEvents() override
    {
        if (!m_sinceEvents.isValid() || m_sinceEvents.nsecsElapsed() >= kEventsNs)
            waiting();
    }

    void waiting() override
    {
        if (m_sinceFlush.isValid() && m_sinceFlush.elapsed() >= kFrameMs)
            flush();
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }

    // Adds the names found since the last update to the list and shows the
    // count reached.
    void flush()
    {
        if (!m_pending.isEmpty()) {
            m_window.lstBMS->addItems(m_pending);
            m_pending.clear();
        }
        if (m_count != m_shownCount) {
            m_window.setWindowTitle(FilesFoundCaption(m_count));
            m_shownCount = m_count;
        }
        m_sinceFlush.start();
    }

  private:
    static constexpr qint64 kFrameMs = 16;
    static constexpr qint64 kEventsNs = 1000000;

    frmMain &m_window;
    QStringList m_pending;
    int m_count = 0;             // files found
    int m_shownCount = 0;        // the count the caption shows
    QElapsedTimer m_sinceFlush;  // invalid until the first file
    QElapsedTimer m_sinceEvents; // invalid until events are first processed
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
    LibrarySearchStarting();
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
    LibrarySearchEnded();
}

void frmMain::BrowseFolder()
{
    if (SearchRunning())
        return;
    const QString folder = Dialogs.chooseFolder(this);
    if (!folder.isEmpty())
        SearchFolder(platform::NativeFileName(folder));
    // Also after a cancel.
    setWindowTitle(LoadCompleteCaption());
}
