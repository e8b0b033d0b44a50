#include "web/wasm/block_gate.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sample_blocks.h"

namespace {

using vxa::Block;

bool hasText(const Block& block) {
  for (const vxa::GroupRecord& group : block.groups) {
    for (const vxa::ObjectRecord& object : group.objects) {
      if (object.kind == vxa::ObjectKind::Text) return true;
    }
  }
  return false;
}

std::vector<uint8_t> feed(web::BlockGate& gate, const std::vector<uint8_t>& stream, size_t chunk) {
  std::vector<uint8_t> out;
  for (size_t at = 0; at < stream.size(); at += chunk) {
    gate.take(stream.data() + at, std::min(chunk, stream.size() - at), out);
  }
  return out;
}

TEST(BlockGate, LetsTheWholeStreamThroughOnceNothingWaits) {
  const std::vector<uint8_t> stream = vxa::samples::longStreamBytes(vxa::Layout::Wide, 30);
  for (size_t chunk : {size_t{1}, size_t{2}, size_t{7}, size_t{64}, stream.size()}) {
    SCOPED_TRACE(chunk);
    bool fontsHere = false;
    int asked = 0;
    size_t entered = 0;
    web::BlockGate gate(
        [&](const Block& block) {
          if (!hasText(block)) return true;
          ++asked;
          return fontsHere;
        },
        [&](const Block&) { ++entered; });
    const std::vector<uint8_t> before = feed(gate, stream, chunk);
    // Everything up to the first block with text, and nothing of it.
    ASSERT_TRUE(gate.holding());
    ASSERT_LT(before.size(), stream.size());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), stream.begin()));
    EXPECT_GT(asked, 0);

    fontsHere = true;
    std::vector<uint8_t> after = before;
    gate.retry(after);
    EXPECT_FALSE(gate.holding());
    EXPECT_EQ(after, stream);
    EXPECT_EQ(entered, 30u);
  }
}

TEST(BlockGate, PassesDamageOnForTheMovieToLeaveOut) {
  std::vector<uint8_t> stream = vxa::samples::longStreamBytes(vxa::Layout::Narrow, 6);
  // The third block's body turns to 0xFF bytes, which decode to nothing;
  // the fifth block's length turns to one that can never complete.
  std::vector<size_t> starts;
  for (size_t at = 10; at + 2 <= stream.size(); at += 2 + (stream[at] << 8 | stream[at + 1])) {
    starts.push_back(at);
  }
  ASSERT_EQ(starts.size(), 6u);
  std::fill(stream.begin() + starts[2] + 2, stream.begin() + starts[3], 0xFF);
  stream[starts[4]] = 0x80;
  stream[starts[4] + 1] = 0x00;

  web::BlockGate gate([](const Block&) { return true; }, [](const Block&) {});
  std::vector<uint8_t> out = feed(gate, stream, 5);
  gate.take(stream.data(), 10, out);  // more after the break: nothing of it
  std::vector<uint8_t> expected(stream.begin(), stream.begin() + starts[4] + 2);
  EXPECT_EQ(out, expected);
}

}  // namespace
