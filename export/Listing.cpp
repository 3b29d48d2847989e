#include "export/Listing.h"

void DisplayGen() {}
