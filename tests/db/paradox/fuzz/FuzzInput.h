#pragma once

// One fuzzer input is the whole file set of a table: a 12-byte head with the sizes of the .DB, .MB and .PX parts
// (little-endian u32 each, cut to what the input holds), then those parts, and whatever follows as the .VAL. A
// part of size 0 means the file is absent. The top bit of the .DB size asks for a round of changes after reading.

#include <QByteArray>
#include <array>
#include <cstdint>

namespace paradoxfuzz {

constexpr int kHeadSize = 12;
constexpr std::array<const char*, 4> kExtensions{"DB", "MB", "PX", "VAL"};

inline bool wantsChanges(const std::uint8_t* data, size_t size)
{
    return size >= size_t(kHeadSize) && (data[3] & 0x80) != 0;
}

inline std::array<QByteArray, 4> split(const std::uint8_t* data, size_t size)
{
    std::array<QByteArray, 4> parts;
    if (size < size_t(kHeadSize)) {
        parts[0] = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
        return parts;
    }
    size_t pos = kHeadSize;
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t wanted = std::uint32_t(data[4 * i]) | (std::uint32_t(data[4 * i + 1]) << 8) |
                                     (std::uint32_t(data[4 * i + 2]) << 16) | (std::uint32_t(data[4 * i + 3] & 0x7F) << 24);
        const size_t n = std::min<size_t>(wanted, size - pos);
        parts[size_t(i)] = QByteArray(reinterpret_cast<const char*>(data + pos), qsizetype(n));
        pos += n;
    }
    parts[3] = QByteArray(reinterpret_cast<const char*>(data + pos), qsizetype(size - pos));
    return parts;
}

inline QByteArray join(const std::array<QByteArray, 4>& parts)
{
    QByteArray out(kHeadSize, '\0');
    for (int i = 0; i < 3; ++i) {
        const auto n = std::uint32_t(parts[size_t(i)].size());
        for (int b = 0; b < 4; ++b) out[4 * i + b] = char((n >> (8 * b)) & 0xFF);
    }
    for (const QByteArray& part : parts) out += part;
    return out;
}

}  // namespace paradoxfuzz
