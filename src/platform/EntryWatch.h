#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace platform {

// Watches one entry of a folder, named by its exact bytes, through a watch
// on the folder alone: the entry written, its attributes changed, created,
// deleted, or renamed into or out of its place. Names that are no valid
// UTF-8 are watched as well as any other.
class EntryWatch : public QObject {
    Q_OBJECT

  public:
    EntryWatch(const QByteArray &folder, const QByteArray &name, QObject *parent = nullptr);
    ~EntryWatch() override;

    // False when the folder could not be watched.
    bool isWatching() const { return m_watch >= 0; }

  signals:
    // Something happened to the entry (or the system lost count of events).
    void changed();

  private:
    void readEvents();

    QByteArray m_name;
    int m_fd = -1;
    int m_watch = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
