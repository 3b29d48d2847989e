// Files, paths and names at their edges, through the built executables: a
// write that fails keeps the older file, template paths that are not regular
// files, dots in directory names, names with control characters, texture
// scales of 0 and failed exports in the sub menu.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/BrushCheck.h"
#include "support/MenuText.h"
#include "support/Process.h"

namespace {

constexpr unsigned kRunLimitSeconds = 20;

const std::string kBatch = "nomenu 1\nexmap 1\nexobj 1\n";

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

// The words of every face line of a map: three points of five words each,
// the texture name (word 15), the axes, the rotation and the two scales last.
std::vector<std::vector<std::string>> FaceLines(const std::string& map) {
  std::vector<std::vector<std::string>> faces;
  std::istringstream lines(map);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("( ", 0) != 0) continue;
    std::istringstream words(line);
    faces.emplace_back();
    for (std::string word; words >> word;) faces.back().push_back(word);
  }
  return faces;
}

constexpr std::size_t kTextureWord = 15;

std::vector<std::string> FaceTextures(const std::string& map) {
  std::vector<std::string> names;
  for (const auto& words : FaceLines(map)) names.push_back(words.at(kTextureWord));
  return names;
}

}  // namespace

// ---- A write that fails -------------------------------------------------------

// A file size limit stops the writes as a full disk would: the program goes
// on, warns about each file by name, leaves an older file of that name as it
// was and no temporary file behind, writes the next template's smaller file
// and ends the batch with status 1.
TEST(FilesAndNames, AFailedWriteKeepsTheOlderFile) {
  constexpr unsigned long long kLimit = 8192;  // the torus's files are far larger, the cylinder's map smaller
  for (const std::string& exe : Executables()) {
    for (const bool older : {true, false}) {
      SCOPED_TRACE(exe + (older ? ", older files" : ", no older files"));
      TempDir dir;
      dir.Write("big.kvt", kBatch + "shape torus\n");
      dir.Write("small.kvt", "nomenu 1\nexmap 1\nshape cylinder\n");
      if (older) {
        dir.Write("big.map", "older map\n");
        dir.Write("big.obj", "older obj\n");
      }
      const ProcessResult r =
          RunProgramWithFileSizeLimit(exe, {"big.kvt", "small.kvt"}, "", dir.path(), kLimit, kRunLimitSeconds);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.output,
                "[WARNING] Could not create the file \"big.map\"!\n"
                "[WARNING] Could not create the file \"big.obj\"!\n"
                "PRESS ANY BUTTON...\n"
                "Exported To Map!!!\nPRESS ANY BUTTON...\n");
      const std::vector<std::string> expected =
          older ? std::vector<std::string>{"big.kvt", "big.map", "big.obj", "small.kvt", "small.map"}
                : std::vector<std::string>{"big.kvt", "small.kvt", "small.map"};
      EXPECT_EQ(Entries(dir.path()), expected);
      if (older) {
        EXPECT_EQ(dir.Read("big.map"), "older map\n");
        EXPECT_EQ(dir.Read("big.obj"), "older obj\n");
      }
      const MapCheck check = CheckMapText(dir.Read("small.map"));
      EXPECT_TRUE(check.ok) << check.error;
    }
  }
}

// The same in the sub menu: the run stays interactive (status 0), and the
// warning is the status message of the next drawing.
TEST(FilesAndNames, AFailedWriteInTheSubMenu) {
  TempDir dir;
  dir.Write("generated_torus.map", "older map\n");
  const ProcessResult r = RunProgramWithFileSizeLimit(Exe64(), {}, "3\ng\ne\no\nq\nq\n", dir.path(), 8192,
                                                      kRunLimitSeconds);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Contains(r.output, "  | [WARNING] Could not create the file \"generated_torus.map\"!\n"));
  EXPECT_TRUE(Contains(r.output, "  | [WARNING] Could not create the file \"generated_torus.obj\"!\n"));
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"generated_torus.map"});
  EXPECT_EQ(dir.Read("generated_torus.map"), "older map\n");
}

// A written file replaces the older one and keeps its permissions; a new
// file gets a new file's permissions (0666 less the umask).
TEST(FilesAndNames, AWrittenFileReplacesTheOlderOne) {
  TempDir dir;
  dir.Write("t.kvt", kBatch);
  chmod(dir.Write("t.map", "older map\n").c_str(), 0604);
  const mode_t mask = umask(027);
  const ProcessResult r = RunProgram(Exe64(), {"t.kvt"}, "", dir.path(), kRunLimitSeconds);
  umask(mask);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"t.kvt", "t.map", "t.obj"}));
  EXPECT_TRUE(CheckMapText(dir.Read("t.map")).ok);
  for (const auto& [name, mode] : {std::pair<const char*, mode_t>{"t.map", 0604}, {"t.obj", 0640}}) {
    struct stat st;
    ASSERT_EQ(stat((dir.path() + "/" + name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, mode) << name;
  }
}

// ---- Template paths that are not regular files -----------------------------------

// A FIFO, a socket, a directory and a device are refused at once, with the
// message of a missing file, in batch mode and by the sub menu's load action;
// the run goes on with the next template, and a batch ends with status 1.
TEST(FilesAndNames, TemplatePathsThatAreNotRegularFiles) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir.path() + "/fifo.kvt").c_str(), 0644), 0);
  ASSERT_TRUE(MakeSocket(dir.path() + "/socket.kvt"));
  std::filesystem::create_directory(dir.path() + "/folder.kvt");
  dir.Write("ok.kvt", "nomenu 1\nexmap 1\n");
  const std::vector<std::string> paths = {"fifo.kvt", "socket.kvt", "folder.kvt", "/dev/null", "ok.kvt"};

  const ProcessResult batch = RunProgram(Exe64(), paths, "q\nq\nq\nq\n", dir.path(), kRunLimitSeconds);
  EXPECT_EQ(batch.status, 1);
  for (const char* name : {"fifo", "socket", "folder", "/dev/null"})
    EXPECT_TRUE(Contains(batch.output, "  | [INFO] File \"" + std::string(name) + "\" not available...\n")) << name;
  EXPECT_TRUE(dir.Exists("ok.map"));

  const ProcessResult menu =
      RunProgram(Exe64(), {}, "1\nl fifo.kvt\nl socket.kvt\nq\nq\n", dir.path(), kRunLimitSeconds);
  EXPECT_EQ(menu.status, 0);
  EXPECT_TRUE(Contains(menu.output, "  | [INFO] File \"fifo\" not available...\n"));
  EXPECT_TRUE(Contains(menu.output, "  | [INFO] File \"socket\" not available...\n"));
}

// ---- Dots in directory names -------------------------------------------------------

// The extension is cut from the last component of a path only: a dot in a
// directory neither moves the output nor makes two templates share it.
TEST(FilesAndNames, DotsInDirectoryNames) {
  struct Case {
    std::vector<std::string> args;  // run in the directory "work"
    std::vector<std::string> files;  // written, relative to the test directory
  };
  const Case cases[] = {
      {{"./cyl", "./tor"}, {"work/cyl.map", "work/tor.map"}},
      {{"../cyl"}, {"cyl.map"}},
      {{"maps.v2/arch"}, {"work/maps.v2/arch.map"}},
      {{"maps.v2/arch.kvt"}, {"work/maps.v2/arch.map"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const char* name : {"cyl", "work/cyl", "work/tor", "work/maps.v2/arch", "work/maps.v2/arch.kvt"})
      dir.Write(name, "nomenu 1\nexmap 1\n");
    const ProcessResult r = RunProgram(Exe64(), c.args, "", dir.path() + "/work", kRunLimitSeconds);
    EXPECT_EQ(r.status, 0) << c.args[0];
    for (const std::string& f : c.files) EXPECT_TRUE(dir.Exists(f)) << c.args[0] << ": " << f;
    EXPECT_FALSE(dir.Exists("work/.map")) << c.args[0];
    EXPECT_FALSE(dir.Exists("work/..map")) << c.args[0];
    EXPECT_FALSE(dir.Exists("work/maps.map")) << c.args[0];
  }
  // The not-available message names the path the same way.
  TempDir dir;
  const ProcessResult r = RunProgram(Exe64(), {"./missing"}, "q\n", dir.path(), kRunLimitSeconds);
  EXPECT_TRUE(Contains(r.output, "  | [INFO] File \"./missing\" not available...\n"));
}

// ---- Names with control characters -----------------------------------------------

// Template names that a file system or a map's face line cannot hold are
// ignored like values that cannot be read.
TEST(FilesAndNames, TemplateNamesWithControlCharacters) {
  const std::string nul("\0", 1);
  struct Case {
    const char* what;
    std::string lines;
  };
  const Case cases[] = {
      {"NUL in filename", "filename tu" + nul + "be\n"},
      {"NUL in filepath", "filepath out" + nul + "\\\n"},
      {"NUL in a texture name", "1_tex BR" + nul + "ICK\n2_tex A" + nul + "\n3_tex " + nul + "\n"},
      {"lone CR in a texture name", "1_tex BR\rICK\r\r\n"},
      {"control characters in texture names", "1_tex \x1b[0m\n3_tex a\x01\x7f\n"},
      {"texture name of 256 bytes", "1_tex " + std::string(256, 'x') + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.Write("t.kvt", kBatch + "shape htorus\n" + c.lines);
    const ProcessResult r = RunProgram(Exe64(), {"t.kvt"}, "", dir.path(), kRunLimitSeconds);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "Exported To Map!!!\nExported To Obj!!!\nPRESS ANY BUTTON...\n");
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"t.kvt", "t.map", "t.obj"}));
    const std::string map = dir.Read("t.map");
    const MapCheck check = CheckMapText(map);
    EXPECT_TRUE(check.ok) << check.error;
    for (const std::string& name : FaceTextures(map))
      EXPECT_TRUE(name.rfind("C3A2B_REAC", 0) == 0 || name == "NULL") << name;
  }
  // What Quake textures use is taken, up to 255 bytes.
  TempDir dir;
  const std::string longest(255, 'x');
  dir.Write("t.kvt", kBatch + "shape htorus\n1_tex *water1\n2_tex +0button\n3_tex {grate-_9\nn_tex " + longest + "\n");
  ASSERT_EQ(RunProgram(Exe64(), {"t.kvt"}, "", dir.path(), kRunLimitSeconds).status, 0);
  const std::vector<std::string> names = FaceTextures(dir.Read("t.map"));
  for (const std::string& name : {std::string("*water1"), std::string("+0button"), std::string("{grate-_9"), longest})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
}

// The texture name prompt refuses such names with a warning, drops the rest
// of the line and asks again; at the end of the input it keeps the name.
TEST(FilesAndNames, TextureNamePromptRefusesNames) {
  const std::string prompt = "[INPUT] Texture 1 Name: (Currently: TNNL_W1218)\n";
  const std::string warning = "[WARNING] Invalid texture name";
  const std::string refused = "//x rest of line\n" + std::string(256, 'n') + "\nA" + std::string("\0", 1) + "B\n";
  struct Case {
    const char* what;
    std::string input;
    std::size_t warnings;
    std::string tex1;  // shown in the status box afterwards; empty: not drawn again
  };
  const Case cases[] = {
      {"refused, then taken", "1\nt\n1\na\n" + refused + "BRICK\nq\nq\nq\nq\n", 3, "BRICK"},
      {"the 255th byte is taken", "1\nt\n1\na\n" + std::string(255, 'n') + "\nq\nq\nq\nq\n", 0,
       std::string(255, 'n')},
      {"input ends after a refused name", "1\nt\n1\na\n" + refused, 3, ""},
      {"input ends at the prompt", "1\nt\n1\na\n", 0, ""},
  };
  for (const std::string& exe : Executables()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(exe + ": " + c.what);
      TempDir dir;
      const ProcessResult r = RunProgram(exe, {}, c.input, dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(Count(r.output, warning), c.warnings);
      EXPECT_EQ(Count(r.output, prompt), c.warnings + 1);
      if (!c.tex1.empty()) {
        EXPECT_TRUE(Contains(r.output, "|   Tex 1: " + c.tex1 + "||") ||
                    Contains(r.output, "|   Tex 1: " + c.tex1 + " "));
      }
    }
  }
}

// ---- Texture scales of 0 -----------------------------------------------------------

// A template's texture scale of 0 is ignored in every slot and on both axes:
// no face of the map gets the scale 0.
TEST(FilesAndNames, TemplateScaleZeroNeverReachesTheMap) {
  std::string scales;
  for (const char* slot : {"1_", "2_", "3_"})
    for (const char* axis : {"scalex 0\n", "scaley -0\n"}) scales += std::string(slot) + axis;
  for (const char* shape : {"arch", "htorus"}) {
    SCOPED_TRACE(shape);
    TempDir dir;
    dir.Write("t.kvt", kBatch + "shape " + shape + "\n" + scales +
                           "1_facealign 1\n2_facealign 1\n3_facealign 1\n1_v_wrap 1\n2_v_wrap 1\n3_h_wrap 1\n");
    ASSERT_EQ(RunProgram(Exe64(), {"t.kvt"}, "", dir.path(), kRunLimitSeconds).status, 0);
    const auto faces = FaceLines(dir.Read("t.map"));
    ASSERT_FALSE(faces.empty());
    for (const auto& words : faces) {
      for (const std::string& scale : {words[words.size() - 2], words.back()})
        EXPECT_TRUE(scale != "0.000000" && scale != "-0.000000") << scale;
    }
  }
}

// ---- Failed exports in the sub menu -------------------------------------------------

// The failure is shown inside the redrawn sub menu, as its status message,
// and not printed above the menu where a small console scrolls it away.
TEST(FilesAndNames, AFailedExportIsShownInTheStatusBox) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() + "/generated_cylinder.map");  // in the way of the map
  // a only draws the menu again here.
  const ProcessResult r = RunProgram(Exe64(), {}, "1\ng\ne\na\nq\nq\n", dir.path(), kRunLimitSeconds);
  EXPECT_EQ(r.status, 0);
  const std::vector<std::string> passes = SplitPasses(r.output, kSubMenuClosing);
  // Passes: the main menu and the first drawing, after g, after e, after a.
  ASSERT_EQ(passes.size(), 4u);
  const std::string& afterExport = passes[2];
  EXPECT_EQ(afterExport.rfind("  ++=====", 0), 0u) << "nothing above the menu";
  const std::string shown =
      "  |\n  | [WARNING] Could not create the file \"generated_cylinder.map\"!\n  |\n" + kSubMenuClosing;
  ASSERT_GE(afterExport.size(), shown.size());
  EXPECT_EQ(afterExport.substr(afterExport.size() - shown.size()), shown);
  EXPECT_EQ(Count(r.output, "[WARNING]"), 1u);
}
