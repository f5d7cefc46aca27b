#include "support/FileLocations.h"

#include "InstallDirs.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kLogName = QStringLiteral("error.txt");

bool IsAbsolute(const QByteArray &path)
{
    return path.startsWith(platform::kSeparator);
}

QByteArray WithSeparator(const QByteArray &folder)
{
    return folder.endsWith(platform::kSeparator) ? folder : folder + platform::kSeparator;
}

// The XDG base folder: the variable when it holds an absolute path, else the
// default under home; empty without either.
QByteArray BaseFolder(const QByteArray &variable, const QByteArray &home, const char *underHome)
{
    if (IsAbsolute(variable))
        return WithSeparator(variable);
    if (IsAbsolute(home))
        return WithSeparator(home) + underHome;
    return {};
}

} // namespace

FileLocations LocateFiles(const LocationFacts &facts)
{
    const QByteArray folder = WithSeparator(facts.programFolder);
    FileLocations places;
    places.appPath = platform::DisplayPath(folder);
    places.configFolder = places.logFolder = places.firstReadDir = places.appPath;
    places.logShownAs = kLogName;
    places.besideProgram = true;

    const QByteArray config = BaseFolder(facts.configHome, facts.home, ".config/");
    const QByteArray state = BaseFolder(facts.stateHome, facts.home, ".local/state/");
    if (config.isEmpty() || state.isEmpty())
        return places;

    const bool installed = !facts.installedBinDir.isEmpty() && folder == WithSeparator(facts.installedBinDir);
    const bool reachable = platform::NativeFileName(places.appPath) == folder;
    if (!installed && reachable && (facts.iniBesideProgram || facts.programFolderWritable))
        return places;

    places.besideProgram = false;
    places.configFolder = platform::DisplayPath(config + "rkfview/");
    places.logFolder = platform::DisplayPath(state + "rkfview/");
    if (IsAbsolute(facts.home))
        places.firstReadDir = platform::DisplayPath(WithSeparator(facts.home));
    places.logShownAs = places.logFolder + kLogName;
    return places;
}

LocationFacts GatherLocationFacts(const QByteArray &programFolder)
{
    LocationFacts facts;
    facts.programFolder = WithSeparator(programFolder);
    facts.installedBinDir = platform::ResolvedPath(QByteArray(kInstalledBinDir));
    facts.iniBesideProgram = platform::PathExists(facts.programFolder + "rkfview.ini");
    facts.programFolderWritable = platform::FolderWritable(facts.programFolder);
    facts.configHome = qgetenv("XDG_CONFIG_HOME");
    facts.stateHome = qgetenv("XDG_STATE_HOME");
    facts.home = qgetenv("HOME");
    if (facts.home.isEmpty()) {
        if (const passwd *user = ::getpwuid(::getuid()))
            facts.home = QByteArray(user->pw_dir);
    }
    return facts;
}
