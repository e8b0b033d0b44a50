#pragma once
// A text object's platform font, made from a mapped face and size
// (mapFontName, in the portable font map).
#include "framework/gdi_object.h"
#include "core/tables/font_map.h"

// A font whose characters are emHeightForSize(size) pixels high. Empty when
// the platform refuses.
fw::Font createTextFont(const char* faceName, int size, bool bold, bool italic, bool underline);
