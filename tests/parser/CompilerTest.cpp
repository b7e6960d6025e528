// What the compiler accepts, how it groups, what it compiles to, and how it refuses.

#include "parser/Parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

using namespace parser;

// A = 1, B = 2, C = 3 unless a case says otherwise.
struct ValueCase {
    const char* name;
    const char* text;
    double expected;
};

void expectValues(const std::vector<ValueCase>& cases)
{
    for (const auto& c : cases) {
        TParser p;
        p.setA(1);
        p.setB(2);
        p.setC(3);
        try {
            p.setExpression(c.text);
            EXPECT_DOUBLE_EQ(p.Value(), c.expected) << c.name << ": " << c.text;
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.name << ": " << c.text << " raised " << e.what();
        }
    }
}

std::vector<int> codesOf(const TCustomParser& p)
{
    std::vector<int> codes;
    for (const OperationRecord* op = p.FirstOperation(); op; op = op->Next)
        codes.push_back(op->Code);
    return codes;
}

// The exception a text raises when it is compiled, as its dynamic type and message.
struct Raised {
    std::string type;
    std::string message;
};

Raised compileError(const std::string& text, TParser& p)
{
    try {
        p.setExpression(text);
    } catch (const EMathParserError& e) {
        return {typeid(e).name(), e.what()};
    } catch (const std::exception& e) {
        return {std::string("not a parser error: ") + typeid(e).name(), e.what()};
    }
    return {"nothing", ""};
}

template <class E>
std::string typeName()
{
    return typeid(E).name();
}

TEST(ExpressionCompiler, PrecedenceAndGrouping)
{
    expectValues({
        {"product before sum", "2+3*4", 14},
        {"product before sum, left", "2*3+4", 10},
        {"differences group left", "10-4-3", 3},
        {"quotients group left", "16/4/2", 2},
        {"difference then sum", "A-B+C", 2},
        {"sum then difference", "1+2-3+4", 4},
        // Sums group to the right: the two ones are added first and survive next to 1E16.
        {"sums group right", "1E16+1+1", 10000000000000002.0},
        {"brackets force left sum", "(1E16+1)+1", 1E16},
        {"bracketed difference", "10-(4-3)", 9},
        {"quotient then product", "8/2*2", 8},
        {"product takes the quotient on its right", "2*8/4", 4},
        // "*" accepts DIV and MOD on its right: 2*(3 MOD 4), not (2*3) MOD 4.
        {"MOD binds to the right of a product", "2*3MOD4", 6},
        {"MOD then product", "7MOD4*2", 6},
        {"DIV then MOD group left", "17DIV5MOD2", 1},
        {"quotient then DIV", "9/2DIV2", 2},
        {"power before product", "2*3^2", 18},
        {"power of a bracket", "(1+1)^3", 8},
        {"power of a function", "SQRT(4)^3", 8},
        {"bracketed power as exponent", "2^(3^2)", 512},
        {"redundant brackets everywhere", "((2))*(((3)))+((4))", 10},
        {"whole text in brackets", "((2+3))", 5},
        {"blanks around", "  A+B  ", 3},
        {"lower case", "a*b+c", 5},
        {"DIV without surrounding marks", "7.9DIV2", 3},
        {"MOD keeps the dividend's sign", "-7MOD3", -1},
        {"MOD", "7MOD3", 1},
        {"signed number exponent", "2^-1", 0.5},
        {"plus-signed number", "2*+3", 6},
        {"exponent notation", "1.5E2-1E-1", 149.9},
        {"pi", "PI", 3.141592653589793},
        {"minus pi", "-PI", -3.141592653589793},
        {"fraction without integer digits", ".5*4", 2},
        {"integer digits without fraction", "5.*2", 10},
    });
}

TEST(ExpressionCompiler, NegationIsAcceptedOnlyWhereTheOperatorTablesAllowIt)
{
    expectValues({
        {"negated variable minus", "-A-B", -3},
        {"negative number minus", "-5-3", -8},
        {"minus negative number", "5--3", 8},
        {"negated variable plus", "-A+B", 1},
        {"negative number times", "-5*3", -15},
        {"negated variable times", "-A*B", -2},
        {"times negative number", "A*-5", -5},
        {"over negative number", "6/-3", -2},
        {"negated bracket", "-(A+B)", -3},
        {"negated bracket times", "-(A+B)*C", -9},
        {"negation before the power", "-C^2", -9},
        {"negation before a number's power", "-2^2", -4},
        {"bracketed negative base", "(-2)^2", 4},
        {"negated function", "-MAX(A,B)", -2},
        {"double negation in brackets", "-(-(A))", 1},
        // A product or difference may start with a negation also where a bare negation is refused.
        {"negation leading a difference on the right of plus", "A+-B-C", -4},
        {"negation leading a product on the right of times", "A*-B*C", -6},
        {"negation leading a product on the right of minus", "A--B*C", 7},
    });

    TParser p;
    for (const char* text : {"A*-B", "A+-B", "A--B", "A/-B", "A^-B", "ADIV-B", "--5", "-", "2*-(A)"}) {
        const Raised r = compileError(text, p);
        EXPECT_EQ(r.type, typeName<ESyntaxError>()) << text << ": " << r.message;
    }
}

TEST(ExpressionCompiler, PowerCodes)
{
    struct Case {
        const char* name;
        const char* text;
        std::vector<int> codes;
        double expected;
    };
    const Case cases[] = {
        {"square", "2^2", {11}, 4},
        {"cube, no exponent operand", "2^3", {12}, 8},
        {"fourth power", "3^4", {13}, 81},
        {"whole exponent", "2^5", {9}, 32},
        {"exponent one", "2^1", {9}, 2},
        {"exponent zero", "2^0", {9}, 1},
        {"negative whole exponent", "2^-1", {9}, 0.5},
        {"whole exponent written as fraction", "2^2.0", {11}, 4},
        {"fractional exponent", "2^0.5", {10}, std::sqrt(2.0)},
        {"variable exponent", "2^A", {10}, 2},
        {"bracketed exponent", "2^(3)", {10}, 8},
        {"function exponent", "2^ABS(-3)", {14, 10}, 8},
        {"exponent beyond 32 bits", "1^3E9", {10}, 1},
        {"ten to the tenth", "2^10", {9}, 1024},
        {"real power", "9^0.5", {10}, 3},
        {"negative base, whole exponent", "(-2)^3", {12}, -8},
        {"negative base, whole real exponent", "(-2)^(3)", {10}, -8},
        {"zero to the zero", "0^0", {9}, 1},
    };
    for (const auto& c : cases) {
        TParser p;
        p.setA(1);
        p.setExpression(c.text);
        EXPECT_EQ(codesOf(p), c.codes) << c.name;
        EXPECT_NEAR(p.Value(), c.expected, 1e-12 * std::fabs(c.expected)) << c.name;
    }

    TParser p;
    for (const char* text : {"2^3^2", "2^-A", "A^B^C", "2^", "^2", "-2^-2^2"}) {
        EXPECT_EQ(compileError(text, p).type, typeName<ESyntaxError>()) << text;
    }
}

TEST(ExpressionCompiler, OperationListShape)
{
    TParser p;
    p.setA(4);

    // A lone variable compiles to one record whose result cell is the variable's own storage.
    p.setExpression("((A))");
    const OperationRecord* op = p.FirstOperation();
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->Code, 0);
    EXPECT_EQ(op->Next, nullptr);
    EXPECT_EQ(op->Dest, op->Arg1);
    EXPECT_EQ(p.Value(), 4);
    p.setA(-7.5);
    EXPECT_EQ(p.Value(), -7.5);

    p.setExpression("PI");
    op = p.FirstOperation();
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->Next, nullptr);
    EXPECT_EQ(*op->Dest, 3.141592653589793);

    // Deepest operations first, the outermost last.
    struct Case {
        const char* text;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"2+3*4", {5, 3}},
        {"A-B+C", {4, 3}},
        {"(1+2)*(3-4)", {3, 4, 5}},
        {"MAX(MIN(A,B),C)", {15, 15}},
        {"-SIN(A)", {14, 2}},
        {"7DIV2MOD3/4", {8, 7, 6}},
    };
    for (const auto& c : cases) {
        p.setExpression(c.text);
        EXPECT_EQ(codesOf(p), c.codes) << c.text;
    }
}

TEST(ExpressionCompiler, Functions)
{
    expectValues({
        {"lower-case name", "sin(a)", std::sin(1.0)},
        {"nested two-argument calls split at the second comma", "MAX(MIN(A,B),C)", 3},
        {"argument with its own brackets", "SQRT((A+B)*C+7)", 4},
        {"call inside an operation", "2*ABS(-3)+1", 7},
        {"function of a function", "ABS(SIGN(-5))", 1},
        {"two-argument call with operations", "MIN(A+B,C*2)", 3},
    });

    TParser p;
    for (const char* text : {"SIN(A,B)", "MAX(A)", "MAX(A,)", "MAX(,A)", "FOO(1)", "SIN()", "SIN", "SIN(1)(2)",
                             "MAX(1,2,3)", "SINA", "(SIN)(1)"}) {
        EXPECT_EQ(compileError(text, p).type, typeName<ESyntaxError>()) << text;
    }
    EXPECT_EQ(compileError("SIN (A)", p).type, typeName<EExpressionHasBlanks>());
}

// The complete binary tree of bracketed products: depth rows of operations, and the given number of operations
// added one row deeper.
std::string productTree(int depth, int& deeper)
{
    if (depth == 0) {
        if (deeper > 0) {
            --deeper;
            return "(2*2)";
        }
        return "2";
    }
    return "(" + productTree(depth - 1, deeper) + "*" + productTree(depth - 1, deeper) + ")";
}

std::string negations(int count)
{
    std::string text = "A";
    for (int i = 0; i < count; ++i)
        text = "-(" + text + ")";
    return text;
}

std::string chain(int terms, const char* op)
{
    std::string text = "1";
    for (int i = 1; i < terms; ++i)
        text += op + std::to_string(i % 9 + 1);
    return text;
}

TEST(ExpressionCompiler, LimitsOfTwentyNestingsAndFiftyOperationsPerRow)
{
    struct Case {
        const char* name;
        std::string text;
        std::string raised;  // empty: compiles
    };
    int fifty = 50, fiftyOne = 51, none = 0;
    const Case cases[] = {
        {"20 nested negations", negations(20), ""},
        {"21 nested negations", negations(21), typeName<ETooManyNestings>()},
        {"sum of 21 terms nests 20 deep", chain(21, "+"), ""},
        {"sum of 22 terms", chain(22, "+"), typeName<ETooManyNestings>()},
        {"difference of 21 terms", chain(21, "-"), ""},
        {"difference of 22 terms", chain(22, "-"), typeName<ETooManyNestings>()},
        {"row of 50 operations", productTree(6, fifty), ""},
        {"row of 51 operations", productTree(6, fiftyOne), typeName<EExpressionTooComplex>()},
        {"64 products at the seventh depth", productTree(7, none), typeName<EExpressionTooComplex>()},
    };
    for (const auto& c : cases) {
        TParser p;
        p.setA(1);
        const Raised r = compileError(c.text, p);
        if (c.raised.empty()) {
            EXPECT_EQ(r.type, "nothing") << c.name << ": " << r.message;
            EXPECT_TRUE(std::isfinite(p.Value())) << c.name;
        } else {
            EXPECT_EQ(r.type, c.raised) << c.name << ": " << r.message;
            EXPECT_EQ(p.FirstOperation(), nullptr) << c.name;
        }
    }

    TParser p;
    int fiftyAgain = 50;
    p.setExpression(productTree(6, fiftyAgain));
    EXPECT_EQ(p.Value(), std::ldexp(1.0, 64 + 50));
    p.setExpression(negations(20));
    EXPECT_EQ(p.Value(), 0);  // A is 0 here
}

TEST(ExpressionCompiler, MonstrousTextsAreRefusedWithoutCrashing)
{
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"100000 nested brackets", std::string(100000, '(') + "1" + std::string(100000, ')')},
        {"sum of 20000 terms", chain(20000, "+")},
        {"difference of 20000 terms", chain(20000, "-")},
        {"product of 20000 terms", chain(20000, "*")},
        {"power tower", chain(5000, "^")},
        {"nested calls", [] {
             std::string t = "1";
             for (int i = 0; i < 20000; ++i)
                 t = "SIN(" + t + ")";
             return t;
         }()},
        {"mixed operators", [] {
             std::string t = "1";
             const char* ops[] = {"-", "*", "+", "/", "DIV", "MOD"};
             for (int i = 0; i < 6000; ++i)
                 t += std::string(ops[i % 6]) + std::to_string(i % 7 + 1);
             return t;
         }()},
    };
    for (const auto& c : cases) {
        TParser p;
        EXPECT_THROW(p.setExpression(c.text), EMathParserError) << c.name;
        EXPECT_EQ(p.Value(), 0) << c.name;
    }
}

TEST(ExpressionCompiler, BracketsAndBlanks)
{
    struct Case {
        const char* name;
        const char* text;
        std::string raised;
    };
    const Case cases[] = {
        {"missing closing bracket", "(A+B", typeName<EMissMatchingBracket>()},
        {"missing opening bracket", "A+B)", typeName<EMissMatchingBracket>()},
        {"counts match, order does not", ")A+B(", typeName<ESyntaxError>()},
        {"empty brackets", "()", typeName<ESyntaxError>()},
        {"juxtaposed brackets", "(A)(B)", typeName<ESyntaxError>()},
        {"number before bracket", "2(3)", typeName<ESyntaxError>()},
        {"blank inside", "A +B", typeName<EExpressionHasBlanks>()},
        {"blank before bracket", "SIN (A)", typeName<EExpressionHasBlanks>()},
        {"blank checked before brackets", "(A +B", typeName<EExpressionHasBlanks>()},
        {"only blanks", "   ", typeName<ESyntaxError>()},
        {"tab is no blank", "A\t+B", typeName<ESyntaxError>()},
        {"empty operand after", "A+", typeName<ESyntaxError>()},
        {"empty operand before", "+A", typeName<ESyntaxError>()},
        {"unknown variable", "Q", typeName<ESyntaxError>()},
        {"lone decimal point", ".", typeName<ESyntaxError>()},
        {"number too large", "1E400", typeName<ESyntaxError>()},
        {"comma decimal under the point format", "1,5", typeName<ESyntaxError>()},
        {"exponent without digits", "2E", typeName<ESyntaxError>()},
        {"plus-signed pi", "+PI", typeName<ESyntaxError>()},
    };
    for (const auto& c : cases) {
        TParser p;
        EXPECT_EQ(compileError(c.text, p).type, c.raised) << c.name;
    }
    expectValues({{"number too small becomes zero", "1E-400", 0}, {"spaces at both ends only", " 1 ", 1}});
}

TEST(ExpressionCompiler, ErrorMessages)
{
    const std::string head = "Error parsing expression:\r";
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"blanks", "A B", "Expression has blanks"},
        {"brackets", "(A+B", "Missing brackets in expression"},
        {"nestings", negations(21), "Expression contains too many nestings"},
        {"complexity", [] {
             int none = 0;
             return productTree(7, none);
         }(),
         "Expression is too complex"},
        {"no split tried: the term", "A+", head + "A+"},
        {"no split tried, upper-cased", "q", head + "Q"},
        {"nothing left after trimming", "  ", head},
        {"function of the wrong list", "SIN(A,B)", head + "SIN(A,B)"},
        {"last split tried", "A*-B", head + "A\r-B"},
        {"later split overwrites earlier", "A+-B", head + "A+\rB"},
        {"power chain", "2^3^2", head + "2^3\r2"},
        {"bracketed operand passed on as its inside", "(A)*-B", head + "A\r-B"},
        {"unbalanced split is still a split", ")A+B(", head + ")A\rB("},
        {"argument split comes last", "MAX(A+,B)", head + "A+\rB"},
        {"DIV at the end", "7DIV", head + "7\r"},
    };
    for (const auto& c : cases) {
        TParser p;
        try {
            p.setExpression(c.text);
            ADD_FAILURE() << c.name << ": compiled";
        } catch (const EMathParserError& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.name;
        }
    }
}

TEST(ExpressionCompiler, NumberFormats)
{
    struct Case {
        const char* name;
        bool pascal;
        char separator;
        const char* text;
        double expected;  // NAN: refused
    };
    const Case cases[] = {
        {"point format", true, ',', "1.5*2", 3},
        {"point format ignores the separator", true, ',', "1,5*2", NAN},
        {"locale comma", false, ',', "1,5*2", 3},
        {"locale comma refuses the point", false, ',', "1.5*2", NAN},
        {"locale point", false, '.', "1.5*2", 3},
        {"locale comma with exponent", false, ',', "2,5E1", 25},
        // Under a comma separator the comma of a call is read into the first number it touches.
        {"locale comma eats an argument comma", false, ',', "MAX(1,5,2)", 5.2},
    };
    for (const auto& c : cases) {
        TParser p;
        p.setPascalNumberformat(c.pascal);
        p.setDecimalSeparatorSource([sep = c.separator] { return sep; });
        if (std::isnan(c.expected)) {
            EXPECT_THROW(p.setExpression(c.text), ESyntaxError) << c.name;
        } else {
            p.setExpression(c.text);
            EXPECT_DOUBLE_EQ(p.Value(), c.expected) << c.name;
        }
    }

    // The separator is asked for at every compilation.
    TParser p;
    EXPECT_TRUE(p.PascalNumberformat());
    p.setPascalNumberformat(false);
    char separator = ',';
    p.setDecimalSeparatorSource([&separator] { return separator; });
    p.setExpression("2,5");
    EXPECT_EQ(p.Value(), 2.5);
    separator = '.';
    EXPECT_THROW(p.setExpression("2,5"), ESyntaxError);
    p.setExpression("2.5");
    EXPECT_EQ(p.Value(), 2.5);
}

}  // namespace
