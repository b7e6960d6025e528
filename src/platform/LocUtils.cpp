#include "platform/LocUtils.h"

#include "platform/UserInterface.h"
#include "texts/Texts.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace platform {

namespace {

constexpr const char* kExeSettings = "_QVT_EXESETTINGS";
constexpr const char* kLibSettings = "_QVT_LIBSETTINGS";
constexpr const char* kTexts = "Import.qm";
// Larger than any module this program ships by far; a bigger file is not read at all.
constexpr qint64 kMaxModuleSize = 64 * 1024 * 1024;

// Reads big-endian numbers from a byte array; every read is checked against the end.
class BigEndianReader {
public:
    explicit BigEndianReader(const QByteArray& data) : data_(data) {}
    bool has(qint64 pos, qint64 length) const { return pos >= 0 && length >= 0 && pos <= data_.size() - length; }
    std::optional<quint32> u32(qint64 pos) const
    {
        if (!has(pos, 4))
            return std::nullopt;
        return qFromBigEndian<quint32>(data_.constData() + pos);
    }
    std::optional<quint16> u16(qint64 pos) const
    {
        if (!has(pos, 2))
            return std::nullopt;
        return qFromBigEndian<quint16>(data_.constData() + pos);
    }

private:
    const QByteArray& data_;
};

// The top-level files of a Qt binary resource file (format versions 1 to 3, uncompressed entries); nothing when
// the file is not one or any offset points outside it.
std::optional<std::map<QString, QByteArray>> ParseResourceFile(const QByteArray& data)
{
    const BigEndianReader in(data);
    if (!in.has(0, 20) || std::memcmp(data.constData(), "qres", 4) != 0)
        return std::nullopt;
    const auto version = in.u32(4);
    const auto tree = in.u32(8);
    const auto payload = in.u32(12);
    const auto names = in.u32(16);
    if (!version || *version < 1 || *version > 3)
        return std::nullopt;
    const qint64 nodeSize = *version >= 2 ? 22 : 14;
    constexpr quint16 kCompressed = 0x01, kDirectory = 0x02, kCompressedZstd = 0x04;

    auto nodeFlags = [&](qint64 node) { return in.u16(*tree + node * nodeSize + 4); };
    auto nodeName = [&](qint64 node) -> std::optional<QString> {
        const auto offset = in.u32(*tree + node * nodeSize);
        if (!offset)
            return std::nullopt;
        const qint64 at = qint64(*names) + *offset;
        const auto length = in.u16(at);
        if (!length || !in.has(at + 6, qint64(*length) * 2))
            return std::nullopt;
        QString name(*length, Qt::Uninitialized);
        for (int i = 0; i < *length; ++i)
            name[i] = QChar(qFromBigEndian<quint16>(data.constData() + at + 6 + 2 * i));
        return name;
    };

    const auto rootFlags = nodeFlags(0);
    if (!rootFlags || !(*rootFlags & kDirectory))
        return std::nullopt;
    const auto count = in.u32(*tree + 6);
    const auto first = in.u32(*tree + 10);
    if (!count || !first || !in.has(*tree + qint64(*first) * nodeSize, qint64(*count) * nodeSize))
        return std::nullopt;

    std::map<QString, QByteArray> files;
    for (quint32 i = 0; i < *count; ++i) {
        const qint64 node = qint64(*first) + i;
        const auto flags = nodeFlags(node);
        const auto name = nodeName(node);
        if (!flags || !name)
            return std::nullopt;
        if (*flags & kDirectory)
            continue;
        if (*flags & (kCompressed | kCompressedZstd))
            return std::nullopt;
        const auto offset = in.u32(*tree + node * nodeSize + 10);
        if (!offset)
            return std::nullopt;
        const qint64 at = qint64(*payload) + *offset;
        const auto size = in.u32(at);
        if (!size || !in.has(at + 4, *size))
            return std::nullopt;
        files[*name] = data.mid(at + 4, *size);
    }
    return files;
}

}  // namespace

std::optional<std::map<QByteArray, QString>> ReadLinguistFile(const QByteArray& qm)
{
    static const unsigned char magic[16] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c, 0x95,
                                            0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1, 0xbd, 0xdd};
    const BigEndianReader in(qm);
    if (!in.has(0, 16) || std::memcmp(qm.constData(), magic, 16) != 0)
        return std::nullopt;
    constexpr char kMessages = 0x69;
    std::map<QByteArray, QString> texts;
    qint64 pos = 16;
    while (pos < qm.size()) {
        const auto length = in.u32(pos + 1);
        if (!length || !in.has(pos + 5, *length))
            return std::nullopt;
        if (qm[pos] == kMessages) {
            // Records of tagged fields, each ending with tag 1: 3 a translation (UTF-16, big-endian), 6 the
            // source text, which is the id here, 7 the context, 8 the comment, 5 four bytes of no meaning.
            const qint64 end = pos + 5 + *length;
            qint64 at = pos + 5;
            QByteArray id;
            std::optional<QString> translation;
            while (at < end) {
                const char tag = qm[at++];
                if (tag == 1) {
                    if (translation && !id.isEmpty())
                        texts.emplace(id, *translation);
                    id.clear();
                    translation.reset();
                    continue;
                }
                if (tag == 5) {
                    at += 4;
                    continue;
                }
                const auto size = in.u32(at);
                if (!size)
                    return std::nullopt;
                at += 4;
                if (tag == 3 && *size == 0xFFFFFFFFu)
                    continue;  // a translation left empty
                if (at + qint64(*size) > end)
                    return std::nullopt;
                if (tag == 3) {
                    if (*size % 2 != 0)
                        return std::nullopt;
                    QString text(qsizetype(*size / 2), Qt::Uninitialized);
                    for (qsizetype i = 0; i < text.size(); ++i)
                        text[i] = QChar(qFromBigEndian<quint16>(qm.constData() + at + 2 * i));
                    if (!translation)  // the first of several plural forms
                        translation = text;
                } else if (tag == 6) {
                    id = qm.mid(at, *size);
                } else if (tag != 7 && tag != 8) {
                    return std::nullopt;
                }
                at += *size;
            }
        }
        pos += 5 + *length;
    }
    return texts;
}

namespace {

QString Fmt(int id, const QString& value)
{
    return texts::Format(texts::Text(id), {value});
}

}  // namespace

ELULoadResLibError::ELULoadResLibError(const QString& fileName) : ELocUtilsError(Fmt(65266, fileName)) {}

ELUInvalidResLibrary::ELUInvalidResLibrary() : ELocUtilsError(texts::Text(65265)) {}

ELUOutOfVersion::ELUOutOfVersion(const QString& fileName)
    : ELocUtilsError(fileName.isEmpty() ? texts::Text(65264) : Fmt(65295, fileName))
{
}

TDLLInfoItem& TDLLInfoList::Add()
{
    items_.push_back(std::make_unique<TDLLInfoItem>());
    return *items_.back();
}

void TDLLInfoList::Delete(int index)
{
    items_.erase(items_.begin() + index);
}

QByteArray MakeSettingsRecord(const QByteArray& magic, std::uint32_t version, std::uint16_t languageId,
                              const QString& languageName, const QString& nativeName, std::uint32_t extraValue)
{
    QByteArray record = magic.left(4);
    auto put = [&record](auto value) {
        char bytes[sizeof(value)];
        qToLittleEndian(value, bytes);
        record.append(bytes, sizeof(value));
    };
    const QByteArray ansi = languageName.toLatin1();
    put(quint32(version));
    put(quint16(languageId));
    put(quint16(ansi.size()));
    record.append(ansi);
    put(quint16(nativeName.size()));
    for (QChar c : nativeName)
        put(quint16(c.unicode()));
    record.append("\x06\x00\xBA\xAB", 4);
    put(quint32(extraValue));
    record.append('\x65');
    return record;
}

ResourceModule::~ResourceModule() = default;

std::optional<QString> ResourceModule::text(const QByteArray& id) const
{
    const auto found = texts_.find(id);
    if (found == texts_.end() || found->second.isEmpty())
        return std::nullopt;
    return found->second;
}

const QByteArray* ResourceModule::resource(const QString& name) const
{
    const auto found = resources_.find(name);
    return found == resources_.end() ? nullptr : &found->second;
}

const ResourceModule& ResourceModule::program()
{
    static const ResourceModule* const self = [] {
        auto* module = new ResourceModule;
        module->program_ = true;
        module->resources_[QLatin1String(kExeSettings)] =
            MakeSettingsRecord("QEXE", kSettingsVersion, 7, QStringLiteral("German"), QStringLiteral("Deutsch"), 1);
        module->resources_[QLatin1String(kLibSettings)] =
            MakeSettingsRecord("LDLL", kSettingsVersion, 7, QStringLiteral("German"), QStringLiteral("Deutsch"), 1);
        return module;
    }();
    return *self;
}

std::unique_ptr<ResourceModule> ResourceModule::fromData(const QByteArray& data, const QString& fileName)
{
    auto files = ParseResourceFile(data);
    if (!files)
        return nullptr;
    std::unique_ptr<ResourceModule> module(new ResourceModule);
    module->fileName_ = fileName;
    module->resources_ = std::move(*files);
    if (const QByteArray* qm = module->resource(QLatin1String(kTexts))) {
        auto texts = ReadLinguistFile(*qm);
        if (!texts)
            return nullptr;
        module->texts_ = std::move(*texts);
    }
    return module;
}

std::unique_ptr<ResourceModule> ResourceModule::fromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || file.size() > kMaxModuleSize || !file.open(QIODevice::ReadOnly))
        throw ELULoadResLibError(fileName);
    auto module = fromData(file.readAll(), fileName);
    if (!module)
        throw ELULoadResLibError(fileName);
    return module;
}

SettingsStream OpenSettingsResource(const ResourceModule& module, bool library)
{
    const QByteArray* record = module.resource(QLatin1String(library ? kLibSettings : kExeSettings));
    if (!record || record->size() < 4 || std::memcmp(record->constData(), library ? "LDLL" : "QEXE", 4) != 0)
        throw ELUInvalidResLibrary();
    return {*record, 4};
}

void ReadSettingsRecord(const ResourceModule& module, bool library, TDLLInfoItem& item)
{
    SettingsStream stream = OpenSettingsResource(module, library);
    // A record that ends early is as invalid as one without its magic.
    auto take = [&stream](qsizetype length) {
        if (length < 0 || stream.pos > stream.data.size() - length)
            throw ELUInvalidResLibrary();
        const char* at = stream.data.constData() + stream.pos;
        stream.pos += length;
        return at;
    };
    item.Version = qFromLittleEndian<quint32>(take(4));
    if (item.Version >= 0x80000000u)
        throw ELUInvalidResLibrary();
    item.LanguageId = qFromLittleEndian<quint16>(take(2));
    const quint16 nameLength = qFromLittleEndian<quint16>(take(2));
    // The name is ANSI (Windows-1252); Latin-1 agrees for every letter a language name uses.
    item.LanguageName = QString::fromLatin1(take(nameLength), nameLength);
    const quint16 nativeLength = qFromLittleEndian<quint16>(take(2));
    const char* native = take(qsizetype(nativeLength) * 2);
    item.NativeName.resize(nativeLength);
    for (int i = 0; i < nativeLength; ++i)
        item.NativeName[i] = QChar(qFromLittleEndian<quint16>(native + 2 * i));
    take(4);
    item.ExtraValue = stream.data.size() - stream.pos >= 4 ? qFromLittleEndian<quint32>(take(4)) : 0;
}

bool SameSettingsVersion(const ResourceModule& module)
{
    TDLLInfoItem own;
    TDLLInfoItem other;
    ReadSettingsRecord(ResourceModule::program(), false, own);
    ReadSettingsRecord(module, true, other);
    return own.Version == other.Version;
}

TQLocUtils::TQLocUtils()
{
    // Touching the text table's lookup first makes it outlive this object, whose end switches it back.
    texts::SetLanguageLookup({});
}

TQLocUtils::~TQLocUtils()
{
    texts::SetLanguageLookup({});
}

std::unique_ptr<ResourceModule> TQLocUtils::LoadResLibrary(const QString& fileName)
{
    if (fileName.isEmpty())
        return nullptr;
    auto module = ResourceModule::fromFile(fileName);
    if (!SameSettingsVersion(*module))
        throw ELUOutOfVersion(fileName);
    return module;
}

void TQLocUtils::SetResourceModule(std::unique_ptr<ResourceModule> module)
{
    texts::LanguageLookup lookup;
    if (module && module->hasTexts()) {
        const ResourceModule* texts = module.get();
        lookup = [texts](int id) { return texts->text(QByteArray::number(id)); };
    }
    texts::SetLanguageLookup(std::move(lookup));
    module_ = std::move(module);
}

void TQLocUtils::LoadResourceLibrary(const QString& fileName)
{
    SetResourceModule(LoadResLibrary(fileName));
}

void TQLocUtils::ResetResourceLibrary()
{
    SetResourceModule(nullptr);
}

const ResourceModule& TQLocUtils::CurrentModule() const
{
    return module_ ? *module_ : ResourceModule::program();
}

void TQLocUtils::CheckResourceVersion()
{
    try {
        if (!SameSettingsVersion(CurrentModule()))
            throw ELUOutOfVersion();
    } catch (const ELocUtilsError& error) {
        // The message must come from the program's own texts, not from the module being dropped.
        ResetResourceLibrary();
        if (!ShowErrors)
            throw;
        ShowLocalizerError(error);
    }
}

void TQLocUtils::ShowLocalizerError(const ELocUtilsError& error)
{
    MessageRequest request;
    request.type = MessageType::Error;
    request.caption = texts::Text(65267);
    request.text = error.message();
    MessageBox(request);
}

QString TQLocUtils::LoadStartupModule(const QString& programFile, const QString& localeName)
{
    const QString abbreviation = LanguageAbbreviation(localeName);
    if (abbreviation.isEmpty())
        return QString();
    const QFileInfo program(programFile);
    const QString base = program.absolutePath() + u'/' + program.completeBaseName() + u'.';
    for (const QString& extension : {abbreviation, abbreviation.left(2)}) {
        const QString candidate = base + extension;
        if (!QFileInfo(candidate).isFile())
            continue;
        try {
            SetResourceModule(ResourceModule::fromFile(candidate));
            return candidate;
        } catch (const ELocUtilsError&) {
            // A file that does not load is passed over, as a module that is not there.
        }
    }
    return QString();
}

TQLocUtils& LocUtilsInstance()
{
    static TQLocUtils instance;
    return instance;
}

QString LanguageAbbreviation(const QString& localeName)
{
    // The abbreviations the platform's locale settings give: the language's two letters and a letter for the
    // country, with the exceptions the platform has always had.
    static const std::map<QString, QString> known = {
        {"cs_CZ", "CSY"}, {"da_DK", "DAN"}, {"de_AT", "DEA"}, {"de_CH", "DES"}, {"de_DE", "DEU"}, {"de_LI", "DEC"},
        {"de_LU", "DEL"}, {"el_GR", "ELL"}, {"en_AU", "ENA"}, {"en_CA", "ENC"}, {"en_GB", "ENG"}, {"en_IE", "ENI"},
        {"en_NZ", "ENZ"}, {"en_US", "ENU"}, {"en_ZA", "ENS"}, {"es_ES", "ESN"}, {"es_MX", "ESM"}, {"fi_FI", "FIN"},
        {"fr_BE", "FRB"}, {"fr_CA", "FRC"}, {"fr_CH", "FRS"}, {"fr_FR", "FRA"}, {"fr_LU", "FRL"}, {"hu_HU", "HUN"},
        {"it_CH", "ITS"}, {"it_IT", "ITA"}, {"ja_JP", "JPN"}, {"nb_NO", "NOR"}, {"nl_BE", "NLB"}, {"nl_NL", "NLD"},
        {"pl_PL", "PLK"}, {"pt_BR", "PTB"}, {"pt_PT", "PTG"}, {"ru_RU", "RUS"}, {"sk_SK", "SKY"}, {"sl_SI", "SLV"},
        {"sv_SE", "SVE"}, {"tr_TR", "TRK"}, {"zh_CN", "CHS"}, {"zh_TW", "CHT"},
    };
    // "de_DE.UTF-8@euro" -> "de_DE"
    QString name = localeName.section(u'.', 0, 0).section(u'@', 0, 0);
    name.replace(u'-', u'_');
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return QString();
    const auto found = known.find(name);
    if (found != known.end())
        return found->second;
    const QString language = name.section(u'_', 0, 0).toUpper();
    const QString country = name.section(u'_', 1, 1).toUpper();
    if (language.size() != 2)
        return QString();
    // Elsewhere the country's first letter; a language without a country has only its two letters.
    return country.isEmpty() ? language : language + country.left(1);
}

std::optional<QString> WindowText(const QString& key)
{
    return LocUtilsInstance().CurrentModule().text(key.toUtf8());
}

}  // namespace platform
