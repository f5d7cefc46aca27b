#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Number texts as the program shows them: the general number format of a
// float32, the one-decimal form, and the float32-to-int32 conversion.
namespace platform {

// The general number format of a float32: at most 7 significant digits, no
// trailing zeros, no decimal point for whole values, a 0 before the point
// below 1. Exponent form (1E+07, 1.234568E+07, 1E-05) when the decimal
// exponent, after rounding to 7 digits, is 7 or more or below -4, so values
// from ten million up and below 0.0001. Negative zero prints as 0; not-a-number
// and the infinities print as NaN, Inf and -Inf. The decimal separator is the
// one of the default locale.
QString GeneralNumber(float value);

// The value rounded to one decimal (halves away from zero, judged on the exact
// stored value) and written with exactly one digit after the locale's decimal
// separator and at least one before it: 3 gives 3.0, 0.04 gives 0.0.
QString OneDecimal(float value);

// Parses a number text with the default locale (as written by GeneralNumber,
// NaN/Inf/-Inf included). Empty when the text is not a number.
std::optional<float> ParseNumber(QStringView text);

// The nearest int32, a value exactly halfway going to the even neighbour.
// Empty (an overflow) when the value is out of range or not a number.
std::optional<std::int32_t> RoundToInt32(float value);

} // namespace platform
