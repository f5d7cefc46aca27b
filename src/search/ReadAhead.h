#pragma once

#include "platform/DirectoryList.h"
#include "platform/FileRead.h"

#include <QByteArray>
#include <functional>
#include <memory>

// The head of one score file, read ahead.
struct FileHead {
    platform::HeadRead read;
    const char *bytes = nullptr; // kScoreFileSize bytes, zero past what was read
};

// Lists a folder (and, when asked, each of its immediate sub-folders after
// it) and reads the head of every score file listed, on threads of its own:
// one lists the folders in turn, kReaders read the files, many at once, as a
// disk answers many reads much faster than one after another. The search
// takes the listings and the files strictly in that order; the threads keep
// at most kLead files (and about as many names) ahead of it, and run at a
// lower priority than the thread that takes them. Every file is read once.
//
// Destroying it stops the threads without waiting for a read in flight: they
// end on their own once it returns.
class ReadAhead {
  public:
    // How many files are read at once. Fixed rather than measured: one disk
    // read at a time leaves a solid-state disk, or a rotating one's queue,
    // mostly idle, and sixteen reached most of what sixty-four did here cold;
    // a warm read costs the same whether queued or not.
    static constexpr int kReaders = 16;
    static constexpr int kLead = 1024;

    enum class Depth { Folder, WithSubFolders };

    // folder ends in the separator. A thread that cannot be started makes
    // failed() true; nothing is then listed or read.
    ReadAhead(const QByteArray &folder, Depth depth);
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    bool failed() const;

    // The next listing: the folder's own first, then with WithSubFolders one
    // for each entry of it that is a folder, in its order. Call no more often
    // than that. While it is not ready, waiting is called every few
    // milliseconds.
    platform::DirListing nextListing(const std::function<void()> &waiting);

    // The next score file (an entry that is no folder and has a score file's
    // name) of the listings taken so far, in their order. Its bytes stay
    // valid until the next call. Waits as nextListing.
    FileHead nextFile(const std::function<void()> &waiting);

  private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::uint64_t m_next = 0; // the next file to take
};
