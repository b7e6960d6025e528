#include "db/paradox/ParadoxFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using db::paradox::BlobFile;
using db::paradox::BlobRef;

QByteArray blobOf(int length, int seed)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i) bytes[i] = char('a' + (i * 7 + seed) % 26);
    return bytes;
}

// Blobs small and large written, written out and read in a random mix, every blob read back after every step:
// whatever the file keeps from earlier reads follows the writes (small blobs go into a block that may have gone
// out to the file already; a block read while the blocks after it still waited in memory is read again once they
// went out), and reopening reads the same.
TEST(BlobFile, EveryBlobReadsBackBetweenWritesAndWriteOuts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blobs.mb"));
    BlobFile::writeEmpty(path).sync();
    BlobFile file;
    file.open(path, true);
    std::vector<std::pair<BlobRef, QByteArray>> blobs;
    const auto readAll = [&](const BlobFile& f, int step) {
        for (size_t i = 0; i < blobs.size(); ++i) ASSERT_EQ(f.read(blobs[i].first), blobs[i].second) << step << " " << i;
    };
    std::mt19937 random(8);
    for (int step = 0; step < 400; ++step) {
        const unsigned what = random() % 10;
        if (what < 6) {
            const QByteArray blob = blobOf(1 + int(random() % 2000), step);
            blobs.emplace_back(file.write(blob), blob);
        } else if (what < 8) {
            const QByteArray blob = blobOf(3000 + int(random() % 400000), step);
            blobs.emplace_back(file.write(blob), blob);
        } else if (what == 8) {
            file.writeOut();
        }
        readAll(file, step);
        if (HasFatalFailure()) return;
    }
    file.writeOut();
    file.sync();
    BlobFile again;
    again.open(path, false);
    readAll(again, -1);
}

}  // namespace
