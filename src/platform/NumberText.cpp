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

// The default locale's decimal separator. Asking the system locale for it is
// slow (a report asks thousands of times), so it is looked up again only when
// the default locale has changed.
const QString &DecimalPoint()
{
    static QLocale locale;
    static QString point = locale.decimalPoint();
    const QLocale current;
    if (current != locale) {
        locale = current;
        point = locale.decimalPoint();
    }
    return point;
}

QString WithLocaleSeparator(const char *begin, const char *end)
{
    QString text = QString::fromLatin1(begin, end - begin);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot >= 0 && DecimalPoint() != QLatin1String("."))
        text.replace(dot, 1, DecimalPoint());
    return text;
}

// The text as a double when it is plain: an optional "-", digits, and
// optionally the locale's decimal separator and more digits. Every locale
// reads such a text the same way, so it is parsed here without the (slow)
// locale parser; anything else returns empty.
std::optional<double> ParsePlain(QStringView text)
{
    char buf[64];
    qsizetype n = 0;
    qsizetype i = 0;
    if (i < text.size() && text[i] == QLatin1Char('-')) {
        buf[n++] = '-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    while (i < text.size() && n < qsizetype(sizeof buf)) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            buf[n++] = char(c.unicode());
            digits = true;
            ++i;
        } else if (!separator && digits && text.sliced(i).startsWith(DecimalPoint())) {
            buf[n++] = '.';
            separator = true;
            i += DecimalPoint().size();
        } else {
            return std::nullopt;
        }
    }
    if (i != text.size() || !digits || buf[n - 1] == '.')
        return std::nullopt;
    double value = 0;
    const auto res = std::from_chars(buf, buf + n, value);
    if (res.ec != std::errc() || res.ptr != buf + n)
        return std::nullopt;
    return value;
}

} // namespace

QString GeneralNumber(float value)
{
    if (auto special = NonFiniteText(value))
        return *special;
    if (value == 0.0f)
        return QStringLiteral("0"); // negative zero included
    // Whole numbers below ten million, the common case, are plain digits.
    if (std::fabs(value) < 1e7f && value == std::trunc(value))
        return QString::number(std::int64_t(value));

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
    if (const auto plain = ParsePlain(text))
        return float(*plain);
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
