#include "window/AppIdentity.h"

QString MakeAppTitle(int revision)
{
    return QStringLiteral("velmora ScoreFile Viewer [build ") + QString::number(revision) + QLatin1Char(']');
}
