#pragma once
// Where a line of text may be broken, by the Unicode line-breaking rules as
// the platform's script breaker applies them (which the plug-in's word
// wrapping relies on): after spaces, after hyphens before letters, between
// an opening and a closing piece of punctuation and so on.
#include <cstdint>
#include <vector>

namespace raster {

// For each character of the line (UTF-16 code units of the Windows-1252
// range), whether a line may be broken before it. The first never.
std::vector<bool> softBreaks(const std::vector<uint16_t>& text);

}  // namespace raster
