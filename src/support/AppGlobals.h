#pragma once

#include <QString>

// Set once by Main: the program's folder (always ending in the separator) and
// the window title "velmora ScoreFile Viewer [build N]".
inline QString AppPath;
inline QString AppTitle;
