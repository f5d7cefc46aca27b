#include "support/gui/ExitProgram.h"

#include "platform/ProcessEnd.h"
#include "platform/gui/ApplicationEnd.h"
#include "platform/gui/MessageBox.h"
#include "support/AppGlobals.h"
#include "support/ErrorLog.h"

#include <QDateTime>

namespace {

std::function<Settings()> &SettingsSource()
{
    static std::function<Settings()> source;
    return source;
}

std::function<void(const QString &, const QString &)> &StopMessageSeam()
{
    static std::function<void(const QString &, const QString &)> show;
    return show;
}

std::function<void(int)> &ProcessEndSeam()
{
    static std::function<void(int)> end;
    return end;
}

// The status of the exit in progress, or -1 while the program runs.
int g_exitStatus = -1;

[[noreturn]] void End(int status)
{
    if (ProcessEndSeam())
        ProcessEndSeam()(status);
    platform::EndApplication(status);
}

// Runs one step; a failure inside it is ignored and the next step runs.
template <typename Step> void Ignoring(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

void SetSettingsSource(std::function<Settings()> source)
{
    SettingsSource() = std::move(source);
}

void SetStopMessageForTest(std::function<void(const QString &, const QString &)> show)
{
    StopMessageSeam() = std::move(show);
}

void SetProcessEndForTest(std::function<void(int)> end)
{
    ProcessEndSeam() = std::move(end);
}

void SaveSettingsNow()
{
    Ignoring([] {
        if (SettingsSource())
            SaveConfig(AppFiles.configFolder, SettingsSource()());
    });
}

void ExitProgramOnSignal(int signal)
{
    platform::EndBySignal(signal);
    ExitProgram(0, QString(), QString());
}

void ExitProgram(int number, const QString &descriptionText, const QString &procedureText)
{
    // Own copies: the stop message runs an event loop in which the caller's
    // objects may go away.
    const QString description = descriptionText;
    const QString procedure = procedureText;
    const int status = number == 0 ? 0 : 1;
    if (g_exitStatus >= 0) {
        // Entered again from the stop message's event loop: the first exit has
        // already saved and logged; end now, keeping a failure's status.
        End(qMax(g_exitStatus, status));
    }
    g_exitStatus = status;

    SaveSettingsNow();
    if (IsReportedFailure(number, description, procedure)) {
        Ignoring([&] {
            AppendErrorLog(AppFiles.logFolder,
                           ErrorLogLine(QDateTime::currentDateTime(), number, description, procedure));
        });
        Ignoring([&] {
            if (StopMessageSeam())
                StopMessageSeam()(AppTitle, ExitMessageText(procedure, AppFiles.logShownAs));
            else
                platform::ShowStopMessage(AppTitle, ExitMessageText(procedure, AppFiles.logShownAs));
        });
    }
    g_exitStatus = -1; // matters only when a test seam throws out of End
    End(status);
}
