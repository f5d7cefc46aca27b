// Number texts of float32 values: the general number format is "%.7G" and
// parses back to a value with the same 7-digit text; the one-decimal form and
// the rounding to int32 agree with exact integer arithmetic.
#include "FuzzSupport.h"

#include "platform/NumberText.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

QString Printf(const char *format, double value)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, value);
    QString text = QString::fromLatin1(buf);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

void CheckGeneral(float value)
{
    const QString text = platform::GeneralNumber(value);
    QString expected;
    if (std::isnan(value))
        expected = QStringLiteral("NaN");
    else if (std::isinf(value))
        expected = value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    else if (value == 0)
        expected = QStringLiteral("0");
    else
        expected = Printf("%.7G", double(value));
    fuzz::CheckEqual(expected, text, "general number format");

    const auto parsed = platform::ParseNumber(text);
    fuzz::Check(parsed.has_value(), "the general format parses", text);
    fuzz::Check(std::isnan(*parsed) == std::isnan(value), "not-a-number parses as itself", text);
    fuzz::CheckEqual(text, platform::GeneralNumber(*parsed), "parsed back to the same 7 digits");
}

void CheckOneDecimal(float value)
{
    const QString text = platform::OneDecimal(value);
    if (!std::isfinite(value)) {
        fuzz::CheckEqual(platform::GeneralNumber(value), text, "one decimal of a value that is not finite");
        return;
    }
    if (std::fabs(value) >= 1e15f)
        return;
    // value * 10 is exact; round halves away from zero on the exact value.
    const double tenths = double(value) * 10;
    const auto whole = std::int64_t(tenths);
    const double rest = std::fabs(tenths - double(whole));
    const std::int64_t rounded = rest >= 0.5 ? whole + (tenths < 0 ? -1 : 1) : whole;
    const std::uint64_t magnitude = rounded < 0 ? std::uint64_t(-rounded) : std::uint64_t(rounded);
    const QString expected = (rounded < 0 ? QStringLiteral("-") : QString()) +
                             QString::number(magnitude / 10) + QLocale().decimalPoint() +
                             QString::number(magnitude % 10);
    fuzz::CheckEqual(expected, text, "one decimal");
}

void CheckRound(float value)
{
    const auto rounded = platform::RoundToInt32(value);
    if (std::isnan(value) || std::fabs(value) >= 4294967296.0f) {
        fuzz::Check(!rounded, "no int32 for a value far out of range", platform::GeneralNumber(value));
        return;
    }
    const double floor = std::floor(double(value));
    const double rest = double(value) - floor;
    auto n = std::int64_t(floor);
    if (rest > 0.5 || (rest == 0.5 && n % 2 != 0))
        ++n;
    if (n < INT32_MIN || n > INT32_MAX) {
        fuzz::Check(!rounded, "no int32 for a value out of range", platform::GeneralNumber(value));
        return;
    }
    fuzz::Check(rounded && *rounded == n, "nearest int32, halves to even", QString::number(n),
                rounded ? QString::number(*rounded) : QStringLiteral("none"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Every four bytes are a float32, and so are its neighbours.
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        std::uint32_t bits;
        std::memcpy(&bits, data + at, sizeof bits);
        for (std::uint32_t step = 0; step < 8; ++step) {
            float value;
            const std::uint32_t near = bits + step;
            std::memcpy(&value, &near, sizeof value);
            CheckGeneral(value);
            CheckOneDecimal(value);
            CheckRound(value);
        }
    }
    return 0;
}
