// Test support: faces, boxes and groups made by hand, in place of a build.
#pragma once

#include <initializer_list>

#include "generation/Brush.h"
#include "support/GlobalState.h"

// Sets the capacities that new groups, brushes and faces take (maxB, maxF,
// maxV), as SetMaxObjects does before a build.
void SetCapacities(int brushes, int faces, int vertices);

// Replaces Group by a new group with `brushes` brushes in use, each with
// `faces` new faces in use (no vertices in use, no section or segment counts).
// Set the capacities first.
bgroup& NewGroup(int brushes, int faces);

// Puts the vertices into the face, in order, and makes them those in use.
void SetVerts(face& f, std::initializer_list<vertex> vertices);

// A new face of the vertices; every other field keeps its start value.
face MakeFace(std::initializer_list<vertex> vertices);

// An axis-aligned box from (0,0,0) to (sx,sy,sz) as one brush of six quads,
// each listed clockwise as seen from outside, textured "BOX" with the axes
// (1,0,0) and (0,-1,0). The brush needs room for six faces of four vertices.
void MakeBox(brush& b, float sx, float sy, float sz);

// A fixture for faces made by hand: from the program's start state, with room
// for eight vertices a face and the resolution 12.
class HandMadeFaceTest : public GlobalStateTest {
 protected:
  void SetUp() override {
    GlobalStateTest::SetUp();
    maxV = 8;
    res = 12;
  }
};
