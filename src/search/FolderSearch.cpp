#include "search/FolderSearch.h"

#include "platform/DirectoryList.h"
#include "platform/FileNames.h"
#include "platform/FreeMemory.h"
#include "score/ReadRKF.h"
#include "search/ReadAhead.h"
#include "search/ScoreFiles.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace {

bool g_searchRunning = false;

class RunningFlag {
  public:
    RunningFlag() { g_searchRunning = true; }
    ~RunningFlag() { g_searchRunning = false; }
    RunningFlag(const RunningFlag &) = delete;
    RunningFlag &operator=(const RunningFlag &) = delete;
};

// A folder being searched: its bytes, which open it, and its text, which the
// records of its files share as FolderPath.
struct Folder {
    QByteArray bytes;   // ends in the separator
    QString text;       // ends in the separator
    bool exact = false; // text encodes back to bytes
};

Folder MakeFolder(QByteArray bytes, QString text)
{
    const bool exact = platform::NativeFileName(text) == bytes;
    return {std::move(bytes), std::move(text), exact};
}

// The searched folder, ending in the separator; an empty path stays empty
// (and cannot be listed) rather than becoming the root folder.
Folder TopFolder(const QByteArray &folder)
{
    if (folder.isEmpty())
        return {};
    const QByteArray bytes = folder.endsWith(platform::kSeparator) ? folder : folder + platform::kSeparator;
    return MakeFolder(bytes, platform::DisplayPath(bytes));
}

Folder SubFolder(const Folder &parent, const QByteArray &name)
{
    return MakeFolder(parent.bytes + name + platform::kSeparator,
                      parent.text + platform::DisplayFileName(name) + QLatin1Char(platform::kSeparator));
}

SearchResult Stop(const Failure &failure, const char *procedure)
{
    SearchResult result;
    result.failure = failure;
    result.procedure = QLatin1String(procedure);
    return result;
}

// Sets the path fields of an empty record for file name of folder. The exact
// bytes are kept only when the text would not name the file.
void SetFoundPath(ScoreRecord &record, const Folder &folder, const QByteArray &name)
{
    // Most names are printable ASCII, which shows as itself and encodes back
    // exactly.
    const bool ascii =
        std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) >= 0x20 && uchar(c) < 0x7F; });
    record.FolderPath = folder.text;
    record.FileName = ascii ? QString::fromLatin1(name) : platform::DisplayFileName(name);
    if (!folder.exact || (!ascii && platform::NativeFileName(record.FileName) != name))
        record.NativePath = folder.bytes + name;
}

// What the walk over a folder does with each score file it finds, and after
// each entry.
class FoundFiles {
  public:
    virtual ~FoundFiles() = default;
    virtual SearchResult add(const Folder &folder, const platform::DirEntry &entry, const FileHead &head,
                             const char *procedure) = 0;
    virtual void entryDone() = 0;
    // A sub-folder that could not be listed; the search goes on without it.
    virtual void unlisted(const Folder &, const Failure &) {}
    // Called every few milliseconds while a listing or a file is not read yet.
    virtual void waiting() {}
};

// The listings and files of a walk, read ahead of it.
class Source {
  public:
    Source(FoundFiles &found, const Folder &folder, ReadAhead::Depth depth)
        : m_ahead(folder.bytes, depth), m_waiting([&found] { found.waiting(); })
    {
    }

    bool failed() const { return m_ahead.failed(); }
    platform::DirListing listing() { return m_ahead.nextListing(m_waiting); }
    FileHead file() { return m_ahead.nextFile(m_waiting); }

  private:
    ReadAhead m_ahead;
    std::function<void()> m_waiting;
};

// One sub-folder: its score files in listing order; its folders are passed over.
SearchResult WalkSubFolder(FoundFiles &found, Source &source, const Folder &folder)
{
    platform::DirListing listing = source.listing();
    if (listing.error != platform::OpenError::None)
        found.unlisted(folder, OpenFailure(listing.error));
    for (platform::DirEntry &entry : listing.entries) {
        if (!entry.folder && IsScoreFileName(entry.name)) {
            SearchResult result = found.add(folder, entry, source.file(), "SubFind");
            if (result.failed())
                return result;
        }
        entry.name = QByteArray();
        found.entryDone();
    }
    return {};
}

// The folder's own score files in listing order, then each sub-folder's.
SearchResult Walk(FoundFiles &found, Source &source, const Folder &folder)
{
    platform::DirListing listing = source.listing();
    if (listing.error != platform::OpenError::None) {
        SearchResult result;
        result.folderError = OpenFailure(listing.error);
        return result;
    }
    QList<Folder> subFolders;
    // Each name is freed once it is done with, so a listing of very many
    // names does not take long to free at the end.
    for (platform::DirEntry &entry : listing.entries) {
        if (entry.folder) {
            subFolders.append(SubFolder(folder, entry.name));
        } else if (IsScoreFileName(entry.name)) {
            SearchResult result = found.add(folder, entry, source.file(), "DoFind");
            if (result.failed())
                return result;
        }
        entry.name = QByteArray();
        found.entryDone();
    }
    for (const Folder &sub : subFolders) {
        SearchResult result = WalkSubFolder(found, source, sub);
        if (result.failed())
            return result;
    }
    return {};
}

// Walks folder with its files read ahead; with WithSubFolders as DoFind does,
// otherwise as SubFind. Threads that cannot be started fail under procedure.
SearchResult WalkReadingAhead(FoundFiles &found, const Folder &folder, ReadAhead::Depth depth,
                              const char *procedure)
{
    Source source(found, folder, depth);
    if (source.failed())
        return Stop(MakeFailure(kErrOutOfMemory), procedure);
    if (depth == ReadAhead::Depth::WithSubFolders)
        return Walk(found, source, folder);
    return WalkSubFolder(found, source, folder);
}

// Stores each file found at the running count's index of ScoreFiles, reads
// it and announces it.
class Register : public FoundFiles {
  public:
    Register(SearchObserver &observer, std::int32_t &count) : m_observer(observer), m_count(count) {}

    int found() const { return m_found; }

    SearchResult add(const Folder &folder, const platform::DirEntry &entry, const FileHead &head,
                     const char *procedure) override
    {
        const std::int32_t i = m_count;
        if (i == std::numeric_limits<std::int32_t>::max())
            return Stop(MakeFailure(kErrOverflow), procedure);
        // Every read goes into an empty record: a new element is one, the
        // first element may be reused.
        const bool reused = qsizetype(i) < ScoreFiles.size();
        ScoreFiles.resize(qsizetype(i) + 1);
        ScoreRecord &record = ScoreFiles[i];
        if (reused)
            record = ScoreRecord();
        SetFoundPath(record, folder, entry.name);
        const Failure failure = ReadRKF(record, head.read, head.bytes);
        if (failure.failed())
            return Stop(failure, "ReadRKF");
        m_count = i + 1;
        ++m_found;
        m_observer.fileFound(i, record.FileName, m_count);
        return {};
    }

    // The records of the search before are destroyed a few at a time, one
    // step per entry, faster than new ones are made.
    void entryDone() override
    {
        DiscardSetAsideRecords(kDiscardStep);
        m_observer.processEvents();
    }

    void waiting() override
    {
        DiscardSetAsideRecords(kDiscardStep);
        m_observer.waiting();
    }

    // Destroys what is left of the search before, events processed between steps.
    void discardRest()
    {
        while (DiscardSetAsideRecords(kDiscardStep))
            m_observer.processEvents();
    }

    static constexpr qsizetype kDiscardStep = 256;

  private:
    SearchObserver &m_observer;
    std::int32_t &m_count;
    int m_found = 0;
};

// Reads each file found into one record and hands it on.
class Visit : public FoundFiles {
  public:
    explicit Visit(ScoreFileVisitor &visitor) : m_visitor(visitor) {}

    int found() const { return m_found; }

    SearchResult add(const Folder &folder, const platform::DirEntry &entry, const FileHead &head,
                     const char *) override
    {
        m_record = ScoreRecord();
        SetFoundPath(m_record, folder, entry.name);
        const Failure failure = ReadRKF(m_record, head.read, head.bytes);
        if (failure.failed()) {
            if (!m_visitor.skipUnreadable(m_record, failure))
                return Stop(failure, "ReadRKF");
            return {};
        }
        ++m_found;
        m_visitor.visit(m_record);
        return {};
    }

    void entryDone() override {}

    void unlisted(const Folder &folder, const Failure &failure) override
    {
        m_visitor.skipUnlistable(folder.bytes.chopped(1), failure);
    }

  private:
    ScoreFileVisitor &m_visitor;
    ScoreRecord m_record;
    int m_found = 0;
};

} // namespace

bool IsScoreFileName(const QByteArray &name)
{
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name[begin] == ' ')
        ++begin;
    while (end > begin && name[end - 1] == ' ')
        --end;
    // ".RKF" in ASCII: neither UTF-8 nor code page 932 can end a multi-byte
    // character with these bytes, so comparing bytes compares characters.
    return end - begin >= 4 &&
           QByteArrayView(name).sliced(end - 4, 4).compare(".RKF", Qt::CaseInsensitive) == 0;
}

bool SearchRunning()
{
    return g_searchRunning;
}

SearchResult SubFind(const QByteArray &folder, std::int32_t &count, SearchObserver &observer)
{
    Register found(observer, count);
    SearchResult result = WalkReadingAhead(found, TopFolder(folder), ReadAhead::Depth::Folder, "SubFind");
    result.found = found.found();
    return result;
}

SearchResult DoFind(const QByteArray &folder, SearchObserver &observer)
{
    if (g_searchRunning)
        return {};
    RunningFlag running;
    const Folder top = TopFolder(folder);
    ResetScoreFilesLater();
    std::int32_t count = 0;
    Register found(observer, count);
    SearchResult result = WalkReadingAhead(found, top, ReadAhead::Depth::WithSubFolders, "DoFind");
    result.found = found.found();
    if (result.failed())
        return result;
    found.discardRest();
    // The records of the search before and the listings of this one are
    // gone; their memory goes back to the system.
    platform::ReleaseFreeMemory();
    if (result.folderError.failed())
        return result;
    // The single-file slot.
    ScoreFiles.resize(ScoreFiles.size() + 1);
    return result;
}

SearchResult ForEachScoreFile(const QByteArray &folder, ScoreFileVisitor &visitor)
{
    Visit found(visitor);
    SearchResult result =
        WalkReadingAhead(found, TopFolder(folder), ReadAhead::Depth::WithSubFolders, "DoFind");
    result.found = found.found();
    return result;
}
