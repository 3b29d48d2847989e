#include "generation/ExportSelection.h"

#include "settings/Settings.h"

const char RandomExportMask[] = "";

void GetPattern() {}

bool IsBrushSelected(int i) { return !D_list || (i >= 0 && i < D_listSize && D_list[i]); }
