#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "generation/Brush.h"
#include "generation/ExportSelection.h"
#include "settings/Settings.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"

namespace {

enum class Shape { Arch, TriArch, Torus, HTorus, Sphere };

class ExportSelectionTest : public ResetSettingsTest {
 protected:
  // A group of the shape's brush order: sections × segments brushes (two per
  // segment for the triangulated arch, one per section for torus and sphere).
  void MakeGroup(Shape shape, int sections, int segments) {
    IsArch = shape == Shape::Arch || shape == Shape::TriArch;
    Tri = shape == Shape::TriArch;
    IsTorus = shape == Shape::Torus;
    IsHTorus = shape == Shape::HTorus;
    IsSphere = shape == Shape::Sphere;
    int brushes = sections * segments;
    if (shape == Shape::TriArch) brushes *= 2;
    if (shape == Shape::Torus || shape == Shape::Sphere) brushes = sections;
    SetCapacities(brushes, 1, 1);
    NewGroup(brushes, 0);
    Group->sections = sections;
    Group->segments = segments;
  }

  // The selection as a text of "1" and "0", brush by brush.
  static std::string Selection() {
    std::string s;
    for (int i = 0; i < Group->bcount; ++i) s += IsBrushSelected(i) ? '1' : '0';
    return s;
  }
  static std::string Expected(int n, const std::function<bool(int)>& selected) {
    std::string s;
    for (int i = 0; i < n; ++i) s += selected(i) ? '1' : '0';
    return s;
  }
};

struct Rules {
  int method = ExportAll, method2 = RuleNone;
  int start = 1, end = 0, start2 = 1, end2 = 0, nth = 1;
  bool percent = false;
};

void Apply(const Rules& r) {
  D_method = r.method;
  D_method2 = r.method2;
  D_start = r.start;
  D_end = r.end;
  D_start2 = r.start2;
  D_end2 = r.end2;
  D_nth = r.nth;
  D_percent = r.percent;
}

struct Case {
  const char* name;
  Shape shape;
  int sections, segments;
  Rules rules;
  std::function<bool(int)> selected;
};

Rules BrushRange(int start, int end, bool percent = false) {
  Rules r;
  r.method = ExportBrushRange;
  r.start = start;
  r.end = end;
  r.percent = percent;
  return r;
}

Rules SectionRange(int start, int end, int start2, int end2) {
  Rules r;
  r.method = ExportSectionRange;
  r.start = start;
  r.end = end;
  r.start2 = start2;
  r.end2 = end2;
  return r;
}

Rules Then(Rules r, int method2, int nth = 1) {
  r.method2 = method2;
  r.nth = nth;
  return r;
}

bool Between(int i, int a, int b) { return a <= i && i <= b; }

}  // namespace

TEST_F(ExportSelectionTest, RulesSelectTheirBrushes) {
  const Case cases[] = {
      {"brush range", Shape::Arch, 1, 24, BrushRange(5, 8), [](int i) { return Between(i, 4, 7); }},
      {"brush range from the start", Shape::Arch, 1, 24, BrushRange(0, 8), [](int i) { return i <= 7; }},
      {"brush range to the end", Shape::Arch, 1, 24, BrushRange(5, -2), [](int i) { return i >= 4; }},
      {"brush range reversed", Shape::Arch, 1, 24, BrushRange(9, 5), [](int) { return false; }},
      {"brush range beyond the group", Shape::Arch, 1, 24, BrushRange(25, 0), [](int) { return false; }},
      {"percent of 28", Shape::Arch, 1, 28, BrushRange(29, 50, true), [](int i) { return Between(i, 7, 13); }},
      {"percent of 100", Shape::HTorus, 10, 10, BrushRange(29, 0, true), [](int i) { return i >= 28; }},
      {"sections 2-3, segments 1-6 of 12 x 12", Shape::HTorus, 12, 12, SectionRange(2, 3, 1, 6),
       [](int i) { return Between(i, 12, 17) || Between(i, 24, 29); }},
      {"section range in percent", Shape::HTorus, 12, 12,
       [] {
         Rules r = SectionRange(25, 50, 0, 0);
         r.percent = true;
         return r;
       }(),
       [](int i) { return Between(i, 24, 71); }},
      {"torus: segments from 2 select nothing", Shape::Torus, 12, 12, SectionRange(3, 5, 2, 0),
       [](int) { return false; }},
      {"torus: default segments select the sections", Shape::Torus, 12, 12, SectionRange(3, 5, 1, 0),
       [](int i) { return Between(i, 2, 4); }},
      {"sphere wedges", Shape::Sphere, 12, 7, BrushRange(2, 4), [](int i) { return Between(i, 1, 3); }},
      {"random on 12", Shape::Arch, 1, 12, Then(Rules{}, RuleRandom),
       [](int i) { return std::set<int>{0, 1, 3, 5, 7, 8, 10, 11}.count(i) > 0; }},
      {"every 3rd brush", Shape::Arch, 1, 24, Then(Rules{}, RuleNthBrush, 3), [](int i) { return i % 3 == 2; }},
      {"every brush", Shape::Arch, 1, 24, Then(BrushRange(3, 9), RuleNthBrush, 1),
       [](int i) { return Between(i, 2, 8); }},
      {"every 0th brush", Shape::Arch, 1, 24, Then(Rules{}, RuleNthBrush, 0), [](int) { return false; }},
      {"rule 2 keeps only what rule 1 selected", Shape::Arch, 1, 24, Then(BrushRange(4, 10), RuleNthBrush, 3),
       [](int i) { return Between(i, 3, 9) && i % 3 == 2; }},
      {"every 2nd section of 12 x 12", Shape::HTorus, 12, 12, Then(Rules{}, RuleNthSection, 2),
       [](int i) { return (i / 12) % 2 == 1; }},
      {"every 3rd torus section", Shape::Torus, 12, 12, Then(Rules{}, RuleNthSection, 3),
       [](int i) { return i % 3 == 2; }},
      {"every 3rd sphere wedge", Shape::Sphere, 12, 7, Then(Rules{}, RuleNthSection, 3),
       [](int i) { return i % 3 == 2; }},
      {"every 5th segment runs on across sections", Shape::HTorus, 12, 12, Then(Rules{}, RuleNthSegment, 5),
       [](int i) { return i % 5 == 4; }},
      {"rule value 3 selects nothing", Shape::Arch, 1, 12,
       [] {
         Rules r;
         r.method = 3;
         r.method2 = RuleNthBrush;
         return r;
       }(),
       [](int) { return false; }},
      {"unknown rule 2 changes nothing", Shape::Arch, 1, 12, Then(Rules{}, 7), [](int) { return true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeGroup(c.shape, c.sections, c.segments);
    Apply(c.rules);
    GetPattern();
    ASSERT_NE(D_list, nullptr);
    EXPECT_EQ(D_listSize, Group->bcount);
    EXPECT_EQ(Selection(), Expected(Group->bcount, c.selected));
  }
}

TEST_F(ExportSelectionTest, RandomMaskIsTheFixedPattern) {
  const std::string mask = RandomExportMask;
  ASSERT_EQ(mask.size(), 300u);
  EXPECT_EQ(std::count(mask.begin(), mask.end(), '1'), 158);
  EXPECT_EQ(std::count(mask.begin(), mask.end(), '0'), 142);
  EXPECT_EQ(mask.substr(0, 12), "110101011011");
}

TEST_F(ExportSelectionTest, RandomRuleRepeatsTheMaskBeyondItsLength) {
  MakeGroup(Shape::HTorus, 28, 25);  // 700 brushes
  Apply(Then(Rules{}, RuleRandom));
  GetPattern();
  const std::string mask = RandomExportMask;
  EXPECT_EQ(Selection(), Expected(700, [&](int i) { return mask[static_cast<size_t>(i % 300)] == '1'; }));
}

TEST_F(ExportSelectionTest, TriangulatedArchSegmentStandsForBothPrisms) {
  const Case cases[] = {
      {"segments 3-5", Shape::TriArch, 1, 12, SectionRange(1, 0, 3, 5), [](int i) { return Between(i, 4, 9); }},
      {"every 3rd segment", Shape::TriArch, 1, 12, Then(Rules{}, RuleNthSegment, 3),
       [](int i) { return (i / 2) % 3 == 2; }},
      {"every 2nd section of the one section", Shape::TriArch, 1, 12, Then(Rules{}, RuleNthSection, 2),
       [](int) { return false; }},
      {"every section", Shape::TriArch, 1, 12, Then(Rules{}, RuleNthSection, 1), [](int) { return true; }},
      {"brush rules count the prisms", Shape::TriArch, 1, 12, Then(BrushRange(3, 8), RuleNthBrush, 2),
       [](int i) { return Between(i, 2, 7) && i % 2 == 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeGroup(c.shape, c.sections, c.segments);
    Apply(c.rules);
    GetPattern();
    EXPECT_EQ(Selection(), Expected(24, c.selected));
  }
}

TEST_F(ExportSelectionTest, EachCallReplacesTheSelection) {
  MakeGroup(Shape::Arch, 1, 24);
  Apply(BrushRange(1, 1));
  GetPattern();
  EXPECT_EQ(D_listSize, 24);
  MakeGroup(Shape::Arch, 1, 12);
  Apply(Rules{});
  GetPattern();
  EXPECT_EQ(D_listSize, 12);
  EXPECT_EQ(Selection(), std::string(12, '1'));
  EXPECT_FALSE(IsBrushSelected(12)) << "no flag beyond the group it was computed for";

  Group.reset();
  GetPattern();
  EXPECT_EQ(D_list, nullptr) << "without a group there is no selection";
  EXPECT_TRUE(IsBrushSelected(5));
}
