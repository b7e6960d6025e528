#pragma once

#include <QString>
#include <typeinfo>

namespace platform {

// The call stack of the last error of type raised on this thread, one frame a line (function, file and line where
// the program's debug information has them); empty when the last error raised was of another type.
QString StackOfLastThrow(const std::type_info& type);

// The call stack here and now, in the same form.
QString CurrentStack();

// While one lives on a thread, errors raised there are expected and handled close by (a run's guarded field write
// counts the failure and goes on), so their call stack is not taken: taking it costs more than the rest of the
// failed write, and a run whose source has a column of bad values fails a write for every record.
class ExpectedThrows {
public:
    ExpectedThrows();
    ~ExpectedThrows();
    ExpectedThrows(const ExpectedThrows&) = delete;
    ExpectedThrows& operator=(const ExpectedThrows&) = delete;
};

}  // namespace platform
