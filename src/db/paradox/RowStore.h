#pragma once

#include <QByteArray>
#include <QList>
#include <cstddef>
#include <vector>

namespace db::paradox {

// The records of a table being changed, in table order. They are kept in chunks of a few hundred, so that placing a
// record in the middle of a large keyed table moves the records of one chunk, not every record after it (and a QList
// moves them as one block of memory); finding a row costs a binary search over the chunks, and none at all for the
// chunk of the previous access.
class RowStore {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const QByteArray& operator[](std::size_t row) const;
    QByteArray& operator[](std::size_t row);

    void insert(std::size_t row, const QByteArray& record);
    void erase(std::size_t row);
    void clear();
    void assign(std::vector<QByteArray> rows);

    // The chunks themselves, for a search that goes through them in order.
    std::size_t chunkCount() const { return chunks_.size(); }
    const QList<QByteArray>& chunk(std::size_t c) const { return chunks_[c]; }
    std::size_t chunkStart(std::size_t c) const { return starts_[c]; }

private:
    // Chunk that holds row, and the row's index inside it.
    std::pair<std::size_t, std::size_t> locate(std::size_t row) const;
    void split(std::size_t chunk);

    std::vector<QList<QByteArray>> chunks_;
    std::vector<std::size_t> starts_;  // first row of each chunk
    std::size_t size_ = 0;
    mutable std::size_t lastChunk_ = 0;
};

}  // namespace db::paradox
