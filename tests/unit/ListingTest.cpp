#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "console/ConsoleInput.h"
#include "export/Listing.h"
#include "generation/Brush.h"
#include "settings/Settings.h"
#include "support/ConsoleCapture.h"
#include "support/GlobalState.h"
#include "support/GroupBuilders.h"
#include "support/MenuText.h"

namespace {

class ListingTest : public ResetSettingsTest {
 protected:
  // A group of count brushes, each of faces faces of vertices vertices, as a
  // build leaves it: brush i in section i.
  void MakeGroup(int count, int faces, int vertices) {
    SetCapacities(count, faces, vertices);
    NewGroup(count, faces);
    for (int i = 0; i < count; ++i) {
      brush& b = Group->brushes[i];
      b.section = i;
      for (int j = 0; j < faces; ++j) {
        face& f = b.faces[j];
        f.vcount = vertices;
        f.segment = j;
        for (int k = 0; k < vertices; ++k) f.verts[k] = vertex{static_cast<float>(k), 0.0f, 0.0f};
      }
    }
  }

};

// The brush numbers of the "  Brush #n (Section #m)" lines.
std::vector<int> ListedBrushes(const std::string& output) {
  std::vector<int> numbers;
  const std::string head = "  Brush #";
  for (const std::string& line : Lines(output)) {
    if (line.compare(0, head.size(), head) == 0) numbers.push_back(std::stoi(line.substr(head.size())));
  }
  return numbers;
}

int CountLinesStartingWith(const std::string& output, const std::string& start) {
  int n = 0;
  for (const std::string& line : Lines(output)) {
    if (line.compare(0, start.size(), start) == 0) ++n;
  }
  return n;
}

}  // namespace

TEST_F(ListingTest, OneBrushInFull) {
  MakeGroup(1, 1, 5);
  face& f = Group->brushes[0].faces[0];
  f.segment = -1;  // a cap: no segment
  f.verts[0] = {32, 128, 128};
  f.verts[1] = {32, 128, -128};
  f.verts[2] = {96, 96, -128};
  f.verts[3] = {96, 96, 128};
  f.verts[4] = {0.1f, -0.0f, 1.5f};
  f.texture = TextureName("TNNL_W1218");
  f.texId = SlotOuter;
  f.pos = PosLeft;
  f.rot = 90.0f;
  f.scaleX = 0.5f;
  f.shiftX = -16.0f;
  f.shiftY = 0.1f;
  f.vecHor = {1, 0, 0};
  f.vecVer = {0, 0, -1};

  const ConsoleResult r = WithConsole("k", DisplayGen);

  EXPECT_EQ(r.output, R"(  Brush #1 (Section #1)
  |-> Face #1 (Segment #0)
  |      | Vertices:
  |      | #1 ( 32 128 128 ) #2 ( 32 128 -128 ) #3 ( 96 96 -128 ) #4 ( 96 96 128 )
  |      | #5 ( 0.1000000015 -0 1.5 )
  |      | Texture: TNNL_W1218, T-ID: 0, Pos: left, Rot: 90
  |      | Scale-X: 0.5, Scale-Y: 1, Shift-X: -16, Shift-Y: 0.1000000015
  |      | T-Vec X: 1, 0, 0 | T-Vec Y: 0, 0, -1
  |
  Brush End

[MESSAGE] Display complete.

[INPUT] Press any button to continue...
)");
  EXPECT_FALSE(r.ended);
}

TEST_F(ListingTest, LargeGroupsAreThinnedAfterANotice) {
  struct Case {
    int count;
    std::string notice;  // empty: listed whole without a notice
    int step;
    int last;
  };
  const Case cases[] = {
      {12, "", 1, 12},
      {13, "[MESSAGE] Brushcount is high (13). Displaying only every 1th Brush.", 1, 13},
      {24, "[MESSAGE] Brushcount is high (24). Displaying only every 2th Brush.", 2, 23},
      {192, "[MESSAGE] Brushcount is high (192). Displaying only every 16th Brush.", 16, 177},
      {193, "[MESSAGE] Brushcount is very high (193). Displaying only every 8th Brush.", 8, 193},
  };
  for (const Case& c : cases) {
    MakeGroup(c.count, 1, 4);
    char next = 0;
    const ConsoleResult r = WithConsole("ABq", [&] {
      DisplayGen();
      ReadChoice(next);
    });
    std::vector<int> expected;
    for (int n = 1; n <= c.last; n += c.step) expected.push_back(n);
    EXPECT_EQ(ListedBrushes(r.output), expected) << c.count;
    if (c.notice.empty()) {
      EXPECT_EQ(r.output.compare(0, 9, "  Brush #"), 0) << c.count;
      EXPECT_EQ(next, 'B') << "one key wait, at the end: " << c.count;
    } else {
      const std::string start = "\n" + c.notice + "\nPress any key to continue...\n  Brush #1 ";
      EXPECT_EQ(r.output.compare(0, start.size(), start), 0) << c.count;
      EXPECT_EQ(next, 'q') << "a key wait after the notice and one at the end: " << c.count;
    }
  }
}

TEST_F(ListingTest, VerticesFourToALine) {
  const std::pair<int, int> cases[] = {{3, 1}, {4, 1}, {5, 2}, {8, 2}, {12, 3}};
  for (const auto& [vertices, lines] : cases) {
    MakeGroup(1, 1, vertices);
    const std::string out = WithConsole("k", DisplayGen).output;
    EXPECT_EQ(CountLinesStartingWith(out, "  |      | #"), lines) << vertices;
    EXPECT_EQ(out.find("\n\n  |      | Texture"), std::string::npos) << vertices;
  }
}

TEST_F(ListingTest, FacesAndSectionsNumberedFromOne) {
  MakeGroup(2, 3, 4);
  Group->brushes[1].section = 4;
  const std::string out = WithConsole("k", DisplayGen).output;
  EXPECT_NE(out.find("  Brush #2 (Section #5)\n  |-> Face #1 (Segment #1)\n"), std::string::npos);
  EXPECT_NE(out.find("  |-> Face #3 (Segment #3)\n"), std::string::npos);
  EXPECT_EQ(CountLinesStartingWith(out, "  Brush End"), 2);
}

TEST_F(ListingTest, TheExportSelectionDoesNotHideBrushes) {
  MakeGroup(3, 1, 4);
  D_list = std::make_unique<bool[]>(3);  // all false: nothing exported
  D_listSize = 3;
  EXPECT_EQ(ListedBrushes(WithConsole("k", DisplayGen).output), (std::vector<int>{1, 2, 3}));
}

TEST_F(ListingTest, LeavesTheConsoleAtTenDigits) {
  MakeGroup(1, 1, 4);
  ASSERT_EQ(std::cout.precision(), 6);
  WithConsole("k", DisplayGen);
  EXPECT_EQ(std::cout.precision(), 10);
}

TEST_F(ListingTest, EndOfInputAtTheKeyWaitsEndsTheListing) {
  MakeGroup(24, 1, 4);
  const ConsoleResult r = WithConsole("", DisplayGen);
  EXPECT_EQ(ListedBrushes(r.output).size(), 12u);
  EXPECT_NE(r.output.find(pressany), std::string::npos);
}
