#include "scan_inputs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "arguments.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

namespace fs = std::filesystem;

bool namedLikeAMovie(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".vxa";
}

void addFolder(const fs::path& folder, std::vector<std::string>& out) {
  std::vector<std::string> found;
  std::error_code error;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored) && namedLikeAMovie(it->path())) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  out.insert(out.end(), found.begin(), found.end());
}

}  // namespace

std::vector<std::string> findMovies(const std::vector<std::string>& paths) {
  std::vector<std::string> movies;
  for (const std::string& path : paths) {
    std::error_code ignored;
    if (fs::is_directory(path, ignored)) {
      addFolder(path, movies);
    } else {
      movies.push_back(path);
    }
  }
  return movies;
}

std::vector<std::string> readPathList(const std::string& listFile) {
  std::ifstream in(listFile);
  if (!in) fail(listFile + ": cannot read the list");
  std::vector<std::string> paths;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(line);
  }
  return paths;
}

Shard parseShard(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) usageError("--shard needs K/N, not \"" + text + "\"");
  Shard shard;
  shard.n = static_cast<size_t>(parseNumber(text.substr(slash + 1), 1, 1000000, "the N of --shard K/N"));
  shard.k = static_cast<size_t>(
      parseNumber(text.substr(0, slash), 1, static_cast<long>(shard.n), "the K of --shard K/N"));
  return shard;
}

std::vector<std::string> takeShard(const std::vector<std::string>& entries, Shard shard) {
  std::vector<std::string> taken;
  for (size_t i = shard.k - 1; i < entries.size(); i += shard.n) taken.push_back(entries[i]);
  return taken;
}

}  // namespace vxa::tool
