#include "platform/StackTrace.h"

#define BOOST_STACKTRACE_LINK
#include <boost/stacktrace.hpp>

#include <sstream>

namespace platform {

namespace {

struct LastThrow {
    const std::type_info* type = nullptr;
    boost::stacktrace::stacktrace trace{0, 0};
};

thread_local LastThrow lastThrow;
thread_local int expectedThrows = 0;

QString Format(const boost::stacktrace::stacktrace& trace)
{
    std::ostringstream out;
    out << trace;
    return QString::fromStdString(out.str()).trimmed();
}

}  // namespace

namespace detail {

void RecordThrow(const std::type_info* type) noexcept
{
    // Running out of memory here would throw again, and come back here.
    thread_local bool recording = false;
    if (recording)
        return;
    if (expectedThrows > 0) {
        lastThrow.type = nullptr;
        return;
    }
    recording = true;
    try {
        // Frames 0 and 1 are this function and the throw hook; the addresses alone are cheap to take, the names
        // are looked up only when a report is shown.
        lastThrow.trace = boost::stacktrace::stacktrace(2, 64);
        lastThrow.type = type;
    } catch (...) {
        lastThrow.type = nullptr;
    }
    recording = false;
}

}  // namespace detail

QString StackOfLastThrow(const std::type_info& type)
{
    if (!lastThrow.type || *lastThrow.type != type)
        return QString();
    return Format(lastThrow.trace);
}

ExpectedThrows::ExpectedThrows()
{
    ++expectedThrows;
}

ExpectedThrows::~ExpectedThrows()
{
    --expectedThrows;
}

QString CurrentStack()
{
    return Format(boost::stacktrace::stacktrace(1, 64));
}

}  // namespace platform
