#include "support/MenuText.h"

#include <sstream>

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitPasses(const std::string& output, const std::string& closing) {
  std::vector<std::string> passes;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = output.find(closing, start);
    if (end == std::string::npos) break;
    passes.push_back(output.substr(start, end + closing.size() - start));
    start = end + closing.size();
  }
  if (start < output.size()) {
    if (passes.empty()) passes.emplace_back();
    passes.back() += output.substr(start);
  }
  return passes;
}
