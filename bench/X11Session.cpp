#include "X11Session.h"

bool X11Session::open()
{
    const QString given = qEnvironmentVariable("DISPLAY");
    if (!given.isEmpty()) {
        m_display = given;
        m_why = QStringLiteral("display %1 (DISPLAY)").arg(given);
        return true;
    }
    m_virtual = std::make_unique<VirtualDisplay>();
    if (!m_virtual->start(QStringLiteral("1280x1024x24"))) {
        m_why = QStringLiteral("DISPLAY is unset and ") + m_virtual->error();
        return false;
    }
    m_display = m_virtual->display();
    m_why = QStringLiteral("Xvfb %1 started by the benchmark").arg(m_display);
    if (m_virtual->startWindowManager())
        m_why += QStringLiteral(", openbox");
    else
        m_why += QStringLiteral(", no window manager (%1)").arg(m_virtual->error());
    return true;
}
