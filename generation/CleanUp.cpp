#include "generation/CleanUp.h"

void CleanUp() {}
void MiniShift(face&, axis) {}
