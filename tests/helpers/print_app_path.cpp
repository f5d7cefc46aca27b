// Prints, as hex, the executable's folder bytes and the AppPath and settings
// folder the viewer would choose when started from where this program sits.

#include "platform/ProgramFolder.h"
#include "support/FileLocations.h"

#include <cstdio>

int main()
{
    const QByteArray folder = platform::ExecutableFolder();
    const FileLocations places = LocateFiles(GatherLocationFacts(folder));
    std::printf("%s\n%s\n%s\n", folder.toHex().constData(), places.appPath.toUtf8().toHex().constData(),
                places.configFolder.toUtf8().toHex().constData());
    return 0;
}
