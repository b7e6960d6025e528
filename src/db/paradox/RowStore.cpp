#include "db/paradox/RowStore.h"

#include <algorithm>

namespace db::paradox {

namespace {

constexpr std::size_t kChunkRows = 512;
constexpr std::size_t kMaxChunkRows = 2 * kChunkRows;

}  // namespace

std::pair<std::size_t, std::size_t> RowStore::locate(std::size_t row) const
{
    std::size_t c = lastChunk_;
    if (c >= chunks_.size() || row < starts_[c] || row >= starts_[c] + std::size_t(chunks_[c].size())) {
        c = std::size_t(std::upper_bound(starts_.begin(), starts_.end(), row) - starts_.begin()) - 1;
        lastChunk_ = c;
    }
    return {c, row - starts_[c]};
}

const QByteArray& RowStore::operator[](std::size_t row) const
{
    const auto [c, i] = locate(row);
    return chunks_[c].at(qsizetype(i));
}

QByteArray& RowStore::operator[](std::size_t row)
{
    const auto [c, i] = locate(row);
    return chunks_[c][qsizetype(i)];
}

void RowStore::insert(std::size_t row, const QByteArray& record)
{
    if (chunks_.empty()) {
        chunks_.emplace_back();
        starts_.push_back(0);
    }
    std::size_t c;
    std::size_t i;
    if (row == size_) {
        c = chunks_.size() - 1;
        i = std::size_t(chunks_[c].size());
    } else {
        std::tie(c, i) = locate(row);
    }
    chunks_[c].insert(qsizetype(i), record);
    for (std::size_t k = c + 1; k < starts_.size(); ++k) ++starts_[k];
    ++size_;
    if (std::size_t(chunks_[c].size()) > kMaxChunkRows) split(c);
}

void RowStore::split(std::size_t c)
{
    // Appends fill the last chunk completely; elsewhere the two halves leave room on both sides.
    const std::size_t rows = std::size_t(chunks_[c].size());
    const std::size_t keep = c + 1 == chunks_.size() ? rows - 1 : rows / 2;
    QList<QByteArray> tail = chunks_[c].sliced(qsizetype(keep));
    chunks_[c].resize(qsizetype(keep));
    chunks_.insert(chunks_.begin() + std::ptrdiff_t(c + 1), std::move(tail));
    starts_.insert(starts_.begin() + std::ptrdiff_t(c + 1), starts_[c] + keep);
}

void RowStore::erase(std::size_t row)
{
    const auto [c, i] = locate(row);
    chunks_[c].remove(qsizetype(i));
    for (std::size_t k = c + 1; k < starts_.size(); ++k) --starts_[k];
    --size_;
    if (chunks_[c].empty()) {
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

void RowStore::assign(std::vector<QByteArray> rows)
{
    clear();
    for (std::size_t start = 0; start < rows.size(); start += kChunkRows) {
        const std::size_t end = std::min(rows.size(), start + kChunkRows);
        starts_.push_back(start);
        QList<QByteArray>& chunk = chunks_.emplace_back();
        chunk.reserve(qsizetype(end - start));
        for (std::size_t row = start; row < end; ++row)
            chunk.append(std::move(rows[row]));
    }
    size_ = rows.size();
}

}  // namespace db::paradox
