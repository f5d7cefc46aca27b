#include "EventGap.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
const QEvent::Type kBeat = QEvent::Type(QEvent::User + 17);
}

void EventGap::start()
{
    // A beat still queued from an earlier measurement is dropped.
    QCoreApplication::removePostedEvents(this, kBeat);
    m_clock.start();
    m_last = 0;
    m_longest = 0;
    m_running = true;
    QCoreApplication::postEvent(this, new QEvent(kBeat));
}

double EventGap::stop()
{
    mark();
    m_running = false;
    QCoreApplication::removePostedEvents(this, kBeat);
    return double(m_longest) / 1e6;
}

void EventGap::mark()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longest = std::max(m_longest, now - m_last);
    m_last = now;
}

bool EventGap::event(QEvent *event)
{
    if (event->type() != kBeat)
        return QObject::event(event);
    if (m_running) {
        mark();
        QCoreApplication::postEvent(this, new QEvent(kBeat));
    }
    return true;
}
