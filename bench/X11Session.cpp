#include "X11Session.h"

#include <QStandardPaths>
#include <QThread>

X11Session::~X11Session()
{
    for (QProcess *process : {m_windowManager.get(), m_server.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
            process->waitForFinished(1000);
        }
    }
}

bool X11Session::open()
{
    const QString given = qEnvironmentVariable("DISPLAY");
    if (!given.isEmpty()) {
        m_display = given;
        m_why = QStringLiteral("display %1 (DISPLAY)").arg(given);
        return true;
    }
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        m_why = QStringLiteral("DISPLAY is unset and Xvfb is not installed (apt-get install xvfb)");
        return false;
    }
    // Xvfb picks a free display number itself and writes it to standard output.
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::SeparateChannels);
    m_server->setStandardErrorFile(QProcess::nullDevice());
    m_server->start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    QByteArray number;
    while (!number.contains('\n') && m_server->waitForReadyRead(10000))
        number += m_server->readAllStandardOutput();
    if (!number.contains('\n')) {
        m_why = QStringLiteral("Xvfb did not start");
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    m_why = QStringLiteral("Xvfb %1 started by the benchmark").arg(m_display);

    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty()) {
        m_why += QStringLiteral(", no window manager (openbox not installed)");
        return true;
    }
    m_windowManager = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    m_windowManager->setProcessEnvironment(env);
    m_windowManager->setStandardOutputFile(QProcess::nullDevice());
    m_windowManager->setStandardErrorFile(QProcess::nullDevice());
    m_windowManager->start(openbox, {});
    m_windowManager->waitForStarted(5000);
    QThread::msleep(500); // time to take over the screen
    m_why += QStringLiteral(", openbox");
    return true;
}
