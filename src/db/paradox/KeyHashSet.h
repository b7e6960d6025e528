#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace db::paradox {

// The indexes 0, 1, 2, ... of keys kept elsewhere, found by the keys' hashes. Each slot's byte of the hash lies in
// a table of its own, small enough for the processor to keep close even for a hundred thousand keys: a look-up
// that finds nothing (the usual answer) reads that table only, and the index and the key itself are read only
// where the byte matches.
class KeyHashSet {
public:
    std::size_t size() const { return hashes_.size(); }
    void clear()
    {
        tags_ = {};
        indexes_ = {};
        hashes_ = {};
    }

    // An index added with hash for which same(index) holds, or -1.
    template <class Same>
    std::ptrdiff_t find(std::uint64_t hash, Same same) const
    {
        if (tags_.empty())
            return -1;
        const std::size_t mask = tags_.size() - 1;
        const std::uint8_t tag = tagOf(hash);
        for (std::size_t i = std::uint32_t(hash) & mask;; i = (i + 1) & mask) {
            if (tags_[i] == 0)
                return -1;
            if (tags_[i] == tag && same(indexes_[i]))
                return std::ptrdiff_t(indexes_[i]);
        }
    }

    // Adds the next index, size(), under hash.
    void add(std::uint64_t hash)
    {
        // Up to four fifths full: a look-up for a key that is not there passes the bytes of the slots in use after
        // its own, and those lie side by side.
        if ((hashes_.size() + 1) * 5 > tags_.size() * 4) {
            // Twice the room, every index placed anew from the hash kept for it.
            tags_.assign(std::max<std::size_t>(1024, tags_.size() * 2), 0);
            indexes_.resize(tags_.size());
            for (std::size_t index = 0; index < hashes_.size(); ++index)
                put(hashes_[index], std::uint32_t(index));
        }
        hashes_.push_back(hash);
        put(hash, std::uint32_t(hashes_.size() - 1));
    }

private:
    // 1 to 255 from the upper half of the hash; the lower half picks the slot.
    static std::uint8_t tagOf(std::uint64_t hash) { return std::uint8_t(1 + (hash >> 32) % 255); }
    void put(std::uint64_t hash, std::uint32_t index)
    {
        const std::size_t mask = tags_.size() - 1;
        std::size_t i = std::uint32_t(hash) & mask;
        while (tags_[i] != 0)
            i = (i + 1) & mask;
        tags_[i] = tagOf(hash);
        indexes_[i] = index;
    }

    std::vector<std::uint8_t> tags_;  // 0 for a free slot
    std::vector<std::uint32_t> indexes_;
    std::vector<std::uint64_t> hashes_;  // by index, for growing
};

}  // namespace db::paradox
