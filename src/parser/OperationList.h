#pragma once

#include <cstdint>

namespace parser {

struct OperationRecord;

// The routine of one operation: reads the cells behind Arg1 and Arg2 and writes the cell behind Dest.
using TOperationProc = void (*)(OperationRecord& operation);

// One step of a compiled expression. The list runs from the innermost operations outwards; each operand cell is
// written by an earlier record (or is a constant or a variable), so running the records in order computes the
// expression without recursion or look-ups. The last record's Dest holds the value.
//
// Cells belong to the list as follows: every constant cell is pointed to by exactly one record, every Dest cell
// is made for its own record and may be pointed to by one later record, and variable cells belong to the parser
// component and are only pointed to.
struct OperationRecord {
    double* Arg1 = nullptr;
    double* Arg2 = nullptr;
    double* Dest = nullptr;
    OperationRecord* Next = nullptr;
    TOperationProc Procedure = nullptr;
    std::uint8_t Code = 0;
};

// Operation codes, shared by the compiler (which chooses them) and the component (which binds their routines).
enum OperationCode : std::uint8_t {
    opVariable = 0,
    opNumber = 1,
    opNegation = 2,
    opAddition = 3,
    opSubtraction = 4,
    opMultiplication = 5,
    opDivision = 6,
    opModulo = 7,
    opIntDivision = 8,
    opIntegerPower = 9,   // whole-number constant exponent other than 2, 3 and 4
    opRealPower = 10,
    opSquare = 11,
    opCube = 12,
    opFourthPower = 13,
    opFunction1 = 14,
    opFunction2 = 15,
};

inline OperationRecord* NewOperation(std::uint8_t code, TOperationProc procedure)
{
    auto* operation = new OperationRecord;
    operation->Code = code;
    operation->Procedure = procedure;
    return operation;
}

}  // namespace parser
