#include "sample_blocks.h"

#include <string>

namespace vxa::samples {

std::vector<uint8_t> exampleBlockBytes() {
    return {0x00, 0x27,                                                        // length 39
            0x00, 0x01, 0x01, 0x00, 0x00, 0x00,                                // frame 1, 1 item, no sound, flag
            0x01, 0x00, 0x00, 0x01, 0x00, 0x0A, 0x00, 0x14, 0x00, 0x00, 0x00,  // item
            0x00, 0x01,                                                        // one group record
            0x00, 0x01, 0x01, 0x00, 0x01, 0x1F, 0x0F,                          // group 1, 32 x 16
            0x03, 0x00, 0x00, 0x1F, 0x0F, 0x01, 0x02, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00};
}

std::vector<uint8_t> exampleRepeatBlockBytes() {
    return {0x00, 0x09, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
}

namespace {

ObjectRecord object(int8_t kind, uint8_t seed) {
    ObjectRecord o;
    o.kind = kind;
    o.left = seed;
    o.top = static_cast<uint8_t>(seed + 1);
    o.right = static_cast<uint8_t>(seed + 40);
    o.bottom = static_cast<uint8_t>(seed + 30);
    o.fill1 = 1;
    o.fill2 = 0;  // colour index 255
    o.line1 = 0xFF;
    o.line2 = static_cast<uint8_t>(seed);
    o.fillPattern = 12;
    o.linePattern = 255;
    o.lineWidth = 2;
    o.reserved = static_cast<uint8_t>(seed * 3);
    return o;
}

Item explicitItem(int16_t group, int16_t x, int16_t y, bool wide) {
    Item item;
    item.presence = 1;
    item.flag = 9;
    item.groupId = group;
    item.x = x;
    item.y = y;
    item.mode = 4;
    item.extra = wide ? int16_t{-3} : int16_t{0};
    return item;
}

Item repeatItem() { return Item{0, 0, 0, 0, 0, 0, 0}; }

}  // namespace

GroupRecord everyKindGroup(int16_t id) {
    GroupRecord group;
    group.id = id;
    group.color = 0x80;
    group.widthMinus1 = 255;
    group.heightMinus1 = 0;

    ObjectRecord polygon = object(ObjectKind::Polygon, 1);
    polygon.points = {{0, 0}, {255, 10}, {128, 255}};
    group.objects.push_back(polygon);
    group.objects.push_back(object(ObjectKind::Line, 2));
    group.objects.push_back(object(ObjectKind::Oval, 3));
    group.objects.push_back(object(ObjectKind::Rect, 4));
    ObjectRecord roundRect = object(ObjectKind::RoundRect, 5);
    roundRect.cornerWidth = 8;
    roundRect.cornerHeight = 200;
    group.objects.push_back(roundRect);
    ObjectRecord arc = object(ObjectKind::Arc, 6);
    arc.sweep = -90;
    arc.startAngle = 360;
    group.objects.push_back(arc);
    ObjectRecord text = object(ObjectKind::Text, 7);
    text.textColor = 0;
    text.style = 0x05;
    text.size = 14;
    text.justification = -1;
    text.fontName = "Times New Roman";
    text.text = "Caf\xE9 \x80 line\rnext\r\n";
    group.objects.push_back(text);
    ObjectRecord emptyText = object(ObjectKind::Text, 8);
    emptyText.justification = -2;
    group.objects.push_back(emptyText);
    ObjectRecord comment = object(ObjectKind::Comment, 9);
    comment.skipped = "drawn by hand\r";
    group.objects.push_back(comment);
    group.objects.push_back(object(42, 10));
    group.objects.push_back(object(-7, 11));
    group.objects.push_back(object(ObjectKind::Polygon, 12));  // no points
    return group;
}

Stream richStream(Layout layout) {
    const bool wide = layout == Layout::Wide;
    Stream stream;
    stream.header.layout = layout;
    if (wide) {
        stream.header.version = 10003;
        stream.header.loop = 1;
        stream.header.wait = -1;
        stream.header.reserved4 = 7;
        stream.header.reserved5 = 200;
        stream.header.reserved6 = -2;
        stream.header.reserved8 = 300;
    } else {
        stream.header.version = 0;
    }
    stream.header.width = 320;
    stream.header.height = 200;
    stream.header.background = 0;
    stream.header.frameRate = 12;
    stream.header.groupCount = 5;
    stream.header.frameCount = 4;

    Block groupsOnly;
    groupsOnly.frame.number = 0;
    groupsOnly.frame.filler = 0x5A;
    groupsOnly.groups.push_back(everyKindGroup(3));
    GroupRecord empty;
    empty.id = 4;
    empty.widthMinus1 = 9;
    empty.heightMinus1 = 19;
    groupsOnly.groups.push_back(empty);
    stream.blocks.push_back(groupsOnly);

    Block first;
    first.frame.number = 1;
    first.frame.soundNumber = wide ? 7 : 0;
    first.frame.flag = wide ? 3 : 0;
    first.frame.items = {explicitItem(3, 10, 20, wide), explicitItem(4, -5, 300, wide), explicitItem(1, 0, 0, wide)};
    stream.blocks.push_back(first);

    Block second;
    second.frame.number = 2;
    second.frame.items = {repeatItem(), repeatItem(), explicitItem(4, 1, 2, wide), repeatItem()};
    GroupRecord one;
    one.id = 1;
    one.objects.push_back(object(ObjectKind::Rect, 20));
    second.groups.push_back(one);
    stream.blocks.push_back(second);

    Block replacement;
    replacement.frame.number = 3;  // no items
    GroupRecord oneAgain = everyKindGroup(1);
    oneAgain.objects.resize(2);
    replacement.groups.push_back(oneAgain);
    stream.blocks.push_back(replacement);
    return stream;
}

std::vector<uint8_t> longStreamBytes(Layout layout, int blockCount) {
    const bool wide = layout == Layout::Wide;
    Stream stream = richStream(layout);
    stream.blocks.clear();
    stream.header.frameCount = 1000;
    for (int i = 0; i < blockCount; ++i) {
        Block block;
        block.frame.number = static_cast<int16_t>(i % 1000 + 1);
        for (int k = 0; k < i % 5; ++k) {
            block.frame.items.push_back(
                k % 2 == 0 ? explicitItem(static_cast<int16_t>(k + 1), static_cast<int16_t>(i), 7, wide)
                           : repeatItem());
        }
        if (i % 3 == 0) {
            GroupRecord group = everyKindGroup(static_cast<int16_t>(i % 5 + 1));
            group.objects.resize(static_cast<size_t>(i % 12));
            block.groups.push_back(group);
        }
        stream.blocks.push_back(block);
    }
    return encodeStream(stream);
}

}  // namespace vxa::samples
