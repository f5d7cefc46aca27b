#include "search/ShownFileRefresh.h"

#include "platform/FileNames.h"
#include "platform/FileRead.h"
#include "score/ReadRKF.h"
#include "search/FolderSearch.h"
#include "search/ScoreFiles.h"

#include "platform/EntryWatch.h"

ShownFileRefresh::ShownFileRefresh(QObject *parent) : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &ShownFileRefresh::readAgain);
}

ShownFileRefresh::~ShownFileRefresh() = default;

void ShownFileRefresh::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (!on) {
        m_quiet.stop();
        unwatch();
        return;
    }
    if (!m_following)
        return;
    watch();
    // What changed while off is read now.
    if (platform::StampFile(RecordFileBytes(m_record)) != m_stamp)
        m_quiet.start();
}

void ShownFileRefresh::follow(qsizetype index, const ScoreRecord &record)
{
    const bool same = m_following && RecordFileBytes(record) == RecordFileBytes(m_record);
    m_index = index;
    if (&record != &m_record)
        m_record = record;
    m_following = true;
    if (same)
        return;
    m_quiet.stop();
    unwatch();
    m_stamp = platform::StampFile(RecordFileBytes(m_record));
    if (m_enabled)
        watch();
}

void ShownFileRefresh::stop()
{
    m_following = false;
    m_index = -1;
    m_record = ScoreRecord();
    m_quiet.stop();
    unwatch();
}

void ShownFileRefresh::detach()
{
    m_index = -1;
}

QByteArray ShownFileRefresh::watchedFolder() const
{
    return m_watch ? m_watchedFolder : QByteArray();
}

void ShownFileRefresh::watch()
{
    const QByteArray file = RecordFileBytes(m_record);
    const qsizetype slash = file.lastIndexOf(platform::kSeparator);
    m_watchedFolder = slash > 0 ? file.left(slash) : QByteArray(1, platform::kSeparator);
    m_watch = new platform::EntryWatch(m_watchedFolder, file.mid(slash + 1), this);
    // Every event restarts the quiet time; the file is read once it ends.
    connect(m_watch, &platform::EntryWatch::changed, &m_quiet, qOverload<>(&QTimer::start));
}

void ShownFileRefresh::unwatch()
{
    // The watch and its handle to the system go with it.
    delete m_watch;
    m_watch = nullptr;
}

void ShownFileRefresh::readAgain()
{
    const QByteArray native = RecordFileBytes(m_record);
    const platform::FileStamp stamp = platform::StampFile(native);
    char bytes[kScoreFileSize];
    const platform::HeadRead read = platform::ReadFileHead(native, bytes, sizeof bytes);
    // Short (being written), unreadable or gone: the last good record stays.
    if (read.error != platform::OpenError::None || read.bytesRead < sizeof bytes)
        return;
    ScoreRecord fresh;
    fresh.FolderPath = m_record.FolderPath;
    fresh.FileName = m_record.FileName;
    fresh.NativePath = m_record.NativePath;
    if (DecodeRKF(bytes, fresh).failed())
        return;
    m_stamp = stamp;
    if (fresh == m_record)
        return;
    m_record = fresh;
    // The element may only be written while it still holds this file.
    const bool inList = m_index >= 0 && !SearchRunning() && m_index < ScoreFiles.size() &&
                        RecordFileBytes(ScoreFiles[m_index]) == native;
    if (inList)
        ScoreFiles[m_index] = fresh;
    else
        m_index = -1;
    emit refreshed(m_index);
}
