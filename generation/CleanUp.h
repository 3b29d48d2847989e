// The texture post-pass: rotation, user shifts and reduction of the shifts.
#pragma once

#include "generation/BaseShift.h"
#include "generation/Brush.h"

// Applies the slots' rotations and user shifts to every face of the group and
// reduces the shifts into one texture size.
void CleanUp();
// Reduces f.shiftX (hor) or f.shiftY (ver) into [0, texture size).
void MiniShift(face& f, axis a);
