#include "support/Settings.h"

#include "platform/IniStore.h"

#include <QtMath>
#include <optional>

namespace {

const QString kMain = QStringLiteral("Main");
const QString kConfig = QStringLiteral("Config");
const QString kMarkerKey = QStringLiteral("Key");
const QString kMarker = QStringLiteral("rkfview");
const QString kTopOnly = QStringLiteral("TopOnly");
const QString kAlwaysOnTop = QStringLiteral("AlwaysOnTop");
const QString kLastReadDir = QStringLiteral("LastReadDir");

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString BooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// True or False in any letter case, or a number (0 is false, any other number
// true). Anything else, the empty text included, has no boolean value.
std::optional<bool> ToBoolean(const QString &text)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !qIsFinite(number))
        return std::nullopt;
    return number != 0.0;
}

// The settings as they stand before any file has been read.
Settings Defaults(const QString &appPath)
{
    Settings settings;
    settings.LastReadDir = platform::ProfileValue(Quoted(appPath));
    return settings;
}

// Reads the settings; a foreign file or a value that is not a boolean resets
// the file once when resetAllowed, and otherwise gives the defaults, so a
// folder that cannot be written does not make the reset and the read call
// each other without end.
Settings LoadConfigOnce(const QString &appPath, bool resetAllowed)
{
    const auto fallback = [&] { return resetAllowed ? InitConfig(appPath) : Defaults(appPath); };

    if (ReadIni(appPath, kMain, kMarkerKey, QString()) != kMarker)
        return fallback();
    const std::optional<bool> topOnly =
        ToBoolean(ReadIni(appPath, kConfig, kTopOnly, QStringLiteral("False")));
    if (!topOnly)
        return fallback();
    const std::optional<bool> alwaysOnTop =
        ToBoolean(ReadIni(appPath, kConfig, kAlwaysOnTop, QStringLiteral("False")));
    if (!alwaysOnTop)
        return fallback();

    Settings settings;
    settings.TopOnly = *topOnly;
    settings.AlwaysOnTop = *alwaysOnTop;
    settings.LastReadDir = ReadIni(appPath, kConfig, kLastReadDir, Quoted(appPath));
    return settings;
}

} // namespace

QString IniPath(const QString &appPath)
{
    return appPath + QStringLiteral("rkfview.ini");
}

QString ReadIni(const QString &appPath, const QString &section, const QString &key,
                const QString &defaultValue)
{
    return platform::ReadProfileString(IniPath(appPath), section, key, defaultValue);
}

void WriteIni(const QString &appPath, const QString &section, const QString &key, const QString &value)
{
    platform::WriteProfileString(IniPath(appPath), section, key, value);
}

Settings LoadConfig(const QString &appPath)
{
    return LoadConfigOnce(appPath, true);
}

Settings InitConfig(const QString &appPath)
{
    WriteIni(appPath, kMain, kMarkerKey, kMarker);
    WriteIni(appPath, kConfig, kTopOnly, BooleanText(false));
    WriteIni(appPath, kConfig, kAlwaysOnTop, BooleanText(false));
    WriteIni(appPath, kConfig, kLastReadDir, Quoted(appPath));
    return LoadConfigOnce(appPath, false);
}

void SaveConfig(const QString &appPath, const Settings &settings)
{
    WriteIni(appPath, kMain, kMarkerKey, Quoted(kMarker));
    WriteIni(appPath, kConfig, kTopOnly, BooleanText(settings.TopOnly));
    WriteIni(appPath, kConfig, kAlwaysOnTop, BooleanText(settings.AlwaysOnTop));
    WriteIni(appPath, kConfig, kLastReadDir, Quoted(settings.LastReadDir));
}
