#pragma once
// The values every object record carries after its kind, as the objects use
// them: colour indices already reduced by one.
#include <cstdint>

#include "core/format/block.h"

struct ObjectHeader {
    int32_t left, top, right, bottom;                        // group pixels, 0..255
    int32_t fillColor1, fillColor2, lineColor1, lineColor2;  // colour indices, 0..255
    int16_t fillPattern, linePattern, lineWidth;             // 0..255
};

// The stream stores a colour as its index plus one, modulo 256.
inline int colorIndexOfByte(uint8_t colorByte) { return static_cast<uint8_t>(colorByte - 1); }

ObjectHeader objectHeaderOf(const vxa::ObjectRecord& record);
