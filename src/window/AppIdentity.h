#pragma once

#include <QString>

// The program's folder as AppPath keeps it: ending in one "/", never two (the
// root folder "/" stays as it is).
QString FolderWithSeparator(const QString &folder);

// "velmora ScoreFile Viewer [build N]" for the version's revision N.
QString MakeAppTitle(int revision);
