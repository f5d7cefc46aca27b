#pragma once

#include <QFont>

// The window's gothic font at a point size: "ＭＳ ゴシック" where it is
// installed, otherwise the first installed Japanese gothic of a fixed list
// (IPAGothic, Noto Sans Mono CJK JP, ...), regular weight.
QFont GothicFont(qreal pointSize);

// Point sizes of the window (every control) and of the summary box.
inline constexpr qreal kWindowFontPoints = 9.75;
inline constexpr qreal kSummaryFontPoints = 8.25;
