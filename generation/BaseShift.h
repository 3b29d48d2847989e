// Base shifts: texture shifts that anchor a face-aligned texture at the
// world origin.
#pragma once

#include "generation/Brush.h"

// The texture axis of a base shift or a shift reduction.
enum axis : int { hor = 10, ver = 20 };

// The world origin to which texture shifts are anchored.
inline constexpr vertex Zero{};

// The base shift of the face along the axis; always finite.
float GetBaseShift(const face& f, axis a);
// The point Q + s e of the second line where the line P + l d crosses it.
vertex GetLineInt(vertex P, vector d, vertex Q, vector e);
