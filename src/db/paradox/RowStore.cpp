#include "db/paradox/RowStore.h"

#include <algorithm>
#include <cstring>

namespace db::paradox {

namespace {

// Small enough that moving half a chunk for a record placed in its middle stays cheap, large enough that the
// chunks of a big table are few.
constexpr std::size_t kChunkBytes = 8192;

}  // namespace

void RowStore::reset(int recordSize)
{
    clear();
    recordSize_ = std::max(recordSize, 1);
    maxRows_ = std::max<std::size_t>(2, kChunkBytes / std::size_t(recordSize_));
    chunkRows_ = maxRows_ / 2;
}

RowStore::Chunk RowStore::newChunk() const
{
    Chunk chunk;
    chunk.data = std::make_unique_for_overwrite<char[]>(maxRows_ * std::size_t(recordSize_));
    return chunk;
}

std::pair<std::size_t, std::size_t> RowStore::locate(std::size_t row) const
{
    std::size_t c = lastChunk_;
    if (c >= chunks_.size() || row < starts_[c] || row >= starts_[c] + chunks_[c].rows) {
        c = std::size_t(std::upper_bound(starts_.begin(), starts_.end(), row) - starts_.begin()) - 1;
        lastChunk_ = c;
    }
    return {c, row - starts_[c]};
}

const char* RowStore::operator[](std::size_t row) const
{
    const auto [c, i] = locate(row);
    return chunks_[c].data.get() + i * std::size_t(recordSize_);
}

char* RowStore::operator[](std::size_t row)
{
    const auto [c, i] = locate(row);
    return chunks_[c].data.get() + i * std::size_t(recordSize_);
}

void RowStore::insert(std::size_t row, const char* record)
{
    const std::size_t rs = std::size_t(recordSize_);
    std::size_t c;
    std::size_t i;
    if (row == size_) {
        // Appends fill the last chunk completely and then start a new one.
        if (chunks_.empty() || chunks_.back().rows == maxRows_) {
            chunks_.push_back(newChunk());
            starts_.push_back(size_);
        }
        c = chunks_.size() - 1;
        i = chunks_[c].rows;
    } else {
        std::tie(c, i) = locate(row);
        if (chunks_[c].rows == maxRows_) {
            split(c);
            if (i >= chunks_[c].rows) {
                i -= chunks_[c].rows;
                ++c;
            }
        }
    }
    Chunk& chunk = chunks_[c];
    char* at = chunk.data.get() + i * rs;
    std::memmove(at + rs, at, (chunk.rows - i) * rs);
    std::memcpy(at, record, rs);
    ++chunk.rows;
    for (std::size_t k = c + 1; k < starts_.size(); ++k) ++starts_[k];
    ++size_;
    lastChunk_ = c;
}

void RowStore::split(std::size_t c)
{
    // The two halves leave room on both sides for the records that follow the one placed here.
    const std::size_t rs = std::size_t(recordSize_);
    Chunk tail = newChunk();
    const std::size_t keep = chunkRows_;
    tail.rows = chunks_[c].rows - keep;
    std::memcpy(tail.data.get(), chunks_[c].data.get() + keep * rs, tail.rows * rs);
    chunks_[c].rows = keep;
    const std::size_t start = starts_[c] + keep;
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(c + 1), std::move(tail));
    starts_.insert(starts_.begin() + std::ptrdiff_t(c + 1), start);
}

void RowStore::erase(std::size_t row)
{
    const std::size_t rs = std::size_t(recordSize_);
    const auto [c, i] = locate(row);
    Chunk& chunk = chunks_[c];
    char* at = chunk.data.get() + i * rs;
    std::memmove(at, at + rs, (chunk.rows - i - 1) * rs);
    --chunk.rows;
    for (std::size_t k = c + 1; k < starts_.size(); ++k) --starts_[k];
    --size_;
    if (chunk.rows == 0) {
        chunks_.erase(chunks_.begin() + std::ptrdiff_t(c));
        starts_.erase(starts_.begin() + std::ptrdiff_t(c));
        lastChunk_ = 0;
    }
}

void RowStore::clear()
{
    chunks_.clear();
    starts_.clear();
    size_ = 0;
    lastChunk_ = 0;
}

}  // namespace db::paradox
