// Shape selection: the five shapes, their default names and textures.
#pragma once

#include <string>

enum shape { cylinder = 0, arch = 1, torus = 2, htorus = 3, sphere = 4 };

// Selects shape s: clears CurrentDeci, sets the shape flag, names the object
// after the shape (outside batch mode and template loads) and installs the
// shape's default textures with the last template's texture names over them.
void SetShape(shape s);
// Installs the selected shape's default textures, then the template's names.
void SetTextures();
// The display name of the selected shape ("None" when none is selected).
std::string brushname();
