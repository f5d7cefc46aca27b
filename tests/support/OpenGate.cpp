#include "support/OpenGate.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using FileKey = std::pair<dev_t, ino_t>;

// How long an open is held at most, so a walk that wrongly waits for it is
// seen to fail rather than hang.
constexpr int kHoldLimitMs = 10000;

struct Rule {
    enum Kind { Pass, Deny, Hold } kind = Pass;
    FileKey trigger{}; // Hold: released once this file was opened; {} never
    int seen = 0;      // opens that reached the gate
    std::vector<int> held;
};

// The file behind a path, or behind an open descriptor when the path is null; {} when neither is there.
FileKey KeyOf(const QString &path, int fd = -1)
{
    struct stat st;
    const int status = path.isNull() ? ::fstat(fd, &st) : ::stat(QFile::encodeName(path).constData(), &st);
    return status == 0 ? FileKey{st.st_dev, st.st_ino} : FileKey{};
}

} // namespace

struct OpenGate::State {
    int fan = -1;
    int wake = -1;
    QString reason;
    mutable std::mutex mutex;
    std::map<FileKey, Rule> rules;
    std::thread listener;

    void answer(int fd, bool allow)
    {
        const fanotify_response response{fd, allow ? __u32(FAN_ALLOW) : __u32(FAN_DENY)};
        [[maybe_unused]] const ssize_t n = ::write(fan, &response, sizeof response);
        ::close(fd);
    }

    // Lets through the held opens whose trigger has been seen, or all.
    void release(bool all)
    {
        for (auto &[key, rule] : rules) {
            const auto trigger = rules.find(rule.trigger);
            if (!all && (rule.trigger == FileKey{} || trigger == rules.end() || trigger->second.seen == 0))
                continue;
            for (const int fd : rule.held)
                answer(fd, true);
            rule.held.clear();
        }
    }

    void listen()
    {
        alignas(fanotify_event_metadata) char buffer[4096];
        for (;;) {
            pollfd fds[] = {{fan, POLLIN, 0}, {wake, POLLIN, 0}};
            const int ready = ::poll(fds, 2, kHoldLimitMs);
            if (ready < 0 && errno != EINTR)
                return;
            if (fds[1].revents)
                return;
            if (ready == 0) {
                std::lock_guard lock(mutex);
                release(true);
                continue;
            }
            const ssize_t n = ::read(fan, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            std::lock_guard lock(mutex);
            auto *event = reinterpret_cast<fanotify_event_metadata *>(buffer);
            for (ssize_t left = n; FAN_EVENT_OK(event, left); event = FAN_EVENT_NEXT(event, left)) {
                const auto rule = rules.find(KeyOf({}, event->fd));
                if (rule == rules.end()) {
                    answer(event->fd, true);
                    continue;
                }
                ++rule->second.seen;
                if (rule->second.kind == Rule::Hold)
                    rule->second.held.push_back(event->fd);
                else
                    answer(event->fd, rule->second.kind == Rule::Pass);
            }
            release(false);
        }
    }

    bool add(const QString &path, Rule rule)
    {
        const FileKey key = KeyOf(path);
        if (key == FileKey{} || ::fanotify_mark(fan, FAN_MARK_ADD, FAN_OPEN_PERM, AT_FDCWD,
                                                QFile::encodeName(path).constData()) != 0)
            return false;
        std::lock_guard lock(mutex);
        Rule &kept = rules[key];
        if (rule.kind != Rule::Pass || kept.kind == Rule::Pass)
            kept = rule;
        return true;
    }
};

OpenGate::OpenGate() : d(std::make_unique<State>())
{
    d->fan = ::fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC | FAN_NONBLOCK, O_RDONLY | O_LARGEFILE);
    if (d->fan < 0) {
        d->reason = QStringLiteral("fanotify_init: %1 (needs CAP_SYS_ADMIN)").arg(std::strerror(errno));
        return;
    }
    d->wake = ::eventfd(0, EFD_CLOEXEC);
    d->listener = std::thread([state = d.get()] { state->listen(); });
}

OpenGate::~OpenGate()
{
    if (d->listener.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(d->wake, &one, sizeof one);
        d->listener.join();
    }
    d->release(true);
    if (d->fan >= 0)
        ::close(d->fan); // answers whatever else is pending with "allow"
    if (d->wake >= 0)
        ::close(d->wake);
}

bool OpenGate::active() const
{
    return d->fan >= 0;
}

QString OpenGate::reason() const
{
    return d->reason;
}

bool OpenGate::deny(const QString &path)
{
    return active() && d->add(path, Rule{Rule::Deny, {}, 0, {}});
}

bool OpenGate::hold(const QString &path, const QString &trigger)
{
    if (!active())
        return false;
    Rule rule{Rule::Hold, {}, 0, {}};
    if (!trigger.isEmpty()) {
        if (!d->add(trigger, Rule{}))
            return false;
        rule.trigger = KeyOf(trigger);
    }
    return d->add(path, rule);
}

int OpenGate::waiting(const QString &path) const
{
    std::lock_guard lock(d->mutex);
    const auto rule = d->rules.find(KeyOf(path));
    return rule == d->rules.end() ? 0 : int(rule->second.held.size());
}
