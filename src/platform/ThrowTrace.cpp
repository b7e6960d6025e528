// Every C++ throw of the program passes through here on its way to the runtime, so that the error report can show
// where an error was raised and not only where it was caught. The runtime's own __cxa_throw does the throwing.
// This file must not see <cxxabi.h>, whose declaration of the function differs in its attributes.
#include <dlfcn.h>
#include <typeinfo>

namespace platform::detail {
void RecordThrow(const std::type_info* type) noexcept;
}

extern "C" {

using CxaThrow = void (*)(void*, std::type_info*, void (*)(void*));

[[noreturn]] void __cxa_throw(void* thrown, std::type_info* type, void (*destructor)(void*))
{
    static const CxaThrow runtime = reinterpret_cast<CxaThrow>(dlsym(RTLD_NEXT, "__cxa_throw"));
    platform::detail::RecordThrow(type);
    runtime(thrown, type, destructor);
    __builtin_unreachable();
}
}
