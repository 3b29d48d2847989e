// Text of floating-point numbers exactly as the C library's printf writes
// them, computed without it where the value allows: the writers print
// millions of numbers, and the decimal places of every circle coordinate are
// counted from its text.
#pragma once

// Room for any text these functions write.
constexpr int kFloatTextSize = 400;

// Writes value, widened to double, as "%.<precision>g" does (precision 1 to
// 17) to out, which has room for kFloatTextSize characters; returns the end.
char* WriteGeneral(char* out, float value, int precision);
// The same for "%g" (precision 6), the OBJ writer's coordinates.
char* WriteGeneral6(char* out, float value);
// Writes value, widened to double, as "%f" does to out; returns the end.
char* WriteFixed6(char* out, float value);
// Writes n in decimal; returns the end.
char* WriteUnsigned(char* out, unsigned long long n);
// The number of characters after the first "." of the text that
// "%.<precision>g" writes for value; 0 when it has none.
int GeneralDecimals(float value, int precision);
