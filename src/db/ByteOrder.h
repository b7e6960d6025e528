#pragma once

#include <QtEndian>
#include <cstdint>

// Integers at any position of a file's bytes, in the byte order the format stores them: little-endian for the
// headers of every format and most dBase and Access values, big-endian for Paradox field values and FoxPro memo
// headers. One load or store each: they run for every field of every record.
namespace db {

inline std::uint16_t getU16(const void* p)
{
    return qFromLittleEndian<std::uint16_t>(p);
}
inline std::uint32_t getU32(const void* p)
{
    return qFromLittleEndian<std::uint32_t>(p);
}
inline std::uint64_t getU64(const void* p)
{
    return qFromLittleEndian<std::uint64_t>(p);
}
// The low 16 bits of v.
inline void putU16(void* p, std::uint32_t v)
{
    qToLittleEndian(static_cast<std::uint16_t>(v), p);
}
inline void putU32(void* p, std::uint32_t v)
{
    qToLittleEndian(v, p);
}

inline std::uint16_t getBE16(const void* p)
{
    return qFromBigEndian<std::uint16_t>(p);
}
inline std::uint32_t getBE32(const void* p)
{
    return qFromBigEndian<std::uint32_t>(p);
}
inline std::uint64_t getBE64(const void* p)
{
    return qFromBigEndian<std::uint64_t>(p);
}
// The low 16 bits of v.
inline void putBE16(void* p, std::uint32_t v)
{
    qToBigEndian(static_cast<std::uint16_t>(v), p);
}

}  // namespace db
