// Access to the live variables by the numbers that tag fields carry. The tables have slot 0
// besides T1..T99, N1..N50 and D1..D50; a number outside a table fails the run with a clear
// message (nothing outside the table is read or written) and gives nullptr.
#pragma once

#include <cstdint>
#include <string>

#include "player/interpreter/interpreter.h"

namespace wdx::player {

std::string* TextVariable(Interpreter& in, std::int64_t number);
std::int32_t* IntegerVariable(Interpreter& in, std::int64_t number);
double* DecimalVariable(Interpreter& in, std::int64_t number);

// The commands of the save-and-restore codes of "<VARSR:" (01..08; others do nothing).
void SaveRestoreVariables(RunState& st, std::int32_t code);

}  // namespace wdx::player
