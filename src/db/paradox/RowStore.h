#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace db::paradox {

// The records of a table being changed, in table order, as the record images the file holds. They lie side by side
// in chunks of a few kilobytes: a record costs no allocation of its own, a walk in table order reads memory in
// sequence, and placing a record in the middle of a large keyed table moves the records of one chunk, not every
// record after it. Finding a row costs a binary search over the chunks, and none at all for the chunk of the
// previous access. The first row of each chunk comes from a Fenwick tree over the chunks' row counts, so that a
// record placed in the middle costs a few steps instead of renumbering every chunk after its own.
class RowStore {
public:
    // Drops every record; from then on records have recordSize bytes. With keySize, the first keySize bytes of
    // each chunk's first record are kept side by side as well (chunkKey), so that a search for the chunk a key
    // belongs in reads memory the processor keeps close instead of the first record of every chunk it passes.
    void reset(int recordSize, int keySize = 0);
    int recordSize() const { return recordSize_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // The bytes of a record, valid until the next insert or erase. Writing through the second must leave the first
    // keySize bytes as they are; replace() changes a whole record.
    const char* operator[](std::size_t row) const;
    char* operator[](std::size_t row);
    void replace(std::size_t row, const char* record);
    const char* back() const
    {
        const Chunk& last = chunks_.back();
        return last.data.get() + (last.rows - 1) * std::size_t(recordSize_);
    }

    // Copies recordSize bytes from record.
    void insert(std::size_t row, const char* record);
    void append(const char* record) { insert(size_, record); }
    void erase(std::size_t row);
    void clear();
    // Row i takes the record that was at row from[i], for every row (from holds each row once); from is used up.
    void permute(std::vector<std::uint32_t>& from);

    // The chunks themselves, for a search or a walk that goes through them in order.
    std::size_t chunkCount() const { return chunks_.size(); }
    const char* chunkData(std::size_t c) const { return chunks_[c].data.get(); }
    std::size_t chunkRows(std::size_t c) const { return chunks_[c].rows; }
    std::size_t chunkStart(std::size_t c) const;
    const char* chunkKey(std::size_t c) const { return firstKeys_.data() + c * std::size_t(keySize_); }
    bool keepsKeys() const { return keySize_ > 0; }

private:
    struct Chunk {
        std::unique_ptr<char[]> data;  // room for maxRows_ records
        std::size_t rows = 0;
    };
    // Chunk that holds row, and the row's index inside it.
    std::pair<std::size_t, std::size_t> locate(std::size_t row) const;
    void split(std::size_t chunk);
    Chunk newChunk() const;
    // The Fenwick tree: tree_[i] (1-based) holds the row count of the chunks (i - lowbit(i), i].
    // After the chunks from `from` on changed place or size: the nodes that cover only chunks before it stay.
    void rebuildTree(std::size_t from = 0);
    void addRows(std::size_t c, std::ptrdiff_t delta);
    void pushChunkToTree();
    void forgetLast() const { lastChunk_ = kNone; }
    void noteFirstKey(std::size_t c);

    int recordSize_ = 0;
    int keySize_ = 0;
    std::vector<char> firstKeys_;  // keySize_ bytes per chunk
    std::size_t chunkRows_ = 1;  // rows a chunk gets when an insert in the middle splits it
    std::size_t maxRows_ = 2;    // rows a chunk holds at most
    std::vector<Chunk> chunks_;
    std::vector<std::size_t> tree_{0};
    std::size_t size_ = 0;
    // The chunk of the previous access and its first row.
    static constexpr std::size_t kNone = ~std::size_t(0);
    mutable std::size_t lastChunk_ = kNone;
    mutable std::size_t lastStart_ = 0;
};

// The records of a RowStore one after the other, taken from its chunks in order; next() as often as the store
// has records.
class RowWalker {
public:
    explicit RowWalker(const RowStore& rows) : rows_(rows) {}
    const char* next()
    {
        while (index_ == rows_.chunkRows(chunk_)) {
            ++chunk_;
            index_ = 0;
        }
        return rows_.chunkData(chunk_) + index_++ * std::size_t(rows_.recordSize());
    }

private:
    const RowStore& rows_;
    std::size_t chunk_ = 0;
    std::size_t index_ = 0;
};

}  // namespace db::paradox
