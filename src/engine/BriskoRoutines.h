#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace db {
class Table;
}

// The free routines the import engine and the wizard share: files by wildcard mask, emptying a table under an
// exclusive lock, padding and cutting texts, the digit test, rounding, counters with thousands separators and the
// DOS to Windows conversion. None keeps state; the locale-dependent ones read rtl::formatSettings().
//
// Paths: a folder may be given with or without its trailing separator; masks are matched against file names
// without regard to case, as on the platform the stored settings come from.
namespace engine {

// Copies every file (never a folder) matching SourceMask into TargetDir, under NewBaseName plus each file's own
// extension when NewBaseName is not empty. Returns the number of files copied, or -1 after an error box when an
// argument is missing or TargetDir is no folder.
int CopyFiles(const QString& SourceMask, const QString& TargetDir, const QString& NewBaseName);

// Copies Source to Target; 0 on success, non-zero after an error box. An existing Target is replaced only once the
// copy is complete, so a failed copy never destroys the file it was to replace.
int CopyFileTo(const QString& Source, const QString& Target);

// File attribute test of the platform, mapped onto what this platform has: 0x01 read-only, 0x02 hidden (name
// starts with a dot), 0x10 folder. A file that cannot be queried answers true, as the platform's failed query does.
bool FileHasAttr(const QString& FileName, std::uint16_t Attr);
constexpr std::uint16_t faReadOnly = 0x01;
constexpr std::uint16_t faHidden = 0x02;
constexpr std::uint16_t faDirectory = 0x10;

QString IfThenStr(bool Cond, const QString& WhenTrue, const QString& WhenFalse);

// True only for a non-empty text of the digits 0-9 alone.
bool IsNumeric(const QString& S);

// Closes the table, opens it exclusively and empties it; the table is left closed. On any failure an error box
// tells the user and the result is false.
bool EmptyTableExclusive(db::Table& Table);

// What StrToFloat(FloatToStr(Value)) gives: the value at 15 significant digits. Nothing where only the text round
// trip itself can tell: a value that is no number or whose 15-digit form lies beyond the double range, or a decimal
// separator that could be read as part of a number.
std::optional<double> NumberThroughText(double Value);

QString PadLeftTo(const QString& S, std::uint16_t Width);
// Keeps the last Width characters of a longer text.
QString CutToLength(const QString& S, std::uint16_t Width);
// Rounds through fixed-point formatting ("%40.<Decimals>f") and back: halves away from zero.
double RoundToDecimals(std::int8_t Decimals, double Value);

std::int32_t IntMax(std::int32_t A, std::int32_t B);
std::int32_t IntMin(std::int32_t A, std::int32_t B);

// Deletes every file (never a folder) matching Mask; the number deleted, or -1 after an error box for an empty mask.
int DeleteFiles(const QString& Mask);

QString IntToStrThousands(std::int32_t Value);
// Raises rtl::EConvertError on anything but an optionally signed decimal once the separators are gone.
std::int32_t StrToIntThousands(const QString& S);

// A short busy wait with no other effect.
void BusyDelay();

QString OemToAnsiStr(const QString& S);

// Characters FromPos..ToPos (1-based) of S; empty when the range is empty or starts behind the end.
QString CopyRange(const QString& S, std::int32_t FromPos, std::int32_t ToPos);

}  // namespace engine
