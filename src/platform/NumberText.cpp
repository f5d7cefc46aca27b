#include "platform/NumberText.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace platform {
namespace {

// Non-finite values get fixed texts, whatever the locale.
std::optional<QString> NonFiniteText(float value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    return std::nullopt;
}

QString WithLocaleSeparator(const char *begin, const char *end)
{
    QString text = QString::fromLatin1(begin, end - begin);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace

QString GeneralNumber(float value)
{
    if (auto special = NonFiniteText(value))
        return *special;
    if (value == 0.0f)
        return QStringLiteral("0"); // negative zero included

    // "%.7G": exponent form when the exponent is below -4 or 7 and above.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, double(value), std::chars_format::general, 7);
    std::string text(buf, res.ptr);
    const auto e = text.find('e');
    if (e != std::string::npos) {
        // to_chars writes "1e+07"; the program shows "1E+07".
        text[e] = 'E';
    }
    return WithLocaleSeparator(text.data(), text.data() + text.size());
}

QString OneDecimal(float value)
{
    if (auto special = NonFiniteText(value))
        return *special;
    // A float32 times ten is exact in double, so halves are seen as halves.
    double rounded = std::round(double(value) * 10.0) / 10.0;
    if (rounded == 0.0)
        rounded = 0.0; // no "-0.0"
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 1);
    return WithLocaleSeparator(buf, res.ptr);
}

std::optional<float> ParseNumber(QStringView text)
{
    if (text == QLatin1String("NaN"))
        return std::nanf("");
    if (text == QLatin1String("Inf"))
        return HUGE_VALF;
    if (text == QLatin1String("-Inf"))
        return -HUGE_VALF;
    bool ok = false;
    const double value = QLocale().toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return float(value);
}

std::optional<std::int32_t> RoundToInt32(float value)
{
    if (std::isnan(value))
        return std::nullopt;
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(double(value));
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return std::int32_t(rounded);
}

} // namespace platform
