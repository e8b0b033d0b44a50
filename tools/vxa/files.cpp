#include "files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tool_failure.h"

namespace vxa::tool {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path + ": cannot read: " + std::strerror(errno));
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) fail(path + ": cannot read: " + std::strerror(errno));
  return bytes;
}

std::vector<uint8_t> readBytes(const std::string& path) {
  const std::string text = readText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

void writeFileWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) fail(path + ": cannot write: " + std::strerror(errno));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const std::string reason = std::strerror(errno);
      std::remove(temporary.c_str());
      fail(path + ": cannot write: " + reason);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    fail(path + ": cannot write: " + error.message());
  }
}

void writeFileWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
  writeFileWhole(path, std::string(bytes.begin(), bytes.end()));
}

void makeFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) fail(path + ": cannot make the folder: " + error.message());
}

}  // namespace vxa::tool
