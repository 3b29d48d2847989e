// Scaling of the whole model.
#pragma once

// What Scale multiplies.
enum attr : int {
  all = 0,
  coords = 10,
  coordX = 11,
  coordY = 12,
  coordZ = 13,
  texScale = 30,
  texScaleX = 31,
  texScaleY = 32,
};

// Multiplies the coordinates and/or texture scales of Group by f; then posts
// status code 1.
void Scale(float f, attr a);
