#include "export/MapWriter.h"

bool ExportToMap() { return false; }
