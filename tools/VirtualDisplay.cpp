#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QStandardPaths>

namespace {

constexpr int kStartMs = 10000;

void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

// Reads the process's standard output until a whole line has come; the line without its end.
QByteArray ReadLine(QProcess &process)
{
    const QDeadlineTimer deadline(kStartMs);
    while (!process.canReadLine() && !deadline.hasExpired() && process.state() != QProcess::NotRunning)
        process.waitForReadyRead(int(deadline.remainingTime()));
    return process.canReadLine() ? process.readLine().trimmed() : QByteArray();
}

} // namespace

VirtualDisplay::~VirtualDisplay()
{
    Stop(m_manager);
    Stop(m_server);
}

bool VirtualDisplay::start(const QString &screen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        m_error = QStringLiteral("Xvfb is not installed (apt-get install xvfb)");
        return false;
    }
    // The server takes the first free display number and writes it on the descriptor named.
    m_server.setStandardErrorFile(QProcess::nullDevice());
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"), screen});
    const QByteArray number = ReadLine(m_server);
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb did not start");
        Stop(m_server);
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number);
    return true;
}

bool VirtualDisplay::startWindowManager()
{
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
        m_error = QStringLiteral("openbox is not installed (apt-get install openbox)");
        return false;
    }
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("HOME"), m_managerHome.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_managerHome.path());
    m_manager.setProcessEnvironment(env);
    m_manager.setStandardErrorFile(QProcess::nullDevice());
    // openbox runs its start command once it manages the screen.
    m_manager.start(QStringLiteral("openbox"), {QStringLiteral("--startup"), QStringLiteral("echo ready")});
    const QDeadlineTimer deadline(kStartMs);
    QByteArray line;
    while (line != "ready" && !deadline.hasExpired() && m_manager.state() != QProcess::NotRunning)
        line = ReadLine(m_manager);
    if (line != "ready") {
        m_error = QStringLiteral("openbox did not start");
        Stop(m_manager);
        return false;
    }
    return true;
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}
