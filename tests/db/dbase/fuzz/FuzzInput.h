#pragma once

// One fuzz input holds a whole dBase file set. Layout: a flags byte, the length of the .DBF part and of the memo
// part (two bytes each, little-endian), the .DBF bytes, the memo bytes, and whatever follows as the rollback
// journal a writer that died would have left. Lengths beyond the input's end are cut to what is there.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace dbasefuzz {

enum Flag : std::uint8_t {
    HasMemo = 0x01,        // a memo file exists
    MemoIsFpt = 0x02,      // named .FPT instead of .DBT
    LowerCaseNames = 0x04,  // files named in lower case
    CodePageMask = 0x18,   // 0: the header's code page; 1..3: 850, 1251, 437 forced by the caller
    Write = 0x20,          // append, change and delete records when the table is writable
    HasJournal = 0x40,     // the bytes after the memo are a journal file beside the table
    Exclusive = 0x80,      // open exclusively (and empty the table among the writes)
};

struct FileSet {
    std::uint8_t flags = 0;
    QByteArray dbf;
    QByteArray memo;
    QByteArray journal;
};

constexpr std::size_t kHeaderSize = 5;

inline bool unpack(const std::uint8_t* data, std::size_t size, FileSet& out)
{
    if (size < kHeaderSize)
        return false;
    out.flags = data[0];
    std::size_t dbfLength = std::size_t(data[1]) | (std::size_t(data[2]) << 8);
    std::size_t memoLength = std::size_t(data[3]) | (std::size_t(data[4]) << 8);
    const char* p = reinterpret_cast<const char*>(data) + kHeaderSize;
    std::size_t left = size - kHeaderSize;
    dbfLength = dbfLength < left ? dbfLength : left;
    out.dbf = QByteArray(p, qsizetype(dbfLength));
    p += dbfLength;
    left -= dbfLength;
    memoLength = memoLength < left ? memoLength : left;
    out.memo = QByteArray(p, qsizetype(memoLength));
    p += memoLength;
    left -= memoLength;
    out.journal = QByteArray(p, qsizetype(left));
    return true;
}

// The input that unpacks to files; parts longer than 65535 bytes do not fit.
inline QByteArray pack(const FileSet& files)
{
    QByteArray out;
    out.append(char(files.flags));
    for (qsizetype n : {files.dbf.size(), files.memo.size()}) {
        out.append(char(n & 0xFF));
        out.append(char((n >> 8) & 0xFF));
    }
    out.append(files.dbf);
    out.append(files.memo);
    out.append(files.journal);
    return out;
}

}  // namespace dbasefuzz
