#include "demo/example_scripts.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace quillon::cli::demo {

namespace fs = std::filesystem;

std::vector<fs::path> exampleScripts(const fs::path& dir) {
  std::vector<fs::path> scripts;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    if (entry.path().extension() == ".qhs") scripts.push_back(entry.path());
  }
  std::sort(scripts.begin(), scripts.end());
  return scripts;
}

std::optional<std::string> readScriptFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  if (in.peek() != std::char_traits<char>::eof()) text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

std::string scriptComment(const std::string& script) {
  std::istringstream in(script);
  std::string comment;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] != '#') break;
    std::string text = line.substr(start + 1);
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    comment += (comment.empty() ? "" : "\n") + text;
  }
  return comment;
}

std::string scriptTitle(const std::string& script) {
  const std::string comment = scriptComment(script);
  return comment.substr(0, comment.find('\n'));
}

namespace {

// `expect $error…` takes over the error of the line before, so it stays: without it, an error the
// host means to handle would stop the script.
bool expectsError(const std::string& rest) {
  const std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string::npos || rest.compare(start, 6, "$error") != 0) return false;
  const std::size_t after = start + 6;
  return after == rest.size() || rest[after] == '.' || rest[after] == '[' || rest[after] == ' ' ||
         rest[after] == '\t' || rest[after] == '=';
}

}  // namespace

std::string hostLinesOnly(const std::string& script) {
  std::istringstream in(script);
  std::string out;
  std::string line;
  bool inBlock = false;
  while (std::getline(in, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    std::string word = start == std::string::npos ? std::string() : line.substr(start);
    word = word.substr(0, word.find_first_of(" \t\r"));
    bool keep = !inBlock;
    if (word == "on") {
      inBlock = true;
      keep = false;
    } else if (inBlock && word == "end") {
      inBlock = false;
    } else if (word == "answer" || word == "input" || word == "pick" || word == "date" ||
               word == "filter") {
      keep = false;
    } else if (word == "expect") {
      keep = !inBlock && expectsError(line.substr(start + word.size()));
    }
    out += (keep ? line : std::string()) + "\n";
  }
  return out;
}

}  // namespace quillon::cli::demo
