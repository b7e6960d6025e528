#include "parser/Parser.h"

#include "parser/Operations.h"

#include <algorithm>

namespace parser {

TCustomParser::TCustomParser() = default;

TCustomParser::~TCustomParser()
{
    FreeOperations();
    ClearVariables();
}

void TCustomParser::ParseExpression(const std::string& text)
{
    FreeOperations();
    FExpression = text;
    if (text.empty())
        return;
    try {
        const char separator = FDecimalSeparatorSource ? FDecimalSeparatorSource() : '.';
        BuildOperationList(text, FVariables, FFunctionOne, FError, FFirstOperation, FPascalNumberformat,
                           FFunctionTwo, separator);
    } catch (const std::exception& e) {
        FError = true;
        FFirstOperation = nullptr;
        if (!OnParserError)
            throw;
        OnParserError(*this, e);
        return;
    }
    for (OperationRecord* op = FFirstOperation; op; op = op->Next) {
        if (op->Code != opFunction1 && op->Code != opFunction2)
            op->Procedure = OperationProcedure(op->Code);
        FLastOperation = op;
    }
}

double TCustomParser::Value()
{
    if (!FFirstOperation)
        return 0;
    for (OperationRecord* op = FFirstOperation; op; op = op->Next)
        if (op->Procedure)
            op->Procedure(*op);
    const double result = *FLastOperation->Dest;
    // A list of a single variable computes nothing: its value is checked here.
    CheckResult(result);
    return result;
}

// Every constant and result cell is pointed to by one record, or by the record that computes it and one later
// record that uses it; variable storage by any number of records. Each cell other than variable storage is
// released once, and the records after it. (Clearing the shared pointers record by record, as the list is walked,
// comes to the same but costs time quadratic in the length of the list, on every recompilation.)
void TCustomParser::FreeOperations()
{
    OperationRecord* op = FFirstOperation;
    FFirstOperation = nullptr;
    FLastOperation = nullptr;
    std::vector<double*>& cells = FCellsToRelease;
    cells.clear();
    while (op) {
        for (double* cell : {op->Arg1, op->Arg2, op->Dest})
            if (cell && !FVariables.Contains(cell))
                cells.push_back(cell);
        OperationRecord* next = op->Next;
        delete op;
        op = next;
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    for (double* cell : cells)
        delete cell;
    cells.clear();
}

void TCustomParser::ClearVariables()
{
    FreeOperations();
    FVariables.Clear();
    FExpression.clear();
}

TParser::TParser()
{
    RegisterVariable("A", &FA);
    RegisterVariable("B", &FB);
    RegisterVariable("C", &FC);
    RegisterVariable("D", &FD);
    RegisterVariable("E", &FE);
    RegisterVariable("X", &FX);
    RegisterVariable("Y", &FY);
    RegisterVariable("T", &FT);
    RegisterFunction1("TAN", functions::Tan);
    RegisterFunction1("SIN", functions::Sin);
    RegisterFunction1("COS", functions::Cos);
    RegisterFunction1("SINH", functions::Sinh);
    RegisterFunction1("COSH", functions::Cosh);
    RegisterFunction1("ARCTAN", functions::ArcTan);
    RegisterFunction1("EXP", functions::Exp);
    RegisterFunction1("LN", functions::Ln);
    RegisterFunction1("SQRT", functions::Sqrt);
    RegisterFunction1("ABS", functions::Abs);
    RegisterFunction1("HEAV", functions::Heav);
    RegisterFunction1("SIGN", functions::Sign);
    RegisterFunction1("ZERO", functions::Zero);
    RegisterFunction1("PH", functions::Ph);
    RegisterFunction1("RND", functions::Rnd);
    RegisterFunction2("MAX", functions::Max);
    RegisterFunction2("MIN", functions::Min);
}

}  // namespace parser
