#include <gtest/gtest.h>

#include <stdexcept>

#include "core/format/block_encoder.h"
#include "core/format/stream.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

using Bytes = std::vector<uint8_t>;

std::string decodeError(const Bytes& bytes) {
    Stream stream;
    std::string error;
    EXPECT_FALSE(decodeStream(bytes, stream, error));
    return error;
}

TEST(WholeStream, RoundTripsInBothLayouts) {
    for (const Layout layout : {Layout::Wide, Layout::Narrow}) {
        const Stream stream = samples::richStream(layout);
        const Bytes bytes = encodeStream(stream);
        Stream decoded;
        std::string error;
        ASSERT_TRUE(decodeStream(bytes, decoded, error)) << error;
        EXPECT_EQ(decoded.header, stream.header);
        EXPECT_EQ(decoded.blocks, stream.blocks);
        EXPECT_EQ(encodeStream(decoded), bytes);
    }
}

TEST(WholeStream, ErrorsNameTheBlockAndTheAbsoluteOffset) {
    const Bytes bytes = encodeStream(samples::richStream(Layout::Wide));
    EXPECT_EQ(decodeError(Bytes(bytes.begin(), bytes.begin() + 19)), "the stream ends inside its header (19 bytes)");

    Stream stream;
    std::string error;
    ASSERT_TRUE(decodeStream(bytes, stream, error));
    Bytes firstBlock;
    encodeBlock(stream.blocks[0], Layout::Wide, firstBlock);
    const size_t second = 20 + firstBlock.size();

    EXPECT_EQ(
        decodeError(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(second + 1))),
        "block 1 at byte " + std::to_string(second) + ": the stream ends inside the block (its length is cut off)");
    EXPECT_EQ(decodeError(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(second + 5))),
              "block 1 at byte " + std::to_string(second) +
                  ": the stream ends inside the block (3 of 41 body bytes present)");

    Bytes broken = bytes;
    broken[second] = 0x80;
    EXPECT_EQ(decodeError(broken), "block 1 at byte " + std::to_string(second) + ": length 32809 is 32768 or more");

    // A wrong object count makes the block's records overrun it: reported in
    // stream coordinates, at the first record that no longer fits.
    Bytes damaged = bytes;
    damaged[20 + 2 + 3 + 2 + 2 + 1 + 1] = 0x0D;  // group 3 claims 13 objects, holds 12
    const std::string message = decodeError(damaged);
    EXPECT_EQ(message.rfind("block 0 at byte ", 0), 0u) << message;
    EXPECT_NE(message.find(": object 12 in group 3 runs past the end of the block"), std::string::npos) << message;
}

TEST(WholeStream, EncodingNamesTheBlockItRefuses) {
    Stream stream = samples::richStream(Layout::Narrow);
    stream.blocks[2].frame.soundNumber = 1;
    try {
        encodeStream(stream);
        FAIL() << "encoded a narrow sound number";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), "block 2: the narrow layout stores no sound number or flag for frame 2");
    }
}

}  // namespace
}  // namespace vxa
