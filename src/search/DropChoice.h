#pragma once

#include <QByteArray>
#include <QList>

// What a drop loads: the first dropped item that is an ordinary, not hidden
// file ending in ".RKF" (any case) or a folder; every other item is skipped.
struct DropChoice {
    enum Kind { Nothing, ScoreFile, Folder };
    Kind kind = Nothing;
    QByteArray path; // the item's bytes as dropped
};

// Hidden on this platform: the last name of the path begins with a dot.
bool IsHiddenName(const QByteArray &path);

DropChoice ChooseDroppedItem(const QList<QByteArray> &paths);
