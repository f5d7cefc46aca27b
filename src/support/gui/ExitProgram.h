#pragma once

#include "support/Settings.h"

#include <QString>
#include <functional>

// The one way the program ends. In this order: the current settings are saved
// (SaveConfig into AppFiles.configFolder); for a real failure (number not 0 and
// neither text empty) one line is appended to "error.txt" in AppFiles.logFolder
// and a stop message titled AppTitle names the procedure; then the process
// ends at once, without running any close handler: status 0 for number 0, status 1 otherwise.
// Failures inside are ignored. A call made while the stop message is open
// ends the process at once.
[[noreturn]] void ExitProgram(int number, const QString &description, const QString &procedure);

// The normal exit, for a request to stop that came as a signal (SIGTERM at
// logout, Ctrl+C): the settings are saved as by ExitProgram(0, "", ""), then
// the process ends by that signal (platform::EndBySignal).
[[noreturn]] void ExitProgramOnSignal(int signal);

// Saves the current settings as the exit does, without ending: for the
// session manager's request to save before the session ends.
void SaveSettingsNow();

// Registers where the current settings come from (the window's tick marks and
// last-read folder). Without a source nothing is saved on exit.
void SetSettingsSource(std::function<Settings()> source);

// Test seams. The message seam is called instead of the stop message box; the
// end seam instead of ending the process, and must not return (a test throws
// to get back); if it returns, the process ends anyway. An empty function
// restores the real one.
void SetStopMessageForTest(std::function<void(const QString &title, const QString &text)> show);
void SetProcessEndForTest(std::function<void(int status)> end);
