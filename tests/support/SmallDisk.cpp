#include "support/SmallDisk.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Mounts made after this stay inside the test process.
void OwnMountNamespace()
{
    static const bool done = [] {
        return ::unshare(CLONE_NEWNS) == 0 &&
               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    (void)done; // without one, the destructor's unmount is what cleans up
}

} // namespace

SmallDisk::SmallDisk(const QString &folder, qint64 size) : m_folder(folder)
{
    if (::geteuid() != 0) {
        m_reason = QStringLiteral("mounting a small tmpfs for a full disk needs root");
        return;
    }
    OwnMountNamespace();
    const QByteArray options = "size=" + QByteArray::number(size) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        m_reason = QStringLiteral("mount tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool SmallDisk::fill()
{
    const QByteArray path = QFile::encodeName(m_folder + QStringLiteral("/filler"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'f');
    for (;;) {
        // A short write took the last bytes; the next one shows the disk full.
        const ssize_t n = ::write(fd, block.constData(), size_t(block.size()));
        if (n > 0 || (n < 0 && errno == EINTR))
            continue;
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }
}
