#include "RawScan.h"

#include <atomic>
#include <condition_variable>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Reads every file of one folder; sub-folders are collected when wanted.
int ScanFolder(const std::string &folder, std::vector<std::string> *subFolders)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return -1;
    const int dirFd = ::dirfd(dir);
    int files = 0;
    char buffer[448];
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_DIR) {
            if (subFolders)
                subFolders->push_back(folder + '/' + name);
            continue;
        }
        const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::read(fd, buffer, sizeof buffer) != ssize_t(sizeof buffer)) {
            if (fd >= 0)
                ::close(fd);
            ::closedir(dir);
            return -1;
        }
        ::close(fd);
        ++files;
    }
    ::closedir(dir);
    return files;
}

} // namespace

int RawScan(const QByteArray &root)
{
    std::vector<std::string> subFolders;
    int total = ScanFolder(root.toStdString(), &subFolders);
    if (total < 0)
        return -1;
    for (const std::string &folder : subFolders) {
        const int files = ScanFolder(folder, nullptr);
        if (files < 0)
            return -1;
        total += files;
    }
    return total;
}

namespace {

// An open folder, closed when the last of its files has been read.
struct FolderFd {
    int fd;
    explicit FolderFd(int f) : fd(f) {}
    ~FolderFd() { ::close(fd); }
};

struct FileToRead {
    std::shared_ptr<FolderFd> folder;
    std::string name;
};

// Files listed and not yet read, taken by the readers a few at a time.
class ReadQueue {
  public:
    void add(std::vector<FileToRead> files)
    {
        {
            std::lock_guard lock(m_mutex);
            for (FileToRead &file : files)
                m_files.push_back(std::move(file));
        }
        m_ready.notify_all();
    }

    void close()
    {
        {
            std::lock_guard lock(m_mutex);
            m_closed = true;
        }
        m_ready.notify_all();
    }

    // Up to count files; none once the queue is closed and empty.
    std::vector<FileToRead> take(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_next < m_files.size() || m_closed; });
        std::vector<FileToRead> taken;
        for (; m_next < m_files.size() && taken.size() < count; ++m_next)
            taken.push_back(std::move(m_files[m_next]));
        return taken;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::vector<FileToRead> m_files;
    std::size_t m_next = 0;
    bool m_closed = false;
};

// Lists one folder into the queue; sub-folders are collected when wanted.
bool ListInto(const std::string &folder, ReadQueue &queue, std::vector<std::string> *subFolders)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    auto fd = std::make_shared<FolderFd>(::fcntl(::dirfd(dir), F_DUPFD_CLOEXEC, 0));
    std::vector<FileToRead> files;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_DIR) {
            if (subFolders)
                subFolders->push_back(folder + '/' + name);
            continue;
        }
        files.push_back({fd, name});
    }
    ::closedir(dir);
    queue.add(std::move(files));
    return true;
}

} // namespace

int RawScanParallel(const QByteArray &root, int threads)
{
    ReadQueue queue;
    std::atomic<int> read{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> readers;
    for (int i = 0; i < threads; ++i) {
        readers.emplace_back([&] {
            char buffer[448];
            for (;;) {
                const std::vector<FileToRead> files = queue.take(8);
                if (files.empty())
                    return;
                for (const FileToRead &file : files) {
                    const int fd = ::openat(file.folder->fd, file.name.c_str(), O_RDONLY | O_CLOEXEC);
                    if (fd < 0 || ::read(fd, buffer, sizeof buffer) != ssize_t(sizeof buffer))
                        failed = true;
                    if (fd >= 0)
                        ::close(fd);
                    ++read;
                }
            }
        });
    }
    std::vector<std::string> subFolders;
    bool listed = ListInto(root.toStdString(), queue, &subFolders);
    for (const std::string &folder : subFolders)
        listed = ListInto(folder, queue, nullptr) && listed;
    queue.close();
    for (std::thread &reader : readers)
        reader.join();
    return listed && !failed ? read.load() : -1;
}
