#include "core/format/header.h"

#include <stdexcept>
#include <string>

#include "core/format/big_endian.h"
#include "core/format/wire.h"

namespace vxa {

bool operator==(const Header& a, const Header& b) {
    return a.layout == b.layout && a.version == b.version && a.loop == b.loop && a.wait == b.wait &&
           a.reserved4 == b.reserved4 && a.reserved5 == b.reserved5 && a.reserved6 == b.reserved6 &&
           a.reserved8 == b.reserved8 && a.width == b.width && a.height == b.height && a.background == b.background &&
           a.frameRate == b.frameRate && a.groupCount == b.groupCount && a.frameCount == b.frameCount;
}

size_t headerSize(Layout layout) { return layout == Layout::Wide ? kWideHeaderSize : kNarrowHeaderSize; }

HeaderStatus decodeHeader(const uint8_t* data, size_t length, Header& out) {
    if (length < 2) return HeaderStatus::NeedMore;
    const int16_t first = readBigEndian16(data);
    const Layout layout = first >= kFirstWideVersion ? Layout::Wide : Layout::Narrow;
    if (length < headerSize(layout)) return HeaderStatus::NeedMore;

    Header header;
    header.layout = layout;
    const uint8_t* p = data;
    if (layout == Layout::Wide) {
        header.version = first;
        header.loop = static_cast<int8_t>(p[2]);
        header.wait = static_cast<int8_t>(p[3]);
        header.reserved4 = p[4];
        header.reserved5 = p[5];
        header.reserved6 = readBigEndian16(p + 6);
        header.reserved8 = readBigEndian16(p + 8);
        p += kWidePrefixSize;
    } else {
        header.version = 0;
    }
    header.width = readBigEndian16(p);
    header.height = readBigEndian16(p + 2);
    header.background = p[4];
    header.frameRate = p[5];
    header.groupCount = readBigEndian16(p + 6);
    header.frameCount = readBigEndian16(p + 8);
    out = header;
    return HeaderStatus::Complete;
}

void encodeHeader(const Header& header, std::vector<uint8_t>& out) {
    if (header.layout == Layout::Wide) {
        if (header.version < kFirstWideVersion) {
            throw std::invalid_argument("version " + std::to_string(header.version) +
                                        " of a wide header is below 10000");
        }
        appendBigEndian16(out, header.version);
        out.push_back(static_cast<uint8_t>(header.loop));
        out.push_back(static_cast<uint8_t>(header.wait));
        out.push_back(header.reserved4);
        out.push_back(header.reserved5);
        appendBigEndian16(out, header.reserved6);
        appendBigEndian16(out, header.reserved8);
    } else {
        if (header.width >= kFirstWideVersion) {
            throw std::invalid_argument("width " + std::to_string(header.width) +
                                        " of a narrow header would read as a version");
        }
        if (header.version != 0 || header.loop != 0 || header.wait != 0 || header.reserved4 != 0 ||
            header.reserved5 != 0 || header.reserved6 != 0 || header.reserved8 != 0) {
            throw std::invalid_argument("a narrow header has no version, loop, wait or reserved fields");
        }
    }
    appendBigEndian16(out, header.width);
    appendBigEndian16(out, header.height);
    out.push_back(header.background);
    out.push_back(header.frameRate);
    appendBigEndian16(out, header.groupCount);
    appendBigEndian16(out, header.frameCount);
}

}  // namespace vxa
