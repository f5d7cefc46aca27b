#pragma once

#include "support/FileLocations.h"

#include <QString>

// Set once by Main: the program's folder (always ending in the separator) and
// the window title "velmora ScoreFile Viewer [build N]".
inline QString AppPath;
inline QString AppTitle;

// Set once by Main: where the settings file and the error log live.
inline FileLocations AppFiles;
