#include <gtest/gtest.h>

#include <stdexcept>

#include "core/format/big_endian.h"
#include "core/format/header.h"

namespace vxa {
namespace {

TEST(BigEndian, ReadsSignedHighByteFirst) {
    const uint8_t bytes[] = {0x12, 0x34, 0xFF, 0xFE, 0x80, 0x00, 0x7F, 0xFF};
    EXPECT_EQ(readBigEndian16(bytes), 0x1234);
    EXPECT_EQ(readBigEndian16(bytes + 2), -2);
    EXPECT_EQ(readBigEndian16(bytes + 4), -32768);
    EXPECT_EQ(readBigEndian16(bytes + 6), 32767);
}

// A first value of 10000..32767 is a version and selects the 20-byte wide
// layout; anything else, negative values included, is a narrow width.
TEST(Header, FirstValueSelectsTheLayoutAndBothRoundTrip) {
    using B = std::vector<uint8_t>;
    const struct {
        const char* name;
        B bytes;
        Header expected;
    } rows[] = {
        {"version 10000",
         {0x27, 0x10, 0x01, 0xFF, 0x04, 0x05, 0x00, 0x06, 0xFF, 0xF8,
          0x01, 0x40, 0x00, 0xC8, 0x00, 0x0C, 0x00, 0x05, 0x00, 0x09},
         Header{Layout::Wide, 10000, 1, -1, 4, 5, 6, -8, 320, 200, 0, 12, 5, 9}},
        {"width 640",
         {0x02, 0x80, 0x01, 0xE0, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x03},
         Header{Layout::Narrow, 0, 0, 0, 0, 0, 0, 0, 640, 480, 1, 10, 2, 3}},
        {"width 9999",
         {0x27, 0x0F, 0x01, 0xE0, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x03},
         Header{Layout::Narrow, 0, 0, 0, 0, 0, 0, 0, 9999, 480, 1, 10, 2, 3}},
        {"width -32768",
         {0x80, 0x00, 0x01, 0xE0, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x03},
         Header{Layout::Narrow, 0, 0, 0, 0, 0, 0, 0, -32768, 480, 1, 10, 2, 3}},
        {"width -1",
         {0xFF, 0xFF, 0x01, 0xE0, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x03},
         Header{Layout::Narrow, 0, 0, 0, 0, 0, 0, 0, -1, 480, 1, 10, 2, 3}},
    };
    for (const auto& row : rows) {
        Header header;
        ASSERT_EQ(decodeHeader(row.bytes.data(), row.bytes.size(), header), HeaderStatus::Complete) << row.name;
        EXPECT_TRUE(header == row.expected) << row.name;
        EXPECT_EQ(headerSize(header.layout), row.bytes.size()) << row.name;
        std::vector<uint8_t> out;
        encodeHeader(header, out);
        EXPECT_EQ(out, row.bytes) << row.name;
    }
}

TEST(Header, NeedsTwoBytesThenTheWholeHeader) {
    const uint8_t wide[20] = {0x27, 0x10};
    const uint8_t narrow[10] = {0x02, 0x80};
    Header header;
    header.width = 77;
    for (size_t length = 0; length < 20; ++length) {
        EXPECT_EQ(decodeHeader(wide, length, header), HeaderStatus::NeedMore) << length;
    }
    for (size_t length = 0; length < 10; ++length) {
        EXPECT_EQ(decodeHeader(narrow, length, header), HeaderStatus::NeedMore) << length;
    }
    EXPECT_EQ(header.width, 77) << "an incomplete header leaves the output alone";
    EXPECT_EQ(decodeHeader(narrow, 10, header), HeaderStatus::Complete);
    EXPECT_EQ(header.width, 640);
}

TEST(Header, EncodingRefusesHeadersThatWouldReadBackDifferently) {
    std::vector<uint8_t> out;
    Header lowVersion;
    lowVersion.version = 9999;
    EXPECT_THROW(encodeHeader(lowVersion, out), std::invalid_argument);

    Header wideWidth;
    wideWidth.layout = Layout::Narrow;
    wideWidth.version = 0;
    wideWidth.width = 10000;
    EXPECT_THROW(encodeHeader(wideWidth, out), std::invalid_argument);

    Header narrowWithLoop;
    narrowWithLoop.layout = Layout::Narrow;
    narrowWithLoop.version = 0;
    narrowWithLoop.loop = 1;
    EXPECT_THROW(encodeHeader(narrowWithLoop, out), std::invalid_argument);
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace vxa
