// The texture wrapping pass over a whole group.
#pragma once

#include "generation/Brush.h"

// Texture sizes in force for the current build: the settings' sizes, taken
// exchanged for slots rotated by 90 or 270 degrees once the wrapping pass has
// run. The exchange is held for the build alone; the settings never change.
extern int BuildSizeX[SlotCount];
extern int BuildSizeY[SlotCount];
// Every builder starts with the sizes as the settings hold them.
void UseSettingsTextureSizes();

// Fits the texture scales of the body and floor slots and continues the
// shifts from face to face over the group.
void Texturize();
// The extent of a face across an edge: the distance of vertex 0 from the line
// through vertices 1 and 2.
float GetFaceLen(const face& f);
// Asks for the custom scale at the console; 0 is refused and asked for again.
// When the console input has ended the current value stays, so the build
// goes on.
float AskForValue(float current);
