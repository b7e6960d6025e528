#pragma once

#include <stdexcept>
#include <string>

namespace parser {

// Everything that stops an expression from compiling. The messages are English and fixed: the callers show them
// as they stand.
class EMathParserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EExpressionHasBlanks : public EMathParserError {
public:
    EExpressionHasBlanks() : EMathParserError("Expression has blanks") {}
};

class EMissMatchingBracket : public EMathParserError {
public:
    EMissMatchingBracket() : EMathParserError("Missing brackets in expression") {}
};

// The message names the term that matched no kind, or the two operand texts of the last split that was tried
// on it, each after a carriage return.
class ESyntaxError : public EMathParserError {
public:
    explicit ESyntaxError(const std::string& message) : EMathParserError(message) {}
};

class ETooManyNestings : public EMathParserError {
public:
    ETooManyNestings() : EMathParserError("Expression contains too many nestings") {}
};

class EExpressionTooComplex : public EMathParserError {
public:
    EExpressionTooComplex() : EMathParserError("Expression is too complex") {}
};

class EParserInternalError : public EMathParserError {
public:
    EParserInternalError() : EMathParserError("TParser internal error") {}
};

// Everything that goes wrong while a compiled expression is computed. A result that would be infinite or not a
// number never leaves the parser as a value: it is one of these.
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point division (or a logarithm) of a non-zero value by zero.
class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};

// DIV or MOD by zero.
class EDivByZero : public EMathError {
public:
    EDivByZero() : EMathError("Division by zero") {}
};

// 0/0, the logarithm or square root of a negative number, a negative base to a fractional power, a value that
// does not fit the 64-bit integer range where one is needed, or an operand that is not a number.
class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};

// A result too large for a 64-bit floating-point number.
class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};

}  // namespace parser
