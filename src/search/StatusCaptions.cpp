#include "search/StatusCaptions.h"

#include "support/AppGlobals.h"

QString LoadingCaption()
{
    return AppTitle + QLatin1String(" - Now Loading...");
}

QString FilesFoundCaption(int count)
{
    return AppTitle + QLatin1String(" - Now Loading... ") + QString::number(count) +
           QLatin1String(" Files Found");
}

QString LoadCompleteCaption()
{
    return AppTitle + QLatin1String(" - Load Complete.");
}
