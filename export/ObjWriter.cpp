#include "export/ObjWriter.h"

bool ExportToObj() { return false; }
