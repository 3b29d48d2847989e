// Test support: checks on the brush group in memory, where the writers'
// guards do not hide a fault.
#pragma once

#include <string>

// True when every vertex in use, texture axis, shift, rotation and scale of
// every face of Group is finite (and when there is no group); otherwise
// false, with the first face that is not described in where.
bool GroupIsFinite(std::string* where = nullptr);
