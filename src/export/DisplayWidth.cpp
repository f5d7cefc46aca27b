#include "export/DisplayWidth.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
    char32_t first, last;
};

// Zero-width combining marks (the blocks of general category Mn that matter
// for names, and the zero-width joiners).
constexpr Range kCombining[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A}, {0x064B, 0x065F},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},
};

// East Asian Wide (W) and Fullwidth (F) characters, by block.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x3096},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N> bool InRanges(const Range (&ranges)[N], char32_t c)
{
    const Range *it = std::upper_bound(std::begin(ranges), std::end(ranges), c,
                                       [](char32_t v, const Range &r) { return v < r.first; });
    return it != std::begin(ranges) && c <= (it - 1)->last;
}

} // namespace

int CharacterWidth(char32_t c)
{
    if (c < 0x300)
        return 1;
    if (InRanges(kCombining, c))
        return 0;
    return c >= 0x1100 && InRanges(kWide, c) ? 2 : 1;
}

int Utf8Width(QByteArrayView utf8)
{
    const auto *p = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *end = p + utf8.size();
    int width = 0;
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++width;
            ++p;
            continue;
        }
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (length == 1 || end - p < length) {
            ++width;
            ++p;
            continue;
        }
        char32_t c = b & (0x7F >> length);
        bool valid = true;
        for (int i = 1; i < length; ++i) {
            valid = valid && (p[i] & 0xC0) == 0x80;
            c = c << 6 | (p[i] & 0x3F);
        }
        if (!valid) {
            ++width;
            ++p;
            continue;
        }
        width += CharacterWidth(c);
        p += length;
    }
    return width;
}
