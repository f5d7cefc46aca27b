#pragma once

#include <csignal>

namespace platform {

// For the time a file is being rewritten in place: the signals that would end
// the program (hang-up, interrupt, quit, terminate, alarm, the two user
// signals) are held back and delivered, to whatever handled them before,
// once the object is gone; a write past the file size limit fails with EFBIG
// instead of ending the program. SIGKILL cannot be held. One at a time.
class SignalHold {
  public:
    SignalHold();
    ~SignalHold();
    SignalHold(const SignalHold &) = delete;
    SignalHold &operator=(const SignalHold &) = delete;

  private:
    static constexpr int kHeld[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGALRM, SIGUSR1, SIGUSR2};
    struct sigaction m_old[sizeof kHeld / sizeof kHeld[0]];
    struct sigaction m_oldFileSize;
};

} // namespace platform
