// The texture post-pass: rotation, user shifts and reduction of the shifts.
#pragma once

#include "generation/BaseShift.h"
#include "generation/Brush.h"

// Applies the slots' rotations and user shifts to every face of the group and
// reduces the shifts into one texture size.
void CleanUp();
// CleanUp for the faces in use of one brush; a builder that has a last pass
// over its brushes cleans each one there, while it is in the cache.
void CleanUpBrush(brush& br);
// Reduces f.shiftX (hor) or f.shiftY (ver) into [0, texture size).
void MiniShift(face& f, axis a);
