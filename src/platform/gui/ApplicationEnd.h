#pragma once

namespace platform {

// Ends the process with the given exit status, after the toolkit has handed
// what this program put on the clipboard to the desktop's clipboard manager,
// so that a copied text can still be pasted once the program is gone (on X11
// the toolkit does so when its application object is taken down; where no
// clipboard manager runs, nothing waits). Before that, every window of the
// program stops taking events and sending signals: none of its handlers runs
// again. Then as EndProcess: no exit handler or static destructor runs.
[[noreturn]] void EndApplication(int status);

} // namespace platform
