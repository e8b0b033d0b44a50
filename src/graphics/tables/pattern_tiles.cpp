#include "graphics/tables/pattern_tiles.h"

const std::array<PatternTile, 64> PatternTiles = {{
#include "graphics/tables/pattern_tiles.inc"
}};
