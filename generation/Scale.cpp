#include "generation/Scale.h"

void Scale(float, attr) {}
