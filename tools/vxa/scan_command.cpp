// vxa scan PATH... | --list FILE [--shard K/N] [--jsonl] [--posters DIR]
// [--jobs N]: a row of facts for every movie found, in the order found,
// however many threads read them. A bad file is a row that says so; the
// exit status is 0 unless the scan could not run.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "arguments.h"
#include "commands.h"
#include "export/progress_bar.h"
#include "files.h"
#include "scan_inputs.h"
#include "scan_row.h"
#include "scan_table.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

// Rows are made by the workers in any order and printed in the order of
// the files, each as soon as the ones before it are.
class OrderedRows {
 public:
  explicit OrderedRows(size_t count) : rows_(count) {}

  void put(size_t index, std::string line) {
    std::lock_guard<std::mutex> lock(mutex_);
    rows_[index] = std::move(line);
    ready_.notify_one();
  }
  std::string take(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return rows_[index].has_value(); });
    std::string line = std::move(*rows_[index]);
    rows_[index].reset();
    return line;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::vector<std::optional<std::string>> rows_;
};

std::vector<std::string> inputsOf(const Arguments& arguments) {
  const std::optional<std::string> list = arguments.value("--list");
  if (list && !arguments.inputs().empty()) usageError("scan takes paths or --list, not both");
  if (!list && arguments.inputs().empty()) usageError("scan needs a folder or file, or --list FILE");
  const std::optional<std::string> shardText = arguments.value("--shard");
  const Shard shard = shardText ? parseShard(*shardText) : Shard{};
  // A list is shared out line by line, before any folder in it is searched,
  // so that no machine of a batch reads more of the list's paths than its own.
  if (list) return findMovies(takeShard(readPathList(*list), shard));
  return takeShard(findMovies(arguments.inputs()), shard);
}

}  // namespace

int scanCommand(const Args& args) {
  const Arguments arguments("scan", args, {{"--list", "--shard", "--posters", "--jobs"}, {}, {"--jsonl"}, true});
  const TableFormat format = arguments.flag("--jsonl") ? TableFormat::JsonLines : TableFormat::Csv;
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t jobs = static_cast<size_t>(arguments.number("--jobs", 1, 256).value_or(cores));
  const std::string posters = arguments.value("--posters").value_or("");
  if (!posters.empty()) makeFolder(posters);

  const std::vector<std::string> movies = inputsOf(arguments);
  OrderedRows rows(movies.size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < movies.size(); i = next++) rows.put(i, tableLine(scanFile(movies[i], posters), format));
  };
  std::vector<std::thread> workers;
  for (size_t j = 0; j < std::min(jobs, movies.size()); ++j) workers.emplace_back(work);

  if (format == TableFormat::Csv) std::cout << tableHeader(format) << "\n";
  ProgressBar progress("scanning", movies.size());
  for (size_t i = 0; i < movies.size(); ++i) {
    std::cout << rows.take(i) << "\n";
    progress.advance();
  }
  progress.done();
  for (std::thread& worker : workers) worker.join();
  std::cout.flush();
  if (!std::cout) fail("cannot write the table");
  return 0;
}

}  // namespace vxa::tool
