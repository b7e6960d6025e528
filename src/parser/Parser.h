#pragma once

#include "parser/ExpressionCompiler.h"
#include "parser/OperationList.h"
#include "parser/ParserErrors.h"

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace parser {

class TCustomParser;

// Called instead of raising when an expression does not compile.
using TParserExceptionEvent = std::function<void(TCustomParser& Sender, const std::exception& E)>;

// Evaluates numeric expressions. Assigning Expression compiles the text into a flat operation list; Value runs
// that list on the current values of the variables. Compilation errors are the EMathParserError family (raised
// from setExpression unless OnParserError takes them), evaluation errors the EMathError family (raised from
// Value). One instance is used from one thread at a time.
//
// Numbers are read with "." as decimal point while PascalNumberformat is true (the default). When it is false
// they are read with the character that the decimal separator source gives at the moment of compiling: the
// parser knows nothing of the process format settings, so the caller hands it a function that reads them, e.g.
//     parser.setDecimalSeparatorSource([] { return rtl::formatSettings().DecimalSeparator.toLatin1(); });
// Without one the separator is ".".
class TCustomParser {
public:
    TCustomParser();
    virtual ~TCustomParser();
    TCustomParser(const TCustomParser&) = delete;
    TCustomParser& operator=(const TCustomParser&) = delete;

    // The last text assigned, also when it did not compile.
    const std::string& Expression() const { return FExpression; }
    // Compiles the text (ParseExpression); the empty text leaves no operation list, and Value is then 0.
    void setExpression(const std::string& text) { ParseExpression(text); }

    // The value of the compiled expression, computed anew on each call; 0 when there is none.
    double Value();

    bool PascalNumberformat() const { return FPascalNumberformat; }
    void setPascalNumberformat(bool value) { FPascalNumberformat = value; }

    void setDecimalSeparatorSource(std::function<char()> source) { FDecimalSeparatorSource = std::move(source); }

    TParserExceptionEvent OnParserError;

    // Releases the operation list; every constant and result cell exactly once, variable storage never.
    void FreeOperations();
    // Forgets every variable and the expression. The operation list goes too: it may point at the storage of
    // the variables being forgotten.
    void ClearVariables();

    // The head of the operation list, for inspecting what an expression compiled to; empty when there is none.
    const OperationRecord* FirstOperation() const { return FFirstOperation; }

protected:
    void ParseExpression(const std::string& text);

    // Registers a variable whose storage lives in the component itself (the list never owns storage).
    void RegisterVariable(const std::string& name, double* storage) { FVariables.Add(name, storage); }
    void RegisterFunction1(const std::string& name, TOperationProc procedure) { FFunctionOne.Add(name, procedure); }
    void RegisterFunction2(const std::string& name, TOperationProc procedure) { FFunctionTwo.Add(name, procedure); }

    // Storage of the variables A, B, C, D, E, X, Y and T.
    double FA = 0;
    double FB = 0;
    double FC = 0;
    double FD = 0;
    double FE = 0;
    double FX = 0;
    double FY = 0;
    double FT = 0;

private:
    std::string FExpression;
    bool FPascalNumberformat = true;
    bool FError = false;
    VariableList FVariables{VariableList::Duplicates::Ignore};
    OperationRecord* FFirstOperation = nullptr;
    OperationRecord* FLastOperation = nullptr;
    FunctionList FFunctionOne{FunctionList::Duplicates::Refuse};
    FunctionList FFunctionTwo{FunctionList::Duplicates::Refuse};
    std::function<char()> FDecimalSeparatorSource;
    std::vector<double*> FCellsToRelease;  // kept to spare an allocation on every recompilation
};

// The parser with the variables A, B, C, D, E, X, Y, T and the functions TAN, SIN, COS, SINH, COSH, ARCTAN, EXP,
// LN, SQRT, ABS, HEAV, SIGN, ZERO, PH, RND (one argument), MAX and MIN (two arguments).
class TParser : public TCustomParser {
public:
    TParser();

    double A() const { return FA; }
    double B() const { return FB; }
    double C() const { return FC; }
    double D() const { return FD; }
    double E() const { return FE; }
    double X() const { return FX; }
    double Y() const { return FY; }
    double T() const { return FT; }
    void setA(double v) { FA = v; }
    void setB(double v) { FB = v; }
    void setC(double v) { FC = v; }
    void setD(double v) { FD = v; }
    void setE(double v) { FE = v; }
    void setX(double v) { FX = v; }
    void setY(double v) { FY = v; }
    void setT(double v) { FT = v; }
};

}  // namespace parser
