#pragma once

#include "platform/FileStamp.h"
#include "score/ScoreRecord.h"

#include <QObject>
#include <QTimer>

namespace platform {
class EntryWatch;
}

// Keeps the shown ranking live: while on, a change on disk of the shown score
// file, written in place or replaced by a rename, is read again once the file
// has been quiet for kQuietMs. A file that is then short, unreadable or gone
// is passed over: the last good record stays. Only the shown file's folder is
// watched (which also sees a file renamed into its place), and nothing while
// no file is shown or while off.
class ShownFileRefresh : public QObject {
    Q_OBJECT

  public:
    static constexpr int kQuietMs = 300;

    explicit ShownFileRefresh(QObject *parent = nullptr);
    ~ShownFileRefresh() override;

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // The record now shown, element index of ScoreFiles (-1 when it is in
    // none); its file's changes from now on are read.
    void follow(qsizetype index, const ScoreRecord &record);
    // Nothing is shown any more.
    void stop();
    // ScoreFiles is about to be rebuilt: the shown file is still followed,
    // but what is read no longer goes into an element.
    void detach();

    // The shown record as last read.
    const ScoreRecord &record() const { return m_record; }
    // The folder watched now, as bytes; empty when none.
    QByteArray watchedFolder() const;

  signals:
    // The shown file was read again and differs from what was shown; index
    // is its element of ScoreFiles, already holding it, or -1 (record()).
    void refreshed(qsizetype index);

  private:
    void watch();
    void unwatch();
    void readAgain();

    platform::EntryWatch *m_watch = nullptr; // while a file is watched
    QByteArray m_watchedFolder;
    QTimer m_quiet;
    bool m_enabled = true;
    bool m_following = false;
    qsizetype m_index = -1;
    ScoreRecord m_record;
    platform::FileStamp m_stamp; // of the file when m_record was read
};
