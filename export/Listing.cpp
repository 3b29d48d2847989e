// The console listing of the generated brushes, face by face with vertices
// and texture data. A large group is thinned to a share of its brushes.
#include "export/Listing.h"

#include <algorithm>
#include <iostream>

#include "console/ConsoleInput.h"
#include "generation/Brush.h"
#include "settings/Settings.h"

namespace {

constexpr int kShownBrushes = 12;     // up to this many brushes are all listed
constexpr int kHighBrushCount = 192;  // above it, every count / 24-th brush
constexpr int kVerticesPerLine = 4;
constexpr std::streamsize kListingPrecision = 10;

// The step between listed brushes; a thinned listing is announced and waits
// for a key first.
int ListingStep(int count) {
  if (count <= kShownBrushes) return 1;
  const bool veryHigh = count > kHighBrushCount;
  const int step = veryHigh ? count / (2 * kShownBrushes) : count / kShownBrushes;
  std::cout << '\n'
            << "[MESSAGE] Brushcount is " << (veryHigh ? "very high (" : "high (") << count
            << "). Displaying only every " << step << "th Brush.\nPress any key to continue...\n";
  getch();
  return step;
}

// The vertices, four to a line. The counts in use never exceed the buffers a
// build allocated; the listing keeps to them all the same.
void PrintVertices(const face& f) {
  const int count = std::min(f.vcount, f.vmax);
  for (int k = 0; k < count; ++k) {
    if (k % kVerticesPerLine == 0) std::cout << "  |      |";
    const vertex& v = f.verts[k];
    std::cout.precision(kListingPrecision);
    std::cout << " #" << (k + 1) << " ( " << v.x << " " << v.y << " " << v.z << " )";
    if (k % kVerticesPerLine == kVerticesPerLine - 1 || k == count - 1) std::cout << '\n';
  }
}

void PrintFace(const face& f, int number) {
  std::cout << "  |-> Face #" << number << " (Segment #" << (f.segment + 1) << ")\n";
  std::cout << "  |      | Vertices:\n";
  PrintVertices(f);
  std::cout << "  |      | Texture: " << f.texture << ", T-ID: " << f.texId
            << ", Pos: " << f.orient() << ", Rot: " << f.rot << '\n';
  std::cout << "  |      | Scale-X: " << f.scaleX << ", Scale-Y: " << f.scaleY
            << ", Shift-X: " << f.shiftX << ", Shift-Y: " << f.shiftY << '\n';
  std::cout << "  |      | T-Vec X: " << f.vecHor.x << ", " << f.vecHor.y << ", " << f.vecHor.z
            << " | T-Vec Y: " << f.vecVer.x << ", " << f.vecVer.y << ", " << f.vecVer.z << '\n';
  std::cout << "  |\n";
}

void PrintBrush(const brush& b, int number) {
  std::cout << "  Brush #" << number << " (Section #" << (b.section + 1) << ")\n";
  const int count = std::min(b.fcount, b.fmax);
  for (int j = 0; j < count; ++j) PrintFace(b.faces[j], j + 1);
  std::cout << "  Brush End\n\n";
}

}  // namespace

void DisplayGen() {
  if (!Group) return;  // nothing has been generated
  const int count = std::min(Group->bcount, Group->bmax);
  const int step = ListingStep(count);
  for (int i = 0; i < count; i += step) PrintBrush(Group->brushes[i], i + 1);
  std::cout << "[MESSAGE] Display complete.\n\n" << pressany << '\n';
  getch();
}
