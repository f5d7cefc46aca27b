#pragma once

#include <QByteArrayView>

// How many terminal columns a text takes: East Asian wide and full-width
// characters (kanji, kana, full-width letters, Hangul, emoji) take two, combining
// marks none, every other character one. Characters whose width depends on the
// terminal (ambiguous ones such as "○", Greek or Cyrillic) count as one, as
// most terminals show them; half-width katakana count as one.
int CharacterWidth(char32_t c);

// The width of UTF-8 text; a byte that starts no valid character counts one.
int Utf8Width(QByteArrayView utf8);
