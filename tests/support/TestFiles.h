#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to dir/name (creating folders on the way) and returns the path.
QString WriteTestFile(const QString &dir, const QString &name, const QByteArray &bytes);

// The bytes of a file, or an empty array when it cannot be read.
QByteArray ReadTestFile(const QString &path);
