#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/format/stream_reader.h"
#include "sample_blocks.h"

namespace vxa {
namespace {

using Bytes = std::vector<uint8_t>;

struct Intake {
    bool headerComplete = false;
    Header header;
    std::vector<Bytes> bodies;
    StreamReader::Next last = StreamReader::Next::NeedMore;
};

// Takes every block the reader has ready, as the Movie does after each chunk.
void drain(StreamReader& reader, Intake& intake) {
    const uint8_t* body = nullptr;
    size_t length = 0;
    while ((intake.last = reader.next(body, length)) == StreamReader::Next::Block) {
        intake.bodies.emplace_back(body, body + length);
    }
}

Intake feed(const Bytes& stream, const std::vector<size_t>& chunkSizes) {
    StreamReader reader;
    Intake intake;
    size_t position = 0;
    for (size_t size : chunkSizes) {
        size = std::min(size, stream.size() - position);
        reader.append(stream.data() + position, size);
        position += size;
        drain(reader, intake);
    }
    EXPECT_EQ(position, stream.size());
    intake.headerComplete = reader.headerComplete();
    intake.header = reader.header();
    return intake;
}

void expectSameIntake(const Intake& actual, const Intake& expected, const std::string& how) {
    EXPECT_EQ(actual.headerComplete, expected.headerComplete) << how;
    EXPECT_EQ(actual.header, expected.header) << how;
    EXPECT_EQ(actual.bodies, expected.bodies) << how;
    EXPECT_EQ(actual.last, expected.last) << how;
}

class StreamChunking : public ::testing::TestWithParam<Layout> {};

TEST_P(StreamChunking, WholeStreamYieldsEveryBodyInOrder) {
    const Stream stream = samples::richStream(GetParam());
    const Bytes bytes = encodeStream(stream);
    const Intake whole = feed(bytes, {bytes.size()});
    ASSERT_TRUE(whole.headerComplete);
    EXPECT_EQ(whole.header, stream.header);
    ASSERT_EQ(whole.bodies.size(), stream.blocks.size());
    size_t offset = headerSize(stream.header.layout);
    for (const Bytes& body : whole.bodies) {
        EXPECT_EQ(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset + 2),
                        bytes.begin() + static_cast<std::ptrdiff_t>(offset + 2 + body.size())),
                  body);
        offset += 2 + body.size();
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST_P(StreamChunking, EveryTwoChunkSplitYieldsTheSameBodies) {
    const Bytes bytes = samples::longStreamBytes(GetParam(), 12);
    const Intake whole = feed(bytes, {bytes.size()});
    for (size_t split = 0; split <= bytes.size(); ++split) {
        expectSameIntake(feed(bytes, {split, bytes.size() - split}), whole, "split at " + std::to_string(split));
    }
}

TEST_P(StreamChunking, RandomChunkingsYieldTheSameBodies) {
    const Bytes bytes = samples::longStreamBytes(GetParam(), 200);
    const Intake whole = feed(bytes, {bytes.size()});
    ASSERT_EQ(whole.bodies.size(), 200u);
    for (const unsigned seed : {1u, 2u, 3u, 42u, 2024u}) {
        for (const size_t largest : {size_t{1}, size_t{3}, size_t{64}, size_t{700}, size_t{5000}}) {
            std::mt19937 random(seed);
            std::uniform_int_distribution<size_t> sizes(0, largest);
            std::vector<size_t> chunks;
            for (size_t total = 0; total < bytes.size();) {
                chunks.push_back(sizes(random));
                total += chunks.back();
            }
            expectSameIntake(feed(bytes, chunks), whole,
                             "seed " + std::to_string(seed) + ", chunks up to " + std::to_string(largest));
        }
    }
}

TEST_P(StreamChunking, ByteByByteIntakeHoldsOnlyAboutOneBlock) {
    // The buffer must not grow with the stream: consumed bytes are dropped.
    const Bytes bytes = samples::longStreamBytes(GetParam(), 500);
    ASSERT_GT(bytes.size(), 20000u);
    StreamReader reader;
    Intake intake;
    size_t largestHeld = 0;
    for (const uint8_t byte : bytes) {
        reader.append(&byte, 1);
        drain(reader, intake);
        largestHeld = std::max(largestHeld, reader.reservedBytes());
    }
    EXPECT_EQ(intake.bodies.size(), 500u);
    EXPECT_LT(largestHeld, 4096u);
    EXPECT_EQ(reader.bufferedBytes(), 0u);
}

// As the plug-in reads a chunk: lent, drained, its unread rest kept, then
// the chunk freed. A block whole in its chunk is read where it lies; only a
// block that straddles chunks is gathered, and after each chunk the reader
// holds at most that one incomplete block. A stream taken whole leaves
// nothing behind.
TEST_P(StreamChunking, LentChunksAreReadInPlaceAndOnlyAnIncompleteBlockIsKept) {
    const Bytes bytes = samples::longStreamBytes(GetParam(), 60);
    const Intake whole = feed(bytes, {bytes.size()});
    size_t largestBlock = 0;
    for (const Bytes& body : whole.bodies) largestBlock = std::max(largestBlock, 2 + body.size());
    for (const size_t chunkSize : {bytes.size(), size_t{1}, size_t{7}, size_t{100}, size_t{1000}}) {
        StreamReader reader;
        Intake intake;
        size_t inPlace = 0, gatheredOnly = 0;
        for (size_t position = 0; position < bytes.size(); position += chunkSize) {
            const Bytes chunk(
                bytes.begin() + static_cast<std::ptrdiff_t>(position),
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), position + chunkSize)));
            if (!reader.lend(chunk.data(), chunk.size())) {
                ++gatheredOnly;
                continue;
            }
            const uint8_t* body = nullptr;
            size_t length = 0;
            while ((intake.last = reader.next(body, length)) == StreamReader::Next::Block) {
                intake.bodies.emplace_back(body, body + length);
                inPlace += body >= chunk.data() && body + length <= chunk.data() + chunk.size();
            }
            reader.keepUnread();
            EXPECT_LT(reader.bufferedBytes(), largestBlock) << chunkSize << " at " << position;
            EXPECT_LE(reader.reservedBytes(), largestBlock) << chunkSize << " at " << position;
        }
        EXPECT_EQ(intake.bodies, whole.bodies) << chunkSize;
        if (chunkSize == bytes.size()) {
            EXPECT_EQ(inPlace, whole.bodies.size());
            EXPECT_EQ(reader.reservedBytes(), 0u);
        }
        if (chunkSize == 1) {
            EXPECT_EQ(inPlace, 0u);
            EXPECT_GT(gatheredOnly, bytes.size() / 2) << "most bytes only add to an incomplete block";
        }
    }
}

// A chunk taken by copy is dropped as its blocks are handed out: once they
// all are, the memory is given back.
TEST_P(StreamChunking, CopiedStreamIsGivenBackOnceRead) {
    const Bytes bytes = samples::longStreamBytes(GetParam(), 2000);
    ASSERT_GT(bytes.size(), 2u * 32769);
    StreamReader reader;
    Intake intake;
    reader.append(bytes.data(), bytes.size());
    EXPECT_GE(reader.reservedBytes(), bytes.size() - 20);
    drain(reader, intake);
    EXPECT_EQ(intake.bodies.size(), 2000u);
    EXPECT_EQ(reader.reservedBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, StreamChunking, ::testing::Values(Layout::Wide, Layout::Narrow),
                         [](const auto& info) { return info.param == Layout::Wide ? "Wide" : "Narrow"; });

class StreamReaderEdges : public ::testing::Test {
protected:
    void SetUp() override {
        encodeHeader(samples::richStream(Layout::Wide).header, header_);
        block_ = samples::exampleBlockBytes();
    }
    Bytes header_;
    Bytes block_;
};

// A first chunk ending anywhere in the header or the first block: what is
// held is only what is not yet a whole header or block, and the rest of the
// stream completes it.
TEST_F(StreamReaderEdges, FirstChunkEndingInsideTheHeaderOrABlock) {
    Bytes stream = header_;
    stream.insert(stream.end(), block_.begin(), block_.end());
    const struct {
        const char* name;
        size_t first;
        bool headerComplete;
        size_t buffered;
        size_t bodies;
    } rows[] = {
        {"one header byte", 1, false, 1, 0},   {"all but one header byte", 19, false, 19, 0},
        {"the header", 20, true, 0, 0},        {"one byte of a length", 21, true, 1, 0},
        {"inside the block", 40, true, 20, 0}, {"at the block's end", 20 + block_.size(), true, 0, 1},
    };
    for (const auto& row : rows) {
        StreamReader reader;
        Intake intake;
        reader.append(stream.data(), row.first);
        drain(reader, intake);
        EXPECT_EQ(intake.last, StreamReader::Next::NeedMore) << row.name;
        EXPECT_EQ(reader.headerComplete(), row.headerComplete) << row.name;
        EXPECT_EQ(reader.bufferedBytes(), row.buffered) << row.name;
        EXPECT_EQ(intake.bodies.size(), row.bodies) << row.name;
        reader.append(stream.data() + row.first, stream.size() - row.first);
        drain(reader, intake);
        ASSERT_EQ(intake.bodies.size(), 1u) << row.name;
        EXPECT_EQ(intake.bodies[0], Bytes(block_.begin() + 2, block_.end())) << row.name;
        EXPECT_EQ(reader.header(), samples::richStream(Layout::Wide).header) << row.name;
    }
}

TEST_F(StreamReaderEdges, NegativeLengthBreaksTheReaderAndDropsItsBuffer) {
    for (const uint8_t high : {uint8_t{0x80}, uint8_t{0xFF}}) {
        StreamReader reader;
        Intake intake;
        Bytes chunk = header_;
        chunk.insert(chunk.end(), block_.begin(), block_.end());
        chunk.push_back(high);
        chunk.push_back(0x00);
        chunk.insert(chunk.end(), 5000, 0x11);
        reader.append(chunk.data(), chunk.size());
        drain(reader, intake);
        EXPECT_EQ(intake.bodies.size(), 1u) << "blocks before the bad length still arrive";
        EXPECT_EQ(intake.last, StreamReader::Next::Broken);
        EXPECT_TRUE(reader.broken());
        EXPECT_EQ(reader.bufferedBytes(), 0u);
        EXPECT_EQ(reader.reservedBytes(), 0u);

        reader.append(block_.data(), block_.size());
        drain(reader, intake);
        EXPECT_EQ(intake.last, StreamReader::Next::Broken);
        EXPECT_EQ(intake.bodies.size(), 1u);
        EXPECT_EQ(reader.reservedBytes(), 0u);
    }
}

}  // namespace
}  // namespace vxa
