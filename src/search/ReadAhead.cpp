#include "search/ReadAhead.h"

#include "platform/FileNames.h"
#include "platform/FreeMemory.h"
#include "platform/ThreadPriority.h"
#include "score/ReadRKF.h"
#include "search/FolderSearch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// How long the search waits for a file or listing before it calls its
// waiting function again.
constexpr auto kWaitStep = std::chrono::milliseconds(5);

constexpr std::uint64_t kNone = ~std::uint64_t(0);

// A listed folder, open for reading its files by name.
struct OpenFolder {
    QByteArray bytes; // ends in the separator
    platform::FolderHandle handle;

    platform::HeadRead readHead(const QByteArray &name, char *buffer, bool regular) const
    {
        if (handle.isOpen())
            return handle.readHead(name, buffer, kScoreFileSize, regular);
        return platform::ReadFileHead(bytes + name, buffer, kScoreFileSize);
    }
};

struct Job {
    QByteArray name;
    bool regular = false;
};

// One file in the ring: filled by the lister, read by a reader, taken by the
// search, then filled again kLead files later. Its bytes are kept apart, so
// only the memory a search uses is ever touched.
struct Slot {
    std::shared_ptr<const OpenFolder> folder;
    QByteArray name;
    bool regular = false;
    platform::HeadRead read;
    std::atomic<bool> done{false};
};

bool IsScoreFile(const platform::DirEntry &entry)
{
    return !entry.folder && IsScoreFileName(entry.name);
}

} // namespace

// Everything the threads share; each holds it, so it lives until the last of
// them has ended, however early the search gave up.
//
// A sleeping thread is woken only when there is enough for it to do: the
// lister once a batch of slots is free, a reader for every so many files
// waiting to be read, the search once a few files are ready. A warm cache
// then costs a few wakes a batch, not one a file; a cold one soon has every
// reader at work, as files pile up.
struct ReadAhead::Shared : std::enable_shared_from_this<Shared> {
    Shared() : ring(kLead), bytes(new char[kLead * kScoreFileSize]) {}

    static constexpr std::uint64_t kBatch = kLead / 4;
    static constexpr std::uint64_t kFilesPerReader = kLead / kReaders;
    static constexpr std::uint64_t kWakeSpan = 16;

    std::vector<Slot> ring;                  // file s in ring[s % kLead]
    std::unique_ptr<char[]> bytes;           // its bytes at (s % kLead) * kScoreFileSize
    std::atomic<int> readers{0};             // started
    std::atomic<bool> walked{false};         // every listing handed over
    std::atomic<std::uint64_t> completed{0}; // files read
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> published{0}; // files put in the ring
    std::atomic<std::uint64_t> claimed{0};   // files a reader has begun
    std::atomic<std::uint64_t> released{0};  // files the search is done with

    std::mutex mutex;
    std::condition_variable jobsReady; // readers with nothing to read
    std::condition_variable roomReady; // the lister, ahead by enough
    std::condition_variable ready;     // the search, for a listing or files

    std::atomic<int> idleReaders{0};
    // The count of released files the lister waits for; kNone when it does not.
    std::atomic<std::uint64_t> listerWakeAt{kNone};
    bool listerWaitsForListings = false;       // guarded by mutex
    std::deque<platform::DirListing> listings; // guarded by mutex
    qsizetype queuedEntries = 0;               // guarded by mutex
    // The files the search waits for; kNone when it does not.
    std::atomic<std::uint64_t> awaitFrom{kNone}, awaitTo{kNone};

    char *bytesOf(std::uint64_t s) const { return bytes.get() + (s % kLead) * kScoreFileSize; }

    bool fileReady(std::uint64_t s) const { return published.load() > s && ring[s % kLead].done.load(); }

    // Waits until count more files fit in the ring; false when stopped.
    bool waitForRing(std::uint64_t count)
    {
        const auto room = [this, count] { return published.load() + count <= released.load() + kLead; };
        if (room())
            return !stop.load();
        std::unique_lock lock(mutex);
        listerWakeAt.store(published.load() + count - kLead);
        roomReady.wait(lock, [&] { return stop.load() || room(); });
        listerWakeAt.store(kNone);
        return !stop.load();
    }

    // A few listings ahead at most, so folders without score files do not
    // pile up names; false when stopped.
    bool waitForListingRoom()
    {
        std::unique_lock lock(mutex);
        listerWaitsForListings = true;
        roomReady.wait(lock, [this] { return stop.load() || queuedEntries < kLead; });
        listerWaitsForListings = false;
        return !stop.load();
    }

    // Lists one folder, hands the listing to the search and puts its score
    // files in the ring as room frees up. Sub-folders are collected when asked.
    bool list(const QByteArray &bytes, std::vector<QByteArray> *subFolders)
    {
        if (!waitForListingRoom())
            return false;
        platform::DirListing listing = platform::ListDirectory(bytes);
        auto folder = std::make_shared<OpenFolder>();
        folder->bytes = bytes;
        folder->handle = std::move(listing.folder);
        std::vector<Job> jobs;
        for (const platform::DirEntry &entry : std::as_const(listing.entries)) {
            if (entry.folder && subFolders)
                subFolders->push_back(bytes + entry.name + platform::kSeparator);
            else if (IsScoreFile(entry))
                jobs.push_back({entry.name, entry.regular});
        }
        {
            std::lock_guard lock(mutex);
            queuedEntries += listing.entries.size();
            listings.push_back(std::move(listing));
        }
        ready.notify_all();
        const std::shared_ptr<const OpenFolder> shared = std::move(folder);
        for (std::size_t i = 0; i < jobs.size();) {
            if (!waitForRing(std::min<std::uint64_t>(kBatch, jobs.size() - i)))
                return false;
            // Every free slot filled, then one wake for them all.
            std::uint64_t s = published.load();
            for (; i < jobs.size() && s < released.load() + kLead; ++i, ++s) {
                Slot &slot = ring[s % kLead];
                slot.done.store(false);
                slot.folder = shared;
                slot.name = std::move(jobs[i].name);
                slot.regular = jobs[i].regular;
                published.store(s + 1);
            }
            engageReaders(0);
        }
        return true;
    }

    QByteArray top;
    Depth depth = Depth::Folder;

    void walkTop()
    {
        std::vector<QByteArray> subFolders;
        if (!list(top, depth == Depth::WithSubFolders ? &subFolders : nullptr))
            return;
        for (const QByteArray &sub : subFolders) {
            if (!list(sub, nullptr))
                return;
        }
        walked.store(true);
    }

    // The threads, joined when the search has taken every file (they are
    // idle then, and end at once), otherwise let go to end on their own.
    std::mutex threadsMutex;
    std::vector<std::thread> threads; // guarded by threadsMutex

    // Runs work on a thread of its own, which holds this until it ends;
    // false when no thread can be started, or once stopped.
    template <typename Work> bool start(Work work)
    {
        std::lock_guard lock(threadsMutex);
        if (stop.load())
            return false;
        try {
            threads.emplace_back([shared = shared_from_this(), work] {
                // Below the thread that takes the files: it runs the window, or
                // writes the report, and should not wait for a core behind them.
                platform::LowerThisThreadPriority();
                (shared.get()->*work)();
            });
        } catch (const std::system_error &) {
            return false;
        }
        return true;
    }

    // Wakes idle readers, or starts new ones up to kReaders, until one works
    // for every kFilesPerReader files waiting to be read, and at least least.
    // A small folder thus does not pay for threads it cannot use. A reader
    // that cannot be started leaves the reading to those running.
    void engageReaders(int least)
    {
        const std::uint64_t waiting = published.load() - claimed.load();
        if (waiting == 0)
            return;
        const int wanted = int(std::min<std::uint64_t>(
            kReaders, std::max<std::uint64_t>(std::uint64_t(least),
                                              (waiting + kFilesPerReader - 1) / kFilesPerReader)));
        int more = wanted - (readers.load() - idleReaders.load());
        for (int wake = std::min(more, idleReaders.load()); wake > 0; --wake, --more) {
            std::lock_guard lock(mutex);
            jobsReady.notify_one();
        }
        for (int n = readers.load(); more > 0 && n < kReaders; --more) {
            if (!readers.compare_exchange_weak(n, n + 1))
                continue;
            if (!start(&Shared::readFiles)) {
                readers.fetch_sub(1);
                return;
            }
            ++n;
        }
    }

    void readFiles()
    {
        while (!stop.load()) {
            std::uint64_t s = claimed.load();
            if (s >= published.load()) {
                std::unique_lock lock(mutex);
                idleReaders.fetch_add(1);
                jobsReady.wait(lock, [this] { return stop.load() || claimed.load() < published.load(); });
                idleReaders.fetch_sub(1);
                continue;
            }
            if (!claimed.compare_exchange_weak(s, s + 1))
                continue;
            Slot &slot = ring[s % kLead];
            char *const head = bytesOf(s);
            slot.read = slot.folder->readHead(slot.name, head, slot.regular);
            const std::size_t got = slot.read.bytesRead;
            std::memset(head + got, 0, kScoreFileSize - got);
            slot.done.store(true);
            completed.fetch_add(1);
            // The last of the files the search waits for wakes it.
            const std::uint64_t from = awaitFrom.load(), to = awaitTo.load();
            if (s >= from && s <= to && fileReady(from) && fileReady(to)) {
                {
                    std::lock_guard lock(mutex);
                }
                ready.notify_all();
            }
        }
    }

    // The search is done with the files before s.
    void release(std::uint64_t s)
    {
        released.store(s);
        if (s >= listerWakeAt.load()) {
            std::lock_guard lock(mutex);
            roomReady.notify_all();
        }
    }

    // Waits, calling waiting between steps, until done() holds; returns
    // with the mutex held.
    template <typename Done>
    std::unique_lock<std::mutex> waitFor(const std::function<void()> &waiting, Done done)
    {
        std::unique_lock lock(mutex);
        while (!ready.wait_for(lock, kWaitStep, done)) {
            lock.unlock();
            if (waiting)
                waiting();
            lock.lock();
        }
        return lock;
    }

    // Stops the threads: each ends at its next look, a reader once its read
    // in flight returns.
    void end()
    {
        stop.store(true);
        std::lock_guard lock(mutex);
        jobsReady.notify_all();
        roomReady.notify_all();
    }
};

ReadAhead::ReadAhead(const QByteArray &folder, Depth depth) : m_shared(std::make_shared<Shared>())
{
    // One reader and the lister, which starts more readers as it finds files.
    // The lister's listings are freed here, by the search: from one memory
    // pool, what they leave makes room for the records.
    platform::ShareMemoryPoolWithThreads();
    Shared &shared = *m_shared;
    shared.top = folder;
    shared.depth = depth;
    shared.readers.store(1);
    if (!shared.start(&Shared::readFiles) || !shared.start(&Shared::walkTop)) {
        shared.end();
        for (std::thread &thread : shared.threads)
            thread.detach();
        m_shared.reset();
    }
}

ReadAhead::~ReadAhead()
{
    if (!m_shared)
        return;
    Shared &shared = *m_shared;
    shared.end();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(shared.threadsMutex);
        threads.swap(shared.threads);
    }
    // Every file read and taken: the threads are idle and end at once, and
    // joining them frees what they hold now. Otherwise a read or a listing
    // may be in flight, and that is not waited for.
    const bool idle = shared.walked.load() && shared.completed.load() == shared.published.load();
    for (std::thread &thread : threads)
        idle ? thread.join() : thread.detach();
}

bool ReadAhead::failed() const
{
    return !m_shared;
}

platform::DirListing ReadAhead::nextListing(const std::function<void()> &waiting)
{
    Shared &shared = *m_shared;
    std::unique_lock lock = shared.waitFor(waiting, [&shared] { return !shared.listings.empty(); });
    platform::DirListing listing = std::move(shared.listings.front());
    shared.listings.pop_front();
    shared.queuedEntries -= listing.entries.size();
    if (shared.listerWaitsForListings)
        shared.roomReady.notify_all();
    return listing;
}

FileHead ReadAhead::nextFile(const std::function<void()> &waiting)
{
    Shared &shared = *m_shared;
    const std::uint64_t s = m_next++;
    // The file before is done with; its slot may be filled again.
    if (s > 0)
        shared.release(s);
    if (!shared.fileReady(s)) {
        // Each wait costs two thread switches, so once it has to wait at all
        // the search waits for the next few files together; after a step of
        // waiting, the first will do, and one more reader is put to work.
        const std::uint64_t last = std::max(s, std::min(s + Shared::kWakeSpan, shared.published.load()) - 1);
        bool stepped = false;
        const std::function<void()> step = [&] {
            stepped = true;
            shared.awaitTo.store(s);
            shared.engageReaders(shared.readers.load() - shared.idleReaders.load() + 1);
            if (waiting)
                waiting();
        };
        shared.awaitTo.store(last);
        shared.awaitFrom.store(s);
        shared.waitFor(step, [&] { return shared.fileReady(s) && (stepped || shared.fileReady(last)); });
        shared.awaitFrom.store(kNone);
    }
    return {shared.ring[s % kLead].read, shared.bytesOf(s)};
}
