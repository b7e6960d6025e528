#pragma once

#include <QString>
#include <typeinfo>

namespace platform {

// The call stack of the last error of type raised on this thread, one frame a line (function, file and line where
// the program's debug information has them); empty when the last error raised was of another type.
QString StackOfLastThrow(const std::type_info& type);

// The call stack here and now, in the same form.
QString CurrentStack();

}  // namespace platform
