// The five shape builders. Each fills the current Group, which was created
// right after SetMaxObjects for the selected shape.
#pragma once

void build_cylinder();
void build_arch();
void build_torus();
void build_htorus();
void build_sphere();
