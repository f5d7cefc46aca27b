#pragma once

#include <QByteArray>
#include <QList>

// The two options the viewer answers on the terminal before any window opens.
// Neither can be the path of a score file, so the command-line rule for score
// files is untouched by them.
enum class StartAction {
    ShowWindow,
    PrintHelp,    // "--help", "-h"
    PrintVersion, // "--version", "-V"
};

// The first of the help and version options among the arguments (the program's own
// path not included), else ShowWindow.
StartAction StartActionFor(const QList<QByteArray> &arguments);

// The text "--help" prints.
QByteArray HelpText();

// "rkfview 0.0.0.50" and a line end.
QByteArray VersionText();

// The hint printed when no display can be reached; where a Wayland display is
// named, it names the toolkit's Wayland plugin as well.
QByteArray NoDisplayText(bool waylandNamed);
