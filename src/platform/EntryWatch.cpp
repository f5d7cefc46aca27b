#include "platform/EntryWatch.h"

#include "platform/Fd.h"

#include <QSocketNotifier>
#include <sys/inotify.h>
#include <unistd.h>

namespace platform {

EntryWatch::EntryWatch(const QByteArray &folder, const QByteArray &name, QObject *parent)
    : QObject(parent), m_name(name)
{
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    constexpr std::uint32_t kEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                      IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;
    m_watch = inotify_add_watch(m_fd, folder.constData(), kEvents);
    if (m_watch < 0)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &EntryWatch::readEvents);
}

EntryWatch::~EntryWatch()
{
    if (m_fd >= 0)
        ::close(m_fd); // removes the watch with it
}

void EntryWatch::readEvents()
{
    alignas(inotify_event) char buffer[4096];
    bool hit = false;
    for (;;) {
        const ssize_t got = RetryInterrupted([&] { return ::read(m_fd, buffer, sizeof buffer); });
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            // An event's name is padded with NULs to its length.
            if (event->mask & IN_Q_OVERFLOW)
                hit = true;
            else if (event->len > 0 && QByteArrayView(static_cast<const char *>(event->name)) == m_name)
                hit = true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (hit)
        emit changed();
}

} // namespace platform
