#include "db/paradox/RowStore.h"

#include <algorithm>
#include <cstring>

namespace db::paradox {

namespace {

// Small enough that moving half a chunk for a record placed in its middle stays cheap, large enough that the
// chunks of a big table are few.
constexpr std::size_t kChunkBytes = 8192;

}  // namespace

void RowStore::reset(int recordSize, int keySize)
{
    clear();
    recordSize_ = std::max(recordSize, 1);
    keySize_ = std::clamp(keySize, 0, recordSize_);
    maxRows_ = std::max<std::size_t>(2, kChunkBytes / std::size_t(recordSize_));
    chunkRows_ = maxRows_ / 2;
}

RowStore::Chunk RowStore::newChunk() const
{
    Chunk chunk;
    chunk.data = std::make_unique_for_overwrite<char[]>(maxRows_ * std::size_t(recordSize_));
    return chunk;
}

void RowStore::noteFirstKey(std::size_t c)
{
    if (keySize_ > 0)
        std::memcpy(firstKeys_.data() + c * std::size_t(keySize_), chunks_[c].data.get(), std::size_t(keySize_));
}

void RowStore::rebuildTree(std::size_t from)
{
    const std::size_t n = chunks_.size();
    tree_.resize(n + 1);
    for (std::size_t i = from + 1; i <= n; ++i) tree_[i] = chunks_[i - 1].rows;
    // The nodes that make up the rows before chunk `from` count towards the first node above each of them.
    for (std::size_t i = from; i > 0; i -= i & (~i + 1)) {
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n) tree_[parent] += tree_[i];
    }
    for (std::size_t i = from + 1; i <= n; ++i) {
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n) tree_[parent] += tree_[i];
    }
    forgetLast();
}

void RowStore::pushChunkToTree()
{
    // The new last node covers the chunks (i - lowbit(i), i]: the new one and the nodes below it.
    const std::size_t i = chunks_.size();
    std::size_t sum = chunks_.back().rows;
    for (std::size_t child = i - 1, low = i - (i & (~i + 1)); child > low; child -= child & (~child + 1))
        sum += tree_[child];
    tree_.push_back(sum);
}

void RowStore::addRows(std::size_t c, std::ptrdiff_t delta)
{
    for (std::size_t i = c + 1; i < tree_.size(); i += i & (~i + 1))
        tree_[i] = std::size_t(std::ptrdiff_t(tree_[i]) + delta);
}

std::size_t RowStore::chunkStart(std::size_t c) const
{
    std::size_t start = 0;
    for (std::size_t i = c; i > 0; i -= i & (~i + 1)) start += tree_[i];
    return start;
}

std::pair<std::size_t, std::size_t> RowStore::locate(std::size_t row) const
{
    if (lastChunk_ != kNone && row >= lastStart_ && row - lastStart_ < chunks_[lastChunk_].rows)
        return {lastChunk_, row - lastStart_};
    // Down the tree: the last chunk whose start is at most row.
    std::size_t pos = 0;
    std::size_t rest = row;
    std::size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step < tree_.size() && tree_[pos + step] <= rest) {
            pos += step;
            rest -= tree_[pos];
        }
    }
    lastChunk_ = pos;
    lastStart_ = row - rest;
    return {pos, rest};
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
            firstKeys_.resize(chunks_.size() * std::size_t(keySize_));
            pushChunkToTree();
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
    if (i == 0) noteFirstKey(c);
    addRows(c, 1);
    ++size_;
    // The chunk keeps its first row; a later one's moved on by one.
    if (lastChunk_ != kNone && lastChunk_ > c) ++lastStart_;
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
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(c + 1), std::move(tail));
    firstKeys_.insert(firstKeys_.begin() + std::ptrdiff_t((c + 1) * std::size_t(keySize_)), std::size_t(keySize_), 0);
    noteFirstKey(c + 1);
    rebuildTree(c);
}

void RowStore::erase(std::size_t row)
{
    const std::size_t rs = std::size_t(recordSize_);
    const auto [c, i] = locate(row);
    Chunk& chunk = chunks_[c];
    char* at = chunk.data.get() + i * rs;
    std::memmove(at, at + rs, (chunk.rows - i - 1) * rs);
    --chunk.rows;
    --size_;
    if (chunk.rows == 0) {
        chunks_.erase(chunks_.begin() + std::ptrdiff_t(c));
        const auto key = firstKeys_.begin() + std::ptrdiff_t(c * std::size_t(keySize_));
        firstKeys_.erase(key, key + keySize_);
        rebuildTree(c);
        return;
    }
    if (i == 0) noteFirstKey(c);
    addRows(c, -1);
    if (lastChunk_ != kNone && lastChunk_ > c) --lastStart_;
}

void RowStore::replace(std::size_t row, const char* record)
{
    const auto [c, i] = locate(row);
    std::memcpy(chunks_[c].data.get() + i * std::size_t(recordSize_), record, std::size_t(recordSize_));
    if (i == 0) noteFirstKey(c);
}

void RowStore::permute(std::vector<std::uint32_t>& from)
{
    const std::size_t rs = std::size_t(recordSize_);
    std::vector<char*> at(size_);
    std::size_t row = 0;
    for (Chunk& chunk : chunks_)
        for (std::size_t i = 0; i < chunk.rows; ++i) at[row++] = chunk.data.get() + i * rs;
    // Along each cycle of the permutation: a record is moved once, into the place the previous one left. The
    // places due a few steps later are asked for ahead of time, as they lie anywhere in the store.
    constexpr int kAhead = 4;
    const std::size_t lines = std::min<std::size_t>(4, (rs + 63) / 64);
    const auto held = std::make_unique_for_overwrite<char[]>(rs);
    for (std::size_t start = 0; start < size_; ++start) {
        if (from[start] == start)
            continue;
        std::memcpy(held.get(), at[start], rs);
        std::size_t ahead = start;
        for (int step = 0; step < kAhead; ++step) ahead = from[ahead];
        for (std::size_t to = start;;) {
            const std::size_t source = from[to];
            from[to] = std::uint32_t(to);  // done
            if (source == start) {
                std::memcpy(at[to], held.get(), rs);
                break;
            }
            for (std::size_t line = 0; line < lines; ++line) __builtin_prefetch(at[ahead] + 64 * line);
            ahead = from[ahead];
            std::memcpy(at[to], at[source], rs);
            to = source;
        }
    }
    for (std::size_t c = 0; c < chunks_.size(); ++c) noteFirstKey(c);
}

void RowStore::clear()
{
    chunks_.clear();
    firstKeys_.clear();
    tree_.assign(1, 0);
    size_ = 0;
    forgetLast();
}

}  // namespace db::paradox
