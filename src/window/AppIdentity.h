#pragma once

#include <QString>

// "velmora ScoreFile Viewer [build N]" for the version's revision N.
QString MakeAppTitle(int revision);
