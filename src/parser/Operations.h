#pragma once

#include "parser/OperationList.h"

namespace parser {

// The routine that computes an operation of the given code (2 to 13); empty for variables and numbers (0, 1),
// whose records only name their cell, and for function calls (14, 15), which carry their own routine.
TOperationProc OperationProcedure(std::uint8_t code);

// The built-in functions. Each computes in extended precision and stores its result rounded to 64 bits; a result
// that is not a finite number raises an EMathError instead.
namespace functions {
void Tan(OperationRecord& op);
void Sin(OperationRecord& op);
void Cos(OperationRecord& op);
void Sinh(OperationRecord& op);
void Cosh(OperationRecord& op);
void ArcTan(OperationRecord& op);
void Exp(OperationRecord& op);
void Ln(OperationRecord& op);
void Sqrt(OperationRecord& op);
void Abs(OperationRecord& op);
void Heav(OperationRecord& op);
void Sign(OperationRecord& op);
void Zero(OperationRecord& op);
void Ph(OperationRecord& op);
void Rnd(OperationRecord& op);
void Max(OperationRecord& op);
void Min(OperationRecord& op);
}  // namespace functions

// Raises the EMathError that a result of this kind stands for, when it is not a finite number.
void CheckResult(double value);

}  // namespace parser
