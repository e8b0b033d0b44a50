#include "graphics/palette.h"

#include <cstring>
#include <vector>

#include "core/tables/color_table.h"

HPALETTE createMoviePalette() {
    // The plain colours are in every display's system palette already.
    std::vector<PALETTEENTRY> entries;
    entries.reserve(ColorTable.size());
    for (COLORREF color : ColorTable) {
        if (!isPaletteRelative(color)) continue;
        entries.push_back(PALETTEENTRY{GetRValue(color), GetGValue(color), GetBValue(color), 0});
    }

    // LOGPALETTE declares one entry; the rest follow it in the same block.
    std::vector<unsigned char> record(sizeof(LOGPALETTE) + (entries.size() - 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(record.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    std::memcpy(palette->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
    return CreatePalette(palette);
}
