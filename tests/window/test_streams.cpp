#include "test_streams.h"

#include "core/format/stream.h"

namespace {

constexpr uint8_t kWhiteByte = 1;  // colour index 0, stored plus one
constexpr uint8_t kBlackByte = 0;  // colour index 255
constexpr uint8_t kSolidPattern = 0;

vxa::GroupRecord square() {
    vxa::ObjectRecord rect;
    rect.kind = vxa::ObjectKind::Rect;
    rect.right = kSquareSize - 1;
    rect.bottom = kSquareSize - 1;
    rect.fill1 = rect.fill2 = rect.line1 = rect.line2 = kBlackByte;
    rect.fillPattern = kSolidPattern;
    rect.linePattern = 255;
    vxa::GroupRecord group;
    group.id = 1;
    group.widthMinus1 = group.heightMinus1 = kSquareSize - 1;
    group.objects.push_back(rect);
    return group;
}

}  // namespace

int squareLeft(int frame) { return kSquareSize * (frame - 1); }

std::vector<uint8_t> makeStream(const TestMovie& movie) {
    vxa::Stream stream;
    stream.header.loop = movie.loop ? 1 : 0;
    stream.header.wait = movie.waitForClick ? 1 : 0;
    stream.header.width = static_cast<int16_t>(movie.width ? movie.width : kSquareSize * movie.frames);
    stream.header.height = static_cast<int16_t>(movie.height);
    stream.header.background = kWhiteByte;
    stream.header.frameRate = static_cast<uint8_t>(movie.rate);
    stream.header.groupCount = 1;
    stream.header.frameCount = static_cast<int16_t>(movie.frames);
    for (int n = 1; n <= movie.frames; ++n) {
        vxa::Block block;
        block.frame.number = static_cast<int16_t>(n);
        vxa::Item item;
        item.groupId = 1;
        item.x = static_cast<int16_t>(squareLeft(n));
        block.frame.items.push_back(item);
        if (n == 1) block.groups.push_back(square());
        stream.blocks.push_back(block);
    }
    return vxa::encodeStream(stream);
}
