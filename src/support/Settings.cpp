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
Settings Defaults(const QString &firstReadDir)
{
    Settings settings;
    settings.LastReadDir = platform::ProfileValue(Quoted(firstReadDir));
    return settings;
}

// Reads the settings; a foreign file or a value that is not a boolean resets
// the file once when resetAllowed, and otherwise gives the defaults, so a
// folder that cannot be written does not make the reset and the read call
// each other without end.
Settings LoadConfigOnce(const QString &folder, const QString &firstReadDir, bool resetAllowed)
{
    const auto fallback = [&] {
        return resetAllowed ? InitConfig(folder, firstReadDir) : Defaults(firstReadDir);
    };

    if (ReadIni(folder, kMain, kMarkerKey, QString()) != kMarker)
        return fallback();
    const std::optional<bool> topOnly =
        ToBoolean(ReadIni(folder, kConfig, kTopOnly, QStringLiteral("False")));
    if (!topOnly)
        return fallback();
    const std::optional<bool> alwaysOnTop =
        ToBoolean(ReadIni(folder, kConfig, kAlwaysOnTop, QStringLiteral("False")));
    if (!alwaysOnTop)
        return fallback();

    Settings settings;
    settings.TopOnly = *topOnly;
    settings.AlwaysOnTop = *alwaysOnTop;
    settings.LastReadDir = ReadIni(folder, kConfig, kLastReadDir, Quoted(firstReadDir));
    return settings;
}

} // namespace

QString IniPath(const QString &folder)
{
    return folder + QStringLiteral("rkfview.ini");
}

QString ReadIni(const QString &folder, const QString &section, const QString &key,
                const QString &defaultValue)
{
    return platform::ReadProfileString(IniPath(folder), section, key, defaultValue);
}

void WriteIni(const QString &folder, const QString &section, const QString &key, const QString &value)
{
    platform::WriteProfileString(IniPath(folder), section, key, value);
}

Settings LoadConfig(const QString &folder, const QString &firstReadDir)
{
    return LoadConfigOnce(folder, firstReadDir, true);
}

Settings InitConfig(const QString &folder, const QString &firstReadDir)
{
    WriteIni(folder, kMain, kMarkerKey, kMarker);
    WriteIni(folder, kConfig, kTopOnly, BooleanText(false));
    WriteIni(folder, kConfig, kAlwaysOnTop, BooleanText(false));
    WriteIni(folder, kConfig, kLastReadDir, Quoted(firstReadDir));
    return LoadConfigOnce(folder, firstReadDir, false);
}

void SaveConfig(const QString &folder, const Settings &settings)
{
    WriteIni(folder, kMain, kMarkerKey, Quoted(kMarker));
    WriteIni(folder, kConfig, kTopOnly, BooleanText(settings.TopOnly));
    WriteIni(folder, kConfig, kAlwaysOnTop, BooleanText(settings.AlwaysOnTop));
    WriteIni(folder, kConfig, kLastReadDir, Quoted(settings.LastReadDir));
}
