#pragma once

#include "platform/PageMemory.h"
#include "score/ScoreRecord.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <new>
#include <vector>

// A growable, zero-based array of records that never moves a record once it
// is made: records are built in place in blocks of kBlock, and growing adds
// blocks without touching the others. A search of many files thus neither
// copies records nor needs twice their memory while the array grows, and a
// shrinking array gives each emptied block back at once.
class ScoreRecordList {
  public:
    static constexpr qsizetype kBlock = 256;

    explicit ScoreRecordList(qsizetype size = 0) { resize(size); }
    ~ScoreRecordList() { resize(0); }
    ScoreRecordList(ScoreRecordList &&other) noexcept { swap(other); }
    ScoreRecordList &operator=(ScoreRecordList &&other) noexcept
    {
        ScoreRecordList taken(std::move(other));
        swap(taken);
        return *this;
    }
    ScoreRecordList(const ScoreRecordList &) = delete;
    ScoreRecordList &operator=(const ScoreRecordList &) = delete;

    void swap(ScoreRecordList &other) noexcept
    {
        m_blocks.swap(other.m_blocks);
        std::swap(m_size, other.m_size);
    }

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    ScoreRecord &operator[](qsizetype i) { return *slot(i); }
    const ScoreRecord &operator[](qsizetype i) const { return *slot(i); }
    ScoreRecord &last() { return *slot(m_size - 1); }
    const ScoreRecord &last() const { return *slot(m_size - 1); }

    // The index of the element at record, or -1 when it is none of them.
    qsizetype indexOf(const ScoreRecord *record) const
    {
        const std::less<const ScoreRecord *> before;
        for (std::size_t b = 0; b < m_blocks.size(); ++b) {
            const ScoreRecord *first = slot(qsizetype(b) * kBlock);
            if (!before(record, first) && before(record, first + kBlock)) {
                const qsizetype i = qsizetype(b) * kBlock + (record - first);
                return i < m_size ? i : -1;
            }
        }
        return -1;
    }

    // Adds empty records at the end, or destroys records from the end.
    void resize(qsizetype size)
    {
        while (m_size < size) {
            if (m_size % kBlock == 0)
                m_blocks.push_back(NewBlock());
            new (slot(m_size)) ScoreRecord();
            ++m_size;
        }
        while (m_size > size) {
            --m_size;
            slot(m_size)->~ScoreRecord();
            if (m_size % kBlock == 0)
                m_blocks.pop_back();
        }
    }

    template <typename List, typename Record> class Iterator {
      public:
        Iterator(List *list, qsizetype i) : m_list(list), m_i(i) {}
        Record &operator*() const { return (*m_list)[m_i]; }
        Iterator &operator++()
        {
            ++m_i;
            return *this;
        }
        bool operator!=(const Iterator &other) const { return m_i != other.m_i; }

      private:
        List *m_list;
        qsizetype m_i;
    };
    using iterator = Iterator<ScoreRecordList, ScoreRecord>;
    using const_iterator = Iterator<const ScoreRecordList, const ScoreRecord>;

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, m_size}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }

  private:
    // Room for kBlock records, built and destroyed one by one.
    struct Block {
        alignas(ScoreRecord) unsigned char bytes[kBlock * sizeof(ScoreRecord)];
    };

    ScoreRecord *slot(qsizetype i) const
    {
        unsigned char *bytes = m_blocks[std::size_t(i / kBlock)]->bytes;
        return std::launder(reinterpret_cast<ScoreRecord *>(bytes) + i % kBlock);
    }

    // Blocks are whole pages of their own, given back to the system when
    // the block goes: the records of a large search, once discarded, do not
    // linger in the allocator's free lists.
    struct Unmap {
        void operator()(Block *block) const { platform::UnmapPages(block, sizeof(Block)); }
    };
    using BlockPtr = std::unique_ptr<Block, Unmap>;

    static BlockPtr NewBlock()
    {
        void *pages = platform::MapPages(sizeof(Block));
        if (!pages)
            throw std::bad_alloc();
        return BlockPtr(new (pages) Block);
    }

    std::vector<BlockPtr> m_blocks;
    qsizetype m_size = 0;
};
