// Scripted console sessions full of garbage: letters where numbers are asked,
// numbers too large for their type, very long words, control characters and
// bytes of 0x80 and above as menu choices, and the end of the input at every
// kind of prompt. Every session must end in time with status 0, answer every
// unreadable number with a warning and the same prompt, and every file it
// writes must hold closed convex brushes and finite numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/BrushCheck.h"
#include "support/Process.h"

namespace {

constexpr unsigned kRunLimitSeconds = 20;

const std::string kInvalidNumber = "[WARNING] Invalid number! Please enter again.\n";
const std::string kInvalidChoice = "[WARNING] Invalid choice!";

struct Session {
  const char* name;
  std::string input;
  std::vector<std::string> files;   // files the session must write
  std::vector<std::string> shown;   // texts the console must show
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Every map and OBJ file in the directory must be sound.
void CheckWrittenFiles(const TempDir& dir, const std::string& label) {
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    if (ext == ".map") {
      const MapCheck check = CheckMapText(ReadFile(entry.path().string()));
      EXPECT_TRUE(check.ok) << label << ": " << name << ": " << check.error;
    } else if (ext == ".obj") {
      const std::string obj = ReadFile(entry.path().string());
      EXPECT_FALSE(Contains(obj, "nan") || Contains(obj, "inf")) << label << ": " << name;
    }
  }
}

void RunSessions(const std::vector<Session>& sessions) {
  for (const std::string& exe : {Exe64(), Exe32()}) {
    if (exe.empty()) continue;
    for (const Session& s : sessions) {
      const std::string label = std::string(s.name) + " (" + exe + ")";
      TempDir dir;
      const ProcessResult r = RunProgram(exe, {}, s.input, dir.path(), kRunLimitSeconds);
      EXPECT_EQ(r.status, 0) << label;
      for (const std::string& f : s.files) EXPECT_TRUE(dir.Exists(f)) << label << ": " << f;
      for (const std::string& part : s.shown) EXPECT_TRUE(Contains(r.output, part)) << label << ": " << part;
      CheckWrittenFiles(dir, label);
    }
  }
}

const std::string kLong(100000, 'W');

}  // namespace

TEST(GarbageConsole, UnreadableNumbersAreWarnedAboutAndAskedForAgain) {
  const std::string resPrompt = "[INPUT] Resolution 1 (must be 12, 24, 48, 96 or 192): (Currently: 12)\n";
  const std::string radPrompt = "[INPUT] Specify Radius 1: (Currently: 128)\n";
  const std::string sizePrompt = "[INPUT] New Texture Size X: (Currently: 128)\n";
  const std::string scalePrompt = "[INPUT] New Texture Scale X: (Currently: 1)\n";
  const std::string shiftPrompt = "[INPUT] New Texture Shift X: (Currently: 0)\n";
  const std::string nthPrompt = "[INPUT] Specify N: (Currently: 1)\n";
  const std::vector<Session> sessions = {
      {"letters for a resolution", "1\nm\n1\nabc def\n24\nq\ng\ne\nq\nq\n", {"generated_cylinder.map"},
       {resPrompt + kInvalidNumber + resPrompt}},
      {"letters for a radius", "1\nm\n3\nx100\n100\nq\ng\ne\nq\nq\n", {"generated_cylinder.map"},
       {radPrompt + kInvalidNumber + radPrompt, "Rad 1: 100 "}},
      {"a sign without digits and a point without digits", "5\nm\n3\n-\n.\n+.e5\n64\nq\ng\ne\nq\nq\n",
       {"generated_shpere.map"}, {radPrompt + kInvalidNumber + radPrompt + kInvalidNumber + radPrompt}},
      {"an exponent without digits", "5\nm\n3\n1e\n64\nq\ng\ne\nq\nq\n", {"generated_shpere.map"},
       {radPrompt + kInvalidNumber + radPrompt}},
      {"letters for a texture size, scale and shift",
       "2\nt\n1\nb\nsixty\n64\n64\nc\nzero\n2\n0.5\ne\n--5\n8\n-8\ng\ni\nq\nq\ng\ne\nq\nq\n",
       {"generated_arch.map"},
       {sizePrompt + kInvalidNumber + sizePrompt, scalePrompt + kInvalidNumber + scalePrompt,
        shiftPrompt + kInvalidNumber + shiftPrompt}},
      {"letters for N", "3\nm\nd\n2\n2\n8\nevery\n3\nq\nq\ng\ne\nq\nq\n", {"generated_torus.map"},
       {nthPrompt + kInvalidNumber + nthPrompt}},
  };
  RunSessions(sessions);
}

TEST(GarbageConsole, NumbersTooLargeForTheirTypeAreRefused) {
  const std::string tooLong(100000, '9');
  const std::vector<Session> sessions = {
      {"resolutions beyond int", "3\nm\n1\n99999999999999999999\n-2147483649\n2147483648\n48\nq\ng\ne\nq\nq\n",
       {"generated_torus.map"}, {"Res 1: 48 "}},
      {"a radius beyond float", "1\nm\n3\n1e39\n-3.5e38\n" + tooLong + "\n3.4e38\nq\ng\ne\nq\nq\n",
       {"generated_cylinder.map"}, {"Rad 1: 3.4e+38 "}},
      {"texture sizes and wrap amounts beyond int",
       "1\nt\n1\nb\n2147483648\n2147483647\n" + tooLong + "\n-5\n0\n1\ng\ni\nj\nk\n-2147483649\n2147483647\nq\nq\ng\ne\nq\nq\n",
       {"generated_cylinder.map"}, {"[WARNING] Texture size must be greater than 0 !\n"}},
      {"scales and shifts at the float limits",
       "2\nt\n3\nc\n1e39\n0\n3.4e38\n1e-45\ne\n3.4e38\n-3.4e38\ng\ni\nj\nl\nm\nq\nq\ng\ne\no\nq\nq\n",
       {"generated_arch.map", "generated_arch.obj"}, {"[WARNING] Texture scale must not be 0 !\n"}},
      {"export bounds beyond int", "4\nm\nd\n1\n1\n3\n4\n2147483648\n-2147483648\n5\n2147483647\nq\nq\ng\ne\nq\nq\n",
       {"generated_hollow_torus.map"}, {}},
      {"a custom H-range face beyond int", "3\nt\n1\no\no\no\no\n9999999999\n2147483647\ng\nl\nq\nq\ng\ne\nq\nq\n",
       {"generated_torus.map"}, {"[Custom <12>]"}},
  };
  RunSessions(sessions);
}

TEST(GarbageConsole, VeryLongWords) {
  const std::vector<Session> sessions = {
      // A texture name longer than 255 bytes is refused and asked for again.
      {"a long texture name", "1\nt\n1\na\n" + kLong + "\nBRICK\ng\nq\nq\ng\ne\no\nq\nq\n",
       {"generated_cylinder.map", "generated_cylinder.obj"},
       {"\n[WARNING] Invalid texture name", "Tex 1: BRICK "}},
      // The template cannot be opened; the object is named after it, and its
      // file cannot be created with a name that long: a warning, no crash.
      {"a long template path", "1\nl " + kLong + ".kvt\ng\ne\no\nq\nq\n", {},
       {"File \"" + kLong + "\" not available...", "[WARNING] Could not create the file \"" + kLong + ".map\"!"}},
      {"a long path of directories", "1\nl " + std::string(5000, 'd') + "\\x.kvt\nq\nq\n", {},
       {"File \"x\" not available..."}},
  };
  RunSessions(sessions);
}

TEST(GarbageConsole, ControlCharactersAndHighBytesAsChoices) {
  // In every menu: control characters, a NUL, DEL, an escape sequence and
  // bytes of 0x80 and above, some of them UTF-8.
  const std::string garbage = std::string("\x01\x02\x7f\x80\xff\xc3\xa9\x1b[A\x9b", 11) + std::string(1, '\0');
  const std::string input = garbage + "2\n" +                  // main menu
                            garbage + "m\n" +                  // sub menu
                            garbage + "d\n" +                  // mesh properties
                            garbage + "q\nq\n" + garbage + "t\n" +  // export rules, back, textures
                            garbage + "1\n" +                  // textures menu
                            garbage + "g\ni\nq\nq\n" +         // texture properties
                            garbage + "g\ne\nq\n" + garbage + "q\n";
  const std::vector<Session> sessions = {
      {"garbage before every key", input, {"generated_arch.map"}, {kInvalidChoice, "Mesh Properties Menu",
                                                                  "Export Rules", "Textures Menu",
                                                                  "Set Texture Properties"}},
      {"garbage only", garbage + garbage, {}, {kInvalidChoice}},
      {"a NUL byte where a number is asked", "1\nm\n3\n" + std::string(1, '\0') + "\n77\nq\ng\ne\nq\nq\n",
       {"generated_cylinder.map"}, {kInvalidNumber, "Rad 1: 77 "}},
  };
  RunSessions(sessions);
}

// The end of the input at every kind of prompt, including a number cut off
// at the end: the session ends with status 0.
TEST(GarbageConsole, EndOfInputAtEveryKindOfPrompt) {
  const std::vector<Session> sessions = {
      {"choice", "", {}, {}},
      {"choice after garbage", "\x01\x80", {}, {kInvalidChoice}},
      {"word: texture name", "1\nt\n1\na\n   \n", {}, {"[INPUT] Texture 1 Name: (Currently: TNNL_W1218)"}},
      {"word: template path", "1\nl  \t", {}, {}},
      {"int: resolution", "1\nm\n1\n", {}, {}},
      {"int: resolution refused", "1\nm\n1\n36\n", {}, {"[WARNING] Entered number \"36\" invalid"}},
      {"int: texture size", "1\nt\n1\nb\n64\n", {}, {}},
      {"int: N", "2\nm\nd\n2\n2\n8\n", {}, {}},
      {"int: custom face", "3\nt\n1\no\no\no\no\n", {}, {"[INPUT] Custom H-Range Source-Face:"}},
      {"int cut off after its sign", "1\nm\n1\n-", {}, {kInvalidNumber}},
      {"float: radius", "1\nm\n3\n", {}, {}},
      {"float cut off in its exponent", "1\nm\n3\n1e+", {}, {kInvalidNumber}},
      {"float at the very end", "1\nm\n3\n12", {}, {}},
      {"float: texture scale", "1\nt\n1\nc\n2\n", {}, {}},
      {"float: texture shift", "1\nt\n1\ne\n", {}, {}},
      {"custom scale prompt", "3\nt\n1\nd\nd\nd\ng\ni\nq\nq\ng\n2\n", {}, {"[INPUT] Enter new Value:\n"}},
      {"custom scale prompt after garbage", "3\nt\n1\nd\nd\nd\ng\ni\nq\nq\ng\nx", {}, {kInvalidNumber}},
      {"key wait of a listing", "1\ng\ns", {}, {"[INPUT] Press any button to continue..."}},
      {"key wait before a thinned listing", "3\nm\n2\n48\nq\ng\ns", {}, {"Displaying only every 4th Brush."}},
  };
  RunSessions(sessions);
}
