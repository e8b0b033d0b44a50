#pragma once
// Files as the commands read and write them: every failure is a Failure that
// names the file, and what is written appears whole or not at all.
#include <cstdint>
#include <string>
#include <vector>

namespace vxa::tool {

std::vector<uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);

// Writes beside the target and renames, so a failure never leaves a partial file.
void writeFileWhole(const std::string& path, const std::string& bytes);
void writeFileWhole(const std::string& path, const std::vector<uint8_t>& bytes);

// Makes the folder (and its parents) unless it is there.
void makeFolder(const std::string& path);

}  // namespace vxa::tool
