#include <gtest/gtest.h>

#include <stdexcept>

#include "movie/format/big_endian.h"
#include "movie/format/header.h"

namespace vxa {
namespace {

TEST(BigEndian, ReadsSignedHighByteFirst) {
  const uint8_t bytes[] = {0x12, 0x34, 0xFF, 0xFE, 0x80, 0x00, 0x7F, 0xFF};
  EXPECT_EQ(readBigEndian16(bytes), 0x1234);
  EXPECT_EQ(readBigEndian16(bytes + 2), -2);
  EXPECT_EQ(readBigEndian16(bytes + 4), -32768);
  EXPECT_EQ(readBigEndian16(bytes + 6), 32767);
}

TEST(Header, VersionOf10000SelectsTheWideLayout) {
  const uint8_t bytes[] = {0x27, 0x10, 0x01, 0xFF, 0x04, 0x05, 0x00, 0x06, 0xFF, 0xF8,
                           0x01, 0x40, 0x00, 0xC8, 0x00, 0x0C, 0x00, 0x05, 0x00, 0x09};
  Header header;
  ASSERT_EQ(decodeHeader(bytes, sizeof bytes, header), HeaderStatus::Complete);
  EXPECT_EQ(header.layout, Layout::Wide);
  EXPECT_EQ(headerSize(header.layout), 20u);
  EXPECT_EQ(header.version, 10000);
  EXPECT_EQ(header.loop, 1);
  EXPECT_EQ(header.wait, -1);
  EXPECT_EQ(header.reserved4, 4);
  EXPECT_EQ(header.reserved5, 5);
  EXPECT_EQ(header.reserved6, 6);
  EXPECT_EQ(header.reserved8, -8);
  EXPECT_EQ(header.width, 320);
  EXPECT_EQ(header.height, 200);
  EXPECT_EQ(header.background, 0);
  EXPECT_EQ(header.frameRate, 12);
  EXPECT_EQ(header.groupCount, 5);
  EXPECT_EQ(header.frameCount, 9);

  std::vector<uint8_t> out;
  encodeHeader(header, out);
  EXPECT_EQ(out, std::vector<uint8_t>(bytes, bytes + sizeof bytes));
}

TEST(Header, SmallerOrNegativeFirstValueIsANarrowWidth) {
  for (const int16_t width : {int16_t{640}, int16_t{9999}, int16_t{-32768}, int16_t{-1}}) {
    const auto w = static_cast<uint16_t>(width);
    const uint8_t bytes[] = {static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w & 0xFF),
                             0x01, 0xE0, 0x01, 0x0A, 0x00, 0x02, 0x00, 0x03};
    Header header;
    ASSERT_EQ(decodeHeader(bytes, sizeof bytes, header), HeaderStatus::Complete);
    EXPECT_EQ(header.layout, Layout::Narrow);
    EXPECT_EQ(headerSize(header.layout), 10u);
    EXPECT_EQ(header.version, 0);
    EXPECT_EQ(header.loop, 0);
    EXPECT_EQ(header.wait, 0);
    EXPECT_EQ(header.width, width);
    EXPECT_EQ(header.height, 480);
    EXPECT_EQ(header.background, 1);
    EXPECT_EQ(header.frameRate, 10);
    EXPECT_EQ(header.groupCount, 2);
    EXPECT_EQ(header.frameCount, 3);

    std::vector<uint8_t> out;
    encodeHeader(header, out);
    EXPECT_EQ(out, std::vector<uint8_t>(bytes, bytes + sizeof bytes));
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
