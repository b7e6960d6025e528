#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

// Language modules. A language module is a data file beside the program ("Import.EN", "Import.CSY"): a Qt binary
// resource file that holds the settings record "_QVT_LIBSETTINGS" and "Import.qm", a Linguist file with the
// module's texts (the program texts by number and the window texts by window and control). The program carries
// its own settings records and its German texts. A module is only ever read as data: the resource file is parsed
// here, every offset checked against the file, and never registered with Qt's resource system, so a damaged or
// hostile file is refused with ELUInvalidResLibrary or ELULoadResLibError and cannot run anything. The Linguist
// file is read the same way, by a reader of our own: Qt's translator trusts its file and reads past the end of a
// damaged one.
namespace platform {

class ELocUtilsError : public std::runtime_error {
public:
    explicit ELocUtilsError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

class ELULoadResLibError : public ELocUtilsError {
public:
    explicit ELULoadResLibError(const QString& fileName);
};

class ELUInvalidResLibrary : public ELocUtilsError {
public:
    ELUInvalidResLibrary();
};

class ELUOutOfVersion : public ELocUtilsError {
public:
    explicit ELUOutOfVersion(const QString& fileName = QString());
};

// One settings record as read.
struct TDLLInfoItem {
    std::uint32_t Version = 0;
    std::uint16_t LanguageId = 0;
    QString LanguageName;
    QString NativeName;
    std::uint32_t ExtraValue = 0;
};

// A list that owns its items.
class TDLLInfoList {
public:
    TDLLInfoItem& Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    TDLLInfoItem& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }

private:
    std::vector<std::unique_ptr<TDLLInfoItem>> items_;
};

// The build version the program and its modules must share, and the program's own record values.
constexpr std::uint32_t kSettingsVersion = 58;

// A source of resources: the program itself or a loaded module file.
class ResourceModule {
public:
    ~ResourceModule();
    bool isProgram() const { return program_; }
    QString fileName() const { return fileName_; }
    // The named resource, or nothing.
    const QByteArray* resource(const QString& name) const;
    // The module's text of an id (a program text's number, or a window text's key); nothing when it has none.
    std::optional<QString> text(const QByteArray& id) const;
    bool hasTexts() const { return !texts_.empty(); }

    // The program itself, with its own settings records.
    static const ResourceModule& program();
    // Reads a module file. Raises ELULoadResLibError when the file cannot be read or is no resource file this
    // program can read.
    static std::unique_ptr<ResourceModule> fromFile(const QString& fileName);
    // Parses a resource file in memory; nothing when it is not one.
    static std::unique_ptr<ResourceModule> fromData(const QByteArray& data, const QString& fileName);

private:
    ResourceModule() = default;
    bool program_ = false;
    QString fileName_;
    std::map<QString, QByteArray> resources_;
    std::map<QByteArray, QString> texts_;
};

// The messages of a Linguist file (.qm) by their id: nothing when the file is not one or any length points outside
// it.
std::optional<std::map<QByteArray, QString>> ReadLinguistFile(const QByteArray& qm);

// The bytes of a settings record: magic ("QEXE" or "LDLL"), version, language id, ANSI name, native name, the four
// bytes no reader interprets, the extra value and one byte of rest. The program's record is 43 bytes.
QByteArray MakeSettingsRecord(const QByteArray& magic, std::uint32_t version, std::uint16_t languageId,
                              const QString& languageName, const QString& nativeName, std::uint32_t extraValue);

// A settings resource opened for reading, positioned after its magic.
struct SettingsStream {
    QByteArray data;
    qsizetype pos = 0;
};
SettingsStream OpenSettingsResource(const ResourceModule& module, bool library);
void ReadSettingsRecord(const ResourceModule& module, bool library, TDLLInfoItem& item);
bool SameSettingsVersion(const ResourceModule& module);

// The localisation object: one for the program's life (LocUtilsInstance). It knows the module that supplies the
// program's texts and switches it.
class TQLocUtils {
public:
    TQLocUtils();
    ~TQLocUtils();

    bool ShowErrors = true;

    // Empty name: the program itself (nullptr). Otherwise the file, read as data; ELULoadResLibError when it cannot
    // be loaded, ELUOutOfVersion (the module dropped) when its version is not the program's.
    std::unique_ptr<ResourceModule> LoadResLibrary(const QString& fileName);
    // Makes module the source of all texts (nullptr: the program itself); a module switched in before is freed.
    void SetResourceModule(std::unique_ptr<ResourceModule> module);
    void LoadResourceLibrary(const QString& fileName);
    void ResetResourceLibrary();
    // Checks the module in use; a module of another version or without its record is dropped for the program's own
    // texts, with the error shown.
    void CheckResourceVersion();
    void ShowLocalizerError(const ELocUtilsError& error);

    // The module in use (the program itself when none is switched in).
    const ResourceModule& CurrentModule() const;

    // The module chosen before the program's own start-up: beside programFile, with the extension of the user's
    // three-letter language abbreviation (derived from localeName, e.g. "de_DE" gives "DEU"), else its first two
    // letters. The first file that loads is switched in without a version check (CheckResourceVersion follows);
    // one that does not load is passed over. Returns the file taken, or an empty text.
    QString LoadStartupModule(const QString& programFile, const QString& localeName);

private:
    std::unique_ptr<ResourceModule> module_;
};

TQLocUtils& LocUtilsInstance();

// The three-letter abbreviation of a locale's language as the program's module extensions use it ("de_DE" gives
// "DEU", "en_US" "ENU", "en_GB" "ENG", "cs_CZ" "CSY"); empty for "C" and "POSIX".
QString LanguageAbbreviation(const QString& localeName);

// The text of a window's control in the module in use ("TfrmImport1.btnWeiter1", "TfrmImport1.btnWeiter1.toolTip",
// "TfrmImport1.comDelimiter.0"); nothing when the program's own texts are in use or the module has none.
std::optional<QString> WindowText(const QString& key);

}  // namespace platform
