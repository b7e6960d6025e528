#include "platform/ErrorReport.h"

#include "platform/StackTrace.h"
#include "platform/UserInterface.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace platform {

namespace {

ExceptionReporter& installedReporter()
{
    static ExceptionReporter reporter;
    return reporter;
}

QString typeName(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                          &std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : type.name());
}

void showAsErrorMessage(const ErrorReport& report)
{
    MessageBox(MessageType::Error, report.message);
}

}  // namespace

ErrorReport describeException(std::exception_ptr error)
{
    if (!error)
        return {QStringLiteral("Unbekannter Fehler"), QString(), QString()};
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return {QString::fromUtf8(e.what()), typeName(typeid(e)), StackOfLastThrow(typeid(e))};
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        return {QStringLiteral("Unbekannter Fehler"), type ? typeName(*type) : QString(),
                type ? StackOfLastThrow(*type) : QString()};
    }
}

ExceptionReporter setExceptionReporter(ExceptionReporter reporter)
{
    ExceptionReporter previous = std::move(installedReporter());
    installedReporter() = std::move(reporter);
    return previous;
}

void ReportException(std::exception_ptr error) noexcept
{
    ErrorReport report;
    try {
        report = describeException(error);
        const ExceptionReporter& reporter = installedReporter();
        if (reporter)
            reporter(report);
        else
            showAsErrorMessage(report);
    } catch (...) {
        // Showing the report failed (no interface, or a failing window): the error must still not get lost.
        qCritical("Unhandled error (%s): %s", qUtf8Printable(report.className), qUtf8Printable(report.message));
    }
}

}  // namespace platform
