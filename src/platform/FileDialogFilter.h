#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Turns the classic filter notation "description|mask|description|mask" into Qt name filters
// "description (patterns)". Masks list their patterns separated by ";" and blanks. Two things keep the original
// behaviour on this platform: "*.*" means every file (also one without an extension), and patterns match file
// names without regard to case ("*.db" finds KUNDEN.DB), as file names are matched everywhere in the program.
// A trailing description without a mask is dropped.
QStringList qtNameFilters(const QString& filter);

// A glob pattern that matches the same names as pattern, ignoring the case of letters ("*.db" -> "*.[dD][bB]").
QString caseInsensitivePattern(const QString& pattern);

}  // namespace platform
