#pragma once
// Runs the built vxa program as a person would, in a folder of its own per
// test, and reads back its files and messages.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vxa::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string readText(const fs::path& path);
Bytes readBytes(const fs::path& path);
void writeText(const fs::path& path, const std::string& text);
void writeBytes(const fs::path& path, const Bytes& bytes);

// The source files of tests/tools/data.
fs::path data(const std::string& name);

class VxaTool : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  fs::path file(const std::string& name) const { return dir_ / name; }
  // `arguments` as a shell would split them; `environment` goes before the
  // program (e.g. "PATH=/nowhere").
  Result run(const std::string& arguments, const std::string& environment = "") const;
  // build, dump, build the dump: the stream must come back byte for byte, and
  // the second dump must read exactly like the first.
  void expectRoundTrip(const Bytes& stream);

  fs::path dir_;
};

}  // namespace vxa::testing
