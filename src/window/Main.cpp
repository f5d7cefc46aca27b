#include "window/Main.h"

#include "Version.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "search/ScoreFiles.h"
#include "support/AppGlobals.h"
#include "support/Settings.h"
#include "window/AppIdentity.h"

#include <QPlainTextEdit>

std::unique_ptr<frmMain> Main(const QByteArray &programFolder, const QList<QByteArray> &arguments)
{
    AppFiles = LocateFiles(GatherLocationFacts(programFolder));
    AppPath = AppFiles.appPath;
    AppTitle = MakeAppTitle(kVersionRevision);
    if (!AppFiles.besideProgram)
        platform::MakeUserFolder(platform::NativeFileName(AppFiles.configFolder));

    auto window = std::make_unique<frmMain>();
    window->setWindowTitle(AppTitle);
    window->txtScore->setPlainText(kStartupPrompt);
    ResetScoreFiles();

    window->ApplyConfig(LoadConfig(AppFiles.configFolder, AppFiles.firstReadDir));
    // Settings are saved on exit only once they have been loaded, so an early
    // failure never overwrites them with blanks.
    window->RegisterSettingsSource();

    window->AddRankColumns();
    window->cdlgSave.OverwritePrompt = true;
    window->cdlgSave.NoReadOnlyReturn = true;
    window->cdlgSave.InitDir = window->LastReadDir;
    window->show();
    window->GetCmdLine(arguments);
    return window;
}

std::unique_ptr<frmMain> Main(const QString &programFolder, const QList<QByteArray> &arguments)
{
    return Main(platform::NativeFileName(programFolder), arguments);
}
