#include "settings/Shape.h"

#include "settings/Settings.h"
#include "settings/Template.h"

namespace {

// Template values that name the texture of each slot: "1_tex" to "n_tex".
constexpr int kTemplateTex1 = 22;
constexpr int kTemplateTex2 = 23;
constexpr int kTemplateTex3 = 24;
constexpr int kTemplateTexn = 25;

const std::string& DefaultName(shape s) {
  switch (s) {
    case cylinder: return def_name_cylinder;
    case arch: return def_name_arch;
    case torus: return def_name_torus;
    case htorus: return def_name_hollow_torus;
    case sphere: return def_name_shpere;
  }
  return def_name_none;
}

void InstallDefaults(const std::string& d1) {
  def_tex1 = d1;
  tex1 = def_tex1;
}

void InstallDefaults(const std::string& d1, const std::string& d2, const std::string& d3) {
  def_tex1 = d1;
  def_tex2 = d2;
  def_tex3 = d3;
  tex1 = def_tex1;
  tex2 = def_tex2;
  tex3 = def_tex3;
}

void ApplyTemplateName(std::string& texture, int key) {
  if (!tset[key].empty()) texture = tset[key];
}

}  // namespace

void SetShape(shape s) {
  CurrentDeci = 0;
  IsCylinder = s == cylinder;
  IsArch = s == arch;
  IsTorus = s == torus;
  IsHTorus = s == htorus;
  IsSphere = s == sphere;
  // Names given by a template, or taken from a template's path, survive.
  if (!DragAndDrop && !TempLoaded) {
    cfname = DefaultName(s);
    cfpath = def_path;
  }
  SetTextures();
}

void SetTextures() {
  // Slots a shape does not use keep their current defaults and names.
  if (IsCylinder) {
    InstallDefaults(cylinder_tex);
  } else if (IsArch) {
    InstallDefaults(arch_tex, arch_tex2, arch_tex3);
  } else if (IsTorus) {
    InstallDefaults(torus_tex);
  } else if (IsHTorus) {
    InstallDefaults(torus_tex, torus_tex2, torus_tex3);
  } else if (IsSphere) {
    InstallDefaults(sphere_tex);
  }
  ApplyTemplateName(tex1, kTemplateTex1);
  ApplyTemplateName(tex2, kTemplateTex2);
  ApplyTemplateName(tex3, kTemplateTex3);
  ApplyTemplateName(texn, kTemplateTexn);
}

std::string brushname() {
  if (IsCylinder) return "Cylinder";
  if (IsArch) return "Arch";
  if (IsTorus) return "Torus";
  if (IsHTorus) return "Hollow Torus";
  if (IsSphere) return "Sphere";
  return "None";
}
