// The chunked record store behaves exactly like one flat list under every mix of inserts and deletes, across chunk
// splits and chunks that run empty.

#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/KeyHashSet.h"
#include "db/paradox/RowStore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Mix {
    const char* name;
    int initial;     // records assigned at the start
    int operations;
    int insertShare;  // of 100: inserts, the rest deletes
    int appendShare;  // of 100 inserts: at the end
    int recordSize;   // a wide record leaves room for only a few records in a chunk
    int keySize;      // leading bytes each chunk keeps of its first record
};

// A record of the given size that names value.
std::string record(int size, int value)
{
    std::string r = std::to_string(value);
    r.resize(std::size_t(size), '.');
    return r;
}

class RowStoreMix : public ::testing::TestWithParam<Mix> {};

TEST_P(RowStoreMix, MatchesAFlatList)
{
    const Mix mix = GetParam();
    std::mt19937 random(12345);
    std::vector<std::string> flat;
    db::paradox::RowStore store;
    store.reset(mix.recordSize, mix.keySize);
    for (int i = 0; i < mix.initial; ++i) {
        flat.push_back(record(mix.recordSize, -i));
        store.append(flat.back().data());
    }
    const auto at = [&](size_t row) { return std::string(store[row], size_t(mix.recordSize)); };
    // Each chunk starts where the ones before it end, holds the rows from there and keeps its first key.
    const auto checkChunks = [&](int op) {
        size_t start = 0;
        for (size_t c = 0; c < store.chunkCount(); ++c) {
            ASSERT_EQ(store.chunkStart(c), start) << "op " << op << " chunk " << c;
            ASSERT_GT(store.chunkRows(c), 0u);
            ASSERT_EQ(std::string(store.chunkData(c), size_t(mix.recordSize)), flat[start]);
            if (mix.keySize > 0) {
                ASSERT_EQ(std::string(store.chunkKey(c), size_t(mix.keySize)), flat[start].substr(0, size_t(mix.keySize)))
                    << "op " << op << " chunk " << c;
            }
            start += store.chunkRows(c);
        }
        ASSERT_EQ(start, flat.size());
    };
    ASSERT_EQ(store.keepsKeys(), mix.keySize > 0);
    for (int op = 0; op < mix.operations; ++op) {
        const bool insert = flat.empty() || int(random() % 100) < mix.insertShare;
        if (insert) {
            const size_t at = int(random() % 100) < mix.appendShare ? flat.size() : random() % (flat.size() + 1);
            const std::string r = record(mix.recordSize, op);
            flat.insert(flat.begin() + std::ptrdiff_t(at), r);
            store.insert(at, r.data());
        } else {
            const size_t at = random() % flat.size();
            flat.erase(flat.begin() + std::ptrdiff_t(at));
            store.erase(at);
        }
        if (op % 97 == 0 && !flat.empty()) {
            // Every other time the first record of a chunk.
            const size_t at = (op / 97) % 2 ? store.chunkStart(random() % store.chunkCount()) : random() % flat.size();
            flat[at][0] = 'u';
            store.replace(at, flat[at].data());
        }
        ASSERT_EQ(store.size(), flat.size());
        if (op % 211 == 0 || op == mix.operations - 1) {
            for (size_t i = 0; i < flat.size(); ++i) ASSERT_EQ(at(i), flat[i]) << "op " << op << " row " << i;
            checkChunks(op);
        }
    }
    // Reading backwards and jumping around finds the same rows as reading forwards.
    for (size_t i = flat.size(); i-- > 0;) ASSERT_EQ(at(i), flat[i]);
    // Put in another order where they lie: long cycles, rows that stay, and chunks not full.
    std::vector<std::uint32_t> from(flat.size());
    for (size_t i = 0; i < from.size(); ++i) from[i] = std::uint32_t(i);
    std::shuffle(from.begin(), from.begin() + std::ptrdiff_t(from.size() * 3 / 4), random);
    std::vector<std::string> permuted(flat.size());
    for (size_t i = 0; i < flat.size(); ++i) permuted[i] = flat[from[i]];
    flat = permuted;
    store.permute(from);
    for (size_t i = 0; i < flat.size(); ++i) ASSERT_EQ(at(i), flat[i]) << "permuted row " << i;
    checkChunks(mix.operations);
    store.clear();
    EXPECT_TRUE(store.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Mixes, RowStoreMix,
    ::testing::Values(Mix{"AppendsOnly", 0, 5000, 100, 100, 12, 0},
                      Mix{"RandomInsertsIntoLargeTable", 3000, 6000, 100, 0, 40, 6},
                      Mix{"InsertsAndDeletes", 1500, 8000, 55, 30, 81, 30},
                      Mix{"DrainToEmptyAndRefill", 2500, 9000, 30, 50, 12, 12},
                      Mix{"WideRecordsTwoToAChunk", 200, 3000, 60, 20, 5000, 4}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Keys in ascii order compare as runs of unsigned bytes, eight at a time: a difference at any position, in a
// byte with the top bit set, or in the bytes left after the last eight, must give what comparing byte by byte
// gives.
TEST(KeyBytes, CompareAsUnsignedBytesWhereverTheyDiffer)
{
    for (int n = 0; n <= 19; ++n) {
        for (int at = 0; at < n; ++at) {
            for (const auto& [low, high] : {std::pair<char, char>{'a', 'b'}, {'\x7f', '\x80'}, {'\0', '\xff'}}) {
                std::string a(size_t(n), 'k');
                std::string b = a;
                a[size_t(at)] = low;
                b[size_t(at)] = high;
                b.append(3, '\0');  // bytes past n do not count
                EXPECT_EQ(db::paradox::compareBytes(a.data(), b.data(), n), -1) << n << " " << at;
                EXPECT_EQ(db::paradox::compareBytes(b.data(), a.data(), n), 1) << n << " " << at;
                EXPECT_EQ(db::paradox::compareBytes(a.data(), a.data(), n), 0);
                EXPECT_EQ(db::paradox::compareBytes(a.data(), b.data(), at), 0) << "equal up to the difference";
                if (at + 1 < n) {
                    // A later difference the other way round does not count.
                    a[size_t(n - 1)] = high;
                    b[size_t(n - 1)] = low;
                    EXPECT_EQ(db::paradox::compareBytes(a.data(), b.data(), n), -1) << n << " " << at;
                }
            }
        }
    }
}

}  // namespace

// Every index added is found again under its hash, through growing and through hashes that pick the same slot or
// share the byte kept per slot; a hash never added finds nothing.
TEST(KeyHashSet, FindsEveryIndexAddedAndNothingElse)
{
    struct Case {
        const char* name;
        std::uint64_t (*hash)(std::uint64_t key);
    } cases[] = {
        {"spread", [](std::uint64_t k) -> std::uint64_t { return k * 0x9E3779B97F4A7C15u; }},
        {"one slot for every eighth",
         [](std::uint64_t k) -> std::uint64_t { return ((k * 0x9E3779B97F4A7C15u) & 0xFFFFFFFF00000000u) | (k / 8); }},
        {"one byte for all", [](std::uint64_t k) -> std::uint64_t { return k; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::paradox::KeyHashSet set;
        std::vector<std::uint64_t> keys;  // the keys, by index
        for (std::uint64_t k = 0; k < 5000; ++k) {
            const std::uint64_t key = k * 7 + 3;
            ASSERT_EQ(set.find(c.hash(key), [&](std::size_t i) { return keys[i] == key; }), -1);
            set.add(c.hash(key));
            keys.push_back(key);
        }
        for (std::size_t i = 0; i < keys.size(); ++i)
            ASSERT_EQ(set.find(c.hash(keys[i]), [&](std::size_t j) { return keys[j] == keys[i]; }), std::ptrdiff_t(i));
        for (std::uint64_t key : {std::uint64_t(1), std::uint64_t(5), std::uint64_t(35001)})
            EXPECT_EQ(set.find(c.hash(key), [&](std::size_t j) { return keys[j] == key; }), -1);
        set.clear();
        EXPECT_EQ(set.find(c.hash(3), [](std::size_t) { return true; }), -1);
    }
}
