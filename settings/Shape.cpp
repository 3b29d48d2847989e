#include "settings/Shape.h"

#include "settings/Settings.h"

void SetShape(shape s) {
  IsCylinder = s == cylinder;
  IsArch = s == arch;
  IsTorus = s == torus;
  IsHTorus = s == htorus;
  IsSphere = s == sphere;
}

void SetTextures() {}

std::string brushname() { return "None"; }
