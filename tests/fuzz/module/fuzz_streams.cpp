#include "fuzz_streams.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/format/block.h"
#include "core/format/block_encoder.h"
#include "core/format/header.h"

namespace {

int between(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
bool chance(Random& random, double p) { return std::bernoulli_distribution(p)(random); }
uint8_t anyByte(Random& random) { return static_cast<uint8_t>(between(random, 0, 255)); }
template <typename T>
T pick(Random& random, std::initializer_list<T> values) {
    return *(values.begin() + between(random, 0, static_cast<int>(values.size()) - 1));
}

uint8_t pattern(Random& random) {
    return chance(random, 0.5) ? pick<uint8_t>(random, {0, 12, 255}) : anyByte(random);
}

vxa::ObjectRecord object(Random& random) {
    vxa::ObjectRecord o;
    o.kind = chance(random, 0.9) ? static_cast<int8_t>(between(random, 0, 6))
                                 : static_cast<int8_t>(pick<int>(random, {7, 8, 127, -1, -128}));
    o.left = anyByte(random);
    o.top = anyByte(random);
    o.right = chance(random, 0.7) ? static_cast<uint8_t>(std::min(255, o.left + between(random, 0, 80))) : anyByte(random);
    o.bottom = chance(random, 0.7) ? static_cast<uint8_t>(std::min(255, o.top + between(random, 0, 80))) : anyByte(random);
    o.fill1 = anyByte(random);
    o.fill2 = anyByte(random);
    o.line1 = anyByte(random);
    o.line2 = anyByte(random);
    o.fillPattern = pattern(random);
    o.linePattern = pattern(random);
    o.lineWidth = chance(random, 0.85) ? static_cast<uint8_t>(between(random, 0, 3)) : anyByte(random);
    o.reserved = chance(random, 0.9) ? 0 : anyByte(random);
    switch (o.kind) {
        case vxa::ObjectKind::Polygon: {
            const int n = chance(random, 0.95) ? between(random, 0, 40) : between(random, 0, 3000);
            for (int i = 0; i < n; ++i) o.points.push_back({anyByte(random), anyByte(random)});
            break;
        }
        case vxa::ObjectKind::RoundRect:
            o.cornerWidth = anyByte(random);
            o.cornerHeight = anyByte(random);
            break;
        case vxa::ObjectKind::Arc:
            o.startAngle = static_cast<int16_t>(chance(random, 0.8) ? between(random, -720, 720) : between(random, -32768, 32767));
            o.sweep = static_cast<int16_t>(chance(random, 0.8) ? between(random, -720, 720) : between(random, -32768, 32767));
            break;
        case vxa::ObjectKind::Text: {
            o.textColor = anyByte(random);
            o.style = static_cast<uint8_t>(chance(random, 0.8) ? between(random, 0, 7) : anyByte(random));
            o.size = static_cast<uint8_t>(chance(random, 0.8) ? between(random, 6, 30) : anyByte(random));
            o.justification = static_cast<int8_t>(between(random, -3, 3));
            o.fontName = pick<const char*>(random, {"Times", "Geneva", "Courier", "Helvetica", "Chicago", "Monaco",
                                                    "Symbol", "New York", "", "Q\xE9z"});
            const int length = chance(random, 0.95) ? between(random, 0, 60) : between(random, 0, 4000);
            for (int i = 0; i < length; ++i) {
                const int c = chance(random, 0.1) ? '\r' : chance(random, 0.15) ? ' ' : between(random, 1, 255);
                o.text.push_back(static_cast<char>(c));
            }
            break;
        }
        case vxa::ObjectKind::Comment:
            o.skipped.assign(static_cast<size_t>(between(random, 0, 20)), 'c');
            break;
        default:
            break;
    }
    return o;
}

vxa::GroupRecord group(Random& random, int16_t id) {
    vxa::GroupRecord g;
    g.id = id;
    g.color = anyByte(random);
    g.widthMinus1 = anyByte(random);
    g.heightMinus1 = anyByte(random);
    if (chance(random, 0.02)) {
        // What the drawing budget is for: a block's worth of objects, or one
        // polygon of 16,000 points.
        vxa::ObjectRecord one = object(random);
        if (chance(random, 0.5)) {
            one.kind = vxa::ObjectKind::Rect;
            one.points.clear();
            one.text.clear();
            one.fontName.clear();
            one.textColor = one.style = one.size = 0;
            one.justification = 0;
            one.cornerWidth = one.cornerHeight = 0;
            one.sweep = one.startAngle = 0;
            one.skipped.clear();
            g.objects.assign(2500, one);
        } else {
            vxa::ObjectRecord polygon;
            polygon.kind = vxa::ObjectKind::Polygon;
            polygon.fillPattern = pattern(random);
            polygon.linePattern = pattern(random);
            polygon.lineWidth = static_cast<uint8_t>(between(random, 0, 4));
            for (int i = 0; i < 16000; ++i) polygon.points.push_back({anyByte(random), anyByte(random)});
            g.objects.push_back(polygon);
        }
        return g;
    }
    const int count = between(random, 0, 12);
    for (int i = 0; i < count; ++i) g.objects.push_back(object(random));
    return g;
}

vxa::Item item(Random& random, int groups) {
    vxa::Item i;
    if (chance(random, 0.2)) {
        i.presence = 0;
        return i;
    }
    i.presence = static_cast<uint8_t>(between(random, 1, 255));
    i.flag = chance(random, 0.9) ? 0 : anyByte(random);
    i.groupId = static_cast<int16_t>(chance(random, 0.9) ? between(random, 1, std::max(1, groups))
                                                         : between(random, -3, groups + 3));
    i.x = static_cast<int16_t>(chance(random, 0.9) ? between(random, -40, 600) : between(random, -32768, 32767));
    i.y = static_cast<int16_t>(chance(random, 0.9) ? between(random, -40, 400) : between(random, -32768, 32767));
    i.mode = chance(random, 0.9) ? 0 : anyByte(random);
    return i;
}

int16_t sizeOf(Random& random, int usual) {
    return static_cast<int16_t>(chance(random, 0.9) ? between(random, 1, usual)
                                                    : pick<int>(random, {0, -5, 32767, 4000, 1}));
}

// The stream's blocks after its header: [start, end) of each, length included.
std::vector<std::pair<size_t, size_t>> blocksOf(const Bytes& bytes) {
    std::vector<std::pair<size_t, size_t>> blocks;
    vxa::Header header;
    if (vxa::decodeHeader(bytes.data(), bytes.size(), header) != vxa::HeaderStatus::Complete) return blocks;
    size_t at = vxa::headerSize(header.layout);
    while (at + 2 <= bytes.size()) {
        const size_t length = (static_cast<size_t>(bytes[at]) << 8) | bytes[at + 1];
        if (length >= 0x8000 || at + 2 + length > bytes.size()) break;
        blocks.push_back({at, at + 2 + length});
        at += 2 + length;
    }
    return blocks;
}

}  // namespace

StreamMaker::StreamMaker(std::vector<Bytes> seeds) : seeds_(std::move(seeds)) {}

Bytes StreamMaker::make(Random& random) {
    Bytes bytes = !seeds_.empty() && chance(random, 0.3)
                      ? seeds_[static_cast<size_t>(between(random, 0, static_cast<int>(seeds_.size()) - 1))]
                      : generated(random);
    const int mutations = chance(random, 0.3) ? 0 : between(random, 1, 4);
    for (int i = 0; i < mutations; ++i) mutate(bytes, random);
    return bytes;
}

Bytes StreamMaker::generated(Random& random) {
    vxa::Header header;
    header.layout = chance(random, 0.85) ? vxa::Layout::Wide : vxa::Layout::Narrow;
    const bool wide = header.layout == vxa::Layout::Wide;
    header.version = wide ? static_cast<int16_t>(between(random, 10000, 10100)) : 0;
    if (wide) {
        header.loop = static_cast<int8_t>(chance(random, 0.3));
        header.wait = static_cast<int8_t>(chance(random, 0.15));
    }
    header.width = std::min<int16_t>(sizeOf(random, 480), wide ? 32767 : 9999);
    header.height = sizeOf(random, 360);
    header.background = anyByte(random);
    header.frameRate = static_cast<uint8_t>(chance(random, 0.8) ? between(random, 10, 60) : anyByte(random));
    const int groups = between(random, 1, 16);
    const int frames = between(random, 1, 30);
    header.groupCount = static_cast<int16_t>(chance(random, 0.95) ? groups : between(random, -2, 2));
    header.frameCount = static_cast<int16_t>(chance(random, 0.95) ? frames : between(random, -2, 2));

    std::vector<vxa::Block> blocks;
    for (int id = 1; id <= groups; ++id) {
        vxa::Block block;
        block.groups.push_back(group(random, static_cast<int16_t>(id)));
        blocks.push_back(std::move(block));
    }
    for (int n = 1; n <= frames; ++n) {
        vxa::Block block;
        block.frame.number = static_cast<int16_t>(chance(random, 0.95) ? n : between(random, -2, frames + 2));
        if (block.frame.number == 0) {
            block.frame.filler = anyByte(random);
        } else {
            const int items = chance(random, 0.03) ? 255 : between(random, 0, 8);
            for (int i = 0; i < items; ++i) block.frame.items.push_back(item(random, groups));
            if (wide && chance(random, 0.15))
                block.frame.soundNumber = static_cast<int16_t>(pick<int>(random, {1, 2, 3, 4, 1, 7, 9, -3}));
            if (wide && chance(random, 0.05)) block.negativeGroupCount = static_cast<int16_t>(between(random, -32768, -1));
        }
        // A group arriving with the frame, now and then.
        if (block.negativeGroupCount == 0 && chance(random, 0.1))
            block.groups.push_back(group(random, static_cast<int16_t>(between(random, 1, groups))));
        blocks.push_back(std::move(block));
    }
    // Groups before their frames, mostly; sometimes in any order.
    if (chance(random, 0.3)) std::shuffle(blocks.begin(), blocks.end(), random);

    Bytes bytes;
    vxa::encodeHeader(header, bytes);
    for (const vxa::Block& block : blocks) {
        try {
            vxa::encodeBlock(block, header.layout, bytes);
        } catch (const std::invalid_argument&) {
            // Too large for one block, or a field the layout does not store.
        }
    }
    return bytes;
}

void StreamMaker::mutate(Bytes& bytes, Random& random) {
    if (bytes.empty()) return;
    const auto blocks = blocksOf(bytes);
    const auto anyBlock = [&]() { return blocks[static_cast<size_t>(between(random, 0, static_cast<int>(blocks.size()) - 1))]; };
    const auto anyPosition = [&]() { return static_cast<size_t>(between(random, 0, static_cast<int>(bytes.size()) - 1)); };
    switch (between(random, 0, 9)) {
        case 0:  // bytes changed
            for (int i = between(random, 1, 8); i > 0; --i) bytes[anyPosition()] ^= static_cast<uint8_t>(between(random, 1, 255));
            break;
        case 1:  // a byte set to a value that means something
            bytes[anyPosition()] = pick<uint8_t>(random, {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE});
            break;
        case 2:  // a block dropped
            if (!blocks.empty()) {
                const auto b = anyBlock();
                bytes.erase(bytes.begin() + static_cast<long>(b.first), bytes.begin() + static_cast<long>(b.second));
            }
            break;
        case 3:  // a block doubled
            if (!blocks.empty()) {
                const auto b = anyBlock();
                const Bytes copy(bytes.begin() + static_cast<long>(b.first), bytes.begin() + static_cast<long>(b.second));
                bytes.insert(bytes.begin() + static_cast<long>(b.second), copy.begin(), copy.end());
            }
            break;
        case 4:  // a block from another stream spliced in
            if (!seeds_.empty() && !blocks.empty()) {
                const Bytes& other = seeds_[static_cast<size_t>(between(random, 0, static_cast<int>(seeds_.size()) - 1))];
                const auto theirs = blocksOf(other);
                if (!theirs.empty()) {
                    const auto b = theirs[static_cast<size_t>(between(random, 0, static_cast<int>(theirs.size()) - 1))];
                    bytes.insert(bytes.begin() + static_cast<long>(anyBlock().first), other.begin() + static_cast<long>(b.first),
                                 other.begin() + static_cast<long>(b.second));
                }
            }
            break;
        case 5:  // a length made wrong
            if (!blocks.empty()) {
                const size_t at = anyBlock().first;
                const int length = ((bytes[at] << 8) | bytes[at + 1]) + pick<int>(random, {-1, 1, 0x8000, -3});
                bytes[at] = static_cast<uint8_t>(length >> 8);
                bytes[at + 1] = static_cast<uint8_t>(length);
            }
            break;
        case 6:  // the end cut off
            bytes.resize(anyPosition());
            break;
        case 7:  // bytes inserted
            bytes.insert(bytes.begin() + static_cast<long>(anyPosition()), static_cast<size_t>(between(random, 1, 16)),
                         anyByte(random));
            break;
        case 8:  // a header field made odd: size, rate, table sizes
            if (bytes.size() >= 20) {
                const size_t at = pick<size_t>(random, {10, 12, 15, 16, 18, 2, 3});
                bytes[at] = pick<uint8_t>(random, {0x00, 0x7F, 0xFF, 0x80});
            }
            break;
        default:  // two blocks swapped
            if (blocks.size() >= 2) {
                auto a = anyBlock(), b = anyBlock();
                if (a.first > b.first) std::swap(a, b);
                if (a.second <= b.first) {
                    Bytes swapped(bytes.begin(), bytes.begin() + static_cast<long>(a.first));
                    swapped.insert(swapped.end(), bytes.begin() + static_cast<long>(b.first), bytes.begin() + static_cast<long>(b.second));
                    swapped.insert(swapped.end(), bytes.begin() + static_cast<long>(a.second), bytes.begin() + static_cast<long>(b.first));
                    swapped.insert(swapped.end(), bytes.begin() + static_cast<long>(a.first), bytes.begin() + static_cast<long>(a.second));
                    swapped.insert(swapped.end(), bytes.begin() + static_cast<long>(b.second), bytes.end());
                    bytes = std::move(swapped);
                }
            }
            break;
    }
}
