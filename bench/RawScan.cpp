#include "RawScan.h"

#include <dirent.h>
#include <fcntl.h>
#include <string>
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
