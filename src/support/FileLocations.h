#pragma once

#include <QByteArray>
#include <QString>

// Where the settings file "rkfview.ini" and the error log "error.txt" live.
//
// Beside the program wherever that works, else in the user's folders:
// 1. The program runs from the folder it was installed to (the bindir the
//    build names): the user's folders.
// 2. Else, when "rkfview.ini" is already beside the program or the program
//    folder is writable: beside the program (a portable copy).
// 3. Else: the user's folders.
// The user's folders are $XDG_CONFIG_HOME/rkfview/ for the settings and
// $XDG_STATE_HOME/rkfview/ for the log, by default ~/.config and
// ~/.local/state; a value that is not an absolute path is ignored. A program
// folder whose shown name does not lead back to it (a name that is not valid
// UTF-8) is treated like a read-only one; with no home folder and no usable
// XDG value the files stay beside the program.

// What the choice depends on, gathered from the running system.
struct LocationFacts {
    QByteArray programFolder;   // the executable's folder, as the file system names it
    QByteArray installedBinDir; // the folder the build installs the programs to
    bool iniBesideProgram = false;
    bool programFolderWritable = false;
    QByteArray configHome; // $XDG_CONFIG_HOME as set
    QByteArray stateHome;  // $XDG_STATE_HOME as set
    QByteArray home;       // the user's home folder
};

// Every folder here ends in the separator.
struct FileLocations {
    QString appPath;      // AppPath: the program folder, named as the folder search names folders
    QString configFolder; // holds "rkfview.ini"
    QString logFolder;    // holds "error.txt"
    QString firstReadDir; // the first LastReadDir: AppPath beside the program, else the home folder
    QString
        logShownAs; // how the stop message names the log: "error.txt" beside the program, else its full path
    bool besideProgram = true;
};

// The rule above; no file-system access.
FileLocations LocateFiles(const LocationFacts &facts);

// The facts for a program folder (its bytes) on this system: the environment,
// the file system and the installed bindir.
LocationFacts GatherLocationFacts(const QByteArray &programFolder);
