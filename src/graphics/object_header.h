#pragma once
// The values every object record carries after its kind, as the object
// constructors receive them: colour indices already reduced by one.
#include <cstdint>

struct ObjectHeader {
    int32_t left, top, right, bottom;  // group pixels, 0..255
    int32_t fillColor1, fillColor2, lineColor1, lineColor2;  // colour indices, 0..255
    int16_t fillPattern, linePattern, lineWidth;  // 0..255
};
