#include "vxa_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace vxa::testing {

std::string readText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Bytes readBytes(const fs::path& path) {
  const std::string text = readText(path);
  return Bytes(text.begin(), text.end());
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void writeBytes(const fs::path& path, const Bytes& bytes) {
  writeText(path, std::string(bytes.begin(), bytes.end()));
}

fs::path data(const std::string& name) { return fs::path(VXA_TEST_DATA) / name; }

// The vxa program of the build this test belongs to, found at run time from
// the test's own place in that build (tests/tools beside tools/vxa), so that
// a copied tree tests its own binaries.
fs::path vxaProgram() {
  static const fs::path found = [] {
    for (fs::path dir = fs::read_symlink("/proc/self/exe").parent_path(); dir != dir.root_path();
         dir = dir.parent_path())
      if (fs::is_regular_file(dir / "tools" / "vxa" / "vxa")) return dir / "tools" / "vxa" / "vxa";
    return fs::path();
  }();
  return found;
}

void VxaTool::SetUp() {
  ASSERT_FALSE(vxaProgram().empty()) << "no tools/vxa/vxa in a folder above this test program";
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = fs::temp_directory_path() /
         ("vxa_tool_test_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" + test->name());
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

void VxaTool::TearDown() { fs::remove_all(dir_); }

Result VxaTool::run(const std::string& arguments, const std::string& environment) const {
  const fs::path out = file("stdout.txt");
  const fs::path err = file("stderr.txt");
  const std::string command = environment + (environment.empty() ? "" : " ") + vxaProgram().string() + " " +
                              arguments + " > " + out.string() + " 2> " + err.string();
  const int raw = std::system(command.c_str());
  Result result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readText(out);
  result.err = readText(err);
  return result;
}

void VxaTool::expectRoundTrip(const Bytes& stream) {
  writeBytes(file("a.vxa"), stream);
  const Result dumped = run("dump " + file("a.vxa").string() + " -o " + file("a.json").string());
  ASSERT_EQ(dumped.status, 0) << dumped.err;
  const Result built = run("build " + file("a.json").string() + " -o " + file("b.vxa").string());
  ASSERT_EQ(built.status, 0) << built.err;
  EXPECT_EQ(readBytes(file("b.vxa")), stream);
  const Result again = run("dump " + file("b.vxa").string());
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, readText(file("a.json")));
}

}  // namespace vxa::testing
