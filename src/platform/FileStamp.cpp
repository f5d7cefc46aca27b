#include "platform/FileStamp.h"

#include <sys/stat.h>

namespace platform {

FileStamp StampFile(const QByteArray &nativePath)
{
    struct stat st;
    if (::stat(nativePath.constData(), &st) != 0)
        return {};
    const auto ns = [](const timespec &t) { return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {true,
            std::uint64_t(st.st_dev),
            std::uint64_t(st.st_ino),
            std::int64_t(st.st_size),
            ns(st.st_mtim),
            ns(st.st_ctim)};
}

} // namespace platform
