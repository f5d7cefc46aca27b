#pragma once

#include <QString>
#include <memory>

// Makes chosen files slow or impossible to open for every process, root
// included: a fanotify permission mark on each (needs CAP_SYS_ADMIN), whose
// opens a thread of the gate answers. Only opens made after the file was
// added are gated.
class OpenGate {
  public:
    OpenGate();
    // Every open still held goes through.
    ~OpenGate();
    OpenGate(const OpenGate &) = delete;
    OpenGate &operator=(const OpenGate &) = delete;

    // False when fanotify could not be set up; reason says why.
    bool active() const;
    QString reason() const;

    // Opens of path fail with "permission denied".
    bool deny(const QString &path);
    // Opens of path wait until an open of trigger has reached the gate, or,
    // without a trigger, until the gate ends; all at the latest once no open
    // has reached the gate for ten seconds. The trigger is gated too (its
    // opens go through at once unless it is held itself).
    bool hold(const QString &path, const QString &trigger = QString());
    // How many opens of path are waiting at the gate now.
    int waiting(const QString &path) const;

  private:
    struct State;
    std::unique_ptr<State> d;
};
