#pragma once
// Which files `vxa scan` reads: the movies under the folders given (every
// file named *.vxa in any letter case), the files given themselves, or the
// paths of a list; and one share of them.
#include <cstddef>
#include <string>
#include <vector>

namespace vxa::tool {

// Folders are searched through, in name order; other paths are kept as they
// are (a missing one gets a row saying so). Unreadable subfolders are skipped.
std::vector<std::string> findMovies(const std::vector<std::string>& paths);

// The lines of a list of paths, empty lines left out.
std::vector<std::string> readPathList(const std::string& listFile);

// Share k of n (1 <= k <= n): every n-th entry, starting at the k-th.
struct Shard {
  size_t k = 1, n = 1;
};
Shard parseShard(const std::string& text);
std::vector<std::string> takeShard(const std::vector<std::string>& entries, Shard shard);

}  // namespace vxa::tool
