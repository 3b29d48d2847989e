// The brush model: faces of vertices, convex brushes of faces and the brush
// group that a build fills. Every buffer is allocated once, with the capacity
// in force when its owner is created (maxB, maxF, maxV), and freed with it.
#pragma once

#include <memory>
#include <string>

#include "generation/TextureName.h"
#include "generation/Vertex.h"
#include "settings/Settings.h"

// The buffer of a face or a brush: its own, or a slice of the block that its
// group allocated for all its brushes at once (one allocation instead of one
// per face). Either way it lives exactly as long as its owner.
template <typename T>
struct Buffer {
  T* data = nullptr;
  std::unique_ptr<T[]> own;  // set when the buffer is the object's own

  T& operator[](size_t i) const { return data[i]; }
  T& operator[](int i) const { return data[i]; }
  T* get() const { return data; }
};

// The faces of a group's brush: the first kWideFaces get maxV vertex places,
// the others at most kNarrowFaceVertices (every shape's faces but the first
// two of a brush are triangles or quads).
constexpr int kWideFaces = 2;
constexpr int kNarrowFaceVertices = 4;

// Position codes of face::pos.
enum { PosNull = 0, PosDown = 1, PosUp = 2, PosBack = 3, PosFront = 4, PosLeft = 5, PosRight = 6 };

// One polygon of a brush with everything the map file needs to texture it.
struct face {
  int vcount = 0;                 // vertices in use, in order around the polygon
  TextureName texture;            // texture name written to the map file ("NULL")
  vector vecHor;                  // horizontal texture axis (followed by shiftX)
  vector vecVer;                  // vertical texture axis (followed by shiftY)
  float shiftX = 0.0f;
  float shiftY = 0.0f;
  float rot = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  bool wrapped = false;           // body face that wraps along the segments
  bool hFace = false;             // the brush's horizontal range source face
  int texId = SlotNull;           // texture slot 0 to 3
  int segment = -1;               // 0-based segment number; -1 = none
  int pos = PosNull;              // position code
  Buffer<vertex> verts;  // vmax vertices
  int vmax = 0;

  // A new face with maxV zero vertices.
  face();
  // Copies are deep: every face keeps a buffer of its own.
  face(const face& src);
  face& operator=(const face& src);
  face(face&&) noexcept = default;
  face& operator=(face&&) noexcept = default;
  ~face() = default;

  void VecHor(const vector& v) { vecHor = v; }
  void VecVer(const vector& v) { vecVer = v; }
  void FlipVecHor() { vecHor.flip(); }
  void FlipVecVer() { vecVer.flip(); }
  // Sets z of the vertices in use.
  void setz(float z);
  // The label of pos: "NULL", "down", "up", "back", "front", "left", "right".
  std::string orient() const;
  // Copies every field of src and its vertices in use into this face's own
  // buffer; vertices beyond src.vcount keep their values.
  void CopyFace(const face& src);
  // Reverses the order of the vertices in use.
  void RevOrder();
};

// One convex brush.
struct brush {
  int fcount = 0;    // faces in use
  int section = -1;  // 0-based section number
  Buffer<face> faces;  // fmax faces
  int fmax = 0;

  // A new brush with maxF new faces.
  brush();
  // Makes this brush a deep copy of src (as the free CopyBrush(src, *this)).
  void CopyBrush(const brush& src);
};

// Deep copy of the faces in use of src into dst, which must have room for them.
void CopyBrush(const brush& src, brush& dst);

// The generated object.
struct bgroup {
  int bcount = 0;    // brushes in use
  int sections = 0;  // number of sections
  int segments = 0;  // segments per section
  int surfaces = 0;  // wrapped body surfaces (body slots 0 .. surfaces - 1)
  // The blocks of all vertices and all faces of the group's brushes; declared
  // before the brushes so that they outlive them.
  std::unique_ptr<vertex[]> vertexBlock;
  std::unique_ptr<face[]> faceBlock;
  std::unique_ptr<brush[]> brushes;  // bmax brushes
  int bmax = 0;

  // A new group with maxB new brushes of maxF faces, the first two of each
  // with maxV vertex places, the others with at most four.
  bgroup();
};

// Sets maxB, maxF and maxV for the selected shape, the resolutions and the
// symmetry and triangulation switches; with no shape selected nothing changes.
void SetMaxObjects();
