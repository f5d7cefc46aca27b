#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// An X server of its own (Xvfb) on the first free display number, optionally with openbox managing
// its screen, for the tests and the benchmark. Both are stopped when the object goes.
class VirtualDisplay {
  public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // Starts Xvfb with one screen of the given geometry ("1024x768x24") and waits until it takes
    // clients; false, with error() saying why, when it cannot.
    bool start(const QString &screen = QStringLiteral("1024x768x24"));
    // Starts openbox on the display, with empty settings of its own, and waits until it manages
    // the screen.
    bool startWindowManager();

    QString display() const { return m_display; } // ":N"
    QString error() const { return m_error; }
    // The system environment with this display as the only one named, for a client process.
    QProcessEnvironment environment() const;

  private:
    QProcess m_server;
    QProcess m_manager;
    QTemporaryDir m_managerHome;
    QString m_display;
    QString m_error;
};
