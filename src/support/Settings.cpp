#include "support/Settings.h"

#include "platform/IniStore.h"

#include <QStringList>
#include <QtMath>
#include <algorithm>
#include <optional>

namespace {

const QString kMain = QStringLiteral("Main");
const QString kConfig = QStringLiteral("Config");
const QString kMarkerKey = QStringLiteral("Key");
const QString kMarker = QStringLiteral("rkfview");
const QString kTopOnly = QStringLiteral("TopOnly");
const QString kAlwaysOnTop = QStringLiteral("AlwaysOnTop");
const QString kLastReadDir = QStringLiteral("LastReadDir");
const QString kAutoRefresh = QStringLiteral("AutoRefresh");
const QString kLibrary = QStringLiteral("Library");
const QString kGeometry = QStringLiteral("Geometry");
const QString kColumns = QStringLiteral("Columns");

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

// Whole numbers separated by commas, as "10,20,300"; none when any is not one.
QList<int> Numbers(const QString &text)
{
    QList<int> numbers;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        numbers << part.trimmed().toInt(&ok);
        if (!ok)
            return {};
    }
    return numbers;
}

QString NumbersText(const QList<int> &numbers)
{
    QStringList parts;
    for (const int n : numbers)
        parts << QString::number(n);
    return parts.join(QLatin1Char(','));
}

// The library window's settings: a value that does not read leaves its default.
void LoadLibrary(const platform::ProfileFile &file, Settings &settings)
{
    const QList<int> box = Numbers(file.value(kLibrary, kGeometry, QString()));
    if (box.size() == 4 && box[2] > 0 && box[3] > 0)
        settings.LibraryGeometry = QRect(box[0], box[1], box[2], box[3]);
    const QList<int> widths = Numbers(file.value(kLibrary, kColumns, QString()));
    if (std::all_of(widths.begin(), widths.end(), [](int w) { return w > 0; }))
        settings.LibraryColumns = widths;
}

// The settings added after the first four are written once they differ from
// their defaults or are in the file already, so that a file of a user who
// never changed them stays as it was.
bool SaveAdded(platform::ProfileFile &file, const Settings &settings)
{
    // No value holds a line break: this default says the key is missing.
    const QString missing = QStringLiteral("\n");
    if ((!settings.AutoRefresh || file.value(kConfig, kAutoRefresh, missing) != missing) &&
        !file.setValue(kConfig, kAutoRefresh, BooleanText(settings.AutoRefresh)))
        return false;
    const QRect &box = settings.LibraryGeometry;
    if (box.isEmpty())
        return true;
    return file.setValue(kLibrary, kGeometry, NumbersText({box.x(), box.y(), box.width(), box.height()})) &&
           file.setValue(kLibrary, kColumns, NumbersText(settings.LibraryColumns));
}

// The settings as they stand before any file has been read.
Settings Defaults(const QString &firstReadDir)
{
    Settings settings;
    settings.LastReadDir = platform::ProfileValue(Quoted(firstReadDir));
    return settings;
}

// The defaults as InitConfig writes them.
void SetDefaults(platform::ProfileFile &file, const QString &firstReadDir)
{
    file.setValue(kMain, kMarkerKey, kMarker);
    file.setValue(kConfig, kTopOnly, BooleanText(false));
    file.setValue(kConfig, kAlwaysOnTop, BooleanText(false));
    file.setValue(kConfig, kLastReadDir, Quoted(firstReadDir));
}

// Reads the settings from a file read once; a foreign file or a value that
// is not a boolean resets the file once when resetAllowed, and otherwise
// gives the defaults, so a folder that cannot be written does not make the
// reset and the read call each other without end.
Settings LoadFrom(platform::ProfileFile &file, const QString &firstReadDir, bool resetAllowed)
{
    const auto fallback = [&] {
        if (!resetAllowed)
            return Defaults(firstReadDir);
        // InitConfig on the file already read: the defaults are written, then
        // read back from what was written (when the write failed, the file on
        // disk is still foreign, which reads as the defaults as well).
        SetDefaults(file, firstReadDir);
        file.save();
        return LoadFrom(file, firstReadDir, false);
    };

    if (file.value(kMain, kMarkerKey, QString()) != kMarker)
        return fallback();
    const std::optional<bool> topOnly = ToBoolean(file.value(kConfig, kTopOnly, QStringLiteral("False")));
    if (!topOnly)
        return fallback();
    const std::optional<bool> alwaysOnTop =
        ToBoolean(file.value(kConfig, kAlwaysOnTop, QStringLiteral("False")));
    if (!alwaysOnTop)
        return fallback();

    Settings settings;
    settings.TopOnly = *topOnly;
    settings.AlwaysOnTop = *alwaysOnTop;
    settings.LastReadDir = file.value(kConfig, kLastReadDir, Quoted(firstReadDir));
    // Added later than the others: a value that is no boolean keeps it on
    // rather than resetting the whole file.
    settings.AutoRefresh =
        ToBoolean(file.value(kConfig, kAutoRefresh, QStringLiteral("True"))).value_or(true);
    LoadLibrary(file, settings);
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

bool WriteIni(const QString &folder, const QString &section, const QString &key, const QString &value)
{
    return platform::WriteProfileString(IniPath(folder), section, key, value);
}

Settings LoadConfig(const QString &folder, const QString &firstReadDir)
{
    platform::ProfileFile file(IniPath(folder));
    return LoadFrom(file, firstReadDir, true);
}

Settings InitConfig(const QString &folder, const QString &firstReadDir)
{
    platform::ProfileFile file(IniPath(folder));
    SetDefaults(file, firstReadDir);
    file.save();
    return LoadFrom(file, firstReadDir, false);
}

bool SaveConfig(const QString &folder, const Settings &settings)
{
    platform::ProfileFile file(IniPath(folder));
    // All are set in memory first: a refused value leaves the file as it was.
    return file.setValue(kMain, kMarkerKey, Quoted(kMarker)) &&
           file.setValue(kConfig, kTopOnly, BooleanText(settings.TopOnly)) &&
           file.setValue(kConfig, kAlwaysOnTop, BooleanText(settings.AlwaysOnTop)) &&
           file.setValue(kConfig, kLastReadDir, Quoted(settings.LastReadDir)) && SaveAdded(file, settings) &&
           file.save();
}
