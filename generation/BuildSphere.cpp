#include "generation/Builders.h"

void build_sphere() {}
