#pragma once

#include <QList>
#include <QRect>
#include <QString>

// The settings kept between runs in "rkfview.ini", in the folder that
// FileLocations chooses (beside the program wherever that works). Every
// "folder" below ends in the separator.
struct Settings {
    bool TopOnly = false;     // the tick of menuOptTop
    bool AlwaysOnTop = false; // the tick of menuOptZOrder
    QString LastReadDir;      // the folder of the score file shown last
    bool AutoRefresh = true;  // the tick of menuOptRefresh
    // The library window's place and size and its column widths in pixels,
    // in section "Library"; empty until the window was shown once.
    QRect LibraryGeometry{};
    QList<int> LibraryColumns{};
};

// folder + "rkfview.ini".
QString IniPath(const QString &folder);

// One value of the settings file (see platform::ReadProfileString).
QString ReadIni(const QString &folder, const QString &section, const QString &key,
                const QString &defaultValue);

// Writes one value; false when it was not written.
bool WriteIni(const QString &folder, const QString &section, const QString &key, const QString &value);

// Reads the settings at start-up, reading the file once. A missing or foreign
// file (marker "Key" in "Main" not exactly rkfview) or an option that is not
// a boolean resets the file to the defaults (InitConfig) and loads those.
// When the file cannot be written, the defaults are returned after one failed
// reset. A file that cannot be read, or is larger than
// platform::kMaxProfileBytes, gives the defaults and is left as it is. firstReadDir is
// the default last-read folder (AppPath, or the home folder when the settings
// do not live beside the program).
Settings LoadConfig(const QString &folder, const QString &firstReadDir);

// Writes the default settings, then loads them again; when they still cannot
// be read back (the file cannot be written), the defaults are returned.
Settings InitConfig(const QString &folder, const QString &firstReadDir);

// Writes the current settings in one write of the file; called on every exit.
// Returns false, leaving the file byte for byte as it was, when it could not
// be read (or is too large) or written (a full disk included).
bool SaveConfig(const QString &folder, const Settings &settings);
