#include "generation/BaseShift.h"

float GetBaseShift(const face&, axis) { return 0.0f; }
vertex GetLineInt(vertex, vector, vertex Q, vector) { return Q; }
