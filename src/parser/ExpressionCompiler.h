#pragma once

#include "parser/NameList.h"
#include "parser/OperationList.h"

#include <string>

namespace parser {

// Upper-case names with a pointer to each variable's storage cell; the cells belong to the caller.
using VariableList = NameList<double*>;
// Upper-case function names with their routines.
using FunctionList = NameList<TOperationProc>;

// Compiles an expression into its operation list.
//
// On success firstOperation points at the head of the list and error is false; the list and every constant and
// result cell in it now belong to the caller (release them with the component's FreeOperations). The routines
// of the records are left empty except for function calls (codes 14 and 15), whose routine comes from the
// function lists: the component binds the others by code.
//
// On failure nothing that was built survives, firstOperation is empty, error is true and one of the
// EMathParserError exceptions is raised.
//
// Numbers in the text are read with "." as decimal point when PascalNumberformat is true, else with
// decimalSeparator (the caller passes the process's separator).
void BuildOperationList(const std::string& text, const VariableList& variables, const FunctionList& functionOne,
                        bool& error, OperationRecord*& firstOperation, bool PascalNumberformat,
                        const FunctionList& functionTwo, char decimalSeparator = '.');

}  // namespace parser
