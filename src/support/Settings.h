#pragma once

#include <QString>

// The three settings kept between runs in "rkfview.ini" beside the program.
struct Settings {
    bool TopOnly = false;     // the tick of menuOptTop
    bool AlwaysOnTop = false; // the tick of menuOptZOrder
    QString LastReadDir;      // the folder of the score file shown last
};

// AppPath + "rkfview.ini".
QString IniPath(const QString &appPath);

// One value of the settings file (see platform::ReadProfileString).
QString ReadIni(const QString &appPath, const QString &section, const QString &key,
                const QString &defaultValue);

// Writes one value; a failed write is not noticed.
void WriteIni(const QString &appPath, const QString &section, const QString &key, const QString &value);

// Reads the settings at start-up. A missing or foreign file (marker "Key" in
// "Main" not exactly rkfview) or an option that is not a boolean resets the
// file to the defaults (InitConfig) and loads those. When the file cannot be
// written, the defaults are returned after one failed reset.
Settings LoadConfig(const QString &appPath);

// Writes the default settings, then loads them again; when they still cannot
// be read back (the file cannot be written), the defaults are returned.
Settings InitConfig(const QString &appPath);

// Writes the current settings; called on every exit.
void SaveConfig(const QString &appPath, const Settings &settings);
