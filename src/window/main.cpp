// rkfview: the score-file viewer's entry point.

#include "window/Main.h"
#include "Version.h"
#include "platform/CodePage.h"
#include "platform/FileNames.h"
#include "platform/ProcessEnd.h"
#include "platform/ProgramFolder.h"
#include "platform/StandardStreams.h"
#include "platform/TerminationSignals.h"
#include "platform/gui/ApplicationEnd.h"
#include "platform/gui/MessageBox.h"
#include "platform/gui/WindowSystem.h"
#include "support/gui/ExitProgram.h"
#include "window/AppIdentity.h"
#include "window/StartOptions.h"

#include <QApplication>
#include <QByteArray>
#include <QLibraryInfo>
#include <QList>
#include <QSessionManager>
#include <QTranslator>
#include <cstdio>

namespace {

// The application id: the desktop entry's name, so that the window system's
// class (X11) or app id (Wayland) matches the installed menu entry.
const char kDesktopFileName[] = "io.github.rkfview.rkfview";

const char kNoCodePage[] =
    "rkfview: this Qt cannot convert code page 932 (Shift_JIS), in which score files,\n"
    "reports and settings are written; a Qt built with ICU support is needed.\n";

bool HasEnv(const char *name)
{
    return !qEnvironmentVariableIsEmpty(name);
}

// Whether a window system can be reached at all, judged before Qt tries.
bool DisplayNamed()
{
    return HasEnv("QT_QPA_PLATFORM") || HasEnv("DISPLAY") || HasEnv("WAYLAND_DISPLAY");
}

QtMessageHandler qtHandler = nullptr;

// While the application starts, a fatal toolkit message means the display
// could not be reached (the warning before it names the display): say so
// plainly instead of suggesting a reinstall.
void StartupMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        qtHandler(type, context, message);
        return;
    }
    std::fputs(NoDisplayText(HasEnv("WAYLAND_DISPLAY")).constData(), stderr);
    platform::EndProcess(1);
}

} // namespace

int main(int argc, char **argv)
{
    platform::OpenClosedStandardStreams();
    QList<QByteArray> given;
    for (int i = 1; i < argc; ++i)
        given.append(QByteArray(argv[i]));
    switch (StartActionFor(given)) {
    case StartAction::PrintHelp:
        std::fputs(HelpText().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case StartAction::PrintVersion:
        std::fputs(VersionText().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case StartAction::ShowWindow:
        break;
    }

    if (!DisplayNamed()) {
        std::fputs(NoDisplayText(false).constData(), stderr);
        return 1;
    }
    platform::ChooseWindowSystem(given);
    qtHandler = qInstallMessageHandler(StartupMessage);
    // Made here and ended by EndApplication on every way out, where the
    // toolkit hands the clipboard over before the process ends.
    auto *app = new QApplication(argc, argv);
    qInstallMessageHandler(qtHandler);
    platform::ForgetWindowSystemChoice();

    // A request to stop (logout, systemd, kill, Ctrl+C) is a normal exit.
    platform::CatchTerminationSignals(ExitProgramOnSignal);
    // Before the session ends, its manager asks for what is to be kept: the
    // settings are saved then. The program ends when the session tells it to
    // (as a close request), not here: the same request also comes for a
    // checkpoint, after which the session goes on.
    QObject::connect(app, &QGuiApplication::commitDataRequest, [](QSessionManager &) { SaveSettingsNow(); });
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopFileName));

    // The program speaks Japanese: so do the toolkit's own dialog texts
    // (buttons, the overwrite question), where their translation is installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app->installTranslator(&toolkitTexts);

    if (!platform::CodePageAvailable()) {
        std::fputs(kNoCodePage, stderr);
        platform::ShowStopMessage(
            MakeAppTitle(kVersionRevision),
            QStringLiteral("Shift_JIS (コードページ 932) を変換できないため起動できません。"));
        return 1;
    }

    // The arguments as bytes, after the toolkit has taken its own options.
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    QByteArray programFolder = platform::ExecutableFolder();
    if (programFolder.isEmpty())
        programFolder = platform::NativeFileName(QCoreApplication::applicationDirPath());
    const std::unique_ptr<frmMain> window = Main(programFolder, arguments);
    // The way out is ExitProgram's; should the loop end otherwise, the end is the same.
    platform::EndApplication(app->exec());
}
