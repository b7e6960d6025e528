// The chunked record store behaves exactly like one flat list under every mix of inserts and deletes, across chunk
// splits and chunks that run empty.

#include "db/paradox/ParadoxFormat.h"
#include "db/paradox/RowStore.h"

#include <gtest/gtest.h>
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
