#include "generation/Builders.h"

void build_htorus() {}
