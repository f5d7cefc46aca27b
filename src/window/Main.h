#pragma once

#include "window/frmMain.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// The start-up prompt of the summary box.
inline const QString kStartupPrompt =
    QStringLiteral("rkfファイル・フォルダをドロップするか検索するフォルダを指定してください");

// Starts the viewer: sets AppPath (programFolder, ending in "/", named as the
// folder search names folders), where the settings and the log live
// (AppFiles) and AppTitle, creates the window with the start-up prompt, resets the loaded-file
// list, loads and applies the settings, adds the ranking columns, prepares the
// save dialog, shows the window and loads the score file named by the
// arguments (the program's own path not included). The window lives until the
// program ends.
std::unique_ptr<frmMain> Main(const QByteArray &programFolder, const QList<QByteArray> &arguments);

// The same for a program folder given as text.
std::unique_ptr<frmMain> Main(const QString &programFolder, const QList<QByteArray> &arguments);
