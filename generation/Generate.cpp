#include "generation/Generate.h"

#include "generation/Brush.h"
#include "generation/Builders.h"
#include "settings/Settings.h"

bool Generate() {
  // A scale-down factor belongs to the model that was enlarged; the new one
  // has none until it is enlarged itself.
  last_transfactor = 0.0f;
  SetMaxObjects();
  Group.reset();  // the old group goes before the new one is allocated
  Group = std::make_unique<bgroup>();
  if (IsCylinder) build_cylinder();
  else if (IsArch) build_arch();
  else if (IsTorus) build_torus();
  else if (IsHTorus) build_htorus();
  else if (IsSphere) build_sphere();
  else return false;
  return true;
}
