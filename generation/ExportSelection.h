// The export selection computed from the export rules.
#pragma once

// The fixed random pattern of the random rule: 300 characters "0" or "1".
extern const char RandomExportMask[];

// Replaces D_list with the selection for the current Group.
void GetPattern();
// Whether the writers write brush i: no selection, or its flag is set.
bool IsBrushSelected(int i);
