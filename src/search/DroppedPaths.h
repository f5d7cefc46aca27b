#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

// The local files of a drop, as the bytes that name them. A drop's file list
// arrives as URLs; decoding them to text would lose names that are not valid
// UTF-8, so the bytes are taken from the percent-encoded path. URLs of other
// schemes and of other hosts are left out, in the order kept.
QList<QByteArray> LocalDropPaths(const QList<QUrl> &urls);
