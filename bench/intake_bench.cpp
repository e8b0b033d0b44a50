// Stream intake cost: StreamReader plus decodeBlock over a movie of more than
// 10 MB, fed whole, in 1-byte chunks and in 1-KB chunks as the plug-in feeds
// it (each chunk read in place, its unread rest kept), against one memcpy of
// the same bytes. Intake must stay linear whatever the chunk size, so the
// ratios printed at the end are the figures to watch.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/format/block_decoder.h"
#include "core/format/stream.h"
#include "core/format/stream_reader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kMinimumMovieBytes = 10u << 20;

vxa::ObjectRecord shape(int8_t kind, int seed) {
  vxa::ObjectRecord o;
  o.kind = kind;
  o.left = static_cast<uint8_t>(seed % 50);
  o.top = static_cast<uint8_t>(seed % 40);
  o.right = static_cast<uint8_t>(100 + seed % 100);
  o.bottom = static_cast<uint8_t>(80 + seed % 100);
  o.fill1 = static_cast<uint8_t>(seed * 7);
  o.fill2 = static_cast<uint8_t>(seed * 11);
  o.line1 = static_cast<uint8_t>(seed * 13);
  o.line2 = 1;
  o.fillPattern = static_cast<uint8_t>(seed % 64);
  o.linePattern = 12;
  o.lineWidth = 1 + seed % 3;
  switch (kind) {
    case vxa::ObjectKind::Polygon:
      for (int p = 0; p < 12; ++p) {
        o.points.emplace_back(static_cast<uint8_t>(seed + p * 20), static_cast<uint8_t>(p * p));
      }
      break;
    case vxa::ObjectKind::RoundRect:
      o.cornerWidth = 8;
      o.cornerHeight = 6;
      break;
    case vxa::ObjectKind::Arc:
      o.startAngle = static_cast<int16_t>(seed % 360);
      o.sweep = 120;
      break;
    case vxa::ObjectKind::Text:
      o.textColor = 2;
      o.style = 1;
      o.size = 12;
      o.justification = -1;
      o.fontName = "Arial";
      o.text = "Frame text number " + std::to_string(seed) + "\r\nwith a second line";
      break;
    default:
      break;
  }
  return o;
}

// Each block: a frame record with explicit and repeated items, and three
// group records of mixed object kinds.
Bytes buildMovie() {
  vxa::Stream stream;
  stream.header.width = 640;
  stream.header.height = 480;
  stream.header.frameRate = 15;
  stream.header.groupCount = 600;
  stream.header.frameCount = 32767;
  static const int8_t kinds[] = {vxa::ObjectKind::Rect,  vxa::ObjectKind::Polygon,
                                 vxa::ObjectKind::Text,  vxa::ObjectKind::Oval,
                                 vxa::ObjectKind::Arc,   vxa::ObjectKind::RoundRect,
                                 vxa::ObjectKind::Line};
  Bytes bytes;
  for (int n = 0; bytes.size() < kMinimumMovieBytes; ++n) {
    vxa::Block block;
    block.frame.number = static_cast<int16_t>(n % 32767 + 1);
    block.frame.soundNumber = n % 50 == 0 ? 3 : 0;
    for (int i = 0; i < 12; ++i) {
      vxa::Item item;
      if (i % 2 == 1) {
        item.presence = 0;
      } else {
        item.groupId = static_cast<int16_t>((n * 3 + i) % 600 + 1);
        item.x = static_cast<int16_t>((n * 5 + i * 40) % 640);
        item.y = static_cast<int16_t>((n * 3 + i * 30) % 480);
      }
      block.frame.items.push_back(item);
    }
    for (int g = 0; g < 3; ++g) {
      vxa::GroupRecord group;
      group.id = static_cast<int16_t>((n * 3 + g) % 600 + 1);
      group.widthMinus1 = 199;
      group.heightMinus1 = 179;
      for (int k = 0; k < 4; ++k) group.objects.push_back(shape(kinds[(n + g + k) % 7], n + k));
      block.groups.push_back(std::move(group));
    }
    stream.blocks.push_back(std::move(block));
    if (stream.blocks.size() == 1000) {
      const Bytes part = vxa::encodeStream(stream);
      bytes.insert(bytes.end(), part.begin() + (bytes.empty() ? 0 : 20), part.end());
      stream.blocks.clear();
    }
  }
  return bytes;
}

const Bytes& movie() {
  static const Bytes bytes = buildMovie();
  return bytes;
}

void intake(benchmark::State& state, size_t chunkSize) {
  const Bytes& bytes = movie();
  vxa::Block block;
  vxa::DecodeError error;
  const uint8_t* const end = bytes.data() + bytes.size();
  for (auto _ : state) {
    vxa::StreamReader reader;
    size_t blocks = 0;
    const uint8_t* body = nullptr;
    size_t length = 0;
    for (const uint8_t* chunk = bytes.data(); chunk < end; chunk += chunkSize) {
      // As the plug-in takes a chunk: read in place, the rest kept; a chunk
      // that only adds to an incomplete block needs nothing more.
      if (!reader.lend(chunk, std::min(chunkSize, static_cast<size_t>(end - chunk)))) continue;
      while (reader.next(body, length) == vxa::StreamReader::Next::Block) {
        if (!vxa::decodeBlock(body, length, reader.header().layout, block, error)) {
          state.SkipWithError(error.message.c_str());
          return;
        }
        ++blocks;
      }
      reader.keepUnread();
    }
    benchmark::DoNotOptimize(blocks);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void copyOnce(benchmark::State& state) {
  const Bytes& bytes = movie();
  Bytes target(bytes.size());
  for (auto _ : state) {
    std::memcpy(target.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

// Five repetitions each; the ratios use the medians.
void measured(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(intake, whole, movie().size())->Apply(measured);
BENCHMARK_CAPTURE(intake, 1byte, 1)->Apply(measured);
BENCHMARK_CAPTURE(intake, 1KB, 1024)->Apply(measured);
BENCHMARK(copyOnce)->Apply(measured);

// Keeps each benchmark's time per iteration so that the ratios can be printed last.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal, so that the ratio lines stay clean in logs.
  RecordingReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // The median of the repetitions, in CPU time: the machine is shared.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" &&
          !run.error_occurred) {
        times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatio(const char* label, const std::string& a, const std::string& b) const {
    const auto x = times_.find(a);
    const auto y = times_.find(b);
    if (x == times_.end() || y == times_.end() || y->second <= 0) {
      std::printf("%s: n/a\n", label);
    } else {
      std::printf("%s: %.2f\n", label, x->second / y->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::printf("movie: %zu bytes\n", movie().size());
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::fflush(stdout);
  reporter.printRatio("intake 1-byte/whole", "intake/1byte", "intake/whole");
  reporter.printRatio("intake 1KB/whole", "intake/1KB", "intake/whole");
  reporter.printRatio("intake whole/memcpy", "intake/whole", "copyOnce");
  return 0;
}
