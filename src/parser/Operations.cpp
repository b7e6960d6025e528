#include "parser/Operations.h"

#include "parser/ParserErrors.h"

#include <cmath>
#include <cstdint>

namespace parser {

// Every routine computes in long double (the 80-bit extended format on x86) and rounds once, when it stores into
// Dest: intermediate results such as e^x in SINH or the powers of a repeated squaring may exceed the double range
// without the stored result doing so.
namespace {

using Extended = long double;

constexpr Extended kTwoTo63 = 9223372036854775808.0L;
constexpr Extended kTwoTo32 = 4294967296.0L;

void store(OperationRecord& op, Extended value)
{
    const double rounded = static_cast<double>(value);
    CheckResult(rounded);
    *op.Dest = rounded;
}

Extended arg1(const OperationRecord& op) { return *op.Arg1; }
Extended arg2(const OperationRecord& op) { return *op.Arg2; }

// Truncation towards zero into the 64-bit integer range; a value outside it has no such integer.
std::int64_t truncate64(Extended x)
{
    if (!(x >= -kTwoTo63 && x < kTwoTo63))
        throw EInvalidOp();
    return static_cast<std::int64_t>(x);
}

// x to the whole power n by repeated squaring; a negative n gives 1 divided by the positive power.
Extended integerPower(Extended x, std::int64_t n)
{
    if (n == 0)
        return 1;
    std::uint64_t m = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    Extended result = 1;
    Extended base = x;
    for (;;) {
        if (m & 1)
            result *= base;
        m >>= 1;
        if (m == 0)
            break;
        base *= base;
    }
    if (n < 0) {
        if (result == 0) {
            if (x == 0)
                throw EZeroDivide();
            throw EOverflow();  // the positive power vanished below the extended range
        }
        result = 1 / result;
    }
    return result;
}

void negation(OperationRecord& op) { store(op, -arg1(op)); }
void addition(OperationRecord& op) { store(op, arg1(op) + arg2(op)); }
void subtraction(OperationRecord& op) { store(op, arg1(op) - arg2(op)); }
void multiplication(OperationRecord& op) { store(op, arg1(op) * arg2(op)); }

void division(OperationRecord& op)
{
    const Extended b = arg2(op);
    if (b == 0) {
        if (arg1(op) == 0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    store(op, arg1(op) / b);
}

void modulo(OperationRecord& op)
{
    const std::int64_t a = truncate64(arg1(op));
    const std::int64_t b = truncate64(arg2(op));
    if (b == 0)
        throw EDivByZero();
    store(op, b == -1 ? 0 : static_cast<Extended>(a % b));
}

void intDivision(OperationRecord& op)
{
    const std::int64_t a = truncate64(arg1(op));
    const std::int64_t b = truncate64(arg2(op));
    if (b == 0)
        throw EDivByZero();
    // The one quotient beyond the 64-bit range, 2^63, is exact as a double.
    store(op, b == -1 ? -static_cast<Extended>(a) : static_cast<Extended>(a / b));
}

void integerPowerOp(OperationRecord& op) { store(op, integerPower(arg1(op), truncate64(arg2(op)))); }

void realPower(OperationRecord& op)
{
    const Extended x = arg1(op);
    const Extended y = arg2(op);
    if (y == 0) {
        store(op, 1);
        return;
    }
    if (x == 0 && y > 0) {
        store(op, 0);
        return;
    }
    if (std::trunc(y) == y && std::fabs(y) <= 2147483647.0L) {
        store(op, integerPower(x, static_cast<std::int64_t>(y)));
        return;
    }
    if (x < 0)
        throw EInvalidOp();  // the logarithm of a negative base
    if (x == 0)
        throw EZeroDivide();  // the logarithm of zero, for a negative exponent
    store(op, std::exp(y * std::log(x)));
}

void square(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, x * x);
}

void cube(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, x * x * x);
}

void fourthPower(OperationRecord& op)
{
    const Extended x = arg1(op);
    const Extended s = x * x;
    store(op, s * s);
}

// The generator of RND: a 32-bit linear congruential generator whose seed starts at 0 with the program and is
// never set again, so every run draws the same sequence.
std::uint32_t randomSeed = 0;

}  // namespace

void CheckResult(double value)
{
    if (std::isnan(value))
        throw EInvalidOp();
    if (std::isinf(value))
        throw EOverflow();
}

TOperationProc OperationProcedure(std::uint8_t code)
{
    switch (code) {
    case opNegation: return negation;
    case opAddition: return addition;
    case opSubtraction: return subtraction;
    case opMultiplication: return multiplication;
    case opDivision: return division;
    case opModulo: return modulo;
    case opIntDivision: return intDivision;
    case opIntegerPower: return integerPowerOp;
    case opRealPower: return realPower;
    case opSquare: return square;
    case opCube: return cube;
    case opFourthPower: return fourthPower;
    default: return nullptr;
    }
}

namespace functions {

void Tan(OperationRecord& op) { store(op, std::tan(arg1(op))); }

// The hardware sine and cosine take arguments below 2^63 in magnitude only; beyond that the result is 0.
void Sin(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, std::fabs(x) >= kTwoTo63 ? 0 : std::sin(x));
}

void Cos(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, std::fabs(x) >= kTwoTo63 ? 0 : std::cos(x));
}

void Sinh(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, (std::exp(x) - std::exp(-x)) * 0.5L);
}

void Cosh(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, (std::exp(x) + std::exp(-x)) * 0.5L);
}

void ArcTan(OperationRecord& op) { store(op, std::atan(arg1(op))); }
void Exp(OperationRecord& op) { store(op, std::exp(arg1(op))); }

void Ln(OperationRecord& op)
{
    const Extended x = arg1(op);
    if (x < 0)
        throw EInvalidOp();
    if (x == 0)
        throw EZeroDivide();
    store(op, std::log(x));
}

void Sqrt(OperationRecord& op)
{
    const Extended x = arg1(op);
    if (x < 0)
        throw EInvalidOp();
    store(op, std::sqrt(x));
}

void Abs(OperationRecord& op) { store(op, std::fabs(arg1(op))); }
void Heav(OperationRecord& op) { store(op, arg1(op) >= 0 ? 1 : 0); }

void Sign(OperationRecord& op)
{
    const Extended x = arg1(op);
    store(op, x < 0 ? -1 : (x == 0 ? 0 : 1));
}

void Zero(OperationRecord& op) { store(op, arg1(op) == 0 ? 0 : 1); }

// The phase of x reduced to one turn: x is divided by 2/pi (not multiplied by 2*pi), the nearest whole number
// (halves to the even one) is taken off, and the remainder is scaled by 2*pi.
void Ph(OperationRecord& op)
{
    const Extended y = arg1(op) / 0.6366197723675814L;
    if (!(std::fabs(y) < kTwoTo63))
        throw EInvalidOp();  // no 64-bit whole number to round to
    store(op, (y - std::nearbyint(y)) * 6.283185307179586L);
}

void Rnd(OperationRecord& op)
{
    const std::int64_t range = truncate64(arg1(op));
    randomSeed = randomSeed * 134775813u + 1u;
    const Extended r = static_cast<Extended>(randomSeed) / kTwoTo32;
    store(op, r * static_cast<Extended>(range));
}

void Max(OperationRecord& op)
{
    const Extended a = arg1(op);
    const Extended b = arg2(op);
    store(op, a >= b ? a : b);
}

void Min(OperationRecord& op)
{
    const Extended a = arg1(op);
    const Extended b = arg2(op);
    store(op, a >= b ? b : a);
}

}  // namespace functions
}  // namespace parser
