#pragma once

#include "score/ScoreRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// Writes score records as JSON Lines (UTF-8, one object per line, LF), for
// scripts. The field names are stable English names; numbers are JSON
// numbers; HS and RHS are the shortest decimal that reads back as the same
// float32, or null with the text ("NaN", "Inf", "-Inf") in hsText/rhsText.
//
// A record:  {"path", "playCount", "cleared", "places": [place...]} with the
// places the ranking table shows. "path" is the path as shown; where that
// does not name the file exactly, "pathBytes" follows it, the path's bytes
// as an array of numbers.
// A place:   {"rank", "name", "score", "jpts", "hs", "rhs", "maxCombo",
//             "classCode", "class", "cleared", "options": [five codes],
//             "optionText", "perfect", "great", "good", "bad", "poor"}; "class"
//             is the letters without padding, null for codes 7 and above.
// Overview:  {"path", "playCount", "cleared", "placeCount", "first": place or null}.
class JsonLinesWriter {
  public:
    explicit JsonLinesWriter(bool topOnly);

    void appendRecord(QByteArray &out, const ScoreRecord &record) const;
    void appendOverview(QByteArray &out, const ScoreRecord &record) const;

    // A JSON string: quotes, backslashes and control characters escaped, the
    // rest as UTF-8; a lone surrogate becomes U+FFFD.
    static void AppendString(QByteArray &out, QStringView text);

    // The shortest decimal that reads back as the same float32; empty for
    // values JSON has no number for.
    static QByteArray FloatText(float value);

  private:
    void appendPlace(QByteArray &out, const ScoreRecord &record, int k) const;

    bool m_topOnly;
};
