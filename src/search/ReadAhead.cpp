#include "search/ReadAhead.h"

#include "platform/FileNames.h"
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
// search, then filled again kLead files later.
struct Slot {
    std::shared_ptr<const OpenFolder> folder;
    QByteArray name;
    bool regular = false;
    platform::HeadRead read;
    std::atomic<bool> done{false};
    char bytes[kScoreFileSize];
};

bool IsScoreFile(const platform::DirEntry &entry)
{
    return !entry.folder && IsScoreFileName(entry.name);
}

} // namespace

// Everything the threads share; each holds it, so it lives until the last of
// them has ended, however early the search gave up.
struct ReadAhead::Shared {
    Shared() : ring(kLead) {}

    std::vector<Slot> ring; // file s in ring[s % kLead]
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> published{0}; // files put in the ring
    std::atomic<std::uint64_t> claimed{0};   // files a reader has begun
    std::atomic<std::uint64_t> released{0};  // files the search is done with
    // Raised to wake the readers (new files, or stop) and the lister (room).
    std::atomic<std::uint32_t> jobsEpoch{0};
    std::atomic<std::uint32_t> roomEpoch{0};

    // The search's waits: for a listing, or for file `awaited` to be read.
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<platform::DirListing> listings; // guarded by mutex
    qsizetype queuedEntries = 0;               // guarded by mutex
    std::atomic<std::uint64_t> awaited{kNone};

    bool fileReady(std::uint64_t s) const { return published.load() > s && ring[s % kLead].done.load(); }

    void wakeLister()
    {
        roomEpoch.fetch_add(1);
        roomEpoch.notify_one();
    }

    // Waits until room() holds or the search has stopped; false then.
    template <typename Room> bool waitForRoom(Room room)
    {
        for (;;) {
            const std::uint32_t epoch = roomEpoch.load();
            if (stop.load())
                return false;
            if (room())
                return true;
            roomEpoch.wait(epoch);
        }
    }

    // Lists one folder, hands the listing to the search and puts its score
    // files in the ring as room frees up. Sub-folders are collected when asked.
    bool list(const QByteArray &bytes, std::vector<QByteArray> *subFolders)
    {
        // A few listings ahead at most, so folders without score files do
        // not pile up names.
        if (!waitForRoom([this] {
                std::lock_guard lock(mutex);
                return queuedEntries < kLead;
            }))
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
        std::shared_ptr<const OpenFolder> shared = std::move(folder);
        for (std::size_t i = 0; i < jobs.size();) {
            if (!waitForRoom([this] { return published.load() - released.load() < kLead; }))
                return false;
            // Every free slot filled, then one wake for them all.
            std::uint64_t s = published.load();
            for (; i < jobs.size() && s - released.load() < kLead; ++i, ++s) {
                Slot &slot = ring[s % kLead];
                slot.done.store(false);
                slot.folder = shared;
                slot.name = std::move(jobs[i].name);
                slot.regular = jobs[i].regular;
                published.store(s + 1);
            }
            jobsEpoch.fetch_add(1);
            jobsEpoch.notify_all();
        }
        return true;
    }

    void walk(const QByteArray &top, Depth depth)
    {
        std::vector<QByteArray> subFolders;
        if (!list(top, depth == Depth::WithSubFolders ? &subFolders : nullptr))
            return;
        for (const QByteArray &sub : subFolders) {
            if (!list(sub, nullptr))
                return;
        }
    }

    void readFiles()
    {
        for (;;) {
            const std::uint32_t epoch = jobsEpoch.load();
            if (stop.load())
                return;
            std::uint64_t s = claimed.load();
            if (s >= published.load()) {
                jobsEpoch.wait(epoch);
                continue;
            }
            if (!claimed.compare_exchange_weak(s, s + 1))
                continue;
            Slot &slot = ring[s % kLead];
            slot.read = slot.folder->readHead(slot.name, slot.bytes, slot.regular);
            const std::size_t got = slot.read.bytesRead;
            std::memset(slot.bytes + got, 0, sizeof slot.bytes - got);
            slot.done.store(true);
            if (awaited.load() == s) {
                std::lock_guard lock(mutex);
                ready.notify_all();
            }
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
        jobsEpoch.fetch_add(1);
        jobsEpoch.notify_all();
        roomEpoch.fetch_add(1);
        roomEpoch.notify_all();
    }
};

ReadAhead::ReadAhead(const QByteArray &folder, Depth depth) : m_shared(std::make_shared<Shared>())
{
    const std::shared_ptr<Shared> shared = m_shared;
    int started = 0;
    try {
        std::thread([shared, folder, depth] { shared->walk(folder, depth); }).detach();
        for (started = 1; started <= kReaders; ++started)
            std::thread([shared] { shared->readFiles(); }).detach();
    } catch (const std::system_error &) {
        // Fewer readers only read more slowly; without the lister or any
        // reader nothing would be read.
        if (started < 2) {
            shared->end();
            m_shared.reset();
        }
    }
}

ReadAhead::~ReadAhead()
{
    if (m_shared)
        m_shared->end();
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
    lock.unlock();
    shared.wakeLister();
    return listing;
}

FileHead ReadAhead::nextFile(const std::function<void()> &waiting)
{
    Shared &shared = *m_shared;
    const std::uint64_t s = m_next++;
    if (s > 0) {
        // The file before is done with; its slot may be filled again.
        shared.released.store(s);
        shared.wakeLister();
    }
    if (!shared.fileReady(s)) {
        shared.awaited.store(s);
        shared.waitFor(waiting, [&shared, s] { return shared.fileReady(s); });
        shared.awaited.store(kNone);
    }
    const Slot &slot = shared.ring[s % kLead];
    return {slot.read, slot.bytes};
}
