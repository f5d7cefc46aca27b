#include "window/LampDelegate.h"

#include "score/Overview.h"
#include "search/LibraryModel.h"

#include <QColor>
#include <array>
#include <cmath>

namespace {

// SS, S, A, B, C, D, E: yellow, orange, sky blue, bluish green, reddish
// purple, vermillion, blue. No class has no colour.
constexpr std::array<QRgb, kNoClass> kClassColours{0xF0E442, 0xE69F00, 0x56B4E9, 0x009E73,
                                                   0xCC79A7, 0xD55E00, 0x0072B2};
// Not cleared, cleared: orange and blue, the pair most eyes tell apart.
constexpr std::array<QRgb, 2> kClearedColours{0xE69F00, 0x0072B2};

// Black or white, whichever stands out more against the colour.
QColor TextOn(const QColor &background)
{
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(background.redF()) + 0.7152 * linear(background.greenF()) +
                             0.0722 * linear(background.blueF());
    // Contrast with black (L + 0.05) / 0.05 against white 1.05 / (L + 0.05).
    return (luminance + 0.05) * (luminance + 0.05) >= 0.0525 ? Qt::black : Qt::white;
}

} // namespace

void LampDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant lamp = index.data(LibraryModel::LampRole);
    if (!lamp.isValid())
        return;
    const int value = lamp.toInt();
    QColor colour;
    if (index.column() == OvCleared && value >= 0 && value < int(kClearedColours.size()))
        colour = QColor(kClearedColours[std::size_t(value)]);
    else if (index.column() == OvClass && value >= 0 && value < kNoClass)
        colour = QColor(kClassColours[std::size_t(value)]);
    if (!colour.isValid())
        return;
    option->backgroundBrush = colour;
    option->palette.setColor(QPalette::Text, TextOn(colour));
}
