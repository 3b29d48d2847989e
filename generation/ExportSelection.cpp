#include "generation/ExportSelection.h"

#include <cstdint>
#include <memory>

#include "generation/Brush.h"
#include "settings/Settings.h"

// Character i belongs to brush i.
const char RandomExportMask[] =
    "11010101101101110101101101010110100101000110110101"
    "11110100011011110000111011011101101010001101111001"
    "00010001101110100001110001010010100111001101101101"
    "01100010111001000110011001100100111010001010001010"
    "11110111010001010001100111000111001001010101110000"
    "11010010110111011100101111011101100110001001001010";

namespace {

constexpr int MaskLength = 300;
static_assert(sizeof(RandomExportMask) == MaskLength + 1, "the random mask has 300 characters");

// How the section and segment rules see the group: S sections of G segments,
// position m = s × G + g standing for the brushes m × per to m × per + per - 1.
struct Layout {
  int n;    // brushes
  int S;    // sections
  int G;    // segments per section
  int per;  // brushes per position
};

// The selected shape is the first set flag: cylinder, arch, torus, hollow
// torus, sphere.
bool ArchSelected() { return !IsCylinder && IsArch; }
bool TorusOrSphereSelected() {
  if (IsCylinder || IsArch) return false;
  return IsTorus || (!IsHTorus && IsSphere);
}

Layout LayoutOf(const bgroup& grp) {
  Layout l{grp.bcount < grp.bmax ? grp.bcount : grp.bmax, grp.sections, grp.segments, 1};
  // The torus and the sphere hold a whole section in each brush.
  if (TorusOrSphereSelected()) l.G = 1;
  // The triangulated arch holds the two prisms of segment m at brushes 2m and
  // 2m + 1: a segment stands for both.
  if (ArchSelected() && Tri) l.per = 2;
  if (l.S < 0) l.S = 0;
  if (l.G < 0) l.G = 0;
  return l;
}

// Calls fn(first brush, end brush) for every brush of position m in the group.
template <typename Fn>
void ForPosition(const Layout& l, int64_t m, Fn fn) {
  const int64_t first = m * l.per;
  int64_t end = first + l.per;
  if (end > l.n) end = l.n;
  for (int64_t i = first; i < end; ++i) fn(static_cast<int>(i));
}

// A 1-based bound, or with D_percent the whole part of count × value / 100.
int64_t Bound(int value, int count) {
  if (!D_percent) return value;
  const int64_t p = static_cast<int64_t>(count) * value;
  return p >= 0 ? p / 100 : -((-p + 99) / 100);
}

// First and last 0-based index of a range over count entries; a start of 0 or
// less begins at the first entry, an end of 0 or less runs to the last.
struct Range {
  int64_t first;
  int64_t last;
  bool Holds(int64_t i) const { return first <= i && i <= last; }
};

Range RangeOf(int start, int end, int count) {
  const int64_t a = Bound(start, count);
  const int64_t b = Bound(end, count);
  return Range{a > 0 ? a - 1 : 0, b > 0 ? b - 1 : static_cast<int64_t>(count) - 1};
}

// ---- Rule 1 ----------------------------------------------------------------

void SelectAll(const Layout& l, bool* flags) {
  for (int i = 0; i < l.n; ++i) flags[i] = true;
}

void SelectBrushRange(const Layout& l, bool* flags) {
  const Range r = RangeOf(D_start, D_end, l.n);
  for (int i = 0; i < l.n; ++i) flags[i] = r.Holds(i);
}

void SelectSectionRange(const Layout& l, bool* flags) {
  const Range sections = RangeOf(D_start, D_end, l.S);
  const Range segments = RangeOf(D_start2, D_end2, l.G);
  for (int s = 0; s < l.S; ++s) {
    for (int g = 0; g < l.G; ++g) {
      if (!sections.Holds(s) || !segments.Holds(g)) continue;
      ForPosition(l, static_cast<int64_t>(s) * l.G + g, [&](int i) { flags[i] = true; });
    }
  }
}

// ---- Rule 2 ----------------------------------------------------------------

// The count of the n-th rules: whether this one is the n-th, then on to the next.
struct NthCounter {
  int c = 1;
  bool Next() {
    const bool hit = c == D_nth;
    c = hit ? 1 : c + 1;
    return hit;
  }
};

void KeepRandom(const Layout& l, bool* flags) {
  // The mask repeats from its start for the brushes beyond its length.
  for (int i = 0; i < l.n; ++i) {
    if (RandomExportMask[i % MaskLength] == '0') flags[i] = false;
  }
}

void KeepNthBrush(const Layout& l, bool* flags) {
  NthCounter count;
  for (int i = 0; i < l.n; ++i) {
    if (!count.Next()) flags[i] = false;
  }
}

void KeepNthSection(const Layout& l, bool* flags) {
  NthCounter count;
  for (int s = 0; s < l.S; ++s) {
    if (count.Next()) continue;
    for (int g = 0; g < l.G; ++g) {
      ForPosition(l, static_cast<int64_t>(s) * l.G + g, [&](int i) { flags[i] = false; });
    }
  }
}

void KeepNthSegment(const Layout& l, bool* flags) {
  NthCounter count;
  const int64_t positions = static_cast<int64_t>(l.S) * l.G;
  for (int64_t m = 0; m < positions; ++m) {
    if (!count.Next()) ForPosition(l, m, [&](int i) { flags[i] = false; });
  }
}

}  // namespace

void GetPattern() {
  D_list.reset();
  D_listSize = 0;
  if (!Group) return;
  const Layout l = LayoutOf(*Group);
  const int n = l.n > 0 ? l.n : 0;
  D_list = std::make_unique<bool[]>(static_cast<size_t>(n));
  D_listSize = n;
  bool* flags = D_list.get();
  switch (D_method) {
    case ExportAll: SelectAll(l, flags); break;
    case ExportBrushRange: SelectBrushRange(l, flags); break;
    case ExportSectionRange: SelectSectionRange(l, flags); break;
    default: return;  // selects nothing; rule 2 could only clear
  }
  switch (D_method2) {
    case RuleRandom: KeepRandom(l, flags); break;
    case RuleNthBrush: KeepNthBrush(l, flags); break;
    case RuleNthSection: KeepNthSection(l, flags); break;
    case RuleNthSegment: KeepNthSegment(l, flags); break;
    default: break;
  }
}

bool IsBrushSelected(int i) { return !D_list || (i >= 0 && i < D_listSize && D_list[i]); }
