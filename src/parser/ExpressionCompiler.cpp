// The expression compiler.
//
// The grammar is defined by term checks, not by a precedence table: a term is tried against the kinds in a fixed
// order, and an operator kind splits the term at the first occurrence of its operator whose two sides are of the
// kinds that operator allows (see the tables of allowed operand kinds below). Those checks re-check the operands
// recursively, which by itself costs exponential time on longer texts. Here every check works on a span of the
// one prepared text (no copies), and within one compilation the answer of each check for each span is remembered,
// together with how far CheckTerm strips enclosing brackets, so that a span is searched at most once per kind.
// Tables of the next occurrence of every operator, and of what each kind cannot hold at its own bracket depth
// (see indexDepths), let most checks fail without a search and let a search start at the first occurrence that
// can succeed. Accepting and refusing stay exactly as the checks define them; long chains of operators compile in
// time about linear in their length instead of cubic.
//
// After the checks have accepted the whole text, a depth-first walk over the terms builds the slot table (row L+1
// receives the operations found in terms of level L) and links its rows, deepest first, into the operation list.

#include "parser/ExpressionCompiler.h"

#include "parser/ParserErrors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace parser {
namespace {

constexpr int kMaxLevel = 20;   // rows 0..20 of the slot table
constexpr int kMaxSlots = 50;   // slots 1..50 per row

// Checks of a term nest into checks of its operands. An expression that compiles nests its operations at most 20
// deep, so its checks stay far below this depth; a text that goes deeper (thousands of operators or brackets)
// is refused as too complex before it can exhaust the stack.
constexpr int kMaxCheckDepth = 2000;
// The same kind of bound for the number of spans whose checks are remembered during one compilation.
constexpr std::size_t kMaxRememberedSpans = std::size_t{1} << 19;

constexpr double kPi = 3.141592653589793;

struct Span {
    int b = 0;  // first character
    int e = 0;  // one past the last character
    int length() const { return e - b; }
};

// The characters and words the operator checks look for.
enum Marker { mPlus, mMinus, mStar, mSlash, mCaret, mOpen, mComma, mDiv, mMod, mMarkerCount };

// The checks whose answers are remembered per span.
enum Check {
    cNegation,
    cAddition,
    cSubtraction,
    cMultiplication,
    cIntDivision,
    cModulo,
    cDivision,
    cPower,
    cFunction1,
    cFunction2,
    cTerm,
};

// Operand kinds, for the tables of what each operator accepts on either side.
enum Kind : unsigned {
    kVariable = 1u << 0,
    kNumber = 1u << 1,
    kBracketed = 1u << 2,
    kNegation = 1u << 3,
    kAddition = 1u << 4,
    kSubtraction = 1u << 5,
    kMultiplication = 1u << 6,
    kIntDivision = 1u << 7,
    kModulo = 1u << 8,
    kDivision = 1u << 9,
    kPower = 1u << 10,
    kFunction = 1u << 11,
};

struct BinaryOperator {
    Marker marker;
    int length;
    // A "-" in the first position is a sign, so the search for a split goes on past it; any other operator in
    // the first position means the term is not of this kind.
    bool leadingPassedOver;
    unsigned left;
    unsigned right;
};

constexpr unsigned kLeaves = kVariable | kNumber | kBracketed;
constexpr unsigned kFactors = kIntDivision | kModulo | kDivision | kPower | kFunction;

// These tables give the operators their precedence and grouping: "+" and "*" accept their own kind on the right
// only (they group to the right), "-", "/", DIV and MOD on the left only (they group to the left), and a negation
// is accepted on the left side only.
constexpr BinaryOperator kAdd{mPlus, 1, false, kLeaves | kNegation | kSubtraction | kMultiplication | kFactors,
                              kLeaves | kAddition | kSubtraction | kMultiplication | kFactors};
constexpr BinaryOperator kSub{mMinus, 1, true, kLeaves | kNegation | kSubtraction | kMultiplication | kFactors,
                              kLeaves | kMultiplication | kFactors};
constexpr BinaryOperator kMul{mStar, 1, false, kLeaves | kNegation | kFactors, kLeaves | kMultiplication | kFactors};
constexpr BinaryOperator kIntDiv{mDiv, 3, false, kLeaves | kNegation | kFactors, kLeaves | kPower | kFunction};
constexpr BinaryOperator kMod{mMod, 3, false, kLeaves | kNegation | kFactors, kLeaves | kPower | kFunction};
constexpr BinaryOperator kDiv{mSlash, 1, false, kLeaves | kNegation | kFactors, kLeaves | kPower | kFunction};
constexpr BinaryOperator kPow{mCaret, 1, false, kLeaves | kFunction, kLeaves | kFunction};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What one check found on one span.
struct MemoEntry {
    std::uint32_t b = 0;
    std::uint32_t e = 0;
    std::uint32_t generation = 0;  // entries of an older compilation count as empty
    std::uint16_t known = 0;       // bit per Check: answered
    std::uint16_t valid = 0;       // bit per Check: the answer was yes
    std::int32_t strip = 0;        // for cTerm: enclosing bracket pairs that CheckTerm removes
};

// Buffers kept from one compilation to the next, so that compiling a short formula allocates nothing but the
// operation list itself.
struct Workspace {
    std::vector<MemoEntry> memo = std::vector<MemoEntry>(256);
    std::uint32_t generation = 0;
    std::size_t used = 0;
    std::array<std::vector<int>, mMarkerCount> next;  // next[m][i]: first position >= i of marker m, or n
    std::vector<int> opens;                            // opens[i]: "(" in the first i characters
    std::vector<int> closes;
    std::vector<unsigned> marks;                       // see Compiler::indexDepths
    std::array<std::vector<int>, 5> nextAtDepth;
    std::array<std::vector<int>, 2> previousMark;
    std::vector<int> seenAtDepth;
    std::array<std::array<OperationRecord*, kMaxSlots + 1>, kMaxLevel + 1> slots{};
    std::array<int, kMaxLevel + 1> counters{};
    std::vector<double*> constants;  // constant cells made so far, released if the compilation fails
    std::string text;
};

Workspace& workspace()
{
    thread_local Workspace ws;
    return ws;
}

// One term of the walk (term records exist only while a text compiles).
struct TermRecord {
    Span term;
    Span left;
    Span right;
    std::uint8_t code = 0;
    int level = 0;
    int slot = 0;
    int side = 0;
};

// The operand texts that the checks of one term leave behind, for the message of a syntax error. A split writes
// both sides; a side that passed as a bracketed term is then replaced by its inside.
struct OperandTrace {
    std::string left = " ";
    std::string right = " ";
    bool touched() const { return left != " " || right != " "; }
};

class Compiler {
public:
    Compiler(Workspace& ws, const VariableList& variables, const FunctionList& functionOne,
             const FunctionList& functionTwo, bool pascalNumberformat, char decimalSeparator)
        : ws_(ws),
          variables_(variables),
          functionOne_(functionOne),
          functionTwo_(functionTwo),
          decimalSeparator_(pascalNumberformat ? '.' : decimalSeparator),
          plainNames_(variables.AllNamesPlain() && functionOne.AllNamesPlain() && functionTwo.AllNamesPlain() &&
                      (decimalSeparator_ == '.' || decimalSeparator_ == ','))
    {
    }

    OperationRecord* compile(const std::string& expression);

private:
    char at(int i) const { return s_[i]; }
    std::string_view view(Span s) const { return {s_ + s.b, static_cast<std::size_t>(s.length())}; }
    std::string text(Span s) const { return std::string(view(s)); }

    void prepare(const std::string& expression);
    void index();
    void indexDepths();
    int nextAtDepth(int group, int p) const { return ws_.nextAtDepth[group][p]; }
    // The last position q < p holding a mark of gProduct (which = 0) or gPower (1) at the bracket depth of p.
    int previousMark(int which, int p) const { return ws_.previousMark[which][p]; }
    bool balanced(Span s) const
    {
        return ws_.opens[s.e] - ws_.opens[s.b] == ws_.closes[s.e] - ws_.closes[s.b];
    }

    MemoEntry& entry(Span s);
    void growMemo();
    bool valid(Check check, Span s, int* strip = nullptr);
    bool plainlyNot(Check check, Span s) const;
    bool compute(Check check, Span s, int& strip);

    double* variable(Span s) const;
    bool number(Span s, double* value = nullptr) const;
    bool checkTerm(Span s, Span* stripped);
    bool stripBrackets(Span s, Span* inner);
    bool negation(Span s, Span* operand);
    int split(const BinaryOperator& op, Span s, Span* left, Span* right, OperandTrace* trace);
    bool operand(unsigned kinds, Span s, Span* out);
    bool function1(Span s, Span* argument, TOperationProc* procedure);
    bool function2(Span s, Span* first, Span* second, TOperationProc* procedure, OperandTrace* trace);
    bool splitArguments(Span s, Span* first, Span* second, OperandTrace* trace);
    std::uint8_t powerCode(Span exponent) const;

    bool classify(TermRecord& t, double*& cell, double& value, TOperationProc& procedure);
    std::string syntaxMessage(Span s);
    void walk(TermRecord& t);
    OperationRecord* link();
    void releaseBuilt();

    Workspace& ws_;
    const VariableList& variables_;
    const FunctionList& functionOne_;
    const FunctionList& functionTwo_;
    char decimalSeparator_;
    bool plainNames_;  // the depth rules below hold (see indexDepths)
    const char* s_ = nullptr;
    int n_ = 0;
    int depth_ = 0;
};

// ---- the text ------------------------------------------------------------------------------------------------

void Compiler::prepare(const std::string& expression)
{
    std::string& t = ws_.text;
    t.assign(expression);
    for (char& c : t)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const auto first = t.find_first_not_of(' ');
    if (first == std::string::npos) {
        t.clear();
    } else {
        t.erase(t.find_last_not_of(' ') + 1);
        t.erase(0, first);
    }
    if (t.find(' ') != std::string::npos)
        throw EExpressionHasBlanks();
    std::size_t opens = 0, closes = 0;
    for (char c : t) {
        opens += c == '(';
        closes += c == ')';
    }
    if (opens != closes)
        throw EMissMatchingBracket();
    s_ = t.data();
    n_ = static_cast<int>(t.size());
}

void Compiler::index()
{
    const int n = n_;
    for (auto& v : ws_.next)
        v.resize(static_cast<std::size_t>(n) + 1);
    ws_.opens.resize(static_cast<std::size_t>(n) + 1);
    ws_.closes.resize(static_cast<std::size_t>(n) + 1);
    for (int m = 0; m < mMarkerCount; ++m)
        ws_.next[m][n] = n;
    for (int i = n - 1; i >= 0; --i) {
        for (int m = 0; m < mMarkerCount; ++m)
            ws_.next[m][i] = ws_.next[m][i + 1];
        switch (s_[i]) {
        case '+': ws_.next[mPlus][i] = i; break;
        case '-': ws_.next[mMinus][i] = i; break;
        case '*': ws_.next[mStar][i] = i; break;
        case '/': ws_.next[mSlash][i] = i; break;
        case '^': ws_.next[mCaret][i] = i; break;
        case '(': ws_.next[mOpen][i] = i; break;
        case ',': ws_.next[mComma][i] = i; break;
        case 'D':
            if (i + 3 <= n && std::memcmp(s_ + i, "DIV", 3) == 0)
                ws_.next[mDiv][i] = i;
            break;
        case 'M':
            if (i + 3 <= n && std::memcmp(s_ + i, "MOD", 3) == 0)
                ws_.next[mMod][i] = i;
            break;
        default: break;
        }
    }
    ws_.opens[0] = ws_.closes[0] = 0;
    for (int i = 0; i < n; ++i) {
        ws_.opens[i + 1] = ws_.opens[i] + (s_[i] == '(');
        ws_.closes[i + 1] = ws_.closes[i] + (s_[i] == ')');
    }
}

// What a kind of term cannot hold at its own bracket depth, which lets most checks fail without a search.
//
// A term of any kind but addition and subtraction holds a "+" or "-" at its own depth only as a sign: first in
// the term, or after "*", "/", "^", the words DIV and MOD, an exponent's "E", or another sign (as in "--5^2", the
// negation of a power of -5). Any other "+" or "-" there breaks such a term. No valid term holds a comma at its own
// depth. Quotients (DIV, MOD, /) and what they accept hold no "*" either; a power holds none of "*", "/", DIV, MOD
// and one "^" only; a function call holds no operator at all outside its brackets. (These hold by induction over
// the operand tables. They need names of letters and digits without DIV or MOD in them, which is checked.)
enum DepthGroup {
    gProduct,   // breaks a product
    gQuotient,  // breaks a quotient
    gPower,     // breaks a power (besides a second "^")
    gCall,      // breaks a function call
    gCaret,     // "^"
};

void Compiler::indexDepths()
{
    const int n = n_;
    enum : unsigned { bBreak = 1, bComma = 2, bStar = 4, bSlash = 8, bWord = 16, bCaret = 32, bSign = 64 };
    static constexpr unsigned groups[5] = {
        bBreak | bComma,
        bBreak | bComma | bStar,
        bBreak | bComma | bStar | bSlash | bWord,
        bBreak | bComma | bStar | bSlash | bWord | bCaret | bSign,
        bCaret,
    };
    auto& marks = ws_.marks;
    marks.assign(static_cast<std::size_t>(n), 0u);
    for (int p = 0; p < n; ++p) {
        switch (s_[p]) {
        case '+':
        case '-':
            marks[p] = bSign;
            if (p > 0 && std::strchr("*/^VDE+-", s_[p - 1]) == nullptr)
                marks[p] |= bBreak;
            break;
        case ',':
            // Under a decimal comma a comma may belong to a number.
            marks[p] = decimalSeparator_ == ',' ? 0u : unsigned{bComma};
            break;
        case '*': marks[p] = bStar; break;
        case '/': marks[p] = bSlash; break;
        case '^': marks[p] = bCaret; break;
        default:
            if (ws_.next[mDiv][p] == p || ws_.next[mMod][p] == p)
                marks[p] = bWord;
            break;
        }
    }
    auto depth = [&](int p) { return static_cast<std::size_t>(ws_.opens[p] - ws_.closes[p] + n); };
    const std::size_t depths = static_cast<std::size_t>(2 * n + 1);

    // nextAtDepth[g][p]: the first position q > p holding a mark of group g at the bracket depth of p, or n.
    // Spans with mismatched brackets may get a wrong answer; they are never valid terms anyway.
    auto& seen = ws_.seenAtDepth;
    seen.assign(5 * depths, n);
    for (auto& v : ws_.nextAtDepth)
        v.resize(static_cast<std::size_t>(n) + 1);
    for (int g = 0; g < 5; ++g)
        ws_.nextAtDepth[g][n] = n;
    for (int p = n - 1; p >= 0; --p) {
        const std::size_t d = depth(p);
        for (int g = 0; g < 5; ++g) {
            int& last = seen[static_cast<std::size_t>(g) * depths + d];
            ws_.nextAtDepth[g][p] = last;
            if (marks[p] & groups[g])
                last = p;
        }
    }
    // previousMark[w][p]: the last position q < p holding a mark of gProduct (w = 0) or gPower (w = 1) at the
    // bracket depth of p, or -1.
    for (int w = 0; w < 2; ++w) {
        const unsigned group = groups[w == 0 ? gProduct : gPower];
        seen.assign(depths, -1);
        ws_.previousMark[w].resize(static_cast<std::size_t>(n) + 1);
        for (int p = 0; p <= n; ++p) {
            int& last = seen[depth(p)];
            ws_.previousMark[w][p] = last;
            if (p < n && (marks[p] & group))
                last = p;
        }
    }
}

// ---- remembered answers --------------------------------------------------------------------------------------

MemoEntry& Compiler::entry(Span s)
{
    for (;;) {
        const std::size_t mask = ws_.memo.size() - 1;
        const std::uint64_t key = (static_cast<std::uint64_t>(s.b) << 32) | static_cast<std::uint32_t>(s.e);
        std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        for (;;) {
            MemoEntry& m = ws_.memo[i];
            if (m.generation != ws_.generation) {
                if (2 * (ws_.used + 1) > ws_.memo.size())
                    break;  // grow, then look again
                m = MemoEntry{static_cast<std::uint32_t>(s.b), static_cast<std::uint32_t>(s.e), ws_.generation};
                ++ws_.used;
                return m;
            }
            if (m.b == static_cast<std::uint32_t>(s.b) && m.e == static_cast<std::uint32_t>(s.e))
                return m;
            i = (i + 1) & mask;
        }
        growMemo();
    }
}

void Compiler::growMemo()
{
    if (ws_.used >= kMaxRememberedSpans)
        throw EExpressionTooComplex();
    std::vector<MemoEntry> old(ws_.memo.size() * 2);
    old.swap(ws_.memo);
    const std::size_t mask = ws_.memo.size() - 1;
    for (const MemoEntry& m : old) {
        if (m.generation != ws_.generation)
            continue;
        const std::uint64_t key = (static_cast<std::uint64_t>(m.b) << 32) | m.e;
        std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (ws_.memo[i].generation == ws_.generation)
            i = (i + 1) & mask;
        ws_.memo[i] = m;
    }
}

// The answers that need no search: the term lacks the operator, bracket or sign the kind is built around. Most
// checks end here, and they are not worth remembering.
bool Compiler::plainlyNot(Check check, Span s) const
{
    switch (check) {
    case cNegation: return s.length() < 2 || at(s.b) != '-';
    case cAddition: return ws_.next[mPlus][s.b] >= s.e;
    case cSubtraction: return ws_.next[mMinus][s.b] >= s.e;
    case cMultiplication:
        return ws_.next[mStar][s.b] >= s.e || (plainNames_ && nextAtDepth(gProduct, s.b) < s.e);
    case cIntDivision:
        return ws_.next[mDiv][s.b] + 3 > s.e || (plainNames_ && nextAtDepth(gQuotient, s.b) < s.e);
    case cModulo: return ws_.next[mMod][s.b] + 3 > s.e || (plainNames_ && nextAtDepth(gQuotient, s.b) < s.e);
    case cDivision: return ws_.next[mSlash][s.b] >= s.e || (plainNames_ && nextAtDepth(gQuotient, s.b) < s.e);
    case cPower: {
        if (ws_.next[mCaret][s.b] >= s.e)
            return true;
        if (!plainNames_)
            return false;
        if (nextAtDepth(gPower, s.b) < s.e)
            return true;
        const int first = at(s.b) == '^' ? s.b : nextAtDepth(gCaret, s.b);
        return first < s.e && nextAtDepth(gCaret, first) < s.e;
    }
    case cFunction1:
        return ws_.next[mOpen][s.b] >= s.e || (plainNames_ && nextAtDepth(gCall, s.b) < s.e);
    case cFunction2:
        return ws_.next[mOpen][s.b] >= s.e || at(s.e - 1) != ')' ||
               (plainNames_ && nextAtDepth(gCall, s.b) < s.e);
    case cTerm: return s.length() == 0;
    }
    return false;
}

bool Compiler::valid(Check check, Span s, int* strip)
{
    if (plainlyNot(check, s))
        return false;
    const auto bit = static_cast<std::uint16_t>(1u << check);
    {
        const MemoEntry& m = entry(s);
        if (m.known & bit) {
            if (strip)
                *strip = m.strip;
            return (m.valid & bit) != 0;
        }
    }
    if (++depth_ > kMaxCheckDepth)
        throw EExpressionTooComplex();
    int found = 0;
    const bool result = compute(check, s, found);
    --depth_;
    // The table may have grown meanwhile: look the entry up again.
    MemoEntry& m = entry(s);
    m.known |= bit;
    if (result)
        m.valid |= bit;
    if (check == cTerm)
        m.strip = found;
    if (strip)
        *strip = found;
    return result;
}

bool Compiler::compute(Check check, Span s, int& strip)
{
    Span a, b;
    TOperationProc procedure = nullptr;
    switch (check) {
    case cNegation: return negation(s, &a);
    case cAddition: return split(kAdd, s, &a, &b, nullptr) >= 0;
    case cSubtraction: return split(kSub, s, &a, &b, nullptr) >= 0;
    case cMultiplication: return split(kMul, s, &a, &b, nullptr) >= 0;
    case cIntDivision: return split(kIntDiv, s, &a, &b, nullptr) >= 0;
    case cModulo: return split(kMod, s, &a, &b, nullptr) >= 0;
    case cDivision: return split(kDiv, s, &a, &b, nullptr) >= 0;
    case cPower: return split(kPow, s, &a, &b, nullptr) >= 0;
    case cFunction1: return function1(s, &a, &procedure);
    case cFunction2: return function2(s, &a, &b, &procedure, nullptr);
    case cTerm:
        // CheckTerm: the kinds in this order, a bracketed term last.
        if (s.length() == 0)
            return false;
        if (number(s) || variable(s))
            return true;
        for (Check c : {cNegation, cAddition, cSubtraction, cMultiplication, cIntDivision, cModulo, cDivision,
                        cPower, cFunction2, cFunction1})
            if (valid(c, s))
                return true;
        if (stripBrackets(s, &a)) {
            strip = a.b - s.b;
            return true;
        }
        return false;
    }
    return false;
}

// ---- term kinds ----------------------------------------------------------------------------------------------

double* Compiler::variable(Span s) const
{
    if (s.length() == 0)
        return nullptr;
    double* const* cell = variables_.Find(view(s));
    return cell ? *cell : nullptr;
}

// "PI", "-PI", or an optionally signed decimal number with optional fraction and exponent, using the decimal
// separator of this compilation. A number too large for a double is no number (it would only ever compute an
// overflow); one too small becomes zero.
bool Compiler::number(Span s, double* value) const
{
    const std::string_view t = view(s);
    if (t == "PI" || t == "-PI") {
        if (value)
            *value = t[0] == '-' ? -kPi : kPi;
        return true;
    }
    std::size_t i = 0;
    const std::size_t n = t.size();
    bool negative = false;
    if (i < n && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    std::size_t separator = std::string_view::npos;
    while (i < n && isDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < n && t[i] == decimalSeparator_) {
        separator = i++;
        while (i < n && isDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    const std::size_t mantissaEnd = i;
    if (i < n && t[i] == 'E') {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-'))
            ++i;
        const std::size_t exponentDigits = i;
        while (i < n && isDigit(t[i]))
            ++i;
        if (i == exponentDigits)
            return false;
    }
    if (i != n)
        return false;
    if (!value)
        return true;

    std::string buffer(t.substr(mantissa));
    if (separator != std::string_view::npos)
        buffer[separator - mantissa] = '.';
    double v = 0;
    const auto [end, ec] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell which by the decimal exponent of the first non-zero digit.
        long long exponent = 0;
        std::size_t j = mantissa;
        long long position = 0;  // digits before the decimal point, minus leading zeros
        bool seenNonZero = false;
        long long leadingFractionZeros = 0;
        for (; j < mantissaEnd; ++j) {
            if (j == separator)
                continue;
            const bool inFraction = separator != std::string_view::npos && j > separator;
            if (!seenNonZero && t[j] == '0') {
                if (inFraction)
                    ++leadingFractionZeros;
                continue;
            }
            seenNonZero = true;
            if (!inFraction)
                ++position;
        }
        if (mantissaEnd < n) {
            std::size_t k = mantissaEnd + 1;
            bool negativeExponent = false;
            if (t[k] == '+' || t[k] == '-')
                negativeExponent = t[k++] == '-';
            for (; k < n; ++k)
                exponent = std::min<long long>(exponent * 10 + (t[k] - '0'), 1'000'000'000LL);
            if (negativeExponent)
                exponent = -exponent;
        }
        const long long magnitude = (position > 0 ? position - 1 : -(leadingFractionZeros + 1)) + exponent;
        if (magnitude >= 0)
            return false;
        v = 0;
    } else if (ec != std::errc() || end != buffer.data() + buffer.size()) {
        return false;
    }
    *value = negative ? -v : v;
    return true;
}

bool Compiler::checkTerm(Span s, Span* stripped)
{
    int strip = 0;
    if (!valid(cTerm, s, &strip))
        return false;
    *stripped = Span{s.b + strip, s.e - strip};
    return true;
}

// "(" + a valid term + ")": the inside after CheckTerm, so that nested enclosing brackets all go.
bool Compiler::stripBrackets(Span s, Span* inner)
{
    if (s.length() < 2 || at(s.b) != '(' || at(s.e - 1) != ')')
        return false;
    return checkTerm(Span{s.b + 1, s.e - 1}, inner);
}

// "-" before a bracketed term, a variable, a power or a function call. A minus before a plain number belongs to
// the number, and one before a product, sum or quotient is left to the operator checks.
bool Compiler::negation(Span s, Span* operand)
{
    if (s.length() < 1 || at(s.b) != '-')
        return false;
    const Span rest{s.b + 1, s.e};
    if (stripBrackets(rest, operand))
        return true;
    if (variable(rest) || valid(cPower, rest) || valid(cFunction1, rest) || valid(cFunction2, rest)) {
        *operand = rest;
        return true;
    }
    return false;
}

// The position of the first occurrence of the operator that splits the term into operands of the kinds the
// operator accepts, or -1. The operands come back with their enclosing brackets removed.
int Compiler::split(const BinaryOperator& op, Span s, Span* left, Span* right, OperandTrace* trace)
{
    int from = s.b;
    // A right operand that may be no sum or difference holds no mark of gProduct at its own depth, and one that
    // may be no product or quotient either holds no mark of gPower (see indexDepths): every occurrence before
    // the last such mark of the term fails and need not be tried. An occurrence in the first position, which
    // ends the search, is then passed over, but every later split would have to start its left operand with the
    // operator itself, which no valid term does. The search for a message tries every occurrence, since it
    // reports the last split tried.
    if (plainNames_ && !trace && !(op.right & (kAddition | kSubtraction))) {
        const bool noProducts = !(op.right & (kMultiplication | kIntDivision | kModulo | kDivision));
        from = std::max(from, previousMark(noProducts ? 1 : 0, s.e) - op.length + 1);
    }
    for (;;) {
        const int k = ws_.next[op.marker][from];
        if (k + op.length > s.e)
            return -1;
        if (k == s.b) {
            if (!op.leadingPassedOver)
                return -1;
            from = k + 1;
            continue;
        }
        if (k == s.e - 1)
            return -1;
        const Span l{s.b, k};
        const Span r{k + op.length, s.e};
        if (trace) {
            trace->left = text(l);
            trace->right = text(r);
        }
        Span lo, ro;
        if (balanced(l) && balanced(r) && operand(op.left, l, &lo)) {
            if (trace)
                trace->left = text(lo);
            if (operand(op.right, r, &ro)) {
                if (trace)
                    trace->right = text(ro);
                *left = lo;
                *right = ro;
                return k;
            }
        }
        from = k + 1;
    }
}

bool Compiler::operand(unsigned kinds, Span s, Span* out)
{
    *out = s;
    if ((kinds & kVariable) && variable(s))
        return true;
    if ((kinds & kNumber) && number(s))
        return true;
    if ((kinds & kBracketed) && stripBrackets(s, out))
        return true;
    if ((kinds & kNegation) && valid(cNegation, s))
        return true;
    if ((kinds & kAddition) && valid(cAddition, s))
        return true;
    if ((kinds & kSubtraction) && valid(cSubtraction, s))
        return true;
    if ((kinds & kMultiplication) && valid(cMultiplication, s))
        return true;
    if ((kinds & kIntDivision) && valid(cIntDivision, s))
        return true;
    if ((kinds & kModulo) && valid(cModulo, s))
        return true;
    if ((kinds & kDivision) && valid(cDivision, s))
        return true;
    if ((kinds & kPower) && valid(cPower, s))
        return true;
    if ((kinds & kFunction) && (valid(cFunction2, s) || valid(cFunction1, s)))
        return true;
    return false;
}

// NAME + "(" + a valid term + ")" with a name of the one-argument list.
bool Compiler::function1(Span s, Span* argument, TOperationProc* procedure)
{
    const int open = ws_.next[mOpen][s.b];
    if (open >= s.e)
        return false;
    const TOperationProc* found = functionOne_.Find(view(Span{s.b, open}));
    if (!found || !stripBrackets(Span{open, s.e}, argument))
        return false;
    *procedure = *found;
    return true;
}

// NAME + "(" + two valid terms split at a comma + ")" with a name of the two-argument list.
bool Compiler::function2(Span s, Span* first, Span* second, TOperationProc* procedure, OperandTrace* trace)
{
    const int open = ws_.next[mOpen][s.b];
    if (open >= s.e || at(s.e - 1) != ')')
        return false;
    const TOperationProc* found = functionTwo_.Find(view(Span{s.b, open}));
    if (!found || !splitArguments(Span{open + 1, s.e - 1}, first, second, trace))
        return false;
    *procedure = *found;
    return true;
}

// The first comma whose two sides are valid terms.
bool Compiler::splitArguments(Span s, Span* first, Span* second, OperandTrace* trace)
{
    int from = s.b;
    for (;;) {
        const int c = ws_.next[mComma][from];
        if (c >= s.e || c == s.b || c == s.e - 1)
            return false;
        const Span l{s.b, c};
        const Span r{c + 1, s.e};
        if (trace) {
            trace->left = text(l);
            trace->right = text(r);
        }
        Span lo, ro;
        if (balanced(l) && checkTerm(l, &lo)) {
            if (trace)
                trace->left = text(lo);
            if (checkTerm(r, &ro)) {
                if (trace)
                    trace->right = text(ro);
                *first = lo;
                *second = ro;
                return true;
            }
        }
        from = c + 1;
    }
}

// A constant whole exponent that fits 32 bits selects the integer power, and 2, 3 and 4 their own products
// without an exponent operand; anything else is the real power.
std::uint8_t Compiler::powerCode(Span exponent) const
{
    double e = 0;
    if (!number(exponent, &e))
        return opRealPower;
    if (!(e > -2147483649.0 && e < 2147483648.0))
        return opRealPower;
    const auto n = static_cast<std::int32_t>(e);  // truncates towards zero
    if (static_cast<double>(n) != e)
        return opRealPower;
    switch (n) {
    case 2: return opSquare;
    case 3: return opCube;
    case 4: return opFourthPower;
    default: return opIntegerPower;
    }
}

// ---- the walk ------------------------------------------------------------------------------------------------

bool Compiler::classify(TermRecord& t, double*& cell, double& value, TOperationProc& procedure)
{
    const Span s = t.term;
    if ((cell = variable(s))) {
        t.code = opVariable;
        return true;
    }
    if (number(s, &value)) {
        t.code = opNumber;
        return true;
    }
    if (valid(cNegation, s)) {
        negation(s, &t.left);
        t.code = opNegation;
        return true;
    }
    struct Binary {
        Check check;
        const BinaryOperator* op;
        std::uint8_t code;
    };
    static constexpr Binary binaries[] = {
        {cAddition, &kAdd, opAddition},        {cSubtraction, &kSub, opSubtraction},
        {cMultiplication, &kMul, opMultiplication}, {cIntDivision, &kIntDiv, opIntDivision},
        {cModulo, &kMod, opModulo},            {cDivision, &kDiv, opDivision},
        {cPower, &kPow, 0},
    };
    for (const Binary& b : binaries) {
        if (!valid(b.check, s))
            continue;
        const int k = split(*b.op, s, &t.left, &t.right, nullptr);
        t.code = b.op == &kPow ? powerCode(Span{k + 1, s.e}) : b.code;
        return true;
    }
    if (valid(cFunction1, s)) {
        function1(s, &t.left, &procedure);
        t.code = opFunction1;
        return true;
    }
    if (valid(cFunction2, s)) {
        function2(s, &t.left, &t.right, &procedure, nullptr);
        t.code = opFunction2;
        return true;
    }
    return false;
}

// Runs the splitting checks of a term that matched no kind once more, keeping the operand texts that each split
// leaves behind; the last split tried decides the message.
std::string Compiler::syntaxMessage(Span s)
{
    OperandTrace trace;
    Span a, b;
    for (const BinaryOperator* op : {&kAdd, &kSub, &kMul, &kIntDiv, &kMod, &kDiv, &kPow})
        split(*op, s, &a, &b, &trace);
    TOperationProc procedure = nullptr;
    function2(s, &a, &b, &procedure, &trace);
    std::string message = "Error parsing expression:\r";
    if (trace.touched())
        return message + trace.left + "\r" + trace.right;
    return message + text(s);
}

void Compiler::walk(TermRecord& t)
{
    double* cell = nullptr;
    double value = 0;
    TOperationProc procedure = nullptr;
    if (!classify(t, cell, value, procedure)) {
        // Below the root every operand has already passed the checks of its parent.
        if (t.level == 0)
            throw ESyntaxError(syntaxMessage(t.term));
        throw EParserInternalError();
    }
    OperationRecord* owner = ws_.slots[t.level][t.slot];
    double*& into = t.side == 1 ? owner->Arg1 : owner->Arg2;
    if (t.code == opVariable) {
        into = cell;
        return;
    }
    if (t.code == opNumber) {
        double* constant = new double(value);
        ws_.constants.push_back(constant);  // capacity reserved: cannot throw
        into = constant;
        return;
    }

    const int level = t.level + 1;
    if (level > kMaxLevel)
        throw ETooManyNestings();
    const int slot = ws_.counters[level] + 1;
    if (slot > kMaxSlots)
        throw EExpressionTooComplex();
    OperationRecord* operation = NewOperation(t.code, procedure);
    // Counted at once, also for two operands: the first operand's own operations go to deeper rows, so nothing
    // else takes a slot of this row before the second operand is reached, and a failure below finds every record
    // made so far within the counters.
    ws_.slots[level][slot] = operation;
    ws_.counters[level] = slot;
    operation->Dest = new double(0.0);
    into = operation->Dest;

    TermRecord first;
    first.term = t.left;
    first.level = level;
    first.slot = slot;
    first.side = 1;
    walk(first);
    const bool twoOperands = (t.code >= opAddition && t.code <= opRealPower) || t.code == opFunction2;
    if (twoOperands) {
        TermRecord second;
        second.term = t.right;
        second.level = level;
        second.slot = slot;
        second.side = 2;
        walk(second);
    }
}

OperationRecord* Compiler::link()
{
    OperationRecord* placeholder = ws_.slots[0][1];
    int deepest = 0;
    while (deepest < kMaxLevel && ws_.counters[deepest + 1] > 0)
        ++deepest;
    if (deepest == 0) {
        // A single variable or number: the placeholder is the whole list and its result is that cell.
        placeholder->Dest = placeholder->Arg1;
        return placeholder;
    }
    OperationRecord* head = nullptr;
    OperationRecord* tail = nullptr;
    for (int row = deepest; row >= 1; --row) {
        for (int slot = 1; slot <= ws_.counters[row]; ++slot) {
            OperationRecord* op = ws_.slots[row][slot];
            if (tail)
                tail->Next = op;
            else
                head = op;
            tail = op;
        }
    }
    placeholder->Arg1 = placeholder->Arg2 = placeholder->Dest = nullptr;
    delete placeholder;
    return head;
}

void Compiler::releaseBuilt()
{
    for (int row = 0; row <= kMaxLevel; ++row) {
        for (int slot = 1; slot <= ws_.counters[row]; ++slot) {
            OperationRecord* op = ws_.slots[row][slot];
            delete op->Dest;  // always its own result cell here (empty for the placeholder)
            delete op;
        }
    }
    for (double* constant : ws_.constants)
        delete constant;
    ws_.constants.clear();
}

OperationRecord* Compiler::compile(const std::string& expression)
{
    if (++ws_.generation == 0) {
        for (MemoEntry& m : ws_.memo)
            m.generation = 0;
        ws_.generation = 1;
    }
    ws_.used = 0;
    if (ws_.memo.size() > (std::size_t{1} << 16))
        std::vector<MemoEntry>(std::size_t{1} << 16).swap(ws_.memo);  // give back what a monster text took
    ws_.counters.fill(0);
    ws_.constants.clear();

    prepare(expression);
    index();
    if (plainNames_)
        indexDepths();
    ws_.constants.reserve(static_cast<std::size_t>(n_) + 1);  // at most one constant per character

    Span root{0, n_};
    while (root.length() >= 2 && at(root.b) == '(' && at(root.e - 1) == ')' &&
           valid(cTerm, Span{root.b + 1, root.e - 1}))
        root = Span{root.b + 1, root.e - 1};

    ws_.slots[0][1] = NewOperation(opVariable, nullptr);
    ws_.counters[0] = 1;
    try {
        TermRecord t;
        t.term = root;
        t.level = 0;
        t.slot = 1;
        t.side = 1;
        walk(t);
        OperationRecord* first = link();
        ws_.counters.fill(0);
        ws_.constants.clear();  // they belong to the list now
        return first;
    } catch (...) {
        releaseBuilt();
        ws_.counters.fill(0);
        throw;
    }
}

}  // namespace

void BuildOperationList(const std::string& text, const VariableList& variables, const FunctionList& functionOne,
                        bool& error, OperationRecord*& firstOperation, bool PascalNumberformat,
                        const FunctionList& functionTwo, char decimalSeparator)
{
    firstOperation = nullptr;
    Compiler compiler(workspace(), variables, functionOne, functionTwo, PascalNumberformat, decimalSeparator);
    try {
        firstOperation = compiler.compile(text);
        error = false;
    } catch (...) {
        error = true;
        throw;
    }
}

}  // namespace parser
