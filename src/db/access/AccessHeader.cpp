#include "db/access/AccessHeader.h"

#include "db/EngineError.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace db::access {

namespace {

// Layout of the first page of a Jet database (the same for Jet 3 and Jet 4 up to the lengths noted).
constexpr int kMagicOffset = 0x04;             // "Standard Jet DB\0" or "Standard ACE DB\0"
constexpr int kVersionOffset = 0x14;           // 0 Jet 3, 1 Jet 4, 2 and up Access 2007 and later
constexpr int kScrambledOffset = 0x18;         // start of the part scrambled with the fixed key below
constexpr int kScrambledLengthJet3 = 126;
constexpr int kScrambledLengthJet4 = 128;
constexpr int kPasswordOffset = 0x42;
constexpr int kPasswordLengthJet3 = 20;        // bytes of code page text
constexpr int kPasswordLengthJet4 = 40;        // UCS-2, further masked with the creation date
constexpr int kCreationDateOffset = 0x72;      // Jet 4 only: a date double whose integer part masks the password
constexpr std::array<std::uint8_t, 4> kHeaderKey = {0xC7, 0xDA, 0x39, 0x6B};

QString fileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// RC4 keystream applied in place; the header's scrambling is symmetric.
void rc4(const std::uint8_t* key, int keyLength, std::uint8_t* data, int length)
{
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    int j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    int a = 0;
    int b = 0;
    for (int n = 0; n < length; ++n) {
        a = (a + 1) & 0xFF;
        b = (b + s[a]) & 0xFF;
        std::swap(s[a], s[b]);
        data[n] ^= s[(s[a] + s[b]) & 0xFF];
    }
}

bool passwordIsSet(QByteArray page, AccessHeader::Version version)
{
    auto* bytes = reinterpret_cast<std::uint8_t*>(page.data());
    const int scrambled = version == AccessHeader::Version::Jet3 ? kScrambledLengthJet3 : kScrambledLengthJet4;
    rc4(kHeaderKey.data(), int(kHeaderKey.size()), bytes + kScrambledOffset, scrambled);

    if (version == AccessHeader::Version::Jet3) {
        for (int i = 0; i < kPasswordLengthJet3; ++i)
            if (bytes[kPasswordOffset + i] != 0)
                return true;
        return false;
    }

    double created = 0;
    std::memcpy(&created, bytes + kCreationDateOffset, sizeof created);
    // A date outside any sensible range cannot come from Jet; its mask would be meaningless, and an unmasked
    // non-zero password area still means a password.
    std::int32_t maskValue = 0;
    if (std::isfinite(created) && created > std::numeric_limits<std::int32_t>::min()
        && created < std::numeric_limits<std::int32_t>::max())
        maskValue = static_cast<std::int32_t>(created);
    std::array<std::uint8_t, 4> mask = {std::uint8_t(maskValue & 0xFF), std::uint8_t((maskValue >> 8) & 0xFF),
                                        std::uint8_t((maskValue >> 16) & 0xFF),
                                        std::uint8_t((maskValue >> 24) & 0xFF)};
    for (int i = 0; i < kPasswordLengthJet4; ++i)
        if ((bytes[kPasswordOffset + i] ^ mask[i % 4]) != 0)
            return true;
    return false;
}

}  // namespace

AccessHeader inspectAccessHeader(const QByteArray& firstPage, qint64 fileSize, const QString& pathForMessages)
{
    const QString name = fileNameOf(pathForMessages);
    const auto notAccess = [&] {
        return EngineError(ErrorCode::NotSupported,
                           QStringLiteral("Die Datei \"%1\" ist keine Access-Datenbank.").arg(name));
    };

    if (firstPage.size() < kCreationDateOffset + 8 || fileSize < 2048)
        throw notAccess();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(firstPage.constData());
    // Page 0 is the database definition page: type byte 0, then 01 00 00.
    if (bytes[0] != 0x00 || bytes[1] != 0x01 || bytes[2] != 0x00 || bytes[3] != 0x00)
        throw notAccess();
    const bool jetMagic = std::memcmp(bytes + kMagicOffset, "Standard Jet DB\0", 16) == 0;
    const bool aceMagic = std::memcmp(bytes + kMagicOffset, "Standard ACE DB\0", 16) == 0;
    if (!jetMagic && !aceMagic)
        throw notAccess();

    const int versionByte = bytes[kVersionOffset];
    if (aceMagic || versionByte >= 2)
        throw EngineError(ErrorCode::NotSupported,
                          QStringLiteral("Die Datei \"%1\" ist eine Access-Datenbank ab Version 2007. "
                                         "Dieses Format wird nicht unterstützt; bitte speichern Sie die "
                                         "Datenbank im Format Access 2000-2003 (.mdb).")
                              .arg(name));

    AccessHeader header;
    header.version = versionByte == 0 ? AccessHeader::Version::Jet3 : AccessHeader::Version::Jet4;
    header.pageSize = header.version == AccessHeader::Version::Jet3 ? 2048 : 4096;

    // Jet always grows the file by whole pages; anything else is a copy that was cut off.
    if (fileSize % header.pageSize != 0 || firstPage.size() < kScrambledOffset + kScrambledLengthJet4)
        throw EngineError(ErrorCode::CorruptFile,
                          QStringLiteral("Die Access-Datenbank \"%1\" ist unvollständig oder beschädigt und "
                                         "kann nicht gelesen werden.")
                              .arg(name));

    header.hasPassword = passwordIsSet(firstPage, header.version);
    if (header.hasPassword)
        throw EngineError(ErrorCode::PasswordProtected,
                          QStringLiteral("Die Access-Datenbank \"%1\" ist durch ein Kennwort geschützt. "
                                         "Kennwortgeschützte Datenbanken können nicht importiert werden; bitte "
                                         "entfernen Sie das Kennwort in Access und versuchen Sie es erneut.")
                              .arg(name));
    return header;
}

AccessHeader checkAccessHeader(const QString& path)
{
    const QString name = fileNameOf(path);
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Access-Datenbank \"%1\" wurde nicht gefunden.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(ErrorCode::IoError,
                          QStringLiteral("Die Access-Datenbank \"%1\" kann nicht geöffnet werden: %2")
                              .arg(name, file.errorString()));
    const QByteArray firstPage = file.read(4096);
    return inspectAccessHeader(firstPage, file.size(), path);
}

}  // namespace db::access
