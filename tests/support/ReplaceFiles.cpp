#include "support/ReplaceFiles.h"

#include <unistd.h>

#include <fstream>

#include "support/Process.h"

namespace {

constexpr unsigned kRunLimitSeconds = 60;

}  // namespace

std::string CouldNotCreate(const std::string& name) {
  return "[WARNING] Could not create the file \"" + name + "\"!\n";
}

std::string LeftAsItWas(const std::string& name, const std::string& failed) {
  return "[WARNING] Left the file \"" + name + "\" as it was: \"" + failed + "\" could not be created!\n";
}

std::string DidNotWrite(const std::string& name, const std::string& failed) {
  return "[WARNING] Did not write the file \"" + name + "\": \"" + failed + "\" could not be created!\n";
}

std::string Damaged(const std::string& name) {
  return "[WARNING] The file \"" + name + "\" is damaged: its new text could not be written completely!\n";
}

std::string OneFile(const std::string& map, const std::string& obj) {
  return "[WARNING] Could not create the files \"" + map + "\" and \"" + obj + "\": the two names are one file!\n";
}

std::string Shown(const std::string& text) {
  if (text.size() <= 400) return "\"" + text + "\"";
  return "\"" + text.substr(0, 200) + "\"... (" + std::to_string(text.size()) + " bytes)";
}

::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the text " << Shown(actual) << "\ninstead of " << Shown(expected);
}

bool HardLink(const std::string& from, const std::string& to) { return link(from.c_str(), to.c_str()) == 0; }

Texts Expected(const std::string& templateText) {
  TempDir dir;
  dir.Write("c.kvt", templateText);
  RunProgram(Exe64(), {"c.kvt"}, "", dir.path(), kRunLimitSeconds);
  return {dir.Read("c.map"), dir.Read("c.obj")};
}

const Texts& Cylinder() {
  static const Texts texts = Expected(kPairTemplate);
  return texts;
}

const Texts& BigModel() {
  static const Texts texts = Expected(kBigTemplate);
  return texts;
}

std::vector<std::string> Temporaries(const std::string& dir) {
  std::vector<std::string> names;
  for (const std::string& name : Entries(dir))
    if (name.rfind(".korvane-", 0) == 0) names.push_back(name);
  return names;
}

::testing::AssertionResult StartWriting(const std::string& dir, std::unique_ptr<ChildProgram>& program,
                                        std::size_t temporaries, const ChildOptions& options, bool oldFiles) {
  const std::string kvt = dir + "/c.kvt";
  {
    std::ofstream(kvt, std::ios::binary) << kBigTemplate;
  }
  std::vector<FileId> except = {IdOf(kvt)};
  if (oldFiles) {
    for (const char* name : {"/c.map", "/c.obj"}) {
      std::ofstream(dir + name, std::ios::binary) << kOld;
      except.push_back(IdOf(dir + name));
    }
  }
  program = std::make_unique<ChildProgram>(Exe64(), std::vector<std::string>{"c.kvt"}, dir, options);
  return WaitForFilesWritten(*program, dir, except, temporaries, false, kRunLimitSeconds);
}
