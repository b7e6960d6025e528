#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

namespace db {

// Error codes the engine raises; the first one of an error's list says what happened.
namespace ErrorCode {
constexpr int FileLocked = 0x2803;        // another program or cursor holds the table
constexpr int TableNotFound = 0x2702;
constexpr int FieldNotFound = 0x2717;
constexpr int KeyViolation = 0x2601;
constexpr int RequiredFieldMissing = 0x2604;
constexpr int InvalidValue = 0x2608;
constexpr int ReadOnlyTable = 0x2815;
constexpr int PasswordProtected = 0x2903;
constexpr int CorruptFile = 0x2102;
constexpr int NotSupported = 0x3E06;
constexpr int InvalidState = 0x2E01;
constexpr int FilterSyntax = 0x2E04;
constexpr int IoError = 0x2101;
constexpr int AliasNotFound = 0x2710;
// The engine's own codes for two refusals of the cursor: a record that another cursor changed or deleted while
// this one edited it, and an operation that needs the table opened exclusively.
constexpr int RecordChanged = 0x2206;
constexpr int ExclusiveAccessNeeded = 0x2A0C;
}  // namespace ErrorCode

// Every failure of the table engine. It carries the engine's list of numeric codes (most specific first) and a
// German message a user understands.
class EngineError : public std::runtime_error {
public:
    EngineError(int code, const QString& message)
        : std::runtime_error(message.toStdString()), codes_{code}, message_(message) {}
    EngineError(std::vector<int> codes, const QString& message)
        : std::runtime_error(message.toStdString()), codes_(std::move(codes)), message_(message) {}

    const std::vector<int>& codes() const { return codes_; }
    int code() const { return codes_.empty() ? 0 : codes_.front(); }
    const QString& message() const { return message_; }

private:
    std::vector<int> codes_;
    QString message_;
};

}  // namespace db
