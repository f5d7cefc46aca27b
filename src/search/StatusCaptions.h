#pragma once

#include <QString>

// The window captions of loading: AppTitle followed by a status.

// AppTitle + " - Now Loading..." while a load runs.
QString LoadingCaption();

// AppTitle + " - Now Loading... " + count + " Files Found" during a search.
QString FilesFoundCaption(int count);

// AppTitle + " - Load Complete." after a single-file load or a folder browse.
QString LoadCompleteCaption();
