#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace engine {
struct MappingRow;
}

// The page logic of the mode page: whether a start value can count up the target's key for every source record.
namespace wizard {

// Counting up from Startwert for RecordCount records, with the key row's type, length and alignment; a value for
// which KeyExists is true clashes with a record the target holds. Shows the refusal (or, for key types that cannot
// be counted, the notice) itself and gives whether the wizard may go on.
bool StartwertFuerSchluesselPruefen(const engine::MappingRow& Key, const QString& Startwert, int RecordCount,
                                    const std::function<bool(const QVariant&)>& KeyExists);

}  // namespace wizard
