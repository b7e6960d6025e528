#pragma once

#include <QString>
#include <exception>
#include <functional>

// The program's general error handling: every error that no routine handles ends here, is described once and
// handed to the reporter. The reporter starts as a plain error message; the error report window replaces it.
namespace platform {

struct ErrorReport {
    QString message;    // the error's own text
    QString className;  // the exception's type, e.g. "db::EngineError"
    QString stackTrace; // where it was raised, one frame a line; empty when that is not known
};

// Describes a caught exception; an error that is no std::exception gets a general text.
ErrorReport describeException(std::exception_ptr error);

using ExceptionReporter = std::function<void(const ErrorReport& report)>;
// Installs the reporter (an empty function restores the plain error message) and returns the previous one.
ExceptionReporter setExceptionReporter(ExceptionReporter reporter);

// Reports error (by default the exception being handled). Never throws: a reporter that fails itself leaves the
// report on the debug output.
void ReportException(std::exception_ptr error = std::current_exception()) noexcept;

}  // namespace platform
