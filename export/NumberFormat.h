// Number formatting for the writers.
#pragma once

#include <string>

// Appends the value widened to double in fixed notation with six decimals,
// as "%f" writes it ("-0.000000" for a negative zero).
void AppendFixed6(std::string& out, float value);
// Appends the value widened to double in general notation with six
// significant digits, as "%g" writes it (128, 32.5, 1e-05, -0).
void AppendGeneral6(std::string& out, float value);
