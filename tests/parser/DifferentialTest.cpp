// Random expressions against an evaluator written here, and random junk that must be refused cleanly.
//
// The reference reads the grammar the operator tables amount to, as ordinary recursive descent:
//     sum        := difference ["+" sum]                      (sums group to the right)
//     difference := product {"-" product}                     (differences to the left)
//     product    := quotient ["*" product]                    (products to the right)
//     quotient   := factor {("/" | "DIV" | "MOD") factor}     (quotients to the left)
//     factor     := ["-"] power                               (a negation only first in a bracket or argument)
//     power      := primary ["^" primary]
//     primary    := number | variable | "(" sum ")" | name "(" sum ")" | name "(" sum "," sum ")"
// The generator writes texts of that grammar with few enough operations to stay inside the nesting limits, and
// never a negation or negative number directly before "^" (where the compiler reads "-2^2" as -(2^2)).

#include "parser/Parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace parser;

constexpr int kExpressions = 3000;
constexpr int kJunkTexts = 3000;

const char* const kVariables = "ABCDEXYT";
const char* const kFunctions1[] = {"SIN", "COS", "TAN", "ARCTAN", "ABS", "SQRT", "LN", "EXP",
                                   "SIGN", "HEAV", "ZERO", "PH", "SINH", "COSH"};
const char* const kFunctions2[] = {"MAX", "MIN"};

// ---- the generator -------------------------------------------------------------------------------------------

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    std::string expression()
    {
        budget_ = 14;  // operations: with brackets and calls nesting no deeper than this, far below 20
        std::string text = sum(true);
        if (chance(10))
            text = " " + text + "  ";
        if (chance(10))
            for (char& c : text)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return below(100) < percent; }

private:
    bool spend()
    {
        if (budget_ <= 0)
            return false;
        --budget_;
        return true;
    }

    std::string sum(bool first)
    {
        std::string text = difference(first);
        if (chance(30) && spend())
            text += "+" + sum(false);
        return text;
    }
    std::string difference(bool first)
    {
        std::string text = product(first);
        while (chance(25) && spend())
            text += "-" + product(false);
        return text;
    }
    std::string product(bool first)
    {
        std::string text = quotient(first);
        if (chance(25) && spend())
            text += "*" + product(false);
        return text;
    }
    std::string quotient(bool first)
    {
        std::string text = factor(first);
        static const char* const ops[] = {"/", "DIV", "MOD"};
        while (chance(15) && spend())
            text += ops[below(3)] + factor(false);
        return text;
    }
    std::string factor(bool first)
    {
        if (first && chance(15) && spend()) {
            // Negation: of a power whose base is no number, of a bracket, a variable or a call.
            return "-" + power(false);
        }
        return power(true);
    }
    std::string power(bool numberBase)
    {
        std::string base = primary(numberBase);
        if (chance(12) && spend()) {
            if (!numberBase && isNumberText(base))
                base = "(" + base + ")";
            if (base[0] == '-')
                base = "(" + base + ")";
            return base + "^" + exponent();
        }
        return base;
    }
    std::string exponent()
    {
        switch (below(4)) {
        case 0: return std::to_string(below(7) - 2);       // whole: integer power and the codes 11 to 13
        case 1: return "0." + std::to_string(below(9) + 1);  // real power
        case 2: return std::string(1, kVariables[below(8)]);
        default: return "(" + sum(true) + ")";
        }
    }
    std::string primary(bool mayBeNumber)
    {
        const int kind = below(10);
        if (kind < 4 && mayBeNumber)
            return number(chance(15));
        if (kind < 6)
            return std::string(1, kVariables[below(8)]);
        if (kind < 8 && spend())
            return "(" + sum(true) + ")";
        if (kind == 8 && spend())
            return std::string(kFunctions1[below(14)]) + "(" + sum(true) + ")";
        if (kind == 9 && spend())
            return std::string(kFunctions2[below(2)]) + "(" + sum(true) + "," + sum(true) + ")";
        return mayBeNumber ? number(false) : std::string(1, kVariables[below(8)]);
    }
    std::string number(bool negative)
    {
        std::string text = negative ? "-" : "";
        text += std::to_string(below(100));
        if (chance(50))
            text += "." + std::to_string(below(100));
        if (chance(8))
            text += "E" + std::to_string(below(5) - 2);
        if (text == "-0")
            text = "0";
        return text;
    }
    static bool isNumberText(const std::string& t)
    {
        return !t.empty() && (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-');
    }

    std::mt19937 random_;
    int budget_ = 0;
};

// ---- the reference -------------------------------------------------------------------------------------------

struct ReferenceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Reference {
public:
    Reference(std::string text, const double* variables) : variables_(variables)
    {
        for (char c : text)
            if (c != ' ')
                text_ += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }

    // The value, and the largest magnitude met on the way (the scale of rounding differences).
    double evaluate(double& largest)
    {
        const double v = sum(true);
        if (pos_ != text_.size())
            throw std::logic_error("reference could not read " + text_ + " at " + std::to_string(pos_));
        largest = largest_;
        return v;
    }

private:
    double result(long double v)
    {
        const double d = static_cast<double>(v);
        if (!std::isfinite(d))
            throw ReferenceError("not finite");
        largest_ = std::max(largest_, std::fabs(d));
        return d;
    }
    bool take(const char* token)
    {
        const std::size_t n = std::char_traits<char>::length(token);
        if (text_.compare(pos_, n, token) == 0) {
            pos_ += n;
            return true;
        }
        return false;
    }
    static std::int64_t whole(double x)
    {
        if (!(std::fabs(x) < 9.2e18))
            throw ReferenceError("no 64-bit integer");
        return static_cast<std::int64_t>(x);
    }

    double sum(bool first)
    {
        const double left = difference(first);
        if (take("+")) {
            const double right = sum(false);
            return result(static_cast<long double>(left) + right);
        }
        return left;
    }
    double difference(bool first)
    {
        double value = product(first);
        while (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
            value = result(static_cast<long double>(value) - product(false));
        }
        return value;
    }
    double product(bool first)
    {
        const double left = quotient(first);
        if (take("*")) {
            const double right = product(false);
            return result(static_cast<long double>(left) * right);
        }
        return left;
    }
    double quotient(bool first)
    {
        double value = factor(first);
        for (;;) {
            if (take("/")) {
                const double d = factor(false);
                if (d == 0)
                    throw ReferenceError("division by zero");
                value = result(static_cast<long double>(value) / d);
            } else if (take("DIV")) {
                const std::int64_t d = whole(factor(false));
                if (d == 0)
                    throw ReferenceError("DIV by zero");
                value = result(static_cast<long double>(whole(value) / d));
            } else if (take("MOD")) {
                const std::int64_t d = whole(factor(false));
                if (d == 0)
                    throw ReferenceError("MOD by zero");
                value = result(static_cast<long double>(whole(value) % d));
            } else {
                return value;
            }
        }
    }
    double factor(bool first)
    {
        if (first && pos_ + 1 < text_.size() && text_[pos_] == '-' && !std::isdigit(static_cast<unsigned char>(text_[pos_ + 1]))) {
            ++pos_;
            return result(-static_cast<long double>(power()));
        }
        return power();
    }
    double power()
    {
        const double base = primary();
        if (!take("^"))
            return base;
        const double e = primary();
        if (e == 0)
            return 1;
        if (base == 0 && e < 0)
            throw ReferenceError("zero to a negative power");
        const long double p = std::pow(static_cast<long double>(base), static_cast<long double>(e));
        if (std::isnan(p))
            throw ReferenceError("negative base, fractional exponent");
        return result(p);
    }
    double primary()
    {
        const char c = text_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.')
            return number();
        if (take("(")) {
            const double v = sum(true);
            expect(')');
            return v;
        }
        for (const char* f : kFunctions2) {
            if (take(f)) {
                expect('(');
                const double a = sum(true);
                expect(',');
                const double b = sum(true);
                expect(')');
                const bool max = f[1] == 'A';
                return max ? (a >= b ? a : b) : (a >= b ? b : a);
            }
        }
        // Longer names first, so that SINH is not read as SIN.
        static const char* const byLength[] = {"ARCTAN", "SINH", "COSH", "SQRT", "SIGN", "HEAV", "ZERO",
                                               "SIN", "COS", "TAN", "ABS", "EXP", "LN", "PH"};
        for (const char* f : byLength) {
            if (take(f)) {
                expect('(');
                const double x = sum(true);
                expect(')');
                return function(f, x);
            }
        }
        const char* v = std::strchr(kVariables, c);
        if (!v || c == 0)
            throw std::logic_error("reference cannot read " + text_);
        ++pos_;
        return variables_[v - kVariables];
    }
    double number()
    {
        double v = 0;
        const char* begin = text_.data() + pos_;
        const auto [end, ec] = std::from_chars(begin, text_.data() + text_.size(), v);
        if (ec != std::errc())
            throw std::logic_error("reference cannot read a number in " + text_);
        pos_ += static_cast<std::size_t>(end - begin);
        return v;
    }
    void expect(char c)
    {
        if (pos_ >= text_.size() || text_[pos_] != c)
            throw std::logic_error("reference expected " + std::string(1, c) + " in " + text_);
        ++pos_;
    }
    double function(const std::string& f, double x)
    {
        const long double v = x;
        // The hardware's sine and cosine give up at 2^63; the parser then answers 0.
        if ((f == "SIN" || f == "COS") && std::fabs(v) >= 9223372036854775808.0L) return 0;
        if (f == "SIN") return result(std::sin(v));
        if (f == "COS") return result(std::cos(v));
        if (f == "TAN") return result(std::tan(v));
        if (f == "ARCTAN") return result(std::atan(v));
        if (f == "ABS") return result(std::fabs(v));
        if (f == "SIGN") return x < 0 ? -1 : (x > 0 ? 1 : 0);
        if (f == "HEAV") return x >= 0 ? 1 : 0;
        if (f == "ZERO") return x == 0 ? 0 : 1;
        if (f == "EXP") return result(std::exp(v));
        if (f == "SINH") return result((std::exp(v) - std::exp(-v)) * 0.5L);
        if (f == "COSH") return result((std::exp(v) + std::exp(-v)) * 0.5L);
        if (f == "SQRT") {
            if (x < 0)
                throw ReferenceError("square root of a negative number");
            return result(std::sqrt(v));
        }
        if (f == "LN") {
            if (x <= 0)
                throw ReferenceError("logarithm of a number not above zero");
            return result(std::log(v));
        }
        if (f == "PH") {
            const long double y = v / 0.6366197723675814L;
            if (!(std::fabs(y) < 9223372036854775808.0L))
                throw ReferenceError("no 64-bit integer to round to");
            return result((y - std::nearbyint(y)) * 6.283185307179586L);
        }
        throw std::logic_error("reference lacks " + f);
    }

    std::string text_;
    std::size_t pos_ = 0;
    const double* variables_;
    double largest_ = 1;
};

void setVariables(TParser& p, const double* v)
{
    p.setA(v[0]);
    p.setB(v[1]);
    p.setC(v[2]);
    p.setD(v[3]);
    p.setE(v[4]);
    p.setX(v[5]);
    p.setY(v[6]);
    p.setT(v[7]);
}

TEST(ParserDifferential, RandomExpressionsAgreeWithTheReference)
{
    Generator g(20240611);
    TParser p;
    int compared = 0, bothFailed = 0;
    for (int i = 0; i < kExpressions; ++i) {
        const std::string text = g.expression();
        double variables[8];
        std::string values;
        for (int k = 0; k < 8; ++k) {
            variables[k] = (g.below(2001) - 1000) / 100.0;
            values += std::string(k ? ", " : " with ") + kVariables[k] + "=" + std::to_string(variables[k]);
        }
        setVariables(p, variables);

        try {
            p.setExpression(text);
        } catch (const EMathParserError& e) {
            ADD_FAILURE() << "refused: " << text << "\n" << e.what();
            continue;
        }
        double largest = 1, expected = 0;
        bool referenceFailed = false;
        std::string why;
        try {
            expected = Reference(text, variables).evaluate(largest);
        } catch (const ReferenceError& e) {
            referenceFailed = true;
            why = e.what();
        }
        try {
            const double got = p.Value();
            if (referenceFailed) {
                ADD_FAILURE() << text << values << ": the reference found " << why << ", the parser " << got;
                continue;
            }
            // Relative to the largest intermediate value: a difference of nearly equal values may lose digits.
            EXPECT_LE(std::fabs(got - expected), 1e-12 * std::max({largest, std::fabs(expected), 1.0}))
                << text << values << " gave " << got << ", the reference " << expected;
            ++compared;
        } catch (const EMathError& e) {
            EXPECT_TRUE(referenceFailed) << text << values << ": " << e.what() << ", the reference gave " << expected;
            ++bothFailed;
        }
    }
    // The generator must mostly produce computable expressions, or the comparison says little.
    EXPECT_GT(compared, kExpressions * 7 / 10);
}

// The compiler reads these texts with its search shortcuts (names of letters only) and without them (a name
// with an underscore turns them off): acceptance, messages, compiled codes and values must be the same.
class UnshortenedParser : public TCustomParser {
public:
    UnshortenedParser()
    {
        for (int i = 0; i < 8; ++i)
            RegisterVariable(std::string(1, kVariables[i]), &cells_[i]);
        RegisterVariable("NO_SHORTCUTS", &cells_[8]);
        RegisterFunction1("SIN", nullptr);
        RegisterFunction1("SQRT", nullptr);
        RegisterFunction1("ABS", nullptr);
        RegisterFunction2("MAX", nullptr);
    }
    void set(const double* v)
    {
        for (int i = 0; i < 8; ++i)
            cells_[i] = v[i];
    }

private:
    double cells_[9] = {};
};

class ShortenedParser : public TCustomParser {
public:
    ShortenedParser()
    {
        for (int i = 0; i < 8; ++i)
            RegisterVariable(std::string(1, kVariables[i]), &cells_[i]);
        RegisterFunction1("SIN", nullptr);
        RegisterFunction1("SQRT", nullptr);
        RegisterFunction1("ABS", nullptr);
        RegisterFunction2("MAX", nullptr);
    }

private:
    double cells_[8] = {};
};

std::string outcome(TCustomParser& p, const std::string& text)
{
    try {
        p.setExpression(text);
    } catch (const EMathParserError& e) {
        return std::string("refused: ") + e.what();
    }
    std::string codes = "codes:";
    for (const OperationRecord* op = p.FirstOperation(); op; op = op->Next) {
        codes += " " + std::to_string(op->Code);
        if (op->Arg1)
            codes += "/" + std::to_string(*op->Arg1);
        if (op->Arg2)
            codes += "/" + std::to_string(*op->Arg2);
    }
    return codes;
}

std::string junk(Generator& g)
{
    static const char* const pieces[] = {"1", "2", "0.5", ".", "E", "A", "B", "X", "PI", "+", "-", "-", "*", "/",
                                         "^", "(", ")", "(", ")", ",", "DIV", "MOD", "SIN(", "MAX(", "SQRT",
                                         "ABS(", "E-", "3E+2", " ", "Q"};
    std::string text;
    const int length = g.below(14);
    for (int i = 0; i < length; ++i)
        text += pieces[g.below(static_cast<int>(std::size(pieces)))];
    return text;
}

TEST(ParserDifferential, SearchShortcutsChangeNothing)
{
    Generator g(77);
    ShortenedParser shortened;
    UnshortenedParser unshortened;
    for (int i = 0; i < kJunkTexts; ++i) {
        const std::string text = g.chance(50) ? junk(g) : g.expression();
        if (text.size() > 60)
            continue;  // the unshortened search is slow on long texts
        EXPECT_EQ(outcome(shortened, text), outcome(unshortened, text)) << text;
    }
}

TEST(ParserDifferential, JunkIsRefusedWithAParserErrorOrComputed)
{
    Generator g(4711);
    TParser p;
    int refused = 0;
    for (int i = 0; i < kJunkTexts; ++i) {
        const std::string text = junk(g);
        try {
            p.setExpression(text);
        } catch (const EMathParserError&) {
            ++refused;
            EXPECT_EQ(p.FirstOperation(), nullptr) << text;
            continue;
        } catch (const std::exception& e) {
            ADD_FAILURE() << text << ": " << e.what();
            continue;
        }
        try {
            EXPECT_TRUE(std::isfinite(p.Value())) << text;
        } catch (const EMathError&) {
        }
    }
    EXPECT_GT(refused, kJunkTexts / 2);
}

TEST(ParserDifferential, BrokenExpressionsRaiseTheirOwnErrors)
{
    Generator g(99);
    TParser p;
    for (int i = 0; i < kExpressions; ++i) {
        std::string text;
        do
            text = g.expression();
        while (text.find(' ') != std::string::npos);
        struct Mutation {
            const char* name;
            std::string text;
            const std::type_info& raised;
        };
        const std::size_t at = 1 + static_cast<std::size_t>(g.below(static_cast<int>(text.size())));
        std::string blank = text, bracket = text, foreign = text;
        if (at < text.size())
            blank.insert(at, " ");
        else
            blank = text + " " + text;
        bracket.insert(static_cast<std::size_t>(g.below(static_cast<int>(text.size()) + 1)), g.chance(50) ? "(" : ")");
        foreign.insert(static_cast<std::size_t>(g.below(static_cast<int>(text.size()) + 1)), "J");
        static const char* const trailing[] = {"+", "-", "*", "/", "^", ",", "DIV", "MOD"};
        static const char* const leading[] = {"*", "/", "^", ",", ")("};
        const Mutation mutations[] = {
            {"blank inside", blank, typeid(EExpressionHasBlanks)},
            {"one bracket more", bracket, typeid(EMissMatchingBracket)},
            {"foreign letter", foreign, typeid(ESyntaxError)},
            {"trailing operator", text + trailing[g.below(8)], typeid(ESyntaxError)},
            {"leading operator", leading[g.below(5)] + text, typeid(ESyntaxError)},
            {"juxtaposed", "(" + text + ")(" + text + ")", typeid(ESyntaxError)},
        };
        for (const auto& m : mutations) {
            try {
                p.setExpression(m.text);
                ADD_FAILURE() << m.name << " compiled: " << m.text;
            } catch (const EMathParserError& e) {
                EXPECT_EQ(typeid(e), m.raised) << m.name << ": " << m.text << "\n" << e.what();
            }
        }
    }
}

}  // namespace
