#pragma once

#include "platform/CodePage.h"
#include "score/ScoreRecord.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Writes the CSV lines of score records straight to bytes: for each record
// exactly the bytes of MakeCsv(MakeRankRows(record, topOnly)) in the chosen
// encoding, without building the table's texts. The texts of cells that
// repeat from file to file (names, multipliers, class, options) are made by
// the table's own functions once and kept. For reports over thousands of
// files.
class CsvRowWriter {
  public:
    CsvRowWriter(platform::Encoding encoding, bool topOnly);

    // Appends the record's lines to out, each led by lead when it is not
    // empty (lead is written as given: a field and its comma).
    void append(QByteArray &out, const ScoreRecord &record, const QByteArray &lead = QByteArray());

    // A text as one CSV field (CsvField) in the writer's encoding.
    QByteArray field(const QString &text) const;

  private:
    // The field bytes of recently seen cell values (those after the numbers
    // with the comma before them): each value has two slots, chosen by its
    // hash; a new value replaces the older of the two.
    template <typename Key> class Cache {
      public:
        template <typename Make> const QByteArray &find(const Key &key, std::uint64_t hash, Make make)
        {
            const std::size_t i = std::size_t((hash * 0x9E3779B97F4A7C15ull) >> 58) & ~std::size_t(1);
            for (std::size_t j = i; j < i + 2; ++j) {
                if (m_used[j] && Same(m_keys[j], key))
                    return m_bytes[j];
            }
            const std::size_t j = i + m_older[i / 2];
            m_older[i / 2] ^= 1;
            m_keys[j] = key;
            m_used[j] = true;
            m_bytes[j] = make();
            return m_bytes[j];
        }

      private:
        // Names are mostly the very same shared text: its address says so
        // before the characters are compared.
        static bool Same(const QString &a, const QString &b)
        {
            return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
        }
        template <typename T> static bool Same(const T &a, const T &b) { return a == b; }

        static constexpr std::size_t kSize = 64;
        std::array<Key, kSize> m_keys{};
        std::array<bool, kSize> m_used{};
        std::array<QByteArray, kSize> m_bytes;
        std::array<std::uint8_t, kSize / 2> m_older{};
    };

    const QByteArray &name(const QString &text);
    // HS and RHS have a cache each, so the one never drops the other's values.
    const QByteArray &multiplier(Cache<std::uint32_t> &cache, float value);
    const QByteArray &classText(std::int32_t code);
    const QByteArray &options(const ScoreRecord &record, int k);

    platform::Encoding m_encoding;
    bool m_topOnly;
    std::array<QByteArray, ScoreRecord::kPlaces> m_rank; // each with the comma after it
    std::array<QByteArray, 2> m_clear;                   // not cleared, cleared
    Cache<QString> m_names;
    Cache<std::uint32_t> m_hs;
    Cache<std::uint32_t> m_rhs;
    Cache<std::int32_t> m_classes;
    Cache<std::uint64_t> m_options;
};
