#pragma once

#include "score/ScoreRecord.h"

#include <QtGlobal>
#include <deque>

// A growable, zero-based array of records that never moves a record once it
// is made: growing adds records at the end and leaves the others in place,
// so a search of many files neither copies records nor needs twice their
// memory while the array grows.
class ScoreRecordList {
  public:
    using Storage = std::deque<ScoreRecord>;

    explicit ScoreRecordList(qsizetype size = 0) { resize(size); }

    qsizetype size() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    ScoreRecord &operator[](qsizetype i) { return m_records[std::size_t(i)]; }
    const ScoreRecord &operator[](qsizetype i) const { return m_records[std::size_t(i)]; }
    ScoreRecord &last() { return m_records.back(); }
    const ScoreRecord &last() const { return m_records.back(); }

    // Adds empty records at the end, or removes records from the end.
    void resize(qsizetype size) { m_records.resize(std::size_t(size)); }

    // Hands every record over (the list is left empty), to be destroyed later.
    Storage takeAll()
    {
        Storage taken;
        taken.swap(m_records);
        return taken;
    }

    Storage::iterator begin() { return m_records.begin(); }
    Storage::iterator end() { return m_records.end(); }
    Storage::const_iterator begin() const { return m_records.begin(); }
    Storage::const_iterator end() const { return m_records.end(); }

  private:
    Storage m_records;
};
