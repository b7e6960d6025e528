#pragma once

#include "engine/TextimportFixLen.h"

#include <QString>
#include <optional>

namespace engine {
struct ImportSetting;
}

// The page logic of storing a setting and loading it back: the columns that are texts of their own (the column
// boundaries, the separators) and what makes a stored row unusable before anything of it reaches the pages.
namespace wizard {

// The 100 boundaries of the Column boundary list as stored: each as a signed decimal with ";" after it.
QString FixBreakText(const engine::BoundarySlots& boundaries);
// A stored FixBreak into a list: every value other than 0 goes into the next slot from slot 0; the others stay
// free. Nothing when a value is no number, lies outside the signed 16-bit range, or there are more than 100.
std::optional<engine::BoundarySlots> FixBreakSlots(const QString& FixBreak);

// What makes a stored row unusable for the wizard, as a sentence; empty when it can be loaded: a separator
// column that does not hold exactly one character, a date format that is missing, a FixBreak that cannot be read.
QString StoredRowFault(const engine::ImportSetting& setting);

// Whether a source is a text file (its upper-cased extension none of .DBF, .DB, .MDB).
bool IsTextSource(const QString& fileName);
// The Quellformat written for a source: Paradox, dBase or Access; empty for a text source.
QString QuellformatOf(const QString& fileName);

}  // namespace wizard
